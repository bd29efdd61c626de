// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// One simulated ONVIF device's state machine with the clock in the test's hands: who it lets
// in under each authentication mode, what each operation changes as the next Get shows, and
// which requests it refuses.
#include "onvifdevice.h"
#include "onvifhttp.h"

#include <devicemgmt.h>
#include <soapenvelope.h>

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTest>

using namespace onvif;

namespace {

constexpr qint64 kOffset = 3000; // the device's clock runs 50 minutes ahead
const QString kPassword = QStringLiteral("Secret12345");
const QDateTime kNow = QDateTime(QDate(2026, 3, 4), QTime(10, 0, 0), Qt::UTC);

OnvifDeviceState makeState()
{
    OnvifDeviceState s;
    s.endpoint = QStringLiteral("urn:uuid:11111111-2222-3333-4444-555555555555");
    s.manufacturer = QStringLiteral("Korvalis Optics");
    s.model = QStringLiteral("KO-D210");
    s.serial = QStringLiteral("KOR00100000");
    s.mac = QStringLiteral("02:4f:4e:00:00:01");
    s.ipv4 = QStringLiteral("127.1.0.1");
    s.httpPort = 8080;
    s.users = {OnvifUser{QStringLiteral("admin"), kPassword, QStringLiteral("Administrator")}};
    s.clockOffsetSeconds = kOffset;
    return s;
}

HttpRequest post(const QByteArray &body, const QList<std::pair<QByteArray, QByteArray>> &headers = {})
{
    return HttpRequest{"POST", OnvifDevice::kServicePath, headers, body};
}

/** A token whose creation time is @p skew seconds off the device's clock. */
devicemgmt::Auth token(const QString &password, qint64 skew, const QByteArray &nonce = {})
{
    return makeUsernameToken(QStringLiteral("admin"), password, kOffset + skew, kNow, nonce);
}

QHash<QByteArray, QByteArray> challengeOf(const HttpResponse &r, QByteArrayView algorithm)
{
    QHash<QByteArray, QByteArray> out;
    for (const auto &[key, value] : r.headers) {
        if (key != "WWW-Authenticate" || !value.contains("algorithm=" + algorithm.toByteArray()))
            continue;
        static const QRegularExpression param(QStringLiteral("(\\w+)=\"?([^\",]*)\"?"));
        for (const auto &m : param.globalMatch(QString::fromLatin1(value)))
            out.insert(m.captured(1).toLatin1(), m.captured(2).toLatin1());
    }
    return out;
}

QByteArray digestAuthorization(const QHash<QByteArray, QByteArray> &challenge, const QString &password,
                               QByteArrayView algorithm, const QByteArray &nc)
{
    const auto hash = algorithm == "MD5" ? QCryptographicHash::Md5 : QCryptographicHash::Sha256;
    auto h = [hash](const QByteArray &d) {
        return QCryptographicHash::hash(d, hash).toHex();
    };
    const QByteArray uri = OnvifDevice::kServicePath;
    const QByteArray ha1 = h("admin:" + challenge.value("realm") + ':' + password.toUtf8());
    const QByteArray ha2 = h("POST:" + uri);
    const QByteArray response = h(ha1 + ':' + challenge.value("nonce") + ':' + nc + ":c0ffee:auth:" + ha2);
    return "Digest username=\"admin\", realm=\"" + challenge.value("realm") + "\", nonce=\"" + challenge.value("nonce")
           + "\", uri=\"" + uri + "\", algorithm=" + algorithm.toByteArray() + ", qop=auth, nc=" + nc
           + ", cnonce=\"c0ffee\", response=\"" + response + '"';
}

bool hasSubcode(const HttpResponse &r, const QString &subcode)
{
    const auto env = readSoapEnvelope(r.body, 1 << 20);
    return env.fault && (env.fault->hasSubcode(subcode) || env.fault->code.localName == subcode);
}

} // namespace

class tst_OnvifDevice : public QObject
{
    Q_OBJECT

private slots:
    void authentication_data();
    void authentication();
    void operations_data();
    void operations();
    void quirks_data();
    void quirks();
    void refusals_data();
    void refusals();
    void httpReader_data();
    void httpReader();
};

enum class Credentials {
    None,
    Token, // UsernameToken digest, created skew seconds off the device's clock
    TokenWrongPassword,
    TokenReplayed,      // the same nonce a second time
    TokenWithoutOffset, // created by the local clock, the device's offset ignored
    TextToken,          // PasswordText
    Digest,             // HTTP Digest, answered skew seconds after the challenge
    DigestWrongPassword,
    DigestRepeatedCount, // the same nonce count twice
    Basic,
};
Q_DECLARE_METATYPE(Credentials)

void tst_OnvifDevice::authentication_data()
{
    QTest::addColumn<OnvifAuthMode>("mode");
    QTest::addColumn<Credentials>("credentials");
    QTest::addColumn<QByteArray>("algorithm");
    QTest::addColumn<int>("skew");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("challenge"); // a WWW-Authenticate value must contain this; empty: none sent
    using C = Credentials;
    using M = OnvifAuthMode;
    const int window = int(OnvifDevice::kCreatedWindowSeconds);
    const int life = int(OnvifDevice::kDigestNonceSeconds);
    QTest::addRow("wsse: right token") << M::WsSecurity << C::Token << QByteArray() << 0 << 200 << QByteArray();
    QTest::addRow("wsse: created at the window's edge")
        << M::WsSecurity << C::Token << QByteArray() << -window << 200 << QByteArray();
    QTest::addRow("wsse: created just past the window")
        << M::WsSecurity << C::Token << QByteArray() << window + 1 << 400 << QByteArray();
    QTest::addRow("wsse: local clock without the offset")
        << M::WsSecurity << C::TokenWithoutOffset << QByteArray() << 0 << 400 << QByteArray();
    QTest::addRow("wsse: wrong password")
        << M::WsSecurity << C::TokenWrongPassword << QByteArray() << 0 << 400 << QByteArray();
    QTest::addRow("wsse: replayed nonce")
        << M::WsSecurity << C::TokenReplayed << QByteArray() << 0 << 400 << QByteArray();
    QTest::addRow("wsse: nothing is 400, not a challenge")
        << M::WsSecurity << C::None << QByteArray() << 0 << 400 << QByteArray();
    QTest::addRow("wsse: HTTP digest not taken")
        << M::WsSecurity << C::Digest << QByteArray("MD5") << 0 << 400 << QByteArray();
    QTest::addRow("digest: nothing is challenged with SHA-256")
        << M::HttpDigest << C::None << QByteArray() << 0 << 401 << QByteArray("algorithm=SHA-256");
    QTest::addRow("digest: nothing is challenged with MD5")
        << M::HttpDigest << C::None << QByteArray() << 0 << 401 << QByteArray("algorithm=MD5");
    QTest::addRow("digest: MD5 right") << M::HttpDigest << C::Digest << QByteArray("MD5") << 0 << 200 << QByteArray();
    QTest::addRow("digest: SHA-256 right")
        << M::HttpDigest << C::Digest << QByteArray("SHA-256") << 0 << 200 << QByteArray();
    QTest::addRow("digest: nonce at the end of its life")
        << M::HttpDigest << C::Digest << QByteArray("MD5") << life << 200 << QByteArray();
    QTest::addRow("digest: nonce past its life is stale")
        << M::HttpDigest << C::Digest << QByteArray("MD5") << life + 1 << 401 << QByteArray("stale=true");
    QTest::addRow("digest: wrong password")
        << M::HttpDigest << C::DigestWrongPassword << QByteArray("SHA-256") << 0 << 401 << QByteArray("Digest");
    QTest::addRow("digest: repeated nonce count")
        << M::HttpDigest << C::DigestRepeatedCount << QByteArray("MD5") << 0 << 401 << QByteArray("Digest");
    QTest::addRow("digest: token not taken")
        << M::HttpDigest << C::Token << QByteArray() << 0 << 401 << QByteArray("Digest");
    QTest::addRow("both: nothing is challenged")
        << M::Both << C::None << QByteArray() << 0 << 401 << QByteArray("Digest");
    QTest::addRow("both: token") << M::Both << C::Token << QByteArray() << 0 << 200 << QByteArray();
    QTest::addRow("both: digest") << M::Both << C::Digest << QByteArray("SHA-256") << 0 << 200 << QByteArray();
    QTest::addRow("both: wrong token") << M::Both << C::TokenWrongPassword << QByteArray() << 0 << 400 << QByteArray();
    QTest::addRow("text: nothing is challenged with Basic")
        << M::ClearText << C::None << QByteArray() << 0 << 401 << QByteArray("Basic");
    QTest::addRow("text: Basic") << M::ClearText << C::Basic << QByteArray() << 0 << 200 << QByteArray();
    QTest::addRow("text: clear-text token") << M::ClearText << C::TextToken << QByteArray() << 0 << 200 << QByteArray();
    QTest::addRow("text: digest token not taken")
        << M::ClearText << C::Token << QByteArray() << 0 << 400 << QByteArray();
}

void tst_OnvifDevice::authentication()
{
    QFETCH(OnvifAuthMode, mode);
    QFETCH(Credentials, credentials);
    QFETCH(QByteArray, algorithm);
    QFETCH(int, skew);
    QFETCH(int, status);
    QFETCH(QByteArray, challenge);
    OnvifDeviceState state = makeState();
    state.authMode = mode;
    OnvifDevice device(state);

    // Anyone may read the clock, whatever the mode.
    const HttpResponse time = device.handle(post(devicemgmt::getSystemDateAndTime()), kNow);
    QCOMPARE(time.status, 200);
    const auto deviceTime = devicemgmt::parseSystemDateAndTime(time.body);
    QVERIFY(deviceTime && deviceTime.value->utc);
    QCOMPARE(devicemgmt::clockOffsetSeconds(*deviceTime.value->utc, kNow), kOffset);

    using C = Credentials;
    QList<std::pair<QByteArray, QByteArray>> headers;
    devicemgmt::Auth auth;
    QDateTime at = kNow;
    switch (credentials) {
    case C::None:
        break;
    case C::Token:
        auth = token(kPassword, skew);
        break;
    case C::TokenWrongPassword:
        auth = token(QStringLiteral("secret12345"), 0);
        break;
    case C::TokenReplayed:
        auth = token(kPassword, 0, "0123456789abcdef");
        QCOMPARE(device.handle(post(devicemgmt::getDeviceInformation(auth)), kNow).status, 200);
        break;
    case C::TokenWithoutOffset:
        auth = makeUsernameToken(QStringLiteral("admin"), kPassword, 0, kNow);
        break;
    case C::TextToken: {
        auth = token(kPassword, 0);
        break;
    }
    case C::Digest:
    case C::DigestWrongPassword:
    case C::DigestRepeatedCount: {
        OnvifDeviceState digestState = state;
        const HttpResponse first = device.handle(post(devicemgmt::getDeviceInformation({})), kNow);
        // A wsse-only device sends no challenge; answer one of a device that would.
        auto c = challengeOf(first, algorithm);
        if (c.isEmpty())
            c = {{"realm", "vexo-devsim"}, {"nonce", "00"}};
        const QString password = credentials == C::DigestWrongPassword ? QStringLiteral("wrong") : kPassword;
        headers.append({"Authorization", digestAuthorization(c, password, algorithm, "00000001")});
        if (credentials == C::DigestRepeatedCount)
            QCOMPARE(device.handle(post(devicemgmt::getDeviceInformation({}), headers), kNow).status, 200);
        at = kNow.addSecs(skew);
        break;
    }
    case C::Basic:
        headers.append({"Authorization", "Basic " + ("admin:" + kPassword.toUtf8()).toBase64()});
        break;
    }
    QByteArray body = devicemgmt::getDeviceInformation(auth);
    if (credentials == C::TextToken) {
        // The same token with the password itself in place of the digest.
        body.replace(auth->digest, kPassword.toUtf8());
        body.replace("#PasswordDigest", "#PasswordText");
    }
    const HttpResponse r = device.handle(post(body, headers), at);
    QCOMPARE(r.status, status);
    if (status == 200) {
        const auto info = devicemgmt::parseDeviceInformation(r.body);
        QVERIFY2(info, qPrintable(info.error));
        QCOMPARE(info.value->serialNumber, state.serial);
        return;
    }
    QVERIFY2(hasSubcode(r, QStringLiteral("NotAuthorized")), r.body.constData());
    QByteArrayList challenges;
    for (const auto &[key, value] : r.headers) {
        if (key == "WWW-Authenticate")
            challenges.append(value);
    }
    if (challenge.isEmpty()) {
        QVERIFY(challenges.isEmpty());
    } else {
        QVERIFY2(std::any_of(challenges.begin(), challenges.end(),
                             [&](const QByteArray &c) { return c.contains(challenge); }),
                 challenges.join(" | ").constData());
    }
}

void tst_OnvifDevice::operations_data()
{
    using namespace devicemgmt;
    QTest::addColumn<bool>("rebootNeeded");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("subcode");    // empty: success expected
    QTest::addColumn<QByteArray>("get");     // read afterwards (after a reboot when one is due)
    QTest::addColumn<QString>("afterwards"); // pattern the Get answer must match
    const Auth t = token(kPassword, 0);
    auto set = [&](const QString &address, int prefix) {
        return *setNetworkInterfaces(t, QStringLiteral("eth0"), {false, {address, prefix}}).value;
    };
    const QByteArray interfaces = getNetworkInterfaces(token(kPassword, 1));
    QTest::addRow("address changes at once")
        << false << set("127.1.9.9", 16) << QString() << interfaces
        << QStringLiteral("<tt:Address>127.1.9.9</tt:Address><tt:PrefixLength>16<");
    QTest::addRow("address waits for the reboot")
        << true << set("127.1.9.9", 32) << QString() << interfaces
        << QStringLiteral("<tt:Address>127.1.9.9</tt:Address><tt:PrefixLength>32<");
    QTest::addRow("prefix 33 refused") << false << QByteArray(set("127.1.9.9", 32)).replace(">32<", ">33<")
                                       << QStringLiteral("InvalidIPv4Address") << interfaces
                                       << QStringLiteral("<tt:Address>127.1.0.1</tt:Address><tt:PrefixLength>8<");
    QTest::addRow("address 256 refused") << false << QByteArray(set("127.1.9.9", 8)).replace("127.1.9.9", "127.1.9.256")
                                         << QStringLiteral("InvalidIPv4Address") << interfaces
                                         << QStringLiteral("<tt:Address>127.1.0.1</tt:Address>");
    QTest::addRow("multicast address refused") << false << set("224.0.0.1", 8) << QStringLiteral("InvalidIPv4Address")
                                               << interfaces << QStringLiteral("<tt:Address>127.1.0.1</tt:Address>");
    QTest::addRow("unknown interface refused")
        << false << *setNetworkInterfaces(t, QStringLiteral("eth1"), {false, {QStringLiteral("127.1.9.9"), 8}}).value
        << QStringLiteral("InvalidNetworkInterface") << interfaces
        << QStringLiteral("<tt:Address>127.1.0.1</tt:Address>");
    QTest::addRow("DHCP switched on") << false << *setNetworkInterfaces(t, QStringLiteral("eth0"), {true, {}}).value
                                      << QString() << interfaces << QStringLiteral("<tt:DHCP>true</tt:DHCP>");
    const QByteArray gateway = getNetworkDefaultGateway(token(kPassword, 1));
    QTest::addRow("gateway set") << false << *setNetworkDefaultGateway(t, {QStringLiteral("127.0.0.254")}).value
                                 << QString() << gateway << QStringLiteral("<tt:IPv4Address>127.0.0.254<");
    QTest::addRow("gateway cleared") << false << *setNetworkDefaultGateway(t, {}).value << QString() << gateway
                                     << QStringLiteral(
                                            "<tds:NetworkGateway/>|<tds:NetworkGateway></tds:NetworkGateway>");
    QTest::addRow("gateway 1.2.3 refused")
        << false
        << QByteArray(*setNetworkDefaultGateway(t, {QStringLiteral("1.2.3.4")}).value).replace("1.2.3.4", "1.2.3")
        << QStringLiteral("InvalidGatewayAddress") << gateway << QStringLiteral("<tds:NetworkGateway/>");
    const QByteArray protocols = getNetworkProtocols(token(kPassword, 1));
    QTest::addRow("HTTP port 65535") << false
                                     << *setNetworkProtocols(t, {{QStringLiteral("HTTP"), true, {65535}}}).value
                                     << QString() << protocols << QStringLiteral("<tt:Port>65535<");
    QTest::addRow("HTTP port 65536 refused")
        << false
        << QByteArray(*setNetworkProtocols(t, {{QStringLiteral("HTTP"), true, {65535}}}).value)
               .replace("65535", "65536")
        << QStringLiteral("InvalidArgVal") << protocols << QStringLiteral("<tt:Port>8080<");
    // The new password is in force at once: the next token, made with it, is taken.
    const QByteArray infoNewPassword
        = getDeviceInformation(makeUsernameToken(QStringLiteral("admin"), QStringLiteral("Other123"), kOffset, kNow));
    QTest::addRow("password changed")
        << false
        << *setUser(t, QStringLiteral("admin"), QStringLiteral("Other123"), QStringLiteral("Administrator")).value
        << QString() << infoNewPassword << QStringLiteral("<tds:SerialNumber>KOR00100000<");
    QTest::addRow("unknown user refused")
        << false << *setUser(t, QStringLiteral("nobody"), QStringLiteral("Other123"), QStringLiteral("User")).value
        << QStringLiteral("UsernameMissing") << getDeviceInformation(token(kPassword, 2))
        << QStringLiteral("<tds:SerialNumber>");
    QTest::addRow("last administrator kept")
        << false << *setUser(t, QStringLiteral("admin"), QStringLiteral("Other123"), QStringLiteral("User")).value
        << QStringLiteral("FixedUser")
        << QByteArray(getDeviceInformation(token(kPassword, 2))).replace("GetDeviceInformation", "GetUsers")
        << QStringLiteral("<tt:UserLevel>Administrator<");
    QTest::addRow("unknown action") << false
                                    << QByteArray(getDeviceInformation(t)).replace("GetDeviceInformation", "GetDNS")
                                    << QStringLiteral("ActionNotSupported") << interfaces
                                    << QStringLiteral("<tt:Address>127.1.0.1<");
}

void tst_OnvifDevice::operations()
{
    QFETCH(bool, rebootNeeded);
    QFETCH(QByteArray, request);
    QFETCH(QString, subcode);
    QFETCH(QByteArray, get);
    QFETCH(QString, afterwards);
    OnvifDeviceState state = makeState();
    state.authMode = OnvifAuthMode::WsSecurity;
    state.rebootNeeded = rebootNeeded;
    OnvifDevice device(state);

    const HttpResponse r = device.handle(post(request), kNow);
    const OnvifDevice::Effects effects = device.takeEffects();
    if (!subcode.isEmpty()) {
        QVERIFY2(hasSubcode(r, subcode), r.body.constData());
        QVERIFY(!effects.moved && !effects.reboot);
    } else {
        QVERIFY2(r.status == 200, r.body.constData());
    }
    if (request.contains("SetNetworkInterfaces") && subcode.isEmpty()) {
        const auto answer = devicemgmt::parseSetNetworkInterfaces(r.body);
        QVERIFY(answer);
        QCOMPARE(*answer.value, rebootNeeded);
        QCOMPARE(effects.moved, !rebootNeeded && request.contains("127.1.9.9"));
    }
    if (rebootNeeded) {
        // Nothing changes until the reboot.
        QVERIFY(device.handle(post(get), kNow).body.contains("<tt:Address>127.1.0.1<"));
        const HttpResponse reboot = device.handle(post(devicemgmt::systemReboot(token(kPassword, 3))), kNow);
        QCOMPARE(reboot.status, 200);
        QVERIFY(device.takeEffects().reboot);
        device.reboot();
        get = devicemgmt::getNetworkInterfaces(token(kPassword, 4));
    }
    const HttpResponse after = device.handle(post(get), kNow);
    QCOMPARE(after.status, 200);
    QVERIFY2(QString::fromUtf8(after.body).contains(QRegularExpression(afterwards)), after.body.constData());
}

void tst_OnvifDevice::quirks_data()
{
    using namespace devicemgmt;
    QTest::addColumn<quint32>("quirks");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("read");  // what the program's reader takes from the answer
    QTest::addColumn<QString>("quirk"); // how the reader names the departure
    const QByteArray info = getDeviceInformation(token(kPassword, 0));
    const QByteArray interfaces = getNetworkInterfaces(token(kPassword, 0));
    const QByteArray wrong = getDeviceInformation(token(QStringLiteral("wrong"), 0));
    const QByteArray port = *setNetworkProtocols(token(kPassword, 0), {{QStringLiteral("HTTP"), true, {9090}}}).value;
    const auto q = [](std::initializer_list<OnvifQuirk> list) {
        quint32 bits = 0;
        for (OnvifQuirk x : list)
            bits |= quint32(x);
        return bits;
    };
    QTest::addRow("soap11: information") << q({OnvifQuirk::Soap11}) << info << 200 << "KO-D210"
                                         << "SOAP 1.1";
    QTest::addRow("soap11: wrong password") << q({OnvifQuirk::Soap11}) << wrong << 400 << "NotAuthorized"
                                            << "SOAP 1.1";
    QTest::addRow("device-ns: interfaces")
        << q({OnvifQuirk::DeviceNamespace}) << interfaces << 200 << "02:4f:4e:00:00:01 127.1.0.1"
        << "in namespace http://www.onvif.org/ver10/device/wsdl";
    QTest::addRow("fault-200: wrong password")
        << q({OnvifQuirk::Fault200}) << wrong << 200 << "NotAuthorized" << QString();
    QTest::addRow("fault-200 and soap11: wrong password")
        << q({OnvifQuirk::Fault200, OnvifQuirk::Soap11}) << wrong << 200 << "NotAuthorized"
        << "SOAP 1.1";
    QTest::addRow("no-interfaces") << q({OnvifQuirk::NoInterfaces}) << interfaces << 500 << "ActionNotSupported"
                                   << QString();
    QTest::addRow("port-waits: old port until the reboot")
        << q({OnvifQuirk::PortWaits}) << port << 200 << "8080 9090" << QString();
    QTest::addRow("port at once") << quint32(0) << port << 200 << "9090 9090" << QString();
}

void tst_OnvifDevice::quirks()
{
    QFETCH(quint32, quirks);
    QFETCH(QByteArray, request);
    QFETCH(QString, read);
    QFETCH(QString, quirk);
    OnvifDeviceState state = makeState();
    state.quirks = quirks;
    OnvifDevice device(state);
    const HttpResponse r = device.handle(post(request), kNow);
    QTEST(r.status, "status");
    // The content type stays SOAP 1.2's whatever the envelope, as such devices send it.
    QVERIFY(
        r.headers.contains(std::pair<QByteArray, QByteArray>("Content-Type", "application/soap+xml; charset=utf-8")));
    QStringList named;
    QString got;
    const auto info = devicemgmt::parseDeviceInformation(r.body);
    if (info.fault) {
        got = info.fault->subcodes.isEmpty() ? info.fault->code.localName : info.fault->subcodes.last().localName;
        QVERIFY(info.fault->hasSubcode(got));
        named = info.quirks;
    } else if (request.contains("GetDeviceInformation")) {
        got = info.value->model;
        named = info.quirks;
    } else if (request.contains("GetNetworkInterfaces")) {
        const auto answer = devicemgmt::parseNetworkInterfaces(r.body);
        QVERIFY2(answer, qPrintable(answer.error));
        got = answer.value->first().hwAddress + u' ' + answer.value->first().manual.value(0).address;
        named = answer.quirks;
    } else {
        // The port in force now, and after a reboot.
        const QByteArray get = devicemgmt::getNetworkProtocols(token(kPassword, 1));
        const auto before = devicemgmt::parseNetworkProtocols(device.handle(post(get), kNow).body);
        device.reboot();
        const auto after = devicemgmt::parseNetworkProtocols(
            device.handle(post(devicemgmt::getNetworkProtocols(token(kPassword, 2))), kNow).body);
        QVERIFY(before && after);
        got = QStringLiteral("%1 %2")
                  .arg(before.value->first().ports.value(0))
                  .arg(after.value->first().ports.value(0));
    }
    QCOMPARE(got, read);
    QCOMPARE(named.join(u'|').contains(quirk), true);
    QCOMPARE(named.isEmpty(), quirk.isEmpty());
}

void tst_OnvifDevice::refusals_data()
{
    QTest::addColumn<QByteArray>("method");
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("subcode");
    const QByteArray time = devicemgmt::getSystemDateAndTime();
    const qsizetype room = OnvifDevice::kMaxBodyBytes - time.size();
    QByteArray largest = time;
    largest.insert(largest.lastIndexOf("</"), QByteArray(room, ' '));
    QTest::addRow("body of the largest size")
        << QByteArray("POST") << OnvifDevice::kServicePath << largest << 200 << QString();
    QTest::addRow("body one byte larger")
        << QByteArray("POST") << OnvifDevice::kServicePath << largest + ' ' << 413 << QString();
    QTest::addRow("entity expansion") << QByteArray("POST") << OnvifDevice::kServicePath
                                      << QByteArray(time).replace("?>", "?><!DOCTYPE e [<!ENTITY a \"aaaa\">"
                                                                        "<!ENTITY b \"&a;&a;&a;\">]>")
                                      << 400 << QStringLiteral("WellFormed");
    QTest::addRow("not XML") << QByteArray("POST") << OnvifDevice::kServicePath << QByteArray("<env:Envelope") << 400
                             << QStringLiteral("WellFormed");
    QByteArray deep = time;
    deep.replace("<tds:GetSystemDateAndTime/>", QByteArray("<a>").repeated(40) + QByteArray("</a>").repeated(40));
    QTest::addRow("nesting too deep") << QByteArray("POST") << OnvifDevice::kServicePath << deep << 400
                                      << QStringLiteral("WellFormed");
    QTest::addRow("SOAP 1.1 envelope") << QByteArray("POST") << OnvifDevice::kServicePath
                                       << QByteArray(time).replace("http://www.w3.org/2003/05/soap-envelope",
                                                                   "http://schemas.xmlsoap.org/soap/envelope/")
                                       << 500 << QStringLiteral("VersionMismatch");
    QTest::addRow("GET") << QByteArray("GET") << OnvifDevice::kServicePath << QByteArray() << 405 << QString();
    QTest::addRow("another path") << QByteArray("POST") << QByteArray("/onvif/media") << time << 404 << QString();
}

void tst_OnvifDevice::refusals()
{
    QFETCH(QByteArray, method);
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, body);
    QFETCH(int, status);
    QFETCH(QString, subcode);
    OnvifDevice device(makeState());
    const HttpResponse r = device.handle(HttpRequest{method, path, {}, body}, kNow);
    QCOMPARE(r.status, status);
    if (!subcode.isEmpty())
        QVERIFY2(hasSubcode(r, subcode), r.body.constData());
    // The device still answers the next request.
    QCOMPARE(device.handle(post(devicemgmt::getSystemDateAndTime()), kNow).status, 200);
}

void tst_OnvifDevice::httpReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("requests");
    QTest::addColumn<int>("failure");
    const QByteArray head = "POST /onvif/device_service HTTP/1.1\r\nHost: x\r\n";
    const QByteArray one = head + "Content-Length: 4\r\n\r\nbody";
    QTest::addRow("two requests on one connection") << one + one << 2 << 0;
    QTest::addRow("body still coming") << one.chopped(1) << 0 << 0;
    QTest::addRow("body after 100 Continue")
        << head + "Expect: 100-continue\r\nContent-Length: 4\r\n\r\nbody" << 1 << 0;
    QTest::addRow("body of the largest size") << head + "Content-Length: 100\r\n\r\n" + QByteArray(100, 'x') << 1 << 0;
    QTest::addRow("body one byte too large") << head + "Content-Length: 101\r\n\r\n" << 0 << 413;
    QTest::addRow("chunked body") << head + "Transfer-Encoding: chunked\r\n\r\n4\r\nbody\r\n0\r\n\r\n" << 0 << 411;
    const QByteArray filler = "X-Filler: " + QByteArray(HttpRequestReader::kMaxHeaderBytes, 'f') + "\r\n";
    QTest::addRow("headers too large") << head + filler << 0 << 431;
    QByteArray many = head;
    for (int i = 0; i < HttpRequestReader::kMaxHeaders; ++i)
        many += "X-H: 1\r\n";
    QTest::addRow("too many headers") << many + "\r\n" << 0 << 431;
    QTest::addRow("malformed request line") << QByteArray("HELLO\r\n\r\n") << 0 << 400;
    QTest::addRow("negative length") << head + "Content-Length: -1\r\n\r\n" << 0 << 400;
}

void tst_OnvifDevice::httpReader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, requests);
    QFETCH(int, failure);
    HttpRequestReader reader(100);
    int read = 0;
    int continues = 0;
    // Byte by byte, as a slow client would send them.
    for (char c : std::as_const(bytes)) {
        reader.append(QByteArrayView(&c, 1));
        continues += reader.takeContinue() ? 1 : 0;
        while (auto request = reader.next()) {
            QCOMPARE(request->body.size(), request->header("content-length").toInt());
            ++read;
        }
    }
    QCOMPARE(read, requests);
    QCOMPARE(reader.failed(), failure);
    // Asked for once by a client that waits for it, never otherwise.
    QCOMPARE(continues, bytes.contains("Expect: 100-continue") ? 1 : 0);
}

QTEST_GUILESS_MAIN(tst_OnvifDevice)
#include "tst_onvifdevice.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The device service client against a small HTTP responder in the test, on 127.0.0.1 only:
// authentication, the scope rule, and every way an answer can go wrong.
#include "deviceoperations.h"
#include "httpdigest.h"
#include "identifier.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace onvif;
using Kind = Failure::Kind;

namespace {

QByteArray data(const QString &name)
{
    QFile f(":/onvif/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct HttpRequest
{
    QByteArray path;
    QMap<QByteArray, QByteArray> headers; // names in lower case
    QByteArray body;
};

QByteArray response(const QByteArray &status, const QByteArray &body, const QByteArray &extraHeaders = {})
{
    return "HTTP/1.1 " + status + "\r\nContent-Type: application/soap+xml\r\nContent-Length: "
           + QByteArray::number(body.size()) + "\r\nConnection: close\r\n" + extraHeaders + "\r\n" + body;
}

// Answers each request with what the handler returns (raw bytes, written then closed); an
// empty answer leaves the connection open and silent, "CLOSE" closes it without a word.
class HttpResponder : public QTcpServer
{
public:
    std::function<QByteArray(const HttpRequest &)> handler;
    QList<HttpRequest> requests;
    int answerDelayMs = 0; // answers held back this long
    int inFlight = 0;
    int maxInFlight = 0;

    HttpResponder() { QVERIFY(listen(QHostAddress::LocalHost)); }
    QUrl url() const
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/onvif/device_service")
                        .arg(m_tls ? QStringLiteral("https") : QStringLiteral("http"))
                        .arg(serverPort()));
    }
    /** Serves over TLS with the certificate and key in the resource @p pem. */
    void serveTls(const QString &pem)
    {
        QFile file(QStringLiteral(":/onvif/tls/") + pem);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate(text));
        tls.setPrivateKey(QSslKey(text, QSsl::Ec));
        QVERIFY(!tls.localCertificate().isNull() && !tls.privateKey().isNull());
        m_tls = tls;
    }
    QByteArray fingerprint() const { return m_tls->localCertificate().digest(QCryptographicHash::Sha256); }

protected:
    void incomingConnection(qintptr handle) override
    {
        QTcpSocket *socket = nullptr;
        if (m_tls) {
            auto *secure = new QSslSocket(this);
            secure->setSocketDescriptor(handle);
            secure->setSslConfiguration(*m_tls);
            secure->startServerEncryption();
            socket = secure;
        } else {
            socket = new QTcpSocket(this);
            socket->setSocketDescriptor(handle);
        }
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            QByteArray &buffer = m_buffers[socket];
            buffer += socket->readAll();
            const qsizetype end = buffer.indexOf("\r\n\r\n");
            if (end < 0)
                return;
            HttpRequest request;
            const QList<QByteArray> lines = buffer.left(end).split('\n');
            request.path = lines.value(0).split(' ').value(1);
            for (const QByteArray &line : lines.mid(1)) {
                const qsizetype colon = line.indexOf(':');
                request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
            }
            const qsizetype length = request.headers.value("content-length").toLongLong();
            if (buffer.size() < end + 4 + length)
                return;
            request.body = buffer.mid(end + 4, length);
            buffer.clear();
            requests.append(request);
            maxInFlight = qMax(maxInFlight, ++inFlight);
            const QByteArray answer = handler(request);
            QTimer::singleShot(answerDelayMs, socket, [this, socket, answer] {
                --inFlight;
                if (answer == "CLOSE") {
                    socket->abort();
                } else if (!answer.isEmpty()) {
                    socket->write(answer);
                    socket->disconnectFromHost();
                }
            });
        });
    }

private:
    QHash<QTcpSocket *, QByteArray> m_buffers;
    std::optional<QSslConfiguration> m_tls;
};

DeviceClient::Options loopbackOptions(int timeoutMs = 3000)
{
    DeviceClient::Options o;
    o.scope.scope = ClientOptions::Scope::Loopback;
    o.timeoutMs = timeoutMs;
    return o;
}

QByteArray operationOf(const HttpRequest &r)
{
    for (const char *op : {"GetSystemDateAndTime", "GetDeviceInformation", "GetNetworkInterfaces",
                           "GetNetworkDefaultGateway", "GetNetworkProtocols", "SetNetworkInterfaces",
                           "SetNetworkDefaultGateway", "SetNetworkProtocols", "SystemReboot", "GetUsers", "SetUser"}) {
        if (r.body.contains(QByteArray(":") + op + ">") || r.body.contains(QByteArray(":") + op + "/>"))
            return op;
    }
    return {};
}

QByteArray h(QCryptographicHash::Algorithm a, const QByteArray &text)
{
    return QCryptographicHash::hash(text, a).toHex();
}

QByteArray param(const QByteArray &header, const QByteArray &name)
{
    const auto challenges = HttpDigest::parseChallenges(header);
    return challenges.isEmpty() ? QByteArray() : challenges.first().params.value(name);
}

} // namespace

class tst_DeviceClient : public QObject
{
    Q_OBJECT

private slots:
    void digestKnownVectors_data();
    void digestKnownVectors();
    void sessionDigestHoldsForLaterRequests();
    void userNameArrivesAsTyped_data();
    void userNameArrivesAsTyped();
    void httpDigestHandshake_data();
    void httpDigestHandshake();
    void clearTextOnlyWhenAllowed_data();
    void clearTextOnlyWhenAllowed();
    void failedAnswers_data();
    void failedAnswers();
    void identifyAppliesClockOffset();
    void quirkLoggedOncePerDevice();
    void changeNetworkKeepsOtherProtocols();
    void changePasswordKeepsTheLevel_data();
    void changePasswordKeepsTheLevel();
    void newPasswordGoesToTheListedHttpsPort();
    void pinFoundByMacUnderAnotherEndpoint();
    void certificatePinnedOnFirstUse_data();
    void certificatePinnedOnFirstUse();
    void identifierBoundsParallelRequests_data();
    void identifierBoundsParallelRequests();
};

void tst_DeviceClient::digestKnownVectors_data()
{
    QTest::addColumn<QByteArray>("algorithm");
    QTest::addColumn<QByteArray>("expected");
    // The worked examples of RFC 7616, section 3.9.1.
    QTest::addRow("MD5") << QByteArray("MD5") << QByteArray("8ca523f5e9506fed4657c9700eebdbec");
    QTest::addRow("SHA-256") << QByteArray("SHA-256")
                             << QByteArray("753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1");
}

void tst_DeviceClient::digestKnownVectors()
{
    QFETCH(QByteArray, algorithm);
    QFETCH(QByteArray, expected);
    const QByteArray challenge
        = "Digest realm=\"http-auth@example.org\", qop=\"auth, auth-int\", algorithm=" + algorithm
          + ", nonce=\"7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v\", "
            "opaque=\"FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS\"";
    auto digest = HttpDigest::select(HttpDigest::parseChallenges(challenge));
    QVERIFY(digest);
    const QByteArray header
        = digest->authorization("GET", "/dir/index.html", QStringLiteral("Mufasa"), QStringLiteral("Circle of Life"),
                                "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ");
    QCOMPARE(param(header, "response"), expected);
    QCOMPARE(param(header, "nc"), QByteArray("00000001"));
    QCOMPARE(param(header, "qop"), QByteArray("auth"));
    QCOMPARE(param(header, "opaque"), QByteArray("FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS"));
}

// A digest is reused for the requests after the first: each one must still hash the session key.
void tst_DeviceClient::sessionDigestHoldsForLaterRequests()
{
    auto digest = HttpDigest::select(
        HttpDigest::parseChallenges("Digest realm=\"cam\", qop=\"auth\", algorithm=MD5-sess, nonce=\"n1\""));
    QVERIFY(digest);
    const auto md5 = QCryptographicHash::Md5;
    const QByteArray ha1 = h(md5, h(md5, "admin:cam:pw") + ":n1:c");
    for (const QByteArray &nc : {QByteArray("00000001"), QByteArray("00000002")}) {
        const QByteArray header = digest->authorization("POST", "/onvif/device_service", QStringLiteral("admin"),
                                                        QStringLiteral("pw"), "c");
        QCOMPARE(param(header, "nc"), nc);
        QCOMPARE(param(header, "algorithm"), QByteArray("MD5-sess"));
        QCOMPARE(param(header, "response"),
                 h(md5, ha1 + ":n1:" + nc + ":c:auth:" + h(md5, "POST:/onvif/device_service")));
    }
}

// The header quotes the user name; the device unquotes it and hashes what the user typed.
void tst_DeviceClient::userNameArrivesAsTyped_data()
{
    QTest::addColumn<QString>("user");
    QTest::addRow("domain account with a backslash") << QStringLiteral("DOMAIN\\admin");
    QTest::addRow("quote in the name") << QStringLiteral("ad\"min");
    QTest::addRow("non-ASCII name") << QStringLiteral("管理员");
}

void tst_DeviceClient::userNameArrivesAsTyped()
{
    QFETCH(QString, user);
    auto digest = HttpDigest::select(HttpDigest::parseChallenges("Digest realm=\"cam\", nonce=\"n1\""));
    QVERIFY(digest);
    const QByteArray header = digest->authorization("POST", "/d", user, QStringLiteral("pw"), "c");
    QCOMPARE(param(header, "username"), user.toUtf8());
    const auto md5 = QCryptographicHash::Md5;
    QCOMPARE(param(header, "response"), h(md5, h(md5, user.toUtf8() + ":cam:pw") + ":n1:" + h(md5, "POST:/d")));
}

void tst_DeviceClient::httpDigestHandshake_data()
{
    QTest::addColumn<QByteArray>("challenges");
    QTest::addColumn<QByteArray>("expectedAlgorithm"); // empty: no usable challenge, no second try
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("expectedKind");

    const QByteArray md5 = "Digest realm=\"cam\", qop=\"auth\", nonce=\"n1\", algorithm=MD5";
    const QByteArray sha = "Digest realm=\"cam\", qop=\"auth\", nonce=\"n1\", algorithm=SHA-256";
    QTest::addRow("MD5") << md5 << QByteArray("MD5") << "secret" << int(Kind::None);
    QTest::addRow("SHA-256") << sha << QByteArray("SHA-256") << "secret" << int(Kind::None);
    QTest::addRow("SHA-256 preferred whatever the order")
        << md5 + ", " + sha << QByteArray("SHA-256") << "secret" << int(Kind::None);
    QTest::addRow("wrong password asked once") << sha << QByteArray("SHA-256") << "wrong" << int(Kind::NotAuthorized);
    QTest::addRow("auth-int only is not answered") << QByteArray("Digest realm=\"cam\", qop=\"auth-int\", nonce=\"n\"")
                                                   << QByteArray() << "secret" << int(Kind::NotAuthorized);
    QTest::addRow("unknown algorithm is not answered")
        << QByteArray("Digest realm=\"cam\", qop=\"auth\", nonce=\"n\", algorithm=SHA-512-256") << QByteArray()
        << "secret" << int(Kind::NotAuthorized);
}

void tst_DeviceClient::httpDigestHandshake()
{
    QFETCH(QByteArray, challenges);
    QFETCH(QByteArray, expectedAlgorithm);
    QFETCH(QString, password);
    QFETCH(int, expectedKind);

    HttpResponder server;
    server.handler = [&challenges](const HttpRequest &r) -> QByteArray {
        const QByteArray auth = r.headers.value("authorization");
        if (!auth.startsWith("Digest "))
            return response("401 Unauthorized", {}, "WWW-Authenticate: " + challenges + "\r\n");
        const QByteArray algorithm = param(auth, "algorithm");
        const auto a = algorithm == "SHA-256" ? QCryptographicHash::Sha256 : QCryptographicHash::Md5;
        const QByteArray ha1 = h(a, "admin:cam:secret");
        const QByteArray ha2 = h(a, "POST:" + param(auth, "uri"));
        const QByteArray expected
            = h(a, ha1 + ":n1:" + param(auth, "nc") + ':' + param(auth, "cnonce") + ":auth:" + ha2);
        if (param(auth, "response") != expected || param(auth, "uri") != "/onvif/device_service")
            return response("401 Unauthorized", {}, "WWW-Authenticate: " + challenges + "\r\n");
        return response("200 OK", data("deviceinformation.xml"));
    };
    DeviceOperations async(loopbackOptions());
    Outcome<QByteArray> outcome;
    bool done = false;
    async.client().post(server.url(), deviceAction(QStringLiteral("GetDeviceInformation")),
                        Credentials{QStringLiteral("admin"), password, false}, 0, devicemgmt::getDeviceInformation,
                        [&](const Outcome<QByteArray> &o) {
                            outcome = o;
                            done = true;
                        });
    QTRY_VERIFY(done);
    QCOMPARE(int(outcome.failure.kind), expectedKind);
    QCOMPARE(server.requests.size(), expectedAlgorithm.isEmpty() ? 1 : 2);
    if (!expectedAlgorithm.isEmpty())
        QCOMPARE(param(server.requests.at(1).headers.value("authorization"), "algorithm"), expectedAlgorithm);
    // The password itself never travels.
    for (const HttpRequest &r : server.requests) {
        QVERIFY(!r.body.contains(password.toUtf8()));
        QVERIFY(!r.headers.value("authorization").contains(password.toUtf8()));
    }
}

void tst_DeviceClient::clearTextOnlyWhenAllowed_data()
{
    QTest::addColumn<bool>("faultOnToken"); // the device answers a token with a fault, not a challenge
    QTest::addColumn<bool>("allowClearText");
    QTest::addColumn<int>("expectedKind");
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("tls");
    QTest::addRow("Basic challenge: refused without the caller's consent")
        << false << false << int(Kind::ClearTextOnly) << 1 << false;
    QTest::addRow("Basic challenge: sent when allowed") << false << true << int(Kind::None) << 2 << false;
    QTest::addRow("token refused: refused without the caller's consent")
        << true << false << int(Kind::ClearTextOnly) << 2 << false;
    QTest::addRow("token refused: sent when allowed") << true << true << int(Kind::None) << 3 << false;
    // Inside TLS to the pinned device Basic is no longer readable on the way.
    QTest::addRow("Basic challenge over HTTPS: sent") << false << false << int(Kind::None) << 2 << true;
}

void tst_DeviceClient::clearTextOnlyWhenAllowed()
{
    QFETCH(bool, faultOnToken);
    QFETCH(bool, allowClearText);
    QFETCH(int, expectedKind);
    QFETCH(int, requests);
    QFETCH(bool, tls);
    HttpResponder server;
    if (tls)
        server.serveTls(QStringLiteral("device-a.pem"));
    server.handler = [faultOnToken](const HttpRequest &r) -> QByteArray {
        if (r.headers.value("authorization") == "Basic " + QByteArray("admin:secret").toBase64())
            return response("200 OK", data("deviceinformation.xml"));
        if (faultOnToken && r.body.contains("UsernameToken"))
            return response("400 Bad Request", data("fault.xml").replace("InvalidArgVal", "NotAuthorized"));
        return response("401 Unauthorized", {}, "WWW-Authenticate: Basic realm=\"cam\"\r\n");
    };
    DeviceOperations ops(loopbackOptions());
    Outcome<QByteArray> outcome;
    bool done = false;
    ops.client().post(server.url(), deviceAction(QStringLiteral("GetDeviceInformation")),
                      Credentials{QStringLiteral("admin"), QStringLiteral("secret"), allowClearText}, 0,
                      devicemgmt::getDeviceInformation, [&](const Outcome<QByteArray> &o) {
                          outcome = o;
                          done = true;
                      });
    QTRY_VERIFY(done);
    QCOMPARE(int(outcome.failure.kind), expectedKind);
    QCOMPARE(server.requests.size(), requests);
    // Without consent the password never travels in clear.
    if (!allowClearText && !tls) {
        for (const HttpRequest &r : server.requests)
            QVERIFY(!r.headers.contains("authorization") && !r.body.contains("secret"));
    }
}

void tst_DeviceClient::failedAnswers_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("url"); // empty: the responder's; "https": the responder's over TLS
    QTest::addColumn<int>("expectedKind");
    QTest::addColumn<int>("requests"); // -1: not counted (the network stack may retry a dropped connection)

    const QByteArray sdt = data("systemdateandtime.xml");
    QTest::addRow("well-formed answer") << response("200 OK", sdt) << QString() << int(Kind::None) << 1;
    QTest::addRow("redirect not followed") << response("302 Found", {}, "Location: http://127.0.0.1:1/elsewhere\r\n")
                                           << QString() << int(Kind::HttpStatus) << 1;
    QTest::addRow("plain HTTP error") << response("503 Service Unavailable", "busy") << QString()
                                      << int(Kind::HttpStatus) << 1;
    QTest::addRow("fault with its subcodes")
        << response("500 Internal Server Error", data("fault.xml")) << QString() << int(Kind::SoapFault) << 1;
    QTest::addRow("refused password in a SOAP 1.1 fault")
        << response("500 Internal Server Error",
                    "<e:Envelope xmlns:e='http://schemas.xmlsoap.org/soap/envelope/' "
                    "xmlns:ter='http://www.onvif.org/ver10/error'><e:Body><e:Fault><faultcode>ter:NotAuthorized"
                    "</faultcode><faultstring>Sender not authorized</faultstring></e:Fault></e:Body></e:Envelope>")
        << QString() << int(Kind::NotAuthorized) << 1;
    QTest::addRow("forbidden is a refused password")
        << response("403 Forbidden", "no") << QString() << int(Kind::NotAuthorized) << 1;
    QTest::addRow("truncated XML") << response("200 OK", sdt.left(sdt.size() / 2)) << QString() << int(Kind::Malformed)
                                   << 1;
    QTest::addRow("garbage") << response("200 OK", "\x01\x02 not xml <<<") << QString() << int(Kind::Malformed) << 1;
    QTest::addRow("another operation's answer")
        << response("200 OK", QByteArray(sdt).replace("GetSystemDateAndTimeResponse", "GetUsersResponse")) << QString()
        << int(Kind::Malformed) << 1;
    QByteArray big = "<a>" + QByteArray(devicemgmt::kMaxResponseBytes - 7, 'x') + "</a>";
    QTest::addRow("answer at the size limit is read")
        << response("200 OK", big) << QString() << int(Kind::Malformed) << 1;
    big.insert(3, 'x');
    QTest::addRow("one byte over the limit is aborted")
        << response("200 OK", big) << QString() << int(Kind::TooLarge) << 1;
    QTest::addRow("10 MB without a length is aborted")
        << QByteArray("HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n" + QByteArray(10 * 1024 * 1024, 'x')) << QString()
        << int(Kind::TooLarge) << 1;
    QTest::addRow("over HTTPS: one byte over the limit is aborted")
        << response("200 OK", big) << QStringLiteral("https") << int(Kind::TooLarge) << 1;
    QTest::addRow("over HTTPS: redirect not followed")
        << response("302 Found", {}, "Location: https://127.0.0.1:1/elsewhere\r\n") << QStringLiteral("https")
        << int(Kind::HttpStatus) << 1;
    QTest::addRow("silent device times out") << QByteArray() << QString() << int(Kind::TimedOut) << 1;
    QTest::addRow("connection closed without an answer")
        << QByteArray("CLOSE") << QString() << int(Kind::Refused) << -1;
    QTest::addRow("non-loopback address refused in the loopback scope")
        << QByteArray() << QStringLiteral("http://192.0.2.10/onvif/device_service") << int(Kind::AddressNotAllowed)
        << 0;
    QTest::addRow("other scheme refused")
        << QByteArray() << QStringLiteral("ftp://127.0.0.1/onvif/device_service") << int(Kind::AddressNotAllowed) << 0;
}

void tst_DeviceClient::failedAnswers()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, url);
    QFETCH(int, expectedKind);
    QFETCH(int, requests);
    HttpResponder server;
    server.handler = [&answer](const HttpRequest &) {
        return answer;
    };
    if (url == u"https") {
        server.serveTls(QStringLiteral("device-a.pem"));
        url.clear();
    }
    BlockingDeviceOperations ops(loopbackOptions(1000));
    const Outcome<Identity> identity = ops.identify(url.isEmpty() ? server.url() : QUrl(url), std::nullopt);
    QCOMPARE(int(identity.failure.kind), expectedKind);
    if (requests >= 0)
        QCOMPARE(server.requests.size(), requests);
    if (expectedKind == int(Kind::SoapFault)) {
        QVERIFY(identity.failure.fault);
        QVERIFY(!identity.failure.fault->subcodes.isEmpty());
    }
}

void tst_DeviceClient::identifyAppliesClockOffset()
{
    // The device's clock runs an hour and a half ahead: a token created by our clock would be stale.
    const QDateTime deviceNow = QDateTime::currentDateTimeUtc().addSecs(5400);
    QByteArray sdt = data("systemdateandtime.xml");
    sdt.replace(
        "<tt:Hour>23</tt:Hour><tt:Minute>59</tt:Minute><tt:Second>30</tt:Second>",
        deviceNow.toString("'<tt:Hour>'h'</tt:Hour><tt:Minute>'m'</tt:Minute><tt:Second>'s'</tt:Second>'").toUtf8());
    sdt.replace("<tt:Year>2026</tt:Year><tt:Month>12</tt:Month><tt:Day>31</tt:Day>",
                deviceNow.toString("'<tt:Year>'yyyy'</tt:Year><tt:Month>'M'</tt:Month><tt:Day>'d'</tt:Day>'").toUtf8());
    HttpResponder server;
    server.handler = [&](const HttpRequest &r) -> QByteArray {
        const QByteArray op = operationOf(r);
        if (op == "GetSystemDateAndTime")
            return response("200 OK", sdt);
        const qsizetype at = r.body.indexOf("Created>");
        const QDateTime created = QDateTime::fromString(QString::fromUtf8(r.body.mid(at + 8, 20)), Qt::ISODate);
        if (at < 0 || qAbs(created.secsTo(QDateTime::currentDateTimeUtc().addSecs(5400))) > 60)
            return response("400 Bad Request", data("fault.xml").replace("InvalidArgVal", "NotAuthorized"));
        const QMap<QByteArray, QString> files{{"GetDeviceInformation", "deviceinformation.xml"},
                                              {"GetNetworkInterfaces", "networkinterfaces.xml"},
                                              {"GetNetworkDefaultGateway", "networkdefaultgateway.xml"},
                                              {"GetNetworkProtocols", "networkprotocols.xml"}};
        return response("200 OK", data(files.value(op)));
    };
    BlockingDeviceOperations ops(loopbackOptions());
    const Outcome<Identity> identity
        = ops.identify(server.url(), Credentials{QStringLiteral("admin"), QStringLiteral("secret"), false});
    QVERIFY2(identity, qPrintable(identity.failure.detail));
    QVERIFY(identity.value->authenticated);
    QVERIFY(qAbs(identity.value->clockOffsetSeconds - 5400) <= 2);
    QCOMPARE(server.requests.size(), 5);
    QVERIFY(!identity.value->interfaceToken.isEmpty());
    QVERIFY(!identity.value->macAddress.isEmpty());
    QVERIFY(identity.value->httpPort > 0);
}

void tst_DeviceClient::quirkLoggedOncePerDevice()
{
    HttpResponder server;
    server.handler = [](const HttpRequest &) {
        return response("200 OK", data("systemdateandtime.xml")
                                      .replace("http://www.w3.org/2003/05/soap-envelope",
                                               "http://schemas.xmlsoap.org/soap/envelope/"));
    };
    static QStringList logged;
    logged.clear();
    const QtMessageHandler previous
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
              if (type == QtInfoMsg && QByteArrayView(context.category) == "vexo.onvif.client")
                  logged.append(message);
          });
    DeviceOperations ops(loopbackOptions());
    int done = 0;
    for (int i = 0; i < 2; ++i) {
        ops.identify(server.url(), std::nullopt, [&done](const Outcome<Identity> &o) {
            QVERIFY(o && o.value->quirks == QStringList{"SOAP 1.1 envelope"});
            ++done;
        });
        QTRY_COMPARE(done, i + 1);
    }
    qInstallMessageHandler(previous);
    QCOMPARE(logged.size(), 1);
    QVERIFY2(logged.first().contains("SOAP 1.1"), qPrintable(logged.first()));
}

void tst_DeviceClient::changeNetworkKeepsOtherProtocols()
{
    HttpResponder server;
    server.handler = [](const HttpRequest &r) -> QByteArray {
        const QByteArray op = operationOf(r);
        if (op == "SetNetworkProtocols")
            return response("200 OK", "<s:Envelope xmlns:s='http://www.w3.org/2003/05/soap-envelope'><s:Body>"
                                      "<SetNetworkProtocolsResponse xmlns='http://www.onvif.org/ver10/device/wsdl'/>"
                                      "</s:Body></s:Envelope>");
        return response("500 Internal Server Error", data("fault.xml"));
    };
    Identity identity;
    identity.serviceUrl = server.url();
    identity.protocols = {{QStringLiteral("HTTP"), true, {80}}, {QStringLiteral("RTSP"), true, {554}}};
    NetworkChange change;
    change.httpPort = 8081;
    BlockingDeviceOperations ops(loopbackOptions());
    const auto result = ops.changeNetwork(identity, Credentials{}, change);
    QVERIFY2(result, qPrintable(result.failure.detail));
    const auto sent = server.requests.first().body;
    QCOMPARE(operationOf(server.requests.first()), "SetNetworkProtocols");
    QVERIFY(sent.contains("8081"));
    QVERIFY(sent.contains("RTSP") && sent.contains("554"));
    // Acknowledged, but the device did not show its protocols when read back.
    QVERIFY(!result.value->confirmed);

    // A port out of range is refused before anything is sent.
    const qsizetype sentBefore = server.requests.size();
    change.httpPort = 65536;
    QCOMPARE(int(ops.changeNetwork(identity, Credentials{}, change).failure.kind), int(Kind::InvalidArgument));
    QCOMPARE(server.requests.size(), sentBefore);
}

void tst_DeviceClient::changePasswordKeepsTheLevel_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("level"); // empty: refused after GetUsers, no SetUser sent
    QTest::addColumn<bool>("consent");     // the new password may go over plain HTTP
    QTest::addColumn<int>("requests");
    QTest::addRow("administrator") << "admin" << QByteArray("Administrator") << true << 2;
    QTest::addRow("plain user stays a user") << "viewer" << QByteArray("User") << true << 2;
    QTest::addRow("unknown user") << "nobody" << QByteArray() << true << 1;
    // Over plain HTTP the new password goes only with the caller's consent: without it, not even GetUsers.
    QTest::addRow("no HTTPS and no consent sends nothing") << "admin" << QByteArray() << false << 0;
}

void tst_DeviceClient::changePasswordKeepsTheLevel()
{
    QFETCH(QString, user);
    QFETCH(QByteArray, level);
    QFETCH(bool, consent);
    QFETCH(int, requests);
    HttpResponder server;
    server.handler = [](const HttpRequest &r) -> QByteArray {
        if (operationOf(r) == "GetUsers")
            return response("200 OK", data("users.xml"));
        return response("200 OK", "<s:Envelope xmlns:s='http://www.w3.org/2003/05/soap-envelope'><s:Body>"
                                  "<SetUserResponse xmlns='http://www.onvif.org/ver10/device/wsdl'/>"
                                  "</s:Body></s:Envelope>");
    };
    Identity identity;
    identity.serviceUrl = server.url();
    BlockingDeviceOperations ops(loopbackOptions());
    Credentials credentials;
    credentials.allowClearTextNewPassword = consent;
    const auto changed = ops.changePassword(identity, credentials, user, QStringLiteral("N3w-secret"));
    QCOMPARE(bool(changed), !level.isEmpty());
    QCOMPARE(server.requests.size(), requests);
    if (!consent)
        QCOMPARE(changed.failure.kind, Kind::NotEncrypted);
    if (!level.isEmpty()) {
        const QByteArray sent = server.requests.at(1).body;
        QCOMPARE(operationOf(server.requests.at(1)), QByteArray("SetUser"));
        QVERIFY(sent.contains("UserLevel>" + level + "<"));
    }
}

void tst_DeviceClient::newPasswordGoesToTheListedHttpsPort()
{
    // Found at an http address, the device lists HTTPS among its protocols: the change goes there.
    HttpResponder secure;
    secure.serveTls(QStringLiteral("device-a.pem"));
    secure.handler = [](const HttpRequest &r) -> QByteArray {
        if (operationOf(r) == "GetUsers")
            return response("200 OK", data("users.xml"));
        return response("200 OK", "<s:Envelope xmlns:s='http://www.w3.org/2003/05/soap-envelope'><s:Body>"
                                  "<SetUserResponse xmlns='http://www.onvif.org/ver10/device/wsdl'/>"
                                  "</s:Body></s:Envelope>");
    };
    HttpResponder plain;
    const QByteArray https = "<tt:Name>HTTPS</tt:Name><tt:Enabled>true</tt:Enabled><tt:Port>"
                             + QByteArray::number(secure.serverPort()) + "</tt:Port>";
    plain.handler = [https](const HttpRequest &r) -> QByteArray {
        const QHash<QByteArray, QString> files{{"GetSystemDateAndTime", "systemdateandtime.xml"},
                                               {"GetDeviceInformation", "deviceinformation.xml"},
                                               {"GetNetworkInterfaces", "networkinterfaces.xml"},
                                               {"GetNetworkDefaultGateway", "networkdefaultgateway.xml"},
                                               {"GetNetworkProtocols", "networkprotocols.xml"}};
        const QByteArray op = operationOf(r);
        if (!files.contains(op))
            return response("500 Internal Server Error", data("fault.xml"));
        return response(
            "200 OK",
            data(files.value(op))
                .replace("<tt:Name>HTTPS</tt:Name><tt:Enabled>false</tt:Enabled><tt:Port>443</tt:Port>", https));
    };
    BlockingDeviceOperations ops(loopbackOptions());
    const Credentials credentials{QStringLiteral("admin"), QStringLiteral("secret")};
    const auto identity = ops.identify(plain.url(), credentials);
    QVERIFY2(identity, qPrintable(identity.failure.detail));
    QCOMPARE(identity.value->requestUrl().scheme(), QStringLiteral("https"));
    QCOMPARE(identity.value->requestUrl().port(), int(secure.serverPort()));
    const qsizetype askedPlain = plain.requests.size();

    // No consent needed: the new password goes over TLS, and nothing of it over plain HTTP.
    const auto changed
        = ops.changePassword(*identity.value, credentials, QStringLiteral("admin"), QStringLiteral("N3w-secret"));
    QVERIFY2(changed, qPrintable(changed.failure.detail));
    QCOMPARE(plain.requests.size(), askedPlain);
    QCOMPARE(secure.requests.size(), 2);
    QCOMPARE(operationOf(secure.requests.at(1)), QByteArray("SetUser"));
}

void tst_DeviceClient::pinFoundByMacUnderAnotherEndpoint()
{
    // A device known by its MAC keeps its pin when it comes with another endpoint reference.
    HttpResponder device;
    device.serveTls(QStringLiteral("device-b.pem"));
    device.handler = [](const HttpRequest &) {
        return response("200 OK", data("systemdateandtime.xml"));
    };
    DeviceClient::Options options = loopbackOptions();
    options.pins = std::make_shared<CertificatePins>();
    QVERIFY(options.pins->pin(QStringLiteral("urn:uuid:first"), QStringLiteral("02:4F:4E:00:00:01"),
                              QByteArray(32, '\x11')));
    DeviceOperations ops(options);
    Outcome<QByteArray> outcome;
    bool done = false;
    ops.client().post(
        device.url(), deviceAction(QStringLiteral("GetSystemDateAndTime")), std::nullopt, 0,
        [](const devicemgmt::Auth &) { return devicemgmt::getSystemDateAndTime(); },
        [&](const Outcome<QByteArray> &o) {
            outcome = o;
            done = true;
        },
        Peer{QStringLiteral("urn:uuid:second"), QStringLiteral("02-4f-4e-00-00-01")});
    QTRY_VERIFY(done);
    QCOMPARE(outcome.failure.kind, Kind::CertificateChanged);
    QCOMPARE(device.requests.size(), 0);
}

void tst_DeviceClient::certificatePinnedOnFirstUse_data()
{
    QTest::addColumn<QString>("later");  // the certificate the device presents the second time
    QTest::addColumn<bool>("forgotten"); // the user forgot the pin in between
    QTest::addColumn<bool>("accepted");
    QTest::addRow("the pinned certificate again") << "device-a.pem" << false << true;
    QTest::addRow("another certificate is refused") << "device-b.pem" << false << false;
    QTest::addRow("a forgotten pin takes the new one") << "device-b.pem" << true << true;
}

void tst_DeviceClient::certificatePinnedOnFirstUse()
{
    QFETCH(QString, later);
    QFETCH(bool, forgotten);
    QFETCH(bool, accepted);
    const QString endpoint = QStringLiteral("urn:uuid:6d1c2a5e-0000-4000-8000-000000000001");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pins.json"));
    // A link where the file goes is replaced, never written through.
    QFile elsewhere(dir.filePath(QStringLiteral("elsewhere")));
    QVERIFY(elsewhere.open(QIODevice::WriteOnly) && elsewhere.write("untouched") == 9);
    elsewhere.close();
    QVERIFY(QFile::link(elsewhere.fileName(), path));

    const auto ask = [&](HttpResponder &device) {
        DeviceClient::Options options = loopbackOptions();
        options.pins = std::make_shared<CertificatePins>(path); // read from the file each time
        device.handler = [](const HttpRequest &) {
            return response("200 OK", data("systemdateandtime.xml"));
        };
        return BlockingDeviceOperations(options).identify(device.url(), std::nullopt, endpoint);
    };
    HttpResponder first;
    first.serveTls(QStringLiteral("device-a.pem"));
    const auto pinned = ask(first);
    QVERIFY2(pinned, qPrintable(pinned.failure.detail));
    QCOMPARE(CertificatePins(path).find(endpoint, {}), std::optional(first.fingerprint()));
    QVERIFY(!QFileInfo(path).isSymLink());
    QVERIFY(elsewhere.open(QIODevice::ReadOnly));
    QCOMPARE(elsewhere.readAll(), QByteArray("untouched"));

    if (forgotten)
        QVERIFY(CertificatePins(path).forget(endpoint, {}));
    HttpResponder second;
    second.serveTls(later);
    const auto again = ask(second);
    QCOMPARE(bool(again), accepted);
    if (!accepted) {
        QCOMPARE(again.failure.kind, Kind::CertificateChanged);
        QCOMPARE(second.requests.size(), 0); // refused after the handshake, before the request
    }
    QCOMPARE(CertificatePins(path).find(endpoint, {}),
             std::optional(accepted ? second.fingerprint() : first.fingerprint()));
}

void tst_DeviceClient::identifierBoundsParallelRequests_data()
{
    QTest::addColumn<int>("limit");
    // Below the six connections the network stack opens to one host on its own.
    QTest::addRow("one at a time") << 1;
    QTest::addRow("three at once") << 3;
}

void tst_DeviceClient::identifierBoundsParallelRequests()
{
    QFETCH(int, limit);
    HttpResponder server;
    server.answerDelayMs = 300; // long enough for every allowed request to arrive before the first answer
    server.handler = [](const HttpRequest &) {
        return response("200 OK", data("systemdateandtime.xml"));
    };
    Identifier identifier(loopbackOptions());
    identifier.setMaxParallel(limit);
    QSignalSpy identified(&identifier, &Identifier::identified);
    QSignalSpy idle(&identifier, &Identifier::idle);
    for (int i = 0; i < 6; ++i)
        identifier.enqueue(QStringLiteral("device %1").arg(i), server.url(), std::nullopt);
    identifier.enqueue(QStringLiteral("device 0"), server.url(), std::nullopt); // already queued: once
    QTRY_COMPARE(idle.size(), 1);
    QCOMPARE(identified.size(), 6);
    QCOMPARE(server.requests.size(), 6);
    QCOMPARE(server.maxInFlight, limit);
}

QTEST_GUILESS_MAIN(tst_DeviceClient)

#include "tst_deviceclient.moc"

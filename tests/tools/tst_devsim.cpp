// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simclient.h"
#include "simulatorprocess.h"

#include <protocol/codec.h>
#include <protocol/crypto.h>
#include <protocol/identity.h>
#include <protocol/keyformats.h>

#include <QDate>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

Q_DECLARE_METATYPE(vxdp::NetParams)
Q_DECLARE_METATYPE(vxdp::Status)

namespace {

const std::string kPassword = "Admin12345";

// Kinds of device the program treats differently; each must turn up in a generated population.
enum Kind {
    Activated,
    NotActivated,
    Camera,
    Recorder4,
    Recorder8,
    Recorder16,
    Recorder32,
    Ipv6,
    NoIpv6,
    ModIpv6,
    FixedIpv6,
    DhcpCapable,
    DhcpOn,
    NoDhcp,
    KeyReset,
    NoKeyReset,
    NewKeyFormat,
    OldKeyFormatWithReset,
    ResetCameras,
    WebPortNone,
    WebPort80,
    WebPort8080,
    FamilyTypeText,
    OtherTypeText,
};

bool isCameraCode(std::uint32_t code)
{
    return code >= 0x9D00 && code <= 0x9FFF;
}

template<std::size_t N>
bool isZero(const std::array<std::uint8_t, N> &a)
{
    return std::all_of(a.begin(), a.end(), [](std::uint8_t b) { return b == 0; });
}

bool isKind(int kind, const vxdp::Announce &a)
{
    const vxdp::DeviceDescription &d = a.device;
    const bool family
        = QRegularExpression(QStringLiteral("^[A-Z]{2}-\\d{2}")).match(QString::fromStdString(d.typeText)).hasMatch();
    switch (kind) {
    case Activated:
        return d.inactive == 0;
    case NotActivated:
        return d.inactive != 0;
    case Camera:
        return isCameraCode(d.typeCode) && d.channels == 1;
    case Recorder4:
    case Recorder8:
    case Recorder16:
    case Recorder32:
        return !isCameraCode(d.typeCode) && d.channels == (4 << (kind - Recorder4));
    case Ipv6:
        return (d.capabilities & VEXO_CAP_IPV6) && d.extendedValid == 1 && !isZero(d.ipv6) && !isZero(d.ipv6Gateway)
               && d.ipv6PrefixLength > 0;
    case NoIpv6:
        return !(d.capabilities & VEXO_CAP_IPV6) && d.extendedValid == 0 && isZero(d.ipv6) && isZero(d.ipv6Gateway)
               && d.ipv6PrefixLength == 0;
    case ModIpv6:
        return (d.capabilities & (VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6)) == (VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6);
    case FixedIpv6:
        return (d.capabilities & (VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6)) == VEXO_CAP_IPV6;
    case DhcpCapable:
        return (d.capabilities & VEXO_CAP_DHCP) && !d.dhcp;
    case DhcpOn:
        return (d.capabilities & VEXO_CAP_DHCP) && d.dhcp == 1;
    case NoDhcp:
        return !(d.capabilities & VEXO_CAP_DHCP) && !d.dhcp;
    case KeyReset:
        return d.capabilities & VEXO_CAP_KEY_RESET;
    case NoKeyReset:
        return !(d.capabilities & VEXO_CAP_KEY_RESET);
    case NewKeyFormat:
        return (d.capabilities & VEXO_CAP_KEY_RESET) && (d.keyFormat & VEXO_KEYFMT_NEW);
    case OldKeyFormatWithReset:
        return (d.capabilities & VEXO_CAP_KEY_RESET) && !(d.keyFormat & VEXO_KEYFMT_NEW);
    case ResetCameras:
        return d.capabilities & VEXO_CAP_RESET_IPC;
    case WebPortNone:
        return d.httpPort == 0;
    case WebPort80:
        return d.httpPort == 80;
    case WebPort8080:
        return d.httpPort == 8080;
    case FamilyTypeText:
        return family;
    case OtherTypeText:
        return !family;
    }
    return false;
}

const vxdp::Announce *findKind(const std::vector<vxdp::Announce> &devices, std::initializer_list<int> kinds)
{
    for (const vxdp::Announce &a : devices) {
        if (std::all_of(kinds.begin(), kinds.end(), [&a](int k) { return isKind(k, a); }))
            return &a;
    }
    return nullptr;
}

std::string todaysCode(const std::string &serial)
{
    const std::string today = QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString();
    return vxdp::securityCode(vxdp::restoreDeviceSecret(testKey("maker-restore.master"), serial), serial, today);
}

vxdp::Request requestFor(const std::string &serial)
{
    vxdp::Request r;
    r.target = SimClient::serialTarget(serial);
    return r;
}

// Modify goes by MAC, as the program sends it; upper case on purpose.
vxdp::Request modifyRequest(const vxdp::DeviceDescription &d, const vxdp::NetParams &net)
{
    vxdp::Request r;
    r.target
        = vxdp::Target{vxdp::TargetKind::Mac, QString::fromStdString(vxdp::macToText(d.mac)).toUpper().toStdString()};
    r.net = net;
    return r;
}

vxdp::Secret withPassword(const std::string &password)
{
    vxdp::Secret s;
    s.password = password;
    return s;
}

vxdp::Secret withMaterial(std::uint8_t kind, const std::string &material, const std::string &password = {})
{
    vxdp::Secret s;
    s.password = password;
    s.materialKind = kind;
    s.material = material;
    return s;
}

QByteArray toBytes(const std::vector<std::uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), qsizetype(v.size()));
}

// A simulator with its client, subscribed to its announcements by a first inquiry.
struct Sim
{
    SimulatorProcess process;
    std::unique_ptr<SimClient> client;
    std::vector<vxdp::Announce> devices;

    bool start(const QStringList &arguments, std::size_t count)
    {
        if (!process.start(arguments))
            return false;
        client = std::make_unique<SimClient>(process.port());
        devices = client->inquire(count);
        return devices.size() == count;
    }
};

QStringList args(int count, int seed, const QStringList &more = {})
{
    return QStringList{QStringLiteral("--count"), QString::number(count), QStringLiteral("--seed"),
                       QString::number(seed)}
           + more;
}

QJsonObject readState(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

QJsonObject stateDevice(const QString &path, const std::string &serial)
{
    const QJsonArray devices = readState(path).value(QLatin1String("devices")).toArray();
    for (const QJsonValue &v : devices) {
        if (v.toObject().value(QLatin1String("serial")).toString().toStdString() == serial)
            return v.toObject();
    }
    return {};
}

} // namespace

class tst_DevSim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void populationCovers_data();
    void populationCovers();
    void populationIsWellFormed();
    void sameSeedSamePopulation();

    void stateFileKeptAndReloaded();
    void corruptStateFileRefused_data();
    void corruptStateFileRefused();
    void oldStateFileUpgraded();
    void announcementsSignedAndCertified();

    void malformedDatagramsIgnored_data();
    void malformedDatagramsIgnored();
    void malformedDatagramsCounted();

    void retransmissionAnsweredFromCache();
    void sealedRequestChecks_data();
    void sealedRequestChecks();
    void modify_data();
    void modify();
    void ownIpv6IsNoChange_data();
    void ownIpv6IsNoChange();
    void lockoutAfterFiveRefusals();
    void lockoutEndsWithTime();
    void getKey_data();
    void getKey();
    void keyRepeatsUntilRestart();

    void consoleCommands();
    void endOfInputQuits();
    void noStdinRunsUntilSignal();
    void silentDevice();
    void loss();

private:
    Sim m_shared;
    QTemporaryDir m_dir;
    QByteArray m_validState;
};

void tst_DevSim::initTestCase()
{
    QVERIFY(vxdp::cryptoInit());
    QVERIFY(m_dir.isValid());
    QVERIFY2(QFile::exists(SimulatorProcess::toolPath(QStringLiteral("vexo-devsim"))),
             "VEXO_TEST_BIN_DIR has no vexo-devsim");
    QVERIFY(m_shared.start(args(64, 7), 64));

    const QString path = m_dir.filePath(QStringLiteral("valid.json"));
    SimulatorProcess writer;
    QVERIFY(writer.start(args(4, 11, {QStringLiteral("--state"), path})));
    QCOMPARE(writer.command(QStringLiteral("quit")), QStringList{QStringLiteral("ok")});
    QVERIFY(writer.waitForExit());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    m_validState = file.readAll();
    QVERIFY(!m_validState.isEmpty());
}

void tst_DevSim::populationCovers_data()
{
    QTest::addColumn<int>("kind");
    QTest::addRow("activated") << int(Activated);
    QTest::addRow("not activated") << int(NotActivated);
    QTest::addRow("camera, 1 channel") << int(Camera);
    QTest::addRow("recorder, 4 channels") << int(Recorder4);
    QTest::addRow("recorder, 8 channels") << int(Recorder8);
    QTest::addRow("recorder, 16 channels") << int(Recorder16);
    QTest::addRow("recorder, 32 channels") << int(Recorder32);
    QTest::addRow("IPv6") << int(Ipv6);
    QTest::addRow("no IPv6") << int(NoIpv6);
    QTest::addRow("modifiable IPv6") << int(ModIpv6);
    QTest::addRow("fixed IPv6") << int(FixedIpv6);
    QTest::addRow("DHCP capable, off") << int(DhcpCapable);
    QTest::addRow("DHCP on") << int(DhcpOn);
    QTest::addRow("no DHCP") << int(NoDhcp);
    QTest::addRow("key reset") << int(KeyReset);
    QTest::addRow("no key reset") << int(NoKeyReset);
    QTest::addRow("newer key format") << int(NewKeyFormat);
    QTest::addRow("older key format") << int(OldKeyFormatWithReset);
    QTest::addRow("resets cameras") << int(ResetCameras);
    QTest::addRow("no web port") << int(WebPortNone);
    QTest::addRow("web port 80") << int(WebPort80);
    QTest::addRow("web port 8080") << int(WebPort8080);
    QTest::addRow("model family type text") << int(FamilyTypeText);
    QTest::addRow("other type text") << int(OtherTypeText);
}

void tst_DevSim::populationCovers()
{
    QFETCH(int, kind);
    QVERIFY(findKind(m_shared.devices, {kind}));
}

void tst_DevSim::populationIsWellFormed()
{
    QSet<QByteArray> serials;
    QSet<QByteArray> macs;
    for (const vxdp::Announce &a : m_shared.devices) {
        const vxdp::DeviceDescription &d = a.device;
        const QByteArray serial = QByteArray::fromStdString(d.serial);
        QVERIFY2(!serials.contains(serial), serial);
        serials.insert(serial);
        macs.insert(QByteArray(reinterpret_cast<const char *>(d.mac.data()), 6));
        QVERIFY2(d.serial.rfind(d.typeText, 0) == 0 && d.serial.size() > d.typeText.size() + 8, serial);
        QVERIFY(d.typeText.size() <= vxdp::kMaxTypeText && d.serial.size() <= vxdp::kMaxSerial);
        QVERIFY(!d.softwareVersion.empty() && !d.dspVersion.empty() && !d.startTime.empty());
        QCOMPARE(a.reason, vxdp::AnnounceReason::Reply);
        // Addresses only from the documentation ranges.
        const bool docIpv4 = (d.ipv4[0] == 192 && d.ipv4[1] == 0 && d.ipv4[2] == 2)
                             || (d.ipv4[0] == 198 && d.ipv4[1] == 51 && d.ipv4[2] == 100)
                             || (d.ipv4[0] == 203 && d.ipv4[1] == 0 && d.ipv4[2] == 113);
        QVERIFY2(docIpv4, serial);
        if (!isZero(d.ipv6))
            QVERIFY2(d.ipv6[0] == 0x20 && d.ipv6[1] == 0x01 && d.ipv6[2] == 0x0d && d.ipv6[3] == 0xb8, serial);
        if (!isCameraCode(d.typeCode))
            QVERIFY2(d.channels >= 4, serial);
        QVERIFY2(!(d.keyFormat & VEXO_KEYFMT_NEW) || (d.capabilities & VEXO_CAP_KEY_RESET), serial);
    }
    QCOMPARE(macs.size(), serials.size());
}

void tst_DevSim::sameSeedSamePopulation()
{
    auto sorted = [](std::vector<vxdp::Announce> list) {
        for (vxdp::Announce &a : list)
            a.device.startTime.clear(); // the boot time is the only thing that may differ
        std::sort(list.begin(), list.end(),
                  [](const vxdp::Announce &a, const vxdp::Announce &b) { return a.device.serial < b.device.serial; });
        return list;
    };
    Sim again;
    QVERIFY(again.start(args(64, 7), 64));
    const auto first = sorted(m_shared.devices);
    const auto second = sorted(again.devices);
    for (std::size_t i = 0; i < first.size(); ++i) {
        QVERIFY(first[i].device == second[i].device);
        QVERIFY(first[i].publicKey == second[i].publicKey);
    }

    Sim other;
    QVERIFY(other.start(args(64, 8), 64));
    QVERIFY(sorted(other.devices)[0].device.serial != first[0].device.serial
            || sorted(other.devices)[0].publicKey != first[0].publicKey);
}

void tst_DevSim::stateFileKeptAndReloaded()
{
    const QString path = m_dir.filePath(QStringLiteral("kept.json"));
    std::string serial;
    std::array<std::uint8_t, 32> publicKey{};
    {
        Sim sim;
        QVERIFY(sim.start(args(8, 21, {QStringLiteral("--state"), path}), 8));
        QCOMPARE(readState(path).value(QLatin1String("devices")).toArray().size(), 8);
        const vxdp::Announce *fresh = findKind(sim.devices, {NotActivated});
        QVERIFY(fresh);
        serial = fresh->device.serial;
        publicKey = fresh->publicKey;
        QCOMPARE(stateDevice(path, serial).value(QLatin1String("inactive")).toInt(), 1);

        const auto result = sim.client->sealed(vxdp::MsgType::Activate, requestFor(serial), withPassword("Fresh123"));
        QVERIFY(result);
        QCOMPARE(result->status, vxdp::Status::Ok);
        // Saved before the answer leaves: a kill right after it loses nothing.
        QCOMPARE(stateDevice(path, serial).value(QLatin1String("inactive")).toInt(), 0);
        sim.process.process().kill();
        QVERIFY(sim.process.waitForExit());
    }

    Sim reloaded;
    QVERIFY(reloaded.start({QStringLiteral("--state"), path, QStringLiteral("--count"), QStringLiteral("3")}, 8));
    const auto it = std::find_if(reloaded.devices.begin(), reloaded.devices.end(),
                                 [&](const vxdp::Announce &a) { return a.device.serial == serial; });
    QVERIFY(it != reloaded.devices.end());
    QCOMPARE(it->device.inactive, 0);
    QVERIFY(it->publicKey == publicKey);

    vxdp::NetParams net;
    net.ipv4 = {203, 0, 113, 99};
    net.mask = {255, 255, 255, 0};
    net.gateway = {203, 0, 113, 1};
    net.flags = vxdp::kNetIpv4;
    const auto wrong
        = reloaded.client->sealed(vxdp::MsgType::Modify, modifyRequest(it->device, net), withPassword(kPassword));
    QVERIFY(wrong);
    QCOMPARE(wrong->status, vxdp::Status::Deny);
    const auto right
        = reloaded.client->sealed(vxdp::MsgType::Modify, modifyRequest(it->device, net), withPassword("Fresh123"));
    QVERIFY(right);
    QCOMPARE(right->status, vxdp::Status::Ok);
    QCOMPARE(stateDevice(path, serial).value(QLatin1String("ipv4")).toString(), QStringLiteral("203.0.113.99"));
}

void tst_DevSim::corruptStateFileRefused_data()
{
    QTest::addColumn<QByteArray>("content");
    const QJsonObject valid = QJsonDocument::fromJson(m_validState).object();
    auto mutated = [&valid](const std::function<void(QJsonArray &)> &change, const QString &format = {}) {
        QJsonObject root = valid;
        QJsonArray devices = root.value(QLatin1String("devices")).toArray();
        change(devices);
        root.insert(QStringLiteral("devices"), devices);
        if (!format.isEmpty())
            root.insert(QStringLiteral("format"), format);
        return QJsonDocument(root).toJson();
    };
    auto setField = [](int index, const char *key, const QJsonValue &value) {
        return [=](QJsonArray &devices) {
            QJsonObject d = devices.at(index).toObject();
            if (value.isUndefined())
                d.remove(QLatin1String(key));
            else
                d.insert(QLatin1String(key), value);
            devices.replace(index, d);
        };
    };
    const QJsonArray devices = valid.value(QLatin1String("devices")).toArray();
    QVERIFY(devices.size() == 4);
    // Device 0 of a generated population is activated.
    QCOMPARE(devices.at(0).toObject().value(QLatin1String("inactive")).toInt(), 0);

    QTest::addRow("not JSON") << QByteArray("this is not a state file\n");
    QTest::addRow("empty") << QByteArray();
    QTest::addRow("cut short") << m_validState.left(m_validState.size() / 2);
    QTest::addRow("another format") << mutated([](QJsonArray &) {}, QStringLiteral("something-else"));
    QTest::addRow("no devices") << mutated([](QJsonArray &d) { d = QJsonArray(); });
    QTest::addRow("bad MAC") << mutated(setField(1, "mac", QStringLiteral("02-5e-zz-00-00-01")));
    QTest::addRow("duplicate serial") << mutated(
        setField(1, "serial", devices.at(0).toObject().value(QLatin1String("serial"))));
    QTest::addRow("duplicate MAC") << mutated(setField(2, "mac", devices.at(0).toObject().value(QLatin1String("mac"))));
    QTest::addRow("serial too long") << mutated(setField(0, "serial", QString(48, QLatin1Char('S'))));
    QTest::addRow("foreign public key") << mutated(
        setField(0, "publicKey", devices.at(1).toObject().value(QLatin1String("publicKey"))));
    QTest::addRow("activated without hash") << mutated(setField(0, "passwordHash", QString()));
    QTest::addRow("port out of range") << mutated(setField(0, "port", 70000));
    QTest::addRow("prefix length 200") << mutated(setField(0, "ipv6PrefixLength", 200));
    QTest::addRow("bad IPv4") << mutated(setField(3, "ipv4", QStringLiteral("198.51.100")));
    QTest::addRow("certificate of 2 bytes") << mutated(setField(0, "certificate", QStringLiteral("abcd")));
    QTest::addRow("missing signing key") << mutated(setField(1, "signingSeed", QJsonValue(QJsonValue::Undefined)));
    QTest::addRow("missing restore secret") << mutated(setField(2, "restoreSecret", QJsonValue(QJsonValue::Undefined)));
}

void tst_DevSim::corruptStateFileRefused()
{
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(QStringLiteral("corrupt-%1.json").arg(QTest::currentDataTag()));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }
    SimulatorProcess sim;
    QVERIFY(!sim.start({QStringLiteral("--state"), path}));
    QVERIFY(sim.waitForExit());
    QCOMPARE(sim.process().exitStatus(), QProcess::NormalExit);
    QVERIFY(sim.process().exitCode() != 0);
    QVERIFY2(sim.standardError().contains(path), qPrintable(sim.standardError()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void tst_DevSim::oldStateFileUpgraded()
{
    // A file as the simulator wrote it before devices had signing keys and certificates.
    QJsonObject root = QJsonDocument::fromJson(m_validState).object();
    QJsonArray devices = root.value(QLatin1String("devices")).toArray();
    for (qsizetype i = 0; i < devices.size(); ++i) {
        QJsonObject d = devices.at(i).toObject();
        d.remove(QLatin1String("signingSeed"));
        d.remove(QLatin1String("certificate"));
        devices.replace(i, d);
    }
    root.insert(QStringLiteral("devices"), devices);
    root.insert(QStringLiteral("version"), 1);
    const QString path = m_dir.filePath(QStringLiteral("old.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QJsonDocument(root).toJson());
    file.close();

    const auto ca = testKey("maker-device-ca.pub");
    std::array<std::uint8_t, 32> signingKey{};
    {
        Sim sim;
        QVERIFY(sim.start({QStringLiteral("--state"), path}, 4));
        for (const vxdp::Announce &a : sim.devices) {
            QVERIFY(vxdp::certificateValid(ca, a));
            QVERIFY(vxdp::announceSignatureValid(a.signingKey, a));
        }
        signingKey = sim.devices.at(0).signingKey;
        // Written back in the current form at once.
        QCOMPARE(readState(path).value(QLatin1String("version")).toInt(), 2);
    }
    // The device keeps the identity it was given.
    Sim again;
    QVERIFY(again.start({QStringLiteral("--state"), path}, 4));
    const auto same = std::find_if(again.devices.begin(), again.devices.end(),
                                   [&signingKey](const vxdp::Announce &a) { return a.signingKey == signingKey; });
    QVERIFY(same != again.devices.end());
    QVERIFY(vxdp::certificateValid(ca, *same));
}

void tst_DevSim::announcementsSignedAndCertified()
{
    const auto ca = testKey("maker-device-ca.pub");
    const vxdp::Announce &first = m_shared.devices.at(0);
    for (const vxdp::Announce &a : m_shared.devices) {
        QVERIFY(vxdp::certificateValid(ca, a));
        QVERIFY(vxdp::announceSignatureValid(a.signingKey, a));
    }
    // An unchanged answer repeats the same numbers and signature.
    const auto again = m_shared.client->inquire(m_shared.devices.size());
    const auto it = std::find_if(again.begin(), again.end(),
                                 [&first](const vxdp::Announce &a) { return a.device.serial == first.device.serial; });
    QVERIFY(it != again.end());
    QCOMPARE(it->sequence, first.sequence);
    QVERIFY(it->signature == first.signature);
    // A signed challenge of the device's own key, bound to the transaction.
    const std::uint32_t txid = SimClient::newTxid();
    vxdp::Request ask;
    ask.target = SimClient::serialTarget(first.device.serial);
    m_shared.client->send(vxdp::encodeRequest(vxdp::MsgType::ChallengeRequest, txid, ask));
    const auto challenge = m_shared.client->waitFor(
        [txid](const vxdp::Message &m) { return m.header.type == vxdp::MsgType::Challenge && m.header.txid == txid; });
    QVERIFY(challenge);
    QVERIFY(challenge->challenge.publicKey == first.publicKey);
    QVERIFY(vxdp::challengeSignatureValid(first.signingKey, txid, challenge->challenge));
    QVERIFY(!vxdp::challengeSignatureValid(first.signingKey, txid + 1, challenge->challenge));
}

void tst_DevSim::malformedDatagramsIgnored_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<quint32>("txid");
    const quint32 txid = 0x5eed0001;
    const vxdp::Request request = requestFor(m_shared.devices.at(0).device.serial);
    const QByteArray valid = toBytes(vxdp::encodeRequest(vxdp::MsgType::ChallengeRequest, txid, request));
    auto patched = [&valid](int offset, char value) {
        QByteArray d = valid;
        d[offset] = value;
        return d;
    };
    auto withBody = [](QByteArray d) {
        const auto body = quint16(d.size() - 12);
        d[6] = char(body & 0xff);
        d[7] = char(body >> 8);
        return d;
    };
    QByteArray oversized = withBody(toBytes(vxdp::encodeInquiry(txid)) + QByteArray(1461, 'x'));
    QByteArray nul = valid;
    nul[14] = '\0'; // inside the serial number
    vxdp::Request shortBox = request;
    shortBox.sealed.assign(20, 0xab);

    QTest::addRow("empty") << QByteArray() << txid;
    QTest::addRow("shorter than the header") << valid.left(11) << txid;
    QTest::addRow("bad magic") << patched(0, 'X') << txid;
    QTest::addRow("version 2") << patched(4, 2) << txid;
    QTest::addRow("length too large") << patched(6, char(valid[6] + 1)) << txid;
    QTest::addRow("unknown type") << patched(5, 0x7f) << txid;
    QTest::addRow("truncated body") << withBody(valid.left(valid.size() - 3)) << txid;
    QTest::addRow("trailing byte") << withBody(valid + 'x') << txid;
    QTest::addRow("oversized") << oversized << txid;
    QTest::addRow("unknown target kind") << patched(12, 3) << txid;
    QTest::addRow("NUL in serial") << nul << txid;
    QTest::addRow("sealed box too short")
        << toBytes(vxdp::encodeRequest(vxdp::MsgType::Activate, txid, shortBox)) << txid;
    QTest::addRow("answer sent to a device") << toBytes(vxdp::encodeResult(txid, vxdp::Result{})) << txid;
}

void tst_DevSim::malformedDatagramsIgnored()
{
    QFETCH(QByteArray, datagram);
    QFETCH(quint32, txid);
    SimClient &client = *m_shared.client;
    client.sendRaw(datagram);
    // The simulator goes on answering, and never answers the bad datagram.
    QVERIFY(client.challenge(SimClient::serialTarget(m_shared.devices.at(0).device.serial)));
    QVERIFY(!client.waitFor([txid](const vxdp::Message &m) { return m.header.txid == txid; }, 100));
    QCOMPARE(m_shared.process.process().state(), QProcess::Running);
}

void tst_DevSim::malformedDatagramsCounted()
{
    Sim sim;
    QVERIFY(sim.start(args(2, 1, {QStringLiteral("--verbose")}), 2));
    QByteArray badMagic = toBytes(vxdp::encodeInquiry(1));
    badMagic[0] = 'Y';
    sim.client->sendRaw(badMagic);
    sim.client->sendRaw(QByteArray("VXDP"));
    sim.client->sendRaw(QByteArray("VXDP"));
    QCOMPARE(sim.client->inquire(2).size(), std::size_t(2));
    QCOMPARE(sim.process.command(QStringLiteral("quit")), QStringList{QStringLiteral("ok")});
    QVERIFY(sim.process.waitForExit());
    const QString err = sim.process.standardError();
    QVERIFY2(err.contains(QLatin1String("dropped bad magic 1")), qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("dropped too short 2")), qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("inquiries 2")), qPrintable(err));
}

void tst_DevSim::retransmissionAnsweredFromCache()
{
    Sim sim;
    QVERIFY(sim.start(args(6, 3), 6));
    const vxdp::Announce *fresh = findKind(sim.devices, {NotActivated});
    QVERIFY(fresh);
    const std::string serial = fresh->device.serial;
    const std::uint32_t txid = SimClient::newTxid();
    const auto datagram
        = sim.client->sealedRequest(vxdp::MsgType::Activate, requestFor(serial), withPassword("First1234"), txid);
    QVERIFY(datagram);

    sim.client->send(*datagram);
    auto result = sim.client->resultFor(txid);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
    QVERIFY(sim.client->waitForAnnounce(vxdp::AnnounceReason::Changed, serial));

    // The answer was lost, say: the identical retransmission gets the same answer and changes nothing.
    sim.client->send(*datagram);
    result = sim.client->resultFor(txid);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
    QVERIFY(!sim.client->waitForAnnounce(vxdp::AnnounceReason::Changed, serial, 200));

    // The same sealed box under another transaction id is a replay.
    const auto decoded = vxdp::decode(datagram->data(), datagram->size());
    QVERIFY(decoded);
    const std::uint32_t replayTxid = txid + 2;
    sim.client->send(vxdp::encodeRequest(vxdp::MsgType::Activate, replayTxid, decoded.message.request));
    result = sim.client->resultFor(replayTxid);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::StaleChallenge);

    // The first activation took: its password works.
    vxdp::NetParams net;
    net.port = 8001;
    result = sim.client->sealed(vxdp::MsgType::Modify, modifyRequest(fresh->device, net), withPassword("First1234"));
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
}

enum Tamper { NoTamper, OtherTarget, OtherType, UnknownNonce, GarbageBox, OtherKey, EmptyPassword };

void tst_DevSim::sealedRequestChecks_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("activated");
    QTest::addColumn<int>("tamper");
    QTest::addColumn<vxdp::Status>("expected");
    const int activate = int(vxdp::MsgType::Activate);
    const int modify = int(vxdp::MsgType::Modify);
    QTest::addRow("activate a fresh device") << activate << false << int(NoTamper) << vxdp::Status::Ok;
    QTest::addRow("activate an activated device") << activate << true << int(NoTamper) << vxdp::Status::AlreadyActive;
    QTest::addRow("modify a fresh device") << modify << false << int(NoTamper) << vxdp::Status::NotActivated;
    QTest::addRow("box bound to another device") << activate << false << int(OtherTarget) << vxdp::Status::BadRequest;
    QTest::addRow("box of another request type") << activate << false << int(OtherType) << vxdp::Status::BadRequest;
    QTest::addRow("nonce never issued") << activate << false << int(UnknownNonce) << vxdp::Status::StaleChallenge;
    QTest::addRow("not a sealed box") << activate << false << int(GarbageBox) << vxdp::Status::BadRequest;
    QTest::addRow("sealed to another key") << activate << false << int(OtherKey) << vxdp::Status::BadRequest;
    QTest::addRow("empty password") << activate << false << int(EmptyPassword) << vxdp::Status::BadRequest;
    QTest::addRow("modify with a box bound to other parameters")
        << modify << true << int(OtherTarget) << vxdp::Status::BadRequest;
}

void tst_DevSim::sealedRequestChecks()
{
    QFETCH(int, type);
    QFETCH(bool, activated);
    QFETCH(int, tamper);
    QFETCH(vxdp::Status, expected);
    Sim sim;
    QVERIFY(sim.start(args(6, 4), 6));
    const vxdp::Announce *device = findKind(sim.devices, {activated ? Activated : NotActivated});
    QVERIFY(device);
    const auto msgType = vxdp::MsgType(type);

    vxdp::Request request = requestFor(device->device.serial);
    if (msgType == vxdp::MsgType::Modify)
        request = modifyRequest(device->device, vxdp::NetParams{});
    const auto challenge = sim.client->challenge(request.target);
    QVERIFY(challenge);
    QVERIFY(challenge->publicKey == device->publicKey);

    vxdp::Secret secret = withPassword(tamper == EmptyPassword ? std::string() : kPassword);
    secret.type = tamper == OtherType ? vxdp::MsgType::Restore : msgType;
    secret.nonce = challenge->nonce;
    if (tamper == UnknownNonce)
        secret.nonce[0] ^= 0xff;
    vxdp::Request bound = request;
    if (tamper == OtherTarget && msgType == vxdp::MsgType::Modify)
        bound.net.port = 1234;
    else if (tamper == OtherTarget)
        bound.target.text = sim.devices.at(0).device.serial == request.target.text ? sim.devices.at(1).device.serial
                                                                                   : sim.devices.at(0).device.serial;
    secret.bound = vxdp::hash32(vxdp::boundFields(msgType, bound));
    auto publicKey = challenge->publicKey;
    if (tamper == OtherKey)
        publicKey = vxdp::makeBoxKeyPair().publicKey;
    request.sealed = vxdp::seal(publicKey, vxdp::encodeSecret(secret));
    if (tamper == GarbageBox) {
        request.sealed.assign(request.sealed.size(), 0);
        vxdp::randomBytes(request.sealed.data(), request.sealed.size());
    }

    const std::uint32_t txid = SimClient::newTxid();
    sim.client->send(vxdp::encodeRequest(msgType, txid, request));
    const auto result = sim.client->resultFor(txid);
    QVERIFY(result);
    QCOMPARE(result->status, expected);
}

void tst_DevSim::modify_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<vxdp::NetParams>("net");
    QTest::addColumn<vxdp::Status>("expected");

    vxdp::NetParams ipv4;
    ipv4.ipv4 = {203, 0, 113, 50};
    ipv4.mask = {255, 255, 255, 128};
    ipv4.gateway = {203, 0, 113, 126};
    ipv4.port = 37778;
    ipv4.httpPort = 8088;
    ipv4.flags = vxdp::kNetIpv4;
    vxdp::NetParams dhcp;
    dhcp.dhcp = 1;
    vxdp::NetParams ipv6;
    ipv6.ipv6 = {0x20, 0x01, 0x0d, 0xb8, 0, 0x77, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x42};
    ipv6.ipv6Gateway = {0x20, 0x01, 0x0d, 0xb8, 0, 0x77, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01};
    ipv6.ipv6PrefixLength = 48;
    ipv6.flags = vxdp::kNetIpv6;
    vxdp::NetParams badMask = ipv4;
    badMask.mask = {255, 0, 255, 0};
    vxdp::NetParams loopbackAddress = ipv4;
    loopbackAddress.ipv4 = {127, 0, 0, 5};

    QTest::addRow("static IPv4 and ports") << int(Activated) << ipv4 << vxdp::Status::Ok;
    QTest::addRow("static IPv4 on a DHCP device") << int(DhcpOn) << ipv4 << vxdp::Status::Ok;
    QTest::addRow("DHCP on") << int(DhcpCapable) << dhcp << vxdp::Status::Ok;
    QTest::addRow("DHCP unsupported") << int(NoDhcp) << dhcp << vxdp::Status::Unsupported;
    QTest::addRow("IPv6 modifiable") << int(ModIpv6) << ipv6 << vxdp::Status::Ok;
    QTest::addRow("IPv6 fixed") << int(FixedIpv6) << ipv6 << vxdp::Status::Unsupported;
    QTest::addRow("no IPv6 at all") << int(NoIpv6) << ipv6 << vxdp::Status::Unsupported;
    QTest::addRow("mask with holes") << int(Activated) << badMask << vxdp::Status::BadRequest;
    QTest::addRow("loopback address") << int(Activated) << loopbackAddress << vxdp::Status::BadRequest;
}

void tst_DevSim::modify()
{
    QFETCH(int, kind);
    QFETCH(vxdp::NetParams, net);
    QFETCH(vxdp::Status, expected);
    Sim sim;
    QVERIFY(sim.start(args(32, 5), 32));
    const vxdp::Announce *device = findKind(sim.devices, {Activated, kind});
    QVERIFY(device);
    const vxdp::DeviceDescription before = device->device;

    const auto result = sim.client->sealed(vxdp::MsgType::Modify, modifyRequest(before, net), withPassword(kPassword));
    QVERIFY(result);
    QCOMPARE(result->status, expected);
    const auto changed = sim.client->waitForAnnounce(vxdp::AnnounceReason::Changed, before.serial,
                                                     expected == vxdp::Status::Ok ? 3000 : 200);
    QCOMPARE(bool(changed), expected == vxdp::Status::Ok);
    if (!changed)
        return;
    const vxdp::DeviceDescription &after = changed->device;
    if (net.dhcp) {
        QCOMPARE(after.dhcp, 1);
        QVERIFY(after.ipv4[0] == 198 && after.ipv4[1] == 51 && after.ipv4[2] == 100);
    } else {
        QCOMPARE(after.dhcp, 0);
    }
    if ((net.flags & vxdp::kNetIpv4) && !net.dhcp) {
        QVERIFY(after.ipv4 == net.ipv4 && after.mask == net.mask && after.gateway == net.gateway);
    }
    if (net.flags & vxdp::kNetIpv6Address) {
        QVERIFY(after.ipv6 == net.ipv6);
        QCOMPARE(after.ipv6PrefixLength, net.ipv6PrefixLength);
        QCOMPARE(after.extendedValid, 1);
    } else {
        QVERIFY(after.ipv6 == before.ipv6);
    }
    if (net.flags & vxdp::kNetIpv6Gateway)
        QVERIFY(after.ipv6Gateway == net.ipv6Gateway);
    QCOMPARE(after.port, net.port ? net.port : before.port);
    QCOMPARE(after.httpPort, net.httpPort ? net.httpPort : before.httpPort);
    QCOMPARE(after.serial, before.serial);
    QVERIFY(after.mac == before.mac);

    // A later inquiry reports the new parameters too.
    const auto now = sim.client->inquire(32);
    const auto it = std::find_if(now.begin(), now.end(),
                                 [&](const vxdp::Announce &a) { return a.device.serial == before.serial; });
    QVERIFY(it != now.end());
    QVERIFY(it->device == after);
}

void tst_DevSim::ownIpv6IsNoChange_data()
{
    QTest::addColumn<bool>("ownAddress");
    QTest::addColumn<bool>("ownGateway");
    QTest::addColumn<int>("prefixDelta");
    QTest::addColumn<vxdp::Status>("expected");

    QTest::addRow("own address and gateway with the IPv4 change") << true << true << 0 << vxdp::Status::Ok;
    QTest::addRow("own gateway only") << false << true << 0 << vxdp::Status::Ok;
    QTest::addRow("own address, other prefix length") << true << false << 1 << vxdp::Status::Unsupported;
}

void tst_DevSim::ownIpv6IsNoChange()
{
    QFETCH(bool, ownAddress);
    QFETCH(bool, ownGateway);
    QFETCH(int, prefixDelta);
    QFETCH(vxdp::Status, expected);
    Sim sim;
    QVERIFY(sim.start(args(32, 5), 32));
    // A device that reports IPv6 but cannot change it gets its own values back with an IPv4 change.
    const vxdp::Announce *device = findKind(sim.devices, {Activated, FixedIpv6});
    QVERIFY(device);
    const vxdp::DeviceDescription before = device->device;
    vxdp::NetParams net;
    net.ipv4 = {203, 0, 113, 61};
    net.mask = {255, 255, 255, 0};
    net.gateway = {203, 0, 113, 1};
    net.flags = vxdp::kNetIpv4;
    if (ownAddress) {
        net.ipv6 = before.ipv6;
        net.ipv6PrefixLength = std::uint8_t(before.ipv6PrefixLength + prefixDelta);
        net.flags |= vxdp::kNetIpv6Address;
    }
    if (ownGateway) {
        net.ipv6Gateway = before.ipv6Gateway;
        net.flags |= vxdp::kNetIpv6Gateway;
    }

    const auto result = sim.client->sealed(vxdp::MsgType::Modify, modifyRequest(before, net), withPassword(kPassword));
    QVERIFY(result);
    QCOMPARE(result->status, expected);
    const auto changed = sim.client->waitForAnnounce(vxdp::AnnounceReason::Changed, before.serial,
                                                     expected == vxdp::Status::Ok ? 3000 : 200);
    QCOMPARE(bool(changed), expected == vxdp::Status::Ok);
    if (changed) {
        QVERIFY(changed->device.ipv4 == net.ipv4);
        QVERIFY(changed->device.ipv6 == before.ipv6);
        QCOMPARE(changed->device.ipv6PrefixLength, before.ipv6PrefixLength);
        QVERIFY(changed->device.ipv6Gateway == before.ipv6Gateway);
    }
}

void tst_DevSim::lockoutAfterFiveRefusals()
{
    Sim sim;
    QVERIFY(sim.start(args(6, 6, {QStringLiteral("--lockout-seconds"), QStringLiteral("2")}), 6));
    const vxdp::Announce *device = findKind(sim.devices, {Activated, KeyReset});
    QVERIFY(device);
    const auto request = modifyRequest(device->device, vxdp::NetParams{});
    auto attempt = [&](SimClient &client, const std::string &password, vxdp::Status expected) {
        const auto result = client.sealed(vxdp::MsgType::Modify, request, withPassword(password));
        return result && result->status == expected;
    };
    SimClient &guesser = *sim.client;
    // Four refusals and a success: the count starts again.
    for (int i = 0; i < 4; ++i)
        QVERIFY(attempt(guesser, "wrong", vxdp::Status::Deny));
    QVERIFY(attempt(guesser, kPassword, vxdp::Status::Ok));
    for (int i = 0; i < 5; ++i)
        QVERIFY(attempt(guesser, "wrong", vxdp::Status::Deny));
    // That sender is locked out, even with the right password; a bad reset key gets no answer but that.
    QVERIFY(attempt(guesser, kPassword, vxdp::Status::Locked));
    auto result
        = guesser.sealed(vxdp::MsgType::Reset, requestFor(device->device.serial), withMaterial(1, "RK1.x", "New12345"));
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Locked);
    // Another sender address is not.
    SimClient other(sim.process.port(), QHostAddress(QStringLiteral("127.0.0.2")));
    QVERIFY(attempt(other, kPassword, vxdp::Status::Ok));

    // Guessing on after the lockout: the next one lasts twice as long.
    QTest::qWait(2100);
    for (int i = 0; i < 5; ++i)
        QVERIFY(attempt(guesser, "wrong", vxdp::Status::Deny));
    QTest::qWait(2100);
    QVERIFY(attempt(guesser, kPassword, vxdp::Status::Locked));
    // The maker's security code cannot be guessed: it is honoured while the sender is locked out.
    result = guesser.sealed(vxdp::MsgType::Restore, requestFor(device->device.serial),
                            withMaterial(0, todaysCode(device->device.serial)));
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
    QVERIFY(attempt(guesser, "70639", vxdp::Status::Ok));
}

void tst_DevSim::lockoutEndsWithTime()
{
    Sim sim;
    QVERIFY(sim.start(args(6, 6, {QStringLiteral("--lockout-seconds"), QStringLiteral("1")}), 6));
    const vxdp::Announce *device = findKind(sim.devices, {Activated});
    QVERIFY(device);
    const auto request = modifyRequest(device->device, vxdp::NetParams{});
    for (int i = 0; i < 5; ++i) {
        const auto result = sim.client->sealed(vxdp::MsgType::Modify, request, withPassword("wrong"));
        QVERIFY(result && result->status == vxdp::Status::Deny);
    }
    QTest::qWait(1100);
    const auto result = sim.client->sealed(vxdp::MsgType::Modify, request, withPassword(kPassword));
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
}

void tst_DevSim::getKey_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("command");
    QTest::addColumn<vxdp::Status>("expected");
    QTest::addRow("older key") << int(OldKeyFormatWithReset) << 1 << vxdp::Status::Ok;
    QTest::addRow("older key of a newer device") << int(NewKeyFormat) << 1 << vxdp::Status::Ok;
    QTest::addRow("newer key") << int(NewKeyFormat) << 2 << vxdp::Status::Ok;
    QTest::addRow("newer key of an older device") << int(OldKeyFormatWithReset) << 2 << vxdp::Status::Unsupported;
    QTest::addRow("no key reset") << int(NoKeyReset) << 1 << vxdp::Status::Unsupported;
    QTest::addRow("unknown command") << int(KeyReset) << 3 << vxdp::Status::BadRequest;
}

void tst_DevSim::getKey()
{
    QFETCH(int, kind);
    QFETCH(int, command);
    QFETCH(vxdp::Status, expected);
    const vxdp::Announce *device = findKind(m_shared.devices, {kind});
    QVERIFY(device);
    vxdp::Request request = requestFor(device->device.serial);
    request.command = std::uint8_t(command);
    const auto result = m_shared.client->call(vxdp::MsgType::GetKey, request);
    QVERIFY(result);
    QCOMPARE(result->status, expected);
    if (expected != vxdp::Status::Ok) {
        QVERIFY(result->keyMaterial.empty());
        return;
    }
    const auto material = vxdp::parseKeyMaterial(result->keyMaterial);
    QVERIFY2(material, result->keyMaterial.c_str());
    QCOMPARE(material->scheme, command);
    QCOMPARE(material->serial, device->device.serial);
}

void tst_DevSim::keyRepeatsUntilRestart()
{
    Sim sim;
    QVERIFY(sim.start(args(6, 8), 6));
    const vxdp::Announce *device = findKind(sim.devices, {KeyReset});
    QVERIFY(device);
    vxdp::Request request = requestFor(device->device.serial);
    request.command = 1;
    const auto first = sim.client->call(vxdp::MsgType::GetKey, request);
    const auto second = sim.client->call(vxdp::MsgType::GetKey, request);
    QVERIFY(first && second);
    QCOMPARE(second->keyMaterial, first->keyMaterial);

    QCOMPARE(sim.process.command(QStringLiteral("restart %1").arg(QString::fromStdString(device->device.serial))),
             QStringList{QStringLiteral("ok")});
    const auto hello = sim.client->waitForAnnounce(vxdp::AnnounceReason::Hello, device->device.serial);
    QVERIFY(hello);
    QVERIFY(hello->boot != device->boot);
    const auto third = sim.client->call(vxdp::MsgType::GetKey, request);
    QVERIFY(third);
    QVERIFY(third->keyMaterial != first->keyMaterial);
}

void tst_DevSim::consoleCommands()
{
    Sim sim;
    QVERIFY(sim.start(args(6, 9), 6));
    SimClient &client = *sim.client;
    const std::string serial = sim.devices.at(0).device.serial;
    const QString s = QString::fromStdString(serial);

    const QStringList list = sim.process.command(QStringLiteral("list"));
    QCOMPARE(list.size(), 7);
    QCOMPARE(list.last(), QStringLiteral("ok"));
    const QRegularExpression line(
        QStringLiteral("^(\\S+) [0-9a-f]{2}(-[0-9a-f]{2}){5} \\d+\\.\\d+\\.\\d+\\.\\d+ ([01])$"));
    for (const vxdp::Announce &a : sim.devices) {
        const auto it = std::find_if(list.begin(), list.end(), [&](const QString &l) {
            return l.startsWith(QString::fromStdString(a.device.serial) + QLatin1Char(' '));
        });
        QVERIFY(it != list.end());
        const auto match = line.match(*it);
        QVERIFY2(match.hasMatch(), qPrintable(*it));
        QCOMPARE(match.captured(3).toInt(), a.device.inactive ? 0 : 1);
    }

    QCOMPARE(sim.process.command(QStringLiteral("stop ") + s), QStringList{QStringLiteral("ok")});
    QVERIFY(client.waitForAnnounce(vxdp::AnnounceReason::Goodbye, serial));
    QCOMPARE(client.inquire(6, 500).size(), std::size_t(5));
    QVERIFY(!client.challenge(SimClient::serialTarget(serial), 200));
    QVERIFY(sim.process.command(QStringLiteral("stop ") + s).value(0).startsWith(QLatin1String("error ")));

    QCOMPARE(sim.process.command(QStringLiteral("start ") + s), QStringList{QStringLiteral("ok")});
    auto hello = client.waitForAnnounce(vxdp::AnnounceReason::Hello, serial);
    QVERIFY(hello);
    QCOMPARE(hello->boot, sim.devices.at(0).boot);
    QVERIFY(client.challenge(SimClient::serialTarget(serial)));

    QCOMPARE(sim.process.command(QStringLiteral("restart ") + s), QStringList{QStringLiteral("ok")});
    hello = client.waitForAnnounce(vxdp::AnnounceReason::Hello, serial);
    QVERIFY(hello);
    QVERIFY(hello->boot != sim.devices.at(0).boot);

    const std::string other = sim.devices.at(1).device.serial;
    QCOMPARE(sim.process.command(QStringLiteral("vanish ") + QString::fromStdString(other)),
             QStringList{QStringLiteral("ok")});
    QVERIFY(!client.waitForAnnounce(vxdp::AnnounceReason::Goodbye, other, 200));
    const auto answers = client.inquire(6, 500);
    QCOMPARE(answers.size(), std::size_t(5));
    QVERIFY(std::none_of(answers.begin(), answers.end(),
                         [&](const vxdp::Announce &a) { return a.device.serial == other; }));

    QCOMPARE(sim.process.command(QStringLiteral("set %1 ipv4 203.0.113.77").arg(s)), QStringList{QStringLiteral("ok")});
    const auto changed = client.waitForAnnounce(vxdp::AnnounceReason::Changed, serial);
    QVERIFY(changed);
    QVERIFY((changed->device.ipv4 == std::array<std::uint8_t, 4>{203, 0, 113, 77}));

    QCOMPARE(sim.process.command(QStringLiteral("lock ") + s), QStringList{QStringLiteral("ok")});
    const auto locked = client.sealed(vxdp::MsgType::Modify, modifyRequest(changed->device, vxdp::NetParams{}),
                                      withPassword(kPassword));
    QVERIFY(locked);
    QCOMPARE(locked->status, vxdp::Status::Locked);

    for (const QString &bad :
         {QStringLiteral("jump"), QStringLiteral("stop"), QStringLiteral("stop NO-SUCH-SERIAL"),
          QStringLiteral("set %1 colour red").arg(s), QStringLiteral("set %1 ipv4 1.2.3").arg(s)}) {
        const QStringList reply = sim.process.command(bad);
        QCOMPARE(reply.size(), 1);
        QVERIFY2(reply.first().startsWith(QLatin1String("error ")), qPrintable(bad));
    }
}

void tst_DevSim::endOfInputQuits()
{
    Sim sim;
    QVERIFY(sim.start(args(5, 10), 5));
    sim.process.process().closeWriteChannel();
    QSet<QByteArray> gone;
    while (gone.size() < 5) {
        const auto message = sim.client->waitFor([](const vxdp::Message &m) {
            return m.header.type == vxdp::MsgType::Announce && m.announce.reason == vxdp::AnnounceReason::Goodbye;
        });
        QVERIFY(message);
        gone.insert(QByteArray::fromStdString(message->announce.device.serial));
    }
    QVERIFY(sim.process.waitForExit());
    QCOMPARE(sim.process.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.process().exitCode(), 0);
}

void tst_DevSim::noStdinRunsUntilSignal()
{
    Sim sim;
    QVERIFY(sim.start(args(3, 10, {QStringLiteral("--no-stdin")}), 3));
    sim.process.process().closeWriteChannel();
    QTest::qWait(200);
    QCOMPARE(sim.client->inquire(3).size(), std::size_t(3));
    sim.process.process().terminate();
    for (int i = 0; i < 3; ++i) {
        QVERIFY(sim.client->waitFor([](const vxdp::Message &m) {
            return m.header.type == vxdp::MsgType::Announce && m.announce.reason == vxdp::AnnounceReason::Goodbye;
        }));
    }
    QVERIFY(sim.process.waitForExit());
    QCOMPARE(sim.process.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(sim.process.process().exitCode(), 0);
}

void tst_DevSim::silentDevice()
{
    const std::string serial = m_shared.devices.at(5).device.serial;
    Sim sim;
    QVERIFY(!sim.start(args(64, 7, {QStringLiteral("--silent"), QString::fromStdString(serial)}), 64));
    QCOMPARE(sim.devices.size(), std::size_t(63));
    QVERIFY(std::none_of(sim.devices.begin(), sim.devices.end(),
                         [&](const vxdp::Announce &a) { return a.device.serial == serial; }));
    QVERIFY(!sim.client->challenge(SimClient::serialTarget(serial), 300));
    QVERIFY(sim.client->challenge(SimClient::serialTarget(m_shared.devices.at(6).device.serial)));
}

void tst_DevSim::loss()
{
    SimulatorProcess sim;
    QVERIFY(sim.start(args(4, 12, {QStringLiteral("--loss"), QStringLiteral("100")})));
    const QStringList list = sim.command(QStringLiteral("list"));
    QCOMPARE(list.size(), 5);
    const std::string serial = list.first().section(QLatin1Char(' '), 0, 0).toStdString();
    SimClient deaf(sim.port());
    QVERIFY(deaf.inquire(4, 300).empty());
    QVERIFY(!deaf.challenge(SimClient::serialTarget(serial), 100));
}

QTEST_GUILESS_MAIN(tst_DevSim)

#include "tst_devsim.moc"

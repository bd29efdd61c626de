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
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

Q_DECLARE_METATYPE(vxdp::Status)

namespace {

const std::string kPassword = "Admin12345";

struct ToolRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun keyservice(const QStringList &arguments)
{
    QProcess process;
    process.start(SimulatorProcess::toolPath(QStringLiteral("vexo-keyservice")), arguments);
    ToolRun run;
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString date(int daysFromToday)
{
    return QDate::currentDate().addDays(daysFromToday).toString(QStringLiteral("yyyyMMdd"));
}

vxdp::Request requestFor(const std::string &serial)
{
    vxdp::Request r;
    r.target = SimClient::serialTarget(serial);
    return r;
}

enum KeySource { KeyText, KeyFile, OlderQr, NewerQr, ResetFile };

} // namespace

class tst_KeyService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void resetRoundTrip_data();
    void resetRoundTrip();
    void resetRefused_data();
    void resetRefused();
    void restore_data();
    void restore();
    void outputMatchesMakerSecrets();
    void certificateIssued();
    void badInput_data();
    void badInput();

private:
    const vxdp::Announce *device(bool keyReset, bool newFormat, int skip = 0) const;
    std::optional<std::string> keyOf(const vxdp::Announce &device, int command);
    std::optional<vxdp::Result> modifyWith(const vxdp::Announce &device, const std::string &password);

    QTemporaryDir m_dir;
    std::unique_ptr<SimulatorProcess> m_sim;
    std::unique_ptr<SimClient> m_client;
    std::vector<vxdp::Announce> m_devices;
};

void tst_KeyService::initTestCase()
{
    QVERIFY(vxdp::cryptoInit());
    QVERIFY(m_dir.isValid());
    QVERIFY(QFile::exists(SimulatorProcess::toolPath(QStringLiteral("vexo-keyservice"))));
}

void tst_KeyService::init()
{
    // Every case gets fresh devices: resets and restores change passwords and lockout counts.
    m_client.reset();
    m_sim = std::make_unique<SimulatorProcess>();
    QVERIFY(m_sim->start(
        {QStringLiteral("--count"), QStringLiteral("24"), QStringLiteral("--seed"), QStringLiteral("17")}));
    m_client = std::make_unique<SimClient>(m_sim->port());
    m_devices = m_client->inquire(24);
    QCOMPARE(m_devices.size(), std::size_t(24));
}

const vxdp::Announce *tst_KeyService::device(bool keyReset, bool newFormat, int skip) const
{
    for (const vxdp::Announce &a : m_devices) {
        const bool reset = a.device.capabilities & VEXO_CAP_KEY_RESET;
        const bool newer = a.device.keyFormat & VEXO_KEYFMT_NEW;
        if (!a.device.inactive && reset == keyReset && (!keyReset || newer == newFormat) && skip-- == 0)
            return &a;
    }
    return nullptr;
}

std::optional<std::string> tst_KeyService::keyOf(const vxdp::Announce &device, int command)
{
    vxdp::Request request = requestFor(device.device.serial);
    request.command = std::uint8_t(command);
    const auto result = m_client->call(vxdp::MsgType::GetKey, request);
    if (!result || result->status != vxdp::Status::Ok)
        return std::nullopt;
    return result->keyMaterial;
}

std::optional<vxdp::Result> tst_KeyService::modifyWith(const vxdp::Announce &device, const std::string &password)
{
    vxdp::Request request;
    request.target = vxdp::Target{vxdp::TargetKind::Mac, vxdp::macToText(device.device.mac)};
    vxdp::Secret secret;
    secret.password = password;
    return m_client->sealed(vxdp::MsgType::Modify, request, secret);
}

void tst_KeyService::resetRoundTrip_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<int>("command");
    QTest::addRow("typed key, older scheme") << int(KeyText) << false << 1;
    QTest::addRow("key file, older scheme") << int(KeyFile) << false << 1;
    QTest::addRow("key file, newer scheme") << int(KeyFile) << true << 2;
    QTest::addRow("QR text B:, older scheme") << int(OlderQr) << false << 1;
    QTest::addRow("QR text B:, newer device asked for the older key") << int(OlderQr) << true << 1;
    QTest::addRow("QR text, newer scheme") << int(NewerQr) << true << 2;
    QTest::addRow("reset file, older scheme") << int(ResetFile) << false << 1;
    QTest::addRow("reset file, newer scheme") << int(ResetFile) << true << 2;
}

void tst_KeyService::resetRoundTrip()
{
    QFETCH(int, source);
    QFETCH(bool, newFormat);
    QFETCH(int, command);
    const vxdp::Announce *target = device(true, newFormat);
    QVERIFY(target);
    const auto key = keyOf(*target, command);
    QVERIFY(key);

    const std::string type = target->device.typeText;
    QStringList arguments{QStringLiteral("reset")};
    const QString keyPath = m_dir.filePath(QStringLiteral("device.key"));
    const QString resetPath = m_dir.filePath(QStringLiteral("reset.xml"));
    QFile::remove(resetPath);
    switch (source) {
    case KeyText:
        arguments << QStringLiteral("--key") << QString::fromStdString(*key);
        break;
    case KeyFile:
    case ResetFile: {
        QFile file(keyPath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(key->data(), qint64(key->size()));
        file.close();
        arguments << QStringLiteral("--key-file") << keyPath;
        if (source == ResetFile)
            arguments << QStringLiteral("--out-file") << resetPath;
        break;
    }
    case OlderQr:
        arguments << QStringLiteral("--qr") << QString::fromStdString("B:" + type + "**" + *key);
        break;
    case NewerQr:
        arguments << QStringLiteral("--qr") << QString::fromStdString(type + "**" + *key);
        break;
    }
    const ToolRun run = keyservice(arguments);
    QVERIFY2(run.exitCode == 0, run.err.constData());

    vxdp::Secret secret;
    secret.password = "Reset2026";
    if (source == ResetFile) {
        QVERIFY(run.out.isEmpty());
        QFile file(resetPath);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray xml = file.readAll();
        const auto parsed = vxdp::parseResetFile(xml.toStdString());
        QVERIFY(parsed);
        QCOMPARE(parsed->serial, target->device.serial);
        secret.materialKind = std::uint8_t(vxdp::MaterialKind::File);
        secret.material = xml.toStdString();
    } else {
        const auto resetKey = vxdp::parseResetKey(run.out.trimmed().toStdString());
        QVERIFY2(resetKey, run.out.constData());
        QCOMPARE(resetKey->scheme, command);
        secret.materialKind = std::uint8_t(vxdp::MaterialKind::Key);
        secret.material = run.out.trimmed().toStdString();
    }

    auto result = m_client->sealed(vxdp::MsgType::Reset, requestFor(target->device.serial), secret);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
    result = modifyWith(*target, "Reset2026");
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
    result = modifyWith(*target, kPassword);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Deny);

    // One key, one reset.
    secret.password = "Again2026";
    result = m_client->sealed(vxdp::MsgType::Reset, requestFor(target->device.serial), secret);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Deny);
}

enum Misuse { OtherDevicesKey, TamperedSignature, FileForOtherSerial, KeyFromBeforeRestart, NewerSchemeOnOlderDevice };

void tst_KeyService::resetRefused_data()
{
    QTest::addColumn<int>("misuse");
    QTest::addRow("key of another device") << int(OtherDevicesKey);
    QTest::addRow("tampered signature") << int(TamperedSignature);
    QTest::addRow("reset file of another serial") << int(FileForOtherSerial);
    QTest::addRow("key from before a restart") << int(KeyFromBeforeRestart);
    QTest::addRow("newer scheme on an older device") << int(NewerSchemeOnOlderDevice);
}

void tst_KeyService::resetRefused()
{
    QFETCH(int, misuse);
    const vxdp::Announce *target = device(true, false);
    const vxdp::Announce *other = device(true, false, 1);
    QVERIFY(target && other);
    const auto key = keyOf(*target, 1);
    const auto otherKey = keyOf(*other, 1);
    QVERIFY(key && otherKey);

    std::string signedKey = misuse == OtherDevicesKey ? *otherKey : *key;
    if (misuse == NewerSchemeOnOlderDevice) {
        auto material = vxdp::parseKeyMaterial(*key);
        QVERIFY(material);
        material->scheme = 2;
        signedKey = vxdp::formatKeyMaterial(*material);
    }
    const ToolRun run
        = keyservice({QStringLiteral("reset"), QStringLiteral("--key"), QString::fromStdString(signedKey)});
    QCOMPARE(run.exitCode, 0);
    std::string resetKey = run.out.trimmed().toStdString();
    vxdp::Secret secret;
    secret.password = "Reset2026";
    secret.materialKind = std::uint8_t(vxdp::MaterialKind::Key);
    if (misuse == TamperedSignature)
        resetKey[10] = resetKey[10] == 'A' ? 'B' : 'A';
    secret.material = resetKey;
    if (misuse == FileForOtherSerial) {
        secret.materialKind = std::uint8_t(vxdp::MaterialKind::File);
        secret.material = vxdp::formatResetFile(other->device.serial, resetKey);
    }
    if (misuse == KeyFromBeforeRestart) {
        QCOMPARE(m_sim->command(QStringLiteral("restart ") + QString::fromStdString(target->device.serial)),
                 QStringList{QStringLiteral("ok")});
    }
    const auto result = m_client->sealed(vxdp::MsgType::Reset, requestFor(target->device.serial), secret);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Deny);
    const auto modify = modifyWith(*target, kPassword);
    QVERIFY(modify);
    QCOMPARE(modify->status, vxdp::Status::Ok);
}

void tst_KeyService::restore_data()
{
    QTest::addColumn<bool>("shortened");
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("otherDevice");
    QTest::addColumn<vxdp::Status>("expected");
    QTest::addRow("full serial, today") << false << 0 << false << vxdp::Status::Ok;
    QTest::addRow("shortened serial, today") << true << 0 << false << vxdp::Status::Ok;
    QTest::addRow("yesterday") << false << -1 << false << vxdp::Status::Ok;
    QTest::addRow("tomorrow, shortened") << true << 1 << false << vxdp::Status::Ok;
    QTest::addRow("two days ago") << false << -2 << false << vxdp::Status::Deny;
    QTest::addRow("in two days") << true << 2 << false << vxdp::Status::Deny;
    QTest::addRow("code of another device") << false << 0 << true << vxdp::Status::Deny;
}

void tst_KeyService::restore()
{
    QFETCH(bool, shortened);
    QFETCH(int, day);
    QFETCH(bool, otherDevice);
    QFETCH(vxdp::Status, expected);
    // A device without key reset, activated, of a type whose text prefixes its serial.
    const vxdp::Announce *target = nullptr;
    const vxdp::Announce *other = nullptr;
    for (const vxdp::Announce &a : m_devices) {
        if (!(a.device.capabilities & VEXO_CAP_KEY_RESET) && !a.device.inactive && !target)
            target = &a;
        else if (!other)
            other = &a;
    }
    QVERIFY(target && other);
    const vxdp::DeviceDescription &d = (otherDevice ? other : target)->device;
    const std::string serial = shortened ? vxdp::serialWithoutType(d.serial, d.typeText) : d.serial;
    QVERIFY(serial != d.serial || !shortened);

    const ToolRun run
        = keyservice({QStringLiteral("restore"), QStringLiteral("--qr"),
                      QString::fromStdString("A:" + d.typeText + "**" + serial), QStringLiteral("--date"), date(day)});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    const std::string code = run.out.trimmed().toStdString();
    QCOMPARE(code.size(), std::size_t(16));

    vxdp::Secret secret;
    secret.material = code;
    const auto result = m_client->sealed(vxdp::MsgType::Restore, requestFor(target->device.serial), secret);
    QVERIFY(result);
    QCOMPARE(result->status, expected);
    const auto modify = modifyWith(*target, expected == vxdp::Status::Ok ? "70639" : kPassword);
    QVERIFY(modify);
    QCOMPARE(modify->status, vxdp::Status::Ok);
}

void tst_KeyService::outputMatchesMakerSecrets()
{
    const auto signing = vxdp::signKeyPairFromSeed(testKey("maker-signing.seed"));
    vxdp::KeyMaterial material;
    material.scheme = 2;
    material.serial = "VX-12C320260101AAWR123456789";
    material.nonce = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ToolRun run = keyservice(
        {QStringLiteral("reset"), QStringLiteral("--key"), QString::fromStdString(vxdp::formatKeyMaterial(material))});
    QCOMPARE(run.exitCode, 0);
    const auto resetKey = vxdp::parseResetKey(run.out.trimmed().toStdString());
    QVERIFY(resetKey);
    QCOMPARE(resetKey->scheme, 2);
    QVERIFY(vxdp::verifySignature(signing.publicKey, vxdp::resetMessage(2, material.serial, material.nonce),
                                  resetKey->signature.data(), resetKey->signature.size()));

    run = keyservice({QStringLiteral("restore"), QStringLiteral("--qr"),
                      QStringLiteral("A:VX-12C3**20260101AAWR123456789"), QStringLiteral("--date"),
                      QStringLiteral("20260314")});
    QCOMPARE(run.exitCode, 0);
    const auto secret = vxdp::restoreDeviceSecret(testKey("maker-restore.master"), "20260101AAWR123456789");
    QCOMPARE(run.out.trimmed().toStdString(), vxdp::securityCode(secret, "20260101AAWR123456789", "20260314"));

    // Without --date it is today's code.
    run = keyservice(
        {QStringLiteral("restore"), QStringLiteral("--qr"), QStringLiteral("A:VX-12C3**20260101AAWR123456789")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.trimmed().toStdString(),
             vxdp::securityCode(secret, "20260101AAWR123456789", date(0).toStdString()));
}

void tst_KeyService::certificateIssued()
{
    vxdp::Announce identity;
    identity.device.serial = "VX-12C320260101AAWR123456789";
    identity.device.mac = {0x02, 0x5e, 0x01, 0x02, 0x03, 0x04};
    identity.device.typeCode = 0x9E01;
    identity.publicKey = vxdp::makeBoxKeyPair().publicKey;
    identity.signingKey = vxdp::signKeyPairFromSeed(testKey("maker-signing.seed")).publicKey;
    const ToolRun run = keyservice(
        {QStringLiteral("certify"), QStringLiteral("--serial"), QString::fromStdString(identity.device.serial),
         QStringLiteral("--mac"), QStringLiteral("02-5E-01-02-03-04"), QStringLiteral("--type-code"),
         QStringLiteral("0x9e01"), QStringLiteral("--public-key"),
         QString::fromStdString(vxdp::toHex(identity.publicKey.data(), 32)), QStringLiteral("--signing-key"),
         QString::fromStdString(vxdp::toHex(identity.signingKey.data(), 32))});
    QCOMPARE(run.exitCode, 0);
    const auto certificate = vxdp::fromHex(run.out.trimmed().toStdString());
    QVERIFY(certificate && certificate->size() == 64);
    identity.certificate = *certificate;
    // Made with the test device CA, for exactly that identity.
    QVERIFY(vxdp::certificateValid(testKey("maker-device-ca.pub"), identity));
    identity.device.typeCode = 0x9E02;
    QVERIFY(!vxdp::certificateValid(testKey("maker-device-ca.pub"), identity));
}

void tst_KeyService::badInput_data()
{
    QTest::addColumn<QStringList>("arguments");
    const QString key = QStringLiteral("VK1.VX-C204220260101AAWR123456789.AQIDBAUGBwgJCgsM");
    QTest::addRow("no command") << QStringList{};
    QTest::addRow("unknown command") << QStringList{QStringLiteral("sign")};
    QTest::addRow("reset without key") << QStringList{QStringLiteral("reset")};
    QTest::addRow("reset with two keys") << QStringList{QStringLiteral("reset"), QStringLiteral("--key"), key,
                                                        QStringLiteral("--qr"), QStringLiteral("B:X**") + key};
    QTest::addRow("malformed key") << QStringList{QStringLiteral("reset"), QStringLiteral("--key"),
                                                  QStringLiteral("VK1.nonce-missing")};
    QTest::addRow("QR without separator")
        << QStringList{QStringLiteral("reset"), QStringLiteral("--qr"), QStringLiteral("B:VX-C2042")};
    QTest::addRow("QR prefix of the other scheme")
        << QStringList{QStringLiteral("reset"), QStringLiteral("--qr"), QStringLiteral("VX-C2042**") + key};
    QTest::addRow("missing key file") << QStringList{QStringLiteral("reset"), QStringLiteral("--key-file"),
                                                     QStringLiteral("/nonexistent/device.key")};
    QTest::addRow("restore without QR") << QStringList{QStringLiteral("restore")};
    QTest::addRow("restore QR without A:")
        << QStringList{QStringLiteral("restore"), QStringLiteral("--qr"), QStringLiteral("VX-C2042**SERIAL")};
    QTest::addRow("restore QR without serial")
        << QStringList{QStringLiteral("restore"), QStringLiteral("--qr"), QStringLiteral("A:VX-C2042**")};
    QTest::addRow("impossible date") << QStringList{QStringLiteral("restore"), QStringLiteral("--qr"),
                                                    QStringLiteral("A:VX-C2042**S1"), QStringLiteral("--date"),
                                                    QStringLiteral("20261301")};
    QTest::addRow("date in another format")
        << QStringList{QStringLiteral("restore"), QStringLiteral("--qr"), QStringLiteral("A:VX-C2042**S1"),
                       QStringLiteral("--date"), QStringLiteral("2026-03-01")};
    QTest::addRow("unknown option") << QStringList{QStringLiteral("restore"), QStringLiteral("--colour")};
    const QString hexKey(64, QLatin1Char('a'));
    const QStringList certify{QStringLiteral("certify"),
                              QStringLiteral("--serial"),
                              QStringLiteral("S1"),
                              QStringLiteral("--mac"),
                              QStringLiteral("02-00-00-00-00-01"),
                              QStringLiteral("--type-code"),
                              QStringLiteral("1"),
                              QStringLiteral("--public-key"),
                              hexKey,
                              QStringLiteral("--signing-key")};
    QTest::addRow("certify without signing key") << certify;
    QTest::addRow("certify with a short key") << certify + QStringList{hexKey.left(62)};
    QTest::addRow("certify with a bad MAC")
        << QStringList(certify).replaceInStrings(QStringLiteral("02-00-00-00-00-01"), QStringLiteral("02-00"))
               + QStringList{hexKey};
    QTest::addRow("certify with a type code that is no number")
        << QStringList(certify).replaceInStrings(QRegularExpression(QStringLiteral("^1$")), QStringLiteral("x1"))
               + QStringList{hexKey};
}

void tst_KeyService::badInput()
{
    QFETCH(QStringList, arguments);
    const ToolRun run = keyservice(arguments);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY(run.err.startsWith("vexo-keyservice: "));
}

QTEST_GUILESS_MAIN(tst_KeyService)

#include "tst_keyservice.moc"

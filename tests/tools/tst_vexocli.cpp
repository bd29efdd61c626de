// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// vexo-cli against the simulator on loopback: what it prints and refuses.
#include "simclient.h"
#include "simulatorprocess.h"

#include <algorithm>

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMultiMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QProcessEnvironment cliEnvironment(quint16 port, quint16 wsdPort, const QHash<QString, QString> &extra)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VEXO_PASSWORD"));
    env.remove(QStringLiteral("VEXO_NEW_PASSWORD"));
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback"));
    env.insert(QStringLiteral("VEXO_PORT"), QString::number(port));
    // Pinned certificates go to a folder of the test's own.
    static const QTemporaryDir config;
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (wsdPort != 0)
        env.insert(QStringLiteral("VEXO_WSD_PORT"), QString::number(wsdPort));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        env.insert(it.key(), it.value());
    return env;
}

CliRun cli(quint16 port, const QStringList &arguments, quint16 wsdPort = 0, const QHash<QString, QString> &env = {})
{
    QProcess process;
    process.setProcessEnvironment(cliEnvironment(port, wsdPort, env));
    process.start(SimulatorProcess::toolPath(QStringLiteral("vexo-cli")), arguments);
    CliRun run;
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// vexo-cli on a pseudo-terminal of script(1), the user typing @p typed after the prompt.
CliRun cliOnTerminal(quint16 port, const QStringList &arguments, const QByteArray &typed)
{
    CliRun run;
    const QString script = QStandardPaths::findExecutable(QStringLiteral("script"));
    if (script.isEmpty())
        return run;
    QStringList words{SimulatorProcess::toolPath(QStringLiteral("vexo-cli"))};
    words += arguments;
    for (QString &word : words)
        word = QLatin1Char('\'') + word + QLatin1Char('\'');
    QProcess process;
    process.setProcessEnvironment(cliEnvironment(port, 0, {}));
    process.start(script, {QStringLiteral("-qefc"), words.join(QLatin1Char(' ')), QStringLiteral("/dev/null")});
    // Typed only once asked: the terminal echoes what arrives before the prompt turned echo off.
    QElapsedTimer timer;
    timer.start();
    while (!run.out.contains("Password: ") && timer.elapsed() < 10000 && process.waitForReadyRead(10000))
        run.out += process.readAllStandardOutput();
    process.write(typed);
    if (!process.waitForFinished(20000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out += process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

} // namespace

class tst_VexoCli : public QObject
{
    Q_OBJECT

private slots:
    void failures_data();
    void failures();
    void passwordSources_data();
    void passwordSources();
    void deviceTextsCannotDriveTheTerminal();
    void listMarksUnverifiedDevices();
    void onvifDevicesListedAndReaddressed_data();
    void onvifDevicesListedAndReaddressed();
    void onvifRebootOfAPartlyIdentifiedCamera();
    void listFilter_data();
    void listFilter();
    void httpsCertificatePinnedAcrossRestartsUntilForgotten();
    void snapshot_data();
    void snapshot();

private:
    QTemporaryDir m_dir;
};

void tst_VexoCli::failures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message");
    QTest::addRow("static address on a DHCP device without --dhcp")
        << "dhcp" << 2
        << QByteArray("the device uses DHCP, so a static IPv4 address would not be used; add --dhcp off");
    QTest::addRow("wrong password") << "password" << 1
                                    << QByteArray("modify failed: device refused: wrong password, key or security "
                                                  "code (2009)");
    QTest::addRow("device without a valid certificate")
        << "certificate" << 1 << QByteArray("has no valid maker certificate, so no password is sent to it");
}

void tst_VexoCli::failures()
{
    QFETCH(QString, kind);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    SimulatorProcess sim;
    QVERIFY(
        sim.start({QStringLiteral("--count"), QStringLiteral("14"), QStringLiteral("--seed"), QStringLiteral("3")}));
    SimClient client(sim.port());
    const auto devices = client.inquire(14);
    QCOMPARE(devices.size(), std::size_t(14));
    const bool wantDhcp = kind == QLatin1String("dhcp");
    const auto device = std::find_if(devices.begin(), devices.end(), [wantDhcp](const vxdp::Announce &a) {
        return a.device.inactive == 0 && (a.device.dhcp != 0) == wantDhcp;
    });
    QVERIFY(device != devices.end());
    const QString mac = QString::fromStdString(vxdp::macToText(device->device.mac));
    if (kind == QLatin1String("certificate"))
        QCOMPARE(sim.commandResult(
                     QStringLiteral("set %1 certificate missing").arg(QString::fromStdString(device->device.serial))),
                 QStringLiteral("ok"));
    const QString password
        = kind == QLatin1String("password") ? QStringLiteral("wrong-pass1") : QStringLiteral("Admin12345");
    const CliRun run
        = cli(sim.port(), {QStringLiteral("modify"), mac, password, QStringLiteral("--ipv4"),
                           QStringLiteral("203.0.113.44"), QStringLiteral("--wait"), QStringLiteral("3000")});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), run.err.constData());
}

void tst_VexoCli::passwordSources_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QByteArray>("fileContents");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("message"); // in what it printed; empty: no warning at all
    QTest::addRow("file, its line break dropped") << "file" << QByteArray("Admin12345\n") << 0 << QByteArray();
    QTest::addRow("environment") << "environment" << QByteArray() << 0 << QByteArray();
    QTest::addRow("typed at a terminal, not echoed") << "terminal" << QByteArray() << 0 << QByteArray("Password: ");
    QTest::addRow("argument, with a warning")
        << "argument" << QByteArray() << 0 << QByteArray("can be read by every user of this computer");
    QTest::addRow("empty file refused") << "file" << QByteArray("\n") << 2 << QByteArray("is empty");
    QTest::addRow("unreadable file refused") << "missing file" << QByteArray() << 2 << QByteArray("cannot read");
    QTest::addRow("none, and no terminal to ask at") << "none" << QByteArray() << 2 << QByteArray("no password");
}

void tst_VexoCli::passwordSources()
{
    QFETCH(QString, source);
    QFETCH(QByteArray, fileContents);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, message);
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--seed"), QStringLiteral("3")}));
    const auto devices = SimClient(sim.port()).inquire(4);
    const auto device
        = std::find_if(devices.begin(), devices.end(), [](const vxdp::Announce &a) { return a.device.inactive == 0; });
    QVERIFY(device != devices.end());
    // modify without a change proves the password and nothing else.
    const QStringList modify{QStringLiteral("modify"), QString::fromStdString(vxdp::macToText(device->device.mac)),
                             QStringLiteral("--wait"), QStringLiteral("3000")};
    const QByteArray password("Admin12345");
    const QString file = m_dir.filePath(QStringLiteral("password"));
    QFile::remove(file);
    CliRun run;
    if (source == QLatin1String("file")) {
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly) && out.write(fileContents) == fileContents.size());
        out.close();
        run = cli(sim.port(), modify + QStringList{QStringLiteral("--password-file"), file});
    } else if (source == QLatin1String("missing file")) {
        run = cli(sim.port(), modify + QStringList{QStringLiteral("--password-file"), file});
    } else if (source == QLatin1String("environment")) {
        run = cli(sim.port(), modify, 0, {{QStringLiteral("VEXO_PASSWORD"), QString::fromLatin1(password)}});
    } else if (source == QLatin1String("terminal")) {
        if (QStandardPaths::findExecutable(QStringLiteral("script")).isEmpty())
            QSKIP("script(1) is not installed");
        run = cliOnTerminal(sim.port(), modify, password + '\n');
        QVERIFY2(!run.out.contains(password), run.out.constData());
    } else if (source == QLatin1String("argument")) {
        run = cli(sim.port(), modify + QStringList{QString::fromLatin1(password)});
    } else {
        run = cli(sim.port(), modify);
    }
    QVERIFY2(run.exitCode == exitCode, run.err.constData());
    if (message.isEmpty())
        QVERIFY2(!run.err.contains("warning"), run.err.constData());
    else
        QVERIFY2(run.err.contains(message) || run.out.contains(message), run.err.constData());
}

void tst_VexoCli::deviceTextsCannotDriveTheTerminal()
{
    // A device whose type text carries terminal escapes and a bell.
    const QString path = m_dir.filePath(QStringLiteral("evil.json"));
    {
        SimulatorProcess writer;
        QVERIFY(writer.start({QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--state"), path}));
        QCOMPARE(writer.commandResult(QStringLiteral("quit")), QStringLiteral("ok"));
        QVERIFY(writer.waitForExit());
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonArray devices = root.value(QLatin1String("devices")).toArray();
    QJsonObject evil = devices.at(0).toObject();
    evil.insert(QStringLiteral("typeText"), QStringLiteral("EV\x1b]0;owned\x07IL\x1b[2J"));
    devices.replace(0, evil);
    root.insert(QStringLiteral("devices"), devices);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(root).toJson());
    file.close();

    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--state"), path}));
    const CliRun run = cli(sim.port(), {QStringLiteral("list"), QStringLiteral("--wait"), QStringLiteral("1500")});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.contains("EV\\x1b]0;owned\\x07IL\\x1b[2J"), run.out.constData());
    QVERIFY(!run.out.contains('\x1b'));
    QVERIFY(!run.out.contains('\x07'));
}

void tst_VexoCli::listMarksUnverifiedDevices()
{
    // One device per certificate state; only a valid maker certificate makes a device verified.
    const QStringList states{QStringLiteral("valid"), QStringLiteral("missing"), QStringLiteral("invalid"),
                             QStringLiteral("foreign")};
    SimulatorProcess sim;
    QVERIFY(sim.start(
        {QStringLiteral("--count"), QString::number(states.size()), QStringLiteral("--seed"), QStringLiteral("5")}));
    SimClient client(sim.port());
    const auto devices = client.inquire(std::size_t(states.size()));
    QCOMPARE(devices.size(), std::size_t(states.size()));
    QHash<QString, QString> stateOfSerial;
    for (qsizetype i = 0; i < states.size(); ++i) {
        const QString serial = QString::fromStdString(devices.at(std::size_t(i)).device.serial);
        stateOfSerial.insert(serial, states.at(i));
        QCOMPARE(sim.commandResult(QStringLiteral("set %1 certificate %2").arg(serial, states.at(i))),
                 QStringLiteral("ok"));
    }

    const CliRun json = cli(sim.port(), {QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("--wait"),
                                         QStringLiteral("1500")});
    QCOMPARE(json.exitCode, 0);
    const QJsonArray listed = QJsonDocument::fromJson(json.out).array();
    QCOMPARE(listed.size(), states.size());
    for (const QJsonValue &value : listed) {
        const QJsonObject device = value.toObject();
        const QString state = stateOfSerial.value(device.value(QLatin1String("serialNumber")).toString());
        QVERIFY2(!state.isEmpty(), qPrintable(device.value(QLatin1String("serialNumber")).toString()));
        QVERIFY2(device.value(QLatin1String("verified")).isBool(), qPrintable(state));
        QCOMPARE(device.value(QLatin1String("verified")).toBool(), state == QLatin1String("valid"));
    }

    const CliRun table = cli(sim.port(), {QStringLiteral("list"), QStringLiteral("--wait"), QStringLiteral("1500")});
    QCOMPARE(table.exitCode, 0);
    for (auto it = stateOfSerial.cbegin(); it != stateOfSerial.cend(); ++it) {
        const auto lines = table.out.split('\n');
        const auto line = std::find_if(lines.cbegin(), lines.cend(),
                                       [&it](const QByteArray &l) { return l.contains(it.key().toLatin1()); });
        QVERIFY2(line != lines.cend(), table.out.constData());
        QCOMPARE(line->contains("UNVERIFIED"), it.value() != QLatin1String("valid"));
    }
}

void tst_VexoCli::onvifDevicesListedAndReaddressed_data()
{
    QTest::addColumn<QStringList>("transport"); // the simulator's options for the ONVIF devices
    QTest::addColumn<QString>("scheme");
    QTest::addRow("plain HTTP") << QStringList() << "http";
    QTest::addRow("HTTPS only") << QStringList{QStringLiteral("--onvif-https-only")} << "https";
    QTest::addRow("SOAP 1.1 answers with schema elements in the device namespace")
        << QStringList{QStringLiteral("--onvif-quirk"), QStringLiteral("all=soap11,device-ns,fault-200")} << "http";
}

void tst_VexoCli::onvifRebootOfAPartlyIdentifiedCamera()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif"), QStringLiteral("1"),
                       QStringLiteral("--onvif-port"), QStringLiteral("0"), QStringLiteral("--onvif-quirk"),
                       QStringLiteral("all=no-interfaces")}));
    QString address;
    for (const QString &line : sim.command(QStringLiteral("list"))) {
        if (line.endsWith(QLatin1String(" onvif")))
            address = line.section(u' ', 2, 2);
    }
    QVERIFY(!address.isEmpty());
    const CliRun reboot
        = cli(sim.port(), {QStringLiteral("onvif-reboot"), address, QStringLiteral("Admin12345")}, sim.wsdPort());
    QVERIFY2(reboot.exitCode == 0, reboot.err.constData());
    // What was not read is named; the restart needed none of it.
    QVERIFY2(reboot.err.contains("GetNetworkInterfaces"), reboot.err.constData());
}

void tst_VexoCli::onvifDevicesListedAndReaddressed()
{
    QFETCH(QStringList, transport);
    QFETCH(QString, scheme);
    // Two VXDP devices, the first also speaking ONVIF, and one device of another maker speaking ONVIF only.
    SimulatorProcess sim;
    QVERIFY(sim.start(QStringList{QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--onvif"),
                                  QStringLiteral("1"), QStringLiteral("--onvif-both"), QStringLiteral("1"),
                                  QStringLiteral("--onvif-port"), QStringLiteral("0")}
                      + transport));
    QVERIFY(sim.wsdPort() != 0);
    auto list = [&sim](const QStringList &extra) {
        QMultiMap<QString, QJsonObject> byProtocol;
        const CliRun run = cli(sim.port(),
                               QStringList{QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("--wait"),
                                           QStringLiteral("1500")}
                                   + extra,
                               sim.wsdPort());
        for (const QJsonValue &v : QJsonDocument::fromJson(run.out).array())
            byProtocol.insert(v.toObject().value(QLatin1String("protocol")).toString(), v.toObject());
        return byProtocol;
    };

    // Without credentials: discovery alone, the ONVIF side of the dual device not yet matched by MAC.
    auto anonymous = list({});
    QCOMPARE(anonymous.count(QStringLiteral("VXDP/1")), 2);
    QCOMPARE(anonymous.count(QStringLiteral("ONVIF")), 2);
    for (const QJsonObject &o : anonymous.values(QStringLiteral("ONVIF"))) {
        QVERIFY(o.value(QLatin1String("endpoint")).toString().startsWith(QLatin1String("urn:uuid:")));
        QVERIFY(!o.value(QLatin1String("identified")).toBool());
        QVERIFY(o.value(QLatin1String("serialNumber")).toString().isEmpty());
    }

    // With credentials: identified, the dual device one entry with both protocols.
    auto identified = list({QStringLiteral("Admin12345"), QStringLiteral("--user"), QStringLiteral("admin")});
    QCOMPARE(identified.count(QStringLiteral("VXDP/1+ONVIF")), 1);
    QCOMPARE(identified.count(QStringLiteral("VXDP/1")), 1);
    QCOMPARE(identified.count(QStringLiteral("ONVIF")), 1);
    const QJsonObject other = identified.value(QStringLiteral("ONVIF"));
    QVERIFY(other.value(QLatin1String("identified")).toBool());
    const QString serial = other.value(QLatin1String("serialNumber")).toString();
    QVERIFY(!serial.isEmpty());
    QVERIFY(!other.value(QLatin1String("mac")).toString().isEmpty());

    // Options that would be dropped are refused before anything is sent.
    const CliRun conflicting
        = cli(sim.port(),
              {QStringLiteral("onvif-modify"), serial, QStringLiteral("Admin12345"), QStringLiteral("--dhcp"),
               QStringLiteral("on"), QStringLiteral("--ipv4"), QStringLiteral("127.1.0.79")},
              sim.wsdPort());
    QCOMPARE(conflicting.exitCode, 2);
    QVERIFY2(conflicting.err.contains("--dhcp on"), conflicting.err.constData());

    // Re-addressed by serial number, it answers at its new address.
    const CliRun modify
        = cli(sim.port(),
              {QStringLiteral("onvif-modify"), serial, QStringLiteral("Admin12345"), QStringLiteral("--ipv4"),
               QStringLiteral("127.1.0.77"), QStringLiteral("--wait"), QStringLiteral("1500")},
              sim.wsdPort());
    QVERIFY2(modify.exitCode == 0, modify.err.constData());
    const QJsonObject moved = list({QStringLiteral("Admin12345")}).value(QStringLiteral("ONVIF"));
    QCOMPARE(moved.value(QLatin1String("serialNumber")).toString(), serial);
    QCOMPARE(moved.value(QLatin1String("ipv4Address")).toString(), QStringLiteral("127.1.0.77"));
    QVERIFY(
        moved.value(QLatin1String("serviceAddress")).toString().startsWith(scheme + QLatin1String("://127.1.0.77:")));

    // A wrong password changes nothing and says why.
    const CliRun refused = cli(sim.port(),
                               {QStringLiteral("onvif-modify"), QStringLiteral("127.1.0.77"),
                                QStringLiteral("wrong-pass1"), QStringLiteral("--ipv4"), QStringLiteral("127.1.0.78")},
                               sim.wsdPort());
    QCOMPARE(refused.exitCode, 1);
    QVERIFY2(refused.err.contains("not authorised"), refused.err.constData());

    // A new password: over HTTPS at once, over plain HTTP only with --allow-clear-text.
    const auto identifiedWith = [&](const QString &pass) {
        const auto entries = list({pass}).values(QStringLiteral("ONVIF"));
        return std::any_of(entries.cbegin(), entries.cend(), [&serial](const QJsonObject &o) {
            return o.value(QLatin1String("serialNumber")).toString() == serial;
        });
    };
    const QStringList setPassword{QStringLiteral("onvif-password"), QStringLiteral("127.1.0.77")};
    const QHash<QString, QString> passwords{{QStringLiteral("VEXO_PASSWORD"), QStringLiteral("Admin12345")},
                                            {QStringLiteral("VEXO_NEW_PASSWORD"), QStringLiteral("Newpass2026")}};
    if (scheme == u"http") {
        const CliRun refused = cli(sim.port(), setPassword, sim.wsdPort(), passwords);
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains("--allow-clear-text"), refused.err.constData());
        QVERIFY(identifiedWith(QStringLiteral("Admin12345")));
    }
    const CliRun password = cli(
        sim.port(), scheme == u"http" ? setPassword + QStringList{QStringLiteral("--allow-clear-text")} : setPassword,
        sim.wsdPort(), passwords);
    QVERIFY2(password.exitCode == 0, password.err.constData());
    QVERIFY(!identifiedWith(QStringLiteral("Admin12345")));
    QVERIFY(identifiedWith(QStringLiteral("Newpass2026")));
}

void tst_VexoCli::listFilter_data()
{
    QTest::addColumn<QString>("filter"); // %1: the address of a device that speaks VXDP only
    QTest::addColumn<int>("exitCode");
    QTest::addRow("network of one address, ONVIF rows filtered too") << "%1/32" << 0;
    QTest::addRow("range of one address") << "%1-%1" << 0;
    QTest::addRow("range with a short end refused") << "%1-11" << 2;
}

void tst_VexoCli::listFilter()
{
    QFETCH(QString, filter);
    QFETCH(int, exitCode);
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--seed"), QStringLiteral("3"),
                       QStringLiteral("--onvif"), QStringLiteral("1"), QStringLiteral("--onvif-both"),
                       QStringLiteral("1"), QStringLiteral("--onvif-port"), QStringLiteral("0")}));
    const QStringList list{QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("--wait"),
                           QStringLiteral("1500")};
    QString address;
    for (const QJsonValue &v : QJsonDocument::fromJson(cli(sim.port(), list, sim.wsdPort()).out).array()) {
        const QString a = v.toObject().value(QLatin1String("ipv4Address")).toString();
        if (!a.startsWith(QLatin1String("127.")))
            address = a;
    }
    QVERIFY(!address.isEmpty());
    const CliRun run
        = cli(sim.port(), list + QStringList{QStringLiteral("--filter"), filter.arg(address)}, sim.wsdPort());
    QVERIFY2(run.exitCode == exitCode, run.err.constData());
    if (exitCode != 0) {
        QVERIFY2(run.err.contains("192.0.2.10-192.0.2.50"), run.err.constData()); // the forms taken
        return;
    }
    const QJsonArray rows = QJsonDocument::fromJson(run.out).array();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.first().toObject().value(QLatin1String("ipv4Address")).toString(), address);
}

void tst_VexoCli::httpsCertificatePinnedAcrossRestartsUntilForgotten()
{
    // The certificate lives in the state file: a restarted device matches the pin vexo-cli made.
    const QString state = m_dir.filePath(QStringLiteral("https-state.json"));
    const auto identifiedOnce = [&state] {
        SimulatorProcess sim;
        if (!sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("33"),
                        QStringLiteral("--onvif"), QStringLiteral("1"), QStringLiteral("--onvif-https-only"),
                        QStringLiteral("--onvif-port"), QStringLiteral("0"), QStringLiteral("--state"), state}))
            return QByteArray("the simulator did not start");
        const CliRun run = cli(sim.port(),
                               {QStringLiteral("list"), QStringLiteral("Admin12345"), QStringLiteral("--json"),
                                QStringLiteral("--wait"), QStringLiteral("1500")},
                               sim.wsdPort());
        return run.out + run.err;
    };
    const auto identifiedOverHttps = [](const QByteArray &out) {
        return out.contains("\"identified\": true") && out.contains("\"serviceAddress\": \"https://")
               && !out.contains("certificate");
    };
    QByteArray first = identifiedOnce();
    QVERIFY2(identifiedOverHttps(first), first.constData());
    QByteArray again = identifiedOnce();
    QVERIFY2(identifiedOverHttps(again), again.constData());
    // A device with a new certificate under the same endpoint is refused.
    QVERIFY(QFile::remove(state));
    QByteArray reset = identifiedOnce();
    QVERIFY2(reset.contains("another certificate than the one pinned"), reset.constData());
    // Once the user forgets the pin, the new certificate is taken and pinned in its turn.
    const QRegularExpressionMatch endpoint
        = QRegularExpression(QStringLiteral("\"endpoint\": \"(urn:uuid:[0-9a-f-]+)\"")).match(QString::fromUtf8(first));
    QVERIFY2(endpoint.hasMatch(), first.constData());
    const QStringList forget{QStringLiteral("onvif-forget-certificate"), endpoint.captured(1)};
    const CliRun forgotten = cli(0, forget);
    QCOMPARE(forgotten.exitCode, 0);
    QVERIFY2(forgotten.out.contains("forgotten"), forgotten.out.constData());
    QByteArray renewed = identifiedOnce();
    QVERIFY2(identifiedOverHttps(renewed), renewed.constData());
    QCOMPARE(cli(0, forget).exitCode, 0);
    QCOMPARE(cli(0, forget).exitCode, 1); // nothing pinned any more
    QCOMPARE(cli(0, {QStringLiteral("onvif-forget-certificate")}).exitCode, 2);
}

void tst_VexoCli::snapshot_data()
{
    QTest::addColumn<QString>("quirk");
    QTest::addColumn<bool>("out");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("said"); // on standard error
    QTest::addRow("the camera's picture") << "normal" << true << 0 << QByteArray();
    QTest::addRow("no media service") << "nomedia" << true << 1 << QByteArray("no media service");
    QTest::addRow("a web page") << "text" << true << 1 << QByteArray("not an image");
    QTest::addRow("without --out") << "normal" << false << 2 << QByteArray("--out");
}

void tst_VexoCli::snapshot()
{
    QFETCH(QString, quirk);
    QFETCH(bool, out);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, said);
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif"), QStringLiteral("1"),
                       QStringLiteral("--onvif-snapshot"), quirk}));
    QString serial;
    for (const QString &line : sim.command(QStringLiteral("list"))) {
        if (line.endsWith(QLatin1String(" onvif")))
            serial = line.section(QLatin1Char(' '), 0, 0);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("camera.jpg"));
    QStringList arguments{QStringLiteral("snapshot"), serial};
    if (out)
        arguments << QStringLiteral("--out") << file;
    const CliRun run = cli(sim.port(), arguments, sim.wsdPort(), {{QStringLiteral("VEXO_PASSWORD"), "Admin12345"}});
    QVERIFY2(run.exitCode == exitCode, run.err.constData());
    QVERIFY2(run.err.contains(said), run.err.constData());
    QFile saved(file);
    QCOMPARE(saved.open(QIODevice::ReadOnly), exitCode == 0);
    if (exitCode == 0)
        QVERIFY(saved.read(3) == QByteArray("\xFF\xD8\xFF"));
}

QTEST_GUILESS_MAIN(tst_VexoCli)

#include "tst_vexocli.moc"

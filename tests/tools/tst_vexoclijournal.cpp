// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// vexo-cli's journal against the simulator on loopback: one entry per device for each command
// that reaches a device, and never a password, key or security code in the file.
#include "postgrescluster.h"
#include "simulatorprocess.h"

#include <QDir>
#include <QDirIterator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

struct SimDevice
{
    QString serial;
    QString mac;
    QString ipv4;
    bool active = false;
    QString kind; // "", "onvif" or "vxdp+onvif"
};

} // namespace

class tst_VexoCliJournal : public QObject
{
    Q_OBJECT

private slots:
    void everyCommandWritesOneEntryPerDevice_data();
    void everyCommandWritesOneEntryPerDevice();
    void journalCommandFilters();
    void sharedJournalGetsEveryEntryAndNoSecret();

private:
    CliRun cli(const SimulatorProcess &sim, const QStringList &arguments, const QHash<QString, QString> &env = {});
    QList<SimDevice> devices(SimulatorProcess &sim);
    QJsonArray journal(const SimulatorProcess &sim, const QStringList &options = {});

    std::unique_ptr<QTemporaryDir> m_home;
};

CliRun tst_VexoCliJournal::cli(const SimulatorProcess &sim, const QStringList &arguments,
                               const QHash<QString, QString> &extra)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("VEXO_PASSWORD"));
    env.remove(QStringLiteral("VEXO_NEW_PASSWORD"));
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback"));
    env.insert(QStringLiteral("VEXO_PORT"), QString::number(sim.port()));
    if (sim.wsdPort() != 0)
        env.insert(QStringLiteral("VEXO_WSD_PORT"), QString::number(sim.wsdPort()));
    // The journal and the settings in folders of the test's own.
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home->filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home->filePath(QStringLiteral("config")));
    for (auto it = extra.cbegin(); it != extra.cend(); ++it)
        env.insert(it.key(), it.value());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(SimulatorProcess::toolPath(QStringLiteral("vexo-cli")), arguments);
    CliRun run;
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QList<SimDevice> tst_VexoCliJournal::devices(SimulatorProcess &sim)
{
    QList<SimDevice> found;
    for (const QString &line : sim.command(QStringLiteral("list"))) {
        const QStringList words = line.split(QLatin1Char(' '));
        if (words.size() >= 4)
            found.append({words.at(0), words.at(1), words.at(2), words.at(3) == QLatin1String("1"), words.value(4)});
    }
    return found;
}

QJsonArray tst_VexoCliJournal::journal(const SimulatorProcess &sim, const QStringList &options)
{
    const CliRun run = cli(sim, QStringList{QStringLiteral("journal"), QStringLiteral("--json")} + options);
    if (run.exitCode != 0)
        qWarning("%s", run.err.constData());
    return QJsonDocument::fromJson(run.out).array();
}

void tst_VexoCliJournal::everyCommandWritesOneEntryPerDevice_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("result");
    QTest::newRow("activate") << "activate"
                              << "activation"
                              << "succeeded";
    QTest::newRow("modify") << "modify"
                            << "network-change"
                            << "succeeded";
    QTest::newRow("key") << "key"
                         << "batch-key-export"
                         << "succeeded";
    QTest::newRow("reset with a wrong key") << "reset"
                                            << "password-reset"
                                            << "failed";
    QTest::newRow("restore with a wrong code") << "restore"
                                               << "password-restore"
                                               << "failed";
    QTest::newRow("plan of two devices") << "plan"
                                         << "plan-apply"
                                         << "succeeded";
    QTest::newRow("onvif-modify") << "onvif-modify"
                                  << "onvif-change"
                                  << "succeeded";
    QTest::newRow("onvif-password") << "onvif-password"
                                    << "onvif-password-change"
                                    << "succeeded";
    QTest::newRow("onvif-reboot") << "onvif-reboot"
                                  << "reboot"
                                  << "succeeded";
}

void tst_VexoCliJournal::everyCommandWritesOneEntryPerDevice()
{
    QFETCH(QString, command);
    QFETCH(QString, flow);
    QFETCH(QString, result);
    m_home = std::make_unique<QTemporaryDir>();
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("--seed"), QStringLiteral("3"),
                       QStringLiteral("--onvif"), QStringLiteral("1"), QStringLiteral("--onvif-port"),
                       QStringLiteral("0")}));
    QList<SimDevice> listed = devices(sim);
    QList<SimDevice> vxdp;
    SimDevice onvif;
    for (const SimDevice &device : std::as_const(listed)) {
        if (device.kind == QLatin1String("onvif"))
            onvif = device;
        else
            vxdp.append(device);
    }
    QCOMPARE(vxdp.size(), 3);
    QVERIFY(!onvif.serial.isEmpty());
    for (const SimDevice &device : std::as_const(vxdp)) {
        QCOMPARE(sim.commandResult(QStringLiteral("set %1 dhcp 0").arg(device.serial)), QStringLiteral("ok"));
        QCOMPARE(sim.commandResult(QStringLiteral("set %1 inactive 0").arg(device.serial)), QStringLiteral("ok"));
    }
    const SimDevice &device = vxdp.first();

    // Every secret a command is given or prints; none of them may reach the journal's file.
    const QString admin = QStringLiteral("Admin12345");
    QList<QByteArray> secrets{admin.toUtf8()};
    QHash<QString, QString> env{{QStringLiteral("VEXO_PASSWORD"), admin}};
    QStringList arguments{command};
    QString expectedAfter; // the IPv4 address after, where the command changes it
    int entries = 1;
    if (command == QLatin1String("activate")) {
        QCOMPARE(sim.commandResult(QStringLiteral("set %1 inactive 1").arg(device.serial)), QStringLiteral("ok"));
        env.insert(QStringLiteral("VEXO_PASSWORD"), QStringLiteral("Start2026xy"));
        secrets << "Start2026xy";
        arguments << device.serial;
    } else if (command == QLatin1String("modify")) {
        arguments << device.mac << QStringLiteral("--ipv4") << QStringLiteral("192.0.2.44") << QStringLiteral("--wait")
                  << QStringLiteral("3000");
        expectedAfter = QStringLiteral("192.0.2.44");
    } else if (command == QLatin1String("key")) {
        arguments << device.serial;
    } else if (command == QLatin1String("reset")) {
        env.insert(QStringLiteral("VEXO_PASSWORD"), QStringLiteral("Reset2026xy"));
        secrets << "Reset2026xy"
                << "WRONGKEYQWRTZUIOP";
        arguments << device.serial << QStringLiteral("--key") << QStringLiteral("WRONGKEYQWRTZUIOP");
    } else if (command == QLatin1String("restore")) {
        env.clear();
        secrets << "QWRTZ2026PLKM";
        arguments << device.serial << QStringLiteral("QWRTZ2026PLKM");
    } else if (command == QLatin1String("plan")) {
        const QString plan = m_home->filePath(QStringLiteral("plan.csv"));
        QFile file(plan);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("serial;ipv4;mask;gateway\n%1;192.0.2.51;255.255.255.0;192.0.2.1\n%2;192.0.2.52;255."
                                  "255.255.0;192.0.2.1\n")
                       .arg(vxdp.at(0).serial, vxdp.at(1).serial)
                       .toUtf8());
        file.close();
        arguments << plan << QStringLiteral("--wait") << QStringLiteral("1500");
        entries = 2;
        expectedAfter = QStringLiteral("192.0.2.5");
    } else if (command == QLatin1String("onvif-modify")) {
        arguments << onvif.serial << QStringLiteral("--ipv4") << QStringLiteral("127.1.0.77")
                  << QStringLiteral("--wait") << QStringLiteral("1500");
        expectedAfter = QStringLiteral("127.1.0.77");
    } else if (command == QLatin1String("onvif-password")) {
        env.insert(QStringLiteral("VEXO_NEW_PASSWORD"), QStringLiteral("Newpass2026"));
        secrets << "Newpass2026";
        arguments << onvif.ipv4 << QStringLiteral("--allow-clear-text") << QStringLiteral("--wait")
                  << QStringLiteral("1500");
    } else if (command == QLatin1String("onvif-reboot")) {
        arguments << onvif.ipv4 << QStringLiteral("--wait") << QStringLiteral("1500");
    }

    const CliRun run = cli(sim, arguments, env);
    QVERIFY2((run.exitCode == 0) == (result == QLatin1String("succeeded")), (run.err + run.out).constData());
    if (command == QLatin1String("key"))
        secrets << run.out.trimmed();

    const QJsonArray written = journal(sim);
    QCOMPARE(written.size(), entries);
    for (const QJsonValue &value : written) {
        const QJsonObject entry = value.toObject();
        QCOMPARE(entry.value(QLatin1String("flow")).toString(), flow);
        QCOMPARE(entry.value(QLatin1String("result")).toString(), result);
        QCOMPARE(entry.value(QLatin1String("program")).toString(), QStringLiteral("vexo-cli"));
        const QString serial = entry.value(QLatin1String("serial")).toString();
        const QStringList expectedSerials = command.startsWith(QLatin1String("onvif")) ? QStringList{onvif.serial}
                                            : command == QLatin1String("plan")
                                                ? QStringList{vxdp.at(0).serial, vxdp.at(1).serial}
                                                : QStringList{device.serial};
        QVERIFY2(expectedSerials.contains(serial), qPrintable(serial));
        const QJsonObject before = entry.value(QLatin1String("before")).toObject();
        const QJsonObject after = entry.value(QLatin1String("after")).toObject();
        if (!expectedAfter.isEmpty()) {
            QVERIFY(!before.value(QLatin1String("ipv4")).toString().isEmpty());
            QVERIFY2(after.value(QLatin1String("ipv4")).toString().startsWith(expectedAfter),
                     QJsonDocument(entry).toJson().constData());
        }
        const bool passwordFlow = command == QLatin1String("activate") || command == QLatin1String("reset")
                                  || command == QLatin1String("restore") || command == QLatin1String("onvif-password");
        QCOMPARE(after.value(QLatin1String("passwordSet")).toBool(), passwordFlow);
        QVERIFY(!entry.value(QLatin1String("mac")).toString().isEmpty() || command == QLatin1String("restore"));
    }

    // The file, its write-ahead log and index, byte by byte.
    QByteArray bytes;
    const QDir folder(m_home->filePath(QStringLiteral("data/vexotool")));
    const QStringList files = folder.entryList(QDir::Files);
    QVERIFY2(files.contains(QStringLiteral("journal.sqlite")), qPrintable(files.join(u' ')));
    for (const QString &name : files) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        bytes += file.readAll();
    }
    for (const QByteArray &secret : std::as_const(secrets)) {
        QVERIFY(secret.size() >= 8);
        QVERIFY2(!bytes.contains(secret), secret.constData());
        QVERIFY2(!bytes.contains(QString::fromUtf8(secret).toUtf8().toHex()), secret.constData());
    }
}

void tst_VexoCliJournal::journalCommandFilters()
{
    m_home = std::make_unique<QTemporaryDir>();
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--seed"), QStringLiteral("3")}));
    const QList<SimDevice> listed = devices(sim);
    QCOMPARE(listed.size(), 2);
    for (const SimDevice &device : listed) {
        QCOMPARE(sim.commandResult(QStringLiteral("set %1 inactive 0").arg(device.serial)), QStringLiteral("ok"));
        // modify without a change proves the password and writes its entry.
        const CliRun run
            = cli(sim, {QStringLiteral("modify"), device.mac, QStringLiteral("--wait"), QStringLiteral("3000")},
                  {{QStringLiteral("VEXO_PASSWORD"), QStringLiteral("Admin12345")}});
        QVERIFY2(run.exitCode == 0, run.err.constData());
    }
    QCOMPARE(journal(sim).size(), 2);
    QCOMPARE(journal(sim, {QStringLiteral("--since"), QStringLiteral("1h")}).size(), 2);
    QCOMPARE(journal(sim, {QStringLiteral("--since"), QDate::currentDate().addDays(1).toString(Qt::ISODate)}).size(),
             0);
    const QJsonArray one = journal(sim, {QStringLiteral("--device"), listed.at(1).mac.toUpper()});
    QCOMPARE(one.size(), 1);
    QCOMPARE(one.first().toObject().value(QLatin1String("serial")).toString(), listed.at(1).serial);
    // Newest first.
    QCOMPARE(journal(sim).first().toObject().value(QLatin1String("serial")).toString(), listed.at(1).serial);
    const CliRun table = cli(sim, {QStringLiteral("journal")});
    QCOMPARE(table.exitCode, 0);
    QVERIFY2(table.out.contains(listed.at(0).serial.toLatin1()) && table.out.contains("network-change"),
             table.out.constData());
    QCOMPARE(cli(sim, {QStringLiteral("journal"), QStringLiteral("--since"), QStringLiteral("yesterday")}).exitCode, 2);
}

void tst_VexoCliJournal::sharedJournalGetsEveryEntryAndNoSecret()
{
    PostgresCluster cluster;
    QString error;
    if (PostgresCluster::binDir().isEmpty())
        QSKIP("PostgreSQL's server programs are not installed");
    QVERIFY2(cluster.start(&error), qPrintable(error));
    QVERIFY2(cluster.createDatabase(QStringLiteral("site"), &error), qPrintable(error));
    m_home = std::make_unique<QTemporaryDir>();
    // The user's settings name the server; its password comes from the environment.
    QVERIFY(QDir().mkpath(m_home->filePath(QStringLiteral("config/VEXOTool"))));
    QFile setup(m_home->filePath(QStringLiteral("config/VEXOTool/Setup.xml")));
    QVERIFY(setup.open(QIODevice::WriteOnly));
    setup.write(QStringLiteral("<Setup><JournalServerHost><Value>%1</Value></JournalServerHost>"
                               "<JournalServerPort><Value>%2</Value></JournalServerPort>"
                               "<JournalServerDatabase><Value>site</Value></JournalServerDatabase>"
                               "<JournalServerUser><Value>%3</Value></JournalServerUser></Setup>")
                    .arg(cluster.host())
                    .arg(cluster.port())
                    .arg(cluster.user())
                    .toUtf8());
    setup.close();

    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("3")}));
    const SimDevice device = devices(sim).value(0);
    QCOMPARE(sim.commandResult(QStringLiteral("set %1 inactive 0").arg(device.serial)), QStringLiteral("ok"));
    QCOMPARE(sim.commandResult(QStringLiteral("set %1 dhcp 0").arg(device.serial)), QStringLiteral("ok"));
    const QHash<QString, QString> env{{QStringLiteral("VEXO_PASSWORD"), QStringLiteral("Admin12345")},
                                      {QStringLiteral("VEXO_JOURNAL_PASSWORD"), cluster.password()}};
    const auto modify = [&](const char *address) {
        return cli(sim,
                   {QStringLiteral("modify"), device.mac, QStringLiteral("--ipv4"), QLatin1String(address),
                    QStringLiteral("--wait"), QStringLiteral("3000")},
                   env);
    };
    CliRun run = modify("192.0.2.61");
    QVERIFY2(run.exitCode == 0, run.err.constData());

    // The server gone: the change is made all the same, and its entry waits for the next run.
    QVERIFY(cluster.stop());
    run = modify("192.0.2.62");
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QVERIFY2(run.err.contains("journal: not written for now"), run.err.constData());
    QVERIFY(cluster.restart(&error));
    const CliRun listed = cli(sim, {QStringLiteral("journal"), QStringLiteral("--json")},
                              {{QStringLiteral("VEXO_JOURNAL_PASSWORD"), cluster.password()}});
    QCOMPARE(QJsonDocument::fromJson(listed.out).array().size(), 2);

    QByteArray bytes;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("check"));
        db.setHostName(cluster.host());
        db.setPort(cluster.port());
        db.setDatabaseName(QStringLiteral("site"));
        db.setUserName(cluster.user());
        db.setPassword(cluster.password());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("SELECT count(*) FROM journal_entries")) && query.next());
        QCOMPARE(query.value(0).toInt(), 2);
        QVERIFY(query.exec(QStringLiteral("CHECKPOINT"))); // the rows into the table files too
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    for (QDirIterator it(cluster.dataDir(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll();
    }
    QVERIFY(bytes.contains(device.serial.toLatin1())); // the search reaches the entries
    QVERIFY(!bytes.contains("Admin12345"));
}

QTEST_GUILESS_MAIN(tst_VexoCliJournal)
#include "tst_vexoclijournal.moc"

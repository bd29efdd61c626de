// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "postgrescluster.h"

#include <journal.h>
#include <postgresjournalstorage.h>
#include <sqlitejournalstorage.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#ifdef Q_OS_UNIX
#    include <unistd.h>
#endif

using namespace VexoTool;

namespace {

enum class Backend { Sqlite, Postgres };

// Entry i of a test: a device of its own, addresses 10.0.<i/200>.<i%200 + 1> before and the next
// hundred after, one minute apart, every third one failed.
JournalEntry sampleEntry(int i, const QDateTime &start = QDateTime(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC))
{
    JournalEntry entry = JournalEntry::make(i % 2 ? JournalFlow::BatchNetworkChange : JournalFlow::Activation);
    entry.time = start.addSecs(60 * i);
    entry.serialNumber = QStringLiteral("DS-%1").arg(i, 5, 10, QLatin1Char('0'));
    entry.mac = QStringLiteral("a4:14:37:00:%1:%2")
                    .arg(i / 256, 2, 16, QLatin1Char('0'))
                    .arg(i % 256, 2, 16, QLatin1Char('0'));
    entry.model = i % 5 ? QStringLiteral("CAM-2045") : QStringLiteral("NVR 100%_edition");
    entry.protocol = QStringLiteral("VXDP");
    entry.verification = QStringLiteral("verified");
    entry.before.ipv4Address = QStringLiteral("10.0.%1.%2").arg(i / 200).arg(i % 200 + 1);
    entry.before.ipv4Mask = QStringLiteral("255.255.255.0");
    entry.before.dhcp = false;
    entry.before.devicePort = 8000;
    entry.after = entry.before;
    entry.after.ipv4Address = QStringLiteral("10.1.%1.%2").arg(i / 200).arg(i % 200 + 1);
    entry.after.httpPort = 80;
    entry.after.ipv6PrefixLength = 64;
    entry.after.passwordSet = entry.flow == JournalFlow::Activation;
    entry.result = i % 3 == 2 ? JournalResult::Failed : JournalResult::Succeeded;
    entry.explanation = entry.result == JournalResult::Failed ? QStringLiteral("no answer") : QString();
    return entry;
}

QList<JournalEntry> sampleEntries(int count, int first = 0)
{
    QList<JournalEntry> entries;
    for (int i = first; i < first + count; ++i)
        entries << sampleEntry(i);
    return entries;
}

bool runsAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

quint32 ipv4(const char *text)
{
    return journalIpv4Number(QString::fromLatin1(text)).value();
}

// What a query gives back, as the sample numbers of the entries (their serial numbers' digits).
QList<int> sampleNumbers(const QList<JournalEntry> &entries)
{
    QList<int> numbers;
    for (const JournalEntry &entry : entries)
        numbers << entry.serialNumber.mid(3).toInt();
    return numbers;
}

} // namespace

class tst_Journal : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void settingsFromSetup_data();
    void settingsFromSetup();
    void storesEveryFieldAndPagesNewestFirst_data();
    void storesEveryFieldAndPagesNewestFirst();
    void filters_data();
    void filters();
    void sameEntryIsStoredOnce_data();
    void sameEntryIsStoredOnce();
    void twoProgramsWriteAtOnce_data();
    void twoProgramsWriteAtOnce();
    void migratesTheFirstSchema_data();
    void migratesTheFirstSchema();
    void removesExpiredEntriesAtStart_data();
    void removesExpiredEntriesAtStart();
    void faultsNeverStopTheWork_data();
    void faultsNeverStopTheWork();
    void entriesWaitForTheServerAndGoUpOnce();
    void serverGoingAwayMidBatchLosesNothing();

private:
    void addBackendRows();
    JournalSettings settings(Backend backend);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PostgresCluster> m_cluster;
    QString m_clusterError;
    int m_databases = 0;
    QStringList m_mounts;
};

void tst_Journal::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_cluster = std::make_unique<PostgresCluster>();
    if (!m_cluster->start(&m_clusterError)) {
        m_cluster.reset();
        // Without the server's programs only the embedded back end is tested; with them a
        // cluster that does not start is a fault of the test set-up.
        QVERIFY2(PostgresCluster::binDir().isEmpty(), qPrintable(m_clusterError));
    }
}

void tst_Journal::cleanup()
{
    for (const QString &mount : std::as_const(m_mounts))
        QProcess::execute(QStringLiteral("umount"), {mount});
    m_mounts.clear();
    m_dir.reset();
}

void tst_Journal::addBackendRows()
{
    QTest::addColumn<Backend>("backend");
    QTest::newRow("embedded file") << Backend::Sqlite;
    QTest::newRow("shared server") << Backend::Postgres;
}

JournalSettings tst_Journal::settings(Backend backend)
{
    if (!m_dir)
        m_dir = std::make_unique<QTemporaryDir>();
    JournalSettings settings;
    settings.databasePath = m_dir->filePath(QStringLiteral("journal.sqlite"));
    if (backend == Backend::Postgres) {
        if (!m_cluster)
            return settings;
        const QString name = QStringLiteral("journal%1").arg(++m_databases);
        if (!m_cluster->createDatabase(name))
            return settings;
        settings.server.host = m_cluster->host();
        settings.server.port = m_cluster->port();
        settings.server.database = name;
        settings.server.user = m_cluster->user();
        settings.server.password = m_cluster->password();
    }
    return settings;
}

#define SETTINGS_OR_SKIP(settingsName, backend)                                                                        \
    const JournalSettings settingsName = settings(backend);                                                            \
    if (backend == Backend::Postgres && !settingsName.usesServer())                                                    \
        QSKIP(qPrintable(QStringLiteral("no PostgreSQL cluster: ") + m_clusterError));

void tst_Journal::settingsFromSetup_data()
{
    QTest::addColumn<QByteArray>("user"); // the user's settings, read over the shipped ones
    QTest::addColumn<int>("keepDays");
    QTest::addColumn<QString>("server"); // user@host:port/database, empty for none
    const QByteArray server = "<JournalServerHost><Value>db.example.net</Value></JournalServerHost>"
                              "<JournalServerDatabase><Value>site</Value></JournalServerDatabase>"
                              "<JournalServerUser><Value>installer</Value></JournalServerUser>";
    QTest::addRow("shipped settings") << QByteArray() << 365 << QString();
    QTest::addRow("user keeps entries longer")
        << QByteArray("<JournalKeepDays><Value>730</Value></JournalKeepDays>") << 730 << QString();
    QTest::addRow("a number that is none keeps the shipped one")
        << QByteArray("<JournalKeepDays><Value>a year</Value></JournalKeepDays>") << 365 << QString();
    QTest::addRow("server named") << server << 365 << "installer@db.example.net:5432/site";
    QTest::addRow("server on a port of its own")
        << server + "<JournalServerPort><Value>6543</Value></JournalServerPort>" << 365
        << "installer@db.example.net:6543/site";
    QTest::addRow("port out of range keeps the default")
        << server + "<JournalServerPort><Value>65536</Value></JournalServerPort>" << 365
        << "installer@db.example.net:5432/site";
    QTest::addRow("no user, no server") << QByteArray(
        "<JournalServerHost><Value>db.example.net</Value></JournalServerHost>"
        "<JournalServerDatabase><Value>site</Value></JournalServerDatabase>")
                                        << 365 << QString();
}

void tst_Journal::settingsFromSetup()
{
    QFETCH(QByteArray, user);
    QFETCH(int, keepDays);
    QFETCH(QString, server);
    QTemporaryDir dir;
    const auto write = [&dir](const char *name, const QByteArray &settings) {
        QFile file(dir.filePath(QLatin1String(name)));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write("<?xml version=\"1.0\"?>\n<Setup>" + settings + "</Setup>\n");
        return file.fileName();
    };
    const QString shipped = write("shipped.xml", "<Skin><Value>CommonSkin</Value></Skin>"
                                                 "<JournalKeepDays><Value>365</Value></JournalKeepDays>");
    // A password written into the settings anyway is never read from there.
    const QString userFile = write("user.xml", user
                                                   + "<JournalServerPassword><Value>Secret123</Value>"
                                                     "</JournalServerPassword>");
    const JournalSettings settings = JournalSettings::fromValues(
        JournalSettings::readSetupValues({shipped, userFile, dir.filePath(QStringLiteral("missing.xml"))}));
    QCOMPARE(settings.keepDays, keepDays);
    QCOMPARE(settings.databasePath, JournalSettings::defaultDatabasePath());
    QCOMPARE(settings.usesServer(), !server.isEmpty());
    if (settings.usesServer())
        QCOMPARE(PostgresJournalStorage(settings.server).location(), server);
    QVERIFY(settings.server.password.isEmpty());
    QCOMPARE(settings.server.tlsMode, QStringLiteral("prefer"));
}

void tst_Journal::storesEveryFieldAndPagesNewestFirst_data()
{
    addBackendRows();
}

void tst_Journal::storesEveryFieldAndPagesNewestFirst()
{
    QFETCH(Backend, backend);
    SETTINGS_OR_SKIP(journalSettings, backend);
    const QList<JournalEntry> entries = sampleEntries(250);
    Journal journal(journalSettings);
    journal.append(entries.mid(0, 100));
    for (const JournalEntry &entry : entries.mid(100))
        journal.append(entry);
    QVERIFY(journal.flush(20000));
    QCOMPARE(journal.count(), 250);

    QList<JournalEntry> read;
    for (int offset = 0; offset < 300; offset += 100)
        read += journal.query({}, offset, 100).entries;
    QCOMPARE(read.size(), 250);
    for (int i = 0; i < 250; ++i)
        QCOMPARE(read.at(i), entries.at(249 - i));
}

void tst_Journal::filters_data()
{
    QTest::addColumn<Backend>("backend");
    QTest::addColumn<JournalFilter>("filter");
    QTest::addColumn<QList<int>>("expected"); // sample numbers, newest first

    const QDateTime start(QDate(2026, 5, 1), QTime(8, 0), Qt::UTC);
    struct Case
    {
        const char *name;
        JournalFilter filter;
        QList<int> expected;
    };
    JournalFilter text;
    text.text = QStringLiteral("ds-00003");
    JournalFilter percent; // a literal % in the text, never a wildcard
    percent.text = QStringLiteral("100%_e");
    JournalFilter likeWildcard;
    likeWildcard.text = QStringLiteral("CAM%2045");
    JournalFilter macOtherSpelling;
    macOtherSpelling.device = QStringLiteral("A4-14-37-00-00-07");
    JournalFilter serial;
    serial.device = QStringLiteral("ds-00008");
    JournalFilter beforeRange; // the lower bound and the upper bound are both inside
    beforeRange.ipv4Ranges = {{ipv4("10.0.0.3"), ipv4("10.0.0.5")}};
    JournalFilter afterRange;
    afterRange.ipv4Ranges = {{ipv4("10.1.0.9"), ipv4("10.1.0.9")}, {ipv4("10.1.0.1"), ipv4("10.1.0.1")}};
    JournalFilter outside;
    outside.ipv4Ranges = {{ipv4("10.0.0.11"), ipv4("10.0.255.255")}};
    JournalFilter time; // from inclusive, until exclusive
    time.from = start.addSecs(60 * 4);
    time.until = start.addSecs(60 * 6);
    JournalFilter flows;
    flows.flows = {JournalFlow::BatchNetworkChange};
    flows.from = start.addSecs(60 * 5);
    JournalFilter failed;
    failed.result = JournalResult::Failed;
    JournalFilter both;
    both.result = JournalResult::Succeeded;
    both.flows = {JournalFlow::Activation};
    both.text = QStringLiteral("nvr");

    const Case cases[] = {
        {"text anywhere, any case", text, {3}},
        {"percent sign is literal", percent, {5, 0}},
        {"percent sign in the text matches nothing else", likeWildcard, {}},
        {"device by MAC in another spelling", macOtherSpelling, {7}},
        {"device by serial number in another case", serial, {8}},
        {"address range holds its bounds", beforeRange, {4, 3, 2}},
        {"address after the change, several ranges", afterRange, {8, 0}},
        {"address range outside every entry", outside, {}},
        {"time from inclusive until exclusive", time, {5, 4}},
        {"flow and time", flows, {9, 7, 5}},
        {"failed only", failed, {8, 5, 2}},
        {"all conditions at once", both, {0}},
    };
    for (const Backend backend : {Backend::Sqlite, Backend::Postgres}) {
        for (const Case &item : cases) {
            QTest::addRow("%s, %s", backend == Backend::Sqlite ? "embedded file" : "shared server", item.name)
                << backend << item.filter << item.expected;
        }
    }
}

void tst_Journal::filters()
{
    QFETCH(Backend, backend);
    QFETCH(JournalFilter, filter);
    QFETCH(QList<int>, expected);
    SETTINGS_OR_SKIP(journalSettings, backend);
    const QList<JournalEntry> entries = sampleEntries(10);
    Journal journal(journalSettings);
    journal.append(entries);
    QVERIFY(journal.flush(20000));

    QCOMPARE(sampleNumbers(journal.query(filter, 0, 100).entries), expected);
    QCOMPARE(journal.count(filter), expected.size());
    // Entries held in memory pass the same filter.
    QList<JournalEntry> inMemory;
    for (auto it = entries.crbegin(); it != entries.crend(); ++it) {
        if (filter.matches(*it))
            inMemory << *it;
    }
    QCOMPARE(sampleNumbers(inMemory), expected);
}

void tst_Journal::sameEntryIsStoredOnce_data()
{
    addBackendRows();
}

void tst_Journal::sameEntryIsStoredOnce()
{
    QFETCH(Backend, backend);
    SETTINGS_OR_SKIP(journalSettings, backend);
    const JournalEntry entry = sampleEntry(1);
    {
        Journal journal(journalSettings);
        journal.append(entry);
        journal.append({entry, sampleEntry(2)});
        QVERIFY(journal.flush(20000));
    }
    Journal again(journalSettings);
    again.append(entry);
    QVERIFY(again.flush(20000));
    QCOMPARE(again.count(), 2);
}

void tst_Journal::twoProgramsWriteAtOnce_data()
{
    addBackendRows();
}

void tst_Journal::twoProgramsWriteAtOnce()
{
    QFETCH(Backend, backend);
    SETTINGS_OR_SKIP(journalSettings, backend);
    // Each program has its own local file, as on two computers; with the embedded file alone both share it.
    QList<std::shared_ptr<QProcess>> writers;
    for (int program = 0; program < 2; ++program) {
        auto process = std::make_shared<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("JOURNAL_TEST_WRITER"), QString::number(program));
        environment.insert(QStringLiteral("JOURNAL_TEST_FILE"),
                           backend == Backend::Sqlite ? journalSettings.databasePath
                                                      : journalSettings.databasePath + QString::number(program));
        if (journalSettings.usesServer()) {
            environment.insert(QStringLiteral("JOURNAL_TEST_SERVER"),
                               QStringLiteral("%1:%2:%3:%4")
                                   .arg(journalSettings.server.host)
                                   .arg(journalSettings.server.port)
                                   .arg(journalSettings.server.database, journalSettings.server.user));
            environment.insert(QString::fromLatin1(JournalSettings::PasswordVariable), journalSettings.server.password);
        }
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedChannels);
        writers << process;
    }
    for (const auto &process : std::as_const(writers))
        process->start(QCoreApplication::applicationFilePath(), {});
    for (const auto &process : std::as_const(writers)) {
        QVERIFY(process->waitForFinished(60000));
        QCOMPARE(process->exitCode(), 0);
    }
    Journal journal(journalSettings);
    QCOMPARE(journal.count(), 2 * 150);
    JournalFilter first;
    first.text = QStringLiteral("DS-1");
    QCOMPARE(journal.count(first), 150);
}

void tst_Journal::migratesTheFirstSchema_data()
{
    addBackendRows();
}

void tst_Journal::migratesTheFirstSchema()
{
    QFETCH(Backend, backend);
    SETTINGS_OR_SKIP(journalSettings, backend);
    // The first schema: addresses as text only.
    QString side;
    for (const char *prefix : {"before_", "after_"}) {
        for (const char *column :
             {"ipv4 TEXT", "mask TEXT", "gateway TEXT", "ipv6 TEXT", "ipv6_prefix BIGINT", "ipv6_gateway TEXT",
              "device_port BIGINT", "http_port BIGINT", "https_port BIGINT", "dhcp BIGINT", "password_set BIGINT"})
            side += QStringLiteral(", ") + QLatin1String(prefix) + QLatin1String(column);
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(backend == Backend::Sqlite ? "QSQLITE" : "QPSQL", "first");
        if (backend == Backend::Sqlite) {
            db.setDatabaseName(journalSettings.databasePath);
        } else {
            db.setHostName(journalSettings.server.host);
            db.setPort(journalSettings.server.port);
            db.setDatabaseName(journalSettings.server.database);
            db.setUserName(journalSettings.server.user);
            db.setPassword(journalSettings.server.password);
        }
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("CREATE TABLE journal_schema (version INTEGER NOT NULL)"));
        QVERIFY(query.exec("INSERT INTO journal_schema VALUES (1)"));
        QVERIFY(query.exec("CREATE TABLE journal_entries (id TEXT PRIMARY KEY, time_utc BIGINT NOT NULL, utc_offset "
                           "INTEGER NOT NULL, os_user TEXT, program TEXT, program_version TEXT, flow TEXT NOT NULL, "
                           "serial TEXT, mac TEXT, model TEXT, protocol TEXT, verification TEXT"
                           + side + ", result TEXT NOT NULL, explanation TEXT)"));
        QVERIFY(query.exec("INSERT INTO journal_entries (id, time_utc, utc_offset, flow, serial, before_ipv4, "
                           "after_ipv4, before_dhcp, result) VALUES ('7d1f6a52-5c43-4f0e-9d43-6f1e0d9e4c11', "
                           "1777622400000, 7200, 'reboot', 'OLD-1', '192.168.1.64', '192.168.1.64', 1, 'succeeded')"));
        db.close();
    }
    QSqlDatabase::removeDatabase("first");

    Journal journal(journalSettings);
    journal.append(sampleEntry(1));
    QVERIFY(journal.flush(20000));
    JournalFilter range;
    range.ipv4Ranges = {{ipv4("192.168.1.64"), ipv4("192.168.1.64")}};
    const QList<JournalEntry> found = journal.query(range, 0, 10).entries;
    QCOMPARE(sampleNumbers(found).size(), 1);
    QCOMPARE(found.first().serialNumber, "OLD-1");
    QCOMPARE(found.first().flow, JournalFlow::Reboot);
    QCOMPARE(found.first().before.dhcp, true);
    QCOMPARE(found.first().localTime().time(), QTime(10, 0));
    JournalFilter text;
    text.text = QStringLiteral("old-1");
    QCOMPARE(journal.count(text), 1);
    QCOMPARE(journal.count(), 2);
}

void tst_Journal::removesExpiredEntriesAtStart_data()
{
    QTest::addColumn<Backend>("backend");
    QTest::addColumn<int>("keepDays");
    QTest::addColumn<qint64>("removed");
    QTest::newRow("embedded file, a year") << Backend::Sqlite << 365 << qint64(2);
    QTest::newRow("embedded file, for ever") << Backend::Sqlite << 0 << qint64(-1);
    QTest::newRow("shared server, a year") << Backend::Postgres << 365 << qint64(2);
}

void tst_Journal::removesExpiredEntriesAtStart()
{
    QFETCH(Backend, backend);
    QFETCH(int, keepDays);
    QFETCH(qint64, removed);
    SETTINGS_OR_SKIP(journalSettings, backend);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QList<JournalEntry> entries
        = {sampleEntry(1, now.addDays(-366)), sampleEntry(1, now.addDays(-365).addSecs(-120)),
           sampleEntry(1, now.addDays(-365).addSecs(3600)), sampleEntry(1, now)};
    {
        JournalSettings keepAll = journalSettings;
        keepAll.keepDays = 0;
        Journal journal(keepAll);
        journal.append(entries);
        QVERIFY(journal.flush(20000));
    }
    JournalSettings keep = journalSettings;
    keep.keepDays = keepDays;
    Journal journal(keep);
    QSignalSpy expired(&journal, &Journal::expiredRemoved);
    QVERIFY(journal.flush(20000));
    if (removed < 0) {
        QCOMPARE(expired.size(), 0);
        QCOMPARE(journal.count(), 4);
    } else {
        QTRY_VERIFY(!expired.isEmpty());
        QCOMPARE(expired.first().first().toLongLong(), removed);
        QCOMPARE(journal.count(), 4 - removed);
    }
}

void tst_Journal::faultsNeverStopTheWork_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("locked by another program") << "locked";
    QTest::newRow("read-only") << "read-only";
    QTest::newRow("damaged") << "damaged";
    QTest::newRow("disk full") << "full";
}

void tst_Journal::faultsNeverStopTheWork()
{
    QFETCH(QString, fault);
    JournalSettings journalSettings = settings(Backend::Sqlite);
    const QString folder = m_dir->filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(folder));
    journalSettings.databasePath = folder + QStringLiteral("/journal.sqlite");
    const bool root = runsAsRoot();
    if (fault == QLatin1String("full") || (fault == QLatin1String("read-only") && root)) {
        // A tiny file system of its own; root writes through file modes, not through a read-only mount.
        if (!root || QProcess::execute(QStringLiteral("mount"), {"-t", "tmpfs", "-o", "size=1m", "tmpfs", folder}) != 0)
            QSKIP("a small file system cannot be mounted here");
        m_mounts << folder;
    }
    {
        // Some entries before the fault, so that the file exists and has pages to lose.
        Journal before(journalSettings);
        before.append(sampleEntries(20));
        QVERIFY(before.flush(20000));
    }

    QSqlDatabase locker;
    if (fault == QLatin1String("locked")) {
        locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
        locker.setDatabaseName(journalSettings.databasePath);
        QVERIFY(locker.open());
        QVERIFY(QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
    } else if (fault == QLatin1String("read-only")) {
        if (root)
            QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,ro", folder}), 0);
        else
            QVERIFY(QFile::setPermissions(journalSettings.databasePath, QFile::ReadOwner));
    } else if (fault == QLatin1String("damaged")) {
        QFile file(journalSettings.databasePath);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(0));
        file.write(QByteArray(4096, 'x'));
    } else if (fault == QLatin1String("full")) {
        QFile filler(folder + QStringLiteral("/filler"));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(1024, 'f')) > 0 && filler.flush()) {
        }
    }

    const QList<JournalEntry> entries = sampleEntries(200, 1000);
    auto journal = std::make_unique<Journal>(journalSettings);
    QSignalSpy unavailable(journal.get(), &Journal::unavailable);
    QSignalSpy setAside(journal.get(), &Journal::damagedFileSetAside);
    journal->append(entries.mid(0, 100));
    journal->append(entries.mid(100));
    if (fault == QLatin1String("damaged")) {
        // A damaged file is kept aside with a copy, and a new one takes the entries at once.
        QVERIFY(journal->flush(20000));
        QTRY_COMPARE(setAside.size(), 1);
        const QString kept = setAside.first().first().toString();
        QVERIFY(QFile::exists(kept));
        QVERIFY(QFile::exists(kept + QStringLiteral(".copy")));
        QCOMPARE(journal->count(), 200);
        return;
    }
    QVERIFY(!journal->flush(1000));
    QCOMPARE(journal->pendingCount(), 200);
    journal->append(sampleEntry(5000));
    QVERIFY(!journal->flush(500));
    QTRY_COMPARE(unavailable.size(), 1);

    if (fault == QLatin1String("locked")) {
        QVERIFY(QSqlQuery(locker).exec("ROLLBACK"));
        locker.close();
        locker = {};
        QSqlDatabase::removeDatabase("locker");
    } else if (fault == QLatin1String("read-only")) {
        if (root)
            QCOMPARE(QProcess::execute(QStringLiteral("mount"), {"-o", "remount,rw", folder}), 0);
        else
            QVERIFY(QFile::setPermissions(journalSettings.databasePath, QFile::ReadOwner | QFile::WriteOwner));
    } else if (fault == QLatin1String("full")) {
        QVERIFY(QFile::remove(folder + QStringLiteral("/filler")));
    }
    QSignalSpy recovered(journal.get(), &Journal::recovered);
    QVERIFY(journal->flush(20000));
    QTRY_COMPARE(recovered.size(), 1);
    QCOMPARE(journal->pendingCount(), 0);
    QCOMPARE(journal->count(), 20 + 201);
    QCOMPARE(unavailable.size(), 1); // said once for the run
    journal.reset();
}

void tst_Journal::entriesWaitForTheServerAndGoUpOnce()
{
    if (!m_cluster)
        QSKIP(qPrintable(QStringLiteral("no PostgreSQL cluster: ") + m_clusterError));
    JournalSettings journalSettings = settings(Backend::Postgres);
    QVERIFY(journalSettings.usesServer());
    JournalSettings unreachable = journalSettings;
    unreachable.server.port = m_cluster->port() == 1 ? 2 : 1; // nobody listens there
    {
        Journal journal(unreachable);
        QSignalSpy unavailable(&journal, &Journal::unavailable);
        journal.append(sampleEntries(30));
        QVERIFY(!journal.flush(1500));
        QTRY_COMPARE(unavailable.size(), 1);
        // Kept in the local file meanwhile, and readable from it.
        QCOMPARE(journal.pendingCount(), 0);
        QCOMPARE(journal.count(), 30);
    }
    Journal journal(journalSettings);
    journal.append(sampleEntry(30));
    QVERIFY(journal.flush(20000));
    PostgresJournalStorage server(journalSettings.server);
    QString error;
    QVERIFY2(server.open(&error), qPrintable(error));
    QCOMPARE(server.count({}, &error), 31);
}

void tst_Journal::serverGoingAwayMidBatchLosesNothing()
{
    if (!m_cluster)
        QSKIP(qPrintable(QStringLiteral("no PostgreSQL cluster: ") + m_clusterError));
    const JournalSettings journalSettings = settings(Backend::Postgres);
    QVERIFY(journalSettings.usesServer());
    Journal journal(journalSettings);
    QSignalSpy unavailable(&journal, &Journal::unavailable);
    const QList<JournalEntry> entries = sampleEntries(2000);
    for (int i = 0; i < 2000; i += 50) {
        journal.append(entries.mid(i, 50));
        if (i == 1000)
            QVERIFY(m_cluster->stop());
    }
    QVERIFY(!journal.flush(1000));
    QTRY_COMPARE(unavailable.size(), 1);
    QString error;
    QVERIFY2(m_cluster->restart(&error), qPrintable(error));
    QVERIFY(journal.flush(30000));
    PostgresJournalStorage server(journalSettings.server);
    QVERIFY2(server.open(&error), qPrintable(error));
    QCOMPARE(server.count({}, &error), 2000);
    SqliteJournalStorage local(journalSettings.databasePath);
    QVERIFY(local.open(&error));
    QVERIFY(local.pendingUploads(10, &error).isEmpty());
}

// As a second program: writes 150 entries of its own in small batches, then waits for them.
static int writeAsSecondProgram(int program)
{
    JournalSettings settings;
    settings.databasePath = qEnvironmentVariable("JOURNAL_TEST_FILE");
    const QStringList server = qEnvironmentVariable("JOURNAL_TEST_SERVER").split(QLatin1Char(':'));
    if (server.size() == 4) {
        settings.server.host = server.at(0);
        settings.server.port = server.at(1).toInt();
        settings.server.database = server.at(2);
        settings.server.user = server.at(3);
        settings.takePasswordFromEnvironment();
    }
    Journal journal(settings);
    for (int i = 0; i < 150; i += 10) {
        QList<JournalEntry> entries;
        for (int k = i; k < i + 10; ++k) {
            JournalEntry entry = sampleEntry(k);
            entry.serialNumber = QStringLiteral("DS-%1%2").arg(program).arg(k, 4, 10, QLatin1Char('0'));
            entries << entry;
        }
        journal.append(entries);
        QThread::msleep(2);
    }
    return journal.flush(30000) ? 0 : 1;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet("JOURNAL_TEST_WRITER"))
        return writeAsSecondProgram(qEnvironmentVariableIntValue("JOURNAL_TEST_WRITER"));
    tst_Journal test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_journal.moc"

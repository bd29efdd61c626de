// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The journal window over a journal of its own: what its filter controls pass, the pages it
// reads, the exports, and the hand-over report's PDF read back with pdftotext.

#include <handoverreport.h>
#include <journalexport.h>
#include <journalpagemodel.h>
#include <journalwindow.h>

#include <deviceinfo.h>
#include <journal.h>

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace VexoTool;

namespace {

constexpr int kEntries = 1000;
const QDateTime kNewest = QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);

// Entry i: device i % 60, ten minutes before entry i - 1; every seventh failed; addresses
// 10.0.(i % 4).x before and 10.9.(i % 4).x after.
JournalEntry entryNumber(int i)
{
    const QList<JournalFlow> flows = allJournalFlows();
    JournalEntry entry = JournalEntry::make(flows.at(i % flows.size()));
    entry.time = kNewest.addSecs(-600LL * i);
    entry.serialNumber = QStringLiteral("VX-IPC-%1").arg(i % 60, 4, 10, QLatin1Char('0'));
    entry.mac = QStringLiteral("00-1a-2b-00-00-%1").arg(i % 60, 2, 16, QLatin1Char('0'));
    entry.model = QStringLiteral("VX-IPC-B420");
    entry.protocol = QStringLiteral("VXDP");
    entry.verification = QStringLiteral("verified");
    entry.before.ipv4Address = QStringLiteral("10.0.%1.%2").arg(i % 4).arg(i % 60 + 10);
    entry.after.ipv4Address = QStringLiteral("10.9.%1.%2").arg(i % 4).arg(i % 60 + 10);
    entry.result = i % 7 == 3 ? JournalResult::Failed : JournalResult::Succeeded;
    if (entry.result == JournalResult::Failed)
        entry.explanation = QStringLiteral("Error 2011: no answer");
    return entry;
}

QStringList pdfText(const QString &path)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    return QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QLatin1Char('\n'));
}

} // namespace

class tst_JournalWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void filterControls_data();
    void filterControls();
    void pagesAreReadAsShown();
    void exportsTheFilteredEntries();
    void reportHoldsDevicesChangesAndOpenFailures_data();
    void reportHoldsDevicesChangesAndOpenFailures();

private:
    QTemporaryDir m_dir;
    std::unique_ptr<Journal> m_journal;
    QList<JournalEntry> m_entries;
    std::unique_ptr<JournalWindow> m_window;
};

void tst_JournalWindow::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    JournalSettings settings;
    settings.databasePath = m_dir.filePath(QStringLiteral("journal.sqlite"));
    settings.keepDays = 0; // the entries' dates lie in the past
    m_journal = std::make_unique<Journal>(settings);
    for (int i = 0; i < kEntries; ++i)
        m_entries.append(entryNumber(i));
    m_journal->append(m_entries);
    QVERIFY(m_journal->flush(20000));
    QCOMPARE(m_journal->count(), qint64(kEntries));
}

void tst_JournalWindow::init()
{
    m_window = std::make_unique<JournalWindow>(*m_journal, nullptr);
}

void tst_JournalWindow::cleanup()
{
    m_window.reset();
}

void tst_JournalWindow::filterControls_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("flow");
    QTest::addColumn<QString>("result");
    QTest::addColumn<int>("ranges");

    QTest::addRow("nothing chosen: every entry") << ""
                                                 << ""
                                                 << "" << 0;
    QTest::addRow("a serial number") << "vx-ipc-0007"
                                     << ""
                                     << "" << 0;
    QTest::addRow("one network, before or after") << "10.0.2.0/24"
                                                  << ""
                                                  << "" << 1;
    QTest::addRow("two ranges, separated by a comma") << "10.0.1.0/24, 10.9.3.10-10.9.3.20"
                                                      << ""
                                                      << "" << 2;
    QTest::addRow("no range: searched as text") << "10.0.1.0/33"
                                                << ""
                                                << "" << 0;
    QTest::addRow("a range and a word: searched as text") << "10.0.1.0/24, camera"
                                                          << ""
                                                          << "" << 0;
    QTest::addRow("one operation") << ""
                                   << "reboot"
                                   << "" << 0;
    QTest::addRow("failures of one network") << "10.0.3.0/24"
                                             << ""
                                             << "failed" << 1;
}

void tst_JournalWindow::filterControls()
{
    QFETCH(QString, text);
    QFETCH(QString, flow);
    QFETCH(QString, result);
    QFETCH(int, ranges);
    const auto combo = [this](const char *name) {
        return m_window->findChild<QComboBox *>(QLatin1String(name));
    };
    m_window->findChild<QLineEdit *>(QStringLiteral("m_lineEditFilter"))->setText(text);
    if (!flow.isEmpty())
        combo("m_comboFlow")->setCurrentIndex(combo("m_comboFlow")->findData(flow));
    if (!result.isEmpty())
        combo("m_comboResult")->setCurrentIndex(combo("m_comboResult")->findData(result));
    m_window->refresh();
    QTRY_VERIFY(!m_window->model()->isBusy());

    const JournalFilter filter = m_window->currentFilter();
    QCOMPARE(filter.ipv4Ranges.size(), qsizetype(ranges));
    QCOMPARE(filter.text.isEmpty(), ranges > 0 || text.isEmpty());
    const auto expected = std::count_if(m_entries.cbegin(), m_entries.cend(),
                                        [&filter](const JournalEntry &entry) { return filter.matches(entry); });
    QVERIFY(text.isEmpty() || expected < kEntries);
    QCOMPARE(m_window->model()->rowCount(), int(expected));
    // Newest first, and every row passes.
    QDateTime previous = kNewest.addSecs(1);
    for (int row = 0; row < m_window->model()->rowCount(); ++row) {
        QTRY_VERIFY(m_window->model()->entry(row)); // its page is read on the model's thread
        const JournalEntry *entry = m_window->model()->entry(row);
        QVERIFY(filter.matches(*entry));
        QVERIFY(entry->time < previous);
        previous = entry->time;
    }
}

void tst_JournalWindow::pagesAreReadAsShown()
{
    JournalPageModel model(*m_journal);
    QSignalSpy counted(&model, &JournalPageModel::counted);
    QSignalSpy arrived(&model, &QAbstractItemModel::dataChanged);
    model.setFilter({});
    QVERIFY(counted.wait());
    QCOMPARE(model.rowCount(), kEntries);
    QCOMPARE(model.pagesRead(), 0);
    // A row is empty until its page arrives; then the rows of that page change.
    QVERIFY(!model.entry(kEntries - 1));
    QVERIFY(arrived.wait());
    QCOMPARE(arrived.first().at(1).value<QModelIndex>().row(), kEntries - 1);
    QCOMPARE(model.entry(kEntries - 1)->serialNumber, m_entries.last().serialNumber);
    QTRY_VERIFY(model.entry(0));
    QCOMPARE(model.entry(0)->serialNumber, m_entries.first().serialNumber);
    QCOMPARE(model.entry(1)->serialNumber, m_entries.at(1).serialNumber);
    QCOMPARE(model.pagesRead(), 2);
    QVERIFY(!model.entry(kEntries));
}

void tst_JournalWindow::exportsTheFilteredEntries()
{
    JournalFilter failed;
    failed.result = JournalResult::Failed;
    const qint64 count = m_journal->count(failed);
    const QString csvPath = m_dir.filePath(QStringLiteral("failed.csv"));
    QString error;
    QVERIFY2(JournalExport::writeCsv(*m_journal, failed, csvPath, &error), qPrintable(error));
    QFile csv(csvPath);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = csv.readAll().trimmed().split('\n');
    QCOMPARE(lines.size(), count + 1);
    QVERIFY(lines.at(1).contains("Error 2011"));
    const QString xlsPath = m_dir.filePath(QStringLiteral("failed.xls"));
    QVERIFY2(JournalExport::writeXls(*m_journal, failed, xlsPath, &error), qPrintable(error));
    QVERIFY(QFile(xlsPath).size() > 512 * 8);
}

void tst_JournalWindow::reportHoldsDevicesChangesAndOpenFailures_data()
{
    QTest::addColumn<int>("newest"); // the period: from entry "oldest" to entry "newest", by number
    QTest::addColumn<int>("oldest");

    // The period names the last operation of forty devices; the other twenty are asked one by one.
    QTest::addRow("the last forty entries") << -1 << 39;
    // Every device with a failure is asked: more than are asked one by one, so the journal is read once.
    QTest::addRow("forty entries of last week") << 900 << 939;
}

void tst_JournalWindow::reportHoldsDevicesChangesAndOpenFailures()
{
    QFETCH(int, newest);
    QFETCH(int, oldest);
    QVector<VEXO_DEVICE_INFO> records(3);
    for (int d = 0; d < records.size(); ++d) {
        setFieldText(records[d].serialNumber, QStringLiteral("VX-NVR-90%1").arg(d).toLatin1());
        setFieldText(records[d].macAddress, QStringLiteral("00-1a-2b-99-00-0%1").arg(d).toLatin1());
        setFieldText(records[d].ipv4Address, QStringLiteral("192.168.7.%1").arg(20 - d).toLatin1());
        setFieldText(records[d].softwareVersion, QByteArray("V5.7.1"));
        setFieldText(records[d].leadText, QByteArray("VXDP/1"));
    }
    HandoverReport report;
    report.site = QStringLiteral("Harbour depot");
    report.from = kNewest.addSecs(-600LL * oldest);
    if (newest >= 0)
        report.until = kNewest.addSecs(-600LL * (newest - 1)); // before entry newest - 1
    // The list's snapshot view holds a picture of one camera: the report shows it under its serial number.
    QImage picture(320, 180, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    report.devices = HandoverReport::inventory(records, [&picture](const VEXO_DEVICE_INFO &record) {
        return fieldText(record.serialNumber) == QLatin1String("VX-NVR-901") ? picture : QImage();
    });
    QVERIFY(report.readJournal(*m_journal));
    QCOMPARE(report.changes.size(), qsizetype(40));
    QCOMPARE(report.devices.first().serialNumber, QStringLiteral("VX-NVR-902")); // lowest address first

    // Open: the devices whose newest entry failed, and no other.
    QSet<QString> open;
    QSet<QString> seen;
    for (const JournalEntry &entry : std::as_const(m_entries)) {
        if (!seen.contains(entry.serialNumber) && entry.result == JournalResult::Failed)
            open.insert(entry.serialNumber);
        seen.insert(entry.serialNumber);
    }
    QSet<QString> reported;
    for (const JournalEntry &entry : std::as_const(report.openFailures))
        reported.insert(entry.serialNumber);
    QCOMPARE(reported, open);
    QVERIFY(!open.isEmpty());

    const QString pdf = m_dir.filePath(QStringLiteral("handover.pdf"));
    QString error;
    QVERIFY2(report.writePdf(pdf, &error), qPrintable(error));
    QVERIFY2(report.writeXls(HandoverReport::workbookPathBeside(pdf), &error), qPrintable(error));
    QVERIFY(QFile::exists(m_dir.filePath(QStringLiteral("handover.xls"))));
    const QString text = pdfText(pdf).join(QLatin1Char('\n'));
    QVERIFY(text.contains(QStringLiteral("Harbour depot")));
    QVERIFY(text.contains(QStringLiteral("Snapshots (1)")));
    QProcess images;
    images.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    QVERIFY(images.waitForFinished(30000));
    const QList<QByteArray> imageLines = images.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(imageLines.size(), 3); // two header lines, one picture
    for (const ReportDevice &device : std::as_const(report.devices)) {
        QVERIFY2(text.contains(device.serialNumber), qPrintable(device.serialNumber));
        QVERIFY2(text.contains(device.firmware), qPrintable(device.firmware));
    }
    // Every change: its device and its time (cells may wrap, so each on its own).
    for (const JournalEntry &entry : std::as_const(report.changes)) {
        QVERIFY2(text.contains(entry.serialNumber), qPrintable(entry.serialNumber));
        const QString time = entry.localTime().toString(QStringLiteral("HH:mm:ss"));
        QVERIFY2(text.contains(time), qPrintable(time));
    }
}

QTEST_MAIN(tst_JournalWindow)
#include "tst_journalwindow.moc"

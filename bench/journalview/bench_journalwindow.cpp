// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The journal window over 100,000 entries: opening it, a change of the filter text and of the
// operation, scrolling to the oldest entry; then the hand-over report of 1,000 devices and
// 10,000 changes as PDF and .xls. Prints the times beside their targets.
//
// Targets: the window opens within 300 ms, a filter change within 100 ms, the report within 5 s.

#include <handoverreport.h>
#include <journalpagemodel.h>
#include <journalwindow.h>

#include <deviceinfo.h>
#include <journal.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

using namespace VexoTool;

namespace {

constexpr int kEntries = 100000;
constexpr int kDevices = 1000;
constexpr int kChanges = 10000;
const QDateTime kNewest = QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);

JournalEntry entryNumber(int i)
{
    const QList<JournalFlow> flows = allJournalFlows();
    JournalEntry entry = JournalEntry::make(flows.at(i % flows.size()));
    entry.time = kNewest.addSecs(-10LL * i);
    entry.serialNumber = QStringLiteral("VX-IPC-B420-%1").arg(20260000 + i % kDevices);
    entry.mac = QStringLiteral("00-1a-2b-%1").arg(i % kDevices, 6, 16, QLatin1Char('0'));
    entry.model = QStringLiteral("VX-IPC-B420");
    entry.protocol = QStringLiteral("VXDP");
    entry.verification = QStringLiteral("verified");
    entry.before.ipv4Address = QStringLiteral("10.0.%1.%2").arg((i % kDevices) / 250).arg(i % 250 + 1);
    entry.before.ipv4Mask = QStringLiteral("255.255.255.0");
    entry.after = entry.before;
    entry.after.ipv4Address = QStringLiteral("10.1.%1.%2").arg((i % kDevices) / 250).arg(i % 250 + 1);
    entry.result = i % 13 == 5 ? JournalResult::Failed : JournalResult::Succeeded;
    if (entry.result == JournalResult::Failed)
        entry.explanation = QStringLiteral("Error 2011: no answer");
    return entry;
}

// Until the rows in view are painted: the count arrives, then the pages those rows are on (the
// window reads the journal on a thread of its own).
void shown(JournalWindow &window)
{
    auto *view = window.findChild<QTableView *>();
    for (int round = 0; round < 2; ++round) {
        while (window.model()->isBusy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        view->viewport()->repaint();
    }
}

bool report(const char *label, double ms, double targetMs, bool done = true)
{
    const bool met = done && ms <= targetMs;
    std::printf("%-34s %9.1f ms  (goal <= %.0f ms) %s\n", label, ms, targetMs, met ? "ok" : done ? "MISSED" : "FAILED");
    return met;
}

double elapsedMs(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    JournalSettings settings;
    settings.databasePath = dir.filePath(QStringLiteral("journal.sqlite"));
    settings.keepDays = 0;
    Journal journal(settings);
    for (int start = 0; start < kEntries; start += 10000) {
        QList<JournalEntry> entries;
        for (int i = start; i < start + 10000; ++i)
            entries.append(entryNumber(i));
        journal.append(entries);
    }
    if (!journal.flush(120000) || journal.count() != kEntries) {
        std::fprintf(stderr, "the journal did not take %d entries\n", kEntries);
        return 1;
    }

    bool met = true;
    QElapsedTimer timer;
    timer.start();
    JournalWindow window(journal, nullptr);
    window.show();
    QCoreApplication::processEvents();
    shown(window);
    met = report("window opens on 100,000 entries", elapsedMs(timer), 300, window.model()->rowCount() == kEntries)
          && met;

    auto *filter = window.findChild<QLineEdit *>(QStringLiteral("m_lineEditFilter"));
    timer.restart();
    filter->setText(QStringLiteral("10.1.2.0/24"));
    window.refresh();
    shown(window);
    met = report("filter text: one network", elapsedMs(timer), 100, window.model()->rowCount() > 0) && met;

    timer.restart();
    filter->setText(QStringLiteral("VX-IPC-B420-20260042"));
    window.refresh();
    shown(window);
    met = report("filter text: one device", elapsedMs(timer), 100, window.model()->rowCount() == kEntries / kDevices)
          && met;

    filter->clear();
    auto *flows = window.findChild<QComboBox *>(QStringLiteral("m_comboFlow"));
    timer.restart();
    flows->setCurrentIndex(2); // applies at once
    shown(window);
    met = report("filter: one operation", elapsedMs(timer), 100, window.model()->rowCount() > 0) && met;

    flows->setCurrentIndex(0);
    timer.restart();
    window.findChild<QTableView *>()->scrollToBottom();
    shown(window);
    met = report("scroll to the oldest entry", elapsedMs(timer), 100, true) && met;

    QVector<VEXO_DEVICE_INFO> records(kDevices);
    for (int d = 0; d < kDevices; ++d) {
        setFieldText(records[d].serialNumber, QStringLiteral("VX-IPC-B420-%1").arg(20260000 + d).toLatin1());
        setFieldText(records[d].macAddress, QStringLiteral("00-1a-2b-%1").arg(d, 6, 16, QLatin1Char('0')).toLatin1());
        setFieldText(records[d].ipv4Address, QStringLiteral("10.1.%1.%2").arg(d / 250).arg(d % 250 + 1).toLatin1());
        setFieldText(records[d].softwareVersion, QByteArray("V5.7.1 build 260101"));
        setFieldText(records[d].deviceTypeText, QByteArray("VX-IPC-B420"));
    }
    timer.restart();
    HandoverReport handover;
    handover.site = QStringLiteral("Bench site");
    handover.from = kNewest.addSecs(-10LL * kChanges + 1);
    handover.devices = HandoverReport::inventory(records);
    QString error;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    QElapsedTimer part;
    part.start();
    bool written = handover.readJournal(journal, &error);
    const double readMs = elapsedMs(part);
    part.restart();
    written = written && handover.writePdf(pdf, &error);
    const double pdfMs = elapsedMs(part);
    part.restart();
    written = written && handover.writeXls(HandoverReport::workbookPathBeside(pdf), &error);
    std::printf("  (journal read %.0f ms, PDF %.0f ms, .xls %.0f ms)\n", readMs, pdfMs, elapsedMs(part));
    if (!written)
        std::fprintf(stderr, "%s\n", qPrintable(error));
    const double reportMs = elapsedMs(timer);
    met = report("report: 1,000 devices, 10,000 changes", reportMs, 5000,
                 written && handover.changes.size() == kChanges)
          && met;
    return met ? 0 : 1;
}

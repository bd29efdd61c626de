// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The site journal with 100,000 entries: opening it on its newest page, paging to the end, and
// a filter change (text, address range, flow); then what writing 1,000 entries one by one costs
// the caller, and how long until they are stored. On the embedded file, and on a throwaway
// PostgreSQL cluster on loopback where its programs are installed.
//
// Targets: the window opens on 100,000 entries within 300 ms (count and first page), a filter
// change within 100 ms, any page within 100 ms; 1,000 appends cost the caller at most 50 ms
// (5 % of a one-second batch; a batch of 1,000 devices takes far longer) and are stored within
// 2 s.

#include "postgrescluster.h"

#include <journal.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

using namespace VexoTool;

namespace {

constexpr int kEntries = 100000;
constexpr int kPage = 100;
constexpr double kOpenTargetMs = 300.0;
constexpr double kFilterTargetMs = 100.0;
constexpr double kPageTargetMs = 100.0;
constexpr double kAppendTargetMs = 50.0;
constexpr double kStoredTargetMs = 2000.0;

JournalEntry entry(int i, const QDateTime &start)
{
    JournalEntry e = JournalEntry::make(i % 7 ? JournalFlow::BatchNetworkChange : JournalFlow::Activation);
    e.time = start.addSecs(i);
    e.serialNumber = QStringLiteral("VX-IPC-B420-%1").arg(20260000 + i);
    e.mac = QStringLiteral("00:1a:2b:%1:%2:%3")
                .arg((i >> 16) & 255, 2, 16, QLatin1Char('0'))
                .arg((i >> 8) & 255, 2, 16, QLatin1Char('0'))
                .arg(i & 255, 2, 16, QLatin1Char('0'));
    e.model = i % 3 ? QStringLiteral("VX-IPC-B420") : QStringLiteral("VX-NVR-3104");
    e.protocol = QStringLiteral("VXDP");
    e.verification = QStringLiteral("verified");
    e.before.ipv4Address = QStringLiteral("10.%1.%2.%3").arg(i >> 16).arg((i >> 8) & 255).arg(i & 255);
    e.before.ipv4Mask = QStringLiteral("255.255.0.0");
    e.before.dhcp = false;
    e.after = e.before;
    e.after.ipv4Address = QStringLiteral("172.16.%1.%2").arg((i >> 8) & 255).arg(i & 255);
    e.result = i % 50 ? JournalResult::Succeeded : JournalResult::Failed;
    e.explanation = e.result == JournalResult::Failed ? QStringLiteral("no answer in time") : QString();
    return e;
}

bool figure(const QString &name, double ms, double goalMs, const QString &note = {})
{
    const bool met = ms <= goalMs;
    std::printf("%-52s %8.1f ms  (goal <= %.0f ms) %s%s%s\n", qPrintable(name), ms, goalMs, met ? "ok" : "MISSED",
                note.isEmpty() ? "" : "  ", qPrintable(note));
    return met;
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

bool run(const char *backend, const JournalSettings &settings)
{
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-30);
    {
        Journal fill(settings);
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kEntries; i += 1000) {
            QList<JournalEntry> batch;
            for (int k = i; k < i + 1000; ++k)
                batch.append(entry(k, start));
            fill.append(batch);
        }
        if (!fill.flush(600000)) {
            std::printf("%s: the entries were not stored\n", backend);
            return false;
        }
        std::printf("%s: %d entries written in %.0f ms\n", backend, kEntries, msSince(timer));
    }

    bool met = true;
    const QString prefix = QString::fromLatin1(backend) + QStringLiteral(" 100k: ");
    QElapsedTimer timer;
    timer.start();
    auto journal = std::make_unique<Journal>(settings);
    const qint64 total = journal->count();
    const JournalPage first = journal->query({}, 0, kPage);
    met = figure(prefix + QStringLiteral("open, count and newest page"), msSince(timer), kOpenTargetMs,
                 QStringLiteral("%1 entries").arg(total))
          && met;
    if (total != kEntries || first.entries.size() != kPage)
        return false;

    for (const int offset : {kEntries / 2, kEntries - kPage}) {
        timer.restart();
        const JournalPage page = journal->query({}, offset, kPage);
        met = figure(prefix + QStringLiteral("page at %1").arg(offset), msSince(timer), kPageTargetMs) && met;
        met = met && page.entries.size() == kPage;
    }

    JournalFilter text;
    text.text = QStringLiteral("B420-2026777");
    JournalFilter range;
    range.ipv4Ranges = {{journalIpv4Number(QStringLiteral("10.1.0.0")).value(),
                         journalIpv4Number(QStringLiteral("10.1.0.255")).value()}};
    JournalFilter failed;
    failed.result = JournalResult::Failed;
    failed.flows = {JournalFlow::Activation};
    const std::pair<const char *, JournalFilter> filters[] = {{"filter change, text", text},
                                                              {"filter change, address range", range},
                                                              {"filter change, flow and result", failed}};
    for (const auto &[name, filter] : filters) {
        timer.restart();
        const qint64 count = journal->count(filter);
        const JournalPage page = journal->query(filter, 0, kPage);
        met = figure(prefix + QLatin1String(name), msSince(timer), kFilterTargetMs,
                     QStringLiteral("%1 entries").arg(count))
              && met;
        met = met && page.ok;
    }

    // A batch writing its entries one device at a time, as the flows do.
    QList<JournalEntry> batch;
    for (int i = 0; i < 1000; ++i)
        batch.append(entry(kEntries + i, QDateTime::currentDateTimeUtc()));
    qint64 callerNs = 0;
    QElapsedTimer stored;
    stored.start();
    for (const JournalEntry &e : std::as_const(batch)) {
        timer.restart();
        journal->append(e);
        callerNs += timer.nsecsElapsed();
        QThread::usleep(200); // the devices' own time between entries, short as on a fast network
    }
    met = figure(prefix + QStringLiteral("1,000 appends, caller's time"), double(callerNs) / 1e6, kAppendTargetMs)
          && met;
    const bool flushed = journal->flush(60000);
    met = figure(prefix + QStringLiteral("1,000 appends, stored after"), msSince(stored), kStoredTargetMs) && met;
    return met && flushed && journal->count() == kEntries + 1000;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    JournalSettings local;
    local.databasePath = dir.filePath(QStringLiteral("journal.sqlite"));
    bool met = run("SQLite", local);

    PostgresCluster cluster;
    QString error;
    if (!cluster.start(&error) || !cluster.createDatabase(QStringLiteral("bench"), &error)) {
        std::printf("PostgreSQL: not measured (%s)\n", qPrintable(error));
        return met ? 0 : 1;
    }
    JournalSettings shared;
    shared.databasePath = dir.filePath(QStringLiteral("shared-queue.sqlite"));
    shared.server.host = cluster.host();
    shared.server.port = cluster.port();
    shared.server.database = QStringLiteral("bench");
    shared.server.user = cluster.user();
    shared.server.password = cluster.password();
    met = run("PostgreSQL", shared) && met;
    return met ? 0 : 1;
}

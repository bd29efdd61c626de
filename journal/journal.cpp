// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journal.h"

#include "journalwriter.h"
#include "postgresjournalstorage.h"
#include "sqlitejournalstorage.h"

#include <QThread>

namespace VexoTool {

namespace {
// How long closing the journal waits for entries still being written.
constexpr int CloseWaitMs = 3000;
// How long a first query waits for the file to be opened (a locked file takes seconds).
constexpr int OpenWaitMs = 5000;
} // namespace

Journal::Journal(const JournalSettings &settings, QObject *parent)
    : QObject(parent)
    , m_writer(std::make_unique<JournalWriter>(settings))
    , m_settings(settings)
    , m_thread(new QThread(this))
{
    m_settings.databasePath = m_writer->local()->location();
    m_thread->setObjectName(QStringLiteral("journal"));
    m_writer->moveToThread(m_thread);
    connect(m_writer.get(), &JournalWriter::unavailable, this, &Journal::unavailable);
    connect(m_writer.get(), &JournalWriter::recovered, this, &Journal::recovered);
    connect(m_writer.get(), &JournalWriter::expiredRemoved, this, &Journal::expiredRemoved);
    connect(m_writer.get(), &JournalWriter::damagedFileSetAside, this, &Journal::damagedFileSetAside);
    m_thread->start();
    // Opens the file and removes expired entries before the first entry comes.
    QMetaObject::invokeMethod(m_writer.get(), &JournalWriter::work, Qt::QueuedConnection);
}

Journal::~Journal()
{
    // The local file queues what the server has not got yet: the next run sends it.
    m_writer->waitUntilStored(CloseWaitMs, false);
    QMetaObject::invokeMethod(m_writer.get(), &JournalWriter::shutdown, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    m_writer.reset();
}

void Journal::append(const JournalEntry &entry)
{
    m_writer->enqueue({entry});
}

void Journal::append(const QList<JournalEntry> &entries)
{
    m_writer->enqueue(entries);
}

JournalPage Journal::query(const JournalFilter &filter, int offset, int limit) const
{
    // A new file gets its tables from the writing thread first.
    m_writer->waitUntilOpened(OpenWaitMs);
    if (PostgresJournalStorage *server = m_writer->server(); server && m_writer->serverReachable()) {
        JournalPage page = server->query(filter, offset, limit);
        if (page.ok)
            return page;
    }
    return m_writer->local()->query(filter, offset, limit);
}

qint64 Journal::count(const JournalFilter &filter) const
{
    m_writer->waitUntilOpened(OpenWaitMs);
    if (PostgresJournalStorage *server = m_writer->server(); server && m_writer->serverReachable()) {
        if (const std::optional<qint64> found = server->count(filter, nullptr))
            return *found;
    }
    return m_writer->local()->count(filter, nullptr).value_or(-1);
}

bool Journal::flush(int timeoutMs)
{
    return m_writer->waitUntilStored(timeoutMs);
}

int Journal::pendingCount() const
{
    return m_writer->pendingCount();
}

QList<JournalEntry> Journal::pendingEntries() const
{
    return m_writer->pendingEntries();
}

bool Journal::isAvailable() const
{
    return m_writer->isAvailable();
}

JournalSettings Journal::settings() const
{
    JournalSettings settings = m_settings;
    settings.server.password.clear();
    return settings;
}

QString Journal::databasePath() const
{
    return m_settings.databasePath;
}

} // namespace VexoTool

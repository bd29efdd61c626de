// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalentry.h"
#include "journalfilter.h"
#include "journalsettings.h"

#include <QObject>

class QThread;

#include <memory>

namespace VexoTool {

class JournalWriter;

/**
 * @brief The site journal: one entry per operation per device, kept in the local file or on the
 *        team's server.
 *
 * append() never blocks and never fails the caller: entries are written by a thread of the
 * journal's own. When the store cannot be written (locked, read-only, damaged, full, or the
 * server gone) the entries stay in memory and are written as soon as it can be; unavailable()
 * is emitted once per run. With a server, entries go into the local file first and are sent
 * from there, once each.
 *
 * query() and count() run in the calling thread on a connection of its own; with a server
 * they read the server, and the local file while the server cannot be reached (as the last
 * attempt to write to it found), so call them from a worker thread where waiting matters.
 */
class Journal : public QObject
{
    Q_OBJECT
public:
    /** @brief Opens the journal of @p settings in the background and removes expired entries. */
    explicit Journal(const JournalSettings &settings, QObject *parent = nullptr);
    /** @brief Writes what it can of the entries still pending (a few seconds at most). */
    ~Journal() override;

    /** @brief Queues @p entry for writing and returns at once. Thread-safe. */
    void append(const JournalEntry &entry);
    /** @brief Queues @p entries for writing and returns at once. Thread-safe. */
    void append(const QList<JournalEntry> &entries);

    /** @brief At most @p limit entries passing @p filter after skipping @p offset, newest first. */
    JournalPage query(const JournalFilter &filter, int offset = 0, int limit = 100) const;
    /** @brief How many entries pass @p filter; -1 when the journal cannot be read. */
    qint64 count(const JournalFilter &filter = {}) const;

    /**
     * @brief Waits up to @p timeoutMs for every entry appended so far to be stored (and, with a
     *        server, sent). True when they were.
     */
    bool flush(int timeoutMs = 5000);

    /** @brief Entries appended but not yet stored in the local file or on the server. */
    int pendingCount() const;
    /** @brief Those entries themselves, oldest first: a window may show them meanwhile. */
    QList<JournalEntry> pendingEntries() const;
    /** @brief Whether the last write attempt worked. */
    bool isAvailable() const;
    /** @brief The settings it was opened with; the password removed. */
    JournalSettings settings() const;
    /** @brief The local file's path. */
    QString databasePath() const;

signals:
    /**
     * @brief The journal cannot be written for now; emitted once per run. Entries are kept and
     *        written later. @p reason is for the log and messages.
     */
    void unavailable(const QString &reason);
    /** @brief Entries that had waited were written after all. */
    void recovered();
    /** @brief The expired entries removed at start (possibly none). */
    void expiredRemoved(qint64 count);
    /** @brief A damaged file was moved to @p keptPath and a new one started. */
    void damagedFileSetAside(const QString &keptPath);

private:
    std::unique_ptr<JournalWriter> m_writer;
    JournalSettings m_settings;
    QThread *m_thread = nullptr;
};

} // namespace VexoTool

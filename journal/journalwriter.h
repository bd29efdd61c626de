// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalentry.h"
#include "journalsettings.h"

#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <memory>

class QTimer;

namespace VexoTool {

class PostgresJournalStorage;
class SqliteJournalStorage;

/**
 * @brief The journal's writing thread: stores queued entries in the local file, sends the
 *        file's queue to the server, and retries whatever could not be written.
 *
 * Lives in a thread of its own; enqueue(), pendingCount() and waitUntilStored() may be called
 * from any thread.
 */
class JournalWriter : public QObject
{
    Q_OBJECT
public:
    explicit JournalWriter(const JournalSettings &settings);
    ~JournalWriter() override;

    void enqueue(const QList<JournalEntry> &entries);
    int pendingCount() const;
    QList<JournalEntry> pendingEntries() const;
    bool isAvailable() const;
    /** @brief False while the last attempt to reach the server failed. */
    bool serverReachable() const;
    /**
     * @brief Runs write passes until every entry is stored (in the local file or on the server),
     *        and with @p sent also the local file's queue is on the server, or @p timeoutMs passed.
     */
    bool waitUntilStored(int timeoutMs, bool sent = true);
    /** @brief Waits up to @p timeoutMs for the first attempt to open the local file (and make its tables). */
    bool waitUntilOpened(int timeoutMs);

    SqliteJournalStorage *local() const { return m_local.get(); }
    PostgresJournalStorage *server() const { return m_server.get(); }

    /** @brief One write pass; runs in the writer's thread. */
    void work();
    /** @brief Stops retrying and closes the connections; runs in the writer's thread. */
    void shutdown();

signals:
    void unavailable(const QString &reason);
    void recovered();
    void expiredRemoved(qint64 count);
    void damagedFileSetAside(const QString &keptPath);

private:
    bool openLocal();
    bool openServer();
    void removeExpired(class JournalStorage *storage);
    void failed(const QString &reason);
    void localFailed(const QString &error);
    void serverFailed(const QString &error);
    void scheduleRetry();

    JournalSettings m_settings;
    std::unique_ptr<SqliteJournalStorage> m_local;
    std::unique_ptr<PostgresJournalStorage> m_server;
    QTimer *m_retry = nullptr;
    int m_retryMs = 500;
    bool m_localOpen = false;
    bool m_serverOpen = false;
    bool m_serverTried = false;
    bool m_serverExpiredRemoved = false;
    bool m_localExpiredRemoved = false;
    bool m_warned = false;
    bool m_failing = false;
    bool m_stopped = false;

    mutable QMutex m_mutex;
    QWaitCondition m_passDone;
    QList<JournalEntry> m_pending;
    quint64 m_passes = 0;
    bool m_idle = false; // until a pass found nothing left to write or send

    bool m_stored = true;
    bool m_localTried = false;
    bool m_available = true;
    bool m_serverReachable = true;
};

} // namespace VexoTool

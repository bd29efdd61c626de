// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalwriter.h"

#include "postgresjournalstorage.h"
#include "sqlitejournalstorage.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QThread>
#include <QTimer>

Q_LOGGING_CATEGORY(lcJournal, "vexo.journal")

namespace VexoTool {

namespace {
// Entries sent to the server in one transaction.
constexpr int UploadBatch = 500;
constexpr int LongestRetryMs = 30000;
} // namespace

JournalWriter::JournalWriter(const JournalSettings &settings)
    : m_settings(settings)
    , m_local(std::make_unique<SqliteJournalStorage>(
          settings.databasePath.isEmpty() ? JournalSettings::defaultDatabasePath() : settings.databasePath))
    , m_retry(new QTimer(this))
{
    if (settings.usesServer()) {
        m_server = std::make_unique<PostgresJournalStorage>(settings.server);
        m_local->setQueueForUpload(true);
    }
    m_retry->setSingleShot(true);
    connect(m_retry, &QTimer::timeout, this, &JournalWriter::work);
}

JournalWriter::~JournalWriter() = default;

void JournalWriter::enqueue(const QList<JournalEntry> &entries)
{
    if (entries.isEmpty())
        return;
    {
        QMutexLocker lock(&m_mutex);
        m_pending.append(entries);
        m_idle = false;
        m_stored = false;
    }
    QMetaObject::invokeMethod(this, &JournalWriter::work, Qt::QueuedConnection);
}

int JournalWriter::pendingCount() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_pending.size());
}

QList<JournalEntry> JournalWriter::pendingEntries() const
{
    QMutexLocker lock(&m_mutex);
    return m_pending;
}

bool JournalWriter::serverReachable() const
{
    QMutexLocker lock(&m_mutex);
    return m_serverReachable;
}

bool JournalWriter::isAvailable() const
{
    QMutexLocker lock(&m_mutex);
    return m_available;
}

bool JournalWriter::waitUntilOpened(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QMutexLocker lock(&m_mutex);
    while (!m_localTried) {
        if (!m_passDone.wait(&m_mutex, deadline))
            return false;
    }
    return true;
}

bool JournalWriter::waitUntilStored(int timeoutMs, bool sent)
{
    const QDeadlineTimer deadline(timeoutMs);
    QMutexLocker lock(&m_mutex);
    for (;;) {
        if (sent ? m_idle : m_stored)
            return true;
        const quint64 passes = m_passes;
        lock.unlock();
        QMetaObject::invokeMethod(this, &JournalWriter::work, Qt::QueuedConnection);
        lock.relock();
        while (m_passes == passes) {
            if (!m_passDone.wait(&m_mutex, deadline))
                return sent ? m_idle : m_stored;
        }
        if (sent ? m_idle : m_stored)
            return true;
        if (deadline.hasExpired())
            return false;
        lock.unlock();
        QThread::msleep(20);
        lock.relock();
    }
}

void JournalWriter::shutdown()
{
    m_stopped = true;
    m_retry->stop();
    m_local.reset();
    m_server.reset();
}

bool JournalWriter::openLocal()
{
    if (m_localOpen)
        return true;
    QString error;
    m_localOpen = m_local->open(&error);
    if (!m_localOpen && m_local->lastOpenFoundDamage()) {
        QString moveError;
        const QString kept = m_local->setDamagedFileAside(&moveError);
        if (kept.isEmpty()) {
            qCWarning(lcJournal) << "damaged journal" << m_local->location() << "cannot be set aside:" << moveError;
        } else {
            qCWarning(lcJournal) << "damaged journal kept as" << kept << "(" << error << "), starting a new one";
            emit damagedFileSetAside(kept);
            m_localOpen = m_local->open(&error);
        }
    }
    if (!m_localOpen) {
        failed(QStringLiteral("%1: %2").arg(m_local->location(), error));
        return false;
    }
    if (!m_localExpiredRemoved) {
        m_localExpiredRemoved = true;
        removeExpired(m_local.get());
    }
    return true;
}

bool JournalWriter::openServer()
{
    if (m_serverOpen)
        return true;
    QString error;
    m_serverOpen = m_server->open(&error);
    {
        QMutexLocker lock(&m_mutex);
        m_serverReachable = m_serverOpen;
    }
    if (!m_serverOpen) {
        serverFailed(error);
        return false;
    }
    if (!m_serverExpiredRemoved) {
        m_serverExpiredRemoved = true;
        removeExpired(m_server.get());
    }
    return true;
}

void JournalWriter::removeExpired(JournalStorage *storage)
{
    if (m_settings.keepDays <= 0)
        return;
    QString error;
    const QDateTime limit = QDateTime::currentDateTimeUtc().addDays(-m_settings.keepDays);
    const std::optional<qint64> removed = storage->removeBefore(limit, &error);
    if (removed) {
        const QString counted = QStringLiteral("journal %1: %2 entries older than %3 days removed")
                                    .arg(storage->location())
                                    .arg(*removed)
                                    .arg(m_settings.keepDays);
        // Said aloud only when something went; the debug log counts every start.
        if (*removed > 0)
            qCInfo(lcJournal).noquote() << counted;
        else
            qCDebug(lcJournal).noquote() << counted;
        emit expiredRemoved(*removed);
    } else {
        qCWarning(lcJournal) << "expired entries not removed from" << storage->location() << error;
    }
}

void JournalWriter::failed(const QString &reason)
{
    // The first failure is worth a warning; the retries after it only say they still fail.
    if (m_failing)
        qCDebug(lcJournal).noquote() << "journal still not written:" << reason;
    else
        qCWarning(lcJournal).noquote() << "journal not written:" << reason;
    {
        QMutexLocker lock(&m_mutex);
        m_available = false;
    }
    m_failing = true;
    if (!m_warned) {
        m_warned = true;
        emit unavailable(reason);
    }
}

void JournalWriter::scheduleRetry()
{
    if (m_stopped || m_retry->isActive())
        return;
    m_retry->start(m_retryMs);
    m_retryMs = qMin(m_retryMs * 2, LongestRetryMs);
}

void JournalWriter::localFailed(const QString &error)
{
    failed(QStringLiteral("%1: %2").arg(m_local->location(), error));
    m_local->reconnectLater();
    m_localOpen = false;
}

void JournalWriter::serverFailed(const QString &error)
{
    {
        QMutexLocker lock(&m_mutex);
        m_serverReachable = false;
    }
    failed(QStringLiteral("%1: %2").arg(m_server->location(), error));
    m_server->reconnectLater();
    m_serverOpen = false;
}

void JournalWriter::work()
{
    if (m_stopped)
        return;
    bool ok = true;
    QList<JournalEntry> batch;
    {
        QMutexLocker lock(&m_mutex);
        batch = m_pending;
    }
    const bool localReady = openLocal();
    if (!m_localTried) {
        QMutexLocker lock(&m_mutex);
        m_localTried = true;
        m_passDone.wakeAll();
    }
    bool stored = batch.isEmpty();
    if (!stored) {
        QString error;
        stored = localReady && m_local->append(batch, &error);
        if (!stored && localReady)
            localFailed(error); // disk full, locked: opened afresh next time
        if (!stored && m_server && openServer()) {
            // Without the local file the server takes the entries directly.
            stored = m_server->append(batch, &error);
            if (!stored)
                serverFailed(error);
        }
        if (stored) {
            QMutexLocker lock(&m_mutex);
            m_pending.remove(0, batch.size());
        }
        ok = stored;
    }
    if (m_server && m_localOpen && (ok || !m_serverTried)) {
        // The first pass opens the server even with nothing to send, to remove its expired entries.
        m_serverTried = true;
        ok = openServer() && ok;
        while (ok) {
            QString error;
            const QList<JournalEntry> queued = m_local->pendingUploads(UploadBatch, &error);
            if (queued.isEmpty()) {
                if (!error.isEmpty()) {
                    localFailed(error);
                    ok = false;
                }
                break;
            }
            if (!m_server->append(queued, &error)) {
                serverFailed(error);
                ok = false;
                break;
            }
            QList<QUuid> ids;
            for (const JournalEntry &entry : queued)
                ids << entry.id;
            // Sent twice after a failure here is harmless: the server keeps one row per id.
            if (!m_local->markUploaded(ids, &error)) {
                localFailed(error);
                ok = false;
            }
        }
    }
    ok = ok && localReady;
    if (ok && m_failing) {
        m_failing = false;
        m_retryMs = 500;
        qCInfo(lcJournal) << "journal written again";
        emit recovered();
    }
    bool idle = false;
    {
        QMutexLocker lock(&m_mutex);
        if (ok)
            m_available = true;
        idle = ok && m_pending.isEmpty();
        m_idle = idle;
        m_stored = stored && m_pending.isEmpty();
        ++m_passes;
    }
    m_passDone.wakeAll();
    if (!idle)
        scheduleRetry();
}

} // namespace VexoTool

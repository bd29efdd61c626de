// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "sqljournalstorage.h"

#include <QUuid>

#include <atomic>

namespace VexoTool {

/**
 * @brief The journal in one SQLite file (write-ahead log), the default back end.
 *
 * With a shared server the file also queues the entries the server has not yet got: their
 * ids sit in a table of their own until uploaded, so no entry row is ever changed.
 */
class SqliteJournalStorage final : public SqlJournalStorage
{
public:
    explicit SqliteJournalStorage(const QString &path);
    ~SqliteJournalStorage() override;

    QString name() const override { return QStringLiteral("SQLite"); }
    QString location() const override { return m_path; }
    bool open(QString *error) override;

    /**
     * @brief Whether the last failure to open looked like a damaged file (not a database, or
     *        failing its integrity check), as opposed to a locked or read-only one.
     */
    bool lastOpenFoundDamage() const { return m_damaged; }

    /**
     * @brief Moves a damaged file aside as "<name>.damaged-<time>" (its write-ahead log with it)
     *        and keeps a copy, so that a fresh file can be made; the new path of the kept file.
     */
    QString setDamagedFileAside(QString *error);

    /** @brief Marks @p entries as still to be sent to the shared journal (with append()). */
    void setQueueForUpload(bool on) { m_queueForUpload = on; }
    /** @brief The oldest entries not yet sent, at most @p limit. */
    QList<JournalEntry> pendingUploads(int limit, QString *error);
    /** @brief Forgets the queue marks of @p ids once the server has them. */
    bool markUploaded(const QList<QUuid> &ids, QString *error);

protected:
    void configure(QSqlDatabase &db) const override;
    bool prepareConnection(QSqlDatabase &db, QString *error) override;
    QString insertStatement() const override;
    bool afterInsert(QSqlDatabase &db, const QList<JournalEntry> &entries, QString *error) override;

private:
    QString m_path;
    std::atomic<bool> m_damaged = false; // set where a connection is opened, in any thread
    bool m_queueForUpload = false;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalstorage.h"

#include <QMutex>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSet>
#include <QStringList>
#include <QVariantList>

namespace VexoTool {

/**
 * @brief What both database back ends share: one table of entries, a schema version table,
 *        the filter as SQL, and one connection per thread.
 */
class SqlJournalStorage : public JournalStorage
{
public:
    /** @brief The schema this build writes; older ones are brought up to it on open. */
    static constexpr int SchemaVersion = 2;

    ~SqlJournalStorage() override;

    bool append(const QList<JournalEntry> &entries, QString *error) override;
    JournalPage query(const JournalFilter &filter, int offset, int limit) override;
    std::optional<qint64> count(const JournalFilter &filter, QString *error) override;
    std::optional<qint64> removeBefore(const QDateTime &time, QString *error) override;

    /** @brief Opens the calling thread's connection afresh on its next use (after a failure). */
    void reconnectLater();

protected:
    explicit SqlJournalStorage(const QString &driver);

    /** @brief This thread's connection, opened on first use; invalid when it cannot be opened. */
    QSqlDatabase database(QString *error);
    /** @brief Sets the new connection's name, options and credentials before it opens. */
    virtual void configure(QSqlDatabase &db) const = 0;
    /** @brief Runs once on each new connection after it opened (pragmas). */
    virtual bool prepareConnection(QSqlDatabase &db, QString *error);
    /** @brief Creates or migrates the schema; called by open() of the subclass. */
    bool ensureSchema(QSqlDatabase &db, QString *error);
    /** @brief "INTO journal_entries (columns) VALUES (?, ...)", for insertStatement(). */
    static QString insertColumnsSql();
    /** @brief The SQL of "insert, skipping a stored id" for this database. */
    virtual QString insertStatement() const = 0;
    /** @brief Adds the rows of @p entries within the open transaction of @p db. */
    bool insertEntries(QSqlDatabase &db, const QList<JournalEntry> &entries, QString *error);
    /** @brief Runs in the transaction of append() after the rows went in. */
    virtual bool afterInsert(QSqlDatabase &db, const QList<JournalEntry> &entries, QString *error);
    /** @brief The entry columns in the order entryFromRow() reads them, each prefixed by @p table. */
    static QString entryColumnsSql(const QString &table = {});
    /** @brief The entry of the current row of a query selecting entryColumnsSql(). */
    static JournalEntry entryFromRow(const QSqlQuery &query);
    /** @brief Drops every connection this storage opened. */
    void closeConnections();

private:
    QString connectionName() const;
    bool appendRows(const QList<JournalEntry> &entries, QString *error);
    JournalPage readPage(const JournalFilter &filter, int offset, int limit);
    std::optional<qint64> singleNumber(const QString &sql, const QVariantList &values, bool rowsAffected,
                                       QString *error);

    QString m_driver;
    QString m_connectionPrefix;
    QMutex m_mutex;
    QStringList m_connections;
    QSet<QString> m_stale;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "sqlitejournalstorage.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace VexoTool {

namespace {

// SQLite's result codes for a file that is not a database or is damaged inside.
bool isDamage(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11");
}

bool isDamageText(const QString &text)
{
    return text.contains(QLatin1String("not a database")) || text.contains(QLatin1String("malformed"));
}

} // namespace

SqliteJournalStorage::SqliteJournalStorage(const QString &path)
    : SqlJournalStorage(QStringLiteral("QSQLITE"))
    , m_path(path)
{}

SqliteJournalStorage::~SqliteJournalStorage() = default;

void SqliteJournalStorage::configure(QSqlDatabase &db) const
{
    db.setDatabaseName(m_path);
    // Another program writing at the same moment holds the file for milliseconds: wait for it.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
}

bool SqliteJournalStorage::prepareConnection(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    // The write-ahead log lets readers page while another program writes.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next()) {
        if (error)
            *error = query.lastError().text();
        m_damaged = isDamage(query.lastError());
        return false;
    }
    query.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    return true;
}

bool SqliteJournalStorage::open(QString *error)
{
    m_damaged = false;
    QString reason;
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("cannot make the folder %1").arg(info.absolutePath());
        return false;
    }
    QSqlDatabase db = database(&reason);
    bool ok = db.isOpen();
    if (ok) {
        QSqlQuery check(db);
        // A quick look at the file's structure finds a damaged file before an entry is lost in it.
        if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()
            || check.value(0).toString() != QLatin1String("ok")) {
            reason = check.lastError().isValid() ? check.lastError().text() : check.value(0).toString();
            m_damaged = isDamage(check.lastError()) || !check.lastError().isValid() || isDamageText(reason);
            ok = false;
        }
    }
    ok = ok && ensureSchema(db, &reason);
    if (ok) {
        QSqlQuery query(db);
        ok = query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS journal_upload_queue (id TEXT PRIMARY KEY)"));
        if (!ok)
            reason = query.lastError().text();
    }
    if (!ok) {
        m_damaged = m_damaged || isDamageText(reason);
        if (error)
            *error = reason;
        reconnectLater();
    }
    return ok;
}

QString SqliteJournalStorage::setDamagedFileAside(QString *error)
{
    closeConnections();
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString kept = m_path + QStringLiteral(".damaged-") + stamp;
    // The copy stays for whoever wants to rescue entries from it; the original name is freed.
    if (!QFile::copy(m_path, kept + QStringLiteral(".copy"))) {
        if (error)
            *error = QStringLiteral("cannot copy %1").arg(m_path);
        return {};
    }
    if (!QFile::rename(m_path, kept)) {
        if (error)
            *error = QStringLiteral("cannot move %1 aside").arg(m_path);
        return {};
    }
    for (const char *suffix : {"-wal", "-shm"}) {
        const QString side = m_path + QLatin1String(suffix);
        if (QFile::exists(side))
            QFile::rename(side, kept + QLatin1String(suffix));
    }
    return kept;
}

QString SqliteJournalStorage::insertStatement() const
{
    return QStringLiteral("INSERT OR IGNORE ") + insertColumnsSql();
}

bool SqliteJournalStorage::afterInsert(QSqlDatabase &db, const QList<JournalEntry> &entries, QString *error)
{
    if (!m_queueForUpload)
        return true;
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT OR IGNORE INTO journal_upload_queue (id) VALUES (?)"));
    for (const JournalEntry &entry : entries) {
        query.addBindValue(entry.id.toString(QUuid::WithoutBraces));
        if (!query.exec()) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

QList<JournalEntry> SqliteJournalStorage::pendingUploads(int limit, QString *error)
{
    QList<JournalEntry> entries;
    QSqlDatabase db = database(error);
    if (!db.isOpen())
        return entries;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT %1 FROM journal_upload_queue q JOIN journal_entries e ON e.id = q.id "
                                   "ORDER BY q.rowid LIMIT %2")
                        .arg(entryColumnsSql(QStringLiteral("e")))
                        .arg(limit))) {
        if (error)
            *error = query.lastError().text();
        return entries;
    }
    while (query.next())
        entries.append(entryFromRow(query));
    return entries;
}

bool SqliteJournalStorage::markUploaded(const QList<QUuid> &ids, QString *error)
{
    QSqlDatabase db = database(error);
    if (!db.isOpen())
        return false;
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM journal_upload_queue WHERE id = ?"));
    for (const QUuid &id : ids) {
        query.addBindValue(id.toString(QUuid::WithoutBraces));
        if (!query.exec()) {
            if (error)
                *error = query.lastError().text();
            db.rollback();
            return false;
        }
    }
    return db.commit();
}

} // namespace VexoTool

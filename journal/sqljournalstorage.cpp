// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "sqljournalstorage.h"

#include <QAtomicInteger>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <QVariant>

namespace VexoTool {

namespace {

// The columns of one side of a change, in the order valuesColumns() lists them.
const char *const valueColumns[] = {"ipv4",         "ipv4_number", "mask",      "gateway",    "ipv6", "ipv6_prefix",
                                    "ipv6_gateway", "device_port", "http_port", "https_port", "dhcp", "password_set"};

QStringList entryColumns()
{
    QStringList columns{"id",   "time_utc", "utc_offset", "os_user", "program",  "program_version",
                        "flow", "serial",   "mac",        "model",   "protocol", "verification"};
    for (const char *side : {"before_", "after_"}) {
        for (const char *column : valueColumns)
            columns << QString::fromLatin1(side) + QString::fromLatin1(column);
    }
    columns << QStringLiteral("result") << QStringLiteral("explanation");
    return columns;
}

// The texts the text filter looks in, lower case, one per line: one column to read instead of
// nine, written with the entry.
QString searchText(const QStringList &fields)
{
    return fields.join(QLatin1Char('\n')).toLower();
}

QString searchText(const JournalEntry &entry)
{
    return searchText({entry.serialNumber, entry.mac, entry.model, entry.user, entry.explanation,
                       entry.before.ipv4Address, entry.after.ipv4Address, entry.before.ipv6Address,
                       entry.after.ipv6Address});
}

QString sideColumnsSql(const char *side)
{
    QString sql;
    for (const char *column : valueColumns) {
        const QString name = QString::fromLatin1(side) + QString::fromLatin1(column);
        const bool number = QByteArray(column).endsWith("number") || QByteArray(column).endsWith("prefix")
                            || QByteArray(column).endsWith("port") || QByteArray(column) == "dhcp"
                            || QByteArray(column) == "password_set";
        sql += QStringLiteral(", %1 %2").arg(name, number ? QStringLiteral("BIGINT") : QStringLiteral("TEXT"));
    }
    return sql;
}

QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

QVariant number(int value)
{
    return value < 0 ? QVariant(QMetaType::fromType<qlonglong>()) : QVariant(qlonglong(value));
}

void bindSide(QSqlQuery &query, const JournalValues &values)
{
    query.addBindValue(text(values.ipv4Address));
    const std::optional<quint32> ipv4 = journalIpv4Number(values.ipv4Address);
    query.addBindValue(ipv4 ? QVariant(qlonglong(*ipv4)) : QVariant(QMetaType::fromType<qlonglong>()));
    query.addBindValue(text(values.ipv4Mask));
    query.addBindValue(text(values.ipv4Gateway));
    query.addBindValue(text(values.ipv6Address));
    query.addBindValue(number(values.ipv6PrefixLength));
    query.addBindValue(text(values.ipv6Gateway));
    query.addBindValue(number(values.devicePort));
    query.addBindValue(number(values.httpPort));
    query.addBindValue(number(values.httpsPort));
    query.addBindValue(values.dhcp ? QVariant(qlonglong(*values.dhcp ? 1 : 0))
                                   : QVariant(QMetaType::fromType<qlonglong>()));
    query.addBindValue(qlonglong(values.passwordSet ? 1 : 0));
}

int readNumber(const QSqlQuery &query, int column)
{
    const QVariant value = query.value(column);
    return value.isNull() ? -1 : value.toInt();
}

JournalValues readSide(const QSqlQuery &query, int first)
{
    JournalValues values;
    values.ipv4Address = query.value(first).toString();
    values.ipv4Mask = query.value(first + 2).toString();
    values.ipv4Gateway = query.value(first + 3).toString();
    values.ipv6Address = query.value(first + 4).toString();
    values.ipv6PrefixLength = readNumber(query, first + 5);
    values.ipv6Gateway = query.value(first + 6).toString();
    values.devicePort = readNumber(query, first + 7);
    values.httpPort = readNumber(query, first + 8);
    values.httpsPort = readNumber(query, first + 9);
    if (!query.value(first + 10).isNull())
        values.dhcp = query.value(first + 10).toInt() != 0;
    values.passwordSet = query.value(first + 11).toInt() != 0;
    return values;
}

JournalEntry readEntry(const QSqlQuery &query)
{
    JournalEntry entry;
    entry.id = QUuid::fromString(query.value(0).toString());
    entry.time = QDateTime::fromMSecsSinceEpoch(query.value(1).toLongLong(), Qt::UTC);
    entry.utcOffsetSeconds = query.value(2).toInt();
    entry.user = query.value(3).toString();
    entry.program = query.value(4).toString();
    entry.programVersion = query.value(5).toString();
    entry.flow = journalFlowFromKey(query.value(6).toString()).value_or(JournalFlow::NetworkChange);
    entry.serialNumber = query.value(7).toString();
    entry.mac = query.value(8).toString();
    entry.model = query.value(9).toString();
    entry.protocol = query.value(10).toString();
    entry.verification = query.value(11).toString();
    const int sideWidth = int(std::size(valueColumns));
    entry.before = readSide(query, 12);
    entry.after = readSide(query, 12 + sideWidth);
    entry.result = journalResultFromKey(query.value(12 + 2 * sideWidth).toString()).value_or(JournalResult::Failed);
    entry.explanation = query.value(13 + 2 * sideWidth).toString();
    return entry;
}

// The WHERE clause of @p filter and its values in order.
QString whereClause(const JournalFilter &filter, const QString &driver, QVariantList *values)
{
    QStringList conditions;
    if (!filter.text.isEmpty()) {
        // A plain substring search: no pattern characters to escape, and quicker than LIKE.
        conditions << (driver == QLatin1String("QSQLITE") ? QStringLiteral("instr(search, ?) > 0")
                                                          : QStringLiteral("strpos(search, ?) > 0"));
        values->append(filter.text.toLower());
    }
    if (!filter.device.isEmpty()) {
        QString digits = filter.device.toLower();
        digits.remove(QLatin1Char(':'));
        digits.remove(QLatin1Char('-'));
        conditions << QStringLiteral("(lower(serial) = ? OR (mac <> '' AND replace(replace(lower(mac), ':', ''), "
                                     "'-', '') = ?))");
        values->append(filter.device.toLower());
        values->append(digits);
    }
    if (!filter.ipv4Ranges.isEmpty()) {
        QStringList any;
        for (const auto &[first, last] : filter.ipv4Ranges) {
            any << QStringLiteral("before_ipv4_number BETWEEN ? AND ?")
                << QStringLiteral("after_ipv4_number BETWEEN ? AND ?");
            values->append(qlonglong(first));
            values->append(qlonglong(last));
            values->append(qlonglong(first));
            values->append(qlonglong(last));
        }
        conditions << QLatin1Char('(') + any.join(QLatin1String(" OR ")) + QLatin1Char(')');
    }
    if (filter.from.isValid()) {
        conditions << QStringLiteral("time_utc >= ?");
        values->append(filter.from.toMSecsSinceEpoch());
    }
    if (filter.until.isValid()) {
        conditions << QStringLiteral("time_utc < ?");
        values->append(filter.until.toMSecsSinceEpoch());
    }
    if (!filter.flows.isEmpty()) {
        QStringList marks;
        for (const JournalFlow flow : filter.flows) {
            marks << QStringLiteral("?");
            values->append(journalFlowKey(flow));
        }
        conditions << QStringLiteral("flow IN (%1)").arg(marks.join(QLatin1Char(',')));
    }
    if (filter.result) {
        conditions << QStringLiteral("result = ?");
        values->append(journalResultKey(*filter.result));
    }
    return conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QLatin1String(" AND "));
}

bool exec(QSqlQuery &query, const QString &sql, QString *error)
{
    if (query.exec(sql))
        return true;
    if (error)
        *error = query.lastError().text();
    return false;
}

// Pages in time order without sorting, and address-range filters that look the numbers up
// instead of reading every entry.
bool addIndexes(QSqlQuery &query, QString *error)
{
    return exec(query, QStringLiteral("CREATE INDEX journal_entries_time ON journal_entries (time_utc, id)"), error)
           && exec(query,
                   QStringLiteral("CREATE INDEX journal_entries_before_ipv4 ON journal_entries (before_ipv4_number)"),
                   error)
           && exec(query,
                   QStringLiteral("CREATE INDEX journal_entries_after_ipv4 ON journal_entries (after_ipv4_number)"),
                   error)
           && exec(query,
                   QStringLiteral("CREATE INDEX journal_entries_result ON journal_entries (result, flow, time_utc)"),
                   error);
}

// Each thread that uses a storage gets its own connection; a thread's number is never reused.
int threadNumber()
{
    static QAtomicInteger<int> next;
    thread_local const int number = next.fetchAndAddRelaxed(1);
    return number;
}

} // namespace

SqlJournalStorage::SqlJournalStorage(const QString &driver)
    : m_driver(driver)
    , m_connectionPrefix(QStringLiteral("journal-%1-").arg(QUuid::createUuid().toString(QUuid::Id128)))
{}

SqlJournalStorage::~SqlJournalStorage()
{
    closeConnections();
}

void SqlJournalStorage::closeConnections()
{
    QMutexLocker lock(&m_mutex);
    for (const QString &name : std::as_const(m_connections))
        QSqlDatabase::removeDatabase(name);
    m_connections.clear();
    m_stale.clear();
}

QString SqlJournalStorage::connectionName() const
{
    return m_connectionPrefix + QString::number(threadNumber());
}

void SqlJournalStorage::reconnectLater()
{
    QMutexLocker lock(&m_mutex);
    m_stale.insert(connectionName());
}

QSqlDatabase SqlJournalStorage::database(QString *error)
{
    const QString name = connectionName();
    QSqlDatabase db;
    {
        QMutexLocker lock(&m_mutex);
        const bool stale = m_stale.remove(name);
        if (m_connections.contains(name)) {
            db = QSqlDatabase::database(name, false);
            if (db.isOpen() && !stale)
                return db;
            // A connection that failed is opened afresh: the server may be back, the file writable.
            db.close();
        } else {
            m_connections << name;
        }
    }
    if (!db.isValid())
        db = QSqlDatabase::addDatabase(m_driver, name);
    if (!db.isValid()) {
        if (error)
            *error = QStringLiteral("the %1 database driver is missing").arg(m_driver);
        return {};
    }
    configure(db);
    if (!db.open()) {
        if (error)
            *error = db.lastError().text();
        return {};
    }
    if (!prepareConnection(db, error)) {
        db.close();
        return {};
    }
    return db;
}

bool SqlJournalStorage::prepareConnection(QSqlDatabase &, QString *)
{
    return true;
}

bool SqlJournalStorage::ensureSchema(QSqlDatabase &db, QString *error)
{
    QSqlQuery query(db);
    int version = 0;
    if (query.exec(QStringLiteral("SELECT max(version) FROM journal_schema"))) {
        version = query.next() && !query.value(0).isNull() ? query.value(0).toInt() : 0;
    } else if (!exec(query, QStringLiteral("CREATE TABLE journal_schema (version INTEGER NOT NULL)"), error)) {
        return false;
    }
    if (version == SchemaVersion)
        return true;
    if (version > SchemaVersion) {
        if (error)
            *error = QStringLiteral("the journal was written by a newer program (schema %1)").arg(version);
        return false;
    }
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    bool ok = true;
    if (version == 0) {
        ok = exec(query,
                  QStringLiteral("CREATE TABLE journal_entries (id TEXT PRIMARY KEY, time_utc BIGINT NOT NULL, "
                                 "utc_offset INTEGER NOT NULL, os_user TEXT, program TEXT, program_version TEXT, "
                                 "flow TEXT NOT NULL, serial TEXT, mac TEXT, model TEXT, protocol TEXT, "
                                 "verification TEXT%1%2, result TEXT NOT NULL, explanation TEXT, search TEXT)")
                      .arg(sideColumnsSql("before_"), sideColumnsSql("after_")),
                  error)
             && addIndexes(query, error);
    } else if (version == 1) {
        // The first schema kept addresses as text only and searched every text column: the
        // numbers make range filters an index scan, and one search column a text filter a
        // single pass. Both are derived from what the entries hold, which stays as it was.
        ok = exec(query, QStringLiteral("ALTER TABLE journal_entries ADD COLUMN before_ipv4_number BIGINT"), error)
             && exec(query, QStringLiteral("ALTER TABLE journal_entries ADD COLUMN after_ipv4_number BIGINT"), error)
             && exec(query, QStringLiteral("ALTER TABLE journal_entries ADD COLUMN search TEXT"), error)
             && exec(query, QStringLiteral("DROP INDEX IF EXISTS journal_entries_time"), error);
        if (ok) {
            QSqlQuery rows(db);
            ok = exec(rows,
                      QStringLiteral("SELECT id, before_ipv4, after_ipv4, serial, mac, model, os_user, explanation, "
                                     "before_ipv6, after_ipv6 FROM journal_entries"),
                      error);
            QSqlQuery update(db);
            update.prepare(QStringLiteral("UPDATE journal_entries SET before_ipv4_number = ?, after_ipv4_number = ?, "
                                          "search = ? WHERE id = ?"));
            while (ok && rows.next()) {
                for (int column : {1, 2}) {
                    const std::optional<quint32> address = journalIpv4Number(rows.value(column).toString());
                    update.addBindValue(address ? QVariant(qlonglong(*address))
                                                : QVariant(QMetaType::fromType<qlonglong>()));
                }
                QStringList fields;
                for (int column : {3, 4, 5, 6, 7, 1, 2, 8, 9})
                    fields << rows.value(column).toString();
                update.addBindValue(searchText(fields));
                update.addBindValue(rows.value(0));
                ok = update.exec();
                if (!ok && error)
                    *error = update.lastError().text();
            }
        }
        ok = ok && addIndexes(query, error);
    }
    if (ok) {
        ok = exec(query, QStringLiteral("DELETE FROM journal_schema"), error)
             && exec(query, QStringLiteral("INSERT INTO journal_schema (version) VALUES (%1)").arg(SchemaVersion),
                     error);
    }
    if (!ok) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    return true;
}

bool SqlJournalStorage::insertEntries(QSqlDatabase &db, const QList<JournalEntry> &entries, QString *error)
{
    QSqlQuery query(db);
    if (!query.prepare(insertStatement())) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    for (const JournalEntry &entry : entries) {
        query.addBindValue(entry.id.toString(QUuid::WithoutBraces));
        query.addBindValue(entry.time.toMSecsSinceEpoch());
        query.addBindValue(entry.utcOffsetSeconds);
        query.addBindValue(text(entry.user));
        query.addBindValue(text(entry.program));
        query.addBindValue(text(entry.programVersion));
        query.addBindValue(journalFlowKey(entry.flow));
        query.addBindValue(text(entry.serialNumber));
        query.addBindValue(text(entry.mac));
        query.addBindValue(text(entry.model));
        query.addBindValue(text(entry.protocol));
        query.addBindValue(text(entry.verification));
        bindSide(query, entry.before);
        bindSide(query, entry.after);
        query.addBindValue(journalResultKey(entry.result));
        query.addBindValue(text(entry.explanation));
        query.addBindValue(searchText(entry));
        if (!query.exec()) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
    }
    return true;
}

bool SqlJournalStorage::afterInsert(QSqlDatabase &, const QList<JournalEntry> &, QString *)
{
    return true;
}

QString SqlJournalStorage::entryColumnsSql(const QString &table)
{
    QStringList columns = entryColumns();
    if (!table.isEmpty()) {
        for (QString &column : columns)
            column.prepend(table + QLatin1Char('.'));
    }
    return columns.join(QLatin1Char(','));
}

JournalEntry SqlJournalStorage::entryFromRow(const QSqlQuery &query)
{
    return readEntry(query);
}

QString SqlJournalStorage::insertColumnsSql()
{
    const QStringList columns = entryColumns() << QStringLiteral("search");
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    return QStringLiteral("INTO journal_entries (%1) VALUES (%2)")
        .arg(columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
}

bool SqlJournalStorage::append(const QList<JournalEntry> &entries, QString *error)
{
    if (entries.isEmpty())
        return true;
    const bool ok = appendRows(entries, error);
    if (!ok)
        reconnectLater();
    return ok;
}

bool SqlJournalStorage::appendRows(const QList<JournalEntry> &entries, QString *error)
{
    QSqlDatabase db = database(error);
    if (!db.isOpen())
        return false;
    if (!db.transaction()) {
        if (error)
            *error = db.lastError().text();
        return false;
    }
    if (!insertEntries(db, entries, error) || !afterInsert(db, entries, error) || !db.commit()) {
        if (error && error->isEmpty())
            *error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

JournalPage SqlJournalStorage::query(const JournalFilter &filter, int offset, int limit)
{
    JournalPage page = readPage(filter, offset, limit);
    if (!page.ok)
        reconnectLater();
    return page;
}

JournalPage SqlJournalStorage::readPage(const JournalFilter &filter, int offset, int limit)
{
    JournalPage page;
    QSqlDatabase db = database(&page.error);
    if (!db.isOpen()) {
        page.ok = false;
        return page;
    }
    QVariantList values;
    // The page's ids first, from the time index alone; then only those rows are read whole.
    const QString sql = QStringLiteral("SELECT %1 FROM journal_entries WHERE id IN (SELECT id FROM journal_entries%2 "
                                       "ORDER BY time_utc DESC, id DESC LIMIT %3 OFFSET %4) "
                                       "ORDER BY time_utc DESC, id DESC")
                            .arg(entryColumns().join(QLatin1Char(',')), whereClause(filter, m_driver, &values))
                            .arg(qMax(0, limit))
                            .arg(qMax(0, offset));
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant &value : std::as_const(values))
        query.addBindValue(value);
    if (!query.exec()) {
        page.ok = false;
        page.error = query.lastError().text();
        return page;
    }
    while (query.next())
        page.entries.append(readEntry(query));
    return page;
}

std::optional<qint64> SqlJournalStorage::count(const JournalFilter &filter, QString *error)
{
    QVariantList values;
    const QString where = whereClause(filter, m_driver, &values);
    const std::optional<qint64> found
        = singleNumber(QStringLiteral("SELECT count(*) FROM journal_entries") + where, values, false, error);
    return found;
}

std::optional<qint64> SqlJournalStorage::removeBefore(const QDateTime &time, QString *error)
{
    return singleNumber(QStringLiteral("DELETE FROM journal_entries WHERE time_utc < ?"),
                        {QVariant(time.toMSecsSinceEpoch())}, true, error);
}

std::optional<qint64> SqlJournalStorage::singleNumber(const QString &sql, const QVariantList &values, bool rowsAffected,
                                                      QString *error)
{
    std::optional<qint64> number;
    {
        QSqlDatabase db = database(error);
        if (db.isOpen()) {
            QSqlQuery query(db);
            query.setForwardOnly(true);
            query.prepare(sql);
            for (const QVariant &value : values)
                query.addBindValue(value);
            if (query.exec() && (rowsAffected || query.next()))
                number = rowsAffected ? query.numRowsAffected() : query.value(0).toLongLong();
            else if (error)
                *error = query.lastError().text();
        }
    }
    if (!number)
        reconnectLater();
    return number;
}

} // namespace VexoTool

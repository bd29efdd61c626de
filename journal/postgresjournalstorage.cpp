// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "postgresjournalstorage.h"

namespace VexoTool {

PostgresJournalStorage::PostgresJournalStorage(const JournalServer &server)
    : SqlJournalStorage(QStringLiteral("QPSQL"))
    , m_server(server)
{}

PostgresJournalStorage::~PostgresJournalStorage() = default;

QString PostgresJournalStorage::location() const
{
    return QStringLiteral("%1@%2:%3/%4").arg(m_server.user, m_server.host).arg(m_server.port).arg(m_server.database);
}

void PostgresJournalStorage::configure(QSqlDatabase &db) const
{
    db.setHostName(m_server.host);
    db.setPort(m_server.port);
    db.setDatabaseName(m_server.database);
    db.setUserName(m_server.user);
    db.setPassword(m_server.password);
    // libpq's own options: TLS whenever the server offers it, and no long wait for a dead server.
    db.setConnectOptions(QStringLiteral("sslmode=%1;connect_timeout=%2")
                             .arg(m_server.tlsMode)
                             .arg(qMax(1, m_server.connectTimeoutSeconds)));
}

QString PostgresJournalStorage::insertStatement() const
{
    return QStringLiteral("INSERT ") + insertColumnsSql() + QStringLiteral(" ON CONFLICT (id) DO NOTHING");
}

bool PostgresJournalStorage::open(QString *error)
{
    bool ok = false;
    {
        QSqlDatabase db = database(error);
        // Two programs meeting an empty server at once: one creates the tables, the other retries.
        ok = db.isOpen() && (ensureSchema(db, error) || ensureSchema(db, error));
    }
    if (!ok)
        reconnectLater();
    return ok;
}

} // namespace VexoTool

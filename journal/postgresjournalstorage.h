// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalsettings.h"
#include "sqljournalstorage.h"

namespace VexoTool {

/** @brief A journal shared by several programs on a PostgreSQL server (Qt's QPSQL driver). */
class PostgresJournalStorage final : public SqlJournalStorage
{
public:
    explicit PostgresJournalStorage(const JournalServer &server);
    ~PostgresJournalStorage() override;

    QString name() const override { return QStringLiteral("PostgreSQL"); }
    QString location() const override;
    bool open(QString *error) override;

protected:
    void configure(QSqlDatabase &db) const override;
    QString insertStatement() const override;

private:
    JournalServer m_server;
};

} // namespace VexoTool

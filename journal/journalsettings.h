// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QHash>
#include <QString>

namespace VexoTool {

/** @brief A shared journal on a PostgreSQL server. The password is never read from Setup.xml. */
struct JournalServer
{
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString password; ///< from the environment or a prompt, kept for the run only
    /** @brief libpq's sslmode: "prefer" uses TLS whenever the server offers it. */
    QString tlsMode = QStringLiteral("prefer");
    int connectTimeoutSeconds = 5;

    bool isValid() const { return !host.isEmpty() && !database.isEmpty() && !user.isEmpty(); }
};

/**
 * @brief Where the journal is kept and for how long, from the settings of Setup.xml.
 *
 * Tags (each with a "Value" child, as every setting): JournalKeepDays (default 365; 0 or less
 * keeps entries for ever), JournalFile (the database file; default in the user's data folder),
 * JournalServerHost, JournalServerPort, JournalServerDatabase, JournalServerUser,
 * JournalServerTls. A server is used when host, database and user are all given.
 */
struct JournalSettings
{
    static constexpr int DefaultKeepDays = 365;
    /** @brief The environment variable the shared journal's password is read from. */
    static constexpr char PasswordVariable[] = "VEXO_JOURNAL_PASSWORD";

    QString databasePath; ///< the local SQLite file; also the queue of entries not yet on the server
    int keepDays = DefaultKeepDays;
    JournalServer server; ///< used when isValid()

    bool usesServer() const { return server.isValid(); }

    /** @brief The default file: "vexotool/journal.sqlite" in the user's data folder. */
    static QString defaultDatabasePath();

    /** @brief The settings from Setup.xml's values by tag; missing tags give the defaults. */
    static JournalSettings fromValues(const QHash<QString, QString> &values);

    /**
     * @brief The values by tag of the Setup.xml files @p paths, a later file's value replacing an
     *        earlier one's (the shipped file first, then the user's). Missing files are skipped.
     */
    static QHash<QString, QString> readSetupValues(const QStringList &paths);

    /** @brief server.password from PasswordVariable when it is set; true when it was. */
    bool takePasswordFromEnvironment();
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QTemporaryDir>

#include <memory>

/**
 * @brief A throwaway PostgreSQL cluster for one test run: made with initdb in a temporary folder,
 *        listening on 127.0.0.1 only on a free port, with password sign-in, removed afterwards.
 *
 * The server refuses to run as root: when the test runs as root, the cluster's folder is
 * handed to the unprivileged user "nobody" and initdb and pg_ctl run as that user.
 */
class PostgresCluster
{
public:
    PostgresCluster();
    ~PostgresCluster();

    /** @brief Where the server's programs are; empty when PostgreSQL is not installed. */
    static QString binDir();

    /** @brief Makes and starts the cluster; false with the reason in @p error. */
    bool start(QString *error);
    /** @brief Stops the server at once, as a crash or a cut cable would. */
    bool stop();
    /** @brief Starts the stopped server again on the same port. */
    bool restart(QString *error = nullptr);
    /** @brief Makes a database @p name (the journal's tables come from the program). */
    bool createDatabase(const QString &name, QString *error = nullptr);

    QString host() const { return QStringLiteral("127.0.0.1"); }
    int port() const { return m_port; }
    QString user() const { return QStringLiteral("vexo"); }
    QString password() const { return m_password; }
    /** @brief The cluster's data folder (its tables and write-ahead log). */
    QString dataDir() const { return m_dataDir; }

private:
    bool run(const QString &program, const QStringList &arguments, QString *error, int timeoutMs = 60000);

    QTemporaryDir m_dir;
    QString m_dataDir;
    QString m_password;
    int m_port = 0;
    bool m_running = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "postgrescluster.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpServer>
#include <QUuid>

#ifdef Q_OS_UNIX
#    include <pwd.h>
#    include <unistd.h>
#endif

namespace {

bool runsAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

int freeLoopbackPort()
{
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

} // namespace

PostgresCluster::PostgresCluster()
    : m_dir(QDir::tempPath() + QStringLiteral("/vexo-pg-XXXXXX"))
    , m_password(QUuid::createUuid().toString(QUuid::Id128))
{}

PostgresCluster::~PostgresCluster()
{
    stop();
}

QString PostgresCluster::binDir()
{
    const QString override = qEnvironmentVariable("VEXO_POSTGRES_BIN");
    if (!override.isEmpty())
        return override;
    QDir lib(QStringLiteral("/usr/lib/postgresql"));
    QStringList versions = lib.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    std::sort(versions.begin(), versions.end(),
              [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
    for (const QString &version : versions) {
        const QString bin = lib.filePath(version + QStringLiteral("/bin"));
        if (QFile::exists(bin + QStringLiteral("/initdb")))
            return bin;
    }
    return {};
}

bool PostgresCluster::run(const QString &program, const QStringList &arguments, QString *error, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    if (runsAsRoot())
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--"),
                                  binDir() + QLatin1Char('/') + program}
                          + arguments);
    else
        process.start(binDir() + QLatin1Char('/') + program, arguments);
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        if (error)
            *error = program + QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll()) + process.errorString();
        return false;
    }
    return true;
}

bool PostgresCluster::start(QString *error)
{
    if (binDir().isEmpty()) {
        if (error)
            *error = QStringLiteral("PostgreSQL's server programs are not installed");
        return false;
    }
    if (!m_dir.isValid()) {
        if (error)
            *error = QStringLiteral("no temporary folder");
        return false;
    }
    m_dataDir = m_dir.filePath(QStringLiteral("data"));
    const QString passwordFile = m_dir.filePath(QStringLiteral("password"));
    QFile file(passwordFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(m_password.toUtf8()) < 0)
        return false;
    file.close();
#ifdef Q_OS_UNIX
    if (runsAsRoot()) {
        const passwd *nobody = ::getpwnam("nobody");
        if (!nobody || ::chown(QFile::encodeName(m_dir.path()).constData(), nobody->pw_uid, nobody->pw_gid) != 0
            || ::chown(QFile::encodeName(passwordFile).constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
            if (error)
                *error = QStringLiteral("cannot hand the cluster's folder to the user nobody");
            return false;
        }
    }
#endif
    if (!run(QStringLiteral("initdb"),
             {QStringLiteral("-D"), m_dataDir, QStringLiteral("-U"), user(), QStringLiteral("--pwfile=") + passwordFile,
              QStringLiteral("--auth=scram-sha-256"), QStringLiteral("--no-sync"), QStringLiteral("-E"),
              QStringLiteral("UTF8"), QStringLiteral("--locale=C")},
             error))
        return false;
    m_port = freeLoopbackPort();
    return restart(error);
}

bool PostgresCluster::restart(QString *error)
{
    // Loopback only, no Unix socket, and no waiting for disk flushes: the cluster is thrown away.
    const QString options = QStringLiteral("-p %1 -c listen_addresses=127.0.0.1 -c unix_socket_directories='' "
                                           "-c fsync=off -c max_connections=50")
                                .arg(m_port);
    m_running = run(QStringLiteral("pg_ctl"),
                    {QStringLiteral("-D"), m_dataDir, QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")),
                     QStringLiteral("-o"), options, QStringLiteral("-w"), QStringLiteral("start")},
                    error);
    return m_running;
}

bool PostgresCluster::stop()
{
    if (!m_running)
        return true;
    m_running = !run(QStringLiteral("pg_ctl"),
                     {QStringLiteral("-D"), m_dataDir, QStringLiteral("-m"), QStringLiteral("immediate"),
                      QStringLiteral("-w"), QStringLiteral("stop")},
                     nullptr);
    return !m_running;
}

bool PostgresCluster::createDatabase(const QString &name, QString *error)
{
    const QString connection = QStringLiteral("pgcluster-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(host());
        db.setPort(m_port);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setUserName(user());
        db.setPassword(m_password);
        ok = db.open();
        if (ok) {
            QSqlQuery query(db);
            ok = query.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
            if (!ok && error)
                *error = query.lastError().text();
        } else if (error) {
            *error = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

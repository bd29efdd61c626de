// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "qtsingleapplication.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>

namespace SharedTools {

Q_LOGGING_CATEGORY(lcSingleApp, "vexo.singleapplication")

namespace {

// An instance that is alive accepts a local connection at once; the timeout only bounds a
// machine under heavy load.
constexpr int ConnectTimeoutMs = 1000;
constexpr int GuardLockTimeoutMs = 5000;

QString userName()
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = qEnvironmentVariable("USERNAME");
    if (user.isEmpty())
        user = QDir::homePath();
    return user;
}

bool instanceAnswers(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    const bool connected = socket.waitForConnected(ConnectTimeoutMs);
    socket.abort();
    return connected;
}

} // namespace

QString QtSingleApplication::serverName(const QString &id)
{
    const QByteArray hash
        = QCryptographicHash::hash((id + QLatin1Char('\n') + userName()).toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("vexo-single-") + QString::fromLatin1(hash.toHex().left(24));
}

QtSingleApplication::QtSingleApplication(const QString &id, int &argc, char **argv)
    : QApplication(argc, argv)
    , m_id(id)
{
    const QString name = serverName(id);

    // Serialises the check-and-listen step between instances starting together. A lock left
    // by a killed process names a dead process and is taken over; age alone never makes a
    // lock stale, as a slow start may hold it for a while.
    QLockFile guard(QDir::temp().filePath(name + QStringLiteral(".lock")));
    guard.setStaleLockTime(0);
    if (!guard.tryLock(GuardLockTimeoutMs))
        qCWarning(lcSingleApp, "could not take the start-up lock (%d); checking without it", int(guard.error()));

    if (instanceAnswers(name)) {
        m_running = true;
        return;
    }

    // Nobody answers: whatever socket file is left belongs to a dead instance.
    QLocalServer::removeServer(name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(name)) {
        qCWarning(lcSingleApp, "cannot listen on %s: %s", qPrintable(name), qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &QtSingleApplication::acceptAndDrop);
}

QtSingleApplication::~QtSingleApplication() = default;

void QtSingleApplication::acceptAndDrop()
{
    // Later instances only check that this one is alive; they send nothing.
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        socket->abort();
        socket->deleteLater();
    }
}

} // namespace SharedTools

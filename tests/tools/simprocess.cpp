// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcessEnvironment>

SimProcess::SimProcess()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback"));
    m_process.setProcessEnvironment(env);
}

SimProcess::~SimProcess()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString SimProcess::toolPath(const QString &name)
{
    return QDir(qEnvironmentVariable("VEXO_TEST_BIN_DIR")).filePath(name);
}

bool SimProcess::start(const QStringList &arguments, Scope scope)
{
    // The scope is always explicit, whatever the caller's environment says.
    const QString scopeName = scope == Scope::Lan ? QStringLiteral("lan") : QStringLiteral("loopback");
    QStringList all{QStringLiteral("--scope"), scopeName, QStringLiteral("--test-mode")};
    if (!arguments.contains(QLatin1String("--port")))
        all << QStringLiteral("--port") << QStringLiteral("0");
    m_process.start(toolPath(QStringLiteral("vexo-devsim")), all + arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    QString line;
    if (!readLine(&line, 15000) || !line.startsWith(QLatin1String("ready ")))
        return false;
    m_port = quint16(line.mid(6).toUInt());
    return m_port != 0;
}

bool SimProcess::readLine(QString *line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (m_process.state() == QProcess::NotRunning || deadline.hasExpired())
            return false;
        m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
    *line = QString::fromUtf8(m_process.readLine()).trimmed();
    return true;
}

QStringList SimProcess::command(const QString &line, int timeoutMs)
{
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(timeoutMs);
    QStringList lines;
    QString answer;
    while (readLine(&answer, timeoutMs)) {
        lines.append(answer);
        if (answer == QLatin1String("ok") || answer.startsWith(QLatin1String("error")))
            break;
    }
    return lines;
}

bool SimProcess::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

QString SimProcess::standardError()
{
    m_stderr += m_process.readAllStandardError();
    return QString::fromUtf8(m_stderr);
}

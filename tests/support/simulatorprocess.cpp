// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatorprocess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcessEnvironment>
#include <QRegularExpression>

#include <algorithm>

namespace {

bool isAnswerEnd(const QString &line)
{
    return line == QLatin1String("ok") || line.startsWith(QLatin1String("error"));
}

} // namespace

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

QString SimulatorProcess::toolPath(const QString &name)
{
#if defined(Q_OS_WIN)
    const QString file = name + QStringLiteral(".exe");
#else
    const QString &file = name;
#endif
    return QDir(qEnvironmentVariable("VEXO_TEST_BIN_DIR")).filePath(file);
}

bool SimulatorProcess::start(const QStringList &arguments, Scope scope)
{
    // The scope comes from the parameter alone, so no argument list reaches the LAN by accident.
    static const QRegularExpression scopeOption(QStringLiteral("^--?scope(=|$)"));
    if (std::any_of(arguments.begin(), arguments.end(),
                    [](const QString &argument) { return scopeOption.match(argument).hasMatch(); })) {
        qWarning("the simulator's scope is start()'s parameter, not an argument");
        return false;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback")); // never the LAN by default
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);

    const QString scopeName = scope == Scope::Lan ? QStringLiteral("lan") : QStringLiteral("loopback");
    QStringList all{QStringLiteral("--scope"), scopeName, QStringLiteral("--test-mode")};
    if (!arguments.contains(QLatin1String("--port")))
        all << QStringLiteral("--port") << QStringLiteral("0");
    m_process.start(toolPath(QStringLiteral("vexo-devsim")), all + arguments);
    if (!m_process.waitForStarted(5000))
        return false;

    const QDeadlineTimer deadline(20000);
    QString line;
    while (readLine(&line, int(std::max<qint64>(1, deadline.remainingTime())))) {
        if (line.startsWith(QLatin1String("wsd-port ")))
            m_wsdPort = quint16(line.mid(9).toUInt());
        if (line.startsWith(QLatin1String("ready "))) {
            m_port = quint16(line.mid(6).toUInt());
            return m_port != 0;
        }
    }
    qWarning("simulator did not start: %s", qPrintable(standardError()));
    return false;
}

bool SimulatorProcess::readLine(QString *line, int timeoutMs)
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

QStringList SimulatorProcess::command(const QString &line, int timeoutMs)
{
    m_process.write(line.toUtf8() + '\n');
    m_process.waitForBytesWritten(timeoutMs);
    QStringList lines;
    QString answer;
    while (readLine(&answer, timeoutMs)) {
        lines.append(answer);
        if (isAnswerEnd(answer))
            break;
    }
    return lines;
}

QString SimulatorProcess::commandResult(const QString &line, int timeoutMs)
{
    const QStringList lines = command(line, timeoutMs);
    if (lines.isEmpty() || !isAnswerEnd(lines.last()))
        return QStringLiteral("error no answer");
    return lines.last();
}

bool SimulatorProcess::waitForExit(int timeoutMs)
{
    return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(timeoutMs);
}

void SimulatorProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString SimulatorProcess::standardError()
{
    // Kept, because reading the channel empties it and tests look at it more than once.
    m_stderr += m_process.readAllStandardError();
    return QString::fromUtf8(m_stderr);
}

QString runKeyService(const QStringList &arguments)
{
    QProcess p;
    p.start(SimulatorProcess::toolPath(QStringLiteral("vexo-keyservice")), arguments);
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("keyservice failed: %s", p.readAllStandardError().constData());
        return {};
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return out.isNull() ? QStringLiteral("") : out; // success without output is empty, not null
}

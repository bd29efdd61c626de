// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatorprocess.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

QString SimulatorProcess::binary(const QString &name)
{
    return qEnvironmentVariable("VEXO_TEST_BIN_DIR") + QLatin1Char('/') + name;
}

bool SimulatorProcess::start(const QStringList &arguments)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback")); // never the LAN from a test
    m_process.setProcessEnvironment(env);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(binary(QStringLiteral("vexo-devsim")),
                    QStringList{QStringLiteral("--scope"), QStringLiteral("loopback"), QStringLiteral("--port"),
                                QStringLiteral("0"), QStringLiteral("--test-mode")}
                        + arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    const QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (!m_process.canReadLine() && !m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("ready "))) {
                m_port = line.mid(6).toUShort();
                return m_port != 0;
            }
        }
    }
    qWarning("simulator did not start: %s", m_process.readAllStandardError().constData());
    return false;
}

QString SimulatorProcess::command(const QString &line)
{
    m_process.write(line.toUtf8() + '\n');
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QString answer = QString::fromUtf8(m_process.readLine()).trimmed();
            if (answer == QLatin1String("ok") || answer.startsWith(QLatin1String("error")))
                return answer;
        }
        m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    return QStringLiteral("error no answer");
}

void SimulatorProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QString runKeyService(const QStringList &arguments)
{
    QProcess p;
    p.start(SimulatorProcess::binary(QStringLiteral("vexo-keyservice")), arguments);
    if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        qWarning("keyservice failed: %s", p.readAllStandardError().constData());
        return {};
    }
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    return out.isNull() ? QStringLiteral("") : out; // success without output is empty, not null
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

/**
 * @brief Runs vexo-devsim on loopback with an ephemeral port and cheap hashing,
 * and talks to its console.
 */
class SimProcess
{
public:
    SimProcess();
    ~SimProcess();

    /** The path of a built tool, from VEXO_TEST_BIN_DIR. */
    static QString toolPath(const QString &name);

    enum class Scope { Loopback, Lan };

    /**
     * Starts the simulator with @p arguments and waits for "ready <port>".
     * The LAN scope is only for a private network namespace that the test made itself.
     */
    bool start(const QStringList &arguments, Scope scope = Scope::Loopback);
    quint16 port() const { return m_port; }

    /** Sends one console line and returns the answer lines, the last being "ok" or "error …". */
    QStringList command(const QString &line, int timeoutMs = 5000);

    /** Waits for the process to end by itself; false on timeout. */
    bool waitForExit(int timeoutMs = 10000);

    QProcess &process() { return m_process; }
    QString standardError();

private:
    bool readLine(QString *line, int timeoutMs);

    QProcess m_process;
    quint16 m_port = 0;
    QByteArray m_stderr;
};

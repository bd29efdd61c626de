// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

/**
 * @brief Runs vexo-devsim for a test: an ephemeral port unless one is given, cheap
 * password hashing, and its console commands ("list", "stop SERIAL", "quit", ...).
 *
 * The simulator stays on loopback unless a test asks for the LAN scope, which is only
 * for a private network namespace that the test made itself.
 */
class SimulatorProcess
{
public:
    /** @brief Where the simulator announces and listens. */
    enum class Scope { Loopback, Lan };

    /** @brief Ends the simulator if it still runs (see stop()). */
    ~SimulatorProcess();

    /** @brief The path of a built tool, from VEXO_TEST_BIN_DIR, with the system's executable suffix. */
    static QString toolPath(const QString &name);

    /**
     * @brief Starts the simulator with these extra @p arguments and waits for "ready <port>".
     * @return false if it does not get ready, or if @p arguments name a scope of their own.
     */
    bool start(const QStringList &arguments = {}, Scope scope = Scope::Loopback);
    /** @brief The port from "ready <port>"; 0 before a successful start(). */
    quint16 port() const { return m_port; }
    /** @brief The WS-Discovery port from "wsd-port <port>"; 0 when the simulator plays no ONVIF devices. */
    quint16 wsdPort() const { return m_wsdPort; }

    /**
     * @brief Sends one console line and returns the answer lines, the last being "ok" or
     * "error ..."; fewer lines, without that last one, if the answer did not come in time.
     */
    QStringList command(const QString &line, int timeoutMs = 10000);
    /** @brief command() for callers that only want its last line: "ok", "error ..." or "error no answer". */
    QString commandResult(const QString &line, int timeoutMs = 10000);

    /** @brief Waits for the process to end by itself; false on timeout. */
    bool waitForExit(int timeoutMs = 10000);
    /** @brief Ends the simulator: closing its input lets it say goodbye, a kill follows if it hangs. */
    void stop();

    /** @brief The process itself, for signals, exit codes and closing its input. */
    QProcess &process() { return m_process; }
    /** @brief Everything the simulator wrote to standard error so far. */
    QString standardError();

private:
    bool readLine(QString *line, int timeoutMs);

    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_wsdPort = 0;
    QByteArray m_stderr;
};

/** @brief Runs vexo-keyservice and returns its standard output (trimmed); a null string on failure. */
QString runKeyService(const QStringList &arguments);

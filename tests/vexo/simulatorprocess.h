// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

/**
 * @brief Runs vexo-devsim on loopback for a test: an ephemeral port, cheap
 * password hashing, and its stdin commands ("stop SERIAL", "restart SERIAL", ...).
 */
class SimulatorProcess
{
public:
    ~SimulatorProcess();

    /** Starts the simulator with these extra arguments; false if it does not report "ready". */
    bool start(const QStringList &arguments);
    quint16 port() const { return m_port; }
    /** Sends one command line and waits for its "ok" or "error" answer. */
    QString command(const QString &line);
    /** Ends the simulator (closing stdin lets it say goodbye). */
    void stop();

    static QString binary(const QString &name);

private:
    QProcess m_process;
    quint16 m_port = 0;
};

/** Runs vexo-keyservice and returns its standard output (trimmed); a null string on failure. */
QString runKeyService(const QStringList &arguments);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "simulatorprocess.h"

#include <devicedisplaypage.h>
#include <devicestore.h>
#include <vexohandler.h>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

/**
 * @brief Simulated devices on loopback and a device list that shows them, wired as the main
 *        window wires them: the simulator, a device store and a discovery service of the test's
 *        own over the linked library, and a DeviceDisplayPage over both.
 *
 * start() keeps every datagram on loopback (VEXO_SCOPE) and points the library at the
 * simulator's port; the list's column file lies in a temporary folder.
 */
class SimulatedList
{
public:
    /** @brief Stops discovery, the list and the simulator (see stop()). */
    ~SimulatedList();

    /**
     * @brief Starts @p count simulated devices from @p seed, the discovery service with its
     *        library's request time-out @p timeoutMs, and the list; waits until it lists every device.
     * @param keepState the simulator keeps its devices in statePath()
     * @return false if the simulator or the discovery does not start, or the list stays short.
     */
    bool start(int count, int seed, int timeoutMs, bool keepState = false);
    /** @brief Stops discovery, drops the list, then ends the simulator. */
    void stop();

    SimulatorProcess &simulator() { return m_sim; }
    DeviceStore &store() { return m_store; }
    VEXO::VexoHandler &discovery() { return *m_discovery; }
    VexoTool::DeviceDisplayPage &page() { return *m_page; }
    /** @brief The simulator's state file (with keepState). */
    QString statePath() const;

private:
    QTemporaryDir m_dir;
    SimulatorProcess m_sim;
    DeviceStore m_store;
    std::unique_ptr<VEXO::VexoHandler> m_discovery;
    std::unique_ptr<VexoTool::DeviceDisplayPage> m_page;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QObject>

#include <functional>
#include <memory>

class QThread;

namespace VexoTool {

/**
 * @brief Runs one blocking call of the discovery service on a worker thread and reports its
 *        error code back on the owner's thread, so the window keeps repainting meanwhile.
 *
 * The call gets copies of everything it needs and must touch no widget. One call at a time;
 * destroying the runner waits for a call that is still running (it ends within the library's
 * time-out).
 */
class DeviceCallRunner : public QObject
{
    Q_OBJECT

public:
    explicit DeviceCallRunner(QObject *parent = nullptr);
    ~DeviceCallRunner() override;

    /**
     * @brief Starts @p call, which returns 0 or the library's error code; @p done then gets that
     *        code on the runner's thread, unless the runner is gone by then.
     * @return false, starting nothing, while a call runs.
     */
    bool start(std::function<quint32()> call, std::function<void(quint32 code)> done);
    /** @brief Whether a call is running. */
    bool isRunning() const { return bool(m_worker); }

private:
    std::unique_ptr<QThread> m_worker;
};

} // namespace VexoTool

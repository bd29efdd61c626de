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

    /** @brief Starts @p call, which returns 0 or the library's error code. @return false while one runs. */
    bool start(std::function<quint32()> call);
    /** @brief Whether a call is running. */
    bool isRunning() const { return bool(m_worker); }

signals:
    /** @brief The call ended with @p code (0 for success); emitted on the runner's thread. */
    void finished(quint32 code);

private:
    std::unique_ptr<QThread> m_worker;
};

} // namespace VexoTool

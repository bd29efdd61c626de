// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicecallrunner.h"

#include <QThread>

namespace VexoTool {

DeviceCallRunner::DeviceCallRunner(QObject *parent)
    : QObject(parent)
{}

DeviceCallRunner::~DeviceCallRunner()
{
    if (m_worker)
        m_worker->wait();
}

bool DeviceCallRunner::start(std::function<quint32()> call, std::function<void(quint32 code)> done)
{
    if (m_worker)
        return false;
    auto code = std::make_shared<quint32>(0);
    m_worker.reset(QThread::create([code, call = std::move(call)] { *code = call(); }));
    connect(
        m_worker.get(), &QThread::finished, this,
        [this, code, done = std::move(done)] {
            QThread *worker = m_worker.release();
            worker->wait();
            worker->deleteLater();
            done(*code);
        },
        Qt::QueuedConnection);
    m_worker->start();
    return true;
}

} // namespace VexoTool

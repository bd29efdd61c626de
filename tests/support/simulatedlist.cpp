// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatedlist.h"

#include <deviceinfo.h>
#include <deviceinfomodel.h>
#include <vexolibrary.h>

#include <QtCore/qtestsupport_core.h>

namespace {

// Long enough for a hundred devices on a busy machine.
constexpr int ListedWithinMs = 20000;

} // namespace

SimulatedList::~SimulatedList()
{
    stop();
}

bool SimulatedList::start(int count, int seed, int timeoutMs, bool keepState)
{
    qputenv("VEXO_SCOPE", "loopback"); // never the LAN from a test
    qputenv("VEXO_TIMEOUT_MS", QByteArray::number(timeoutMs));
    if (!m_dir.isValid())
        return false;
    QStringList arguments{QStringLiteral("--count"), QString::number(count), QStringLiteral("--seed"),
                          QString::number(seed)};
    if (keepState)
        arguments << QStringLiteral("--state") << statePath();
    if (!m_sim.start(arguments))
        return false;
    qputenv("VEXO_PORT", QByteArray::number(m_sim.port()));
    registerDiscoveryMetaTypes();

    m_discovery = std::make_unique<VEXO::VexoHandler>(VEXO::VexoLibrary::linked());
    m_page = std::make_unique<VexoTool::DeviceDisplayPage>(
        &m_store, m_discovery.get(), nullptr,
        VexoTool::UserWritableFile::forPath(m_dir.filePath(QStringLiteral("ColumnConfig.xml"))));
    // As the main window wires them: queued from the library's thread.
    VEXO::VexoHandler *discovery = m_discovery.get();
    VexoTool::DeviceDisplayPage *page = m_page.get();
    QObject::connect(discovery, &VEXO::VexoHandler::signalDeviceOnline, page,
                     &VexoTool::DeviceDisplayPage::onDeviceLogin);
    QObject::connect(discovery, &VEXO::VexoHandler::signalDeviceOffline, page,
                     &VexoTool::DeviceDisplayPage::onDeviceLogout);
    QObject::connect(discovery, &VEXO::VexoHandler::signalDeviceUpdate, page,
                     &VexoTool::DeviceDisplayPage::onDeviceUpdate);
    if (!discovery->start())
        return false;
    return QTest::qWaitFor([page, count] { return page->model()->rowCount() == count; }, ListedWithinMs);
}

void SimulatedList::stop()
{
    if (m_discovery)
        m_discovery->stop();
    m_page.reset();
    m_discovery.reset();
    m_sim.stop();
}

QString SimulatedList::statePath() const
{
    return m_dir.filePath(QStringLiteral("devices.json"));
}

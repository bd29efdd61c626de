// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <snapshotsource.h>

#include <deviceoperations.h>
#include <snapshotclient.h>

#include <QHash>
#include <QObject>

#include <memory>

namespace VEXO {
class OnvifHandler;
}

namespace VexoTool {

/**
 * @brief Snapshots of the ONVIF cameras the discovery service lists, with the credentials of the
 *        sign-in: nothing is asked of a camera before it, nor of a contested one.
 *
 * A camera is identified once with the sign-in's credentials (its clock, its certificate's
 * owner) and again only when it serves at another address. Runs on the GUI thread, the network
 * work asynchronous.
 */
class OnvifSnapshotSource final : public QObject, public SnapshotSource
{
    Q_OBJECT

public:
    /** @brief Snapshots of the devices @p discovery lists; @p discovery must outlive it. */
    explicit OnvifSnapshotSource(VEXO::OnvifHandler *discovery, QObject *parent = nullptr);
    ~OnvifSnapshotSource() override;

    bool available(const DeviceInfo &device) const override;
    void take(const DeviceInfo &device, QSize scaledTo, QObject *context, const Callback &done) override;

private:
    VEXO::OnvifHandler *m_discovery = nullptr;
    std::unique_ptr<onvif::DeviceOperations> m_operations;
    std::unique_ptr<onvif::SnapshotClient> m_client;
    QHash<QString, onvif::Identity> m_identities; // by the list's key
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <onvifchanger.h>

#include <deviceoperations.h>

#include <QHash>
#include <QMutex>

namespace VEXO {
class OnvifHandler;
} // namespace VEXO

namespace VexoTool {

/**
 * @brief Changes ONVIF devices for the panel with the ONVIF client, on the panel's worker thread.
 *
 * Each change identifies the device at the service address discovery knows for it (with the
 * user name and password typed into the panel, which identify its row too), then sets its
 * network parameters. After a change the device is identified at its new address, so that its
 * row follows it; after a change that needs a restart, once it restarted.
 */
class OnvifDeviceChanger final : public OnvifChanger
{
public:
    /** @brief A changer for the devices @p discovery knows; @p discovery must outlive it. */
    explicit OnvifDeviceChanger(VEXO::OnvifHandler *discovery);

    OnvifOutcome setNetParams(const OnvifTarget &target, const DeviceNetParam &params) override;
    OnvifOutcome reboot(const OnvifTarget &target) override;
    /** @brief Identifies the device with the current password, then sets the user's new one. */
    OnvifOutcome setPassword(const OnvifTarget &target, const QString &newPassword) override;
    QByteArray pinnedCertificate(const OnvifTarget &target) const override;
    bool forgetCertificate(const OnvifTarget &target) override;

private:
    onvif::Credentials credentialsOf(const OnvifTarget &target) const;
    std::optional<onvif::Identity> identify(onvif::BlockingDeviceOperations &operations, const OnvifTarget &target,
                                            OnvifOutcome *outcome);

    VEXO::OnvifHandler *m_discovery = nullptr;
    QMutex m_mutex;
    // Devices that accepted settings they use after a restart: where they serve, where they will.
    struct Waiting
    {
        onvif::Identity identity;
        QUrl newServiceUrl;
    };
    QHash<QString, Waiting> m_waiting;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

#include <QString>

namespace onvif {
struct Identity;
}

namespace VexoTool {

/**
 * @brief The device list's record of an ONVIF device identified with credentials: the one
 *        mapping from what the device told to what the list, vexo-cli and plans see.
 */
class OnvifRecord
{
public:
    /**
     * @brief Lead text "ONVIF", serial number, MAC as the list writes it, IPv4 address, mask and
     *        gateway, "maker model" as device type, firmware, HTTP port and DHCP; a device that
     *        speaks ONVIF is active and may use DHCP. Texts too long for a field are cut.
     */
    static VEXO_DEVICE_INFO fromIdentity(const onvif::Identity &identity);

    /** @brief A MAC address as a device told it, written as the list writes MACs. */
    static QString listMac(const QString &deviceMac);
};

} // namespace VexoTool

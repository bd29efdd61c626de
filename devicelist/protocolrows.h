// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

#include <QHash>
#include <QString>

class DeviceStore;

namespace VexoTool {

class DeviceInfoModel;

/**
 * @brief Keeps one row per physical device when devices answer both the device protocol (VXDP)
 *        and ONVIF, matched by MAC.
 *
 * The device list page hands every device event here first; what is not about ONVIF or a
 * device seen by both protocols is left to the page (the methods return false).
 *
 * - A VXDP row keeps its data; an ONVIF record with its MAC adds no row but marks the row as
 *   also answering ONVIF, and the mark goes when the ONVIF side leaves.
 * - A VXDP record for the MAC of an ONVIF row takes the row over, marked as also ONVIF; when the
 *   VXDP side leaves, the row shows the ONVIF record again.
 * - ONVIF devices not yet identified have no MAC and are listed by their endpoint reference. Their
 *   identification is reported by the ONVIF service as the departure of that record and the
 *   arrival of the identified one.
 */
class ProtocolRows
{
public:
    ProtocolRows(DeviceStore *store, DeviceInfoModel *model);

    /** @brief A device came online. @return true when handled here (rows may have changed). */
    bool online(const VEXO_DEVICE_INFO &record);
    /** @brief A device left. @return true when handled here; false leaves the removal to the page. */
    bool offline(const VEXO_DEVICE_INFO &record);
    /** @brief A device's data changed. @return true when handled here. */
    bool update(const VEXO_DEVICE_INFO &record);
    /** @brief The list was emptied. */
    void clear();

private:
    void replaceRow(const VEXO_DEVICE_INFO &listed, const VEXO_DEVICE_INFO &replacement);

    DeviceStore *m_store = nullptr;
    DeviceInfoModel *m_model = nullptr;
    QHash<QString, QString> m_vxdpSerialOfMac;     // listed VXDP rows
    QHash<QString, VEXO_DEVICE_INFO> m_onvifOfMac; // identified ONVIF devices: own rows or companions
};

} // namespace VexoTool

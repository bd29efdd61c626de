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
 * - ONVIF devices not yet identified are listed by their endpoint reference, without a MAC unless
 *   the ONVIF service lists one as the face of a verified device at its address (it then marks
 *   that device's row). Their identification is reported by the ONVIF service as the arrival of
 *   the identified record and then the departure of the unidentified one; both carry the
 *   endpoint's mark, and the identified record takes over the row in its place, with its number.
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
    bool onvifOnline(const VEXO_DEVICE_INFO &record);
    bool vxdpOnline(const VEXO_DEVICE_INFO &record);
    void takeOver(const VEXO_DEVICE_INFO &listed, const VEXO_DEVICE_INFO &record);

    DeviceStore *m_store = nullptr;
    DeviceInfoModel *m_model = nullptr;
    QHash<QString, QString> m_vxdpSerialOfMac;         // listed VXDP rows
    QHash<QString, VEXO_DEVICE_INFO> m_onvifOfMac;     // ONVIF devices with a MAC: own rows or companions
    QHash<QByteArray, VEXO_DEVICE_INFO> m_onvifOfMark; // the listed record of each ONVIF endpoint
};

} // namespace VexoTool

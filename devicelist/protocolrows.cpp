// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "protocolrows.h"

#include "deviceinfomodel.h"

#include <deviceinfo.h>
#include <devicestore.h>

namespace VexoTool {

ProtocolRows::ProtocolRows(DeviceStore *store, DeviceInfoModel *model)
    : m_store(store)
    , m_model(model)
{}

void ProtocolRows::replaceRow(const VEXO_DEVICE_INFO &listed, const VEXO_DEVICE_INFO &replacement)
{
    KVT_Guard guard(m_store->mutex());
    m_model->setAlsoOnvif(listed, false);
    if (fieldText(listed.serialNumber) == fieldText(replacement.serialNumber)
        && fieldText(listed.macAddress) == fieldText(replacement.macAddress)) {
        // Same key: the row keeps its place and its check box.
        m_store->update(replacement);
        m_model->updateDevice(replacement);
        return;
    }
    // Another key: the row keeps its place and number.
    m_store->remove(listed);
    m_store->add(replacement);
    if (!m_model->replaceDevice(listed, replacement))
        m_model->addDevice(replacement);
}

namespace {

bool sameKey(const VEXO_DEVICE_INFO &a, const VEXO_DEVICE_INFO &b)
{
    return fieldBytes(a.serialNumber) == fieldBytes(b.serialNumber)
           && fieldBytes(a.macAddress) == fieldBytes(b.macAddress);
}

} // namespace

void ProtocolRows::takeOver(const VEXO_DEVICE_INFO &listed, const VEXO_DEVICE_INFO &record)
{
    const QString oldMac = fieldText(listed.macAddress);
    const QString mac = fieldText(record.macAddress);
    const auto vxdp = m_vxdpSerialOfMac.constFind(oldMac);
    if (!oldMac.isEmpty() && vxdp != m_vxdpSerialOfMac.cend()) {
        // It was the ONVIF side of a device protocol row.
        if (mac == oldMac) {
            m_onvifOfMac.insert(mac, record);
            return;
        }
        m_onvifOfMac.remove(oldMac);
        VEXO_DEVICE_INFO row{};
        if (m_store->get(*vxdp, oldMac, row))
            m_model->setAlsoOnvif(row, false);
        onvifOnline(record);
        return;
    }
    if (!oldMac.isEmpty())
        m_onvifOfMac.remove(oldMac);
    const auto joins = m_vxdpSerialOfMac.constFind(mac);
    if (!mac.isEmpty() && joins != m_vxdpSerialOfMac.cend()) {
        // Now known as the ONVIF side of a listed device: one row for both.
        m_store->remove(listed);
        m_model->removeDevice(listed);
        onvifOnline(record);
        return;
    }
    if (!mac.isEmpty())
        m_onvifOfMac.insert(mac, record);
    replaceRow(listed, record);
}

bool ProtocolRows::online(const VEXO_DEVICE_INFO &record)
{
    KVT_Guard guard(m_store->mutex());
    if (isOnvifRecord(record)) {
        const QByteArray mark = onvifEndpointMark(record);
        if (!mark.isEmpty()) {
            const auto listed = m_onvifOfMark.constFind(mark);
            const bool replaces = listed != m_onvifOfMark.cend() && !sameKey(*listed, record);
            const VEXO_DEVICE_INFO before = replaces ? *listed : VEXO_DEVICE_INFO{};
            m_onvifOfMark.insert(mark, record);
            if (replaces) {
                takeOver(before, record);
                return true;
            }
        }
        return onvifOnline(record);
    }
    return vxdpOnline(record);
}

bool ProtocolRows::onvifOnline(const VEXO_DEVICE_INFO &record)
{
    const QString mac = fieldText(record.macAddress);
    const QString serial = fieldText(record.serialNumber);
    if (mac.isEmpty()) {
        // Not identified yet: its endpoint reference is its key, and devices without a MAC
        // are not one another's duplicates.
        if (m_store->indexOf(serial, mac) >= 0) {
            m_store->update(record);
            m_model->updateDevice(record);
        } else {
            m_store->add(record);
            m_model->addDevice(record);
        }
        return true;
    }
    const auto vxdp = m_vxdpSerialOfMac.constFind(mac);
    if (vxdp != m_vxdpSerialOfMac.cend()) {
        m_onvifOfMac.insert(mac, record);
        VEXO_DEVICE_INFO listed{};
        if (m_store->get(*vxdp, mac, listed))
            m_model->setAlsoOnvif(listed, true);
        return true;
    }
    const auto own = m_onvifOfMac.constFind(mac);
    if (own != m_onvifOfMac.cend()) {
        const VEXO_DEVICE_INFO listed = *own;
        m_onvifOfMac.insert(mac, record);
        replaceRow(listed, record);
        return true;
    }
    if (!m_store->containsMac(mac)) {
        m_onvifOfMac.insert(mac, record);
        m_store->add(record);
        m_model->addDevice(record);
    }
    return true;
}

bool ProtocolRows::vxdpOnline(const VEXO_DEVICE_INFO &record)
{
    const QString mac = fieldText(record.macAddress);
    const QString serial = fieldText(record.serialNumber);
    if (mac.isEmpty() || m_vxdpSerialOfMac.contains(mac))
        return false; // the page keeps out what is listed already
    const auto onvif = m_onvifOfMac.constFind(mac);
    if (onvif != m_onvifOfMac.cend()) {
        // The device protocol's row keeps its data; ONVIF stays as the mark.
        m_vxdpSerialOfMac.insert(mac, serial);
        replaceRow(*onvif, record);
        m_model->setAlsoOnvif(record, true);
        return true;
    }
    if (!m_store->containsMac(mac))
        m_vxdpSerialOfMac.insert(mac, serial);
    return false;
}

bool ProtocolRows::offline(const VEXO_DEVICE_INFO &record)
{
    if (const QByteArray mark = onvifEndpointMark(record); !mark.isEmpty()) {
        KVT_Guard guard(m_store->mutex());
        const auto listed = m_onvifOfMark.constFind(mark);
        if (listed != m_onvifOfMark.cend() && !sameKey(*listed, record))
            return true; // a newer record of the endpoint took its row over
        m_onvifOfMark.remove(mark);
    }
    const QString mac = fieldText(record.macAddress);
    if (mac.isEmpty())
        return false;
    KVT_Guard guard(m_store->mutex());
    const auto vxdp = m_vxdpSerialOfMac.constFind(mac);
    if (isOnvifRecord(record)) {
        const auto listed = m_onvifOfMac.constFind(mac);
        if (listed == m_onvifOfMac.cend() || !sameKey(*listed, record))
            return vxdp != m_vxdpSerialOfMac.cend(); // not what is listed with its MAC
        if (vxdp == m_vxdpSerialOfMac.cend()) {
            m_onvifOfMac.remove(mac);
            return false; // its own row goes
        }
        if (m_onvifOfMac.remove(mac) > 0) {
            VEXO_DEVICE_INFO listed{};
            if (m_store->get(*vxdp, mac, listed))
                m_model->setAlsoOnvif(listed, false);
        }
        return true;
    }
    if (vxdp == m_vxdpSerialOfMac.cend() || *vxdp != fieldText(record.serialNumber))
        return false;
    m_vxdpSerialOfMac.erase(vxdp);
    const auto onvif = m_onvifOfMac.constFind(mac);
    if (onvif == m_onvifOfMac.cend())
        return false;
    VEXO_DEVICE_INFO listed = record;
    m_store->get(fieldText(record.serialNumber), mac, listed);
    replaceRow(listed, *onvif);
    return true;
}

bool ProtocolRows::update(const VEXO_DEVICE_INFO &record)
{
    if (!isOnvifRecord(record))
        return false;
    KVT_Guard guard(m_store->mutex());
    if (const QByteArray mark = onvifEndpointMark(record); !mark.isEmpty() && m_onvifOfMark.contains(mark))
        m_onvifOfMark.insert(mark, record);
    const QString mac = fieldText(record.macAddress);
    if (mac.isEmpty())
        return false;
    if (m_vxdpSerialOfMac.contains(mac)) {
        m_onvifOfMac.insert(mac, record); // the row shows the device protocol's data
        return true;
    }
    if (m_onvifOfMac.contains(mac))
        m_onvifOfMac.insert(mac, record);
    return false;
}

void ProtocolRows::clear()
{
    m_vxdpSerialOfMac.clear();
    m_onvifOfMac.clear();
    m_onvifOfMark.clear();
}

} // namespace VexoTool

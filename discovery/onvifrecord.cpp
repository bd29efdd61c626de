// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifrecord.h"

#include "deviceinfo.h"
#include "macaddress.h"

#include <deviceoperations.h>
#include <subnetreach.h>

#include <QStringList>

namespace VexoTool {

VEXO_DEVICE_INFO OnvifRecord::fromIdentity(const onvif::Identity &identity)
{
    VEXO_DEVICE_INFO record{};
    setFieldText(record.leadText, OnvifLeadText);
    // A device that did not tell its serial number is listed under its endpoint, as before sign-in.
    const QString serial
        = identity.information.serialNumber.isEmpty() ? identity.endpoint : identity.information.serialNumber;
    setFieldText(record.serialNumber, serial.toLatin1());
    // A MAC the reader does not know stays as the device wrote it: the record is identified all the same.
    setFieldText(record.macAddress, listMac(identity.macAddress).toLatin1());
    setFieldText(record.ipv4Address, identity.ipv4.address.toLatin1());
    setFieldText(record.ipv4SubnetMask, maskText(identity.ipv4.prefixLength).toLatin1());
    setFieldText(record.ipv4Gateway, identity.gateways.value(0).toLatin1());
    const QString type
        = QStringList{identity.information.manufacturer, identity.information.model}.join(u' ').trimmed();
    setFieldText(record.deviceTypeText, type.toLatin1());
    setFieldText(record.softwareVersion, identity.information.firmwareVersion.toLatin1());
    record.httpPort = quint16(qBound(0, identity.httpPort, 65535));
    record.dhcpEnabled = identity.dhcp ? 1 : 0;
    record.capabilityFlags = VEXO_CAP_DHCP;
    record.extendedInfoValid = 1;
    record.inactive = 0;
    return record;
}

QString OnvifRecord::listMac(const QString &deviceMac)
{
    // A form the reader does not know stays as the device wrote it, so the device still shows one.
    const QString mac = MacAddress::canonical(deviceMac);
    return mac.isEmpty() ? deviceMac.toLower() : mac;
}

} // namespace VexoTool

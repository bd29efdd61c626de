// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalrecord.h"

#include <deviceinfo.h>
#include <macaddress.h>

namespace VexoTool {

JournalValues journalValuesOf(const VEXO_DEVICE_INFO &record)
{
    JournalValues values;
    values.ipv4Address = fieldText(record.ipv4Address);
    values.ipv4Mask = fieldText(record.ipv4SubnetMask);
    values.ipv4Gateway = fieldText(record.ipv4Gateway);
    values.ipv6Address = fieldText(record.ipv6Address);
    values.ipv6Gateway = fieldText(record.ipv6Gateway);
    if (!values.ipv6Address.isEmpty())
        values.ipv6PrefixLength = record.ipv6PrefixLength;
    if (record.port > 0 && record.port < 65536)
        values.devicePort = int(record.port);
    if (record.httpPort > 0)
        values.httpPort = record.httpPort;
    values.dhcp = record.dhcpEnabled != 0;
    return values;
}

JournalValues journalValuesOf(const DeviceNetParam &param)
{
    JournalValues values;
    values.ipv4Address = fieldText(param.ipv4Address);
    values.ipv4Mask = fieldText(param.ipv4SubnetMask);
    values.ipv4Gateway = fieldText(param.ipv4Gateway);
    values.ipv6Address = fieldText(param.ipv6Address);
    values.ipv6Gateway = fieldText(param.ipv6Gateway);
    if (!values.ipv6Address.isEmpty())
        values.ipv6PrefixLength = param.ipv6PrefixLength;
    if (param.port > 0)
        values.devicePort = param.port;
    if (param.httpPort > 0)
        values.httpPort = param.httpPort;
    values.dhcp = param.dhcpEnabled != 0;
    return values;
}

void describeDevice(JournalEntry &entry, const VEXO_DEVICE_INFO &record)
{
    const bool onvif = isOnvifRecord(record);
    entry.serialNumber = fieldText(record.serialNumber);
    const QString mac = fieldText(record.macAddress);
    entry.mac = MacAddress::canonical(mac).isEmpty() ? mac : MacAddress::canonical(mac);
    entry.model = fieldText(record.deviceTypeText);
    entry.protocol = onvif ? QStringLiteral("ONVIF") : QStringLiteral("VXDP");
    if (onvif)
        entry.verification = QStringLiteral("none");
    else if (!(record.identityFlags & VEXO_IDENTITY_CHECKED))
        entry.verification = QStringLiteral("unchecked");
    else
        entry.verification
            = record.identityFlags & VEXO_IDENTITY_VERIFIED ? QStringLiteral("verified") : QStringLiteral("unverified");
}

} // namespace VexoTool

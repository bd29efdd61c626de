// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <deviceinfo.h>

#include <QByteArray>
#include <QFile>
#include <QString>

/**
 * @brief A device record as the discovery library reports an ordinary activated camera.
 *
 * Devices 0 to 16,777,215 differ in serial number, MAC ("00-1a-2b-" and @p n in three bytes)
 * and IPv4 address ("10." and @p n in three bytes, unless @p ipv4 is given).
 */
inline VEXO_DEVICE_INFO deviceRecord(int n, const QByteArray &ipv4 = QByteArray())
{
    const auto byte = [n](int shift) {
        return QByteArray::number((n >> shift) & 0xff);
    };
    const auto hexByte = [n](int shift) {
        return QByteArray::number((n >> shift) & 0xff, 16).rightJustified(2, '0');
    };
    VEXO_DEVICE_INFO record{};
    setFieldText(record.leadText, "VXDP/1");
    setFieldText(record.serialNumber, "VX-IPC-B420-2026" + QByteArray::number(n).rightJustified(4, '0'));
    setFieldText(record.macAddress, "00-1a-2b-" + hexByte(16) + '-' + hexByte(8) + '-' + hexByte(0));
    setFieldText(record.ipv4Address, ipv4.isEmpty() ? "10." + byte(16) + '.' + byte(8) + '.' + byte(0) : ipv4);
    setFieldText(record.ipv4SubnetMask, "255.255.255.0");
    setFieldText(record.ipv4Gateway, "10.0.0.254");
    setFieldText(record.deviceTypeText, "VX-IPC-B420");
    setFieldText(record.softwareVersion, "V5.7.3 build 260101");
    setFieldText(record.dspVersion, "V7.3 build 251212");
    setFieldText(record.startTime, "2026-01-02 03:04:05");
    setFieldText(record.ipv6Address, "fe80::21a:2bff:fe00:1");
    setFieldText(record.ipv6Gateway, "fe80::1");
    record.port = 8000;
    record.channelCount = 4;
    record.httpPort = 80;
    record.ipv6PrefixLength = 64;
    record.capabilityFlags = 0x07;
    record.extendedInfoValid = 1;
    record.dhcpEnabled = 0;
    record.inactive = 0;
    record.eventCode = VEXO_EVENT_ONLINE;
    return record;
}

inline QString serialOf(const VEXO_DEVICE_INFO &record)
{
    return fieldText(record.serialNumber);
}

inline QString macOf(const VEXO_DEVICE_INFO &record)
{
    return fieldText(record.macAddress);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

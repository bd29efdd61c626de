// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicetable.h"

#include <QTextStream>

#include <cstdio>
#include <cstring>

namespace {

template<std::size_t N>
QString field(const char (&text)[N])
{
    return QString::fromLatin1(text, static_cast<qsizetype>(strnlen(text, N)));
}

// What a device says must not drive the terminal: control characters are shown as \xNN.
template<std::size_t N>
QString shown(const char (&text)[N])
{
    return DeviceTable::escaped(field(text));
}

} // namespace

void VEXO_CALLBACK DeviceTable::onDeviceEvent(const VEXO_DEVICE_INFO *info, void *user)
{
    if (info && user)
        static_cast<DeviceTable *>(user)->apply(*info);
}

void DeviceTable::apply(const VEXO_DEVICE_INFO &info)
{
    std::lock_guard lock(m_mutex);
    ++m_events;
    auto same = [&info](const VEXO_DEVICE_INFO &d) {
        return std::strncmp(d.macAddress, info.macAddress, sizeof d.macAddress) == 0;
    };
    auto it = std::find_if(m_devices.begin(), m_devices.end(), same);
    if (info.eventCode == VEXO_EVENT_OFFLINE) {
        if (it != m_devices.end())
            m_devices.erase(it);
    } else if (it != m_devices.end()) {
        *it = info;
    } else {
        m_devices.push_back(info);
    }
    if (m_echo && (!m_echoFilter || m_echoFilter(info))) {
        std::fputs(qPrintable(eventLine(info) + QLatin1Char('\n')), stdout);
        std::fflush(stdout);
    }
}

std::vector<VEXO_DEVICE_INFO> DeviceTable::devices() const
{
    std::lock_guard lock(m_mutex);
    return m_devices;
}

std::size_t DeviceTable::eventCount() const
{
    std::lock_guard lock(m_mutex);
    return m_events;
}

QJsonObject DeviceTable::toJson(const VEXO_DEVICE_INFO &d)
{
    QJsonObject o;
    o[QStringLiteral("serialNumber")] = field(d.serialNumber);
    o[QStringLiteral("mac")] = field(d.macAddress);
    o[QStringLiteral("deviceType")] = field(d.deviceTypeText);
    o[QStringLiteral("deviceTypeCode")] = static_cast<qint64>(d.deviceTypeCode);
    o[QStringLiteral("ipv4Address")] = field(d.ipv4Address);
    o[QStringLiteral("ipv4SubnetMask")] = field(d.ipv4SubnetMask);
    o[QStringLiteral("ipv4Gateway")] = field(d.ipv4Gateway);
    o[QStringLiteral("port")] = static_cast<qint64>(d.port);
    o[QStringLiteral("httpPort")] = d.httpPort;
    o[QStringLiteral("channels")] = static_cast<qint64>(d.channelCount);
    o[QStringLiteral("softwareVersion")] = field(d.softwareVersion);
    o[QStringLiteral("dspVersion")] = field(d.dspVersion);
    o[QStringLiteral("startTime")] = field(d.startTime);
    o[QStringLiteral("activated")] = d.inactive == 0;
    // Without a valid maker certificate the device may be an impostor; the library sends it no secret.
    o[QStringLiteral("verified")] = (d.identityFlags & VEXO_IDENTITY_VERIFIED) != 0;
    o[QStringLiteral("dhcp")] = d.dhcpEnabled != 0;
    o[QStringLiteral("capabilities")] = d.capabilityFlags;
    o[QStringLiteral("keyFormat")] = d.keyFormatFlags;
    if (d.extendedInfoValid) {
        o[QStringLiteral("ipv6Address")] = field(d.ipv6Address);
        o[QStringLiteral("ipv6Gateway")] = field(d.ipv6Gateway);
        o[QStringLiteral("ipv6PrefixLength")] = d.ipv6PrefixLength;
    }
    return o;
}

QJsonObject DeviceTable::toJson(const ListedDevice &device)
{
    const VEXO_DEVICE_INFO &d = device.info;
    QJsonObject o;
    if (device.protocol.startsWith(QLatin1String("VXDP"))) {
        o = toJson(d);
    } else {
        o[QStringLiteral("serialNumber")] = field(d.serialNumber);
        o[QStringLiteral("mac")] = field(d.macAddress);
        o[QStringLiteral("model")] = field(d.deviceTypeText);
        o[QStringLiteral("ipv4Address")] = field(d.ipv4Address);
        o[QStringLiteral("httpPort")] = d.httpPort;
        o[QStringLiteral("identified")] = device.identified;
        if (device.identified) {
            o[QStringLiteral("manufacturer")] = device.manufacturer;
            o[QStringLiteral("ipv4SubnetMask")] = field(d.ipv4SubnetMask);
            o[QStringLiteral("ipv4Gateway")] = field(d.ipv4Gateway);
            o[QStringLiteral("softwareVersion")] = field(d.softwareVersion);
            o[QStringLiteral("dhcp")] = d.dhcpEnabled != 0;
        }
        if (!device.name.isEmpty())
            o[QStringLiteral("name")] = device.name;
    }
    o[QStringLiteral("protocol")] = device.protocol;
    if (!device.endpoint.isEmpty()) {
        o[QStringLiteral("endpoint")] = device.endpoint;
        o[QStringLiteral("serviceAddress")] = device.serviceUrl;
        // Whether an adapter's subnet holds the service address; HTTP requests need that.
        o[QStringLiteral("reachable")] = device.unreachableAdvice.isEmpty();
        if (!device.unreachableAdvice.isEmpty())
            o[QStringLiteral("advice")] = device.unreachableAdvice;
    }
    return o;
}

QString DeviceTable::escaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u < 0xa0) || u == '\\')
            out += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

QString DeviceTable::toText(const std::vector<VEXO_DEVICE_INFO> &devices)
{
    std::vector<ListedDevice> rows;
    for (const auto &d : devices)
        rows.push_back(ListedDevice::fromVxdp(d));
    return toText(rows);
}

QString DeviceTable::toText(const std::vector<ListedDevice> &devices)
{
    QString out;
    QTextStream s(&out);
    s.setFieldAlignment(QTextStream::AlignLeft);
    auto row = [&s](const QStringList &cells) {
        static const int widths[] = {4, 13, 24, 34, 18, 16, 6, 16, 10};
        for (int i = 0; i < cells.size(); ++i) {
            s.setFieldWidth(widths[i]);
            s << cells.at(i);
        }
        s.setFieldWidth(0);
        s << '\n';
    };
    row({QStringLiteral("#"), QStringLiteral("Protocol"), QStringLiteral("Type"), QStringLiteral("Serial Number"),
         QStringLiteral("MAC"), QStringLiteral("IPv4"), QStringLiteral("Port"), QStringLiteral("State"),
         QStringLiteral("Identity")});
    int n = 0;
    QStringList notes;
    for (const auto &device : devices) {
        const VEXO_DEVICE_INFO &d = device.info;
        if (!device.unreachableAdvice.isEmpty())
            notes.append(QStringLiteral("#%1: %2").arg(n + 1).arg(device.unreachableAdvice));
        if (device.protocol == QLatin1String("ONVIF")) {
            // Before identification the endpoint stands in for the serial number.
            const QString serial = device.identified ? shown(d.serialNumber) : escaped(device.endpoint);
            const QString state = !device.unreachableAdvice.isEmpty() ? QStringLiteral("Unreachable")
                                  : device.identified                 ? QStringLiteral("Identified")
                                                                      : QStringLiteral("Not identified");
            row({QString::number(++n), device.protocol, shown(d.deviceTypeText), serial, shown(d.macAddress),
                 shown(d.ipv4Address), QString::number(d.port), state, QStringLiteral("-")});
            continue;
        }
        row({QString::number(++n), device.protocol, shown(d.deviceTypeText), shown(d.serialNumber), shown(d.macAddress),
             shown(d.ipv4Address), QString::number(d.port),
             d.inactive ? QStringLiteral("Not activated") : QStringLiteral("Activated"),
             (d.identityFlags & VEXO_IDENTITY_VERIFIED) ? QStringLiteral("verified") : QStringLiteral("UNVERIFIED")});
    }
    s << n << " device(s)\n";
    // Devices on a subnet of their own answer discovery on the link but no HTTP request.
    for (const QString &note : notes)
        s << escaped(note) << '\n';
    return out;
}

QString DeviceTable::eventLine(const VEXO_DEVICE_INFO &d)
{
    const char *what = d.eventCode == VEXO_EVENT_ONLINE    ? "online "
                       : d.eventCode == VEXO_EVENT_CHANGED ? "changed"
                                                           : "offline";
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(QLatin1String(what), shown(d.macAddress), shown(d.ipv4Address), shown(d.deviceTypeText),
             shown(d.serialNumber));
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "batchnumbering.h"

#include "inputvalidation.h"

namespace VexoTool {

namespace {

// Fourth parts 1 to 254 after the wrap: neither the network nor the broadcast-like end.
constexpr int HostsPerWrappedPart = 254;

// The parts are read in decimal as typed: "010" is ten, as the checks read it.
quint32 ipv4Value(const QString &text)
{
    quint32 value = 0;
    for (const QString &part : text.split(QLatin1Char('.')))
        value = (value << 8) | (part.toUInt() & 0xFF);
    return value;
}

} // namespace

BatchNumbering numberBatch(const QString &startIp, int count, const QString &subnetMask)
{
    BatchNumbering numbering;
    const QStringList parts = startIp.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4 || !isValidIPv4(startIp.trimmed()))
        return numbering;
    const int third = parts.at(2).toInt();
    const int fourth = parts.at(3).toInt();
    const bool limitToSubnet = isValidSubnetMask(subnetMask);
    const quint32 mask = limitToSubnet ? ipv4Value(subnetMask) : 0;
    const quint32 network = ipv4Value(startIp.trimmed()) & mask;

    QStringList addresses;
    for (int j = 0; j < count; ++j) {
        QString address;
        if (fourth + j <= 255) {
            address = QStringLiteral("%1.%2.%3.%4").arg(parts.at(0), parts.at(1), parts.at(2)).arg(fourth + j);
        } else {
            const int past = j - (255 - fourth) - 1;
            const int wrappedThird = third + 1 + past / HostsPerWrappedPart;
            if (wrappedThird > 255)
                break;
            address = QStringLiteral("%1.%2.%3.%4")
                          .arg(parts.at(0), parts.at(1))
                          .arg(wrappedThird)
                          .arg(1 + past % HostsPerWrappedPart);
        }
        if (limitToSubnet && (ipv4Value(address) & mask) != network)
            break;
        addresses.append(address);
    }
    numbering.fitting = int(addresses.size());
    if (numbering.fitting == count)
        numbering.addresses = addresses;
    return numbering;
}

} // namespace VexoTool

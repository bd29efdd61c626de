// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "batchnumbering.h"

#include "inputvalidation.h"
#include "networkcheck.h"

namespace VexoTool {

namespace {

// Fourth parts 1 to 254 after the wrap: neither the network nor the broadcast-like end.
constexpr int HostsPerWrappedPart = 254;

// Whether @p address may go to a device whose mask is @p subnetMask, numbered from @p start:
// inside the start address's subnet, and neither that subnet's network nor its broadcast
// address (a /31 has neither). Without a valid mask nothing is known of the subnet.
bool fitsSubnet(const QString &address, quint32 start, const QString &subnetMask)
{
    if (!isValidSubnetMask(subnetMask))
        return true;
    const quint32 mask = ipv4Number(subnetMask);
    const quint32 value = ipv4Number(address);
    const quint32 network = start & mask;
    if ((value & mask) != network)
        return false;
    if (mask == 0xFFFFFFFEu || mask == 0)
        return true;
    return value != network && value != (network | ~mask);
}

} // namespace

BatchNumbering numberBatch(const QString &startIp, int count, const QString &subnetMask)
{
    return numberBatch(startIp, QStringList(qMax(count, 0), subnetMask));
}

BatchNumbering numberBatch(const QString &startIp, const QStringList &subnetMasks)
{
    BatchNumbering numbering;
    const int count = int(subnetMasks.size());
    const QStringList parts = startIp.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4 || !isValidIPv4(startIp.trimmed()))
        return numbering;
    const int third = parts.at(2).toInt();
    const int fourth = parts.at(3).toInt();
    // The parts are read in decimal as typed: "010" is ten, as the checks read it.
    const quint32 start = ipv4Number(startIp.trimmed());

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
        if (!fitsSubnet(address, start, subnetMasks.at(j)))
            break;
        addresses.append(address);
    }
    numbering.fitting = int(addresses.size());
    if (numbering.fitting == count)
        numbering.addresses = addresses;
    return numbering;
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "subnetreach.h"

#include <QCoreApplication>
#include <QHostAddress>
#include <QNetworkInterface>

#include <bit>

namespace VexoTool {

namespace {

quint32 maskOf(int prefixLength)
{
    return prefixLength == 0 ? 0u : ~quint32(0) << (32 - prefixLength);
}

QString ipv4Text(quint32 address)
{
    return QHostAddress(address).toString();
}

} // namespace

std::optional<AdapterAddress> adapterReaching(quint32 address, const QVector<AdapterAddress> &adapters)
{
    for (const AdapterAddress &adapter : adapters) {
        if (adapter.prefixLength < 0 || adapter.prefixLength > 32)
            continue;
        const quint32 mask = maskOf(adapter.prefixLength);
        if ((address & mask) == (adapter.address & mask))
            return adapter;
    }
    return std::nullopt;
}

QString subnetText(quint32 address, int prefixLength)
{
    return ipv4Text(address & maskOf(qBound(0, prefixLength, 32))) + QLatin1Char('/') + QString::number(prefixLength);
}

QString maskText(int prefixLength)
{
    return prefixLength < 0 || prefixLength > 32 ? QString() : ipv4Text(maskOf(prefixLength));
}

int prefixOfMask(const QString &mask)
{
    bool ok = false;
    const quint32 bits = QHostAddress(mask).toIPv4Address(&ok);
    if (!ok || mask.count(QLatin1Char('.')) != 3)
        return -1;
    const int prefix = std::popcount(bits);
    // Ones then zeros: nothing may be set after the first zero.
    return bits == maskOf(prefix) ? prefix : -1;
}

bool isLoopbackScope()
{
    // Spelt exactly as the discovery services take it; anything else starts no service.
    return qEnvironmentVariable("VEXO_SCOPE") == QLatin1String("loopback");
}

QVector<AdapterAddress> reachableAdapters()
{
    if (isLoopbackScope())
        return {AdapterAddress{QStringLiteral("lo"), 0x7f000001u, 8}};
    QVector<AdapterAddress> adapters;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : interface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            adapters.append({interface.humanReadableName(), entry.ip().toIPv4Address(), entry.prefixLength()});
        }
    }
    return adapters;
}

QString unreachableAdvice(quint32 address, int prefixLength, const QVector<AdapterAddress> &adapters)
{
    if (adapterReaching(address, adapters))
        return QString();
    const int prefix = prefixLength > 0 && prefixLength <= 32 ? prefixLength : 24;
    const QString subnet = subnetText(address, prefix);
    const QString device = ipv4Text(address);
    if (adapters.isEmpty())
        return QCoreApplication::translate(
                   "VexoTool::SubnetReach",
                   "This computer has no network adapter with an IPv4 address, so the device at %1 cannot be "
                   "reached. Connect the computer to the device's network and give the adapter an address in %2.")
            .arg(device, subnet);
    //: %1 is the device's address, %2 its subnet such as 10.1.2.0/24, %3 an adapter name such as eth0
    return QCoreApplication::translate(
               "VexoTool::SubnetReach",
               "The device at %1 is outside the subnets of this computer's network adapters, so a change would not "
               "reach it. Add an address in %2 to the network adapter \"%3\" (one that no other device uses), or "
               "connect the computer to the device's network, then select the device again.")
        .arg(device, subnet, adapters.first().adapterName);
}

} // namespace VexoTool

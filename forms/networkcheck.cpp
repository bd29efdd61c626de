// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "networkcheck.h"

#include <QStringList>

namespace VexoTool {

namespace {

NetworkVerdict refuse(NetworkProblem problem, NetworkField field)
{
    NetworkVerdict verdict;
    verdict.problem = problem;
    verdict.field = field;
    return verdict;
}

// Addresses no device can take whatever the subnet: the first part decides.
NetworkProblem addressRange(quint32 address)
{
    const quint32 first = address >> 24;
    if (first == 0)
        return NetworkProblem::Unspecified;
    if (first == 127)
        return NetworkProblem::Loopback;
    if (first >= 224 && first <= 239)
        return NetworkProblem::Multicast;
    if (first >= 240)
        return NetworkProblem::Reserved;
    return NetworkProblem::None;
}

} // namespace

quint32 ipv4Number(const QString &address)
{
    quint32 value = 0;
    for (const QString &part : address.split(QLatin1Char('.')))
        value = (value << 8) | (part.toUInt() & 0xFF);
    return value;
}

QString ipv4Text(quint32 value)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

bool hasLeadingZero(const QString &address)
{
    const QStringList parts = address.split(QLatin1Char('.'));
    for (const QString &part : parts) {
        if (part.size() > 1 && part.startsWith(QLatin1Char('0')))
            return true;
    }
    return false;
}

NetworkVerdict checkNetworkSettings(const QString &address, const QString &subnetMask, const QString &gateway,
                                    bool allowLoopback)
{
    if (hasLeadingZero(address))
        return refuse(NetworkProblem::LeadingZero, NetworkField::Address);
    const quint32 host = ipv4Number(address);
    if (const NetworkProblem problem = addressRange(host);
        problem != NetworkProblem::None && !(allowLoopback && problem == NetworkProblem::Loopback))
        return refuse(problem, NetworkField::Address);

    NetworkVerdict verdict;
    const bool hasMask = !subnetMask.isEmpty();
    const quint32 mask = hasMask ? ipv4Number(subnetMask) : 0;
    const quint32 network = host & mask;
    const quint32 broadcast = network | ~mask;
    // A /31 is a point-to-point link: both of its addresses are hosts.
    const bool pointToPoint = mask == 0xFFFFFFFEu;
    if (hasMask) {
        if (mask == 0)
            return refuse(NetworkProblem::MaskWithoutSubnet, NetworkField::SubnetMask);
        verdict.firstHost = ipv4Text(pointToPoint ? network : network + 1);
        verdict.lastHost = ipv4Text(pointToPoint ? broadcast : broadcast - 1);
        if (!pointToPoint && host == network)
            verdict.problem = NetworkProblem::NetworkAddress;
        else if (!pointToPoint && host == broadcast)
            verdict.problem = NetworkProblem::BroadcastAddress;
        if (!verdict.ok())
            return verdict;
    }

    if (gateway.isEmpty() || gateway == QLatin1String("0.0.0.0"))
        return verdict;
    verdict.field = NetworkField::Gateway;
    if (hasLeadingZero(gateway)) {
        verdict.problem = NetworkProblem::LeadingZero;
        return verdict;
    }
    const quint32 router = ipv4Number(gateway);
    if (router == host) {
        verdict.problem = NetworkProblem::GatewayIsDevice;
        return verdict;
    }
    if (hasMask) {
        const bool inSubnet = (router & mask) == network;
        const bool isHost = pointToPoint || (router != network && router != broadcast);
        if (!inSubnet || !isHost) {
            verdict.problem = NetworkProblem::GatewayOutsideSubnet;
            return verdict;
        }
    }
    verdict.field = NetworkField::Address;
    return verdict;
}

} // namespace VexoTool

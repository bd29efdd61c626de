// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

namespace VexoTool {

/** @brief The field a network problem belongs to, so the form can mark it. */
enum class NetworkField { Address, SubnetMask, Gateway };

/** @brief Why an address, mask and gateway that are each well formed still do not work together. */
enum class NetworkProblem {
    None,
    LeadingZero,          ///< a part written with a leading zero ("198.051.100.9"), read as octal by some devices
    Unspecified,          ///< 0.0.0.0/8, "this network"
    Loopback,             ///< 127.0.0.0/8
    Multicast,            ///< 224.0.0.0/4
    Reserved,             ///< 240.0.0.0/4, including the limited broadcast 255.255.255.255
    NetworkAddress,       ///< the address is its subnet's network address
    BroadcastAddress,     ///< the address is its subnet's broadcast address
    MaskWithoutSubnet,    ///< mask 0.0.0.0
    GatewayOutsideSubnet, ///< the gateway is not a host of the device's subnet
    GatewayIsDevice,      ///< the gateway is the device's own address
};

/** @brief The outcome of checkNetworkSettings(): the first problem, its field, and the subnet's hosts. */
struct NetworkVerdict
{
    NetworkProblem problem = NetworkProblem::None;
    NetworkField field = NetworkField::Address;
    /** @brief The first and last host address of the subnet, when address and mask give one. */
    QString firstHost;
    QString lastHost;

    bool ok() const { return problem == NetworkProblem::None; }
};

/**
 * @brief Whether a device can work with @p address, @p subnetMask and @p gateway together.
 *
 * The texts are those the single-field checks (isValidIPv4(), isValidSubnetMask(),
 * isValidGateway()) have passed. An empty mask or gateway is one the caller does not change
 * and is not looked at; gateway "0.0.0.0" means no gateway. Rules, first failure wins:
 * the address is written without leading zeros and is not in 0/8, 127/8, 224/4 or 240/4;
 * the mask is not 0.0.0.0; the address is neither the network nor the broadcast address of
 * its subnet (a /31 has neither); the gateway is written without leading zeros, is not the
 * address itself, and is a host of the same subnet.
 *
 * With @p allowLoopback, addresses in 127/8 pass the first rule (ONVIF devices of the loopback
 * scope live there); every other rule applies to them as to any address.
 */
NetworkVerdict checkNetworkSettings(const QString &address, const QString &subnetMask, const QString &gateway,
                                    bool allowLoopback = false);

/** @brief The dotted decimal @p address as a number, first part highest; parts are read in decimal. */
quint32 ipv4Number(const QString &address);
/** @brief @p value as a dotted decimal address. */
QString ipv4Text(quint32 value);

/** @brief Whether some part of the dotted @p address has a leading zero ("198.51.100.09"). */
bool hasLeadingZero(const QString &address);

} // namespace VexoTool

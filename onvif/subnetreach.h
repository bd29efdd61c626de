// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace VexoTool {

/** @brief One IPv4 address of a network adapter of this computer. */
struct AdapterAddress
{
    QString adapterName; ///< as the system names the adapter ("eth0", "Ethernet 2")
    quint32 address = 0;
    int prefixLength = 0; ///< 0 to 32

    friend bool operator==(const AdapterAddress &, const AdapterAddress &) = default;
};

/**
 * @brief The first adapter address whose subnet holds @p address, if any.
 *
 * A /32 holds only its own address; a /31 its two addresses; a /0 every address. Prefix
 * lengths outside 0 to 32 belong to no subnet.
 */
std::optional<AdapterAddress> adapterReaching(quint32 address, const QVector<AdapterAddress> &adapters);

/** @brief The subnet of @p address with @p prefixLength as "10.1.2.0/24". */
QString subnetText(quint32 address, int prefixLength);

/** @brief The dotted-quad mask of @p prefixLength ("255.255.255.0" for 24); empty outside 0 to 32. */
QString maskText(int prefixLength);

/** @brief The prefix length of a dotted-quad mask ("255.255.255.0": 24), or -1 when it is none. */
int prefixOfMask(const QString &mask);

/** @brief Whether VEXO_SCOPE says "loopback": the program then talks only to 127.0.0.0/8. */
bool isLoopbackScope();

/**
 * @brief The adapters a device on the network can be reached through: in the LAN scope every
 *        adapter that is up and not loopback, with its IPv4 addresses; in the loopback scope
 *        only the loopback adapter as 127.0.0.1/8.
 */
QVector<AdapterAddress> reachableAdapters();

/**
 * @brief What the user should do before changing a device at @p address that no adapter
 *        reaches, or an empty text when one does.
 *
 * @p prefixLength is the device's own (24 is assumed when it is unknown, 0).
 */
QString unreachableAdvice(quint32 address, int prefixLength, const QVector<AdapterAddress> &adapters);

} // namespace VexoTool

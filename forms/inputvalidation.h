// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

namespace VexoTool {

/**
 * @brief Whether @p text is an IPv4 address a device may take: four decimal parts of at most
 *        255, separated by ".", the last part not 0 (so "0.1.2.3" passes, "192.168.1.0" fails).
 */
bool isValidIPv4(const QString &text);

/**
 * @brief Whether @p text is a subnet mask with contiguous one-bits from the top, from
 *        "0.0.0.0" up to "255.255.255.254" (written exactly so, without leading zeros).
 */
bool isValidSubnetMask(const QString &text);

/**
 * @brief Whether @p text is an IPv4 gateway: "0.0.0.0" (no gateway), or four decimal parts of
 *        at most 255 whose last part is neither 0 nor 255.
 */
bool isValidGateway(const QString &text);

/**
 * @brief Whether @p text is an IPv6 address or gateway.
 *
 * Accepts "::" (also with surrounding spaces), a zone suffix after the last "%", one "::" gap,
 * and an IPv4 tail that counts as two groups; at most eight groups in all.
 */
bool isValidIPv6(const QString &text);

} // namespace VexoTool

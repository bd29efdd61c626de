// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QStringView>

namespace VexoTool {

/**
 * @brief Reads MAC addresses as people and devices write them, and writes them as the device
 *        list does: "aa-bb-cc-dd-ee-ff".
 *
 * Accepted, in any letter case and with spaces around: six pairs of hexadecimal digits
 * separated by "-" or ":" (also mixed) or not separated at all ("aabbccddeeff"), and three
 * groups of four digits separated by dots ("aabb.ccdd.eeff").
 */
class MacAddress
{
public:
    /** @brief @p text as "aa-bb-cc-dd-ee-ff", or an empty text when it is no MAC address. */
    static QString canonical(QStringView text);
};

} // namespace VexoTool

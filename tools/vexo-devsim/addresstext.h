// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <optional>

/** Dotted-quad IPv4 texts, strictly: four decimal parts 0-255, no short forms such as "10.1". */
namespace AddressText {

inline QString ipv4(const std::array<std::uint8_t, 4> &a)
{
    return QStringLiteral("%1.%2.%3.%4").arg(a[0]).arg(a[1]).arg(a[2]).arg(a[3]);
}

inline std::optional<std::array<std::uint8_t, 4>> parseIpv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    std::array<std::uint8_t, 4> out{};
    for (int i = 0; i < 4; ++i) {
        const QString &part = parts.at(i);
        bool ok = false;
        const uint v = part.toUInt(&ok, 10);
        if (!ok || part.isEmpty() || part.size() > 3 || !part.front().isDigit() || v > 255)
            return std::nullopt;
        out[std::size_t(i)] = std::uint8_t(v);
    }
    return out;
}

} // namespace AddressText

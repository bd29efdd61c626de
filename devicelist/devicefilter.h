// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QCoreApplication>
#include <QString>

#include <optional>
#include <utility>

namespace VexoTool {

/**
 * @brief What the device list's filter box asks for: a text or an IPv4 address range.
 *
 * A text that reads as an address range, either as a network ("192.168.1.0/24") or as a first
 * and last address ("192.168.1.10-192.168.1.50", first not above last), matches the devices
 * whose IPv4 address lies in it, both ends included. Any other text matches, ignoring case, the
 * devices whose serial number, MAC, device type, IPv4 address or software version contains it;
 * in the MAC, ':' and '-' separators are ignored on both sides ("aabbcc" finds "AA-BB-CC-..").
 * An empty (or blank) text matches every device. A text of only digits, dots, spaces, "/" and "-"
 * that reads as no range ("198.51.100.4-11", "127.1.0.0/33") is still searched as text, and
 * formatHint() says how a range is written.
 */
class DeviceFilter
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::DeviceFilter)

public:
    /** @brief The fields of one device that the filter looks at. */
    struct Fields
    {
        QString serialNumber;
        QString mac;
        QString deviceType;
        QString ipv4Address;
        QString softwareVersion;
    };

    /** @brief The fields of one device in the form the filter compares fastest. */
    struct Prepared
    {
        QString text;      // all fields case-folded, one a line
        QString macDigits; // the MAC case-folded without separators
        std::optional<quint32> ipv4;
    };
    static Prepared prepare(const Fields &fields);

    DeviceFilter() = default;
    explicit DeviceFilter(const QString &text);

    /** @brief Whether the filter lets every device through. */
    bool isEmpty() const { return m_text.isEmpty() && !m_range; }

    /** @brief Whether the text was taken as an IPv4 address range. */
    bool isRange() const { return m_range.has_value(); }
    /** @brief The range's first and last address (host order) when the text was taken as one. */
    std::optional<std::pair<quint32, quint32>> range() const
    {
        return m_range ? std::optional(std::pair(m_range->first, m_range->last)) : std::nullopt;
    }

    /**
     * @brief Whether @p text means what it says: an address range, or a text that does not try
     *        to be one; what the filter box shows a formatHint() for is not well formed
     *        ("198.51.100.4-11", "127.1.0.0/33").
     */
    static bool isWellFormed(const QString &text);

    /**
     * @brief For a text that looks like an address range but is none, how a range is written
     *        (translated); empty for every other text.
     */
    QString formatHint() const { return m_formatHint; }

    bool matches(const Fields &fields) const { return matches(prepare(fields)); }
    /** @brief As matches(), for a device whose fields were prepared once for many filters. */
    bool matches(const Prepared &device) const;

    /** @brief The address as a number, for four decimal parts 0 to 255 only. */
    static std::optional<quint32> parseIPv4(QStringView text);

private:
    struct Range
    {
        quint32 first;
        quint32 last;
    };
    static std::optional<Range> parseRange(QStringView text);
    static QString formatHintFor(QStringView text);

    QString m_text;    // trimmed, case-folded
    QString m_macText; // m_text without MAC separators; empty when it holds a '.'
    std::optional<Range> m_range;
    QString m_formatHint;
};

} // namespace VexoTool

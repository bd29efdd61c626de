// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicefilter.h"

namespace VexoTool {

namespace {

bool isMacSeparator(QChar c)
{
    return c == u':' || c == u'-';
}

// Whether @p haystack, with its MAC separators skipped, contains @p needle (lower case, without
// separators). Compared in place: the filter runs over every row on each key press.
bool containsIgnoringSeparators(QStringView haystack, QStringView needle)
{
    const qsizetype size = haystack.size();
    for (qsizetype start = 0; start < size; ++start) {
        if (isMacSeparator(haystack.at(start)))
            continue;
        qsizetype at = start;
        qsizetype matched = 0;
        while (matched < needle.size() && at < size) {
            const QChar c = haystack.at(at++);
            if (isMacSeparator(c))
                continue;
            if (c.toLower() != needle.at(matched))
                break;
            ++matched;
        }
        if (matched == needle.size())
            return true;
    }
    return false;
}

} // namespace

DeviceFilter::DeviceFilter(const QString &text)
    : m_text(text.trimmed())
{
    m_range = parseRange(m_text);
    if (m_range || m_text.contains(u'.'))
        return;
    for (const QChar c : std::as_const(m_text)) {
        if (!isMacSeparator(c))
            m_macText.append(c.toLower());
    }
}

std::optional<quint32> DeviceFilter::parseIPv4(QStringView text)
{
    quint32 address = 0;
    int parts = 0;
    qsizetype at = 0;
    while (parts < 4) {
        int value = 0;
        int digits = 0;
        while (at < text.size() && text.at(at).isDigit() && text.at(at).unicode() < 128) {
            value = value * 10 + (text.at(at).unicode() - u'0');
            if (++digits > 3 || value > 255)
                return std::nullopt;
            ++at;
        }
        if (digits == 0)
            return std::nullopt;
        address = (address << 8) | quint32(value);
        if (++parts < 4) {
            if (at >= text.size() || text.at(at) != u'.')
                return std::nullopt;
            ++at;
        }
    }
    if (at != text.size())
        return std::nullopt;
    return address;
}

std::optional<DeviceFilter::Range> DeviceFilter::parseRange(QStringView text)
{
    if (const qsizetype slash = text.indexOf(u'/'); slash >= 0) {
        const auto address = parseIPv4(text.left(slash).trimmed());
        const QStringView lengthText = text.mid(slash + 1).trimmed();
        bool ok = false;
        const int length = lengthText.toInt(&ok);
        if (!address || !ok || length < 0 || length > 32 || lengthText.size() > 2 || !lengthText.front().isDigit())
            return std::nullopt;
        const quint32 hostMask = length == 0 ? 0xffffffffu : (quint32(1) << (32 - length)) - 1;
        return Range{*address & ~hostMask, *address | hostMask};
    }
    if (const qsizetype dash = text.indexOf(u'-'); dash >= 0) {
        const auto first = parseIPv4(text.left(dash).trimmed());
        const auto last = parseIPv4(text.mid(dash + 1).trimmed());
        if (!first || !last || *first > *last)
            return std::nullopt;
        return Range{*first, *last};
    }
    return std::nullopt;
}

bool DeviceFilter::matches(const Fields &fields) const
{
    if (m_range) {
        const auto address = parseIPv4(fields.ipv4Address.trimmed());
        return address && *address >= m_range->first && *address <= m_range->last;
    }
    if (m_text.isEmpty())
        return true;
    for (const QString *field :
         {&fields.serialNumber, &fields.mac, &fields.deviceType, &fields.ipv4Address, &fields.softwareVersion}) {
        if (field->contains(m_text, Qt::CaseInsensitive))
            return true;
    }
    return !m_macText.isEmpty() && containsIgnoringSeparators(fields.mac, m_macText);
}

} // namespace VexoTool

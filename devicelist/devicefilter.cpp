// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicefilter.h"

#include <algorithm>

namespace VexoTool {

namespace {

bool isMacSeparator(QChar c)
{
    return c == u':' || c == u'-';
}

QString withoutSeparators(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (!isMacSeparator(c))
            result.append(c);
    }
    return result;
}

} // namespace

DeviceFilter::DeviceFilter(const QString &text)
    : m_text(text.trimmed().toCaseFolded())
{
    m_range = parseRange(m_text);
    if (!m_range && !m_text.contains(u'.'))
        m_macText = withoutSeparators(m_text);
    if (!m_range)
        m_formatHint = formatHintFor(m_text);
}

QString DeviceFilter::formatHintFor(QStringView text)
{
    // Only digits, dots, blanks and a "/", or a "-" between dotted parts: an address range was
    // meant. No field holds such a text (addresses have no "/" or "-", MACs and versions have
    // letters or no dots).
    const bool network = text.contains(u'/');
    if (!network && !(text.contains(u'-') && text.contains(u'.')))
        return {};
    for (const QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 128) && c != u'.' && c != u'/' && c != u'-' && c != u' ')
            return {};
    }
    if (network)
        //: Below the filter box, for a text such as 192.168.1.0/33.
        return tr("A network is an address, \"/\" and a prefix length from 0 to 32, as in 192.168.1.0/24.");
    const qsizetype dash = text.indexOf(u'-');
    const auto first = parseIPv4(text.left(dash).trimmed());
    const auto last = parseIPv4(text.mid(dash + 1).trimmed());
    if (first && last) // both whole, so the order is wrong
        //: Below the filter box, for a text such as 192.168.1.50-192.168.1.10.
        return tr("A range starts at its lower address, as in 192.168.1.10-192.168.1.50.");
    //: Below the filter box, for a text such as 198.51.100.4-11.
    return tr("A range is two whole addresses, first-last, as in 192.168.1.10-192.168.1.50.");
}

bool DeviceFilter::isWellFormed(const QString &text)
{
    return DeviceFilter(text).formatHint().isEmpty();
}

DeviceFilter::Prepared DeviceFilter::prepare(const Fields &fields)
{
    // The fields hold no line breaks, and the filter box gives none: no match spans two fields.
    const QString text = fields.serialNumber + u'\n' + fields.mac + u'\n' + fields.deviceType + u'\n'
                         + fields.ipv4Address + u'\n' + fields.softwareVersion;
    return {text.toCaseFolded(), withoutSeparators(fields.mac.toCaseFolded()), parseIPv4(fields.ipv4Address.trimmed())};
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

bool DeviceFilter::matches(const Prepared &device) const
{
    if (m_range)
        return device.ipv4 && *device.ipv4 >= m_range->first && *device.ipv4 <= m_range->last;
    if (m_text.isEmpty())
        return true;
    return device.text.contains(m_text) || (!m_macText.isEmpty() && device.macDigits.contains(m_macText));
}

} // namespace VexoTool

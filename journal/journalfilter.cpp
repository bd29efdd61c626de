// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalfilter.h"

#include <QStringList>

namespace VexoTool {

namespace {

bool inRanges(const QList<std::pair<quint32, quint32>> &ranges, const QString &address)
{
    const std::optional<quint32> number = journalIpv4Number(address);
    if (!number)
        return false;
    for (const auto &[first, last] : ranges) {
        if (*number >= first && *number <= last)
            return true;
    }
    return false;
}

QString macDigits(const QString &mac)
{
    QString digits = mac.toLower();
    digits.remove(QLatin1Char(':'));
    digits.remove(QLatin1Char('-'));
    return digits;
}

} // namespace

bool JournalFilter::isEmpty() const
{
    return text.isEmpty() && device.isEmpty() && ipv4Ranges.isEmpty() && !from.isValid() && !until.isValid()
           && flows.isEmpty() && !result;
}

bool JournalFilter::matches(const JournalEntry &entry) const
{
    if (!text.isEmpty()) {
        const QString fields[] = {entry.serialNumber,
                                  entry.mac,
                                  entry.model,
                                  entry.user,
                                  entry.explanation,
                                  entry.before.ipv4Address,
                                  entry.after.ipv4Address,
                                  entry.before.ipv6Address,
                                  entry.after.ipv6Address};
        bool found = false;
        for (const QString &field : fields)
            found = found || field.contains(text, Qt::CaseInsensitive);
        if (!found)
            return false;
    }
    if (!device.isEmpty() && entry.serialNumber.compare(device, Qt::CaseInsensitive) != 0
        && (entry.mac.isEmpty() || macDigits(entry.mac) != macDigits(device)))
        return false;
    if (!ipv4Ranges.isEmpty() && !inRanges(ipv4Ranges, entry.before.ipv4Address)
        && !inRanges(ipv4Ranges, entry.after.ipv4Address))
        return false;
    if (from.isValid() && entry.time < from)
        return false;
    if (until.isValid() && entry.time >= until)
        return false;
    if (!flows.isEmpty() && !flows.contains(entry.flow))
        return false;
    return !result || *result == entry.result;
}

std::optional<quint32> journalIpv4Number(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 number = 0;
    for (const QString &part : parts) {
        // Dotted decimal only: no signs, spaces, hexadecimal or octal forms.
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        for (const QChar c : part) {
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return std::nullopt;
        }
        const uint value = part.toUInt();
        if (value > 255)
            return std::nullopt;
        number = number << 8 | value;
    }
    return number;
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "inputvalidation.h"

#include <QRegularExpression>
#include <QStringList>

namespace VexoTool {

namespace {

// A part is a number when the whole part converts in that base; an empty part never does.
bool numberAtMost(const QString &part, int base, uint maximum)
{
    bool ok = false;
    const uint value = part.toUInt(&ok, base);
    return ok && value <= maximum;
}

} // namespace

bool isValidIPv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (!numberAtMost(part, 10, 255))
            return false;
    }
    return parts.at(3).toUInt() != 0;
}

bool isValidSubnetMask(const QString &text)
{
    static const QRegularExpression mask(
        QRegularExpression::anchoredPattern(QStringLiteral("(254|252|248|240|224|192|128|0)\\.0\\.0\\.0|"
                                                           "255\\.(254|252|248|240|224|192|128|0)\\.0\\.0|"
                                                           "255\\.255\\.(254|252|248|240|224|192|128|0)\\.0|"
                                                           "255\\.255\\.255\\.(254|252|248|240|224|192|128|0)")));
    return mask.match(text).hasMatch();
}

bool isValidGateway(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    if (text == QLatin1String("0.0.0.0"))
        return true;
    for (const QString &part : parts) {
        if (!numberAtMost(part, 10, 255))
            return false;
    }
    const uint last = parts.at(3).toUInt();
    return last != 0 && last != 255;
}

bool isValidIPv6(const QString &text)
{
    if (text.trimmed() == QLatin1String("::"))
        return true;

    QString address = text;
    const qsizetype zone = address.lastIndexOf(QLatin1Char('%'));
    if (zone >= 0)
        address.truncate(zone);

    const QStringList parts = address.split(QLatin1Char(':'));
    const int count = int(parts.size());
    if (count < 3 || count > 8)
        return false;
    const int gaps = int(address.count(QLatin1String("::")));
    if (count == 8 && gaps > 1)
        return false;
    if (gaps != 1 && count < (address.contains(QLatin1Char('.')) ? 7 : 8))
        return false;

    // Walk from the end so that an IPv4 tail is known before the gap is sized.
    int groups = 0;
    bool ipv4Tail = false;
    for (int i = count - 1; i >= 0; --i) {
        const QString &part = parts.at(i);
        const bool last = i == count - 1;
        const bool first = i == 0;
        if (!part.isEmpty()) {
            if (numberAtMost(part, 16, 0xFFFF)) {
                ++groups;
            } else if (last && isValidIPv4(part)) {
                ipv4Tail = true;
                groups += 2;
            } else {
                return false;
            }
        } else if (last) {
            if (!parts.at(i - 1).isEmpty())
                return false;
            ++groups;
        } else if (first) {
            if (!parts.at(1).isEmpty())
                return false;
            ++groups;
        } else {
            groups += 9 - count - (ipv4Tail ? 1 : 0);
        }
    }
    return groups <= 8;
}

} // namespace VexoTool

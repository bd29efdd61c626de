// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "cipstandarditem.h"

#include <array>
#include <climits>

namespace aptui {

namespace {

using Parts = std::array<int, 4>;

bool isCSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

// atoi of one part: leading white space, an optional sign, then decimal digits up to the
// first other character. Out-of-range values saturate instead of overflowing.
int atoiPart(QStringView part)
{
    qsizetype i = 0;
    while (i < part.size() && isCSpace(part[i].unicode()))
        ++i;
    bool negative = false;
    if (i < part.size() && (part[i] == u'+' || part[i] == u'-')) {
        negative = part[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < part.size(); ++i) {
        const char16_t c = part[i].unicode();
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c - u'0');
        if (value > INT_MAX)
            value = qint64(INT_MAX) + 1; // keeps the loop from overflowing
    }
    if (negative)
        return value > qint64(INT_MAX) ? INT_MIN : int(-value);
    return value > INT_MAX ? INT_MAX : int(value);
}

// The first four parts; parts the text does not have stay 0.
Parts parts(QStringView text)
{
    Parts result{};
    qsizetype start = 0;
    for (std::size_t n = 0; n < result.size(); ++n) {
        const qsizetype dot = text.indexOf(u'.', start);
        result[n] = atoiPart(text.mid(start, dot < 0 ? text.size() - start : dot - start));
        if (dot < 0)
            break;
        start = dot + 1;
    }
    return result;
}

QString keyOf(const Parts &p)
{
    return QString::asprintf("%03d%03d%03d%03d", p[0], p[1], p[2], p[3]);
}

bool allThreeDigits(const Parts &p)
{
    for (const int value : p) {
        if (value < 0 || value > 999)
            return false;
    }
    return true;
}

} // namespace

CIpStandardItem::CIpStandardItem(const QString &text)
    : QStandardItem(text)
{}

bool CIpStandardItem::operator<(const QStandardItem &other) const
{
    return lessThan(text(), other.text());
}

QString CIpStandardItem::sortKey(QStringView text)
{
    return keyOf(parts(text));
}

bool CIpStandardItem::lessThan(QStringView left, QStringView right)
{
    const Parts l = parts(left);
    const Parts r = parts(right);
    // Keys of parts within 0..999 are twelve digits long, so comparing them as text is comparing
    // the parts as numbers, without building the texts. Sorting a large table relies on this.
    if (allThreeDigits(l) && allThreeDigits(r))
        return l < r;
    return keyOf(l) < keyOf(r);
}

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cintvalidator.h"

#include <algorithm>

namespace aKLOGUIToolkit {

namespace {

// More digits than any int has: such text can never be in range.
constexpr int MaxDigits = 10;

bool isAsciiDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

CIntValidator::CIntValidator(int min, int max, QObject *parent)
    : QValidator(parent)
    , m_min(min)
    , m_max(max)
{}

QValidator::State CIntValidator::validate(QString &input, int &pos) const
{
    Q_UNUSED(pos)
    if (input.isEmpty())
        return Intermediate;

    const bool negative = input.startsWith(QLatin1Char('-'));
    if (negative && m_min >= 0)
        return Invalid;
    const QStringView digits = QStringView(input).mid(negative ? 1 : 0);
    if (!std::all_of(digits.begin(), digits.end(), isAsciiDigit))
        return Invalid;
    if (digits.isEmpty())
        return Intermediate;
    if (digits.size() > MaxDigits)
        return Invalid;

    const qint64 magnitude = digits.toLongLong();
    const qint64 value = negative ? -magnitude : magnitude;
    const bool leadingZero = digits.size() > 1 && digits.front() == QLatin1Char('0');
    if (value >= m_min && value <= m_max)
        return (leadingZero || (negative && magnitude == 0)) ? Intermediate : Acceptable;

    // Typing more digits multiplies the magnitude by ten each time; the text is
    // worth keeping if some continuation falls into the range.
    qint64 low = magnitude;
    qint64 high = magnitude;
    for (int extra = digits.size(); extra < MaxDigits; ++extra) {
        low *= 10;
        high = high * 10 + 9;
        const qint64 from = negative ? -high : low;
        const qint64 to = negative ? -low : high;
        if (from <= m_max && to >= m_min)
            return Intermediate;
    }
    return Invalid;
}

void CIntValidator::fixup(QString &input) const
{
    const bool negative = input.startsWith(QLatin1Char('-'));
    qsizetype first = negative ? 1 : 0;
    while (first < input.size() - 1 && input.at(first) == QLatin1Char('0'))
        ++first;
    input = (negative ? QStringLiteral("-") : QString()) + input.mid(first);
}

} // namespace aKLOGUIToolkit

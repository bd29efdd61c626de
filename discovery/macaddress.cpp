// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "macaddress.h"

namespace VexoTool {

namespace {

bool isHex(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// The twelve digits of a MAC written in groups of @p groupSize, each group followed by one of
// @p separators (or by none when @p optional) except the last; empty when @p text is not one.
QString digits(QStringView text, int groupSize, QStringView separators, bool optional)
{
    QString hex;
    qsizetype i = 0;
    for (int group = 0; group < 12 / groupSize; ++group) {
        if (group > 0 && i < text.size() && separators.contains(text.at(i)))
            ++i;
        else if (group > 0 && !optional)
            return {};
        for (int d = 0; d < groupSize; ++d, ++i) {
            if (i >= text.size() || !isHex(text.at(i)))
                return {};
            hex.append(text.at(i).toLower());
        }
    }
    return i == text.size() ? hex : QString();
}

} // namespace

QString MacAddress::canonical(QStringView text)
{
    text = text.trimmed();
    QString hex = digits(text, 2, u"-:", true);
    if (hex.isEmpty())
        hex = digits(text, 4, u".", false);
    if (hex.isEmpty())
        return {};
    QString out;
    out.reserve(17);
    for (int i = 0; i < 12; i += 2) {
        if (i > 0)
            out.append(u'-');
        out.append(QStringView(hex).mid(i, 2));
    }
    return out;
}

} // namespace VexoTool

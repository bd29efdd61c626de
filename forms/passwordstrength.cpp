// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "passwordstrength.h"

#include <akloguitoolkit/guitext.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPixmap>

#include <algorithm>
#include <array>

namespace VexoTool {

namespace {

const QString MeterImages = QStringLiteral(":/CommonSkin/Password/Images/Public/Control/Password/");

// ASCII classification of one byte; a byte of a multi-byte character is never a letter or digit.
enum Kind { Digit, Upper, Lower, Other, KindCount };

Kind kindOf(char c)
{
    if (c >= '0' && c <= '9')
        return Digit;
    if (c >= 'A' && c <= 'Z')
        return Upper;
    if (c >= 'a' && c <= 'z')
        return Lower;
    return Other;
}

void setBar(QLabel *bar, const char *colour)
{
    if (bar)
        bar->setPixmap(QPixmap(MeterImages + QLatin1String(colour) + QLatin1String(".png")));
}

} // namespace

int passwordLevel(const QString &userName, const QString &password)
{
    const QByteArray bytes = aKLOGUIToolkit::ConvertFromUnicode(password);
    const QByteArray user = aKLOGUIToolkit::ConvertFromUnicode(userName);
    QByteArray reversed = user;
    std::reverse(reversed.begin(), reversed.end());
    if (bytes.size() < 8 || bytes == user || bytes == reversed)
        return 0;

    std::array<int, KindCount> counts{};
    for (const char c : bytes)
        ++counts[kindOf(c)];
    const int kinds = int(std::count_if(counts.begin(), counts.end(), [](int n) { return n > 0; }));
    if (kinds <= 1)
        return 0;
    if (kinds == 2)
        return counts[Digit] > 0 && (counts[Upper] > 0 || counts[Lower] > 0) ? 1 : 2;
    return 3;
}

QString passwordLevelText(int level)
{
    switch (level) {
    case 1:
        //: Password strength
        return QCoreApplication::translate("VexoTool::PasswordStrength", "Weak");
    case 2:
        //: Password strength
        return QCoreApplication::translate("VexoTool::PasswordStrength", "Medium");
    case 3:
        //: Password strength
        return QCoreApplication::translate("VexoTool::PasswordStrength", "Strong");
    default:
        return {};
    }
}

void showPasswordLevel(int level, QLabel *bar1, QLabel *bar2, QLabel *bar3, QLabel *text)
{
    setBar(bar1, "grey");
    setBar(bar2, "grey");
    setBar(bar3, "grey");
    switch (level) {
    case 1:
        setBar(bar1, "red");
        break;
    case 2:
        setBar(bar1, "yellow");
        setBar(bar2, "yellow");
        break;
    case 3:
        setBar(bar1, "green");
        setBar(bar2, "green");
        setBar(bar3, "green");
        break;
    default:
        break;
    }
    if (text) {
        // Room for the longest word from the start: the fields beside the meter keep their
        // width while the word comes and goes, and no word is cut in any language.
        text->ensurePolished();
        const QFontMetrics metrics(text->font());
        int widest = 0;
        for (int shown = 1; shown <= 3; ++shown)
            widest = std::max(widest, metrics.horizontalAdvance(passwordLevelText(shown)));
        text->setMinimumWidth(widest + 2 * text->margin() + 1);
        text->setText(passwordLevelText(level));
    }
}

} // namespace VexoTool

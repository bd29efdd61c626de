// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "languagefont.h"

#include <akloguitoolkit/guitext.h>

#include <QGuiApplication>
#include <QLocale>

namespace apt {

namespace {

constexpr quint32 LanguageBatang = 9;
constexpr quint32 LanguageTahoma = 10;
constexpr int LanguageFontPointSize = 9;

} // namespace

std::optional<QFont> languageFont(quint32 code)
{
    QString family;
    if (code == LanguageTahoma)
        family = QStringLiteral("Tahoma");
    else if (code == LanguageBatang)
        family = QStringLiteral("Batang");
    else
        return std::nullopt;

    QFont font(family, LanguageFontPointSize);
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    return font;
}

void applyLanguageFont(quint32 code, const QLocale &locale)
{
    if (const std::optional<QFont> font = languageFont(code))
        QGuiApplication::setFont(*font);
    aKLOGUIToolkit::InitGuiLocale(locale);
    // Qt's own dialogs (the file dialog's dates and file types) speak the program's language.
    QLocale::setDefault(locale);
}

} // namespace apt

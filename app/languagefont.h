// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QFont>
#include <QLocale>

#include <optional>

namespace apt {

/**
 * @brief The application font that language \a code needs, if any.
 *
 * Code 9 uses "Batang" and code 10 "Tahoma", at 9 points, sans-serif hint,
 * antialiased; all other languages keep the font set at start-up.
 */
std::optional<QFont> languageFont(quint32 code);

/**
 * @brief Sets the font of language \a code as the application font (when it has
 * one), then hands \a locale to the toolkit.
 */
void applyLanguageFont(quint32 code, const QLocale &locale);

} // namespace apt

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

class QTextCodec;

namespace aKLOGUIToolkit {

/** @brief Sets the codec the toolkit converts 8-bit texts with; null restores the local code page. */
AKLOGUITOOLKIT_EXPORT void InitGuiTextCodec(QTextCodec *codec);

/** @brief The codec set by InitGuiTextCodec(), or the local code page's codec. */
AKLOGUITOOLKIT_EXPORT QTextCodec *GuiTextCodec();

/** @brief Sets the locale the toolkit's widgets use. */
AKLOGUITOOLKIT_EXPORT void InitGuiLocale(const QLocale &locale);

/** @brief The locale set by InitGuiLocale(), or the default locale before that. */
AKLOGUITOOLKIT_EXPORT QLocale GuiLocale();

/**
 * @brief \a text as bytes in an 8-bit code page.
 *
 * With a null \a codec the toolkit's codec is used (the local code page unless
 * InitGuiTextCodec() chose another). Characters the code page lacks become '?'.
 * The result is not NUL-terminated beyond what QByteArray guarantees.
 */
AKLOGUITOOLKIT_EXPORT QByteArray ConvertFromUnicode(const QString &text, QTextCodec *codec = nullptr);

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/guitext.h"

#include <QMutex>
#include <QMutexLocker>
#include <QTextCodec>

#include <atomic>
#include <optional>

namespace aKLOGUIToolkit {

namespace {

// Worker threads convert passwords while the GUI thread may still be starting up.
std::atomic<QTextCodec *> s_codec{nullptr};

QMutex &localeMutex()
{
    static QMutex mutex;
    return mutex;
}

std::optional<QLocale> &guiLocale()
{
    static std::optional<QLocale> locale;
    return locale;
}

} // namespace

void InitGuiTextCodec(QTextCodec *codec)
{
    s_codec.store(codec, std::memory_order_release);
}

QTextCodec *GuiTextCodec()
{
    if (QTextCodec *codec = s_codec.load(std::memory_order_acquire))
        return codec;
    return QTextCodec::codecForLocale();
}

void InitGuiLocale(const QLocale &locale)
{
    QMutexLocker lock(&localeMutex());
    guiLocale() = locale;
}

QLocale GuiLocale()
{
    QMutexLocker lock(&localeMutex());
    return guiLocale().value_or(QLocale());
}

QByteArray ConvertFromUnicode(const QString &text, QTextCodec *codec)
{
    if (!codec)
        codec = GuiTextCodec();
    if (!codec)
        return text.toLocal8Bit();
    return codec->fromUnicode(text);
}

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "menu.h"

#include <QEvent>

#ifdef Q_OS_WIN
#    include <qt_windows.h>
#endif

namespace aptui {

#ifdef Q_OS_WIN
namespace {
// All menu windows share one window class, so clearing its shadow bit once is enough.
bool s_shadowRemoved = false;
bool s_guardOpen = true;
} // namespace
#endif

Menu::Menu(QWidget *parent)
    : QMenu(parent)
{
    setUp();
}

Menu::Menu(const QString &title, QWidget *parent)
    : QMenu(title, parent)
{
    setUp();
}

void Menu::setUp()
{
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_TranslucentBackground);
    setObjectName(QStringLiteral("Menu"));
}

bool Menu::event(QEvent *event)
{
#ifdef Q_OS_WIN
    if (s_guardOpen) {
        s_guardOpen = false;
        if (event->type() == QEvent::WinIdChange && !s_shadowRemoved) {
            const auto hwnd = reinterpret_cast<HWND>(winId());
            const DWORD style = GetClassLongW(hwnd, GCL_STYLE);
            SetClassLongW(hwnd, GCL_STYLE, style & ~DWORD(CS_DROPSHADOW));
            s_shadowRemoved = true;
        }
        s_guardOpen = true;
    }
#endif
    return QMenu::event(event);
}

} // namespace aptui

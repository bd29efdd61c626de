// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cwidgetsizefactory.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QVariant>
#include <QWidget>

namespace aKLOGUIToolkit {

namespace {

// Kept on the window itself so that any factory (every title bar is one) sees them.
constexpr char MaximizedProperty[] = "_aklo_maximized";
constexpr char NormalGeometryProperty[] = "_aklo_normalGeometry";

QRect availableArea(const QWidget *window)
{
    QScreen *screen = window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

bool CWidgetSizeFactory::IsMaximized(const QWidget *window) const
{
    if (!window)
        return false;
    return window->isMaximized() || window->property(MaximizedProperty).toBool();
}

bool CWidgetSizeFactory::IsFullScreen(const QWidget *window) const
{
    return window && window->isFullScreen();
}

void CWidgetSizeFactory::ShowMaximized(QWidget *window)
{
    if (!window)
        return;
    const QRect area = availableArea(window);
    if (area.isEmpty()) {
        window->showMaximized();
        return;
    }
    if (!IsMaximized(window))
        window->setProperty(NormalGeometryProperty, window->geometry());
    window->setProperty(MaximizedProperty, true);
    if (window->isFullScreen())
        window->showNormal();
    window->setGeometry(area);
    window->show();
}

void CWidgetSizeFactory::ShowNormal(QWidget *window, const QSize &size)
{
    if (!window)
        return;
    const QRect saved = window->property(NormalGeometryProperty).toRect();
    window->setProperty(MaximizedProperty, false);
    window->setProperty(NormalGeometryProperty, QVariant());
    if (window->isMaximized() || window->isFullScreen())
        window->showNormal();

    if (size.isValid()) {
        QRect geometry(QPoint(), size);
        const QRect area = availableArea(window);
        geometry.moveCenter(area.isEmpty() ? window->geometry().center() : area.center());
        window->setGeometry(geometry);
    } else if (saved.isValid()) {
        window->setGeometry(saved);
    }
    window->show();
}

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QSize>

class QWidget;

namespace aKLOGUIToolkit {

/**
 * @brief Maximises and restores frameless top-level windows.
 *
 * A frameless window maximised by the window system would cover the task bar, so
 * ShowMaximized() fills the screen's work area itself and remembers the normal
 * geometry on the window; ShowNormal() puts it back. Any factory object can restore
 * a window that another one maximised.
 */
class AKLOGUITOOLKIT_EXPORT CWidgetSizeFactory
{
public:
    CWidgetSizeFactory() = default;
    virtual ~CWidgetSizeFactory() = default;

    /** @brief True when \a window is maximised, by this factory or by the window system. */
    bool IsMaximized(const QWidget *window) const;

    /** @brief True when \a window is full screen. */
    bool IsFullScreen(const QWidget *window) const;

    /** @brief Fills the available area of the screen that shows \a window. */
    void ShowMaximized(QWidget *window);

    /**
     * @brief Leaves the maximised or full-screen state.
     *
     * With a valid \a size the window takes that size, centred on its screen's work
     * area; otherwise it gets back the geometry it had before ShowMaximized().
     */
    void ShowNormal(QWidget *window, const QSize &size = QSize());
};

} // namespace aKLOGUIToolkit

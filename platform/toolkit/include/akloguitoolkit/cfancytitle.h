// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"
#include "cwidgetsizefactory.h"

#include <QFrame>
#include <QPoint>

namespace aKLOGUIToolkit {

/**
 * @brief Title bar of a frameless window.
 *
 * Dragging it with the left mouse button moves its top-level window (a maximised
 * or full-screen window stays put). A left double-click maximises or restores the
 * window unless SetOpenDoubleClickEnable(false) hands double-clicks to a subclass.
 */
class AKLOGUITOOLKIT_EXPORT CFancyTitle : public QFrame, public CWidgetSizeFactory
{
    Q_OBJECT

public:
    explicit CFancyTitle(QWidget *parent = nullptr);

    /** @brief Switches the title's own double-click handling (on by default). */
    void SetOpenDoubleClickEnable(bool enable);
    bool IsOpenDoubleClickEnable() const { return m_doubleClickEnabled; }

signals:
    /** @brief The window was maximised or restored from the title. */
    void SignalWndSizeStatusChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QPoint m_pressGlobalPos;
    QPoint m_windowStartPos;
    bool m_dragging = false;
    bool m_doubleClickEnabled = true;
};

} // namespace aKLOGUIToolkit

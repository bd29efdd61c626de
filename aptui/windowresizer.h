// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QMouseEvent;
class QWidget;

namespace aptui {

/**
 * @brief Lets a frameless window be resized from its edges and corners.
 *
 * Over the outer few pixels of the window the cursor shows the resize shape; a left press
 * there hands the resize to the window system (QWindow::startSystemResize()). Where the
 * platform cannot do that, the window follows the mouse until the button is released. The
 * window never gets smaller than its minimum size, and a maximised or full-screen window
 * is not resized.
 */
class WindowResizer : public QObject
{
    Q_OBJECT

public:
    /** @brief Watches the mouse over @p window and its children; @p window owns the resizer. */
    explicit WindowResizer(QWidget *window);
    ~WindowResizer() override;

    /** @brief How many pixels from the window's outline count as its edge. */
    static constexpr int BorderWidth = 5;

    /** @brief The edges of the window under @p windowPosition (in window coordinates), if any. */
    Qt::Edges edgesAt(const QPoint &windowPosition) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool handleMouse(QWidget *widget, QMouseEvent *event);
    void followMouse(const QPoint &globalPosition);
    void updateCursor(Qt::Edges edges);

    QWidget *m_window;
    Qt::Edges m_dragEdges; // the edges the mouse drags without the window system
    QRect m_startGeometry; // the window's geometry when that drag began
    QPoint m_startGlobal;  // the mouse position when that drag began
    bool m_cursorOverridden = false;
};

} // namespace aptui

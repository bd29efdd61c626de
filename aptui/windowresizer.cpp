// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "windowresizer.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace aptui {

namespace {

Qt::CursorShape cursorFor(Qt::Edges edges)
{
    const bool horizontal = edges & (Qt::LeftEdge | Qt::RightEdge);
    const bool vertical = edges & (Qt::TopEdge | Qt::BottomEdge);
    if (horizontal && vertical) {
        const bool falling = edges == (Qt::TopEdge | Qt::LeftEdge) || edges == (Qt::BottomEdge | Qt::RightEdge);
        return falling ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor;
    }
    if (horizontal)
        return Qt::SizeHorCursor;
    return Qt::SizeVerCursor;
}

} // namespace

WindowResizer::~WindowResizer()
{
    updateCursor({});
}

WindowResizer::WindowResizer(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    // The window's children cover its edges, so the mouse is watched wherever it is.
    qApp->installEventFilter(this);
}

Qt::Edges WindowResizer::edgesAt(const QPoint &windowPosition) const
{
    Qt::Edges edges;
    const QRect area = m_window->rect();
    if (!area.contains(windowPosition))
        return edges;
    if (windowPosition.x() < BorderWidth)
        edges |= Qt::LeftEdge;
    else if (windowPosition.x() >= area.width() - BorderWidth)
        edges |= Qt::RightEdge;
    if (windowPosition.y() < BorderWidth)
        edges |= Qt::TopEdge;
    else if (windowPosition.y() >= area.height() - BorderWidth)
        edges |= Qt::BottomEdge;
    return edges;
}

bool WindowResizer::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        if (watched->isWidgetType()) {
            auto *widget = static_cast<QWidget *>(watched);
            if (widget->window() == m_window && handleMouse(widget, static_cast<QMouseEvent *>(event)))
                return true;
        }
        break;
    case QEvent::Leave:
        if (watched == m_window && !m_dragEdges)
            updateCursor({});
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool WindowResizer::handleMouse(QWidget *widget, QMouseEvent *event)
{
    const QPoint global = event->globalPosition().toPoint();
    if (m_dragEdges) {
        if (event->type() == QEvent::MouseMove) {
            followMouse(global);
        } else if (event->type() == QEvent::MouseButtonRelease && event->button() == Qt::LeftButton) {
            m_dragEdges = {};
            updateCursor(edgesAt(m_window->mapFromGlobal(global)));
        }
        return true;
    }

    const bool resizable
        = !m_window->isMaximized() && !m_window->isFullScreen() && m_window->minimumSize() != m_window->maximumSize();
    const Qt::Edges edges = resizable ? edgesAt(widget->mapTo(m_window, event->position().toPoint())) : Qt::Edges();
    if (event->type() == QEvent::MouseMove && event->buttons() == Qt::NoButton) {
        updateCursor(edges);
        return false;
    }
    if (event->type() != QEvent::MouseButtonPress || event->button() != Qt::LeftButton || !edges)
        return false;

    QWindow *handle = m_window->windowHandle();
    if (handle && handle->startSystemResize(edges))
        return true;
    m_dragEdges = edges;
    m_startGeometry = m_window->geometry();
    m_startGlobal = global;
    return true;
}

void WindowResizer::followMouse(const QPoint &globalPosition)
{
    const QPoint delta = globalPosition - m_startGlobal;
    const QSize minimum = m_window->minimumSize().expandedTo(m_window->minimumSizeHint());
    const QSize maximum = m_window->maximumSize();
    QRect geometry = m_startGeometry;
    // Each dragged edge moves with the mouse; the opposite edge stays where it was.
    if (m_dragEdges & Qt::LeftEdge)
        geometry.setLeft(qBound(m_startGeometry.right() + 1 - maximum.width(), geometry.left() + delta.x(),
                                m_startGeometry.right() + 1 - minimum.width()));
    if (m_dragEdges & Qt::RightEdge)
        geometry.setWidth(qBound(minimum.width(), m_startGeometry.width() + delta.x(), maximum.width()));
    if (m_dragEdges & Qt::TopEdge)
        geometry.setTop(qBound(m_startGeometry.bottom() + 1 - maximum.height(), geometry.top() + delta.y(),
                               m_startGeometry.bottom() + 1 - minimum.height()));
    if (m_dragEdges & Qt::BottomEdge)
        geometry.setHeight(qBound(minimum.height(), m_startGeometry.height() + delta.y(), maximum.height()));
    m_window->setGeometry(geometry);
}

void WindowResizer::updateCursor(Qt::Edges edges)
{
    // An override, because the widgets along the edges may set cursors of their own.
    if (edges && !m_cursorOverridden) {
        QGuiApplication::setOverrideCursor(cursorFor(edges));
        m_cursorOverridden = true;
    } else if (edges) {
        QGuiApplication::changeOverrideCursor(cursorFor(edges));
    } else if (m_cursorOverridden) {
        QGuiApplication::restoreOverrideCursor();
        m_cursorOverridden = false;
    }
}

} // namespace aptui

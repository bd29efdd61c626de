// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cfancytitle.h"

#include "akloguitoolkit/windowhelpers.h"

#include <QMouseEvent>

namespace aKLOGUIToolkit {

CFancyTitle::CFancyTitle(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("CFancyTitle"));
}

void CFancyTitle::SetOpenDoubleClickEnable(bool enable)
{
    m_doubleClickEnabled = enable;
}

void CFancyTitle::mousePressEvent(QMouseEvent *event)
{
    QWidget *window = GetIndependentWindow(this, false);
    if (event->button() == Qt::LeftButton && window) {
        m_dragging = true;
        m_pressGlobalPos = event->globalPosition().toPoint();
        m_windowStartPos = window->pos();
        event->accept();
        return;
    }
    QFrame::mousePressEvent(event);
}

void CFancyTitle::mouseMoveEvent(QMouseEvent *event)
{
    QWidget *window = GetIndependentWindow(this, false);
    if (m_dragging && window && (event->buttons() & Qt::LeftButton)) {
        // A window that fills the screen keeps its place; dragging it would only tear it off the edges.
        if (!IsMaximized(window) && !IsFullScreen(window))
            window->move(m_windowStartPos + (event->globalPosition().toPoint() - m_pressGlobalPos));
        event->accept();
        return;
    }
    QFrame::mouseMoveEvent(event);
}

void CFancyTitle::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        event->accept();
        return;
    }
    QFrame::mouseReleaseEvent(event);
}

void CFancyTitle::mouseDoubleClickEvent(QMouseEvent *event)
{
    QWidget *window = GetIndependentWindow(this, false);
    if (!m_doubleClickEnabled || event->button() != Qt::LeftButton || !window) {
        QFrame::mouseDoubleClickEvent(event);
        return;
    }
    m_dragging = false;
    if (IsMaximized(window))
        ShowNormal(window, QSize());
    else
        ShowMaximized(window);
    emit SignalWndSizeStatusChanged();
    event->accept();
}

} // namespace aKLOGUIToolkit

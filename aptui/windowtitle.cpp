// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "windowtitle.h"

#include "systemmenu.h"

#include <akloguitoolkit/chboxlayout.h>
#include <akloguitoolkit/cwidgetitem.h>
#include <akloguitoolkit/windowhelpers.h>

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMouseEvent>
#include <QSpacerItem>
#include <QStyle>
#include <QToolButton>

namespace aptui {

namespace {

QToolButton *makeButton(const QString &name, Qt::FocusPolicy focus, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setFocusPolicy(focus);
    button->setFixedSize(24, 24);
    return button;
}

} // namespace

WindowTitle::WindowTitle(QWidget *parent)
    : CFancyTitle(parent)
{
    SetOpenDoubleClickEnable(false);
    setFixedHeight(35);

    m_labelTitle = new QLabel(this);
    m_labelTitle->setObjectName(QStringLiteral("m_labelTitle"));
    m_btnIcon = makeButton(QStringLiteral("m_btnIcon"), Qt::NoFocus, this);
    m_btnSystemMenu = makeButton(QStringLiteral("m_btnSystemMenu"), Qt::ClickFocus, this);
    m_btnMinimize = makeButton(QStringLiteral("m_btnMinimize"), Qt::ClickFocus, this);
    m_btnMaximize = makeButton(QStringLiteral("m_btnMaximize"), Qt::ClickFocus, this);
    m_btnClose = makeButton(QStringLiteral("m_btnClose"), Qt::ClickFocus, this);
    m_btnClose->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    m_systemMenu = new SystemMenu(this);

    auto *layout = new aKLOGUIToolkit::CHBoxLayout(this);
    layout->SetLayoutContentsMargins(4, 0, 4, 0);
    layout->SetLayoutSpacing(10);
    layout->AddWidget(m_btnIcon);
    layout->AddItem(new aKLOGUIToolkit::CWidgetItem(m_labelTitle, Qt::AlignLeft));
    layout->AddItem(new QSpacerItem(5, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));

    auto *buttons = new QWidget(this);
    auto *buttonLayout = new QHBoxLayout(buttons);
    buttonLayout->setContentsMargins(0, 0, 0, 0);
    buttonLayout->setSpacing(0);
    buttonLayout->addStretch();
    buttonLayout->addWidget(m_btnSystemMenu);
    buttonLayout->addSpacerItem(new QSpacerItem(12, 1, QSizePolicy::Fixed, QSizePolicy::Fixed));
    buttonLayout->addWidget(m_btnMinimize);
    buttonLayout->addWidget(m_btnMaximize);
    buttonLayout->addWidget(m_btnClose);
    layout->AddWidget(buttons);

    connect(m_btnMinimize, &QToolButton::clicked, this, &WindowTitle::minimizeWindow);
    // Queued: the button is renamed and re-polished, which is better not done inside its own click.
    connect(m_btnMaximize, &QToolButton::clicked, this, &WindowTitle::maxOrRestoreWindow, Qt::QueuedConnection);
    connect(m_btnClose, &QToolButton::clicked, this, &WindowTitle::closeWindow);
    connect(m_btnSystemMenu, &QToolButton::clicked, this, &WindowTitle::displaySyetemMenu);
}

WindowTitle::~WindowTitle() = default;

void WindowTitle::setTitle(const QString &title)
{
    m_labelTitle->setText(title);
}

QString WindowTitle::title() const
{
    return m_labelTitle->text();
}

void WindowTitle::setTitleIcon(const QIcon &icon)
{
    m_btnIcon->setIcon(icon);
}

void WindowTitle::minimizeWindow()
{
    if (QWidget *window = aKLOGUIToolkit::GetIndependentWindow(this, false))
        window->showMinimized();
}

void WindowTitle::maxOrRestoreWindow()
{
    QWidget *window = aKLOGUIToolkit::GetIndependentWindow(this, false);
    if (!window)
        return;
    if (IsMaximized(window)) {
        ShowNormal(window, QSize());
        m_btnMaximize->setObjectName(QStringLiteral("m_btnMaximize"));
    } else {
        ShowMaximized(window);
        m_btnMaximize->setObjectName(QStringLiteral("m_btnResore"));
    }
    // Style sheet rules select the button by name; polish again so the new name counts.
    style()->unpolish(m_btnMaximize);
    style()->polish(m_btnMaximize);
    m_btnMaximize->update();
}

void WindowTitle::closeWindow()
{
    QWidget *window = aKLOGUIToolkit::GetIndependentWindow(this, false);
    if (!window)
        return;
    window->close();
    emit signalCloseApp();
}

void WindowTitle::displaySyetemMenu()
{
    emit signalSystemMenu();
}

void WindowTitle::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!aKLOGUIToolkit::GetIndependentWindow(this, false))
        return;
    maxOrRestoreWindow();
    emit SignalWndSizeStatusChanged();
}

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "basetitle.h"

#include "ui_basetitle.h"

namespace aptui {

namespace {

void showButton(QAbstractButton *button, bool showIt)
{
    button->setVisible(showIt);
    button->setEnabled(showIt);
}

} // namespace

BaseTitle::BaseTitle(bool showAppButton, bool showOptionButton, bool showMinButton, bool showMaxButton,
                     bool showCloseButton, QWidget *parent)
    : CFancyTitle(parent)
    , m_ui(std::make_unique<Ui::BaseTitle>())
{
    m_ui->setupUi(this);
    setAppButtonShow(showAppButton);
    setOptionButtonShow(showOptionButton);
    setMinButtonShow(showMinButton);
    setMaxButtonShow(showMaxButton);
    setCloseButtonShow(showCloseButton);

    connect(m_ui->btnApp, &QToolButton::clicked, this, &BaseTitle::signalAppButtonClicked);
    connect(m_ui->btnOption, &QToolButton::clicked, this, &BaseTitle::signalOptionButtonClicked);
    connect(m_ui->btnMin, &QToolButton::clicked, this, &BaseTitle::signalMinButtonClicked);
    connect(m_ui->btnMax, &QToolButton::clicked, this, &BaseTitle::signalMaxButtonClicked);
    connect(m_ui->btnClose, &QToolButton::clicked, this, &BaseTitle::signalCloseButtonClicked);
}

BaseTitle::~BaseTitle() = default;

QString BaseTitle::title() const
{
    return m_ui->labelTitle->text();
}

void BaseTitle::setAppButtonShow(bool showIt)
{
    showButton(m_ui->btnApp, showIt);
}

void BaseTitle::setOptionButtonShow(bool showIt)
{
    showButton(m_ui->btnOption, showIt);
}

void BaseTitle::setMinButtonShow(bool showIt)
{
    showButton(m_ui->btnMin, showIt);
}

void BaseTitle::setMaxButtonShow(bool showIt)
{
    showButton(m_ui->btnMax, showIt);
    // A double click on the title does what the maximise button does: a dialog without one
    // keeps its size and only moves with the title.
    SetOpenDoubleClickEnable(showIt);
}

void BaseTitle::setCloseButtonShow(bool showIt)
{
    showButton(m_ui->btnClose, showIt);
}

void BaseTitle::addCustomButton(QAbstractButton *button)
{
    if (button)
        m_ui->m_hlayoutCustomButtons->addWidget(button);
}

void BaseTitle::setTitle(QString title)
{
    m_ui->labelTitle->setText(title);
}

void BaseTitle::setTitleIcon(QIcon icon)
{
    m_ui->btnApp->setIcon(icon);
}

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "basedialog.h"

#include "basetitle.h"
#include "ui_basedialog.h"

#include <QGuiApplication>
#include <QLayoutItem>
#include <QScreen>

namespace aptui {

BaseDialog::BaseDialog(bool showAppButton, bool showOptionButton, bool showMinButton, bool showMaxButton,
                       bool showCloseButton, bool showConfirm, bool showCancel, QWidget *parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::BaseDialog>())
{
    m_ui->setupUi(this);
    m_title = new BaseTitle(showAppButton, showOptionButton, showMinButton, showMaxButton, showCloseButton, this);
    m_ui->titleLayout->addWidget(m_title);
    m_ui->btnConfirm->setVisible(showConfirm);
    m_ui->btnConfirm->setEnabled(showConfirm);
    m_ui->btnCancel->setVisible(showCancel);
    m_ui->btnCancel->setEnabled(showCancel);

    connect(m_title, &BaseTitle::signalAppButtonClicked, this, &BaseDialog::signalAppButtonClicked);
    connect(m_title, &BaseTitle::signalOptionButtonClicked, this, &BaseDialog::signalOptionButtonClicked);
    connect(m_title, &BaseTitle::signalMinButtonClicked, this, &BaseDialog::signalMinButtonClicked);
    connect(m_title, &BaseTitle::signalMaxButtonClicked, this, &BaseDialog::signalMaxButtonClicked);
    connect(m_title, &BaseTitle::signalCloseButtonClicked, this, &BaseDialog::signalCloseButtonClicked);
    connect(m_ui->btnConfirm, &QPushButton::clicked, this, &BaseDialog::onConfirmBtnClicked);
    connect(m_ui->btnCancel, &QPushButton::clicked, this, &BaseDialog::onCancelBtnClicked);
    setMinConnection(true);
    setMaxConnection(true);
    setCloseConnection(true);

    // The dialog keeps its dialog window type: with the frameless hint alone a dialog
    // that has a parent would turn into a child widget drawn inside that parent.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
}

BaseDialog::~BaseDialog() = default;

void BaseDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Placed beside what opened it (a panel at the screen's edge), a dialog may reach beyond the
    // screen: its buttons and title would be out of reach.
    if (isMaximized() || isFullScreen())
        return;
    const QRect frame = frameGeometry();
    const QScreen *screen = QGuiApplication::screenAt(frame.center());
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const int x = qBound(area.left(), frame.left(), qMax(area.left(), area.right() + 1 - frame.width()));
    const int y = qBound(area.top(), frame.top(), qMax(area.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top())
        move(pos() + QPoint(x - frame.left(), y - frame.top()));
}

void BaseDialog::setMinConnection(bool enable)
{
    if (!enable) {
        disconnect(m_minConnection);
    } else if (!m_minConnected) {
        m_minConnection = connect(m_title, &BaseTitle::signalMinButtonClicked, this, &QWidget::showMinimized);
        enable = bool(m_minConnection);
    }
    m_minConnected = enable;
}

void BaseDialog::setMaxConnection(bool enable)
{
    if (!enable) {
        disconnect(m_maxConnection);
    } else if (!m_maxConnected) {
        m_maxConnection = connect(m_title, &BaseTitle::signalMaxButtonClicked, this, &BaseDialog::restoreWindow);
        enable = bool(m_maxConnection);
    }
    m_maxConnected = enable;
}

void BaseDialog::setCloseConnection(bool enable)
{
    if (!enable) {
        disconnect(m_closeConnection);
    } else if (!m_closeConnected) {
        m_closeConnection = connect(m_title, &BaseTitle::signalCloseButtonClicked, this, &QWidget::close);
        enable = bool(m_closeConnection);
    }
    m_closeConnected = enable;
}

void BaseDialog::setEnableDefaultConnections(bool enableMin, bool enableMax, bool enableClose, bool enableConfirm,
                                             bool enableCancel)
{
    setMinConnection(enableMin);
    setMaxConnection(enableMax);
    setCloseConnection(enableClose);
    m_confirmEnabled = enableConfirm;
    m_cancelEnabled = enableCancel;
}

void BaseDialog::setTitle(QString title)
{
    m_title->setTitle(title);
    setWindowTitle(title);
}

void BaseDialog::setDefaultText(QString text, int fontSize, bool blod)
{
    if (!m_ui->m_labelNULL)
        return;
    const QString html = blod ? QStringLiteral("<html><head/><body><p align=\"center\"><span style=\" "
                                               "font-size:%2pt; font-weight:600;\">%1</span></p></body></html>")
                              : QStringLiteral("<html><head/><body><p align=\"center\"><span style=\" "
                                               "font-size:%2pt;\">%1</span></p></body></html>");
    m_ui->m_labelNULL->setText(html.arg(text, QString::number(fontSize)));
}

void BaseDialog::setDefaultText(QString text)
{
    if (m_ui->m_labelNULL)
        m_ui->m_labelNULL->setText(text);
}

void BaseDialog::setContentWidget(QWidget *widget)
{
    // The layout items go; widgets that were in them stay alive (the label is dealt with below).
    while (QLayoutItem *item = m_ui->BorderLayout->takeAt(0))
        delete item;
    if (m_ui->m_labelNULL) {
        delete m_ui->m_labelNULL;
        m_ui->m_labelNULL = nullptr;
    }
    if (widget)
        m_ui->BorderLayout->addWidget(widget);
}

void BaseDialog::setConfirmButtonText(QString text)
{
    m_ui->btnConfirm->setText(text);
}

void BaseDialog::setCancelButtonText(QString text)
{
    m_ui->btnCancel->setText(text);
}

void BaseDialog::setBottomBarHeight(int height)
{
    m_ui->m_BaseDialogBottom->setFixedHeight(height);
}

void BaseDialog::setBottomVisible(bool value)
{
    m_ui->m_BaseDialogBottom->setVisible(value);
}

void BaseDialog::onConfirmBtnClicked()
{
    if (m_confirmEnabled)
        accept();
    emit signalConfirmButtonClicked();
}

void BaseDialog::onCancelBtnClicked()
{
    if (m_cancelEnabled)
        close();
    emit signalCancelButtonClicked();
}

void BaseDialog::restoreWindow()
{
    if (isMaximized())
        showNormal();
    else
        showMaximized();
}

} // namespace aptui

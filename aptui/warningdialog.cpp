// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "warningdialog.h"

#include "multistatelineedit.h"
#include "ui_warningdialog.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <algorithm>

namespace VexoTool {

namespace {

std::chrono::milliseconds s_autoCloseDelay{2000};

QString hintIconPath(int kind)
{
    switch (kind) {
    case WarningDialog::Information:
        return QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/BaseControl/Inputs/icon_alert_info.png");
    case WarningDialog::Error:
        return QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/BaseControl/Inputs/icon_alert_error.png");
    default:
        return {};
    }
}

} // namespace

WarningDialog::WarningDialog(int kind, const QString &text, QWidget *owner)
    : QDialog(nullptr)
    , m_ui(std::make_unique<Ui::WarningDialog>())
    , m_owner(owner)
{
    m_ui->setupUi(this);
    connect(m_ui->m_btnClose, &QPushButton::clicked, this, &WarningDialog::onBtnClose);
    resize(310, 120);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);

    m_ui->m_labelWarnText->setText(text);
    const QString icon = kindIconPath(kind);
    if (!icon.isEmpty())
        m_ui->m_labelWarnPicture->setPixmap(
            QPixmap(icon).scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));

    setAttribute(Qt::WA_TranslucentBackground);
    m_closeTimer = new QTimer(this);
    m_closeTimer->setObjectName(QStringLiteral("m_closeTimer"));
    m_closeTimer->setSingleShot(true);
    m_closeTimer->setInterval(readingTime(kind, text));
    connect(m_closeTimer, &QTimer::timeout, this, &QWidget::close);
    m_closeTimer->start();
    // Every part of the box reports the pointer's moves, which pause the time.
    setMouseTracking(true);
    for (QWidget *child : findChildren<QWidget *>()) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }
}

WarningDialog::~WarningDialog() = default;

QString WarningDialog::kindIconPath(int kind)
{
    switch (kind) {
    case Success:
        return QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/TipDialog/icon_alert_ok_large.png");
    case Information:
        return QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/TipDialog/icon_alert_info_large.png");
    case Error:
        return QStringLiteral(":/CommonSkin/VEXOTool/Images/VEXOTool/TipDialog/icon_alert_error_large.png");
    default:
        return {};
    }
}

std::chrono::milliseconds WarningDialog::autoCloseDelay()
{
    return s_autoCloseDelay;
}

void WarningDialog::setAutoCloseDelay(std::chrono::milliseconds delay)
{
    s_autoCloseDelay = delay;
}

std::chrono::milliseconds WarningDialog::readingTime(int kind, const QString &text)
{
    // Reading speed: about 15 Latin letters a second, but only about 6 Chinese characters.
    double letters = 0;
    for (const QChar c : text) {
        const bool wide = c.script() == QChar::Script_Han || (c.unicode() >= 0x3000 && c.unicode() <= 0x30ff)
                          || (c.unicode() >= 0xff00 && c.unicode() <= 0xffef);
        letters += wide ? 2.5 : 1.0;
    }
    const auto shortest = s_autoCloseDelay;
    // A short line of success needs no reading.
    if (kind == Success && !text.contains(QLatin1Char('\n')) && letters <= 60)
        return shortest;
    // 30 letters are read in the shortest time (two seconds unless changed): one second per 15.
    const auto proportional = std::chrono::milliseconds(qRound64(double(shortest.count()) * letters / 30.0));
    return std::clamp(proportional, shortest, shortest * 15 / 2);
}

void WarningDialog::onBtnClose()
{
    close();
    emit signalWarnClose();
}

void WarningDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        onBtnClose();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void WarningDialog::mousePressEvent(QMouseEvent *event)
{
    Q_UNUSED(event)
    onBtnClose(); // a click anywhere on the box closes it
}

void WarningDialog::mouseMoveEvent(QMouseEvent *event)
{
    pauseForReading();
    QDialog::mouseMoveEvent(event);
}

bool WarningDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The text and the frame take the pointer's moves before the box would see them.
    if (event->type() == QEvent::MouseMove)
        pauseForReading();
    return QDialog::eventFilter(watched, event);
}

void WarningDialog::pauseForReading()
{
    // The time stands still while the user moves the pointer over the box to read it. A box
    // that merely appears under a resting pointer goes on counting.
    if (m_closeTimer->isActive()) {
        m_remaining = std::chrono::milliseconds(m_closeTimer->remainingTime());
        m_closeTimer->stop();
    }
}

void WarningDialog::leaveEvent(QEvent *event)
{
    // Leaving the box leaves time to finish the line being read.
    if (m_remaining.count() > 0) {
        m_closeTimer->start(std::max(m_remaining, s_autoCloseDelay / 2));
        m_remaining = std::chrono::milliseconds(0);
    }
    QDialog::leaveEvent(event);
}

void WarningDialog::markField(int kind, aptui::MultiStateLineEdit *field, QLabel *hintLabel)
{
    if (!field || !hintLabel)
        return;
    if (kind == Error)
        field->setLineEditState(aptui::MultiStateLineEdit::ERROR);
    else if (kind == Information)
        field->setLineEditState(aptui::MultiStateLineEdit::TIP);
    else
        return;
    hintLabel->setPixmap(QPixmap(hintIconPath(kind)));
}

void WarningDialog::run(WarningDialog &dialog, const QPoint &position)
{
    // Where asked, moved just enough to stay whole on the screen (a field near the screen's
    // edge asks for a place partly beyond it).
    const QScreen *screen = QGuiApplication::screenAt(position);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    QPoint place = position;
    if (screen) {
        const QRect area = screen->availableGeometry();
        const QSize size = dialog.size();
        place.setX(qBound(area.left(), place.x(), qMax(area.left(), area.right() + 1 - size.width())));
        place.setY(qBound(area.top(), place.y(), qMax(area.top(), area.bottom() + 1 - size.height())));
    }
    dialog.move(place);
    dialog.exec();
}

void WarningDialog::showWarning(const QPoint &position, int kind, const QString &text, QWidget *owner,
                                aptui::MultiStateLineEdit *field, QLabel *hintLabel)
{
    markField(kind, field, hintLabel);
    WarningDialog dialog(kind, text, owner);
    run(dialog, position);
}

void WarningDialog::showLargeWarning(const QPoint &position, int kind, const QString &text, QWidget *owner,
                                     aptui::MultiStateLineEdit *field, QLabel *hintLabel)
{
    markField(kind, field, hintLabel);
    WarningDialog dialog(kind, text, owner);
    dialog.resize(310, 160);
    run(dialog, position);
}

void WarningDialog::showUntilClosed(const QPoint &position, int kind, const QString &text, QWidget *owner)
{
    WarningDialog dialog(kind, text, owner);
    dialog.m_closeTimer->stop();
    dialog.resize(310, 160);
    run(dialog, position);
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "warningdialog.h"

#include "multistatelineedit.h"
#include "ui_warningdialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>

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
    startTimer(s_autoCloseDelay);
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

void WarningDialog::onBtnClose()
{
    close();
    emit signalWarnClose();
}

void WarningDialog::timerEvent(QTimerEvent *event)
{
    Q_UNUSED(event)
    close();
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

} // namespace VexoTool

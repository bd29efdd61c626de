// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "recoveryform.h"

#include <QFont>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

namespace VexoTool::RecoveryForm {

QLabel *makeStepMarker(const QString &objectName, const QString &number, QWidget *parent)
{
    auto *marker = new QLabel(number, parent);
    marker->setObjectName(objectName);
    marker->setAlignment(Qt::AlignCenter);
    // Colours and the round shape come from the skin's style sheet.
    QFont font = marker->font();
    font.setPointSize(7);
    marker->setFont(font);
    return marker;
}

QLabel *makeHintText(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *makeQrCodeLabel(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QStringLiteral("m_labelQcCode"));
    // The skin draws a one-pixel frame around the symbol.
    label->setFixedSize(QrCodeSize + 2, QrCodeSize + 2);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QLabel *makeFieldHint(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFixedSize(16, 16);
    return label;
}

QPoint messagePosition(const QWidget *dialog)
{
    return dialog->pos() + QPoint(dialog->width() / 2 - 155, dialog->height() / 2 - 60);
}

QProgressBar *makeBusyBar(QWidget *parent)
{
    auto *bar = new QProgressBar(parent);
    bar->setObjectName(QStringLiteral("m_progressBusy"));
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setMaximumHeight(8);
    bar->hide();
    return bar;
}

void setButtonsEnabled(QWidget *dialog, bool enabled)
{
    for (const char *name : {"btnConfirm", "btnCancel"}) {
        if (auto *button = dialog->findChild<QPushButton *>(QLatin1String(name)))
            button->setEnabled(enabled);
    }
}

} // namespace VexoTool::RecoveryForm

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QPoint>
#include <QString>

class QLabel;
class QProgressBar;
class QWidget;

namespace VexoTool::RecoveryForm {

/** @brief A round step marker showing @p number (white, 7 pt, centred). */
QLabel *makeStepMarker(const QString &objectName, const QString &number, QWidget *parent);

/** @brief A word-wrapped hint label. */
QLabel *makeHintText(const QString &objectName, const QString &text, QWidget *parent);

/** @brief The side of the QR code images, in logical pixels. */
constexpr int QrCodeSize = 108;

/** @brief The label `m_labelQcCode` that shows a QR code image of QrCodeSize. */
QLabel *makeQrCodeLabel(QWidget *parent);

/** @brief An empty label beside a field where the message dialogs put their hint icon. */
QLabel *makeFieldHint(const QString &objectName, QWidget *parent);

/** @brief Where a dialog's messages appear: centred on it for a message box of 310 × 120. */
QPoint messagePosition(const QWidget *dialog);

/** @brief A hidden indeterminate progress bar `m_progressBusy`, shown while a dialog waits for a device. */
QProgressBar *makeBusyBar(QWidget *parent);

/** @brief Enables or disables a dialog's confirm and cancel buttons. */
void setButtonsEnabled(QWidget *dialog, bool enabled);

} // namespace VexoTool::RecoveryForm

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <basedialog.h>

#include <QString>

class QLabel;

namespace aptui {
class FilePathButton;
class MultiStateLineEdit;
} // namespace aptui

namespace VexoTool {

class NewPasswordForm;

/**
 * @brief "Config Reset Password": asks for the new password of a batch reset, its confirmation
 *        and the folder that holds the devices' reset files.
 *
 * Confirm checks the input and accepts only when all of it is usable; the caller reads
 * newPassword() and filePath() after an accepted exec().
 */
class ResetPasswordWidget : public aptui::BaseDialog
{
    Q_OBJECT

public:
    explicit ResetPasswordWidget(QWidget *parent = nullptr);
    ~ResetPasswordWidget() override;

    /** @brief The confirmed new password (equal to the new password once accepted). */
    QString newPassword() const;
    /** @brief The folder of the reset files as the field holds it, ending in a separator. */
    QString filePath() const;

    bool eventFilter(QObject *target, QEvent *qevent) override;

public slots:
    /** @brief Shows the strength meter for @p strNewPassword. */
    void onNewPasswordTextChanged(QString strNewPassword);
    /** @brief Checks folder and passwords; accepts the dialog when all checks pass. */
    void onResetPassword();
    /** @brief Lets the user choose the folder of the reset files. */
    void onBtnFilepathClicked();

private:
    void setupForm();

    NewPasswordForm *m_newPassword = nullptr;
    QLabel *m_labelFilePath = nullptr;
    aptui::MultiStateLineEdit *m_lineEditFilePath = nullptr;
    aptui::FilePathButton *m_btnFilePath = nullptr;
    QLabel *m_labelHintFilePath = nullptr;
};

} // namespace VexoTool

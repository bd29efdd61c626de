// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <basedialog.h>

class QLineEdit;

namespace VexoTool {

/**
 * @brief Asks for the user name and password with which the program identifies the listed
 *        ONVIF devices (and those found later) for the rest of the session.
 *
 * The user name starts as "admin". Confirm accepts only with a user name; the password may be
 * empty (some devices have none). Nothing typed here is written anywhere.
 */
class OnvifSignInDialog : public aptui::BaseDialog
{
    Q_OBJECT

public:
    explicit OnvifSignInDialog(QWidget *parent = nullptr);

    QString userName() const;
    QString password() const;
    void setUserName(const QString &userName);

    QLineEdit *userNameEdit() const { return m_lineEditUserName; }
    QLineEdit *passwordEdit() const { return m_lineEditPassword; }

private:
    void confirm();

    QLineEdit *m_lineEditUserName = nullptr;
    QLineEdit *m_lineEditPassword = nullptr;
};

} // namespace VexoTool

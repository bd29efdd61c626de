// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace aKLOGUIToolkit {

/** @brief A small modal message box with one "OK" button. */
class AKLOGUITOOLKIT_EXPORT CWarningDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CWarningDlg(QWidget *parent = nullptr);

    /** @brief Sets the window title and the message text. */
    void SetMessage(const QString &title, const QString &text);

    /** @brief Shows \a text modally under \a title and returns when the user closes it. */
    static int ShowMessageInfo(const QString &title, const QString &text, QWidget *parent = nullptr);

private:
    QLabel *m_labelText = nullptr;
    QPushButton *m_btnOk = nullptr;
};

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QPushButton;

namespace aptui {

/**
 * @brief A message about a place the user may go on to (a folder of files, a device's web page).
 *
 * Its text can be selected and copied, so that an address or a path is never only on screen;
 * buttons added with addActionButton() stand before "OK", and setNote() adds a line below the
 * text, for instance that nothing on this computer could open the place.
 */
class LinkMessageBox : public QDialog
{
    Q_OBJECT

public:
    LinkMessageBox(const QString &title, const QString &text, QWidget *parent = nullptr);

    QString text() const;
    /** @brief A button before "OK"; the caller connects what it does. */
    QPushButton *addActionButton(const QString &text, const QString &objectName);
    /** @brief Shows @p text in a line of its own below the message. */
    void setNote(const QString &text);
    QString note() const;

private:
    QLabel *m_labelText = nullptr;
    QLabel *m_labelNote = nullptr;
    QPushButton *m_btnOk = nullptr;
    QHBoxLayout *m_buttons = nullptr;
};

} // namespace aptui

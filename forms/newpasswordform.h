// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>
#include <QWidget>

class QGridLayout;
class QLabel;

namespace aptui {
class MultiStateLineEdit;
}

namespace VexoTool {

/**
 * @brief The new password of an activation or a reset: the password field with its three-step
 *        strength meter, the confirmation field, and the marks that say which field is at fault.
 *
 * Both fields hide what is typed, take at most VEXO_MAX_PASSWORD_LEN characters (a refused
 * further character is said under the field), offer no context menu and refuse the clipboard
 * shortcuts: a password is typed, never carried through the clipboard. A click into a marked
 * field clears its mark.
 *
 * The widgets keep the object names the program's style sheet and tests know:
 * m_labelNewPassword, m_lineEditNewPassword, m_labelHintNewPassword, m_labelLevel1 to
 * m_labelLevel3, m_labelLevel, m_labelHintLevel, m_labelConfirmPassword,
 * m_lineEditConfirmPassword and m_labelHintConfirmPassword. A window holds at most one form.
 *
 * The form says what is wrong (problem()); the page that holds it says so in its own words.
 */
class NewPasswordForm : public QWidget
{
    Q_OBJECT

public:
    /** @brief What keeps the typed password from being used, checked in this order. */
    enum class Problem {
        None,
        Empty,    ///< nothing typed in the password field
        Mismatch, ///< the confirmation differs from the password
        Weak,     ///< the meter shows no level: too short, too long or of one kind of character only
    };

    /** @brief Where the strength meter goes. */
    enum class MeterPlacement {
        Below,  ///< on a row of its own under the password field
        Beside, ///< right of the password field's mark, where a dialog has no room for another row
    };

    /**
     * @param userName the account the password is for; the meter rates a password that contains it lower
     * @param newLabel the row label of the password field, @p confirmLabel that of the confirmation
     */
    NewPasswordForm(const QString &userName, const QString &newLabel, const QString &confirmLabel,
                    QWidget *parent = nullptr, MeterPlacement placement = MeterPlacement::Below);
    ~NewPasswordForm() override;

    /** @brief The password as typed. */
    QString password() const;
    /** @brief The confirmation as typed. */
    QString confirmation() const;
    /** @brief The first thing that keeps the password from being used, or Problem::None. */
    Problem problem() const;

    /** @brief Empties both fields, shows the grey meter and clears the marks. */
    void clear();
    /** @brief Returns both fields to their normal state and clears their marks. */
    void clearMarks();
    /** @brief The labels' column is at least @p width wide, to line up with a form beside it. */
    void setLabelColumnWidth(int width);
    /**
     * @brief The fields are at least wide enough for @p dots dots (by default for the longest
     *        password a device takes); a narrow panel asks for fewer, so that no field is cut.
     */
    void setMinimumShownDots(int dots);
    /** @brief Aligns both row labels in their column (left by default). */
    void setLabelAlignment(Qt::Alignment alignment);
    /**
     * @brief The form's grid: label, field and mark in columns 0 to 2 (the meter beside them in
     *        column 3). A page adds its own rows from rowCount() on, so that they line up with
     *        the password rows.
     */
    QGridLayout *grid() const { return m_grid; }
    /** @brief Shows the meter for @p password (the form does so itself as the user types). */
    void showLevel(const QString &password);

    /** @brief Rates the password against @p userName from now on (a password may not be it). */
    void setUserName(const QString &userName);

    aptui::MultiStateLineEdit *passwordField() const { return m_lineEditNewPassword; }
    QLabel *passwordHint() const { return m_labelHintNewPassword; }
    aptui::MultiStateLineEdit *confirmationField() const { return m_lineEditConfirmPassword; }

    bool eventFilter(QObject *target, QEvent *event) override;

signals:
    /** @brief Enter was pressed in one of the fields. */
    void returnPressed();

private:
    QString m_userName;
    QGridLayout *m_grid = nullptr;
    QLabel *m_labelNewPassword = nullptr;
    aptui::MultiStateLineEdit *m_lineEditNewPassword = nullptr;
    QLabel *m_labelHintNewPassword = nullptr;
    QLabel *m_labelLevel1 = nullptr;
    QLabel *m_labelLevel2 = nullptr;
    QLabel *m_labelLevel3 = nullptr;
    QLabel *m_labelLevel = nullptr;
    QLabel *m_labelHintLevel = nullptr;
    QLabel *m_labelConfirmPassword = nullptr;
    aptui::MultiStateLineEdit *m_lineEditConfirmPassword = nullptr;
    QLabel *m_labelHintConfirmPassword = nullptr;
};

} // namespace VexoTool

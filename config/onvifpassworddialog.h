// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "onvifchanger.h"

#include <basedialog.h>

#include <Vexo.h>

#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QThread;

namespace aptui {
class MultiStateLineEdit;
}

namespace VexoTool {

class Journal;
class NewPasswordForm;

/**
 * @brief Changes the password of one user of one ONVIF device: user name, current password,
 *        and the new password with its strength meter and confirmation.
 *
 * Confirm checks the input first; nothing is sent while a field is empty, the confirmation
 * differs or the new password is too weak. The change then runs on a worker thread while the
 * dialog shows it busy. Success says so and accepts the dialog; a failure says why and keeps
 * the dialog open with what was typed, so that the user can correct it and try again.
 */
class OnvifPasswordDialog : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /**
     * @param changer the ONVIF client that changes the password (shared with the worker thread)
     * @param target the device; its user name prefills the user-name field ("admin" when empty),
     *        its password is ignored
     */
    OnvifPasswordDialog(std::shared_ptr<OnvifChanger> changer, const OnvifTarget &target, QWidget *parent = nullptr);
    /** @brief Waits for a change that still runs (it ends within the client's time-outs). */
    ~OnvifPasswordDialog() override;

    /** @brief The user whose password was changed, once it was. */
    QString userName() const;
    /** @brief The new password, once it was accepted. */
    QString newPassword() const;
    /** @brief Whether the change is running. */
    bool isBusy() const { return bool(m_worker); }

    /** @brief Closes the dialog unless the change is running: the device's answer is awaited. */
    void reject() override;

    /**
     * @brief Asks @p question instead of showing the clear-text question (for tests); it gets the
     *        device's name and answers whether the new password may go in clear.
     */
    void setClearTextQuestion(std::function<bool(const QString &device)> question);

    /** @brief Writes each attempt into @p journal as a change of @p device (the list's record). */
    void setJournal(Journal *journal, const VEXO_DEVICE_INFO &device);

private:
    void onConfirm();
    void onFinished(const OnvifOutcome &outcome);
    bool askClearText();
    void setBusy(bool busy);
    void showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field = nullptr, QLabel *hint = nullptr);

    std::shared_ptr<OnvifChanger> m_changer;
    OnvifTarget m_target;
    Journal *m_journal = nullptr;
    VEXO_DEVICE_INFO m_journalDevice{};
    aptui::MultiStateLineEdit *m_lineEditUserName = nullptr;
    QLabel *m_labelHintUserName = nullptr;
    aptui::MultiStateLineEdit *m_lineEditCurrentPassword = nullptr;
    QLabel *m_labelHintCurrentPassword = nullptr;
    NewPasswordForm *m_newPassword = nullptr;
    QProgressBar *m_progressBusy = nullptr;
    std::unique_ptr<QThread> m_worker;
    std::function<bool(const QString &)> m_clearTextQuestion;
};

} // namespace VexoTool

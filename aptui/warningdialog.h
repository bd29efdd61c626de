// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

#include <chrono>
#include <memory>

class QLabel;

namespace Ui {
class WarningDialog;
}

namespace aptui {
class MultiStateLineEdit;
}

namespace VexoTool {

/**
 * @brief The small frameless message box of the forms: an icon for the kind
 *        (0 success, 1 information, 2 error) and a text. It closes itself after
 *        autoCloseDelay() (two seconds).
 */
class WarningDialog : public QDialog
{
    Q_OBJECT

public:
    enum Kind { Success = 0, Information = 1, Error = 2 };

    /** @brief A message of \a kind; \a owner is the window it is about (the dialog has no parent). */
    WarningDialog(int kind, const QString &text, QWidget *owner = nullptr);
    ~WarningDialog() override;

    /**
     * @brief Marks \a field and \a hintLabel for \a kind (when both are given), then shows
     *        the message at the global \a position and returns once it has closed.
     *
     * Kind 2 puts the field in the error state with the error hint icon, kind 1 in the tip
     * state with the information hint icon; kind 0 leaves both as they are. The mark stays
     * after the message closes.
     */
    static void showWarning(const QPoint &position, int kind, const QString &text, QWidget *owner = nullptr,
                            aptui::MultiStateLineEdit *field = nullptr, QLabel *hintLabel = nullptr);

    /** @brief As showWarning(), in a taller box (310 × 160) for long texts. */
    static void showLargeWarning(const QPoint &position, int kind, const QString &text, QWidget *owner = nullptr,
                                 aptui::MultiStateLineEdit *field = nullptr, QLabel *hintLabel = nullptr);

    /** @brief How long a message stays; two seconds unless changed. */
    static std::chrono::milliseconds autoCloseDelay();
    /** @brief Changes how long later messages stay (tests use short delays). */
    static void setAutoCloseDelay(std::chrono::milliseconds delay);

    /** @brief The resource path of the box icon of \a kind; empty for unknown kinds. */
    static QString kindIconPath(int kind);

    QWidget *owner() const { return m_owner; }

signals:
    void signalWarnClose();

public slots:
    void onBtnClose();

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    static void markField(int kind, aptui::MultiStateLineEdit *field, QLabel *hintLabel);
    static void run(WarningDialog &dialog, const QPoint &position);

    std::unique_ptr<Ui::WarningDialog> m_ui;
    QWidget *m_owner = nullptr;
};

} // namespace VexoTool

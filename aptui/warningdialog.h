// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QDialog>
#include <QPoint>
#include <QString>

#include <chrono>
#include <memory>

class QLabel;
class QTimer;

namespace Ui {
class WarningDialog;
}

namespace aptui {
class MultiStateLineEdit;
}

namespace VexoTool {

/**
 * @brief The small frameless message box of the forms: an icon for the kind
 *        (0 success, 1 information, 2 error) and a text.
 *
 * It closes itself after readingTime(): two seconds for a short text, longer for a longer
 * one. The time stands still while the user moves the pointer over the box, and goes on when
 * the pointer leaves it; Esc, Enter or a click close it at once.
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

    /** @brief As showLargeWarning(), for a text the user must not miss: the box stays until closed. */
    static void showUntilClosed(const QPoint &position, int kind, const QString &text, QWidget *owner = nullptr);

    /** @brief How long a short message stays; two seconds unless changed. */
    static std::chrono::milliseconds autoCloseDelay();
    /** @brief Changes how long later messages stay, longer ones in proportion (tests use short delays). */
    static void setAutoCloseDelay(std::chrono::milliseconds delay);

    /**
     * @brief How long a message of @p kind with @p text stays: about one second for every 15
     *        characters, at least autoCloseDelay() and at most 7.5 times as long (15 s).
     *
     * A Chinese character counts as much as a few Latin letters, as it takes as long to read.
     * A success of one short line stays autoCloseDelay().
     */
    static std::chrono::milliseconds readingTime(int kind, const QString &text);

    /** @brief The resource path of the box icon of \a kind; empty for unknown kinds. */
    static QString kindIconPath(int kind);

    QWidget *owner() const { return m_owner; }

signals:
    void signalWarnClose();

public slots:
    void onBtnClose();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void pauseForReading();
    static void markField(int kind, aptui::MultiStateLineEdit *field, QLabel *hintLabel);
    static void run(WarningDialog &dialog, const QPoint &position);

    std::unique_ptr<Ui::WarningDialog> m_ui;
    QWidget *m_owner = nullptr;
    QTimer *m_closeTimer = nullptr;
    std::chrono::milliseconds m_remaining{0}; // of the reading time, while the pointer is over the box
};

} // namespace VexoTool

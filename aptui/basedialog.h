// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QDialog>
#include <QMetaObject>
#include <QString>

#include <memory>

namespace Ui {
class BaseDialog;
}

namespace aptui {

class BaseTitle;

/**
 * @brief The frameless modal dialog every dialog of the program is built on.
 *
 * A BaseTitle on top, a content area with a centred text or a caller's widget, and a
 * bottom bar with confirm and cancel. By default confirm accepts (exec() returns 1) and
 * cancel or the title's close button close the dialog (exec() returns 0); a caller that
 * checks input first turns these default reactions off with setEnableDefaultConnections()
 * and reacts to the signals, which are emitted in any case.
 */
class BaseDialog : public QDialog
{
    Q_OBJECT

public:
    /**
     * @brief The first five flags show the title's buttons; \a showConfirm and
     *        \a showCancel show and enable the bottom bar's buttons.
     */
    explicit BaseDialog(bool showAppButton = false, bool showOptionButton = false, bool showMinButton = false,
                        bool showMaxButton = false, bool showCloseButton = true, bool showConfirm = true,
                        bool showCancel = true, QWidget *parent = nullptr);
    ~BaseDialog() override;

    /**
     * @brief Puts \a widget into the content area in place of the default text.
     *
     * The dialog takes ownership of \a widget. Afterwards setDefaultText() does nothing.
     */
    void setContentWidget(QWidget *widget);

    /** @brief The title bar. */
    BaseTitle *titleBar() const { return m_title; }

signals:
    void signalAppButtonClicked();
    void signalOptionButtonClicked();
    void signalMinButtonClicked();
    void signalMaxButtonClicked();
    void signalCloseButtonClicked();
    void signalConfirmButtonClicked();
    void signalCancelButtonClicked();

public slots:
    /**
     * @brief Switches the default reactions: minimise, maximise/restore and close from the
     *        title; accept on confirm and close on cancel.
     */
    void setEnableDefaultConnections(bool enableMin, bool enableMax, bool enableClose, bool enableConfirm,
                                     bool enableCancel);
    /** @brief Title bar text and window title. */
    void setTitle(QString title);
    /** @brief The default text, centred, at \a fontSize points, bold when \a blod. */
    void setDefaultText(QString text, int fontSize, bool blod = false);
    /** @brief The default text as given (plain or rich text). */
    void setDefaultText(QString text);
    void setConfirmButtonText(QString text);
    void setCancelButtonText(QString text);
    /** @brief Fixes the height of the bottom bar. */
    void setBottomBarHeight(int height);
    void setBottomVisible(bool value);
    void onConfirmBtnClicked();
    void onCancelBtnClicked();
    /** @brief Maximises the dialog, or restores it when it is maximised. */
    void restoreWindow();

protected:
    /** @brief Moves the dialog just as far as it takes to show it whole on its screen. */
    void showEvent(QShowEvent *event) override;

private:
    void setMinConnection(bool enable);
    void setMaxConnection(bool enable);
    void setCloseConnection(bool enable);

    std::unique_ptr<Ui::BaseDialog> m_ui;
    BaseTitle *m_title = nullptr;

    QMetaObject::Connection m_minConnection;
    QMetaObject::Connection m_maxConnection;
    QMetaObject::Connection m_closeConnection;
    bool m_minConnected = false;
    bool m_maxConnected = false;
    bool m_closeConnected = false;
    bool m_confirmEnabled = true;
    bool m_cancelEnabled = true;
};

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <onvifhandler.h>

#include <QImage>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QVector>

#include <Vexo.h>

#include <functional>
#include <memory>

class AboutDialog;
class DeviceStore;
class QAction;
class QHBoxLayout;

namespace Ui {
class VEXOToolMainPage;
}

namespace aptui {
class CoverWidget;
class Menu;
class PinButton;
class WindowTitle;
} // namespace aptui

namespace VEXO {
class VexoHandler;
} // namespace VEXO

namespace VexoTool {

class DeviceDisplayPage;
class DeviceModifyPage;
class Journal;
class JournalWindow;

/**
 * @brief The program's only top-level window: title bar, device list, the right-hand
 *        panel with its fold bar, the cover laid over the window while dialogs run, the
 *        about menu and the exit question.
 *
 * Ctrl+P folds and unfolds the right-hand panel like a click on its fold bar.
 *
 * Its constructor wires the discovery service to the device list and starts discovery.
 */
class VEXOToolMainPage : public QMainWindow
{
    Q_OBJECT

public:
    /** @brief The window over @p store and @p discovery, which must outlive it. */
    VEXOToolMainPage(DeviceStore *store, VEXO::VexoHandler *discovery, QWidget *parent = nullptr);
    /**
     * @brief The window over @p store and both discovery services, which must outlive it: the
     *        ONVIF service @p onvif lists its devices too, starts and probes with @p discovery,
     *        and changes them for the panel.
     */
    VEXOToolMainPage(DeviceStore *store, VEXO::VexoHandler *discovery, VEXO::OnvifHandler *onvif,
                     QWidget *parent = nullptr);
    ~VEXOToolMainPage() override;

    /**
     * @brief Puts \a panel to the right of the device list and lets the fold bar fold it.
     *
     * The window takes ownership of \a panel.
     */
    void setRightPanel(QWidget *panel);
    QWidget *rightPanel() const { return m_rightPanel; }

    DeviceDisplayPage *deviceDisplayPage() const { return m_deviceDisplayPage; }
    /** @brief The modify and activate panel, the window's right-hand panel. */
    DeviceModifyPage *deviceModifyPage() const { return m_deviceModifyPage; }
    aptui::WindowTitle *titleBar() const { return m_title; }
    aptui::PinButton *pinButton() const { return m_pinButton; }
    QWidget *pinBorder() const { return m_pinBorder; }
    QWidget *rightSpace() const { return m_rightSpace; }
    aptui::CoverWidget *cover() const { return m_cover; }
    aptui::Menu *aboutMenu() const { return m_aboutMenu; }
    /** @brief The checkable "Batch operations" entry of the title's menu. */
    QAction *batchOperationsAction() const { return m_actionBatchOperations; }
    /** @brief The title menu's "ONVIF Sign-In…" entry. */
    QAction *onvifSignInAction() const { return m_actionOnvifSignIn; }
    /** @brief The title menu's "Language" submenu: one checkable entry per language, kept per user. */
    aptui::Menu *languageMenu() const { return m_languageMenu; }
    bool isCovered() const { return m_covered; }

    /**
     * @brief Writes every change made from the window into @p journal, which must outlive the
     *        window, and shows it in the journal window; without one nothing is written.
     *
     * A journal that cannot be written is said once in a message; the work goes on.
     */
    void setJournal(Journal *journal);
    Journal *journal() const { return m_journal; }
    /** @brief The title menu's "Journal..." entry (Ctrl+J). */
    QAction *journalAction() const { return m_actionJournal; }
    /** @brief The journal window while it is open. */
    JournalWindow *journalWindow() const;

    /**
     * @brief Sets how the user is asked whether a device that offers only clear-text passwords
     *        gets the password anyway; given the device's name, true for yes. The default asks
     *        with a dialog.
     */
    void setClearTextQuestion(std::function<bool(const QString &device)> question);

signals:
    /** @brief F1: open the user manual. */
    void signalGetHelp();

public slots:
    /** @brief Places the fold bar at the left edge of the right-hand panel, or at the window's right edge. */
    void onMovePinButtion();
    /** @brief Shows the right spacer exactly while the right-hand panel is folded. */
    void onShowOrHideRightSpace();
    /** @brief Pops up the about menu at the cursor. */
    void OnBtnSystemMenu();
    void setCover(bool coverIt);
    void enableCover();
    void disableCover();
    /** @brief Lets the list check several rows and shows its batch buttons; kept in Setup.xml. */
    void onBatchOperationsToggled(bool on);
    /**
     * @brief Keeps language @p code (0 English, 1 Chinese) in the user's Setup.xml for the next
     *        start and says so in a message; choosing the current language does nothing.
     */
    void onLanguageChosen(quint32 code);
    /** @brief Moves the keyboard focus to the right-hand panel's first input field. */
    void focusRightPanel();
    /**
     * @brief Asks for the ONVIF devices' user name and password and identifies them with it;
     *        "ONVIF Sign-In…" in the title's menu.
     */
    void onOnvifSignIn();
    /** @brief Opens the journal window, or brings it up with the entries read again (Ctrl+J). */
    void openJournal();
    /**
     * @brief Identifies the ONVIF devices with @p userName and @p password for the rest of the
     *        session; once they have all answered (or not), a result list says how it went.
     */
    void signInOnvif(const QString &userName, const QString &password);
    /**
     * @brief The one-line summary of a sign-in: "12 identified, 2 refused the user name or
     *        password, 1 did not answer", counting only what happened.
     */
    static QString signInSummary(const QVector<VEXO::OnvifSignInOutcome> &outcomes);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    /**
     * @brief Where the about menu opens when asked for at \a wanted (global): moved just as far
     *        as it takes to keep it below the title bar and inside the window and the screen.
     */
    QPoint aboutMenuPosition(QPoint wanted) const;

private:
    /** @brief The devices listed now, for the hand-over report. */
    QVector<VEXO_DEVICE_INFO> listedRecords() const;
    /** @brief The thumbnail the list's snapshot view keeps of @p record's camera; null when none. */
    QImage listedSnapshot(const VEXO_DEVICE_INFO &record) const;
    void connectDiscovery();
    void connectModifyPanel();
    void connectOnvif();
    void showOnvifFailure(const QString &key, const QString &text);
    void showSignInResults(const QVector<VEXO::OnvifSignInOutcome> &outcomes);
    void askClearText(const QString &key, const QString &name);
    void startDiscovery();
    void addLanguageMenu();
    static QString languageRestartText(quint32 code);

    DeviceStore *m_store = nullptr;
    VEXO::VexoHandler *m_discovery = nullptr;
    VEXO::OnvifHandler *m_onvif = nullptr;
    Journal *m_journal = nullptr;
    QPointer<JournalWindow> m_journalWindow;
    QAction *m_actionJournal = nullptr;
    QAction *m_actionOnvifSignIn = nullptr;
    std::function<bool(const QString &)> m_clearTextQuestion;
    QStringList m_clearTextAsking; // keys waiting for the question, asked one at a time
    bool m_askingClearText = false;
    std::unique_ptr<Ui::VEXOToolMainPage> m_ui;
    QHBoxLayout *m_pageLayout = nullptr;
    aptui::WindowTitle *m_title = nullptr;
    DeviceDisplayPage *m_deviceDisplayPage = nullptr;
    DeviceModifyPage *m_deviceModifyPage = nullptr;
    QWidget *m_rightPanel = nullptr;
    QWidget *m_rightSpace = nullptr;
    aptui::PinButton *m_pinButton = nullptr;
    QWidget *m_pinBorder = nullptr;
    aptui::CoverWidget *m_cover = nullptr;
    bool m_covered = false;
    std::unique_ptr<AboutDialog> m_aboutAction;
    aptui::Menu *m_aboutMenu = nullptr;
    QAction *m_actionBatchOperations = nullptr;
    QAction *m_actionSnapshotView = nullptr;
    aptui::Menu *m_languageMenu = nullptr;
    bool m_toldSettingsNotKept = false; // the user heard once that the settings file cannot be written
};

} // namespace VexoTool

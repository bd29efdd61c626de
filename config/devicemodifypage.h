// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "onvifchanger.h"
#include "panelstate.h"

#include <deviceinfo.h>
#include <modifypage.h>

#include <QPoint>
#include <QStringList>
#include <QVector>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QStackedWidget;
class QThread;

class DeviceStore;

namespace aptui {
class MultiStateLineEdit;
}

namespace VEXO {
class VexoHandler;
} // namespace VEXO

namespace VexoTool {

class DeviceActivePage;
class Journal;
class DeviceNetParaPage;
class NewPasswordForm;
class OnvifChanger;
class SnapshotPanel;
class SnapshotSource;
struct AdapterAddress;

/**
 * @brief The right-hand panel of the main window: changes the network parameters of the
 *        checked devices, activates new devices, and opens password recovery.
 *
 * The device list reports every change of its checked rows to onCurrentSelectionChange();
 * the panel then shows the network form with the administrator password, the activation
 * area, or a notice. Operations run one device after the other through the discovery
 * service; DeviceStore is kept up to date and the outcome goes back to the list through
 * signalModifyResult() and signalActiveResult(). A batch shows its progress and ends in the
 * result list. A single modification or activation runs on a worker thread while the panel
 * shows a busy bar and keeps its buttons disabled; a time-out is settled by the device's own
 * announcement when it comes within a few seconds.
 */
class DeviceModifyPage : public QWidget
{
    Q_OBJECT

public:
    /**
     * @brief Built with the main window as @p parent, whose cover it raises around its dialogs.
     *
     * The panel reads and updates the devices in @p store and changes them through @p discovery;
     * both must outlive it.
     */
    DeviceModifyPage(DeviceStore &store, VEXO::VexoHandler &discovery, QWidget *parent = nullptr);
    ~DeviceModifyPage() override;

    /** @brief The devices of the last selection report, with the results written since. */
    QVector<DeviceInfo> selection() const { return m_selection; }
    /** @brief Whether a single modification or activation is still running (its buttons are disabled). */
    bool isOperationRunning() const { return m_operationRunning; }

    bool eventFilter(QObject *target, QEvent *qevent) override;

    /**
     * @brief Changes ONVIF rows through @p changer from now on (shared with the worker threads
     *        that call it). Without one, ONVIF rows are reported as not changeable.
     */
    void setOnvifChanger(std::shared_ptr<OnvifChanger> changer);
    /** @brief Shows what the camera of a single ONVIF row sees, through @p source, above the form. */
    void setSnapshotSource(std::shared_ptr<SnapshotSource> source);
    /** @brief The snapshot above the form (hidden unless a single ONVIF row has one). */
    SnapshotPanel *snapshotPanel() const { return m_snapshot; }

    /**
     * @brief Asks whether devices that need a restart to use their new settings restart now;
     *        given the devices' list texts, true for "now". The default asks with a dialog.
     */
    void setRestartQuestion(std::function<bool(const QStringList &devices)> question);
    /** @brief Asks @p question, with the device's name, before its pinned certificate is forgotten (for tests). */
    void setForgetCertificateQuestion(std::function<bool(const QString &device)> question);

    /** @brief Where the panel learns this computer's adapter addresses (reachableAdapters() by default). */
    void setAdapterSource(std::function<QVector<AdapterAddress>()> source);

    /**
     * @brief Writes one entry per device of every operation into @p journal from now on (none
     *        without one); the journal must outlive the panel.
     */
    void setJournal(Journal *journal) { m_journal = journal; }

    /** @brief The user-name field's default text for ONVIF devices. */
    static QString defaultOnvifUserName();

    /** @brief Whether the device list's batch operations are on: the panel then counts the ticked devices. */
    void setBatchOperations(bool on);

    /** @brief The current selection and situation as the panel's state is computed from. */
    PanelSelection panelSelection() const;

signals:
    /** @brief A modification ended: the selection with its result texts and new addresses. */
    void signalModifyResult(QVector<DeviceInfo> vecDeviceInfo);
    /** @brief An activation ended: the selection with its result texts. */
    void signalActiveResult(QVector<DeviceInfo> vecDeviceInfo);
    /** @brief A dialog of the panel is about to run modally: dim the main window. */
    void signalCoverMainPage();
    /** @brief The panel's modal dialog has ended. */
    void signalDisCoverMainPage();
    /** @brief The password restore dialog asked for the list to be exported. */
    void signalExportExcel();

public slots:
    /** @brief Shows the view for this kind of selection and keeps the devices. */
    void onCurrentSelectionChange(ModifyPage modifyPageType, QVector<DeviceInfo> struDeviceInfo);
    /** @brief "Modify": checks the input and changes the selected devices' network parameters. */
    void onModifyNetParas();
    /** @brief "Active": checks the new password and activates the selected devices. */
    void onActiveDevices();
    /** @brief "Change Password…" of a single ONVIF row: the dialog that changes a user's password on the device. */
    void onChangeOnvifPassword();
    /** @brief "Forget Certificate…" of a single ONVIF row: forgets its pinned TLS certificate after a question. */
    void onForgetOnvifCertificate();
    /** @brief "Forget Password": key-based reset or default-password restore, as the device supports. */
    void onForgetPassword();
    /** @brief Shows the strength meter for the new password. */
    void onNewPasswordTextChanged(QString strNewPassword);
    /** @brief Single-mode "Enable DHCP": checked frees the addresses, unchecked reloads the device. */
    void onDhcpStateChanged(int iState);
    /** @brief Batch "Enable DHCP": checked empties and disables start address, mask and gateway. */
    void onBatchDhcpStateChanged(int iState);

private:
    void buildActivationArea();
    void buildModificationArea();
    /** @brief Tab order, Enter in the password fields, and the hints of refused keystrokes. */
    void setUpKeyboard();
    QPoint dialogPosition() const;
    void showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field = nullptr, QLabel *hint = nullptr);
    /** @brief A success message; after a late answer a second line says the announcement confirmed it. */
    void showSuccess(const QString &text, bool late);
    /** @brief Lays the form out for the selection of kind @p kind and empties the password fields. */
    void prepareForms(ModifyPage kind);
    void resetPasswordFields();
    /**
     * @brief Shows, enables and explains every control as PanelState has it for the current
     *        selection and situation; the one place that does, so nothing stays from before.
     */
    void applyState();
    bool selectionHasOnvif() const;
    /** @brief The advice for a single ONVIF row that no adapter reaches, else empty. */
    QString reachAdvice(const DeviceInfo &device) const;
    bool isReachable(const DeviceInfo &device) const;

    /** @brief Changes one device over the device protocol; the library's error code. */
    static quint32 changeOverVxdp(VEXO::VexoHandler &discovery, const QByteArray &mac, const QByteArray &password,
                                  const DeviceNetParam &params);
    /** @brief Changes one device over ONVIF through the changer set from the program. */
    static OnvifOutcome changeOverOnvif(const std::shared_ptr<OnvifChanger> &changer, const OnvifTarget &target,
                                        const DeviceNetParam &params);
    OnvifTarget onvifTarget(const DeviceInfo &device) const;
    void modifySingleOnvif();
    /** @brief Asks about a restart and restarts the devices the user lets restart now; the texts for each. */
    QStringList restartIfWanted(const QVector<OnvifTarget> &targets, const QStringList &names);
    /** @brief Runs @p work on a worker thread while the panel shows it busy, then @p done on the GUI thread. */
    void runOnvifOperation(const QString &busyText, std::function<OnvifOutcome()> work,
                           std::function<void(const OnvifOutcome &)> done);

    void modifySingle();
    void reportSingleFailure(DeviceInfo &device, quint32 code);
    /**
     * @brief Runs @p work (a library call that returns its error code) for @p device on a worker
     *        thread while the panel shows it busy, then calls @p done on the GUI thread.
     *
     * After a time-out the device's signed announcements are watched a little longer: one for
     * which @p applied holds turns the outcome into a success that @p done learns came late.
     */
    void runSingleOperation(const DeviceInfo &device, const QString &busyText, std::function<quint32()> work,
                            std::function<bool(const VEXO_DEVICE_INFO &)> applied,
                            std::function<void(DeviceInfo device, quint32 code, bool late)> done);
    /** @brief Disables the operation buttons and shows the busy indicator, or restores both. */
    void setOperationRunning(bool running, const QString &busyText = QString());
    /** @brief Writes @p device's result into the selection if the device is still selected. */
    void keepResult(const DeviceInfo &device);
    void modifyBatch();
    void activateSingle();
    void activateBatch();
    /** @brief Runs @p work for each of @p count devices on a worker thread, showing "n of N"; the error codes. */
    QVector<quint32> runBatch(const QString &progressText, int count, const std::function<quint32(int)> &work);
    /** @brief The modal result list of a batch, in its activation form for @p activation. */
    void runResultList(const QVector<DeviceInfo> &devices, bool activation);

    /** @brief Key-based password reset of one device. */
    void runResetDialog(const QString &serialNumber, const QString &deviceType, bool newKeyFormat, bool resetIpc);
    /** @brief Default-password restore of one device. */
    void runRestoreDialog(const QString &serialNumber, const QString &deviceType);
    /** @brief The device's record in the store as it is now (zero when it is not listed). */
    VEXO_DEVICE_INFO recordOf(const QString &serialNumber, const QString &mac) const;

    DeviceStore &m_store;
    Journal *m_journal = nullptr;
    VEXO::VexoHandler &m_discovery;

    QStackedWidget *m_stackedWidget = nullptr;
    DeviceNetParaPage *m_netParaPage = nullptr;
    DeviceActivePage *m_activePage = nullptr;

    QFrame *m_frameActive = nullptr;
    NewPasswordForm *m_newPassword = nullptr;
    QPushButton *m_btnActive = nullptr;

    QFrame *m_frameModifyPara = nullptr;
    aptui::MultiStateLineEdit *m_lineEditAdminPassword = nullptr;
    QLabel *m_labelHintAdimaPassword = nullptr;
    QPushButton *m_btnModify = nullptr;
    QPushButton *m_btnLostPassword = nullptr;
    QPushButton *m_btnChangePassword = nullptr;    // single ONVIF rows only
    QPushButton *m_btnForgetCertificate = nullptr; // single ONVIF rows with a pinned certificate
    QLabel *m_labelUserName = nullptr;
    aptui::MultiStateLineEdit *m_lineEditUserName = nullptr;
    QLabel *m_labelHintUserName = nullptr;
    QLabel *m_labelReach = nullptr;             // why an ONVIF device cannot be reached from here
    QCheckBox *m_checkBoxReachAnyway = nullptr; // the user's go-ahead to try it anyway
    QLabel *m_labelSelectionNote = nullptr;     // how many devices are ticked; which are not activated

    std::shared_ptr<OnvifChanger> m_onvifChanger;
    std::function<bool(const QStringList &)> m_restartQuestion;
    std::function<bool(const QString &)> m_forgetCertificateQuestion;
    std::function<QVector<AdapterAddress>()> m_adapterSource;

    SnapshotPanel *m_snapshot = nullptr;
    QWidget *m_busyArea = nullptr;
    QLabel *m_labelBusy = nullptr;
    QProgressBar *m_progressBusy = nullptr;
    bool m_operationRunning = false;
    std::unique_ptr<QThread> m_worker;

    QVector<DeviceInfo> m_selection;
    ModifyPage m_selectionKind = ModifySingle;
    ModifyPage m_noticeKind = ActivateSingle; // what the notices page shows (it starts with one device)
    bool m_batchOperations = false;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <basedialog.h>

#include <Vexo.h>

#include <QString>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QtQrEncode;

namespace VEXO {
class VexoHandler;
} // namespace VEXO

namespace aKLOGUIToolkit {
class CRadioButton;
}

namespace aptui {
class FilePathButton;
class MultiStateLineEdit;
} // namespace aptui

namespace VexoTool {

class Journal;

class DeviceCallRunner;
class NewPasswordForm;

/**
 * @brief Resets a forgotten administrator password of one device with a key from the maker's
 *        customer service, in three steps.
 *
 * 1. The device's key material as a QR code for the service's account (or, through a button that
 *    stays hidden, as a key file).
 * 2. The reset key that comes back, typed ("ManualInput", devices of the newer key scheme only)
 *    or as a reset file ("AutoInput"), of which a cleaned copy is handed to the library.
 * 3. The new password twice and, for recorders, whether the connected cameras are reset too.
 *
 * Every failure leaves the dialog open with the user's input and says what happened; a
 * successful reset accepts it. The key query and the reset ask the device on a worker thread:
 * meanwhile the dialog shows a busy bar and its buttons and inputs are disabled.
 */
class ResetPasswordDialog : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /**
     * @param newFormat the device uses the newer key scheme (key command 2); typing the key is offered only then
     * @param supportIpc the device can also reset the passwords of the cameras connected to it
     *
     * The key query and the reset go through @p discovery, which must outlive the dialog.
     */
    ResetPasswordDialog(VEXO::VexoHandler &discovery, QWidget *parent, const QString &serialNumber,
                        const QString &deviceType, bool newFormat, bool supportIpc);
    ~ResetPasswordDialog() override;

    /**
     * @brief The QR text of a device key: "B:" + type + "**" + key for the older scheme,
     *        type + "**" + key for the newer one.
     */
    static QString keyQrText(const QString &deviceType, const QString &key, bool newFormat);

    /**
     * @brief Writes the reset file @p strFilePath without its trailing line ends to "copy.xml"
     *        (see cleanCopyPath()) and returns the copy's path; empty if the copy cannot be written.
     */
    QString makeCleanCopy(const QString &strFilePath) const;

    /** @brief Writes each attempt into @p journal as a change of @p device (the list's record). */
    void setJournal(Journal *journal, const VEXO_DEVICE_INFO &device);

    bool eventFilter(QObject *target, QEvent *event) override;

public slots:
    /** @brief Shows the browse button only while a reset file is chosen. */
    void onMaualAutoChanged();
    /** @brief Writes the device key file into a folder the user chooses. */
    void onExportFile();
    /** @brief Lets the user choose the reset file. */
    void onImportFile();
    /** @brief Checks the input and asks the device to reset its password. */
    void onResetPassword();
    /** @brief Shows the strength meter for @p strNewPassword. */
    void onNewPasswordTextChanged(QString strNewPassword);
    /** @brief Returns the key and password fields to their normal state and clears their hints. */
    void onClearWarningInfo();
    /** @brief Returns the key field to its normal state and clears its hint. */
    void onClearFilePathError();
    /** @brief Fetches the device key and shows it as a QR code. */
    void onGenerateQRcode();

private:
    void setupForm();
    void onResetFinished(quint32 code);
    void setBusy(bool busy);
    void showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field = nullptr, QLabel *hint = nullptr);
    quint32 keyCommand() const;

    VEXO::VexoHandler &m_discovery;
    Journal *m_journal = nullptr;
    VEXO_DEVICE_INFO m_journalDevice{};
    QString m_serialNumber;
    QString m_deviceType;
    bool m_newFormat = false;
    bool m_supportIpc = false;
    QtQrEncode *m_qrEncode = nullptr;

    QLabel *m_labelPic1 = nullptr;
    QLabel *m_labelPic2 = nullptr;
    QLabel *m_labelPic3 = nullptr;
    QLabel *m_labelStep1 = nullptr;
    QPushButton *m_btnExport = nullptr;
    QPushButton *m_btnQRcode = nullptr;
    QLabel *m_labelQcCode = nullptr;
    QLabel *m_labelStep2 = nullptr;
    aKLOGUIToolkit::CRadioButton *m_radioBtnManualInput = nullptr;
    aKLOGUIToolkit::CRadioButton *m_radioBtnAutoInput = nullptr;
    aptui::MultiStateLineEdit *m_lineEditFilePath = nullptr;
    aptui::FilePathButton *m_btnFilePath = nullptr;
    QLabel *m_labelHintFilePath = nullptr;
    NewPasswordForm *m_newPassword = nullptr;
    QCheckBox *m_checkBoxIPC = nullptr;
    QLabel *label = nullptr;
    QProgressBar *m_progressBusy = nullptr;
    DeviceCallRunner *m_runner = nullptr;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <basedialog.h>

#include <Vexo.h>

#include <QString>
#include <QStringList>

class QLabel;
class QProgressBar;

namespace VEXO {
class VexoHandler;
} // namespace VEXO

namespace aptui {
class MultiStateLineEdit;
}

namespace VexoTool {

class Journal;

class DeviceCallRunner;

/**
 * @brief Returns a device to its factory default password with a security code from the maker's
 *        customer service.
 *
 * The dialog shows the restore QR code at once; the user scans it, types the code that comes
 * back and confirms. A wrong code leaves the dialog open for another try. The restore runs on a
 * worker thread; meanwhile the dialog shows a busy bar and its buttons are disabled.
 */
class RestorePasswordDialog : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /** @brief The restore goes through @p discovery, which must outlive the dialog. */
    RestorePasswordDialog(VEXO::VexoHandler &discovery, QWidget *parent, const QString &serialNumber,
                          const QString &deviceType);
    ~RestorePasswordDialog() override;

    /** @brief Replaces the device type; the QR code already shown stays as it is. */
    void setDeviceType(const QString &deviceType);
    QString deviceType() const { return m_deviceType; }

    /**
     * @brief The restore QR text "A:" + type + "**" + serial number.
     *
     * For a device type that belongs to one of @p modelPrefixes (it contains the prefix) every
     * occurrence of the type text is removed from the serial number first.
     */
    static QString restoreQrText(const QString &serialNumber, const QString &deviceType,
                                 const QStringList &modelPrefixes);

    /**
     * @brief The security code as the device expects it: @p typed without blanks or hyphens
     *        anywhere and in capitals, so that "abcd efgh-jkmn pqrs" is read as "ABCDEFGHJKMNPQRS".
     */
    static QString normalizedSecurityCode(const QString &typed);

    /** @brief The model families whose restore QR code carries the serial number without the type. */
    QStringList modelPrefixes() const { return m_modelPrefixes; }

    /** @brief Writes each attempt into @p journal as a change of @p device (the list's record). */
    void setJournal(Journal *journal, const VEXO_DEVICE_INFO &device);

    bool eventFilter(QObject *target, QEvent *event) override;

signals:
    /** @brief Relayed by the modify panel; this dialog itself never emits it. */
    void signalExportExcel();

public slots:
    /** @brief Checks the code and asks the device to restore its default password. */
    void onRestorePassword();
    /** @brief Returns the code field to its normal state and clears its hint. */
    void onClearWarningInfo();
    /** @brief Draws the restore QR code of the device. */
    void onGenerateQRcode();

private:
    void setupForm();
    void onRestoreFinished(quint32 code);
    void setBusy(bool busy);

    VEXO::VexoHandler &m_discovery;
    Journal *m_journal = nullptr;
    VEXO_DEVICE_INFO m_journalDevice{};
    QString m_serialNumber;
    QString m_deviceType;
    QStringList m_modelPrefixes;

    QLabel *m_labelPic1 = nullptr;
    QLabel *m_labelPic2 = nullptr;
    QLabel *m_labelPic3 = nullptr;
    QLabel *label = nullptr;
    QLabel *m_labelQcCode = nullptr;
    QLabel *label_2 = nullptr;
    QLabel *label_3 = nullptr;
    QLabel *m_labelSecurityCode = nullptr;
    aptui::MultiStateLineEdit *m_lineEditSecurityCode = nullptr;
    QLabel *m_labelHintSecurityCode = nullptr;
    QProgressBar *m_progressBusy = nullptr;
    DeviceCallRunner *m_runner = nullptr;
};

} // namespace VexoTool

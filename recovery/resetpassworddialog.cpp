// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "resetpassworddialog.h"

#include "devicecallrunner.h"
#include "recoveryfiles.h"
#include "recoveryform.h"
#include "recoverylog.h"

#include <folderpath.h>
#include <Vexo.h>
#include <akloguitoolkit/cradiobutton.h>
#include <errorexplanation.h>
#include <journalrecords.h>
#include <filepathbutton.h>
#include <multistatelineedit.h>
#include <newpasswordform.h>
#include <qtqrencode.h>
#include <vexohandler.h>
#include <warningdialog.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace VexoTool {

namespace {

const QString UserName = QStringLiteral("admin");

// The folder of the last key export and the last imported reset file, offered again by later
// dialogs of this run.
QString &lastExportFolder()
{
    static QString folder;
    return folder;
}

QString &lastImportFile()
{
    static QString file;
    return file;
}

aptui::MultiStateLineEdit *lineEdit(const QString &objectName, int maxLength, QWidget *parent)
{
    auto *edit = new aptui::MultiStateLineEdit(parent);
    edit->setObjectName(objectName);
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

ResetPasswordDialog::ResetPasswordDialog(VEXO::VexoHandler &discovery, QWidget *parent, const QString &serialNumber,
                                         const QString &deviceType, bool newFormat, bool supportIpc)
    : BaseDialog(false, false, false, false, true, true, true, parent)
    , m_discovery(discovery)
    , m_serialNumber(serialNumber)
    , m_deviceType(deviceType)
    , m_newFormat(newFormat)
    , m_supportIpc(supportIpc)
    , m_qrEncode(new QtQrEncode(this))
    , m_runner(new DeviceCallRunner(this))
{
    setupForm();
    setTitle(tr("Reset Password"));
    // Larger when the texts of the language need it (the steps' texts wrap).
    ensurePolished();
    const int width = qMax(510, sizeHint().width());
    const int height
        = layout() && layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width) : sizeHint().height();
    setFixedSize(width, qMax(360, height));
    setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));
    // Confirm runs the checks and the reset; only a successful reset closes the dialog.
    setEnableDefaultConnections(true, true, true, false, true);

    m_btnFilePath->hide();

    connect(m_radioBtnManualInput, &QRadioButton::toggled, this, &ResetPasswordDialog::onMaualAutoChanged);
    connect(m_radioBtnAutoInput, &QRadioButton::toggled, this, &ResetPasswordDialog::onMaualAutoChanged);
    connect(m_btnExport, &QPushButton::clicked, this, &ResetPasswordDialog::onExportFile);
    connect(m_btnFilePath, &QToolButton::clicked, this, &ResetPasswordDialog::onClearFilePathError);
    connect(m_btnFilePath, &QToolButton::clicked, this, &ResetPasswordDialog::onImportFile);
    connect(this, &BaseDialog::signalConfirmButtonClicked, this, &ResetPasswordDialog::onResetPassword,
            Qt::DirectConnection);
    connect(m_btnQRcode, &QPushButton::clicked, this, &ResetPasswordDialog::onGenerateQRcode);

    if (!m_newFormat) {
        // The older scheme's reset keys come only as files.
        m_radioBtnManualInput->hide();
        m_radioBtnAutoInput->setChecked(true);
        m_labelQcCode->clear();
    }
    if (!m_supportIpc)
        m_checkBoxIPC->hide();

    m_lineEditFilePath->installEventFilter(this);

    // Exporting a key file stays possible for the service desk but is not offered.
    m_btnExport->hide();
}

ResetPasswordDialog::~ResetPasswordDialog() = default;

void ResetPasswordDialog::setupForm()
{
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("ResetPasswordDialog_centerWidget"));

    m_labelPic1 = RecoveryForm::makeStepMarker(QStringLiteral("m_labelPic1"), QStringLiteral("1"), form);
    m_labelPic2 = RecoveryForm::makeStepMarker(QStringLiteral("m_labelPic2"), QStringLiteral("2"), form);
    m_labelPic3 = RecoveryForm::makeStepMarker(QStringLiteral("m_labelPic3"), QStringLiteral("3"), form);
    m_labelStep1 = RecoveryForm::makeHintText(
        QStringLiteral("m_labelStep1"),
        tr("请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。"), form);
    m_labelStep2 = RecoveryForm::makeHintText(
        QStringLiteral("m_labelStep2"),
        tr("请导入由“密码重置”生成的密钥文件，并重置密码（若是字符则手动输入，若是XML文件则文件导入）。"), form);
    label = RecoveryForm::makeHintText(QStringLiteral("label"),
                                       tr("如果恢复失败，请重启设备和软件后重新执行步骤1和2。"), form);

    m_btnExport = new QPushButton(tr("Export"), form);
    m_btnExport->setObjectName(QStringLiteral("m_btnExport"));
    m_btnQRcode = new QPushButton(tr("QR code"), form);
    m_btnQRcode->setObjectName(QStringLiteral("m_btnQRcode"));
    m_labelQcCode = RecoveryForm::makeQrCodeLabel(form);

    m_radioBtnManualInput = new aKLOGUIToolkit::CRadioButton(form);
    m_radioBtnManualInput->setObjectName(QStringLiteral("m_radioBtnManualInput"));
    m_radioBtnManualInput->setText(tr("ManualInput"));
    m_radioBtnManualInput->setChecked(true);
    m_radioBtnAutoInput = new aKLOGUIToolkit::CRadioButton(form);
    m_radioBtnAutoInput->setObjectName(QStringLiteral("m_radioBtnAutoInput"));
    m_radioBtnAutoInput->setText(tr("AutoInput"));
    m_lineEditFilePath = lineEdit(QStringLiteral("m_lineEditFilePath"), 128, form);
    m_btnFilePath = new aptui::FilePathButton(form);
    m_btnFilePath->setObjectName(QStringLiteral("m_btnFilePath"));
    m_btnFilePath->setFixedSize(24, 24);
    m_btnFilePath->setCursor(Qt::PointingHandCursor);
    m_labelHintFilePath = RecoveryForm::makeFieldHint(QStringLiteral("m_labelHintFilePath"), form);

    m_newPassword = new NewPasswordForm(UserName, tr("New Password:"), tr("Confirm Password:"), form,
                                        NewPasswordForm::MeterPlacement::Beside);
    m_checkBoxIPC = new QCheckBox(tr("Reset IPC"), form);
    m_checkBoxIPC->setObjectName(QStringLiteral("m_checkBoxIPC"));
    m_progressBusy = RecoveryForm::makeBusyBar(form);

    // Step 1 and 2 on the left, the QR code on their right; step 3 below across the width.
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_btnExport);
    buttons->addWidget(m_btnQRcode);
    buttons->addStretch(1);

    auto *inputKind = new QHBoxLayout;
    inputKind->setSpacing(16);
    inputKind->addWidget(m_radioBtnManualInput);
    inputKind->addWidget(m_radioBtnAutoInput);
    inputKind->addStretch(1);

    auto *keyRow = new QHBoxLayout;
    keyRow->setSpacing(4);
    keyRow->addWidget(m_lineEditFilePath, 1);
    keyRow->addWidget(m_btnFilePath);
    keyRow->addWidget(m_labelHintFilePath);

    auto *upper = new QGridLayout;
    upper->setHorizontalSpacing(6);
    upper->setVerticalSpacing(4);
    upper->addWidget(m_labelPic1, 0, 0, Qt::AlignTop);
    upper->addWidget(m_labelStep1, 0, 1);
    upper->addLayout(buttons, 1, 1);
    upper->addWidget(m_labelPic2, 2, 0, Qt::AlignTop);
    upper->addWidget(m_labelStep2, 2, 1);
    upper->addLayout(inputKind, 3, 1);
    upper->addLayout(keyRow, 4, 1);
    upper->addWidget(m_labelQcCode, 0, 2, 5, 1, Qt::AlignTop | Qt::AlignRight);
    upper->setColumnStretch(1, 1);

    auto *passwords = new QGridLayout;
    passwords->setHorizontalSpacing(6);
    passwords->setVerticalSpacing(4);
    passwords->addWidget(m_labelPic3, 0, 0, Qt::AlignTop);
    passwords->addWidget(label, 0, 1);
    passwords->addWidget(m_newPassword, 1, 1);
    passwords->setColumnStretch(1, 1);
    // On a row of its own under the confirmation field: beside it its text would squeeze the password fields.
    m_newPassword->grid()->setHorizontalSpacing(6);
    m_newPassword->grid()->setVerticalSpacing(4);
    m_newPassword->grid()->addWidget(m_checkBoxIPC, m_newPassword->grid()->rowCount(), 1, 1, 3);

    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(16, 8, 16, 4);
    layout->setSpacing(8);
    layout->addLayout(upper);
    layout->addLayout(passwords);
    layout->addStretch(1);
    layout->addWidget(m_progressBusy);
    setContentWidget(form);
}

QString ResetPasswordDialog::keyQrText(const QString &deviceType, const QString &key, bool newFormat)
{
    const QString text = deviceType + QStringLiteral("**") + key;
    return newFormat ? text : QStringLiteral("B:") + text;
}

QString ResetPasswordDialog::makeCleanCopy(const QString &strFilePath) const
{
    return VexoTool::makeCleanCopy(strFilePath, cleanCopyPath());
}

quint32 ResetPasswordDialog::keyCommand() const
{
    return m_newFormat ? VEXO_GET_KEY_V2 : VEXO_GET_KEY_V1;
}

void ResetPasswordDialog::showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field, QLabel *hint)
{
    WarningDialog::showWarning(RecoveryForm::messagePosition(this), kind, text, this, field, hint);
}

void ResetPasswordDialog::onMaualAutoChanged()
{
    m_btnFilePath->setVisible(!m_radioBtnManualInput->isChecked());
}

void ResetPasswordDialog::onGenerateQRcode()
{
    if (m_runner->isRunning())
        return;
    // The key query asks the device too: on the worker, like the reset.
    auto key = std::make_shared<std::optional<DeviceKey>>();
    setBusy(true);
    m_runner->start(
        [discovery = &m_discovery, key, serial = m_serialNumber, command = keyCommand()] {
            *key = queryDeviceKey(*discovery, serial, command);
            return *key ? quint32(VEXO_NOERROR) : qMax(discovery->getLastError(), quint32(1));
        },
        [this, key](quint32 code) {
            setBusy(false);
            if (!*key) {
                qCWarning(lcRecovery, "[ResetPasswordDialog]key query of %s failed, error %u",
                          qPrintable(m_serialNumber), code);
                const QString explanation = ErrorExplanation::forCode(code);
                if (explanation.isEmpty())
                    showMessage(WarningDialog::Error, tr("Generate QR code error."));
                else
                    WarningDialog::showLargeWarning(RecoveryForm::messagePosition(this), WarningDialog::Error,
                                                    tr("Generate QR code error.") + QLatin1Char('\n') + explanation,
                                                    this);
                return;
            }
            m_qrEncode->setString(keyQrText(m_deviceType, (*key)->text(), m_newFormat));
            m_labelQcCode->setPixmap(
                QPixmap::fromImage(m_qrEncode->getQRCode(RecoveryForm::QrCodeSize, devicePixelRatioF())));
        });
}

void ResetPasswordDialog::onExportFile()
{
    QString folder = QFileDialog::getExistingDirectory(this, QString(), aptui::dialogStartFolder(lastExportFolder()),
                                                       QFileDialog::ShowDirsOnly);
    if (folder.isEmpty())
        return;
    lastExportFolder() = folder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');

    const std::optional<DeviceKey> key = queryDeviceKey(m_discovery, m_serialNumber, keyCommand());
    if (!key) {
        qCWarning(lcRecovery, "[ResetPasswordDialog]key query of %s failed, error %u", qPrintable(m_serialNumber),
                  m_discovery.getLastError());
        showMessage(WarningDialog::Error, tr("Get key error."));
        return;
    }
    if (writeKeyFile(folder + keyFileName(m_serialNumber, QDateTime::currentDateTime()), *key))
        showMessage(WarningDialog::Success, tr("Exported."));
    else
        showMessage(WarningDialog::Error, tr("Create device key file error."));
}

void ResetPasswordDialog::onImportFile()
{
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), lastImportFile().isEmpty() ? aptui::dialogStartFolder() : lastImportFile());
    if (file.isEmpty())
        return;
    lastImportFile() = file;
    m_lineEditFilePath->setText(QDir::toNativeSeparators(file));
    m_lineEditFilePath->setCursorPosition(0);
}

void ResetPasswordDialog::onClearFilePathError()
{
    m_labelHintFilePath->clear();
    m_lineEditFilePath->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
}

void ResetPasswordDialog::onClearWarningInfo()
{
    m_lineEditFilePath->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
    m_labelHintFilePath->clear();
    m_newPassword->clearMarks();
}

void ResetPasswordDialog::onNewPasswordTextChanged(QString strNewPassword)
{
    m_newPassword->showLevel(strNewPassword);
}

void ResetPasswordDialog::onResetPassword()
{
    if (m_runner->isRunning())
        return;
    if (m_lineEditFilePath->text().isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please input the secret key."), m_lineEditFilePath, m_labelHintFilePath);
        return;
    }
    aptui::MultiStateLineEdit *passwordField = m_newPassword->passwordField();
    QLabel *passwordHint = m_newPassword->passwordHint();
    switch (m_newPassword->problem()) {
    case NewPasswordForm::Problem::Empty:
        passwordField->setFocus();
        showMessage(WarningDialog::Error, tr("The password can not be empty."), passwordField, passwordHint);
        return;
    case NewPasswordForm::Problem::Mismatch:
        showMessage(WarningDialog::Error, tr("The password you typed do not match."), passwordField, passwordHint);
        return;
    case NewPasswordForm::Problem::Weak:
        WarningDialog::showLargeWarning(
            RecoveryForm::messagePosition(this), WarningDialog::Error,
            tr("Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special "
               "character for your password with at least two kinds of them contained."),
            this, passwordField, passwordHint);
        return;
    case NewPasswordForm::Problem::None:
        break;
    }

    const bool fromFile = m_radioBtnAutoInput->isChecked();
    // The box counts only where it is offered; a hidden box may still hold a tick.
    const bool resetIpc = !m_checkBoxIPC->isHidden() && m_checkBoxIPC->isChecked();
    const VEXO_RESET_PARAM param
        = fromFile ? makeResetParam(QString(), makeCleanCopy(m_lineEditFilePath->text()), m_newPassword->password(),
                                    resetIpc)
                   : makeResetParam(m_lineEditFilePath->text(), QString(), m_newPassword->password(), resetIpc);

    setBusy(true);
    m_runner->start(
        [handler = &m_discovery, serial = m_serialNumber.toLatin1(), param] {
            return handler->resetPasswd(serial, param) ? quint32(VEXO_NOERROR)
                                                       : qMax(handler->getLastError(), quint32(1));
        },
        [this](quint32 code) { onResetFinished(code); });
}

void ResetPasswordDialog::setJournal(Journal *journal, const VEXO_DEVICE_INFO &device)
{
    m_journal = journal;
    m_journalDevice = device;
}

void ResetPasswordDialog::onResetFinished(quint32 code)
{
    setBusy(false);
    writeJournalEntry(m_journal, JournalFlow::PasswordReset, m_journalDevice,
                      withPasswordSet(journalValuesOf(m_journalDevice)), code == VEXO_NOERROR,
                      journalCallFailure(code));
    if (code == VEXO_NOERROR) {
        showMessage(WarningDialog::Success, tr("Reset password Succeed."));
        accept();
        return;
    }
    qCWarning(lcRecovery, "[ResetPasswordDialog]reset of %s failed, error %u", qPrintable(m_serialNumber), code);
    const QString explanation = ErrorExplanation::forCode(code);
    if (explanation.isEmpty())
        showMessage(WarningDialog::Error, tr("Reset password failed."));
    else
        WarningDialog::showLargeWarning(RecoveryForm::messagePosition(this), WarningDialog::Error,
                                        tr("Reset password failed.") + QLatin1Char('\n') + explanation, this);
}

void ResetPasswordDialog::setBusy(bool busy)
{
    m_progressBusy->setVisible(busy);
    RecoveryForm::setButtonsEnabled(this, !busy);
    for (QWidget *input : std::initializer_list<QWidget *>{
             m_lineEditFilePath, m_btnFilePath, m_newPassword->passwordField(), m_newPassword->confirmationField(),
             m_checkBoxIPC, m_radioBtnManualInput, m_radioBtnAutoInput, m_btnQRcode})
        input->setEnabled(!busy);
}

bool ResetPasswordDialog::eventFilter(QObject *target, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && target == m_lineEditFilePath)
        onClearFilePathError();
    return BaseDialog::eventFilter(target, event);
}

} // namespace VexoTool

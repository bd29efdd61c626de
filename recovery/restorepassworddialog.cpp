// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "restorepassworddialog.h"

#include "devicecallrunner.h"
#include "recoveryform.h"
#include "recoverylog.h"

#include <Vexo.h>
#include <errorexplanation.h>
#include <journalrecords.h>
#include <multistatelineedit.h>
#include <qtqrencode.h>
#include <vexohandler.h>
#include <warningdialog.h>

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

// The model families whose restore QR code carries the serial number without its leading
// type text. Each entry is two capital letters, a hyphen and two digits.
const QStringList ShortSerialFamilies = {
    QStringLiteral("VX-10"), QStringLiteral("VX-12"), QStringLiteral("VX-14"), QStringLiteral("VX-16"),
    QStringLiteral("VX-18"), QStringLiteral("VX-20"), QStringLiteral("VX-22"), QStringLiteral("VX-24"),
    QStringLiteral("VX-26"), QStringLiteral("VX-28"), QStringLiteral("VX-32"), QStringLiteral("LX-08"),
    QStringLiteral("LX-12"), QStringLiteral("LX-16"), QStringLiteral("LX-24"), QStringLiteral("LX-36"),
    QStringLiteral("LX-48"),
};

// The password a restore gives the device back.
const QLatin1String DefaultPassword("70639");

} // namespace

RestorePasswordDialog::RestorePasswordDialog(VEXO::VexoHandler &discovery, QWidget *parent, const QString &serialNumber,
                                             const QString &deviceType)
    : BaseDialog(false, false, false, false, true, true, true, parent)
    , m_discovery(discovery)
    , m_serialNumber(serialNumber)
    , m_deviceType(deviceType)
    , m_runner(new DeviceCallRunner(this))
{
    setupForm();
    setFixedSize(500, 280);
    setTitle(tr("Reset Default Password"));
    setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));
    // Confirm checks the code first; only a restored password closes the dialog.
    setEnableDefaultConnections(true, true, true, false, true);
    connect(this, &BaseDialog::signalConfirmButtonClicked, this, &RestorePasswordDialog::onRestorePassword,
            Qt::DirectConnection);

    m_lineEditSecurityCode->installEventFilter(this);
    m_lineEditSecurityCode->setContextMenuPolicy(Qt::NoContextMenu);
    m_lineEditSecurityCode->setMaxLength(VEXO_MAX_SECURITY_CODE_LEN);
    m_lineEditSecurityCode->setFocus();

    m_modelPrefixes = ShortSerialFamilies;
    onGenerateQRcode();
}

RestorePasswordDialog::~RestorePasswordDialog() = default;

void RestorePasswordDialog::setupForm()
{
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("ResrotePasswordDialog"));

    m_labelPic1 = RecoveryForm::makeStepMarker(QStringLiteral("m_labelPic1"), QStringLiteral("1"), form);
    m_labelPic2 = RecoveryForm::makeStepMarker(QStringLiteral("m_labelPic2"), QStringLiteral("2"), form);
    m_labelPic3 = RecoveryForm::makeStepMarker(QStringLiteral("m_labelPic3"), QStringLiteral("3"), form);
    label = RecoveryForm::makeHintText(QStringLiteral("label"),
                                       tr("请通过关注微信公众号“Marlox客户服务”-“贴心服务”-“密码重置”扫描右侧二维码。"),
                                       form);
    label_2 = RecoveryForm::makeHintText(QStringLiteral("label_2"),
                                         tr("在“安全码”处输入“密码重置”生成的安全码，恢复的缺省密码是70639。"), form);
    label_3 = RecoveryForm::makeHintText(QStringLiteral("label_3"),
                                         tr("如果恢复失败，请重启设备和软件后重新执行步骤1和2。"), form);

    m_labelQcCode = RecoveryForm::makeQrCodeLabel(form);

    m_labelSecurityCode = new QLabel(tr("Security Code:"), form);
    m_labelSecurityCode->setObjectName(QStringLiteral("m_labelSecurityCode"));
    m_lineEditSecurityCode = new aptui::MultiStateLineEdit(form);
    m_lineEditSecurityCode->setObjectName(QStringLiteral("m_lineEditSecurityCode"));
    m_labelHintSecurityCode = RecoveryForm::makeFieldHint(QStringLiteral("m_labelHintSecurityCode"), form);
    m_progressBusy = RecoveryForm::makeBusyBar(form);

    auto *steps = new QGridLayout;
    steps->setHorizontalSpacing(6);
    steps->setVerticalSpacing(6);
    steps->addWidget(m_labelPic1, 0, 0, Qt::AlignTop);
    steps->addWidget(label, 0, 1);
    steps->addWidget(m_labelPic2, 1, 0, Qt::AlignTop);
    steps->addWidget(label_2, 1, 1);
    auto *codeRow = new QHBoxLayout;
    codeRow->addWidget(m_labelSecurityCode);
    codeRow->addWidget(m_lineEditSecurityCode, 1);
    codeRow->addWidget(m_labelHintSecurityCode);
    steps->addLayout(codeRow, 2, 1);
    steps->addWidget(m_labelPic3, 3, 0, Qt::AlignTop);
    steps->addWidget(label_3, 3, 1);
    steps->setRowStretch(4, 1);
    steps->addWidget(m_progressBusy, 5, 0, 1, 2);

    auto *layout = new QHBoxLayout(form);
    layout->setContentsMargins(16, 10, 16, 6);
    layout->setSpacing(12);
    layout->addLayout(steps, 1);
    layout->addWidget(m_labelQcCode, 0, Qt::AlignTop);
    setContentWidget(form);
}

void RestorePasswordDialog::setDeviceType(const QString &deviceType)
{
    m_deviceType = deviceType;
}

QString RestorePasswordDialog::restoreQrText(const QString &serialNumber, const QString &deviceType,
                                             const QStringList &modelPrefixes)
{
    QString serial = serialNumber;
    for (const QString &prefix : modelPrefixes) {
        if (deviceType.contains(prefix, Qt::CaseSensitive)) {
            if (!deviceType.isEmpty())
                serial.remove(deviceType, Qt::CaseSensitive);
            break;
        }
    }
    return QStringLiteral("A:") + deviceType + QStringLiteral("**") + serial;
}

QString RestorePasswordDialog::normalizedSecurityCode(const QString &typed)
{
    // The code is read out or copied from a phone: groups, spaces and small letters are forgiven,
    // as they are in a typed reset key.
    QString code;
    for (const QChar c : typed) {
        if (!c.isSpace() && c != QLatin1Char('-'))
            code.append(c.toUpper());
    }
    return code;
}

void RestorePasswordDialog::onGenerateQRcode()
{
    QtQrEncode encoder(nullptr);
    encoder.setString(restoreQrText(m_serialNumber, m_deviceType, m_modelPrefixes));
    const QImage image = encoder.getQRCode(RecoveryForm::QrCodeSize, devicePixelRatioF());
    if (image.isNull())
        qCWarning(lcRecovery, "[RestorePasswordDialog]the restore QR text of %s cannot be encoded",
                  qPrintable(m_serialNumber));
    m_labelQcCode->setPixmap(QPixmap::fromImage(image));
}

void RestorePasswordDialog::onRestorePassword()
{
    if (m_runner->isRunning())
        return;
    const QString code = normalizedSecurityCode(m_lineEditSecurityCode->text());
    if (code.isEmpty()) {
        WarningDialog::showWarning(RecoveryForm::messagePosition(this), WarningDialog::Error,
                                   tr("Please input security code."), this, m_lineEditSecurityCode,
                                   m_labelHintSecurityCode);
        return;
    }
    setBusy(true);
    m_runner->start(
        [handler = &m_discovery, serial = m_serialNumber.toLatin1(), securityCode = code.toLatin1()] {
            return handler->resetDefaultPasswd(serial, securityCode) ? quint32(VEXO_NOERROR)
                                                                     : qMax(handler->getLastError(), quint32(1));
        },
        [this](quint32 result) { onRestoreFinished(result); });
}

void RestorePasswordDialog::setJournal(Journal *journal, const VEXO_DEVICE_INFO &device)
{
    m_journal = journal;
    m_journalDevice = device;
}

void RestorePasswordDialog::onRestoreFinished(quint32 code)
{
    setBusy(false);
    writeJournalEntry(m_journal, JournalFlow::PasswordRestore, m_journalDevice,
                      withPasswordSet(journalValuesOf(m_journalDevice)), code == VEXO_NOERROR,
                      journalCallFailure(code));
    if (code == VEXO_NOERROR) {
        // The password is the one thing the user needs next: the message stays until closed.
        WarningDialog::showUntilClosed(
            RecoveryForm::messagePosition(this), WarningDialog::Success,
            tr("Restore password succeed.")
                + QLatin1Char('\n')
                //: %1 is the device's default password after the restore
                + tr("The device's password is now %1. Sign in with it and set a new one.").arg(DefaultPassword),
            this);
        accept();
        return;
    }
    qCWarning(lcRecovery, "[RestorePasswordDialog]restore of %s failed, error %u", qPrintable(m_serialNumber), code);
    const QString explanation = ErrorExplanation::forCode(code);
    if (explanation.isEmpty())
        WarningDialog::showWarning(RecoveryForm::messagePosition(this), WarningDialog::Error,
                                   tr("Restore password failed."), this);
    else
        WarningDialog::showLargeWarning(RecoveryForm::messagePosition(this), WarningDialog::Error,
                                        tr("Restore password failed.") + QLatin1Char('\n') + explanation, this);
}

void RestorePasswordDialog::setBusy(bool busy)
{
    m_progressBusy->setVisible(busy);
    RecoveryForm::setButtonsEnabled(this, !busy);
    m_lineEditSecurityCode->setEnabled(!busy);
}

void RestorePasswordDialog::onClearWarningInfo()
{
    m_lineEditSecurityCode->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
    m_labelHintSecurityCode->clear();
}

bool RestorePasswordDialog::eventFilter(QObject *target, QEvent *event)
{
    if (target == m_lineEditSecurityCode && event->type() == QEvent::MouseButtonPress)
        onClearWarningInfo();
    return BaseDialog::eventFilter(target, event);
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicemodifypage.h"

#include "batchnumbering.h"
#include "deviceactivepage.h"
#include "devicemodifyresultpage.h"
#include "devicenetparapage.h"
#include "inputlimithint.h"
#include "inputvalidation.h"
#include "journalrecords.h"
#include "networkcheck.h"
#include "newpasswordform.h"
#include "onvifpassworddialog.h"
#include "snapshotpanel.h"
#include "passwordstrength.h"
#include "subnetreach.h"

#include <devicestore.h>
#include <errorexplanation.h>
#include <journal.h>
#include <vexohandler.h>

#include <resetpassworddialog.h>
#include <restorepassworddialog.h>

#include <multistatelineedit.h>
#include <tipdialog.h>
#include <warningdialog.h>

#include <akloguitoolkit/guitext.h>

#include <QCheckBox>
#include <QEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>
#include <utility>

namespace VexoTool {

namespace {

constexpr int PanelWidth = 360;
constexpr int PasswordLength = VEXO_MAX_PASSWORD_LEN;
constexpr int HintWidth = 16;
// As wide as the network form's label column, so the password fields line up with its fields.
constexpr int LabelColumnWidth = 115;
const QString AdminUser = QStringLiteral("admin");
// The longest ONVIF user name the panel takes.
constexpr int OnvifUserNameLength = 32;
// How long a device that timed out may take to announce that it applied the request anyway.
constexpr int LateConfirmationMs = 5000;

aptui::MultiStateLineEdit *passwordField(const char *name, QWidget *parent)
{
    auto *field = new aptui::MultiStateLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setEchoMode(QLineEdit::Password);
    field->keepOffClipboard();
    field->setMaxLength(PasswordLength);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    return field;
}

QLabel *namedLabel(const char *name, QWidget *parent, const QString &text = {})
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel *hintLabel(const char *name, QWidget *parent)
{
    QLabel *label = namedLabel(name, parent);
    label->setFixedWidth(HintWidth);
    return label;
}

QString deviceKey(const QString &serialNumber, const QString &mac)
{
    return serialNumber + QLatin1Char('\n') + mac;
}

// "010.0.0.5" and "10.0.0.5" are the same address to the checks and to a device.
QString canonicalIpv4(const QString &address)
{
    QStringList parts = address.trimmed().split(QLatin1Char('.'));
    for (QString &part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok);
        if (ok)
            part = QString::number(value);
    }
    return parts.join(QLatin1Char('.'));
}

// Whether a device's announcement shows the network parameters it was asked to take.
bool showsNetParams(const VEXO_DEVICE_INFO &record, const DeviceNetParam &params)
{
    if (record.dhcpEnabled != params.dhcpEnabled)
        return false;
    if ((params.port != 0 && record.port != params.port)
        || (params.httpPort != 0 && record.httpPort != params.httpPort))
        return false;
    if (params.dhcpEnabled)
        return true; // the addresses are the DHCP server's to choose
    return canonicalIpv4(fieldText(record.ipv4Address)) == canonicalIpv4(fieldText(params.ipv4Address))
           && canonicalIpv4(fieldText(record.ipv4SubnetMask)) == canonicalIpv4(fieldText(params.ipv4SubnetMask))
           && canonicalIpv4(fieldText(record.ipv4Gateway)) == canonicalIpv4(fieldText(params.ipv4Gateway));
}

} // namespace

DeviceModifyPage::DeviceModifyPage(DeviceStore &store, VEXO::VexoHandler &discovery, QWidget *parent)
    : QWidget(parent)
    , m_store(store)
    , m_discovery(discovery)
{
    setAttribute(Qt::WA_StyledBackground);
    setFixedWidth(PanelWidth);

    m_stackedWidget = new QStackedWidget(this);
    m_stackedWidget->setObjectName(QStringLiteral("m_stackedWidget"));
    m_netParaPage = new DeviceNetParaPage(store, this);
    m_activePage = new DeviceActivePage(this);
    m_stackedWidget->addWidget(m_netParaPage);
    m_stackedWidget->addWidget(m_activePage);

    buildActivationArea();
    buildModificationArea();

    // Shown while a single device operation runs; the window stays responsive meanwhile.
    m_busyArea = new QWidget(this);
    m_busyArea->setObjectName(QStringLiteral("m_busyArea"));
    m_labelBusy = namedLabel("m_labelBusy", m_busyArea);
    m_labelBusy->setAlignment(Qt::AlignCenter);
    m_progressBusy = new QProgressBar(m_busyArea);
    m_progressBusy->setObjectName(QStringLiteral("m_progressBusy"));
    m_progressBusy->setRange(0, 0);
    m_progressBusy->setTextVisible(false);
    m_progressBusy->setMaximumHeight(8);
    auto *busyLayout = new QVBoxLayout(m_busyArea);
    busyLayout->setContentsMargins(20, 0, 20, 0);
    busyLayout->setSpacing(4);
    busyLayout->addWidget(m_labelBusy);
    busyLayout->addWidget(m_progressBusy);
    m_busyArea->hide();

    m_labelSelectionNote = namedLabel("m_labelSelectionNote", this);
    m_labelSelectionNote->setWordWrap(true);
    m_labelSelectionNote->setContentsMargins(12, 10, 12, 0);
    m_labelSelectionNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_labelSelectionNote->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 20);
    layout->setSpacing(10);
    // Above the form's title: what the panel is for, before how.
    layout->addWidget(m_labelSelectionNote);
    m_snapshot = new SnapshotPanel(this);
    layout->addWidget(m_snapshot);
    layout->addWidget(m_stackedWidget);
    layout->addWidget(m_frameActive);
    layout->addWidget(m_frameModifyPara);
    layout->addWidget(m_busyArea);
    layout->addStretch(1);

    connect(m_btnModify, &QPushButton::clicked, this, &DeviceModifyPage::onModifyNetParas);
    connect(m_checkBoxReachAnyway, &QCheckBox::toggled, this, &DeviceModifyPage::applyState);
    m_adapterSource = [] {
        return reachableAdapters();
    };
    connect(m_btnActive, &QPushButton::clicked, this, &DeviceModifyPage::onActiveDevices);
    connect(m_btnLostPassword, &QPushButton::clicked, this, &DeviceModifyPage::onForgetPassword);
    connect(m_btnChangePassword, &QPushButton::clicked, this, &DeviceModifyPage::onChangeOnvifPassword);
    connect(m_btnForgetCertificate, &QPushButton::clicked, this, &DeviceModifyPage::onForgetOnvifCertificate);
    connect(m_netParaPage, &DeviceNetParaPage::signalDhcpStateChanged, this, &DeviceModifyPage::onDhcpStateChanged);
    connect(m_netParaPage, &DeviceNetParaPage::signalBatchDhcpStateChanged, this,
            &DeviceModifyPage::onBatchDhcpStateChanged);

    m_lineEditAdminPassword->installEventFilter(this);
    setUpKeyboard();

    onCurrentSelectionChange(ModifySingle, {});
}

void DeviceModifyPage::setUpKeyboard()
{
    // Top to bottom as the panel shows it: the form, then the activation or the modification
    // area (only one of them is shown at a time, and Tab skips what is hidden).
    QList<QWidget *> order = m_netParaPage->keyboardOrder();
    order << m_newPassword->passwordField() << m_newPassword->confirmationField() << m_btnActive << m_lineEditUserName
          << m_lineEditAdminPassword << m_checkBoxReachAnyway << m_btnModify << m_btnLostPassword;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order.at(i - 1), order.at(i));

    // Enter in a password field presses the button the password is for.
    connect(m_lineEditUserName, &QLineEdit::returnPressed, m_lineEditAdminPassword,
            [this] { m_lineEditAdminPassword->setFocus(); });
    connect(m_lineEditAdminPassword, &QLineEdit::returnPressed, m_btnModify, [this] {
        if (m_btnModify->isEnabled())
            m_btnModify->click();
    });
    connect(m_newPassword, &NewPasswordForm::returnPressed, m_btnActive, [this] {
        if (m_btnActive->isEnabled())
            m_btnActive->click();
    });
    InputLimitHint::attach(m_lineEditAdminPassword, passwordLengthHintText());
    //: Shown under the user-name field when a further character is refused
    InputLimitHint::attach(m_lineEditUserName, tr("A user name has at most %1 characters.").arg(OnvifUserNameLength));
}

DeviceModifyPage::~DeviceModifyPage()
{
    // A running library call holds only its own copies; it ends within the library's timeout.
    if (m_worker)
        m_worker->wait();
}

void DeviceModifyPage::buildActivationArea()
{
    m_frameActive = new QFrame(this);
    m_frameActive->setObjectName(QStringLiteral("m_frameActive"));
    m_newPassword = new NewPasswordForm(AdminUser, tr("New Password:"), tr("Confirm Password:"), m_frameActive);
    m_newPassword->setLabelColumnWidth(LabelColumnWidth);
    m_newPassword->setMinimumShownDots(12); // the panel's width leaves no room for all 16
    m_btnActive = new QPushButton(tr("Active"), m_frameActive);
    m_btnActive->setObjectName(QStringLiteral("m_btnActive"));
    m_btnActive->setMinimumHeight(32);

    auto *grid = new QGridLayout(m_frameActive);
    grid->setContentsMargins(20, 0, 20, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, LabelColumnWidth);
    grid->addWidget(m_newPassword, 0, 0, 1, 3);
    grid->addWidget(m_btnActive, 1, 0, 1, 3);
    grid->setRowMinimumHeight(1, 40);
}

void DeviceModifyPage::buildModificationArea()
{
    m_frameModifyPara = new QFrame(this);
    m_frameModifyPara->setObjectName(QStringLiteral("m_frameModifyPara"));
    m_lineEditAdminPassword = passwordField("m_lineEditAdminPassword", m_frameModifyPara);
    m_labelHintAdimaPassword = hintLabel("m_labelHintAdimaPassword", m_frameModifyPara);
    m_btnModify = new QPushButton(tr("Modify"), m_frameModifyPara);
    m_btnModify->setObjectName(QStringLiteral("m_btnModify"));
    m_btnModify->setMinimumHeight(32);
    m_btnLostPassword = new QPushButton(tr("Forget Password"), m_frameModifyPara);
    m_btnLostPassword->setObjectName(QStringLiteral("m_btnLostPassword"));
    m_btnLostPassword->setStyleSheet(QStringLiteral("QPushButton{font: bold 18px;}"));
    m_btnLostPassword->setCursor(Qt::PointingHandCursor);
    //: link under the Modify button that opens the dialog changing an ONVIF device user's password
    m_btnChangePassword = new QPushButton(tr("Change Password..."), m_frameModifyPara);
    m_btnChangePassword->setObjectName(QStringLiteral("m_btnChangePassword"));
    // These buttons' tool tips say why or what for, not their own text as other buttons show.
    for (QPushButton *button : {m_btnActive, m_btnLostPassword, m_btnChangePassword, m_btnModify})
        button->setProperty("reasonToolTip", true);
    // A link like "Forget Password", whose place it takes.
    m_btnChangePassword->setStyleSheet(
        QStringLiteral("QPushButton{font: bold 18px; color: #F74248; background-color: transparent; border: none;}"
                       "QPushButton:hover, QPushButton:focus{color: #D11F24; text-decoration: underline;}"
                       "QPushButton:disabled{color: #C4C7CC;}"));
    m_btnChangePassword->setCursor(Qt::PointingHandCursor);
    //: link that forgets the TLS certificate the program pinned for an ONVIF device
    m_btnForgetCertificate = new QPushButton(tr("Forget Certificate..."), m_frameModifyPara);
    m_btnForgetCertificate->setObjectName(QStringLiteral("m_btnForgetCertificate"));
    m_btnForgetCertificate->setProperty("reasonToolTip", true);
    m_btnForgetCertificate->setStyleSheet(m_btnChangePassword->styleSheet());
    m_btnForgetCertificate->setCursor(Qt::PointingHandCursor);

    auto *grid = new QGridLayout(m_frameModifyPara);
    grid->setContentsMargins(20, 0, 20, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(0, LabelColumnWidth);
    // ONVIF devices take a user name with the password; the row shows only for them.
    m_labelUserName = namedLabel("m_labelUserName", m_frameModifyPara, tr("User Name:"));
    m_lineEditUserName = new aptui::MultiStateLineEdit(m_frameModifyPara);
    m_lineEditUserName->setObjectName(QStringLiteral("m_lineEditUserName"));
    m_lineEditUserName->setMaxLength(OnvifUserNameLength);
    m_lineEditUserName->setText(defaultOnvifUserName());
    m_labelHintUserName = hintLabel("m_labelHintUserName", m_frameModifyPara);
    m_labelReach = namedLabel("m_labelReach", m_frameModifyPara);
    m_labelReach->setWordWrap(true);
    m_labelReach->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_checkBoxReachAnyway = new QCheckBox(tr("Try the change anyway"), m_frameModifyPara);
    m_checkBoxReachAnyway->setObjectName(QStringLiteral("m_checkBoxReachAnyway"));

    grid->addWidget(m_labelUserName, 0, 0);
    grid->addWidget(m_lineEditUserName, 0, 1);
    grid->addWidget(m_labelHintUserName, 0, 2);
    grid->addWidget(new QLabel(tr("Admin Password:"), m_frameModifyPara), 1, 0);
    grid->addWidget(m_lineEditAdminPassword, 1, 1);
    grid->addWidget(m_labelHintAdimaPassword, 1, 2);
    grid->addWidget(m_labelReach, 2, 0, 1, 3);
    grid->addWidget(m_checkBoxReachAnyway, 3, 0, 1, 3);
    grid->addWidget(m_btnModify, 4, 0, 1, 3);
    // A single ONVIF row offers "Change Password..." where the others offer recovery.
    grid->addWidget(m_btnChangePassword, 5, 0, 1, 3, Qt::AlignRight);
    grid->addWidget(m_btnLostPassword, 5, 0, 1, 3, Qt::AlignRight);
    grid->addWidget(m_btnForgetCertificate, 6, 0, 1, 3, Qt::AlignRight);
    for (QWidget *widget : {static_cast<QWidget *>(m_labelUserName), static_cast<QWidget *>(m_lineEditUserName),
                            static_cast<QWidget *>(m_labelHintUserName), static_cast<QWidget *>(m_labelReach),
                            static_cast<QWidget *>(m_checkBoxReachAnyway), static_cast<QWidget *>(m_btnChangePassword),
                            static_cast<QWidget *>(m_btnForgetCertificate)})
        widget->hide();
}

QPoint DeviceModifyPage::dialogPosition() const
{
    const QPoint topLeft = parentWidget() ? parentWidget()->mapToGlobal(pos()) : mapToGlobal(QPoint(0, 0));
    return topLeft + QPoint(width() / 2 - 155, height() / 2 - 60);
}

void DeviceModifyPage::showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field, QLabel *hint)
{
    WarningDialog::showWarning(dialogPosition(), kind, text, this, field, hint);
}

void DeviceModifyPage::showSuccess(const QString &text, bool late)
{
    if (!late) {
        showMessage(WarningDialog::Success, text);
        return;
    }
    // Two lines need the larger box.
    WarningDialog::showLargeWarning(
        dialogPosition(), WarningDialog::Success,
        text + QLatin1Char('\n') + tr("The device answered late; its announcement confirms the change."), this);
}

void DeviceModifyPage::resetPasswordFields()
{
    m_newPassword->clearMarks();
    const std::pair<aptui::MultiStateLineEdit *, QLabel *> fields[]
        = {{m_lineEditAdminPassword, m_labelHintAdimaPassword}, {m_lineEditUserName, m_labelHintUserName}};
    for (const auto &[field, hint] : fields) {
        field->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
        hint->clear();
    }
}

void DeviceModifyPage::prepareForms(ModifyPage kind)
{
    // Switching the stack lays the panel out at once, even to the page it shows already.
    const auto showPage = [this](int index) {
        if (m_stackedWidget->currentIndex() != index)
            m_stackedWidget->setCurrentIndex(index);
    };
    // No focus moves here: the user may be typing in the list's filter box while the ticked
    // rows change under it.
    resetPasswordFields();
    if (m_selection.isEmpty()) {
        showPage(0);
        m_netParaPage->showSingleMode();
        m_netParaPage->setDevice(QString(), QString(), false);
        m_lineEditAdminPassword->clear();
        return;
    }
    m_netParaPage->enableAll();
    switch (kind) {
    case ModifySingle:
        showPage(0);
        m_lineEditAdminPassword->clear();
        m_netParaPage->showSingleMode();
        m_netParaPage->setDevice(m_selection.first().strSerialNumber, m_selection.first().strMAC, false);
        break;
    case ModifyBatch:
        showPage(0);
        m_lineEditAdminPassword->clear();
        m_netParaPage->showBatchMode();
        m_netParaPage->prepareBatch(m_selection);
        break;
    case ActivateSingle:
    case ActivateBatch:
        m_newPassword->clear();
        [[fallthrough]];
    case ActivateMixed:
        showPage(1);
        // The notice depends on the kind alone; drawing it again costs more than the rest.
        if (std::exchange(m_noticeKind, kind) == kind)
            break;
        if (kind == ActivateSingle)
            m_activePage->showSingleInactive();
        else if (kind == ActivateBatch)
            m_activePage->showBatchInactive();
        else
            m_activePage->showMixed();
        break;
    }
}

void DeviceModifyPage::onCurrentSelectionChange(ModifyPage modifyPageType, QVector<DeviceInfo> struDeviceInfo)
{
    m_selection = std::move(struDeviceInfo);
    m_selectionKind = modifyPageType;
    prepareForms(modifyPageType);

    // The reachability advice of a single ONVIF device; a new selection needs a new go-ahead.
    const QString advice = m_selection.size() == 1 ? reachAdvice(m_selection.first()) : QString();
    m_labelReach->setText(advice);
    {
        const QSignalBlocker blocker(m_checkBoxReachAnyway);
        m_checkBoxReachAnyway->setChecked(false);
    }
    applyState();
}

void DeviceModifyPage::setBatchOperations(bool on)
{
    m_batchOperations = on;
    applyState();
}

PanelSelection DeviceModifyPage::panelSelection() const
{
    PanelSelection selection;
    selection.count = int(m_selection.size());
    selection.batch = m_batchOperations;
    selection.operationRunning = m_operationRunning;
    selection.loopbackScope = isLoopbackScope();
    for (const DeviceInfo &device : m_selection) {
        if (device.protocol == DeviceProtocol::Onvif) {
            ++selection.onvifOnly;
            continue;
        }
        VEXO_DEVICE_INFO record{};
        if (m_store.get(device.strSerialNumber, device.strMAC, record)
            && !(record.identityFlags & VEXO_IDENTITY_VERIFIED))
            ++selection.unverified;
    }
    // The list says whether the ticked devices are activated; a mixed selection is counted from
    // the store, where ONVIF devices never wait for activation.
    switch (m_selectionKind) {
    case ActivateSingle:
    case ActivateBatch:
        selection.inactive = selection.count;
        for (const DeviceInfo &device : m_selection)
            selection.inactiveNames.append(device.strIPv4Address);
        break;
    case ActivateMixed:
        for (const DeviceInfo &device : m_selection) {
            VEXO_DEVICE_INFO record{};
            m_store.get(device.strSerialNumber, device.strMAC, record);
            if (record.inactive != 0 && device.protocol != DeviceProtocol::Onvif) {
                ++selection.inactive;
                selection.inactiveNames.append(device.strIPv4Address);
            }
        }
        selection.inactive = qBound(1, selection.inactive, qMax(1, selection.count - 1));
        break;
    case ModifySingle:
    case ModifyBatch:
        break;
    }
    selection.unreachable = !m_labelReach->text().isEmpty();
    selection.goAhead = m_checkBoxReachAnyway->isChecked();
    return selection;
}

void DeviceModifyPage::setSnapshotSource(std::shared_ptr<SnapshotSource> source)
{
    m_snapshot->setSource(std::move(source));
    applyState();
}

void DeviceModifyPage::applyState()
{
    const PanelState state = PanelState::forSelection(panelSelection());
    using View = PanelState::View;
    const bool modifyArea = state.view == View::Empty || state.view == View::Modify;

    m_frameModifyPara->setVisible(modifyArea);
    // One camera at a time: the source says whether it is an ONVIF camera signed in to.
    m_snapshot->showDevice(
        m_selectionKind == ModifySingle && m_selection.size() == 1 ? std::optional(m_selection.first()) : std::nullopt);
    m_frameActive->setVisible(state.view == View::Activate);
    m_busyArea->setVisible(state.busyShown);
    // Why the one ticked device is not available (its sign-in failed) comes first.
    QStringList notes;
    if (m_selection.size() == 1 && !m_selection.first().strUnavailable.isEmpty())
        notes.append(m_selection.first().strUnavailable);
    if (!state.selectionNote.isEmpty())
        notes.append(state.selectionNote);
    m_labelSelectionNote->setText(notes.join(QLatin1Char('\n')));
    m_labelSelectionNote->setVisible(!notes.isEmpty());

    m_btnModify->setEnabled(state.modifyEnabled);
    m_btnModify->setToolTip(state.modifyReason);
    m_lineEditAdminPassword->setEnabled(state.adminPasswordEnabled);
    for (QWidget *widget : {static_cast<QWidget *>(m_labelUserName), static_cast<QWidget *>(m_lineEditUserName),
                            static_cast<QWidget *>(m_labelHintUserName)})
        widget->setVisible(state.userNameShown);
    m_labelReach->setVisible(state.reachShown);
    m_checkBoxReachAnyway->setVisible(state.reachShown);

    m_btnActive->setEnabled(state.activeEnabled);
    m_btnActive->setToolTip(state.activeReason);

    m_btnLostPassword->setVisible(state.forgetShown);
    m_btnLostPassword->setEnabled(state.forgetEnabled);
    m_btnLostPassword->setToolTip(state.forgetReason);
    m_btnChangePassword->setVisible(state.changePasswordShown);
    m_btnChangePassword->setEnabled(state.changePasswordEnabled);
    m_btnChangePassword->setToolTip(
        !state.changePasswordReason.isEmpty()
            ? state.changePasswordReason
            : tr("Changes a user's password on the device; it needs the current password. A lost password is "
                 "reset on the device or with its maker's tool."));
    // The pinned certificate's fingerprint is shown where it can be forgotten.
    const QByteArray pinned = state.changePasswordShown && m_onvifChanger
                                  ? m_onvifChanger->pinnedCertificate(onvifTarget(m_selection.first()))
                                  : QByteArray();
    m_btnForgetCertificate->setVisible(!pinned.isEmpty());
    m_btnForgetCertificate->setEnabled(state.changePasswordEnabled);
    m_btnForgetCertificate->setToolTip(
        pinned.isEmpty() ? QString()
                         : tr("The device's certificate, pinned when it was first seen (SHA-256):\n%1\nForget it only "
                              "when the device was reset or got a new certificate.")
                               .arg(QString::fromLatin1(pinned.toHex(':').toUpper())));

    // The loopback scope's ONVIF devices live in 127/8; no device protocol device may go there.
    m_netParaPage->setLoopbackAllowed(state.loopbackAllowed);
    m_netParaPage->setEmptyGatewayAllowed(state.emptyGatewayAllowed);
    if (state.view == View::Modify) {
        // The form enabled its fields for the devices; the panel changes only IPv4 settings and
        // the web port of ONVIF devices, which have no device port.
        if (auto *port = m_netParaPage->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditPort"))) {
            port->setEnabled(state.devicePortEnabled);
            port->setToolTip(state.devicePortReason);
            if (!state.devicePortEnabled)
                port->clear();
            //: Placeholder of the batch Port field: an empty field leaves each device's port as it is
            port->setPlaceholderText(state.batchForm && state.devicePortEnabled ? tr("each device's own") : QString());
        }
        if (!state.ipv6Allowed) {
            for (const char *name : {"m_lineEditIPV6Address", "m_lineEditIPV6Gateway", "m_lineEditIPV6SubnetMaskLen"}) {
                if (auto *field = m_netParaPage->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name))) {
                    field->clear();
                    field->setEnabled(false);
                }
            }
        }
    }
}

void DeviceModifyPage::setOnvifChanger(std::shared_ptr<OnvifChanger> changer)
{
    m_onvifChanger = std::move(changer);
}

void DeviceModifyPage::setRestartQuestion(std::function<bool(const QStringList &)> question)
{
    m_restartQuestion = std::move(question);
}

void DeviceModifyPage::setForgetCertificateQuestion(std::function<bool(const QString &)> question)
{
    m_forgetCertificateQuestion = std::move(question);
}

void DeviceModifyPage::setAdapterSource(std::function<QVector<AdapterAddress>()> source)
{
    m_adapterSource = std::move(source);
}

QString DeviceModifyPage::defaultOnvifUserName()
{
    return AdminUser;
}

bool DeviceModifyPage::selectionHasOnvif() const
{
    return std::any_of(m_selection.cbegin(), m_selection.cend(),
                       [](const DeviceInfo &device) { return device.protocol == DeviceProtocol::Onvif; });
}

bool DeviceModifyPage::isReachable(const DeviceInfo &device) const
{
    return reachAdvice(device).isEmpty();
}

QString DeviceModifyPage::reachAdvice(const DeviceInfo &device) const
{
    if (device.protocol != DeviceProtocol::Onvif || !m_adapterSource)
        return QString();
    VEXO_DEVICE_INFO record{};
    m_store.get(device.strSerialNumber, device.strMAC, record);
    const QString address = fieldText(record.ipv4Address);
    if (!isValidIPv4(address))
        return QString(); // nothing to judge; the request will say what happened
    const QString mask = fieldText(record.ipv4SubnetMask);
    const int prefix = isValidSubnetMask(mask) ? qPopulationCount(ipv4Number(mask)) : 0;
    return unreachableAdvice(ipv4Number(address), prefix, m_adapterSource());
}

void DeviceModifyPage::onModifyNetParas()
{
    if (m_selection.isEmpty()) {
        showMessage(WarningDialog::Error, tr("Sorry, please select the equipment."));
        return;
    }
    if (selectionHasOnvif() && m_lineEditUserName->text().trimmed().isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please enter the user name for the ONVIF devices."), m_lineEditUserName,
                    m_labelHintUserName);
        return;
    }
    if (m_lineEditAdminPassword->text().isEmpty()) {
        showMessage(WarningDialog::Error, tr("Sorry, please enter the administrator password."),
                    m_lineEditAdminPassword, m_labelHintAdimaPassword);
        return;
    }
    if (m_selection.size() == 1) {
        if (m_netParaPage->checkSingle(dialogPosition()))
            modifySingle();
    } else if (m_netParaPage->checkBatch(dialogPosition())) {
        modifyBatch();
    }
}

quint32 DeviceModifyPage::changeOverVxdp(VEXO::VexoHandler &discovery, const QByteArray &mac,
                                         const QByteArray &password, const DeviceNetParam &params)
{
    return discovery.modifyDeviceNetParam(mac, password, params) ? quint32(VEXO_NOERROR)
                                                                 : qMax(discovery.getLastError(), quint32(1));
}

OnvifOutcome DeviceModifyPage::changeOverOnvif(const std::shared_ptr<OnvifChanger> &changer, const OnvifTarget &target,
                                               const DeviceNetParam &params)
{
    // Without the ONVIF client nothing is sent; the caller has said so already.
    return changer ? changer->setNetParams(target, params) : OnvifOutcome{};
}

void DeviceModifyPage::modifySingle()
{
    if (m_operationRunning)
        return;
    if (m_selection.first().protocol == DeviceProtocol::Onvif) {
        modifySingleOnvif();
        return;
    }
    const DeviceNetParam params = m_netParaPage->collectSingle();
    const QByteArray mac = m_selection.first().strMAC.toLatin1();
    const QByteArray password = aKLOGUIToolkit::ConvertFromUnicode(m_lineEditAdminPassword->text());
    const VEXO_DEVICE_INFO before = recordOf(m_selection.first().strSerialNumber, m_selection.first().strMAC);
    runSingleOperation(
        m_selection.first(), tr("Modifying the device's network parameters ..."),
        [discovery = &m_discovery, mac, password, params] { return changeOverVxdp(*discovery, mac, password, params); },
        [params](const VEXO_DEVICE_INFO &record) { return showsNetParams(record, params); },
        [this, params, before](DeviceInfo device, quint32 code, bool late) {
            writeJournalEntry(m_journal, JournalFlow::NetworkChange, before, journalValuesOf(params),
                              code == VEXO_NOERROR, journalCallFailure(code));
            if (code != VEXO_NOERROR) {
                reportSingleFailure(device, code);
                return;
            }
            {
                KVT_Guard guard(m_store.mutex());
                m_store.setNetParams(device.strSerialNumber, device.strMAC, params);
            }
            device.strResult = tr("Succeed");
            keepResult(device);
            emit signalModifyResult({device});
            showSuccess(tr("Modify network parameters succeed."), late);
        });
}

OnvifTarget DeviceModifyPage::onvifTarget(const DeviceInfo &device) const
{
    OnvifTarget target;
    target.serialNumber = device.strSerialNumber;
    target.mac = device.strMAC;
    VEXO_DEVICE_INFO record{};
    m_store.get(device.strSerialNumber, device.strMAC, record);
    target.address = fieldText(record.ipv4Address);
    target.userName = m_lineEditUserName->text().trimmed();
    target.password = m_lineEditAdminPassword->text();
    return target;
}

void DeviceModifyPage::onChangeOnvifPassword()
{
    if (m_operationRunning || m_selection.size() != 1 || m_selection.first().protocol != DeviceProtocol::Onvif)
        return;
    const DeviceInfo device = m_selection.first();
    const OnvifTarget target = onvifTarget(device);
    OnvifPasswordDialog dialog(m_onvifChanger, target, this);
    dialog.setJournal(m_journal, recordOf(device.strSerialNumber, device.strMAC));
    dialog.move(dialogPosition() - QPoint(dialog.width() / 2 - 155, dialog.height() / 2 - 60));
    emit signalCoverMainPage();
    const bool changed = dialog.exec() == QDialog::Accepted;
    emit signalDisCoverMainPage();
    // The panel signs in with the new password from now on when it was its user's.
    if (changed && dialog.userName() == target.userName)
        m_lineEditAdminPassword->setText(dialog.newPassword());
}

void DeviceModifyPage::onForgetOnvifCertificate()
{
    if (m_operationRunning || m_selection.size() != 1 || !m_onvifChanger)
        return;
    const OnvifTarget target = onvifTarget(m_selection.first());
    const QString device = target.address.isEmpty()
                               ? target.serialNumber
                               : QStringLiteral("%1 (%2)").arg(target.serialNumber, target.address);
    bool yes = false;
    if (m_forgetCertificateQuestion) {
        yes = m_forgetCertificateQuestion(device);
    } else {
        TipDialog question(this);
        question.setTitle(tr("Forget Certificate"));
        question.setTipText(tr("Forget the certificate of %1? The next certificate it presents is trusted in its "
                               "place, also one of another computer posing as the device.")
                                .arg(device));
        //: button: forget the device's pinned certificate
        question.setConfirmButtonText(tr("Forget"));
        emit signalCoverMainPage();
        yes = question.exec() == QDialog::Accepted;
        emit signalDisCoverMainPage();
    }
    if (yes)
        m_onvifChanger->forgetCertificate(target);
    applyState();
}

static QString onvifUnavailableText()
{
    return DeviceModifyPage::tr("Not changed: this program cannot change ONVIF devices yet.");
}

void DeviceModifyPage::modifySingleOnvif()
{
    DeviceInfo device = m_selection.first();
    if (!m_onvifChanger) {
        device.strResult = onvifUnavailableText();
        keepResult(device);
        showMessage(WarningDialog::Error, device.strResult);
        return;
    }
    const DeviceNetParam params = m_netParaPage->collectSingle();
    const OnvifTarget target = onvifTarget(device);
    const VEXO_DEVICE_INFO before = recordOf(device.strSerialNumber, device.strMAC);
    runOnvifOperation(
        tr("Modifying the device's network parameters ..."),
        [changer = m_onvifChanger, target, params] { return changeOverOnvif(changer, target, params); },
        [this, device, target, params, before](const OnvifOutcome &outcome) mutable {
            writeJournalEntry(m_journal, JournalFlow::OnvifChange, before, journalValuesOf(params), outcome.ok,
                              outcome.ok ? QString() : OnvifFaultText::text(outcome.failure));
            if (!outcome.ok) {
                device.strResult = OnvifFaultText::text(outcome.failure);
                keepResult(device);
                WarningDialog::showLargeWarning(dialogPosition(), WarningDialog::Error, device.strResult, this);
                return;
            }
            {
                KVT_Guard guard(m_store.mutex());
                m_store.setNetParams(device.strSerialNumber, device.strMAC, params);
            }
            device.strResult = outcome.notApplied.isEmpty() ? tr("Succeed") : outcome.notApplied;
            keepResult(device);
            emit signalModifyResult({device});
            if (!outcome.notApplied.isEmpty() && !outcome.rebootNeeded) {
                WarningDialog::showLargeWarning(dialogPosition(), WarningDialog::Error, outcome.notApplied, this);
                return;
            }
            if (!outcome.rebootNeeded) {
                showSuccess(tr("Modify network parameters succeed."), false);
                return;
            }
            const QString note = restartIfWanted({target}, {device.strIPv4Address}).value(0);
            WarningDialog::showLargeWarning(dialogPosition(), WarningDialog::Success,
                                            tr("Modify network parameters succeed.") + QLatin1Char('\n') + note, this);
        });
}

QStringList DeviceModifyPage::restartIfWanted(const QVector<OnvifTarget> &targets, const QStringList &names)
{
    const QString later = tr("The device keeps working with its old settings until it restarts (for example "
                             "after a power cut); then it uses the new ones.");
    bool now = false;
    if (m_restartQuestion) {
        now = m_restartQuestion(names);
    } else {
        TipDialog question(this);
        question.setTitle(tr("Restart needed"));
        question.setTipText(tr("%n device(s) must restart to use the new settings: %1.\nRestart now, or later? "
                               "Later: each keeps its old settings until it restarts, for example after a power "
                               "cut.",
                               nullptr, int(names.size()))
                                .arg(names.join(QStringLiteral(", "))));
        //: button of the question whether devices restart now
        question.setConfirmButtonText(tr("Restart now"));
        //: button of the question whether devices restart now: they restart some other time
        question.setCancelButtonText(tr("Later"));
        emit signalCoverMainPage();
        now = question.exec() == QDialog::Accepted;
        emit signalDisCoverMainPage();
    }
    QStringList notes;
    if (!now) {
        for (qsizetype i = 0; i < targets.size(); ++i)
            notes.append(later);
        return notes;
    }
    QVector<OnvifOutcome> outcomes(targets.size());
    const auto changer = m_onvifChanger;
    runBatch(tr("Restarting device %1 of %2 ..."), int(targets.size()), [&](int j) -> quint32 {
        outcomes[j] = changer ? changer->reboot(targets.at(j)) : OnvifOutcome{};
        return outcomes.at(j).ok ? VEXO_NOERROR : 1;
    });
    for (qsizetype j = 0; j < targets.size(); ++j) {
        const VEXO_DEVICE_INFO record = recordOf(targets.at(j).serialNumber, targets.at(j).mac);
        writeJournalEntry(m_journal, JournalFlow::Reboot, record, journalValuesOf(record), outcomes.at(j).ok,
                          outcomes.at(j).ok ? QString() : OnvifFaultText::text(outcomes.at(j).failure));
    }
    for (const OnvifOutcome &outcome : std::as_const(outcomes))
        notes.append(outcome.ok ? tr("The device is restarting and uses the new settings once it is back.")
                                : tr("The device did not restart: %1").arg(OnvifFaultText::text(outcome.failure)));
    return notes;
}

void DeviceModifyPage::runOnvifOperation(const QString &busyText, std::function<OnvifOutcome()> work,
                                         std::function<void(const OnvifOutcome &)> done)
{
    auto outcome = std::make_shared<OnvifOutcome>();
    setOperationRunning(true, busyText);
    m_worker.reset(QThread::create([outcome, work] { *outcome = work(); }));
    connect(m_worker.get(), &QThread::finished, this, [this, outcome, done] {
        QThread *worker = m_worker.release();
        worker->wait();
        worker->deleteLater();
        setOperationRunning(false);
        done(*outcome);
    });
    m_worker->start();
}

// A single device's failure: deny and time-out have their own message, any other code is
// kept in the device's result text as well. Codes with an explanation get it as a second line.
void DeviceModifyPage::reportSingleFailure(DeviceInfo &device, quint32 code)
{
    QString text;
    if (code == VEXO_ERR_DEVICE_DENY) {
        text = tr("Device deny.");
    } else if (code == VEXO_ERR_TIMEOUT) {
        text = tr("Time out.");
    } else {
        device.strResult = tr("Error%1:others").arg(code);
        keepResult(device);
        text = device.strResult;
    }
    const QString explanation = ErrorExplanation::forCode(code);
    if (explanation.isEmpty())
        showMessage(WarningDialog::Error, text);
    else
        WarningDialog::showLargeWarning(dialogPosition(), WarningDialog::Error, text + QLatin1Char('\n') + explanation,
                                        this);
}

void DeviceModifyPage::runSingleOperation(const DeviceInfo &device, const QString &busyText,
                                          std::function<quint32()> work,
                                          std::function<bool(const VEXO_DEVICE_INFO &)> applied,
                                          std::function<void(DeviceInfo device, quint32 code, bool late)> done)
{
    // The operation keeps its own copy of the device: the selection may change or the device go
    // offline while it runs, and the worker touches neither widgets nor the device store.
    struct Operation
    {
        DeviceInfo device;
        quint32 code = VEXO_NOERROR;
        bool callEnded = false;
        bool announcedApplied = false;
        bool finished = false;
        QMetaObject::Connection watch;
    };
    using OperationPtr = std::shared_ptr<Operation>;
    auto operation = std::make_shared<Operation>();
    operation->device = device;
    setOperationRunning(true, busyText);

    auto finish = [this, done](const OperationPtr &op, quint32 code, bool late) {
        if (op->finished)
            return;
        op->finished = true;
        disconnect(op->watch);
        setOperationRunning(false);
        done(op->device, code, late);
    };

    // Announcements are signed by the device; one that already shows the request settles a
    // time-out, whether it comes during the call or shortly after.
    operation->watch = connect(
        &m_discovery, &VEXO::VexoHandler::signalDeviceUpdate, this,
        [operation, applied, finish](const VEXO_DEVICE_INFO &record) {
            if (fieldText(record.serialNumber) != operation->device.strSerialNumber
                || fieldText(record.macAddress) != operation->device.strMAC || !applied(record))
                return;
            operation->announcedApplied = true;
            if (operation->callEnded && operation->code == VEXO_ERR_TIMEOUT)
                finish(operation, VEXO_NOERROR, true);
        },
        Qt::QueuedConnection);

    m_worker.reset(QThread::create([operation, work] { operation->code = work(); }));
    connect(m_worker.get(), &QThread::finished, this, [this, operation, finish] {
        QThread *worker = m_worker.release();
        worker->wait();
        worker->deleteLater();
        operation->callEnded = true;
        if (operation->code != VEXO_ERR_TIMEOUT) {
            finish(operation, operation->code, false);
        } else if (operation->announcedApplied) {
            finish(operation, VEXO_NOERROR, true);
        } else {
            QTimer::singleShot(LateConfirmationMs, this, [weak = std::weak_ptr<Operation>(operation), finish] {
                if (const OperationPtr op = weak.lock())
                    finish(op, VEXO_ERR_TIMEOUT, false);
            });
        }
    });
    m_worker->start();
}

void DeviceModifyPage::setOperationRunning(bool running, const QString &busyText)
{
    m_operationRunning = running;
    if (running && !busyText.isEmpty())
        m_labelBusy->setText(busyText);
    applyState();
}

VEXO_DEVICE_INFO DeviceModifyPage::recordOf(const QString &serialNumber, const QString &mac) const
{
    VEXO_DEVICE_INFO record{};
    if (!m_store.get(serialNumber, mac, record)) {
        // Gone from the list meanwhile: the journal still names the device.
        setFieldText(record.serialNumber, serialNumber.toLatin1());
        setFieldText(record.macAddress, mac.toLatin1());
    }
    return record;
}

void DeviceModifyPage::keepResult(const DeviceInfo &device)
{
    for (DeviceInfo &selected : m_selection) {
        if (selected.strSerialNumber == device.strSerialNumber && selected.strMAC == device.strMAC)
            selected.strResult = device.strResult;
    }
}

void DeviceModifyPage::modifyBatch()
{
    QString startIp;
    QString subnetMask;
    QString gateway;
    int port = 0;
    int httpPort = 0;
    m_netParaPage->collectBatch(startIp, subnetMask, gateway, port, httpPort);
    const bool dhcpOff = m_netParaPage->isBatchDhcpOff();
    const int count = int(m_selection.size());
    DeviceStore *store = &m_store;

    QVector<DeviceNetParam> records(count);
    QVector<VEXO_DEVICE_INFO> before(count); // for the journal
    for (int j = 0; j < count; ++j) {
        records[j] = DeviceNetParam{};
        store->getNetParams(m_selection.at(j).strSerialNumber, m_selection.at(j).strMAC, records[j]);
        before[j] = recordOf(m_selection.at(j).strSerialNumber, m_selection.at(j).strMAC);
    }

    // Numbering is settled for the whole batch before any device is touched.
    QStringList addresses;
    if (dhcpOff && !startIp.isEmpty()) {
        // A mask the batch leaves alone is each device's own, and limits that device's address.
        QStringList masks;
        for (const DeviceNetParam &record : std::as_const(records))
            masks.append(subnetMask.isEmpty() ? fieldText(record.ipv4SubnetMask) : subnetMask);
        const BatchNumbering numbering = numberBatch(startIp, masks);
        if (!numbering.fitsAll(count)) {
            showMessage(WarningDialog::Error,
                        tr("Only %1 of the %2 selected devices fit between the start address %3 and the end of "
                           "its subnet. Choose a lower start address or fewer devices.")
                            .arg(numbering.fitting)
                            .arg(count)
                            .arg(startIp));
            return;
        }
        addresses = numbering.addresses;

        QSet<QString> batch;
        for (const DeviceInfo &device : std::as_const(m_selection))
            batch.insert(deviceKey(device.strSerialNumber, device.strMAC));
        QVector<VEXO_DEVICE_INFO> listed;
        store->copyAll(listed);
        QSet<QString> taken;
        for (const VEXO_DEVICE_INFO &record : std::as_const(listed)) {
            if (!batch.contains(deviceKey(fieldText(record.serialNumber), fieldText(record.macAddress))))
                taken.insert(canonicalIpv4(fieldText(record.ipv4Address)));
        }
        for (const QString &address : std::as_const(addresses)) {
            if (taken.contains(canonicalIpv4(address))) {
                showMessage(WarningDialog::Error,
                            tr("The address %1 is already used by another device in the list.").arg(address));
                return;
            }
        }
    }

    for (int j = 0; j < count; ++j) {
        DeviceNetParam &record = records[j];
        if (dhcpOff) {
            // An empty field is one the batch leaves alone: the device keeps its own value.
            if (!addresses.isEmpty())
                setFieldText(record.ipv4Address, addresses.at(j).toLatin1());
            if (!subnetMask.isEmpty())
                setFieldText(record.ipv4SubnetMask, subnetMask.toLatin1());
            if (!gateway.isEmpty())
                setFieldText(record.ipv4Gateway, gateway.toLatin1());
            record.dhcpEnabled = 0;
        } else {
            record.dhcpEnabled = 1;
        }
        if (port != 0)
            record.port = quint16(port);
        if (httpPort != 0)
            record.httpPort = quint16(httpPort);
    }

    QVector<QByteArray> macs;
    for (const DeviceInfo &device : std::as_const(m_selection))
        macs.append(device.strMAC.toLatin1());
    const QByteArray password = aKLOGUIToolkit::ConvertFromUnicode(m_lineEditAdminPassword->text());
    // Device events keep arriving while the batch runs and may replace the selection; the
    // results belong to the devices the batch started with.
    QVector<DeviceInfo> batch = m_selection;

    // ONVIF rows go through the ONVIF client; a row it cannot do is not tried and the result
    // list says why.
    QVector<OnvifTarget> onvifTargets(count);
    QVector<OnvifOutcome> onvifOutcomes(count);
    QStringList skipped(count);
    const auto changer = m_onvifChanger;
    for (int j = 0; j < count; ++j) {
        const DeviceInfo &device = batch.at(j);
        if (device.protocol != DeviceProtocol::Onvif)
            continue;
        if (!changer)
            skipped[j] = onvifUnavailableText();
        else if (!isReachable(device))
            skipped[j] = tr("Not changed: no network adapter of this computer is in the device's subnet.");
        onvifTargets[j] = onvifTarget(device);
    }
    constexpr quint32 OnvifDone = 0xffffffffu; // the ONVIF outcome tells
    const QVector<quint32> errors = runBatch(tr("Modifying device %1 of %2 ..."), count, [&](int j) -> quint32 {
        if (batch.at(j).protocol == DeviceProtocol::Onvif) {
            if (skipped.at(j).isEmpty())
                onvifOutcomes[j] = changeOverOnvif(changer, onvifTargets.at(j), records.at(j));
            return OnvifDone;
        }
        return changeOverVxdp(m_discovery, macs.at(j), password, records.at(j));
    });

    QVector<OnvifTarget> restartTargets;
    QStringList restartNames;
    for (int j = 0; j < count; ++j) {
        DeviceInfo &device = batch[j];
        const quint32 code = errors.at(j);
        if (code == OnvifDone) {
            const OnvifOutcome &outcome = onvifOutcomes.at(j);
            if (!skipped.at(j).isEmpty()) {
                device.strResult = skipped.at(j);
            } else if (!outcome.ok) {
                device.strResult = OnvifFaultText::text(outcome.failure);
            } else {
                device.strResult = outcome.notApplied.isEmpty() ? tr("Succeed") : outcome.notApplied;
                if (dhcpOff && !addresses.isEmpty())
                    device.strIPv4Address = addresses.at(j);
                KVT_Guard guard(store->mutex());
                m_store.setNetParams(device.strSerialNumber, device.strMAC, records.at(j));
                if (outcome.rebootNeeded) {
                    restartTargets.append(onvifTargets.at(j));
                    restartNames.append(device.strIPv4Address);
                }
            }
        } else if (code == VEXO_NOERROR) {
            device.strResult = tr("Succeed");
            if (dhcpOff && !addresses.isEmpty())
                device.strIPv4Address = addresses.at(j);
            KVT_Guard guard(store->mutex());
            m_store.setNetParams(device.strSerialNumber, device.strMAC, records.at(j));
        } else if (code == VEXO_ERR_DEVICE_DENY) {
            device.strResult = tr("Error%1:device deny").arg(code);
        } else if (code == VEXO_ERR_TIMEOUT) {
            device.strResult = tr("Error%1:time out").arg(code);
        } else {
            device.strResult = tr("Error%1:others").arg(code);
        }
        const bool onvif = code == OnvifDone;
        const bool succeeded = onvif ? skipped.at(j).isEmpty() && onvifOutcomes.at(j).ok : code == VEXO_NOERROR;
        writeJournalEntry(m_journal, onvif ? JournalFlow::OnvifChange : JournalFlow::BatchNetworkChange, before.at(j),
                          journalValuesOf(records.at(j)), succeeded, succeeded ? QString() : device.strResult);
    }
    emit signalModifyResult(batch);
    if (!restartTargets.isEmpty()) {
        QStringList notes = restartIfWanted(restartTargets, restartNames);
        for (int i = 0; i < notes.size(); ++i)
            notes[i] = restartNames.at(i) + QStringLiteral(": ") + notes.at(i);
        WarningDialog::showLargeWarning(dialogPosition(), WarningDialog::Information, notes.join(QLatin1Char('\n')),
                                        this);
    }
    runResultList(batch, false);
}

void DeviceModifyPage::onActiveDevices()
{
    if (m_selection.isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please select a device."));
        return;
    }
    aptui::MultiStateLineEdit *field = m_newPassword->passwordField();
    QLabel *hint = m_newPassword->passwordHint();
    switch (m_newPassword->problem()) {
    case NewPasswordForm::Problem::Empty:
        showMessage(WarningDialog::Error, tr("The password can not be empty."), field, hint);
        return;
    case NewPasswordForm::Problem::Mismatch:
        showMessage(WarningDialog::Error, tr("The password you typed do not match."), field, hint);
        return;
    case NewPasswordForm::Problem::Weak:
        WarningDialog::showLargeWarning(
            dialogPosition(), WarningDialog::Error,
            tr("Valid password range [8-16]. You can use a combination of numbers,lowercase, uppercase and special "
               "character for your password with at least two kinds of them contained."),
            this, field, hint);
        return;
    case NewPasswordForm::Problem::None:
        break;
    }
    if (m_selection.size() == 1)
        activateSingle();
    else
        activateBatch();
}

void DeviceModifyPage::activateSingle()
{
    if (m_operationRunning)
        return;
    const QByteArray serial = m_selection.first().strSerialNumber.toLatin1();
    const QByteArray password = aKLOGUIToolkit::ConvertFromUnicode(m_newPassword->password());
    const VEXO_DEVICE_INFO before = recordOf(m_selection.first().strSerialNumber, m_selection.first().strMAC);
    runSingleOperation(
        m_selection.first(), tr("Activating the device ..."),
        [handler = &m_discovery, serial, password] {
            return handler->activateDevice(serial, password) ? quint32(VEXO_NOERROR)
                                                             : qMax(handler->getLastError(), quint32(1));
        },
        [](const VEXO_DEVICE_INFO &record) { return record.inactive == 0; },
        [this, before](DeviceInfo device, quint32 code, bool late) {
            writeJournalEntry(m_journal, JournalFlow::Activation, before, withPasswordSet(journalValuesOf(before)),
                              code == VEXO_NOERROR, journalCallFailure(code));
            if (code != VEXO_NOERROR) {
                reportSingleFailure(device, code);
                return;
            }
            {
                KVT_Guard guard(m_store.mutex());
                m_store.setInactive(device.strSerialNumber, device.strMAC, 0);
            }
            device.strResult = tr("Succeed");
            keepResult(device);
            // The list answers with a new selection report, which replaces m_selection.
            emit signalActiveResult({device});
            showSuccess(tr("Activate Succeed."), late);
        });
}

void DeviceModifyPage::activateBatch()
{
    const int count = int(m_selection.size());
    QVector<QByteArray> serials;
    for (const DeviceInfo &device : std::as_const(m_selection))
        serials.append(device.strSerialNumber.toLatin1());
    const QByteArray password = aKLOGUIToolkit::ConvertFromUnicode(m_newPassword->password());
    QVector<DeviceInfo> batch = m_selection; // the selection may change while the batch runs
    QVector<VEXO_DEVICE_INFO> before;        // for the journal
    for (const DeviceInfo &device : std::as_const(batch))
        before.append(recordOf(device.strSerialNumber, device.strMAC));
    VEXO::VexoHandler *handler = &m_discovery;
    const QVector<quint32> errors = runBatch(tr("Activating device %1 of %2 ..."), count, [&](int j) -> quint32 {
        if (handler->activateDevice(serials.at(j), password))
            return VEXO_NOERROR;
        return qMax(handler->getLastError(), quint32(1));
    });

    DeviceStore *store = &m_store;
    for (int j = 0; j < count; ++j) {
        DeviceInfo &device = batch[j];
        const quint32 code = errors.at(j);
        if (code == VEXO_NOERROR) {
            device.strResult = tr("Succeed");
            KVT_Guard guard(store->mutex());
            store->setInactive(device.strSerialNumber, device.strMAC, 0);
        } else if (code == VEXO_ERR_DEVICE_DENY) {
            device.strResult = tr("Error%1:Device deny.").arg(code);
        } else if (code == VEXO_ERR_ALREADY_ACTIVE) {
            device.strResult = tr("Error%1:reactive").arg(code);
        } else {
            device.strResult = tr("Error%1:others").arg(code);
        }
        writeJournalEntry(m_journal, JournalFlow::Activation, before.at(j),
                          withPasswordSet(journalValuesOf(before.at(j))), code == VEXO_NOERROR,
                          code == VEXO_NOERROR ? QString() : device.strResult);
    }
    // The list's new selection report replaces m_selection; the result list shows this batch.
    emit signalActiveResult(batch);
    runResultList(batch, true);
}

QVector<quint32> DeviceModifyPage::runBatch(const QString &progressText, int count,
                                            const std::function<quint32(int)> &work)
{
    QVector<quint32> errors(count, VEXO_NOERROR);
    // The calls block for up to the library's timeout each; a worker thread makes them while
    // the window repaints behind a modal progress dialog.
    QProgressDialog progress(progressText.arg(1).arg(count), QString(), 0, count, window());
    progress.setObjectName(QStringLiteral("m_batchProgress"));
    progress.setWindowTitle(tr("VEXO Tool"));
    // Frameless like every window of the program; the style sheet draws its outline.
    progress.setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setCancelButton(nullptr);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(320);
    progress.setValue(0);
    emit signalCoverMainPage();
    progress.show();

    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&errors, &work, &progress, &progressText, count] {
        for (int j = 0; j < count; ++j) {
            QMetaObject::invokeMethod(
                &progress,
                [&progress, &progressText, j, count] {
                    progress.setLabelText(progressText.arg(j + 1).arg(count));
                    progress.setValue(j);
                },
                Qt::QueuedConnection);
            errors[j] = work(j);
        }
    }));
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    progress.setValue(count);
    progress.close();
    emit signalDisCoverMainPage();
    return errors;
}

void DeviceModifyPage::runResultList(const QVector<DeviceInfo> &devices, bool activation)
{
    DeviceModifyResultPage resultList;
    if (activation)
        resultList.setOperation(DeviceModifyResultPage::Operation::Activation);
    resultList.setDevices(devices);
    emit signalCoverMainPage();
    resultList.exec();
    emit signalDisCoverMainPage();
}

void DeviceModifyPage::onForgetPassword()
{
    if (m_selection.isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please select a device."));
        return;
    }
    const DeviceInfo device = m_selection.first();
    VEXO_DEVICE_INFO record{};
    m_store.get(device.strSerialNumber, device.strMAC, record);
    if (record.capabilityFlags & VEXO_CAP_KEY_RESET)
        runResetDialog(device.strSerialNumber, device.strDeviceType, record.keyFormatFlags & VEXO_KEYFMT_NEW,
                       record.capabilityFlags & VEXO_CAP_RESET_IPC);
    else
        runRestoreDialog(device.strSerialNumber, device.strDeviceType);
}

void DeviceModifyPage::runResetDialog(const QString &serialNumber, const QString &deviceType, bool newKeyFormat,
                                      bool resetIpc)
{
    emit signalCoverMainPage();
    ResetPasswordDialog dialog(m_discovery, this, serialNumber, deviceType, newKeyFormat, resetIpc);
    dialog.setJournal(m_journal, recordOf(serialNumber, m_selection.value(0).strMAC));
    dialog.exec();
    emit signalDisCoverMainPage();
}

void DeviceModifyPage::runRestoreDialog(const QString &serialNumber, const QString &deviceType)
{
    emit signalCoverMainPage();
    RestorePasswordDialog dialog(m_discovery, this, serialNumber, deviceType);
    dialog.setJournal(m_journal, recordOf(serialNumber, m_selection.value(0).strMAC));
    dialog.setDeviceType(deviceType);
    connect(&dialog, &RestorePasswordDialog::signalExportExcel, this, &DeviceModifyPage::signalExportExcel);
    dialog.exec();
    emit signalDisCoverMainPage();
}

void DeviceModifyPage::onNewPasswordTextChanged(QString strNewPassword)
{
    m_newPassword->showLevel(strNewPassword);
}

void DeviceModifyPage::onDhcpStateChanged(int iState)
{
    if (m_selection.isEmpty())
        return;
    if (iState == Qt::Checked)
        m_netParaPage->applyDhcpOn();
    else
        m_netParaPage->setDevice(m_selection.first().strSerialNumber, m_selection.first().strMAC, true);
}

void DeviceModifyPage::onBatchDhcpStateChanged(int iState)
{
    m_netParaPage->setBatchDhcp(iState != Qt::Checked);
}

bool DeviceModifyPage::eventFilter(QObject *target, QEvent *qevent)
{
    if (target == m_lineEditAdminPassword) {
        if (qevent->type() == QEvent::MouseButtonPress)
            m_lineEditAdminPassword->clearMark(m_labelHintAdimaPassword);
    }
    return QWidget::eventFilter(target, qevent);
}

} // namespace VexoTool

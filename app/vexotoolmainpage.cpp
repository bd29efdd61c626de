// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "vexotoolmainpage.h"

#include "configuremanager.h"
#include "onvifdevicechanger.h"
#include "onvifsnapshotsource.h"
#include "onvifsignindialog.h"
#include "programfolders.h"
#include "toolsapplication.h"
#include "ui_vexotoolmainpage.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <devicemodifyresultpage.h>
#include <deviceinfo.h>
#include <devicestore.h>
#include <kvt.h>
#include <onviffault.h>
#include <onvifhandler.h>
#include <plandialog.h>
#include <snapshotthumbnails.h>
#include <vexohandler.h>

#include <aboutdialog.h>
#include <basedialog.h>
#include <coverwidget.h>
#include <handoverdialog.h>
#include <journal.h>
#include <journalwindow.h>
#include <menu.h>
#include <pinbutton.h>
#include <tipdialog.h>
#include <windowresizer.h>
#include <windowtitle.h>

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QSize>

namespace VexoTool {

namespace {

constexpr int PinBorderWidth = 20;
// Folds and unfolds the right-hand panel; free in the list, the panel's fields and the menu.
const QKeySequence FoldPanelKey(Qt::CTRL | Qt::Key_P);
// Opens the site journal.
const QKeySequence JournalKey(Qt::CTRL | Qt::Key_J);
constexpr int RightSpaceWidth = 10;
// The folded bar keeps this far from the window's right edge, over the right spacer.
constexpr int FoldedBarInset = 11;
constexpr int AboutMenuOffsetX = 149;
// Small enough for a 1024 x 768 screen, large enough for the title, the list's bar and a few rows.
constexpr QSize MinimumWindowSize(760, 480);

} // namespace

VEXOToolMainPage::VEXOToolMainPage(DeviceStore *store, VEXO::VexoHandler *discovery, QWidget *parent)
    : VEXOToolMainPage(store, discovery, nullptr, parent)
{}

VEXOToolMainPage::VEXOToolMainPage(DeviceStore *store, VEXO::VexoHandler *discovery, VEXO::OnvifHandler *onvif,
                                   QWidget *parent)
    : QMainWindow(parent)
    , m_store(store)
    , m_discovery(discovery)
    , m_onvif(onvif)
    , m_ui(std::make_unique<Ui::VEXOToolMainPage>())
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::FramelessWindowHint);
    // The list's rows explain themselves in tool tips (why a device needs log-in, which protocols
    // it answers) also while the window is not the active one, as after a dialog closed.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    // Without a frame the window system offers no edges to drag; the resizer provides them.
    new aptui::WindowResizer(this);

    m_pageLayout = new QHBoxLayout();
    m_title = new aptui::WindowTitle(this);
    // An installed program keeps the shipped column file in its data folder, not beside itself.
    const apt::ProgramFolders folders = apt::ProgramFolders::current();
    const QString columnFileName = QStringLiteral("ColumnConfig.xml");
    m_deviceDisplayPage = new DeviceDisplayPage(
        store, discovery, this,
        UserWritableFile(folders.shippedFile(columnFileName), folders.userFile(columnFileName)));
    m_rightSpace = new QWidget(this);
    m_rightSpace->setObjectName(QStringLiteral("m_rightSpace"));
    m_rightSpace->setFixedWidth(RightSpaceWidth);
    m_deviceModifyPage = new DeviceModifyPage(*store, *discovery, this);
    m_pageLayout->addWidget(m_deviceDisplayPage);
    m_pageLayout->addWidget(m_rightSpace);
    m_ui->verticalLayout->addWidget(m_title);
    m_ui->verticalLayout->addLayout(m_pageLayout);
    m_rightSpace->hide();

    m_pinBorder = new QWidget(this);
    m_pinBorder->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pinBorder->setObjectName(QStringLiteral("m_PinBorder"));
    // Nothing places the strip until there is a panel to fold; unplaced it would lie over the title.
    m_pinBorder->hide();

    m_pinButton = new aptui::PinButton(this);
    m_pinButton->raise();
    m_pinButton->setObjectName(QStringLiteral("m_pSpreadButton"));
    // The panel goes between the list and the right spacer and becomes the pin button's buddy.
    setRightPanel(m_deviceModifyPage);
    // Never smaller than what the list and the panel need.
    setMinimumSize(MinimumWindowSize.expandedTo(minimumSizeHint()));

    const QPixmap logo = QPixmap(QStringLiteral(":/VEXOTool/Logo/logo.png"))
                             .scaled(24, 24, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    m_title->setTitleIcon(QIcon(logo));
    m_title->setTitle(tr("VEXO Tool"));
    setWindowTitle(tr("VEXO Tool"));

    m_cover = new aptui::CoverWidget(this);
    m_cover->hide();
    m_cover->lower();
    m_covered = false;
    setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));

    m_aboutMenu = new aptui::Menu(this);
    m_aboutAction = std::make_unique<AboutDialog>();
    m_aboutAction->setLanguageCode(apt::ConfigureManager::GetInstance()->translator());
    m_aboutMenu->addAction(m_aboutAction.get());
    m_aboutMenu->setObjectName(QStringLiteral("aboutMenu"));
    m_aboutMenu->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    m_aboutMenu->setAttribute(Qt::WA_TranslucentBackground);
    m_aboutMenu->setFocusPolicy(Qt::NoFocus);
    m_aboutMenu->addSeparator();
    //: Menu entry that lets the device list check several devices at once
    m_actionBatchOperations = m_aboutMenu->addAction(tr("Batch operations"));
    m_actionBatchOperations->setObjectName(QStringLiteral("m_actionBatchOperations"));
    m_actionBatchOperations->setCheckable(true);
    m_actionBatchOperations->setChecked(apt::ConfigureManager::GetInstance()->batchOperations());
    m_deviceDisplayPage->setBatchOperations(m_actionBatchOperations->isChecked());
    m_deviceModifyPage->setBatchOperations(m_actionBatchOperations->isChecked());
    connect(m_actionBatchOperations, &QAction::toggled, this, &VEXOToolMainPage::onBatchOperationsToggled);
    //: Menu entry that shows the cameras' snapshots beside the list's rows
    m_actionSnapshotView = m_aboutMenu->addAction(tr("Snapshot view"));
    m_actionSnapshotView->setObjectName(QStringLiteral("m_actionSnapshotView"));
    m_actionSnapshotView->setCheckable(true);
    m_actionSnapshotView->setChecked(apt::ConfigureManager::GetInstance()->snapshotView());
    m_deviceDisplayPage->setSnapshotView(m_actionSnapshotView->isChecked());
    connect(m_actionSnapshotView, &QAction::toggled, this, [this](bool on) {
        m_deviceDisplayPage->setSnapshotView(on);
        // The choice holds for this run even when the file cannot keep it.
        apt::ConfigureManager::GetInstance()->setSnapshotView(on);
    });
    //: Menu entry that opens the dialog applying an address plan file to the listed devices
    QAction *applyPlan = m_aboutMenu->addAction(tr("Apply plan..."));
    applyPlan->setObjectName(QStringLiteral("m_actionApplyPlan"));
    applyPlan->setVisible(m_actionBatchOperations->isChecked());
    connect(m_actionBatchOperations, &QAction::toggled, applyPlan, &QAction::setVisible);
    connect(applyPlan, &QAction::triggered, this, [this] {
        enableCover();
        VexoTool::PlanDialog dialog(*m_store, *m_discovery, this);
        dialog.setJournal(m_journal);
        dialog.exec();
        disableCover();
        // Devices the plan activated or moved: the panel shows the checked rows as they are now.
        m_deviceDisplayPage->onDevicesActiveResult({});
    });
    //: Menu entry that opens the window of the site journal
    m_actionJournal = m_aboutMenu->addAction(tr("Journal..."));
    m_actionJournal->setObjectName(QStringLiteral("m_actionJournal"));
    m_actionJournal->setShortcut(JournalKey);
    m_actionJournal->setShortcutContext(Qt::WindowShortcut);
    addAction(m_actionJournal); // Ctrl+J works while the menu is closed
    connect(m_actionJournal, &QAction::triggered, this, &VEXOToolMainPage::openJournal);
    //: Menu entry that writes the hand-over report (devices, changes, open failures) of the site
    QAction *report = m_aboutMenu->addAction(tr("Hand-over report..."));
    report->setObjectName(QStringLiteral("m_actionHandoverReport"));
    connect(report, &QAction::triggered, this, [this] {
        if (!m_journal)
            return;
        enableCover();
        VexoTool::HandoverDialog dialog(*m_journal, listedRecords(), this);
        dialog.setSnapshotOf([this](const VEXO_DEVICE_INFO &record) { return listedSnapshot(record); });
        dialog.exec();
        disableCover();
    });
    //: Menu entry that asks for the user name and password with which the ONVIF devices are identified
    m_actionOnvifSignIn = m_aboutMenu->addAction(tr("ONVIF Sign-In..."));
    m_actionOnvifSignIn->setObjectName(QStringLiteral("m_actionOnvifSignIn"));
    m_actionOnvifSignIn->setVisible(m_onvif != nullptr);
    connect(m_actionOnvifSignIn, &QAction::triggered, this, &VEXOToolMainPage::onOnvifSignIn);
    addLanguageMenu();
    connect(m_deviceDisplayPage, &DeviceDisplayPage::signalEnterPressed, this, &VEXOToolMainPage::focusRightPanel);

    connect(m_title, &aptui::WindowTitle::signalSystemMenu, this, &VEXOToolMainPage::OnBtnSystemMenu,
            Qt::DirectConnection);
    connect(m_aboutAction.get(), &AboutDialog::signalCover, this, &VEXOToolMainPage::enableCover);
    connect(m_aboutAction.get(), &AboutDialog::signalDiscover, this, &VEXOToolMainPage::disableCover);
    connect(this, &VEXOToolMainPage::signalGetHelp, m_aboutAction.get(), &AboutDialog::onGetHelp);
    // The list page dims the window around its own dialogs.
    connect(m_deviceDisplayPage, &DeviceDisplayPage::signalCoverMainPage, this, &VEXOToolMainPage::enableCover);
    connect(m_deviceDisplayPage, &DeviceDisplayPage::signalDisCoverMainPage, this, &VEXOToolMainPage::disableCover);
    // So does the panel, and the restore dialog it opens can ask the list for an export.
    connect(m_deviceModifyPage, &DeviceModifyPage::signalCoverMainPage, this, &VEXOToolMainPage::enableCover);
    connect(m_deviceModifyPage, &DeviceModifyPage::signalDisCoverMainPage, this, &VEXOToolMainPage::disableCover);
    connect(m_deviceModifyPage, &DeviceModifyPage::signalExportExcel, m_deviceDisplayPage,
            &DeviceDisplayPage::onSaveDeviceInfoToExcel);

    registerDiscoveryMetaTypes();
    connectDiscovery();
    connectModifyPanel();
    connectOnvif();

    connect(m_pinButton, &aptui::PinButton::pinButtonClicked, this, &VEXOToolMainPage::onMovePinButtion);
    connect(m_pinButton, &aptui::PinButton::pinButtonClicked, this, &VEXOToolMainPage::onShowOrHideRightSpace);
    // The keyboard's way to the fold bar, which takes no focus: the same as a click on it.
    auto *foldPanel = new QShortcut(FoldPanelKey, this);
    foldPanel->setObjectName(QStringLiteral("m_shortcutFoldPanel"));
    connect(foldPanel, &QShortcut::activated, m_pinButton, &QAbstractButton::click);
    m_pinButton->setShortcutHint(FoldPanelKey);

    startDiscovery();
}

VEXOToolMainPage::~VEXOToolMainPage() = default;

QVector<VEXO_DEVICE_INFO> VEXOToolMainPage::listedRecords() const
{
    QVector<VEXO_DEVICE_INFO> records;
    KVT_Guard guard(m_store->mutex());
    m_store->copyAll(records);
    return records;
}

QImage VEXOToolMainPage::listedSnapshot(const VEXO_DEVICE_INFO &record) const
{
    const VexoTool::SnapshotThumbnails *thumbnails = m_deviceDisplayPage->thumbnails();
    return thumbnails ? thumbnails->kept(fieldText(record.serialNumber), fieldText(record.ipv4Address)) : QImage();
}

JournalWindow *VEXOToolMainPage::journalWindow() const
{
    return m_journalWindow;
}

void VEXOToolMainPage::openJournal()
{
    if (!m_journal)
        return;
    if (!m_journalWindow) {
        m_journalWindow = new JournalWindow(
            *m_journal, [this] { return listedRecords(); }, this);
        m_journalWindow->setAttribute(Qt::WA_DeleteOnClose);
        m_journalWindow->setSnapshotOf([this](const VEXO_DEVICE_INFO &record) { return listedSnapshot(record); });
    } else {
        m_journalWindow->refresh();
    }
    m_journalWindow->show();
    m_journalWindow->raise();
    m_journalWindow->activateWindow();
}

void VEXOToolMainPage::setJournal(Journal *journal)
{
    if (m_journal)
        disconnect(m_journal, nullptr, this, nullptr);
    m_journal = journal;
    m_deviceModifyPage->setJournal(journal);
    m_deviceDisplayPage->setJournal(journal);
    if (!journal)
        return;
    // The journal says it once per run; the entries wait in memory and the work goes on.
    connect(journal, &Journal::unavailable, this, [this](const QString &reason) {
        qWarning("[Tool]journal not written: %s", qUtf8Printable(reason));
        auto *dialog = new aptui::BaseDialog(false, false, false, false, true, true, false, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setObjectName(QStringLiteral("journalUnavailableMessage"));
        dialog->setFixedSize(400, 220);
        //: title of the message that the site journal cannot be written for now
        dialog->setTitle(tr("Journal"));
        dialog->setDefaultText(tr("The journal cannot be written for now (%1). Your changes are kept and written "
                                  "to it once it can be; your work goes on.")
                                   .arg(reason));
        dialog->show();
    });
}

void VEXOToolMainPage::connectDiscovery()
{
    // Automatic connections: the service emits on the discovery library's thread, so the
    // records arrive queued on the GUI thread.
    connect(m_discovery, &VEXO::VexoHandler::signalDeviceOnline, m_deviceDisplayPage,
            &DeviceDisplayPage::onDeviceLogin);
    connect(m_discovery, &VEXO::VexoHandler::signalDeviceOffline, m_deviceDisplayPage,
            &DeviceDisplayPage::onDeviceLogout);
    connect(m_discovery, &VEXO::VexoHandler::signalDeviceUpdate, m_deviceDisplayPage,
            &DeviceDisplayPage::onDeviceUpdate);
}

void VEXOToolMainPage::connectModifyPanel()
{
    // The selection reaches the panel before the list's slot returns, so the panel never acts
    // on a selection the list has already left.
    connect(m_deviceDisplayPage, &DeviceDisplayPage::signalCurrentSelectionModelChange, m_deviceModifyPage,
            &DeviceModifyPage::onCurrentSelectionChange, Qt::DirectConnection);
    connect(m_deviceModifyPage, &DeviceModifyPage::signalModifyResult, m_deviceDisplayPage,
            &DeviceDisplayPage::onDevicesModifyResult);
    connect(m_deviceModifyPage, &DeviceModifyPage::signalActiveResult, m_deviceDisplayPage,
            &DeviceDisplayPage::onDevicesActiveResult);
}

void VEXOToolMainPage::connectOnvif()
{
    if (!m_onvif)
        return;
    // Emitted on the ONVIF service's thread: queued to the list like the device protocol's records.
    connect(m_onvif, &VEXO::OnvifHandler::signalDeviceOnline, m_deviceDisplayPage, &DeviceDisplayPage::onDeviceLogin);
    connect(m_onvif, &VEXO::OnvifHandler::signalDeviceOffline, m_deviceDisplayPage, &DeviceDisplayPage::onDeviceLogout);
    connect(m_onvif, &VEXO::OnvifHandler::signalDeviceUpdate, m_deviceDisplayPage, &DeviceDisplayPage::onDeviceUpdate);
    // Verified devices of the device protocol: an ONVIF device elsewhere claiming one is not believed.
    if (m_discovery) {
        VEXO::OnvifHandler *onvif = m_onvif;
        connect(m_discovery, &VEXO::VexoHandler::signalDeviceOnline, m_onvif,
                [onvif](const VEXO_DEVICE_INFO &record) { onvif->noteDevice(record, true); });
        connect(m_discovery, &VEXO::VexoHandler::signalDeviceUpdate, m_onvif,
                [onvif](const VEXO_DEVICE_INFO &record) { onvif->noteDevice(record, true); });
        connect(m_discovery, &VEXO::VexoHandler::signalDeviceOffline, m_onvif,
                [onvif](const VEXO_DEVICE_INFO &record) { onvif->noteDevice(record, false); });
    }
    connect(m_onvif, &VEXO::OnvifHandler::signalIdentifyFailed, this,
            [this](const QString &key, const OnvifFailure &failure) {
                showOnvifFailure(key, OnvifFaultText::text(failure));
            });
    connect(m_onvif, &VEXO::OnvifHandler::signalIdentifiedPartly, this, &VEXOToolMainPage::showOnvifFailure);
    connect(m_onvif, &VEXO::OnvifHandler::signalClearTextOnly, this, &VEXOToolMainPage::askClearText);
    connect(m_onvif, &VEXO::OnvifHandler::signalSignInFinished, this, &VEXOToolMainPage::showSignInResults);
    connect(m_onvif, &VEXO::OnvifHandler::signalSignInProgress, this, [this](int answered, int asked) {
        if (asked == 0)
            return;
        //: the count line while an ONVIF sign-in runs: %1 of %2 devices have answered it
        m_deviceDisplayPage->setActivity(tr("ONVIF sign-in: %1 of %2 devices answered").arg(answered).arg(asked));
    });
    // Refresh empties the list (the page's own slot runs first) and asks both protocols again.
    if (auto *refresh = m_deviceDisplayPage->findChild<QPushButton *>(QStringLiteral("m_btnRefreshDeviceInfo")))
        connect(refresh, &QPushButton::clicked, m_onvif, &VEXO::OnvifHandler::sendInquiry);
    m_deviceModifyPage->setOnvifChanger(std::make_shared<OnvifDeviceChanger>(m_onvif));
    auto snapshots = std::make_shared<OnvifSnapshotSource>(m_onvif);
    m_deviceModifyPage->setSnapshotSource(snapshots);
    m_deviceDisplayPage->setSnapshotSource(snapshots);
}

void VEXOToolMainPage::startDiscovery()
{
    m_discovery->setDeviceFilterRule(apt::ConfigureManager::GetInstance()->filter());
    if (!m_discovery->start()) {
        apt::ToolsApplication::showStartupMessage(tr("Initialization failed."), false);
        return;
    }
    QString error;
    if (m_onvif && !m_onvif->start(&error))
        qWarning("[Tool]ONVIF discovery did not start: %s", qUtf8Printable(error));
}

void VEXOToolMainPage::onOnvifSignIn()
{
    if (!m_onvif)
        return;
    OnvifSignInDialog dialog(this);
    enableCover();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    disableCover();
    if (accepted)
        signInOnvif(dialog.userName(), dialog.password());
}

void VEXOToolMainPage::signInOnvif(const QString &userName, const QString &password)
{
    if (!m_onvif)
        return;
    onvif::Credentials credentials;
    credentials.username = userName;
    credentials.password = password;
    m_onvif->setCredentials(credentials);
    // Until the first device answers, and for a sign-in with nothing to ask.
    //: the count line right after an ONVIF sign-in started
    m_deviceDisplayPage->setActivity(tr("ONVIF sign-in..."));
}

namespace {

enum class SignInEnd { Identified, Refused, Silent, Other };

SignInEnd signInEnd(const VEXO::OnvifSignInOutcome &outcome)
{
    using VexoTool::OnvifFailureKind;
    if (!outcome.failure)
        return SignInEnd::Identified;
    switch (outcome.failure->kind) {
    case OnvifFailureKind::NotAuthorized:
        return SignInEnd::Refused;
    case OnvifFailureKind::Unreachable:
    case OnvifFailureKind::ConnectionRefused:
    case OnvifFailureKind::TimedOut:
        return SignInEnd::Silent;
    case OnvifFailureKind::SoapFault:
        // Devices refuse credentials with a fault too (Sender / NotAuthorized).
        for (const QString &subcode : outcome.failure->subcodes) {
            if (subcode.section(u':', -1) == QLatin1String("NotAuthorized"))
                return SignInEnd::Refused;
        }
        return SignInEnd::Other;
    default:
        return SignInEnd::Other;
    }
}

} // namespace

QString VEXOToolMainPage::signInSummary(const QVector<VEXO::OnvifSignInOutcome> &outcomes)
{
    if (outcomes.isEmpty())
        //: the summary after "ONVIF Sign-In" when no ONVIF device is listed
        return tr("No ONVIF device is listed to sign in to.");
    int counts[4] = {};
    for (const VEXO::OnvifSignInOutcome &outcome : outcomes)
        ++counts[int(signInEnd(outcome))];
    QStringList parts;
    //: part of the summary after "ONVIF Sign-In": how many devices were identified
    if (counts[int(SignInEnd::Identified)] > 0)
        parts.append(tr("%n identified", "", counts[int(SignInEnd::Identified)]));
    //: part of the summary after "ONVIF Sign-In": how many devices refused the credentials
    if (counts[int(SignInEnd::Refused)] > 0)
        parts.append(tr("%n refused the user name or password", "", counts[int(SignInEnd::Refused)]));
    //: part of the summary after "ONVIF Sign-In": how many devices did not answer
    if (counts[int(SignInEnd::Silent)] > 0)
        parts.append(tr("%n did not answer", "", counts[int(SignInEnd::Silent)]));
    //: part of the summary after "ONVIF Sign-In": devices that failed for another reason (in the list)
    if (counts[int(SignInEnd::Other)] > 0)
        parts.append(tr("%n failed for another reason", "", counts[int(SignInEnd::Other)]));
    //: separates the parts of the summary after "ONVIF Sign-In"
    return parts.join(tr(", "));
}

void VEXOToolMainPage::showSignInResults(const QVector<VEXO::OnvifSignInOutcome> &outcomes)
{
    m_deviceDisplayPage->setActivity(QString());
    const QString succeed = QCoreApplication::translate("VexoTool::DeviceModifyPage", "Succeed");
    DeviceInfoModel *model = m_deviceDisplayPage->model();
    QVector<DeviceInfo> devices;
    devices.reserve(outcomes.size());
    for (const VEXO::OnvifSignInOutcome &outcome : outcomes) {
        const VEXO_DEVICE_INFO &record = outcome.record;
        DeviceInfo device;
        const QString mac = fieldText(record.macAddress);
        int row = model->rowOf(fieldText(record.serialNumber), mac);
        // The ONVIF face of a device of the device protocol is shown by that device's row.
        for (int other = 0; row < 0 && isOnvifFace(record) && other < model->rowCount(); ++other) {
            QString serial;
            QString rowMac;
            if (model->keyOfRow(other, serial, rowMac) && rowMac == mac)
                row = other;
        }
        device.strIndex = row >= 0 ? model->text(row, DeviceInfoModel::ColumnId) : QStringLiteral("\u2014");
        device.strDeviceType = row >= 0 ? model->text(row, DeviceInfoModel::ColumnDeviceType)
                                        : DeviceInfoModel::deviceTypeText(record, false);
        device.strIPv4Address = fieldText(record.ipv4Address);
        device.strSerialNumber = fieldText(record.serialNumber);
        device.strResult = outcome.failure ? OnvifFaultText::text(*outcome.failure) : succeed;
        device.protocol = DeviceProtocol::Onvif;
        // A device of the own protocol keeps its row and status: its ONVIF side's refusal shows in
        // the row's tool tips, and goes with the next sign-in that succeeds.
        if (row >= 0 && model->protocolOfRow(row) == DeviceProtocol::Vxdp)
            model->setStatusToolTip(row, outcome.failure ? tr("ONVIF sign-in: %1").arg(device.strResult) : QString());
        devices.append(device);
    }
    // The list's own order: by row number, the devices no longer listed last.
    std::stable_sort(devices.begin(), devices.end(),
                     [](const DeviceInfo &a, const DeviceInfo &b) { return a.strIndex < b.strIndex; });
    auto *results = new DeviceModifyResultPage(this);
    results->setAttribute(Qt::WA_DeleteOnClose);
    results->setObjectName(QStringLiteral("onvifSignInResults"));
    results->setOperation(DeviceModifyResultPage::Operation::OnvifSignIn);
    results->setDevices(devices);
    results->setSummary(signInSummary(outcomes));
    enableCover();
    connect(results, &QDialog::finished, this, &VEXOToolMainPage::disableCover);
    results->open();
}

void VEXOToolMainPage::setClearTextQuestion(std::function<bool(const QString &)> question)
{
    m_clearTextQuestion = std::move(question);
}

void VEXOToolMainPage::showOnvifFailure(const QString &key, const QString &text)
{
    // The row keeps "Needs log-in"; its Device Type and status cells say why.
    DeviceInfoModel *model = m_deviceDisplayPage->model();
    const int row = model->rowOf(key, QString());
    if (row < 0)
        return;
    model->setStatusToolTip(row, text);
    // The panel says it too when it shows that device.
    if (model->checkState(row) == Qt::Checked)
        m_deviceDisplayPage->onDevicesActiveResult({});
}

void VEXOToolMainPage::askClearText(const QString &key, const QString &name)
{
    m_clearTextAsking.append(key + QChar(u'\0') + name);
    if (m_askingClearText)
        return; // asked after the question that is open
    m_askingClearText = true;
    while (!m_clearTextAsking.isEmpty()) {
        const QString entry = m_clearTextAsking.takeFirst();
        const QString deviceKey = entry.section(QChar(u'\0'), 0, 0);
        const QString deviceName = entry.section(QChar(u'\0'), 1);
        bool yes = false;
        if (m_clearTextQuestion) {
            yes = m_clearTextQuestion(deviceName);
        } else {
            TipDialog question(this);
            question.setTitle(tr("Password in clear text"));
            question.setTipText(tr("The ONVIF device %1 accepts the password only in clear text, which anyone on "
                                   "the network can read. Send it the password anyway?")
                                    .arg(deviceName));
            //: button: send the password to the device that accepts it only in clear text
            question.setConfirmButtonText(tr("Send"));
            //: button: do not send the password to the device that accepts it only in clear text
            question.setCancelButtonText(tr("Skip"));
            enableCover();
            yes = question.exec() == QDialog::Accepted;
            disableCover();
        }
        if (yes && m_onvif)
            m_onvif->allowClearText(deviceKey);
    }
    m_askingClearText = false;
}

void VEXOToolMainPage::setRightPanel(QWidget *panel)
{
    if (!panel || panel == m_rightPanel)
        return;
    m_rightPanel = panel;
    // Between the device list and the right spacer.
    m_pageLayout->insertWidget(m_pageLayout->indexOf(m_rightSpace), panel);
    m_pinButton->setBuddy(panel);
    m_pinButton->raise();
    m_pinBorder->show();
    m_pinBorder->raise();
}

void VEXOToolMainPage::onMovePinButtion()
{
    if (!m_rightPanel || !m_pinButton)
        return;
    const int w = width();
    const int h = height();
    const int t = m_title->height();
    const int barY = int(h * 0.3 - 20);
    m_pinBorder->setFixedSize(PinBorderWidth, h - t);
    if (!m_rightPanel->isHidden()) {
        const int x = w - PinBorderWidth - m_rightPanel->width();
        m_pinBorder->move(x + 1, t);
        m_pinButton->move(x + 1, barY);
        m_pinButton->setObjectName(QStringLiteral("m_pUnSpreadButton"));
    } else {
        const int x = w - PinBorderWidth - FoldedBarInset;
        m_pinButton->move(x, barY);
        m_pinBorder->move(x, t);
        m_pinButton->setObjectName(QStringLiteral("m_pSpreadButton"));
    }
}

void VEXOToolMainPage::onShowOrHideRightSpace()
{
    if (!m_rightPanel)
        return;
    m_rightSpace->setVisible(m_rightPanel->isHidden());
}

void VEXOToolMainPage::OnBtnSystemMenu()
{
    const QPoint cursor = QCursor::pos();
    m_aboutMenu->popup(aboutMenuPosition(QPoint(cursor.x() - AboutMenuOffsetX, cursor.y())));
}

QPoint VEXOToolMainPage::aboutMenuPosition(QPoint wanted) const
{
    // Below the title bar, so that the panel never hides the window's own buttons, and inside
    // the window and the screen, however wide the panel has grown for its texts.
    const QSize menu = m_aboutMenu->sizeHint();
    const QRect window(mapToGlobal(QPoint(0, 0)), size());
    const int titleBottom = m_title->mapToGlobal(QPoint(0, m_title->height())).y();
    QRect area = window;
    if (const QScreen *screen = this->screen())
        area = area.intersected(screen->availableGeometry());
    if (area.isEmpty())
        area = window;
    const int x = qBound(area.left(), wanted.x(), qMax(area.left(), area.right() + 1 - menu.width()));
    const int y
        = qBound(qMax(area.top(), titleBottom), wanted.y(), qMax(area.top(), area.bottom() + 1 - menu.height()));
    return QPoint(x, y);
}

void VEXOToolMainPage::onBatchOperationsToggled(bool on)
{
    m_deviceDisplayPage->setBatchOperations(on);
    m_deviceModifyPage->setBatchOperations(on);
    apt::ConfigureManager *settings = apt::ConfigureManager::GetInstance();
    // The choice holds for this run either way; that it is not kept is said once.
    if (settings->setBatchOperations(on) || m_toldSettingsNotKept)
        return;
    m_toldSettingsNotKept = true;
    auto *dialog = new aptui::BaseDialog(false, false, false, false, true, true, false, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("settingsNotKeptMessage"));
    dialog->setFixedSize(400, 220);
    dialog->setTitle(tr("Batch operations"));
    dialog->setDefaultText(tr("Your settings apply until VEXO Tool closes but cannot be kept for the next start: %1 "
                              "cannot be written.")
                               .arg(QDir::toNativeSeparators(settings->writePath())));
    dialog->open();
}

void VEXOToolMainPage::addLanguageMenu()
{
    //: Title bar menu entry that opens the list of languages of the program
    m_languageMenu = new aptui::Menu(tr("Language"), m_aboutMenu); // styled as "Menu"
    m_languageMenu->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
    m_languageMenu->setAttribute(Qt::WA_TranslucentBackground);
    auto *group = new QActionGroup(m_languageMenu);
    // Each language by its own name, so that a user who cannot read the current one finds theirs.
    const std::pair<quint32, QString> languages[] = {
        //: The English language, written in English in every language
        {0, tr("English")},
        //: The Simplified Chinese language, written in Chinese in every language
        {1, tr("简体中文")},
    };
    const quint32 chosen = apt::ConfigureManager::GetInstance()->translator();
    for (const auto &[code, name] : languages) {
        QAction *action = m_languageMenu->addAction(name);
        action->setObjectName(QStringLiteral("m_actionLanguage%1").arg(code));
        action->setCheckable(true);
        action->setChecked(code == chosen);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, code = code] { onLanguageChosen(code); });
    }
    m_aboutMenu->addMenu(m_languageMenu);
}

void VEXOToolMainPage::onLanguageChosen(quint32 code)
{
    apt::ConfigureManager *settings = apt::ConfigureManager::GetInstance();
    const quint32 before = settings->translator();
    if (before == code)
        return;
    QString text;
    if (settings->setTranslator(code)) {
        // The windows are built with the texts of the language they started in, so the new
        // language applies from the next start; the message says so in both languages.
        //: Shown after the user picks another language; the same sentence in the chosen language follows
        text = tr("The new language applies when VEXO Tool starts again.");
        if (languageRestartText(code) != text)
            text += QLatin1Char('\n') + languageRestartText(code);
    } else {
        // Not kept: the next start would come up in the old language, so the menu says so too.
        settings->setTranslator(before);
        if (QAction *kept = m_languageMenu->findChild<QAction *>(QStringLiteral("m_actionLanguage%1").arg(before)))
            kept->setChecked(true);
        text = tr("The language could not be kept for the next start: %1 cannot be written.")
                   .arg(QDir::toNativeSeparators(settings->writePath()));
    }
    auto *dialog = new aptui::BaseDialog(false, false, false, false, true, true, false, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("languageRestartMessage"));
    dialog->setFixedSize(400, 220);
    dialog->setTitle(tr("Language"));
    dialog->setDefaultText(text);
    dialog->open();
}

QString VEXOToolMainPage::languageRestartText(quint32 code)
{
    // In the chosen language, whatever the program shows now.
    return code == 1 ? QStringLiteral("新的语言将在下次启动 VEXO 工具时生效。")
                     : QStringLiteral("The new language applies when VEXO Tool starts again.");
}

void VEXOToolMainPage::focusRightPanel()
{
    if (!m_rightPanel || m_rightPanel->isHidden())
        return;
    // The first field the user can type into, in the panel's tab order.
    for (QWidget *widget = m_rightPanel->nextInFocusChain(); widget && widget != m_rightPanel;
         widget = widget->nextInFocusChain()) {
        const auto *edit = qobject_cast<QLineEdit *>(widget);
        if (edit && !edit->isReadOnly() && edit->isEnabled() && edit->isVisible() && m_rightPanel->isAncestorOf(edit)
            && (edit->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void VEXOToolMainPage::setCover(bool coverIt)
{
    if (coverIt) {
        m_cover->resize(size());
        m_cover->show();
        m_cover->move(0, 0);
        m_cover->raise();
    } else {
        m_cover->hide();
        m_cover->lower();
    }
    m_covered = coverIt;
}

void VEXOToolMainPage::enableCover()
{
    setCover(true);
}

void VEXOToolMainPage::disableCover()
{
    setCover(false);
}

void VEXOToolMainPage::resizeEvent(QResizeEvent *event)
{
    m_cover->resize(event->size());
    if (m_covered)
        m_cover->move(0, 0);
    onMovePinButtion();
    QMainWindow::resizeEvent(event);
}

void VEXOToolMainPage::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1)
        emit signalGetHelp();
    event->accept();
}

void VEXOToolMainPage::closeEvent(QCloseEvent *event)
{
    TipDialog dialog(this);
    dialog.resize(350, 220);
    dialog.setTitle(tr("Exit"));
    dialog.setTipText(tr("Exit the VEXO software?"));
    setCover(true);
    if (dialog.exec() == QDialog::Accepted) {
        event->accept();
        return;
    }
    setCover(false);
    event->ignore();
}

} // namespace VexoTool

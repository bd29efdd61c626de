// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The panel with ONVIF rows, without a network: a stand-in ONVIF client records what the
// panel asks of it; the records sit in the program's device store.

#include "devicerecords.h"
#include "modalrecorder.h"

#include <devicemodifypage.h>
#include <onvifchanger.h>
#include <onvifpassworddialog.h>
#include <panelstate.h>
#include <subnetreach.h>

#include <devicestore.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <multistatelineedit.h>
#include <tipdialog.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMutex>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <memory>

using VexoTool::DeviceModifyPage;
using VexoTool::OnvifOutcome;
using VexoTool::OnvifTarget;

namespace {

// Records the panel's requests; answers each change with the outcome it is given.
class RecordingChanger : public VexoTool::OnvifChanger
{
public:
    OnvifOutcome setNetParams(const OnvifTarget &target, const DeviceNetParam &params) override
    {
        QMutexLocker lock(&mutex);
        changed.append(target.serialNumber);
        addresses.append(fieldText(params.ipv4Address));
        userNames.append(target.userName);
        return outcome;
    }
    OnvifOutcome reboot(const OnvifTarget &target) override
    {
        QMutexLocker lock(&mutex);
        rebooted.append(target.serialNumber);
        return OnvifOutcome{true, false, {}, {}};
    }
    OnvifOutcome setPassword(const OnvifTarget &target, const QString &newPassword) override
    {
        QMutexLocker lock(&mutex);
        passwords.append(target.userName + QLatin1Char(':') + target.password + QLatin1Char('>') + newPassword);
        consents.append(target.allowClearTextPassword);
        if (withoutHttps && !target.allowClearTextPassword) // nothing sent, as the client does
            return OnvifOutcome{false, false, {VexoTool::OnvifFailureKind::NotEncrypted, 0, {}, {}, {}}, {}};
        return outcome;
    }

    QByteArray pinnedCertificate(const OnvifTarget &target) const override { return pins.value(target.serialNumber); }
    bool forgetCertificate(const OnvifTarget &target) override { return pins.remove(target.serialNumber) > 0; }

    QMutex mutex;
    QHash<QString, QByteArray> pins; // by serial number; used from the GUI thread only
    OnvifOutcome outcome{true, false, {}, {}};
    QStringList changed;
    QStringList addresses;
    QStringList userNames;
    QStringList rebooted;
    QStringList passwords; // "user:current>new" of each password change
    QList<bool> consents;  // of each password change: the user let it go in clear
    bool withoutHttps = false;
};

// An ONVIF device as the ONVIF service reports it once identified (or not, without a MAC).
VEXO_DEVICE_INFO onvifRecord(int n, const QByteArray &ipv4, bool identified = true)
{
    VEXO_DEVICE_INFO record = deviceRecord(n, ipv4);
    setFieldText(record.leadText, "ONVIF");
    setFieldText(record.ipv4SubnetMask, "255.0.0.0");
    setFieldText(record.ipv4Gateway, "");
    record.port = 0;
    if (!identified) {
        setFieldText(record.serialNumber, "urn:uuid:5f0c1a2e-0000-4000-8000-00000000000" + QByteArray::number(n));
        setFieldText(record.macAddress, "");
    }
    return record;
}

DeviceInfo infoOf(const VEXO_DEVICE_INFO &record)
{
    DeviceInfo info;
    info.strSerialNumber = fieldText(record.serialNumber);
    info.strMAC = fieldText(record.macAddress);
    info.strIPv4Address = fieldText(record.ipv4Address);
    info.strDeviceType = fieldText(record.deviceTypeText);
    info.protocol = isOnvifRecord(record) ? DeviceProtocol::Onvif : DeviceProtocol::Vxdp;
    return info;
}

} // namespace

class tst_OnvifPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void controlsFollowTheSelection_data();
    void controlsFollowTheSelection();
    void panelFollowsEverySelection();
    void batchAddressRulesHoldForEveryDevice_data();
    void batchAddressRulesHoldForEveryDevice();
    void userNameLimit_data();
    void userNameLimit();
    void unreachableDeviceWaitsForGoAhead_data();
    void unreachableDeviceWaitsForGoAhead();
    void loopbackAddressOnlyForOnvif_data();
    void loopbackAddressOnlyForOnvif();
    void restartAnswerIsRouted_data();
    void restartAnswerIsRouted();
    void batchSaysWhichRowsItCannotDo_data();
    void batchSaysWhichRowsItCannotDo();
    void passwordChangeIsCheckedAndRouted_data();
    void passwordChangeIsCheckedAndRouted();
    void passwordDialogKeepsClipboardOut();
    void clearTextQuestionDefaultsToNo();
    void pinnedCertificateForgottenAfterYes_data();
    void pinnedCertificateForgottenAfterYes();

private:
    void select(const QVector<VEXO_DEVICE_INFO> &records)
    {
        QVector<DeviceInfo> infos;
        for (const VEXO_DEVICE_INFO &record : records) {
            m_store.add(record);
            infos.append(infoOf(record));
        }
        m_panel->onCurrentSelectionChange(infos.size() == 1 ? ModifySingle : ModifyBatch, infos);
    }
    aptui::MultiStateLineEdit *field(const char *name) const
    {
        return m_panel->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
    }
    QPushButton *button(const char *name) const { return m_panel->findChild<QPushButton *>(QLatin1String(name)); }
    /** @brief Where the panel's widgets differ from @p state; empty when they show it. */
    QStringList differences(const VexoTool::PanelState &state) const;

    DeviceStore m_store;
    // Over the linked library, which no case here starts.
    VEXO::VexoHandler m_discovery{VEXO::VexoLibrary::linked()};
    std::unique_ptr<DeviceModifyPage> m_panel;
    std::shared_ptr<RecordingChanger> m_changer;
    mutable QHash<QByteArray, QWidget *> m_widgets; // of m_panel, by object name
};

void tst_OnvifPanel::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("VEXO_SCOPE", "loopback"); // the device protocol's library is never started here
}

void tst_OnvifPanel::init()
{
    m_store.clear();
    m_panel = std::make_unique<DeviceModifyPage>(m_store, m_discovery);
    m_widgets.clear();
    m_changer = std::make_shared<RecordingChanger>();
    m_panel->setOnvifChanger(m_changer);
    m_panel->show();
}

void tst_OnvifPanel::cleanup()
{
    m_panel.reset();
    m_store.clear();
}

void tst_OnvifPanel::controlsFollowTheSelection_data()
{
    QTest::addColumn<QVector<VEXO_DEVICE_INFO>>("records");
    QTest::addColumn<bool>("userName");          // the user-name row is shown
    QTest::addColumn<bool>("recoveryEnabled");   // "Forget Password"
    QTest::addColumn<bool>("explainsDisabling"); // tool tips on recovery and activation say why
    QTest::addColumn<bool>("changePassword");    // "Change Password..." is offered

    QTest::addRow("one device protocol row")
        << QVector<VEXO_DEVICE_INFO>{deviceRecord(1)} << false << true << false << false;
    QTest::addRow("one ONVIF row") << QVector<VEXO_DEVICE_INFO>{onvifRecord(2, "127.1.0.2")} << true << false << true
                                   << true;
    QTest::addRow("one unidentified ONVIF row")
        << QVector<VEXO_DEVICE_INFO>{onvifRecord(3, "127.1.0.3", false)} << true << false << true << true;
    QTest::addRow("batch of device protocol rows")
        << QVector<VEXO_DEVICE_INFO>{deviceRecord(4), deviceRecord(5)} << false << false << false << false;
    QTest::addRow("batch of ONVIF rows") << QVector<VEXO_DEVICE_INFO>{onvifRecord(10, "127.1.0.10"),
                                                                      onvifRecord(11, "127.1.0.11")}
                                         << true << false << true << false;
    QTest::addRow("mixed batch") << QVector<VEXO_DEVICE_INFO>{deviceRecord(6), onvifRecord(7, "127.1.0.7")} << true
                                 << false << true << false;
}

void tst_OnvifPanel::controlsFollowTheSelection()
{
    QFETCH(QVector<VEXO_DEVICE_INFO>, records);
    QFETCH(bool, userName);
    QFETCH(bool, recoveryEnabled);
    QFETCH(bool, explainsDisabling);
    QFETCH(bool, changePassword);

    select(records);
    QCOMPARE(!button("m_btnChangePassword")->isHidden(), changePassword);
    // It takes recovery's place; a batch offers neither.
    QCOMPARE(!button("m_btnLostPassword")->isHidden(), records.size() == 1 && !changePassword);
    QCOMPARE(!field("m_lineEditUserName")->isHidden(), userName);
    QCOMPARE(!m_panel->findChild<QLabel *>(QStringLiteral("m_labelUserName"))->isHidden(), userName);
    QCOMPARE(field("m_lineEditUserName")->text(), QStringLiteral("admin"));
    QCOMPARE(button("m_btnLostPassword")->isEnabled(), recoveryEnabled);
    QCOMPARE(!button("m_btnLostPassword")->toolTip().isEmpty(), explainsDisabling);
    QCOMPARE(!button("m_btnActive")->toolTip().isEmpty(), explainsDisabling);
    QVERIFY(button("m_btnModify")->isEnabled());

    // Back to a device protocol row: nothing of ONVIF stays.
    m_store.clear();
    select({deviceRecord(9)});
    QVERIFY(field("m_lineEditUserName")->isHidden());
    QVERIFY(button("m_btnLostPassword")->isEnabled());
    QVERIFY(button("m_btnLostPassword")->toolTip().isEmpty());
    QVERIFY(button("m_btnChangePassword")->isHidden());
}

QStringList tst_OnvifPanel::differences(const VexoTool::PanelState &state) const
{
    using View = VexoTool::PanelState::View;
    QStringList differ;
    const auto expect = [&differ](const char *what, const QVariant &shown, const QVariant &wanted) {
        if (shown != wanted)
            differ.append(
                QStringLiteral("%1: %2 instead of %3").arg(QLatin1String(what), shown.toString(), wanted.toString()));
    };
    // Looked up once: the walk compares thousands of times.
    const auto widget = [this](const char *name) {
        QWidget *&found = m_widgets[name];
        if (!found)
            found = m_panel->findChild<QWidget *>(QLatin1String(name));
        return found;
    };
    const auto button = [&widget](const char *name) {
        return static_cast<QPushButton *>(widget(name));
    };
    const auto field = widget;
    const bool modifyArea = state.view == View::Empty || state.view == View::Modify;
    const int page = modifyArea ? 0 : 1;
    expect("form or notice", static_cast<QStackedWidget *>(widget("m_stackedWidget"))->currentIndex(), page);
    expect("modification area shown", !widget("m_frameModifyPara")->isHidden(), modifyArea);
    expect("activation area shown", !widget("m_frameActive")->isHidden(), state.view == View::Activate);
    expect("Modify enabled", button("m_btnModify")->isEnabled(), state.modifyEnabled);
    expect("Modify reason", button("m_btnModify")->toolTip(), state.modifyReason);
    expect("admin password enabled", field("m_lineEditAdminPassword")->isEnabled(), state.adminPasswordEnabled);
    expect("user name shown", !field("m_lineEditUserName")->isHidden(), state.userNameShown);
    expect("reach advice shown", !widget("m_labelReach")->isHidden(), state.reachShown);
    expect("Active enabled", button("m_btnActive")->isEnabled(), state.activeEnabled);
    expect("Active reason", button("m_btnActive")->toolTip(), state.activeReason);
    expect("Forget Password shown", !button("m_btnLostPassword")->isHidden(), state.forgetShown);
    expect("Forget Password enabled", button("m_btnLostPassword")->isEnabled(), state.forgetEnabled);
    expect("Forget Password reason", button("m_btnLostPassword")->toolTip(), state.forgetReason);
    expect("Change Password shown", !button("m_btnChangePassword")->isHidden(), state.changePasswordShown);
    expect("Change Password enabled", button("m_btnChangePassword")->isEnabled(), state.changePasswordEnabled);
    if (state.view == View::Modify) {
        expect("Port enabled", field("m_lineEditPort")->isEnabled(), state.devicePortEnabled);
        expect("Port reason", field("m_lineEditPort")->toolTip(), state.devicePortReason);
    }
    const auto *note = qobject_cast<QLabel *>(widget("m_labelSelectionNote"));
    expect("selection note", note ? note->text() : QStringLiteral("(none)"), state.selectionNote);
    expect("selection note shown", note && !note->isHidden(), !state.selectionNote.isEmpty());
    return differ;
}

void tst_OnvifPanel::panelFollowsEverySelection()
{
    // Devices of every kind: activated and not activated device protocol devices, ONVIF devices
    // this computer reaches and one it does not.
    QVector<VEXO_DEVICE_INFO> pool;
    // Some of them with a maker certificate, some without.
    for (int n = 1; n <= 6; ++n) {
        pool.append(deviceRecord(n));
        pool.last().inactive = n >= 4 ? 1 : 0;
        pool.last().identityFlags = n % 2 == 1 ? VEXO_IDENTITY_VERIFIED : 0;
    }
    pool.append(onvifRecord(7, "127.1.0.7"));
    pool.append(onvifRecord(8, "127.1.0.8", false));
    pool.append(onvifRecord(9, "10.1.2.9"));
    for (const VEXO_DEVICE_INFO &record : std::as_const(pool))
        m_store.add(record);
    m_panel->setAdapterSource([] { return QVector<VexoTool::AdapterAddress>{{QStringLiteral("lo"), 0x7f000001u, 8}}; });
    // What is shown and enabled, not where: without laying the panel out thousands of times.
    m_panel->hide();

    // Each step is a random selection as the list reports it, the batch switch flipped, or the
    // go-ahead for an unreachable device given or taken back. After every step the panel must
    // show what the state function gives for that step alone, whatever came before.
    QRandomGenerator random(35);
    bool batch = false;
    QVector<int> ticked;
    constexpr int Steps = 3000;
    for (int step = 0; step < Steps; ++step) {
        const int action = int(random.bounded(12));
        auto *goAhead = m_panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxReachAnyway"));
        QString what;
        if (action == 0) {
            batch = !batch;
            m_panel->setBatchOperations(batch);
            what = batch ? QStringLiteral("batch on") : QStringLiteral("batch off");
        } else if (action == 1 && !goAhead->isHidden()) {
            goAhead->click();
            what = QStringLiteral("go-ahead clicked");
        } else {
            // The list keeps one row at most without the batch switch.
            const int size = int(random.bounded(batch ? 5 : 2));
            ticked.clear();
            while (ticked.size() < size) {
                const int index = int(random.bounded(int(pool.size())));
                if (!ticked.contains(index))
                    ticked.append(index);
            }
            QVector<DeviceInfo> infos;
            int inactive = 0;
            for (const int index : std::as_const(ticked)) {
                infos.append(infoOf(pool.at(index)));
                inactive += pool.at(index).inactive != 0 ? 1 : 0;
            }
            const bool single = infos.size() <= 1;
            const ModifyPage kind = inactive == 0              ? (single ? ModifySingle : ModifyBatch)
                                    : inactive == infos.size() ? (single ? ActivateSingle : ActivateBatch)
                                                               : ActivateMixed;
            m_panel->onCurrentSelectionChange(kind, infos);
            what = QStringLiteral("ticked %1").arg(infos.size());
            for (const int index : std::as_const(ticked))
                what += QLatin1Char(' ') + fieldText(pool.at(index).ipv4Address)
                        + (pool.at(index).inactive ? QStringLiteral("(new)") : QString());
        }

        // The selection as the test knows it.
        VexoTool::PanelSelection selection;
        selection.count = int(ticked.size());
        selection.batch = batch;
        selection.loopbackScope = true;
        for (const int index : std::as_const(ticked)) {
            const VEXO_DEVICE_INFO &record = pool.at(index);
            if (isOnvifRecord(record))
                ++selection.onvifOnly;
            else if (!(record.identityFlags & VEXO_IDENTITY_VERIFIED))
                ++selection.unverified;
            if (record.inactive != 0) {
                ++selection.inactive;
                selection.inactiveNames.append(fieldText(record.ipv4Address));
            }
        }
        selection.unreachable = ticked.size() == 1 && isOnvifRecord(pool.at(ticked.first()))
                                && fieldText(pool.at(ticked.first()).ipv4Address).startsWith(u"10.");
        selection.goAhead = goAhead->isChecked();
        const QStringList differ = differences(VexoTool::PanelState::forSelection(selection));
        QVERIFY2(differ.isEmpty(),
                 qPrintable(QStringLiteral("step %1 (%2): %3").arg(step).arg(what, differ.join(QStringLiteral("; ")))));
    }
}

void tst_OnvifPanel::batchAddressRulesHoldForEveryDevice_data()
{
    QTest::addColumn<QVector<VEXO_DEVICE_INFO>>("records");
    QTest::addColumn<QString>("refusal"); // part of the message; empty when the change is sent
    QTest::addRow("ONVIF devices take a loopback address")
        << QVector<VEXO_DEVICE_INFO>{onvifRecord(1, "127.1.0.1"), onvifRecord(2, "127.1.0.2")} << "";
    QTest::addRow("a device protocol device first refuses it")
        << QVector<VEXO_DEVICE_INFO>{deviceRecord(3, "127.1.0.3"), onvifRecord(4, "127.1.0.4")} << "loopback";
    QTest::addRow("a device protocol device last refuses it")
        << QVector<VEXO_DEVICE_INFO>{onvifRecord(5, "127.1.0.5"), onvifRecord(6, "127.1.0.6"),
                                     deviceRecord(7, "127.1.0.7")}
        << "loopback";
}

void tst_OnvifPanel::batchAddressRulesHoldForEveryDevice()
{
    QFETCH(QVector<VEXO_DEVICE_INFO>, records);
    QFETCH(QString, refusal);
    ModalRecorder recorder;
    select(records);
    field("m_lineEditStartIp")->setText(QStringLiteral("127.1.0.50"));
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.0.0.0"));
    field("m_lineEditGateway")->setText(QStringLiteral("127.0.0.1"));
    field("m_lineEditAdminPassword")->setText(QStringLiteral("Admin12345"));
    button("m_btnModify")->click();
    QTRY_VERIFY(!recorder.messages.isEmpty() || !recorder.resultLists.isEmpty());
    if (refusal.isEmpty()) {
        QCOMPARE(m_changer->addresses.size(), records.size());
        QCOMPARE(m_changer->addresses.first(), QStringLiteral("127.1.0.50"));
    } else {
        QVERIFY(m_changer->addresses.isEmpty());
        QVERIFY2(recorder.messages.last().contains(refusal), qPrintable(recorder.messages.last()));
    }
}

void tst_OnvifPanel::userNameLimit_data()
{
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("kept");
    QTest::addColumn<bool>("hintShown");
    QTest::addRow("31 characters") << 31 << 31 << false;
    QTest::addRow("32 characters") << 32 << 32 << false;
    QTest::addRow("33rd character refused and said") << 33 << 32 << true;
}

void tst_OnvifPanel::userNameLimit()
{
    QFETCH(int, typed);
    QFETCH(int, kept);
    QFETCH(bool, hintShown);
    select({onvifRecord(1, "127.1.0.1")});
    aptui::MultiStateLineEdit *userName = field("m_lineEditUserName");
    userName->clear();
    userName->setFocus();
    QTest::keyClicks(userName, QString(typed, QLatin1Char('u')));
    QCOMPARE(userName->text().size(), kept);
    const QList<QLabel *> labels = m_panel->findChildren<QLabel *>();
    const bool shown = std::any_of(labels.cbegin(), labels.cend(), [](const QLabel *label) {
        return label->isVisible() && label->text().contains(QLatin1String("at most 32 characters"));
    });
    QCOMPARE(shown, hintShown);
}

void tst_OnvifPanel::unreachableDeviceWaitsForGoAhead_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QString>("advice"); // a phrase of the advice; empty: none shown
    QTest::addRow("inside the loopback adapter's subnet") << QByteArray("127.1.0.7") << "";
    QTest::addRow("outside every adapter's subnet") << QByteArray("10.1.2.7") << "10.0.0.0/8";
}

void tst_OnvifPanel::unreachableDeviceWaitsForGoAhead()
{
    QFETCH(QByteArray, address);
    QFETCH(QString, advice);
    select({onvifRecord(1, address)});
    const QLabel *label = m_panel->findChild<QLabel *>(QStringLiteral("m_labelReach"));
    auto *goAhead = m_panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxReachAnyway"));
    QCOMPARE(label->isVisible(), !advice.isEmpty());
    QVERIFY2(label->text().contains(advice), qPrintable(label->text()));
    QCOMPARE(goAhead->isVisible(), !advice.isEmpty());
    QCOMPARE(button("m_btnModify")->isEnabled(), advice.isEmpty());
    if (!advice.isEmpty()) {
        goAhead->click();
        QVERIFY(button("m_btnModify")->isEnabled());
        goAhead->click();
        QVERIFY(!button("m_btnModify")->isEnabled());
    }
}

void tst_OnvifPanel::loopbackAddressOnlyForOnvif_data()
{
    QTest::addColumn<VEXO_DEVICE_INFO>("record");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("refusal"); // part of the message, empty when the change is sent
    QTest::addRow("ONVIF row takes 127.1.0.9") << onvifRecord(1, "127.1.0.8") << "127.0.0.1"
                                               << "";
    QTest::addRow("device protocol row refuses 127.1.0.9") << deviceRecord(2, "127.1.0.8") << "127.0.0.1"
                                                           << "loopback";
    QTest::addRow("ONVIF row without a gateway keeps none") << onvifRecord(3, "127.1.0.8") << ""
                                                            << "";
    QTest::addRow("device protocol row needs a gateway") << deviceRecord(4, "198.51.100.8") << ""
                                                         << "Gateway";
}

void tst_OnvifPanel::loopbackAddressOnlyForOnvif()
{
    QFETCH(VEXO_DEVICE_INFO, record);
    QFETCH(QString, gateway);
    QFETCH(QString, refusal);
    ModalRecorder recorder;
    select({record});
    field("m_lineEditIpAddress")->setText(QStringLiteral("127.1.0.9"));
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.0.0.0"));
    field("m_lineEditGateway")->setText(gateway);
    field("m_lineEditAdminPassword")->setText(QStringLiteral("Admin12345"));
    button("m_btnModify")->click();
    QTRY_VERIFY(!m_panel->isOperationRunning());
    QTRY_VERIFY(!recorder.messages.isEmpty());
    QCOMPARE(m_changer->addresses, refusal.isEmpty() ? QStringList{QStringLiteral("127.1.0.9")} : QStringList{});
    if (!refusal.isEmpty())
        QVERIFY2(recorder.messages.last().contains(refusal), qPrintable(recorder.messages.last()));
    else
        QCOMPARE(m_changer->userNames, QStringList{QStringLiteral("admin")});
}

void tst_OnvifPanel::restartAnswerIsRouted_data()
{
    QTest::addColumn<bool>("restartNow");
    QTest::addColumn<QString>("says");
    QTest::addRow("restart now") << true << "restarting";
    QTest::addRow("later") << false << "until it restarts";
}

void tst_OnvifPanel::restartAnswerIsRouted()
{
    QFETCH(bool, restartNow);
    QFETCH(QString, says);
    ModalRecorder recorder;
    QStringList asked;
    m_panel->setRestartQuestion([&](const QStringList &devices) {
        asked = devices;
        return restartNow;
    });
    m_changer->outcome = OnvifOutcome{true, true, {}, {}};
    const VEXO_DEVICE_INFO record = onvifRecord(1, "127.1.0.8");
    select({record});
    field("m_lineEditIpAddress")->setText(QStringLiteral("127.1.0.20"));
    field("m_lineEditGateway")->setText(QStringLiteral("127.0.0.1"));
    field("m_lineEditAdminPassword")->setText(QStringLiteral("Admin12345"));
    button("m_btnModify")->click();
    QTRY_VERIFY(!recorder.messages.isEmpty());
    QCOMPARE(asked, QStringList{QStringLiteral("127.1.0.8")});
    QCOMPARE(m_changer->rebooted, restartNow ? QStringList{serialOf(record)} : QStringList{});
    QVERIFY2(recorder.messages.last().contains(says), qPrintable(recorder.messages.last()));
    // The store has the accepted settings either way.
    VEXO_DEVICE_INFO stored{};
    QVERIFY(m_store.get(serialOf(record), macOf(record), stored));
    QCOMPARE(fieldText(stored.ipv4Address), QStringLiteral("127.1.0.20"));
}

void tst_OnvifPanel::batchSaysWhichRowsItCannotDo_data()
{
    QTest::addColumn<bool>("withClient");
    QTest::addColumn<QStringList>("results"); // of the ONVIF rows: reachable, unreachable; empty: "Succeeded"
    QTest::addRow("ONVIF client present") << true << QStringList{QString(), QStringLiteral("no network adapter")};
    QTest::addRow("no ONVIF client") << false
                                     << QStringList{QStringLiteral("cannot change ONVIF devices"),
                                                    QStringLiteral("cannot change ONVIF devices")};
}

void tst_OnvifPanel::batchSaysWhichRowsItCannotDo()
{
    QFETCH(bool, withClient);
    QFETCH(QStringList, results);
    if (!withClient)
        m_panel->setOnvifChanger(nullptr);
    ModalRecorder recorder;
    const VEXO_DEVICE_INFO vxdp = deviceRecord(1);
    const VEXO_DEVICE_INFO reachable = onvifRecord(2, "127.1.0.2");
    const VEXO_DEVICE_INFO unreachable = onvifRecord(3, "10.1.2.3");
    select({vxdp, reachable, unreachable});
    m_panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxBatchDHCP"))->click(); // DHCP: no addresses to check
    field("m_lineEditAdminPassword")->setText(QStringLiteral("Admin12345"));
    button("m_btnModify")->click();
    QTRY_COMPARE(recorder.resultLists.size(), 1);
    const QList<QStringList> rows = recorder.resultLists.first().rows;
    QCOMPARE(rows.size(), 3); // no row dropped
    const auto resultOf = [&rows](const VEXO_DEVICE_INFO &record) {
        for (const QStringList &row : rows) {
            if (row.contains(serialOf(record)))
                return row.last();
        }
        return QStringLiteral("(no row)");
    };
    const auto matches = [](const QString &result, const QString &expected) {
        return expected.isEmpty() ? result == QLatin1String("Succeeded") : result.contains(expected);
    };
    QVERIFY(!resultOf(vxdp).isEmpty()); // the library is not running here: it failed, and says so
    QVERIFY2(matches(resultOf(reachable), results.at(0)), qPrintable(resultOf(reachable)));
    QVERIFY2(matches(resultOf(unreachable), results.at(1)), qPrintable(resultOf(unreachable)));
    QCOMPARE(m_changer->changed, withClient ? QStringList{serialOf(reachable)} : QStringList{});
}

void tst_OnvifPanel::clearTextQuestionDefaultsToNo()
{
    m_changer->withoutHttps = true;
    ModalRecorder recorder;
    // Enter, as a user who does not read the question, answers it.
    QStringList asked;
    QTimer enter;
    connect(&enter, &QTimer::timeout, this, [&asked] {
        auto *question = qobject_cast<VexoTool::TipDialog *>(QApplication::activeModalWidget());
        if (!question || !question->isVisible())
            return;
        asked.append(question->tipText());
        QTest::keyClick(question, Qt::Key_Return);
    });
    enter.start(20);
    OnvifTarget target;
    target.serialNumber = QStringLiteral("SN7");
    target.address = QStringLiteral("127.1.0.7");
    VexoTool::OnvifPasswordDialog dialog(m_changer, target);
    dialog.show();
    dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditCurrentPassword"))->setText("Old-pass1");
    dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditNewPassword"))->setText("New-pass12");
    dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditConfirmPassword"))->setText("New-pass12");
    dialog.findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();
    QTRY_VERIFY(!recorder.messages.isEmpty());
    QTRY_VERIFY(!dialog.isBusy());
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().contains(QLatin1String("SN7 (127.1.0.7)")), qPrintable(asked.first()));
    QCOMPARE(m_changer->consents, QList<bool>{false}); // never sent with consent
    QVERIFY2(recorder.messages.last().contains(QLatin1String("no HTTPS")), qPrintable(recorder.messages.last()));
    QVERIFY(dialog.isVisible());
}

void tst_OnvifPanel::pinnedCertificateForgottenAfterYes_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addRow("No keeps the pin") << false;
    QTest::addRow("Yes forgets it") << true;
}

void tst_OnvifPanel::pinnedCertificateForgottenAfterYes()
{
    QFETCH(bool, yes);
    const VEXO_DEVICE_INFO device = onvifRecord(1, "127.1.0.1");
    const QString serial = fieldText(device.serialNumber);
    const QByteArray fingerprint(32, '\xab');
    m_changer->pins.insert(serial, fingerprint);
    QStringList asked;
    m_panel->setForgetCertificateQuestion([&](const QString &name) {
        asked.append(name);
        return yes;
    });
    select({device});
    QPushButton *forget = button("m_btnForgetCertificate");
    QVERIFY(forget->isVisible());
    // The tool tip shows the whole fingerprint as the user compares it.
    QVERIFY2(forget->toolTip().contains(QString::fromLatin1(fingerprint.toHex(':').toUpper())),
             qPrintable(forget->toolTip()));

    forget->click();
    QCOMPARE(asked.size(), 1);
    QVERIFY2(asked.first().contains(serial) && asked.first().contains(QLatin1String("127.1.0.1")),
             qPrintable(asked.first()));
    QCOMPARE(m_changer->pins.contains(serial), !yes);
    QCOMPARE(forget->isVisible(), !yes);
}

void tst_OnvifPanel::passwordDialogKeepsClipboardOut()
{
    QGuiApplication::clipboard()->setText(QStringLiteral("Pasted"));
    OnvifTarget target;
    target.address = QStringLiteral("127.1.0.2");
    VexoTool::OnvifPasswordDialog dialog(m_changer, target);
    dialog.show();
    for (const char *name : {"m_lineEditCurrentPassword", "m_lineEditNewPassword", "m_lineEditConfirmPassword"}) {
        auto *field = dialog.findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
        QVERIFY(field);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(field->text().isEmpty(), name);
    }
}

QTEST_MAIN(tst_OnvifPanel)

#include "tst_onvifpanel.moc"

void tst_OnvifPanel::passwordChangeIsCheckedAndRouted_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("newPassword");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<bool>("deviceAccepts");
    QTest::addColumn<bool>("sent");
    QTest::addColumn<QString>("says");
    QTest::addColumn<QString>("typedUser"); // as typed in the dialog over "operator"

    QTest::addRow("no current password: nothing sent") << ""
                                                       << "Newpass123"
                                                       << "Newpass123" << true << false << "current password"
                                                       << "operator";
    QTest::addRow("empty new password: nothing sent") << "Admin12345"
                                                      << ""
                                                      << "" << true << false << "empty"
                                                      << "operator";
    QTest::addRow("confirmation differs: nothing sent") << "Admin12345"
                                                        << "Newpass123"
                                                        << "Newpass124" << true << false << "not match"
                                                        << "operator";
    QTest::addRow("one kind of character: nothing sent") << "Admin12345"
                                                         << "abcdefghij"
                                                         << "abcdefghij" << true << false << "8 to 16"
                                                         << "operator";
    QTest::addRow("device accepts: dialog closes") << "Admin12345"
                                                   << "Newpass123"
                                                   << "Newpass123" << true << true << "was changed"
                                                   << "operator";
    QTest::addRow("device refuses: dialog stays with the reason")
        << "Wrong12345"
        << "Newpass123"
        << "Newpass123" << false << true << "refused the user name or password"
        << "operator";
    QTest::addRow("new password is the user name typed instead: nothing sent")
        << "Admin12345"
        << "camera01"
        << "camera01" << true << false << "8 to 16"
        << "camera01";
}

void tst_OnvifPanel::passwordChangeIsCheckedAndRouted()
{
    QFETCH(QString, current);
    QFETCH(QString, newPassword);
    QFETCH(QString, confirmation);
    QFETCH(bool, deviceAccepts);
    QFETCH(bool, sent);
    QFETCH(QString, says);
    QFETCH(QString, typedUser);

    if (!deviceAccepts) {
        VexoTool::OnvifFailure refusal;
        refusal.kind = VexoTool::OnvifFailureKind::NotAuthorized;
        refusal.httpStatus = 401;
        m_changer->outcome = OnvifOutcome{false, false, refusal, {}};
    }
    ModalRecorder recorder;
    OnvifTarget target;
    target.serialNumber = QStringLiteral("SN1");
    target.address = QStringLiteral("127.1.0.2");
    target.userName = QStringLiteral("operator");
    VexoTool::OnvifPasswordDialog dialog(m_changer, target);
    dialog.show();
    auto *userName = dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditUserName"));
    QCOMPARE(userName->text(), QStringLiteral("operator"));
    userName->setText(typedUser);
    dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditCurrentPassword"))->setText(current);
    dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditNewPassword"))->setText(newPassword);
    dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditConfirmPassword"))->setText(confirmation);
    dialog.findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();
    QTRY_VERIFY(!recorder.messages.isEmpty());
    QTRY_VERIFY(!dialog.isBusy());
    QVERIFY2(recorder.messages.last().contains(says), qPrintable(recorder.messages.last()));
    QCOMPARE(m_changer->passwords,
             sent ? QStringList{QStringLiteral("operator:") + current + QLatin1Char('>') + newPassword}
                  : QStringList{});
    const bool closed = sent && deviceAccepts;
    QCOMPARE(dialog.result() == QDialog::Accepted, closed);
    QCOMPARE(dialog.isVisible(), !closed);
    // A refusal keeps what was typed for the next try.
    QCOMPARE(dialog.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditConfirmPassword"))->text(),
             confirmation);
}

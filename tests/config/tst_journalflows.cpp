// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The window's flows against simulated devices on loopback write one journal entry per device,
// with the values before and after, and leave no password in the journal's files.

#include "modalrecorder.h"
#include "simulatedlist.h"

#include <devicemodifypage.h>

#include <batchrecovery.h>
#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <plandialog.h>

#include <devicestore.h>
#include <journal.h>
#include <onvifchanger.h>
#include <onvifpassworddialog.h>
#include <vexohandler.h>

#include <linkmessagebox.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace VexoTool;

namespace {

constexpr int kDevices = 40;
const QString kPassword = QStringLiteral("Admin12345");
const QString kNewPassword = QStringLiteral("Fresh2026pass");
const QString kPlanPassword = QStringLiteral("Plan2026pw!");
const QString kOnvifPassword = QStringLiteral("Onvif#2026new");

enum class Flow { SingleChange, BatchChange, SingleActivation, BatchActivation, KeyExport, Plan, Onvif, OnvifPassword };

// An ONVIF client that does what it is asked; a change needs a restart.
class AgreeingChanger : public OnvifChanger
{
public:
    OnvifOutcome setNetParams(const OnvifTarget &, const DeviceNetParam &) override { return {true, true, {}, {}}; }
    OnvifOutcome reboot(const OnvifTarget &) override { return {true, false, {}, {}}; }
    OnvifOutcome setPassword(const OnvifTarget &, const QString &) override { return {true, false, {}, {}}; }
};

// An identified ONVIF device in the store, outside the simulator's addresses.
DeviceInfo addOnvifDevice(DeviceStore &store, int n)
{
    VEXO_DEVICE_INFO record{};
    setFieldText(record.leadText, "ONVIF");
    setFieldText(record.serialNumber, QStringLiteral("CAM-ONVIF-%1").arg(n).toLatin1());
    setFieldText(record.macAddress, QStringLiteral("0a-00-00-00-00-%1").arg(n, 2, 10, QLatin1Char('0')).toLatin1());
    setFieldText(record.ipv4Address, QStringLiteral("127.0.77.%1").arg(n).toLatin1());
    setFieldText(record.ipv4SubnetMask, "255.0.0.0");
    setFieldText(record.deviceTypeText, "DomeCam 4");
    store.add(record);
    DeviceInfo info;
    info.strSerialNumber = fieldText(record.serialNumber);
    info.strMAC = fieldText(record.macAddress);
    info.strIPv4Address = fieldText(record.ipv4Address);
    info.protocol = DeviceProtocol::Onvif;
    return info;
}

} // namespace

Q_DECLARE_METATYPE(Flow)

class tst_JournalFlows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void flowWritesOneEntryPerDevice_data();
    void flowWritesOneEntryPerDevice();

private:
    using Filter = std::function<bool(const VEXO_DEVICE_INFO &)>;
    /** @brief Devices not used by an earlier case, in list order. */
    QVector<DeviceInfo> take(int count, const Filter &filter);
    aptui::MultiStateLineEdit *field(const char *name) const
    {
        return m_panel->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
    }
    void click(const char *button) { m_panel->findChild<QPushButton *>(QLatin1String(button))->click(); }
    /** @brief Runs @p flow on @p devices; the addresses the devices are to have afterwards (by serial). */
    QHash<QString, QString> run(Flow flow, const QVector<DeviceInfo> &devices);
    /** @brief The journal's files as they lie on the disk. */
    QByteArray journalBytes() const;

    QTemporaryDir m_dir;
    SimulatedList m_devices;
    std::unique_ptr<Journal> m_journal;
    std::unique_ptr<DeviceModifyPage> m_panel;
    QSet<QString> m_used;
};

void tst_JournalFlows::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    registerModifyPageMetaType();
    WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(300));
    QVERIFY(m_devices.start(kDevices, 11, 1500, true));
    JournalSettings settings;
    settings.databasePath = m_dir.filePath(QStringLiteral("journal.sqlite"));
    m_journal = std::make_unique<Journal>(settings);

    DeviceDisplayPage *list = &m_devices.page();
    list->setJournal(m_journal.get());
    m_panel = std::make_unique<DeviceModifyPage>(m_devices.store(), m_devices.discovery());
    m_panel->setJournal(m_journal.get());
    m_panel->setOnvifChanger(std::make_shared<AgreeingChanger>());
    m_panel->setRestartQuestion([](const QStringList &) { return true; });
    connect(list, &DeviceDisplayPage::signalCurrentSelectionModelChange, m_panel.get(),
            &DeviceModifyPage::onCurrentSelectionChange, Qt::DirectConnection);
    connect(m_panel.get(), &DeviceModifyPage::signalModifyResult, list, &DeviceDisplayPage::onDevicesModifyResult);
    connect(m_panel.get(), &DeviceModifyPage::signalActiveResult, list, &DeviceDisplayPage::onDevicesActiveResult);
    m_panel->show();
}

void tst_JournalFlows::cleanupTestCase()
{
    m_devices.discovery().stop();
    m_panel.reset();
    m_journal.reset();
    m_devices.stop();
}

QVector<DeviceInfo> tst_JournalFlows::take(int count, const Filter &filter)
{
    QVector<VEXO_DEVICE_INFO> records;
    m_devices.store().copyAll(records);
    QVector<DeviceInfo> devices;
    const DeviceInfoModel *model = m_devices.page().model();
    for (const VEXO_DEVICE_INFO &record : std::as_const(records)) {
        const QString serial = fieldText(record.serialNumber);
        if (devices.size() < count && !m_used.contains(serial) && filter(record)) {
            m_used.insert(serial);
            devices.append(m_devices.page().deviceInfoOfRow(model->rowOf(serial, fieldText(record.macAddress))));
        }
    }
    return devices;
}

QByteArray tst_JournalFlows::journalBytes() const
{
    QByteArray bytes;
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-journal")}) {
        QFile file(m_journal->databasePath() + suffix);
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll();
    }
    return bytes;
}

QHash<QString, QString> tst_JournalFlows::run(Flow flow, const QVector<DeviceInfo> &devices)
{
    QHash<QString, QString> addresses;
    ModalRecorder recorder;
    switch (flow) {
    case Flow::SingleChange:
    case Flow::BatchChange: {
        const bool single = flow == Flow::SingleChange;
        m_panel->onCurrentSelectionChange(single ? ModifySingle : ModifyBatch, devices);
        const QString address = single ? QStringLiteral("10.78.0.11") : QStringLiteral("10.78.0.21");
        field(single ? "m_lineEditIpAddress" : "m_lineEditStartIp")->setText(address);
        field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.255.0"));
        field("m_lineEditGateway")->setText(QStringLiteral("10.78.0.1"));
        if (!single) {
            VEXO_DEVICE_INFO record{};
            m_devices.store().get(devices.first().strSerialNumber, devices.first().strMAC, record);
            if (field("m_lineEditPort")->isEnabled())
                field("m_lineEditPort")->setText(QString::number(record.port));
        }
        field("m_lineEditAdminPassword")->setText(kPassword);
        click("m_btnModify");
        if (single) {
            if (!QTest::qWaitFor([&recorder] { return !recorder.messages.isEmpty(); }, 15000))
                QTest::qFail("the panel said nothing within 15 s", __FILE__, __LINE__);
            addresses.insert(devices.first().strSerialNumber, address);
        } else {
            for (int j = 0; j < devices.size(); ++j)
                addresses.insert(devices.at(j).strSerialNumber, QStringLiteral("10.78.0.%1").arg(21 + j));
        }
        break;
    }
    case Flow::SingleActivation:
    case Flow::BatchActivation:
        m_panel->onCurrentSelectionChange(flow == Flow::SingleActivation ? ActivateSingle : ActivateBatch, devices);
        field("m_lineEditNewPassword")->setText(kNewPassword);
        field("m_lineEditConfirmPassword")->setText(kNewPassword);
        click("m_btnActive");
        if (flow == Flow::SingleActivation
            && !QTest::qWaitFor([&recorder] { return !recorder.messages.isEmpty(); }, 15000))
            QTest::qFail("the panel said nothing within 15 s", __FILE__, __LINE__);
        break;
    case Flow::Onvif:
        m_panel->onCurrentSelectionChange(ModifySingle, devices);
        field("m_lineEditIpAddress")->setText(QStringLiteral("127.0.78.1"));
        field("m_lineEditAdminPassword")->setText(kPassword);
        click("m_btnModify");
        if (!QTest::qWaitFor([&recorder] { return !recorder.messages.isEmpty(); }, 15000))
            QTest::qFail("the panel said nothing within 15 s", __FILE__, __LINE__);
        addresses.insert(devices.first().strSerialNumber, QStringLiteral("127.0.78.1"));
        break;
    case Flow::OnvifPassword: {
        m_panel->onCurrentSelectionChange(ModifySingle, devices);
        field("m_lineEditAdminPassword")->setText(kPassword);
        QTimer typist;
        connect(&typist, &QTimer::timeout, this, [] {
            auto *dialog = qobject_cast<OnvifPasswordDialog *>(QApplication::activeModalWidget());
            if (!dialog || dialog->isBusy())
                return;
            const auto set = [dialog](const char *name, const QString &text) {
                dialog->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name))->setText(text);
            };
            set("m_lineEditCurrentPassword", kPassword);
            set("m_lineEditNewPassword", kOnvifPassword);
            set("m_lineEditConfirmPassword", kOnvifPassword);
            dialog->findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();
        });
        typist.start(50);
        m_panel->onChangeOnvifPassword();
        break;
    }
    case Flow::KeyExport: {
        QVector<BatchDevice> batch;
        for (const DeviceInfo &device : devices) {
            VEXO_DEVICE_INFO record{};
            m_devices.store().get(device.strSerialNumber, device.strMAC, record);
            batch.append(
                {device.strSerialNumber, fieldText(record.startTime), fieldText(record.softwareVersion), record});
        }
        QTimer closer;
        connect(&closer, &QTimer::timeout, this, [] {
            if (auto *box = qobject_cast<aptui::LinkMessageBox *>(QApplication::activeModalWidget()))
                box->reject();
        });
        closer.start(50);
        BatchRecovery::exportKeys(m_devices.discovery(), m_panel.get(), batch, m_journal.get());
        break;
    }
    case Flow::Plan: {
        QByteArray plan = "serial,ipv4,mask,gateway,password\n";
        for (int j = 0; j < devices.size(); ++j) {
            const QString address = QStringLiteral("10.78.1.%1").arg(11 + j);
            plan += QStringLiteral("%1,%2,255.255.255.0,10.78.1.1,%3\n")
                        .arg(devices.at(j).strSerialNumber, address, kPlanPassword)
                        .toUtf8();
            addresses.insert(devices.at(j).strSerialNumber, address);
        }
        const QString path = m_dir.filePath(QStringLiteral("plan.csv"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(plan) != plan.size())
            return {};
        file.close();
        PlanDialog dialog(m_devices.store(), m_devices.discovery());
        dialog.setJournal(m_journal.get());
        dialog.loadPlan(path);
        dialog.findChild<QLineEdit *>(QStringLiteral("m_lineEditPassword"))->setText(kPassword);
        QSignalSpy finished(&dialog, &PlanDialog::signalApplyFinished);
        dialog.applyPlan();
        if (!finished.wait(20000))
            return {};
        break;
    }
    }
    return addresses;
}

void tst_JournalFlows::flowWritesOneEntryPerDevice_data()
{
    QTest::addColumn<Flow>("flow");
    QTest::addColumn<JournalFlow>("kind");
    QTest::addColumn<int>("active");   // how many active devices the flow works on
    QTest::addColumn<int>("inactive"); // and how many new ones
    QTest::addColumn<int>("failures"); // how many of them fail
    QTest::addColumn<int>("onvif");    // and how many ONVIF devices it works on

    QTest::addRow("single network change") << Flow::SingleChange << JournalFlow::NetworkChange << 1 << 0 << 0 << 0;
    QTest::addRow("batch network change") << Flow::BatchChange << JournalFlow::BatchNetworkChange << 3 << 0 << 0 << 0;
    QTest::addRow("single activation") << Flow::SingleActivation << JournalFlow::Activation << 0 << 1 << 0 << 0;
    QTest::addRow("batch activation, one device already active")
        << Flow::BatchActivation << JournalFlow::Activation << 1 << 2 << 1 << 0;
    QTest::addRow("batch key export") << Flow::KeyExport << JournalFlow::BatchKeyExport << 2 << 0 << -1 << 0;
    QTest::addRow("plan applied") << Flow::Plan << JournalFlow::PlanApply << 2 << 0 << 0 << 0;
    // The change needs a restart, which the user lets happen at once: a restart entry of its own.
    QTest::addRow("ONVIF change") << Flow::Onvif << JournalFlow::OnvifChange << 0 << 0 << 0 << 1;
    QTest::addRow("ONVIF password change")
        << Flow::OnvifPassword << JournalFlow::OnvifPasswordChange << 0 << 0 << 0 << 1;
}

void tst_JournalFlows::flowWritesOneEntryPerDevice()
{
    QFETCH(Flow, flow);
    QFETCH(JournalFlow, kind);
    QFETCH(int, active);
    QFETCH(int, inactive);
    QFETCH(int, failures);
    QFETCH(int, onvif);
    // A recorder cannot take a start address in a batch: the batch takes cameras only.
    QVector<DeviceInfo> devices = take(inactive, [](const VEXO_DEVICE_INFO &r) { return r.inactive != 0; });
    devices += take(active, [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && !r.dhcpEnabled && (r.deviceTypeCode < 0x9D00 || r.deviceTypeCode > 0x9FFF);
    });
    for (int n = 0; n < onvif; ++n)
        devices.append(addOnvifDevice(m_devices.store(), int(m_used.size()) + n + 1));
    QCOMPARE(devices.size(), qsizetype(active + inactive + onvif));
    JournalFilter ofFlow;
    ofFlow.flows = {kind};
    JournalFilter reboots;
    reboots.flows = {JournalFlow::Reboot};
    const qint64 earlierReboots = qMax(m_journal->count(reboots), qint64(0));
    // A journal nothing was written to yet has no file to count in.
    const qint64 earlier = qMax(m_journal->count(ofFlow), qint64(0));

    const QHash<QString, QString> addresses = run(flow, devices);
    QVERIFY(m_journal->flush());

    QCOMPARE(m_journal->count(ofFlow), earlier + devices.size());
    const JournalPage page = m_journal->query(ofFlow, 0, int(devices.size()));
    QVERIFY(page.ok);
    QSet<QString> serials;
    int failed = 0;
    for (const JournalEntry &entry : page.entries) {
        serials.insert(entry.serialNumber);
        failed += entry.result == JournalResult::Failed;
        QVERIFY(!entry.mac.isEmpty());
        QCOMPARE(entry.program, QStringLiteral("tst_journalflows"));
        QCOMPARE(entry.protocol, onvif ? QStringLiteral("ONVIF") : QStringLiteral("VXDP"));
        QVERIFY(!entry.before.ipv4Address.isEmpty());
        if (entry.result == JournalResult::Failed) {
            QVERIFY(!entry.explanation.isEmpty());
            QCOMPARE(entry.after, entry.before);
        } else if (addresses.contains(entry.serialNumber)) {
            QCOMPARE(entry.after.ipv4Address, addresses.value(entry.serialNumber));
            QVERIFY(entry.before.ipv4Address != entry.after.ipv4Address);
        }
        QCOMPARE(entry.after.passwordSet, (kind == JournalFlow::Activation || kind == JournalFlow::OnvifPasswordChange)
                                              && entry.result == JournalResult::Succeeded);
    }
    QCOMPARE(serials.size(), devices.size());
    for (const DeviceInfo &device : std::as_const(devices))
        QVERIFY2(serials.contains(device.strSerialNumber), qPrintable(device.strSerialNumber));
    if (failures >= 0)
        QCOMPARE(failed, failures);
    QCOMPARE(m_journal->count(reboots) - earlierReboots, qint64(kind == JournalFlow::OnvifChange ? onvif : 0));

    const QByteArray bytes = journalBytes();
    QVERIFY(!bytes.isEmpty());
    for (const QString &secret : {kPassword, kNewPassword, kPlanPassword, kOnvifPassword}) {
        QVERIFY2(!bytes.contains(secret.toUtf8()), qPrintable(secret));
        QVERIFY2(!bytes.contains(QByteArray(reinterpret_cast<const char *>(secret.utf16()), secret.size() * 2)),
                 qPrintable(secret));
    }
}

QTEST_MAIN(tst_JournalFlows)
#include "tst_journalflows.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The modify panel against simulated devices on loopback: the discovery library, the device
// list and the panel wired as the main window wires them.

#include "modalrecorder.h"
#include "simulatedlist.h"

#include <devicemodifypage.h>

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>

#include <devicestore.h>
#include <errorexplanation.h>
#include <vexohandler.h>

#include <multistatelineedit.h>
#include <warningdialog.h>

#include <resetpassworddialog.h>
#include <restorepassworddialog.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QKeySequence>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using VEXO::VexoHandler;
using VexoTool::DeviceDisplayPage;
using VexoTool::DeviceInfoModel;
using VexoTool::DeviceModifyPage;

namespace {

constexpr int kDevices = 100;
const QString kPassword = QStringLiteral("Admin12345");
const QString kNewPassword = QStringLiteral("Fresh2026pass");

enum class Ipv6Kind { None, Modifiable, Fixed };

} // namespace

Q_DECLARE_METATYPE(Ipv6Kind)

class tst_DeviceModifyPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void singleModifyChangesAddress_data();
    void singleModifyChangesAddress();
    void singleModifyFailures_data();
    void singleModifyFailures();
    void singleModifyRefusedBeforeAnyRequest_data();
    void singleModifyRefusedBeforeAnyRequest();
    void singleModifyKeepsWebPortNotAvailable();
    void batchModifySetsBothPorts_data();
    void batchModifySetsBothPorts();
    void slowDeviceKeepsWindowResponsive();
    void batchModifyNumbersDevices_data();
    void batchModifyNumbersDevices();
    void batchModifyRefusedBeforeTouchingDevices_data();
    void batchModifyRefusedBeforeTouchingDevices();
    void batchModifyWithDhcp();
    void selectionReplacedWhileBatchRuns();
    void uncheckingDhcpRestoresStoredAddress();
    void passwordFieldsKeepClipboardOut_data();
    void passwordFieldsKeepClipboardOut();
    void passwordLimitIsSaid_data();
    void passwordLimitIsSaid();
    void tabFollowsWhatIsShown();
    void enterPressesTheMainButton_data();
    void enterPressesTheMainButton();
    void activationChecks_data();
    void activationChecks();
    void singleActivation();
    void lateActivationConfirmedByAnnouncement();
    void batchActivationListsEachOutcome();
    void forgetPasswordOpensRecoveryDialog_data();
    void forgetPasswordOpensRecoveryDialog();

private:
    using Filter = std::function<bool(const VEXO_DEVICE_INFO &)>;
    /** @brief Devices not used by an earlier case, in list order. */
    QVector<DeviceInfo> take(int count, const Filter &filter);
    DeviceInfo infoOf(const VEXO_DEVICE_INFO &record) const;
    QString simulatedAddress(const QString &serial);
    QMap<QString, QString> simulatedAddresses();
    /** @brief The device as the simulator keeps it in its state file (ports, mask, ...). */
    QJsonObject simulatedDevice(const QString &serial) const;
    aptui::MultiStateLineEdit *field(const char *name) const
    {
        return m_panel->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
    }
    void click(const char *button) { m_panel->findChild<QPushButton *>(QLatin1String(button))->click(); }
    /** @brief A batch must name the port its devices share; give them the one they have. */
    void keepSharedPort(const QVector<DeviceInfo> &devices)
    {
        VEXO_DEVICE_INFO record{};
        m_devices.store().get(devices.first().strSerialNumber, devices.first().strMAC, record);
        if (field("m_lineEditPort")->isEnabled())
            field("m_lineEditPort")->setText(QString::number(record.port));
    }

    SimulatedList m_devices;
    DeviceDisplayPage *m_list = nullptr;
    std::unique_ptr<DeviceModifyPage> m_panel;
    QSet<QString> m_used;
};

void tst_DeviceModifyPage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    registerModifyPageMetaType();
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(300));
    QVERIFY(m_devices.start(kDevices, 5, 1500, true));

    // The panel works on the list's store and service, as in the main window.
    m_list = &m_devices.page();
    m_panel = std::make_unique<DeviceModifyPage>(m_devices.store(), m_devices.discovery());
    connect(m_list, &DeviceDisplayPage::signalCurrentSelectionModelChange, m_panel.get(),
            &DeviceModifyPage::onCurrentSelectionChange, Qt::DirectConnection);
    connect(m_panel.get(), &DeviceModifyPage::signalModifyResult, m_list, &DeviceDisplayPage::onDevicesModifyResult);
    connect(m_panel.get(), &DeviceModifyPage::signalActiveResult, m_list, &DeviceDisplayPage::onDevicesActiveResult);
    m_panel->show();
}

void tst_DeviceModifyPage::cleanupTestCase()
{
    m_devices.discovery().stop();
    m_panel.reset();
    m_devices.stop();
}

void tst_DeviceModifyPage::init()
{
    m_panel->onCurrentSelectionChange(ModifySingle, {});
}

DeviceInfo tst_DeviceModifyPage::infoOf(const VEXO_DEVICE_INFO &record) const
{
    const DeviceInfoModel *model = m_list->model();
    const int row = model->rowOf(fieldText(record.serialNumber), fieldText(record.macAddress));
    return m_list->deviceInfoOfRow(row);
}

QVector<DeviceInfo> tst_DeviceModifyPage::take(int count, const Filter &filter)
{
    QVector<VEXO_DEVICE_INFO> records;
    m_devices.store().copyAll(records);
    QVector<DeviceInfo> devices;
    for (const VEXO_DEVICE_INFO &record : std::as_const(records)) {
        const QString serial = fieldText(record.serialNumber);
        if (devices.size() < count && !m_used.contains(serial) && filter(record)) {
            m_used.insert(serial);
            devices.append(infoOf(record));
        }
    }
    return devices;
}

QMap<QString, QString> tst_DeviceModifyPage::simulatedAddresses()
{
    // "SERIAL MAC IPV4 ACTIVATED" per device.
    QMap<QString, QString> addresses;
    for (const QString &line : m_devices.simulator().command(QStringLiteral("list"))) {
        const QStringList parts = line.split(QLatin1Char(' '));
        if (parts.size() == 4)
            addresses.insert(parts.at(0), parts.at(2));
    }
    return addresses;
}

QJsonObject tst_DeviceModifyPage::simulatedDevice(const QString &serial) const
{
    QFile file(m_devices.statePath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonDocument state = QJsonDocument::fromJson(file.readAll());
    const QJsonArray devices
        = state.isArray() ? state.array() : state.object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue &device : devices) {
        if (device.toObject().value(QStringLiteral("serial")).toString() == serial)
            return device.toObject();
    }
    return {};
}

QString tst_DeviceModifyPage::simulatedAddress(const QString &serial)
{
    return simulatedAddresses().value(serial);
}

void tst_DeviceModifyPage::singleModifyChangesAddress_data()
{
    QTest::addColumn<Ipv6Kind>("kind");
    QTest::addColumn<QString>("address");

    QTest::addRow("device without IPv6") << Ipv6Kind::None << "10.77.0.11";
    QTest::addRow("device that can change IPv6") << Ipv6Kind::Modifiable << "10.77.0.12";
    QTest::addRow("device whose IPv6 is fixed") << Ipv6Kind::Fixed << "10.77.0.13";
}

void tst_DeviceModifyPage::singleModifyChangesAddress()
{
    QFETCH(Ipv6Kind, kind);
    QFETCH(QString, address);
    const QVector<DeviceInfo> devices = take(1, [kind](const VEXO_DEVICE_INFO &r) {
        if (r.inactive || r.dhcpEnabled)
            return false;
        switch (kind) {
        case Ipv6Kind::None:
            return r.extendedInfoValid == 0;
        case Ipv6Kind::Modifiable:
            return r.extendedInfoValid == 1 && (r.capabilityFlags & VEXO_CAP_MOD_IPV6);
        case Ipv6Kind::Fixed:
            return r.extendedInfoValid == 1 && !(r.capabilityFlags & VEXO_CAP_MOD_IPV6);
        }
        return false;
    });
    QCOMPARE(devices.size(), qsizetype(1));
    const DeviceInfo device = devices.first();

    // The user checks the row; the list reports it to the panel.
    DeviceInfoModel *model = m_list->model();
    const int row = model->rowOf(device.strSerialNumber, device.strMAC);
    model->setCheckState(row, Qt::Checked);
    QCOMPARE(m_panel->selection().size(), qsizetype(1));
    QCOMPARE(field("m_lineEditSerialNumber")->text(), device.strSerialNumber);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    field("m_lineEditIpAddress")->setText(address);
    field("m_lineEditGateway")->setText(QStringLiteral("10.77.0.1")); // the gateway moves with the subnet
    field("m_lineEditAdminPassword")->setText(kPassword);
    ModalRecorder recorder;
    click("m_btnModify");
    QTRY_COMPARE(recorder.messages, QStringList{QStringLiteral("Modify network parameters succeed.")});
    QCOMPARE(results.count(), 1);
    QCOMPARE(results.at(0).at(0).value<QVector<DeviceInfo>>().first().strResult, QStringLiteral("Succeed"));
    QCOMPARE(simulatedAddress(device.strSerialNumber), address);
    // The device announces its change; the row keeps the new address.
    QTRY_COMPARE(m_list->deviceInfoOfRow(row).strIPv4Address, address);
    QTest::qWait(300);
    QCOMPARE(m_list->deviceInfoOfRow(row).strIPv4Address, address);
    model->setCheckState(row, Qt::Unchecked);
}

void tst_DeviceModifyPage::singleModifyFailures_data()
{
    QTest::addColumn<QString>("prepare"); // simulator command run on the device (%1) first
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("message"); // the first line; the code's explanation follows
    QTest::addColumn<quint32>("code");
    QTest::addColumn<QString>("result"); // the device's result text afterwards

    QTest::addRow("wrong password") << ""
                                    << "Wrong12345"
                                    << "Device deny." << quint32(VEXO_ERR_DEVICE_DENY) << "0";
    QTest::addRow("device that stopped answering")
        << "vanish %1" << kPassword << "Time out." << quint32(VEXO_ERR_TIMEOUT) << "0";
    QTest::addRow("device locked after refusals")
        << "lock %1" << kPassword << "Error2022:others" << quint32(VEXO_ERR_LOCKED) << "Error2022:others";
}

void tst_DeviceModifyPage::singleModifyFailures()
{
    QFETCH(QString, prepare);
    QFETCH(QString, password);
    QFETCH(QString, message);
    QFETCH(quint32, code);
    QFETCH(QString, result);
    const QVector<DeviceInfo> devices
        = take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0 && r.dhcpEnabled == 0; });
    QCOMPARE(devices.size(), qsizetype(1));
    const DeviceInfo device = devices.first();
    const QString before = simulatedAddress(device.strSerialNumber);
    m_panel->onCurrentSelectionChange(ModifySingle, devices);
    if (!prepare.isEmpty())
        QCOMPARE(m_devices.simulator().commandResult(prepare.arg(device.strSerialNumber)), QStringLiteral("ok"));

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    field("m_lineEditIpAddress")->setText(QStringLiteral("10.77.1.20"));
    field("m_lineEditGateway")->setText(QStringLiteral("10.77.1.1"));
    field("m_lineEditAdminPassword")->setText(password);
    ModalRecorder recorder;
    click("m_btnModify");
    // A time-out waits a few seconds for the device's announcement before it is reported.
    QTRY_COMPARE_WITH_TIMEOUT(recorder.messages,
                              QStringList{VexoTool::ErrorExplanation::withExplanation(message, code)}, 15000);
    QCOMPARE(results.count(), 0);
    QCOMPARE(m_panel->selection().first().strResult, result);
    if (prepare.startsWith(QLatin1String("vanish")))
        QCOMPARE(m_devices.simulator().commandResult(QStringLiteral("start ") + device.strSerialNumber),
                 QStringLiteral("ok"));
    QCOMPARE(simulatedAddress(device.strSerialNumber), before);
}

// Refusals that must come before anything is sent: the device keeps its address.
void tst_DeviceModifyPage::singleModifyRefusedBeforeAnyRequest_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("address"); // "@": the address of another listed device
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("marked");

    QTest::addRow("empty administrator password")
        << ""
        << "10.77.2.20"
        << "Sorry, please enter the administrator password." << QByteArray("m_lineEditAdminPassword");
    QTest::addRow("address of another listed device")
        << kPassword << "@"
        << "The address @ is already used by another device in the list." << QByteArray("m_lineEditIpAddress");
    QTest::addRow("subnet broadcast") << kPassword << "10.77.2.255"
                                      << "The IP address is the broadcast address of its subnet. Use an address "
                                         "from 10.77.2.1 to 10.77.2.254."
                                      << QByteArray("m_lineEditIpAddress");
}

void tst_DeviceModifyPage::singleModifyRefusedBeforeAnyRequest()
{
    QFETCH(QString, password);
    QFETCH(QString, address);
    QFETCH(QString, message);
    QFETCH(QByteArray, marked);
    const QVector<DeviceInfo> devices
        = take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0 && r.dhcpEnabled == 0; });
    QCOMPARE(devices.size(), qsizetype(1));
    const DeviceInfo device = devices.first();
    if (address == QLatin1String("@")) {
        const QVector<DeviceInfo> other = take(1, [](const VEXO_DEVICE_INFO &) { return true; });
        QCOMPARE(other.size(), qsizetype(1));
        address = other.first().strIPv4Address;
        message.replace(QLatin1Char('@'), address);
    }
    const QString before = simulatedAddress(device.strSerialNumber);
    m_panel->onCurrentSelectionChange(ModifySingle, devices);
    field("m_lineEditIpAddress")->setText(address);
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.255.0"));
    field("m_lineEditGateway")->setText(QStringLiteral("0.0.0.0"));
    field("m_lineEditAdminPassword")->setText(password);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    ModalRecorder recorder;
    click("m_btnModify");
    QTest::qWait(200); // a request that went out after all would have its answer by now
    QCOMPARE(recorder.messages, QStringList{message});
    QCOMPARE(field(marked.constData())->lineEditState(), aptui::MultiStateLineEdit::ERROR);
    QCOMPARE(results.count(), 0);
    QCOMPARE(simulatedAddress(device.strSerialNumber), before);
}

// A device without a web server reports HTTP port 0; a change of something else leaves it so.
void tst_DeviceModifyPage::singleModifyKeepsWebPortNotAvailable()
{
    const QVector<DeviceInfo> devices
        = take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0 && r.dhcpEnabled == 0 && r.httpPort == 0; });
    QCOMPARE(devices.size(), qsizetype(1));
    const QString serial = devices.first().strSerialNumber;
    QCOMPARE(simulatedDevice(serial).value(QStringLiteral("httpPort")).toInt(), 0);
    m_panel->onCurrentSelectionChange(ModifySingle, devices);
    field("m_lineEditIpAddress")->setText(QStringLiteral("10.77.3.21"));
    field("m_lineEditGateway")->setText(QStringLiteral("10.77.3.1"));
    field("m_lineEditAdminPassword")->setText(kPassword);
    ModalRecorder recorder;
    click("m_btnModify");
    QTRY_COMPARE(recorder.messages, QStringList{QStringLiteral("Modify network parameters succeed.")});
    QTRY_COMPARE(simulatedDevice(serial).value(QStringLiteral("ipv4")).toString(), QStringLiteral("10.77.3.21"));
    QCOMPARE(simulatedDevice(serial).value(QStringLiteral("httpPort")).toInt(), 0);
}

// Port and HTTP port each land in their own field of every device.
void tst_DeviceModifyPage::batchModifySetsBothPorts_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("httpPort");
    QTest::addColumn<QString>("subnet"); // of the start address; each row moves its devices elsewhere
    QTest::addRow("both typed") << "8000"
                                << "8080"
                                << "10.81.1.";
    QTest::addRow("empty: each device keeps its own, also when they differ") << ""
                                                                             << ""
                                                                             << "10.82.1.";
}

void tst_DeviceModifyPage::batchModifySetsBothPorts()
{
    QFETCH(QString, port);
    QFETCH(QString, httpPort);
    QFETCH(QString, subnet);
    auto shared = [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && r.port == 37777 && r.httpPort != 0;
    };
    QVector<DeviceInfo> devices = take(1, [shared](const VEXO_DEVICE_INFO &r) {
        return shared(r) && (r.deviceTypeCode < 0x9D00 || r.deviceTypeCode > 0x9FFF);
    });
    devices += take(1, shared);
    devices += take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0 && r.port != 37777 && r.httpPort != 0; });
    QCOMPARE(devices.size(), qsizetype(3));
    QMap<QString, QPair<int, int>> before;
    for (const DeviceInfo &device : std::as_const(devices)) {
        const QJsonObject shown = simulatedDevice(device.strSerialNumber);
        before.insert(device.strSerialNumber,
                      {shown.value(QStringLiteral("port")).toInt(), shown.value(QStringLiteral("httpPort")).toInt()});
    }
    m_panel->onCurrentSelectionChange(ModifyBatch, devices);
    field("m_lineEditStartIp")->setText(subnet + QStringLiteral("10"));
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.255.0"));
    if (field("m_lineEditGateway")->isEnabled())
        field("m_lineEditGateway")->setText(subnet + QStringLiteral("1"));
    // Devices with different ports still get a port field: empty leaves each one's own.
    QVERIFY(field("m_lineEditPort")->isEnabled());
    QVERIFY(field("m_lineEditHttpPort")->isEnabled());
    field("m_lineEditPort")->setText(port);
    field("m_lineEditHttpPort")->setText(httpPort);
    field("m_lineEditAdminPassword")->setText(kPassword);

    ModalRecorder recorder;
    click("m_btnModify");
    QTRY_VERIFY2(recorder.resultLists.size() == 1, qPrintable(recorder.messages.join(u'|')));
    QCOMPARE(recorder.resultLists.first().failedLabel, QStringLiteral("Failed: 0"));
    for (const DeviceInfo &device : std::as_const(devices)) {
        const auto [ownPort, ownHttpPort] = before.value(device.strSerialNumber);
        QTRY_VERIFY(
            simulatedDevice(device.strSerialNumber).value(QStringLiteral("ipv4")).toString().startsWith(subnet));
        QCOMPARE(simulatedDevice(device.strSerialNumber).value(QStringLiteral("port")).toInt(),
                 port.isEmpty() ? ownPort : port.toInt());
        QCOMPARE(simulatedDevice(device.strSerialNumber).value(QStringLiteral("httpPort")).toInt(),
                 httpPort.isEmpty() ? ownHttpPort : httpPort.toInt());
    }
}

// A device that answers only after the library's time-out (1.5 s here) but announces the change
// it applied: the window keeps repainting, the buttons wait, and the outcome is a success.
void tst_DeviceModifyPage::slowDeviceKeepsWindowResponsive()
{
    const QVector<DeviceInfo> devices
        = take(2, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0 && r.dhcpEnabled == 0; });
    QCOMPARE(devices.size(), qsizetype(2));
    const DeviceInfo slow = devices.at(0);
    QCOMPARE(m_devices.simulator().commandResult(QStringLiteral("delay %1 2500").arg(slow.strSerialNumber)),
             QStringLiteral("ok"));
    m_panel->onCurrentSelectionChange(ModifySingle, {slow});
    const QString address = QStringLiteral("10.77.2.30");
    field("m_lineEditIpAddress")->setText(address);
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.255.0"));
    field("m_lineEditGateway")->setText(QStringLiteral("10.77.2.1"));
    field("m_lineEditAdminPassword")->setText(kPassword);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    auto *modify = m_panel->findChild<QPushButton *>(QStringLiteral("m_btnModify"));
    auto *busy = m_panel->findChild<QWidget *>(QStringLiteral("m_busyArea"));
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longestGap = 0;
    QTimer probe;
    probe.setInterval(20);
    connect(&probe, &QTimer::timeout, this, [&] {
        longestGap = qMax(longestGap, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ModalRecorder recorder;
    clock.start();
    probe.start();
    click("m_btnModify");
    QVERIFY(!modify->isEnabled());
    QVERIFY(busy->isVisible());
    // The user checks another device meanwhile: no second operation can start.
    m_panel->onCurrentSelectionChange(ModifySingle, {devices.at(1)});
    QVERIFY(!modify->isEnabled());
    QVERIFY(busy->isVisible());

    QTRY_COMPARE_WITH_TIMEOUT(recorder.messages,
                              QStringList{QStringLiteral("Modify network parameters succeed.\nThe device answered "
                                                         "late; its announcement confirms the change.")},
                              15000);
    const qint64 duration = clock.elapsed();
    probe.stop();
    QCOMPARE(m_devices.simulator().commandResult(QStringLiteral("delay %1 0").arg(slow.strSerialNumber)),
             QStringLiteral("ok"));
    // Confirmed only by the announcement that came after the library had given up (1.5 s).
    QVERIFY2(duration >= 2500, qPrintable(QString::number(duration)));
    // Far below the operation's length: the GUI thread never waited on the device.
    QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));
    QVERIFY(modify->isEnabled());
    QVERIFY(!busy->isVisible());
    QCOMPARE(simulatedAddress(slow.strSerialNumber), address);
    QCOMPARE(results.count(), 1);
    const auto outcome = results.at(0).at(0).value<QVector<DeviceInfo>>();
    QCOMPARE(outcome.size(), qsizetype(1));
    QCOMPARE(outcome.first().strSerialNumber, slow.strSerialNumber);
    QCOMPARE(outcome.first().strResult, QStringLiteral("Succeed"));
    // The device selected meanwhile keeps its own result.
    QCOMPARE(m_panel->selection().first().strSerialNumber, devices.at(1).strSerialNumber);
    QCOMPARE(m_panel->selection().first().strResult, QStringLiteral("0"));
}

void tst_DeviceModifyPage::batchModifyNumbersDevices_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QStringList>("addresses");

    QTest::addRow("up to the last host of a /24")
        << "10.78.1.252"
        << "255.255.255.0" << QStringList{"10.78.1.252", "10.78.1.253", "10.78.1.254"};
    QTest::addRow("into third part 255 of a /16")
        << "10.78.254.254"
        << "255.255.0.0" << QStringList{"10.78.254.254", "10.78.254.255", "10.78.255.1"};
    QTest::addRow("past 255") << "10.78.2.254"
                              << "255.255.0.0" << QStringList{"10.78.2.254", "10.78.2.255", "10.78.3.1"};
}

void tst_DeviceModifyPage::batchModifyNumbersDevices()
{
    QFETCH(QString, start);
    QFETCH(QString, mask);
    QFETCH(QStringList, addresses);
    // A recorder among them lets the batch set the start address and the mask.
    QVector<DeviceInfo> devices = take(1, [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && (r.deviceTypeCode < 0x9D00 || r.deviceTypeCode > 0x9FFF);
    });
    devices += take(2, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0; });
    QCOMPARE(devices.size(), qsizetype(3));
    m_panel->onCurrentSelectionChange(ModifyBatch, devices);
    QVERIFY(field("m_lineEditStartIp")->isEnabled());
    field("m_lineEditStartIp")->setText(start);
    field("m_lineEditSubnetMask")->setText(mask);
    if (field("m_lineEditGateway")->isEnabled())
        field("m_lineEditGateway")->setText(QStringLiteral("0.0.0.0"));
    keepSharedPort(devices);
    field("m_lineEditAdminPassword")->setText(kPassword);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    QSignalSpy covers(m_panel.get(), &DeviceModifyPage::signalCoverMainPage);
    QSignalSpy uncovers(m_panel.get(), &DeviceModifyPage::signalDisCoverMainPage);
    ModalRecorder recorder;
    click("m_btnModify");
    QCOMPARE(recorder.messages, QStringList());
    QCOMPARE(recorder.resultLists.size(), qsizetype(1));
    QCOMPARE(recorder.progressMaximumSeen, 3);
    // The window is dimmed while the progress and the result list run, and not after.
    QVERIFY(covers.count() >= 1);
    QCOMPARE(uncovers.count(), covers.count());
    const ModalRecorder::ResultList &list = recorder.resultLists.first();
    QCOMPARE(list.devicesLabel, QStringLiteral("Changed: 3 of 3"));
    QCOMPARE(list.failedLabel, QStringLiteral("Failed: 0"));
    QCOMPARE(list.lastHeader, QStringLiteral("Modification"));
    QCOMPARE(results.count(), 1);
    const auto outcome = results.at(0).at(0).value<QVector<DeviceInfo>>();
    const QMap<QString, QString> simulated = simulatedAddresses();
    for (int j = 0; j < 3; ++j) {
        QCOMPARE(list.rows.at(j).at(2), addresses.at(j));
        QCOMPARE(outcome.at(j).strIPv4Address, addresses.at(j));
        QCOMPARE(simulated.value(devices.at(j).strSerialNumber), addresses.at(j));
        const int row = m_list->model()->rowOf(devices.at(j).strSerialNumber, devices.at(j).strMAC);
        QTRY_COMPARE(m_list->deviceInfoOfRow(row).strIPv4Address, addresses.at(j));
    }
}

void tst_DeviceModifyPage::batchModifyRefusedBeforeTouchingDevices_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("message");

    QTest::addRow("would leave the subnet")
        << "10.79.1.254"
        << "255.255.255.0"
        << "Only 1 of the 3 selected devices fit between the start address 10.79.1.254 and the end of its subnet. "
           "Choose a lower start address or fewer devices.";
    QTest::addRow("would take the broadcast of a /16")
        << "10.79.255.253"
        << "255.255.0.0"
        << "Only 2 of the 3 selected devices fit between the start address 10.79.255.253 and the end of its "
           "subnet. Choose a lower start address or fewer devices.";
    QTest::addRow("mask left empty") << "10.79.3.250"
                                     << ""
                                     << "Subnet mask can not be empty.";
    QTest::addRow("would pass 255 in the third part")
        << "10.79.255.255"
        << "255.0.0.0"
        << "Only 1 of the 3 selected devices fit between the start address 10.79.255.255 and the end of its "
           "subnet. Choose a lower start address or fewer devices.";
    QTest::addRow("address of a listed device") << "@"
                                                << "255.255.255.0"
                                                << "The address @ is already used by another device in the list.";
    QTest::addRow("address of a listed device, typed with a leading zero")
        << "@0"
        << "255.255.255.0"
        << "Write the IP address without leading zeros, for example 198.51.100.9 rather than 198.51.100.09.";
}

void tst_DeviceModifyPage::batchModifyRefusedBeforeTouchingDevices()
{
    QFETCH(QString, start);
    QFETCH(QString, mask);
    QFETCH(QString, message);
    QVector<DeviceInfo> devices = take(1, [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && (r.deviceTypeCode < 0x9D00 || r.deviceTypeCode > 0x9FFF);
    });
    devices += take(2, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0; });
    QCOMPARE(devices.size(), qsizetype(3));
    if (start.startsWith(QLatin1Char('@'))) {
        const QString padding = start.mid(1);
        // Two below an address in use outside the batch: the third device would take it.
        const QVector<DeviceInfo> other = take(1, [](const VEXO_DEVICE_INFO &r) {
            const QStringList parts = fieldText(r.ipv4Address).split(QLatin1Char('.'));
            return parts.size() == 4 && parts.at(3).toInt() > 3;
        });
        QCOMPARE(other.size(), qsizetype(1));
        const QStringList parts = other.first().strIPv4Address.split(QLatin1Char('.'));
        const QString third = padding + parts.at(2);
        start = QStringLiteral("%1.%2.%3.%4").arg(parts.at(0), parts.at(1), third).arg(parts.at(3).toInt() - 2);
        message.replace(QLatin1Char('@'),
                        QStringLiteral("%1.%2.%3.%4").arg(parts.at(0), parts.at(1), third, parts.at(3)));
    }
    const QMap<QString, QString> before = simulatedAddresses();
    m_panel->onCurrentSelectionChange(ModifyBatch, devices);
    field("m_lineEditStartIp")->setText(start);
    field("m_lineEditSubnetMask")->setText(mask);
    if (field("m_lineEditGateway")->isEnabled())
        field("m_lineEditGateway")->setText(QStringLiteral("0.0.0.0"));
    keepSharedPort(devices);
    field("m_lineEditAdminPassword")->setText(kPassword);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    ModalRecorder recorder;
    click("m_btnModify");
    QCOMPARE(recorder.messages, QStringList{message});
    QCOMPARE(recorder.resultLists.size(), qsizetype(0));
    QCOMPARE(results.count(), 0);
    QCOMPARE(simulatedAddresses(), before);
}

// Device events keep arriving while a batch runs, and a new selection report may replace the
// panel's selection meanwhile; the outcome still belongs to the devices the batch started with.
void tst_DeviceModifyPage::selectionReplacedWhileBatchRuns()
{
    const QVector<DeviceInfo> devices = take(3, [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && r.dhcpEnabled == 0 && (r.capabilityFlags & VEXO_CAP_DHCP);
    });
    QCOMPARE(devices.size(), qsizetype(3));
    m_panel->onCurrentSelectionChange(ModifyBatch, devices);
    m_panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxBatchDHCP"))->click();
    keepSharedPort(devices);
    field("m_lineEditAdminPassword")->setText(kPassword);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalModifyResult);
    // Runs inside the batch's event loop: the list reports that nothing is checked any more.
    QTimer::singleShot(0, m_panel.get(), [this] { m_panel->onCurrentSelectionChange(ModifySingle, {}); });
    ModalRecorder recorder;
    click("m_btnModify");
    QCOMPARE(recorder.resultLists.size(), qsizetype(1));
    QCOMPARE(recorder.resultLists.first().devicesLabel, QStringLiteral("Changed: 3 of 3"));
    QCOMPARE(results.count(), 1);
    const auto outcome = results.first().first().value<QVector<DeviceInfo>>();
    QCOMPARE(outcome.size(), qsizetype(3));
    for (int j = 0; j < 3; ++j) {
        QCOMPARE(outcome.at(j).strSerialNumber, devices.at(j).strSerialNumber);
        QCOMPARE(outcome.at(j).strResult, QStringLiteral("Succeed"));
    }
}

void tst_DeviceModifyPage::batchModifyWithDhcp()
{
    const QVector<DeviceInfo> devices = take(3, [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && r.dhcpEnabled == 0 && (r.capabilityFlags & VEXO_CAP_DHCP);
    });
    QCOMPARE(devices.size(), qsizetype(3));
    m_panel->onCurrentSelectionChange(ModifyBatch, devices);
    m_panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxBatchDHCP"))->click();
    QVERIFY(!field("m_lineEditStartIp")->isEnabled());
    QVERIFY(field("m_lineEditStartIp")->text().isEmpty());
    keepSharedPort(devices);
    field("m_lineEditAdminPassword")->setText(kPassword);

    ModalRecorder recorder;
    click("m_btnModify");
    QCOMPARE(recorder.messages, QStringList());
    QCOMPARE(recorder.resultLists.size(), qsizetype(1));
    QCOMPARE(recorder.resultLists.first().failedLabel, QStringLiteral("Failed: 0"));
    // Each device took a lease from the simulated DHCP server.
    const QMap<QString, QString> simulated = simulatedAddresses();
    for (const DeviceInfo &device : devices) {
        QVERIFY2(simulated.value(device.strSerialNumber).startsWith(QLatin1String("198.51.100.")),
                 qPrintable(simulated.value(device.strSerialNumber)));
        QTRY_VERIFY([&] {
            VEXO_DEVICE_INFO record{};
            return m_devices.store().get(device.strSerialNumber, device.strMAC, record) && record.dhcpEnabled == 1;
        }());
    }
}

void tst_DeviceModifyPage::uncheckingDhcpRestoresStoredAddress()
{
    const QVector<DeviceInfo> devices
        = take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0 && r.dhcpEnabled == 1; });
    QCOMPARE(devices.size(), qsizetype(1));
    m_panel->onCurrentSelectionChange(ModifySingle, devices);
    auto *dhcp = m_panel->findChild<QCheckBox *>(QStringLiteral("m_checkBoxDHCP"));
    QVERIFY(dhcp->isChecked());
    QVERIFY(!field("m_lineEditIpAddress")->isEnabled());
    field("m_lineEditPort")->setText(QStringLiteral("4321"));

    dhcp->click();
    QVERIFY(!dhcp->isChecked());
    QVERIFY(field("m_lineEditIpAddress")->isEnabled());
    QCOMPARE(field("m_lineEditIpAddress")->text(), devices.first().strIPv4Address);
    QVERIFY(field("m_lineEditPort")->text() != QLatin1String("4321")); // edits are discarded
    dhcp->click();
    QVERIFY(!field("m_lineEditIpAddress")->isEnabled());
}

void tst_DeviceModifyPage::passwordFieldsKeepClipboardOut_data()
{
    QTest::addColumn<QByteArray>("fieldName");
    QTest::addColumn<QKeySequence::StandardKey>("key");
    QTest::addColumn<bool>("selected");

    QTest::addRow("paste into the admin password")
        << QByteArray("m_lineEditAdminPassword") << QKeySequence::Paste << false;
    QTest::addRow("paste into the new password") << QByteArray("m_lineEditNewPassword") << QKeySequence::Paste << false;
    QTest::addRow("paste into the confirmation")
        << QByteArray("m_lineEditConfirmPassword") << QKeySequence::Paste << false;
    QTest::addRow("other shortcuts still work")
        << QByteArray("m_lineEditAdminPassword") << QKeySequence::SelectAll << true;
}

void tst_DeviceModifyPage::passwordFieldsKeepClipboardOut()
{
    QFETCH(QByteArray, fieldName);
    QFETCH(QKeySequence::StandardKey, key);
    QFETCH(bool, selected);
    QGuiApplication::clipboard()->setText(QStringLiteral("Pasted"));
    aptui::MultiStateLineEdit *password = field(fieldName.constData());
    password->setEnabled(true);
    password->setText(QStringLiteral("Secret123"));
    password->setLineEditState(aptui::MultiStateLineEdit::ERROR);
    QTest::mouseClick(password, Qt::LeftButton);
    QCOMPARE(password->lineEditState(), aptui::MultiStateLineEdit::NORMAL);

    const QKeyCombination combination = QKeySequence(key)[0];
    QTest::keyClick(password, combination.key(), combination.keyboardModifiers());
    QCOMPARE(password->text(), QStringLiteral("Secret123"));
    QCOMPARE(password->hasSelectedText(), selected);
}

void tst_DeviceModifyPage::passwordLimitIsSaid_data()
{
    QTest::addColumn<QByteArray>("fieldName");
    QTest::addColumn<ModifyPage>("view");
    QTest::addRow("admin password") << QByteArray("m_lineEditAdminPassword") << ModifySingle;
    QTest::addRow("new password") << QByteArray("m_lineEditNewPassword") << ActivateSingle;
    QTest::addRow("confirmation") << QByteArray("m_lineEditConfirmPassword") << ActivateSingle;
}

// The seventeenth character is refused, and the field says so instead of dropping it silently.
void tst_DeviceModifyPage::passwordLimitIsSaid()
{
    QFETCH(QByteArray, fieldName);
    QFETCH(ModifyPage, view);
    const QVector<DeviceInfo> devices
        = take(1, [view](const VEXO_DEVICE_INFO &r) { return bool(r.inactive) == (view == ActivateSingle); });
    QCOMPARE(devices.size(), qsizetype(1));
    m_panel->onCurrentSelectionChange(view, devices);
    aptui::MultiStateLineEdit *password = field(fieldName.constData());
    auto *hint = m_panel->findChild<QLabel *>(QString::fromLatin1(fieldName + "LimitHint"));
    QVERIFY(hint);
    QTest::keyClicks(password, QStringLiteral("Abcdefgh12345678"));
    QCOMPARE(password->text().size(), qsizetype(16));
    QVERIFY(hint->isHidden());
    QTest::keyClick(password, Qt::Key_9);
    QCOMPARE(password->text(), QStringLiteral("Abcdefgh12345678"));
    QVERIFY(!hint->isHidden());
    QCOMPARE(hint->text(), QStringLiteral("A password has at most 16 characters."));
    QTest::keyClick(password, Qt::Key_Backspace);
    QVERIFY(hint->isHidden());
}

void tst_DeviceModifyPage::tabFollowsWhatIsShown()
{
    const QVector<DeviceInfo> devices = take(1, [](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && r.dhcpEnabled == 0 && (r.capabilityFlags & VEXO_CAP_DHCP);
    });
    QCOMPARE(devices.size(), qsizetype(1));
    m_panel->onCurrentSelectionChange(ModifySingle, devices);
    m_panel->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_panel.get()));
    field("m_lineEditIpAddress")->setFocus();
    // Serial number, short serial and start time are only read; the IPv6 and web port rows are hidden.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("m_checkBoxDHCP"));
    QStringList visited;
    for (int i = 0; i < 7; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"m_lineEditIpAddress", "m_lineEditPort", "m_lineEditSubnetMask", "m_lineEditGateway",
                                   "m_lineEditAdminPassword", "m_btnModify", "m_btnLostPassword"}));
}

void tst_DeviceModifyPage::enterPressesTheMainButton_data()
{
    QTest::addColumn<QByteArray>("fieldName");
    QTest::addColumn<ModifyPage>("view");
    QTest::addColumn<QString>("message");
    QTest::addRow("admin password: Modify")
        << QByteArray("m_lineEditAdminPassword") << ModifySingle << "Sorry, please enter the administrator password.";
    QTest::addRow("new password: Active")
        << QByteArray("m_lineEditNewPassword") << ActivateSingle << "The password can not be empty.";
    QTest::addRow("confirmation: Active")
        << QByteArray("m_lineEditConfirmPassword") << ActivateSingle << "The password can not be empty.";
}

// Enter in an empty password field presses the button, whose check answers.
void tst_DeviceModifyPage::enterPressesTheMainButton()
{
    QFETCH(QByteArray, fieldName);
    QFETCH(ModifyPage, view);
    QFETCH(QString, message);
    const QVector<DeviceInfo> devices
        = take(1, [view](const VEXO_DEVICE_INFO &r) { return bool(r.inactive) == (view == ActivateSingle); });
    QCOMPARE(devices.size(), qsizetype(1));
    m_panel->onCurrentSelectionChange(view, devices);
    ModalRecorder recorder;
    QTest::keyClick(field(fieldName.constData()), Qt::Key_Return);
    QTRY_COMPARE(recorder.messages, QStringList{message});
}

void tst_DeviceModifyPage::activationChecks_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<QString>("message");

    QTest::addRow("empty") << ""
                           << ""
                           << "The password can not be empty.";
    QTest::addRow("confirmation differs in case") << "Fresh2026pass"
                                                  << "fresh2026pass"
                                                  << "The password you typed do not match.";
    QTest::addRow("seven characters") << "Ab3$xY9"
                                      << "Ab3$xY9"
                                      << "Valid password range [8-16]. You can use a combination of "
                                         "numbers,lowercase, uppercase and special character for your password "
                                         "with at least two kinds of them contained.";
}

void tst_DeviceModifyPage::activationChecks()
{
    QFETCH(QString, password);
    QFETCH(QString, confirmation);
    QFETCH(QString, message);
    DeviceInfo anyInactive;
    QVector<VEXO_DEVICE_INFO> records;
    m_devices.store().copyAll(records);
    for (const VEXO_DEVICE_INFO &r : std::as_const(records)) {
        if (r.inactive)
            anyInactive = infoOf(r);
    }
    m_panel->onCurrentSelectionChange(ActivateSingle, {anyInactive});
    field("m_lineEditNewPassword")->setText(password);
    field("m_lineEditConfirmPassword")->setText(confirmation);
    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalActiveResult);
    ModalRecorder recorder;
    click("m_btnActive");
    QCOMPARE(recorder.messages, QStringList{message});
    QCOMPARE(field("m_lineEditNewPassword")->lineEditState(), aptui::MultiStateLineEdit::ERROR);
    QCOMPARE(results.count(), 0);
}

void tst_DeviceModifyPage::singleActivation()
{
    const QVector<DeviceInfo> devices = take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive != 0; });
    QCOMPARE(devices.size(), qsizetype(1));
    DeviceInfoModel *model = m_list->model();
    const int row = model->rowOf(devices.first().strSerialNumber, devices.first().strMAC);
    QSignalSpy reports(m_list, &DeviceDisplayPage::signalCurrentSelectionModelChange);
    model->setCheckState(row, Qt::Checked);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.last().at(0).value<ModifyPage>(), ActivateSingle);
    QVERIFY(field("m_lineEditNewPassword")->isVisible());

    field("m_lineEditNewPassword")->setText(kNewPassword);
    field("m_lineEditConfirmPassword")->setText(kNewPassword);
    ModalRecorder recorder;
    click("m_btnActive");
    QTRY_COMPARE(recorder.messages, QStringList{QStringLiteral("Activate Succeed.")});
    // The list rewrote the row and reported the selection again: now a device to modify.
    QCOMPARE(reports.count(), 2);
    QCOMPARE(reports.last().at(0).value<ModifyPage>(), ModifySingle);
    QVERIFY(field("m_lineEditAdminPassword")->isVisible());
    QCOMPARE(model->text(row, DeviceInfoModel::ColumnActivate), QStringLiteral("Activated"));
    const QStringList listing = m_devices.simulator().command(QStringLiteral("list"));
    QVERIFY(listing.contains(
        QStringLiteral("%1 %2 %3 1")
            .arg(devices.first().strSerialNumber, devices.first().strMAC.toLower(), devices.first().strIPv4Address)));
    model->setCheckState(row, Qt::Unchecked);
}

void tst_DeviceModifyPage::lateActivationConfirmedByAnnouncement()
{
    const QVector<DeviceInfo> devices = take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive != 0; });
    QCOMPARE(devices.size(), qsizetype(1));
    const DeviceInfo slow = devices.first();
    // Its answers come after the library has given up (1.5 s).
    QCOMPARE(m_devices.simulator().commandResult(QStringLiteral("delay %1 2500").arg(slow.strSerialNumber)),
             QStringLiteral("ok"));
    DeviceInfoModel *model = m_list->model();
    const int row = model->rowOf(slow.strSerialNumber, slow.strMAC);
    model->setCheckState(row, Qt::Checked);
    field("m_lineEditNewPassword")->setText(kNewPassword);
    field("m_lineEditConfirmPassword")->setText(kNewPassword);
    ModalRecorder recorder;
    click("m_btnActive");

    QTRY_COMPARE_WITH_TIMEOUT(recorder.messages,
                              QStringList{QStringLiteral("Activate Succeed.\nThe device answered late; its "
                                                         "announcement confirms the change.")},
                              15000);
    QCOMPARE(m_devices.simulator().commandResult(QStringLiteral("delay %1 0").arg(slow.strSerialNumber)),
             QStringLiteral("ok"));
    // The row and the panel turned as after a prompt answer, and the device is activated.
    QCOMPARE(model->text(row, DeviceInfoModel::ColumnActivate), QStringLiteral("Activated"));
    QVERIFY(field("m_lineEditAdminPassword")->isVisible());
    QVERIFY(
        m_devices.simulator()
            .command(QStringLiteral("list"))
            .contains(
                QStringLiteral("%1 %2 %3 1").arg(slow.strSerialNumber, slow.strMAC.toLower(), slow.strIPv4Address)));
    model->setCheckState(row, Qt::Unchecked);
}

void tst_DeviceModifyPage::batchActivationListsEachOutcome()
{
    QVector<DeviceInfo> devices = take(2, [](const VEXO_DEVICE_INFO &r) { return r.inactive != 0; });
    devices += take(1, [](const VEXO_DEVICE_INFO &r) { return r.inactive == 0; });
    QCOMPARE(devices.size(), qsizetype(3));
    m_panel->onCurrentSelectionChange(ActivateBatch, devices);
    field("m_lineEditNewPassword")->setText(kNewPassword);
    field("m_lineEditConfirmPassword")->setText(kNewPassword);

    QSignalSpy results(m_panel.get(), &DeviceModifyPage::signalActiveResult);
    ModalRecorder recorder;
    click("m_btnActive");
    QCOMPARE(recorder.messages, QStringList());
    QCOMPARE(recorder.resultLists.size(), qsizetype(1));
    const ModalRecorder::ResultList &list = recorder.resultLists.first();
    QCOMPARE(list.devicesLabel, QStringLiteral("Activated: 2 of 3"));
    QCOMPARE(list.failedLabel, QStringLiteral("Failed: 1"));
    QCOMPARE(list.lastHeader, QStringLiteral("Activation"));
    QCOMPARE(list.rows.at(0).at(4), QStringLiteral("Succeeded"));
    QCOMPARE(list.rows.at(1).at(4), QStringLiteral("Succeeded"));
    QCOMPARE(list.rows.at(2).at(4), QStringLiteral("Error2021:reactive"));
    QCOMPARE(results.count(), 1);
    const auto outcome = results.at(0).at(0).value<QVector<DeviceInfo>>();
    QCOMPARE(outcome.at(0).strResult, QStringLiteral("Succeed"));
    QCOMPARE(outcome.at(2).strResult, QStringLiteral("Error2021:reactive"));
    for (int j = 0; j < 2; ++j) {
        VEXO_DEVICE_INFO record{};
        QVERIFY(m_devices.store().get(devices.at(j).strSerialNumber, devices.at(j).strMAC, record));
        QCOMPARE(record.inactive, quint8(0));
    }
}

void tst_DeviceModifyPage::forgetPasswordOpensRecoveryDialog_data()
{
    QTest::addColumn<bool>("keyReset");
    QTest::addColumn<bool>("newFormat");
    QTest::addColumn<QString>("dialogClass");
    QTest::addRow("key reset, newer scheme: reset dialog")
        << true << true << QStringLiteral("VexoTool::ResetPasswordDialog");
    QTest::addRow("key reset, older scheme: reset dialog")
        << true << false << QStringLiteral("VexoTool::ResetPasswordDialog");
    QTest::addRow("no key reset: default restore dialog")
        << false << false << QStringLiteral("VexoTool::RestorePasswordDialog");
}

void tst_DeviceModifyPage::forgetPasswordOpensRecoveryDialog()
{
    QFETCH(bool, keyReset);
    QFETCH(bool, newFormat);
    QFETCH(QString, dialogClass);
    const QVector<DeviceInfo> devices = take(1, [keyReset, newFormat](const VEXO_DEVICE_INFO &r) {
        return r.inactive == 0 && bool(r.capabilityFlags & VEXO_CAP_KEY_RESET) == keyReset
               && bool(r.keyFormatFlags & VEXO_KEYFMT_NEW) == newFormat;
    });
    QCOMPARE(devices.size(), qsizetype(1));
    m_panel->onCurrentSelectionChange(ModifySingle, devices);
    QSignalSpy cover(m_panel.get(), &DeviceModifyPage::signalCoverMainPage);
    QSignalSpy discover(m_panel.get(), &DeviceModifyPage::signalDisCoverMainPage);
    QSignalSpy exportRequests(m_panel.get(), &DeviceModifyPage::signalExportExcel);

    // The dialog that opens is looked at while the main window is covered, then closed.
    QString opened;
    int coversWhileOpen = -1;
    bool manualInputOffered = false;
    QTimer watcher;
    watcher.setInterval(5);
    connect(&watcher, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || !opened.isEmpty())
            return;
        opened = QString::fromLatin1(modal->metaObject()->className());
        coversWhileOpen = int(cover.count() - discover.count());
        if (auto *reset = qobject_cast<VexoTool::ResetPasswordDialog *>(modal))
            manualInputOffered = !reset->findChild<QWidget *>(QStringLiteral("m_radioBtnManualInput"))->isHidden();
        if (auto *restore = qobject_cast<VexoTool::RestorePasswordDialog *>(modal))
            emit restore->signalExportExcel();
        static_cast<QDialog *>(modal)->reject();
    });
    watcher.start();
    click("m_btnLostPassword");
    watcher.stop();

    QCOMPARE(opened, dialogClass);
    QCOMPARE(coversWhileOpen, 1);
    QCOMPARE(cover.count(), 1);
    QCOMPARE(discover.count(), 1);
    QCOMPARE(manualInputOffered, keyReset && newFormat);
    // The restore dialog's request for the spreadsheet export reaches the panel's relay.
    QCOMPARE(exportRequests.count(), keyReset ? 0 : 1);
}

QTEST_MAIN(tst_DeviceModifyPage)

#include "tst_devicemodifypage.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicerecords.h"
#include "modalrecorder.h"

#include <devicenetparapage.h>

#include <devicestore.h>

#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <memory>

using VexoTool::DeviceNetParaPage;
using Field = aptui::MultiStateLineEdit;

namespace {

VEXO_DEVICE_INFO withSerial(VEXO_DEVICE_INFO record, const QByteArray &serial)
{
    setFieldText(record.serialNumber, serial);
    return record;
}

DeviceInfo infoOf(const VEXO_DEVICE_INFO &record)
{
    DeviceInfo info;
    info.strSerialNumber = serialOf(record);
    info.strMAC = macOf(record);
    info.strIPv4Address = fieldText(record.ipv4Address);
    return info;
}

// Whether @p widget is placed by @p layout or one of its nested layouts.
bool laidOutBy(const QLayout *layout, const QWidget *widget)
{
    for (int i = 0; layout && i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget() == widget || laidOutBy(item->layout(), widget))
            return true;
    }
    return false;
}

} // namespace

class tst_DeviceNetParaPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fillsFromStore_data();
    void fillsFromStore();
    void ipv6RowsFollowDevice_data();
    void ipv6RowsFollowDevice();
    void dhcpFollowsDevice_data();
    void dhcpFollowsDevice();
    void noDeviceEmptiesAndDisables();
    void checkSingle_data();
    void checkSingle();
    void checkSingleNetwork_data();
    void checkSingleNetwork();
    void portKeystrokeBeyondRangeIsSaid();
    void collectSingleAssemblesRecord_data();
    void collectSingleAssemblesRecord();
    void prepareBatchEnablesSharedFields_data();
    void prepareBatchEnablesSharedFields();
    void checkBatch_data();
    void checkBatch();
    void batchDhcpEmptiesAddressFields();
    void pressClearsErrorMark();
    void dhcpBoxesReportTheirState();

private:
    Field *field(const char *name) const { return m_page->findChild<Field *>(QLatin1String(name)); }
    QLabel *label(const char *name) const { return m_page->findChild<QLabel *>(QLatin1String(name)); }
    QCheckBox *box(const char *name) const { return m_page->findChild<QCheckBox *>(QLatin1String(name)); }
    void show(const VEXO_DEVICE_INFO &record, bool dhcpOff = false);

    DeviceStore m_store;
    std::unique_ptr<DeviceNetParaPage> m_page;
};

void tst_DeviceNetParaPage::initTestCase()
{
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(500));
}

void tst_DeviceNetParaPage::init()
{
    m_store.clear();
    m_page = std::make_unique<DeviceNetParaPage>(m_store);
    m_page->resize(360, 600);
    m_page->show();
}

void tst_DeviceNetParaPage::cleanup()
{
    m_page.reset();
    m_store.clear();
}

void tst_DeviceNetParaPage::show(const VEXO_DEVICE_INFO &record, bool dhcpOff)
{
    m_store.add(record);
    m_page->showSingleMode();
    m_page->enableAll();
    m_page->setDevice(serialOf(record), macOf(record), dhcpOff);
}

void tst_DeviceNetParaPage::fillsFromStore_data()
{
    QTest::addColumn<QByteArray>("serial");
    QTest::addColumn<QString>("shortSerial");
    QTest::addColumn<int>("httpPort");
    QTest::addColumn<bool>("httpPortEnabled");

    QTest::addRow("nine digits at the end") << QByteArray("VX-C204220260101ABCD123456789") << "123456789" << 80 << true;
    QTest::addRow("letters after the last digit") << QByteArray("VX-C20422026XYZ") << "C20422026" << 8080 << true;
    QTest::addRow("last digit at index 3") << QByteArray("ABC1DEF") << "ABC1" << 80 << true;
    QTest::addRow("no digit") << QByteArray("ABCDEF") << "" << 80 << true;
    QTest::addRow("web port 0 is shown disabled") << QByteArray("VX-1") << "VX-1" << 0 << false;
}

void tst_DeviceNetParaPage::fillsFromStore()
{
    QFETCH(QByteArray, serial);
    QFETCH(QString, shortSerial);
    QFETCH(int, httpPort);
    QFETCH(bool, httpPortEnabled);
    VEXO_DEVICE_INFO record = withSerial(deviceRecord(7), serial);
    record.httpPort = quint16(httpPort);
    show(record);

    QCOMPARE(field("m_lineEditSerialNumber")->text(), QString::fromLatin1(serial));
    QVERIFY(field("m_lineEditSerialNumber")->isReadOnly());
    QCOMPARE(field("m_lineEditShortSerialNumber")->text(), shortSerial);
    QCOMPARE(field("m_lineEditStartTime")->text(), QStringLiteral("2026-01-02 03:04:05"));
    QCOMPARE(field("m_lineEditIpAddress")->text(), QStringLiteral("10.0.0.7"));
    QCOMPARE(field("m_lineEditPort")->text(), QStringLiteral("8000"));
    QCOMPARE(field("m_lineEditSubnetMask")->text(), QStringLiteral("255.255.255.0"));
    QCOMPARE(field("m_lineEditGateway")->text(), QStringLiteral("10.0.0.254"));
    QCOMPARE(field("m_lineEditHttpPort")->text(), QString::number(httpPort));
    QCOMPARE(field("m_lineEditHttpPort")->isEnabled(), httpPortEnabled);
    // These rows stay out of sight in both modes.
    for (const char *name :
         {"m_lineEditIPV6Address", "m_lineEditIPV6Gateway", "m_lineEditIPV6SubnetMaskLen", "m_lineEditHttpPort"})
        QVERIFY2(field(name)->isHidden(), name);
}

void tst_DeviceNetParaPage::ipv6RowsFollowDevice_data()
{
    constexpr int allIpv6 = VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6 | VEXO_CAP_DHCP;
    constexpr int fixedIpv6 = VEXO_CAP_IPV6 | VEXO_CAP_DHCP;
    QTest::addColumn<int>("extendedInfoValid");
    QTest::addColumn<int>("capabilities");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<bool>("enabled");

    QTest::addRow("modifiable IPv6") << 1 << allIpv6 << "fe80::21a:2bff:fe00:1"
                                     << "64" << true;
    QTest::addRow("IPv6 that cannot be changed") << 1 << fixedIpv6 << "fe80::21a:2bff:fe00:1"
                                                 << "64" << false;
    QTest::addRow("no extended information") << 0 << allIpv6 << ""
                                             << "" << false;
}

void tst_DeviceNetParaPage::ipv6RowsFollowDevice()
{
    QFETCH(int, extendedInfoValid);
    QFETCH(int, capabilities);
    QFETCH(QString, address);
    QFETCH(QString, prefix);
    QFETCH(bool, enabled);
    VEXO_DEVICE_INFO record = deviceRecord(3);
    record.extendedInfoValid = quint8(extendedInfoValid);
    record.capabilityFlags = quint8(capabilities);
    show(record);

    QCOMPARE(field("m_lineEditIPV6Address")->text(), address);
    QCOMPARE(field("m_lineEditIPV6SubnetMaskLen")->text(), prefix);
    QCOMPARE(field("m_lineEditIPV6Address")->isEnabled(), enabled);
    QCOMPARE(field("m_lineEditIPV6Gateway")->isEnabled(), enabled);
}

void tst_DeviceNetParaPage::dhcpFollowsDevice_data()
{
    constexpr int withDhcp = VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6 | VEXO_CAP_DHCP;
    constexpr int withoutDhcp = VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6;
    QTest::addColumn<int>("capabilities");
    QTest::addColumn<int>("dhcpEnabled");
    QTest::addColumn<bool>("dhcpOff");
    QTest::addColumn<bool>("boxEnabled");
    QTest::addColumn<bool>("checked");

    QTest::addRow("DHCP off") << withDhcp << 0 << false << true << false;
    QTest::addRow("DHCP on") << withDhcp << 1 << false << true << true;
    QTest::addRow("DHCP on, just unchecked by the user") << withDhcp << 1 << true << true << false;
    QTest::addRow("no DHCP support") << withoutDhcp << 1 << false << false << false;
}

void tst_DeviceNetParaPage::dhcpFollowsDevice()
{
    QFETCH(int, capabilities);
    QFETCH(int, dhcpEnabled);
    QFETCH(bool, dhcpOff);
    QFETCH(bool, boxEnabled);
    QFETCH(bool, checked);
    VEXO_DEVICE_INFO record = deviceRecord(4);
    record.capabilityFlags = quint8(capabilities);
    record.dhcpEnabled = quint8(dhcpEnabled);
    show(record, dhcpOff);

    QCOMPARE(box("m_checkBoxDHCP")->isEnabled(), boxEnabled);
    QCOMPARE(box("m_checkBoxDHCP")->isChecked(), checked);
    // DHCP assigns the addresses: the user cannot type them meanwhile.
    QCOMPARE(field("m_lineEditIpAddress")->isEnabled(), !checked);
    QCOMPARE(field("m_lineEditSubnetMask")->isEnabled(), !checked);
    QCOMPARE(field("m_lineEditGateway")->isEnabled(), !checked);
    QVERIFY(field("m_lineEditPort")->isEnabled());
    QCOMPARE(field("m_lineEditIpAddress")->text(), QStringLiteral("10.0.0.4"));
}

void tst_DeviceNetParaPage::noDeviceEmptiesAndDisables()
{
    show(deviceRecord(5));
    m_page->setDevice(QString(), QString(), false);
    for (const char *name : {"m_lineEditSerialNumber", "m_lineEditIpAddress", "m_lineEditPort", "m_lineEditSubnetMask",
                             "m_lineEditGateway", "m_lineEditHttpPort", "m_lineEditIPV6Address"}) {
        QVERIFY2(field(name)->text().isEmpty(), name);
        QVERIFY2(!field(name)->isEnabled(), name);
    }
    QVERIFY(!box("m_checkBoxDHCP")->isEnabled());
}

void tst_DeviceNetParaPage::checkSingle_data()
{
    QTest::addColumn<QByteArray>("fieldName");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");

    QTest::addRow("device as it is") << QByteArray() << ""
                                     << "";
    QTest::addRow("empty address") << QByteArray("m_lineEditIpAddress") << ""
                                   << "Please input IP Address.";
    QTest::addRow("network address") << QByteArray("m_lineEditIpAddress") << "10.0.0.0"
                                     << "IP Address not correct.";
    QTest::addRow("empty port") << QByteArray("m_lineEditPort") << ""
                                << "Device port ranges from 2000 to 65535.";
    QTest::addRow("port 1999") << QByteArray("m_lineEditPort") << "1999"
                               << "Device port ranges from 2000 to 65535.";
    QTest::addRow("port 2000") << QByteArray("m_lineEditPort") << "2000"
                               << "";
    QTest::addRow("port 65535") << QByteArray("m_lineEditPort") << "65535"
                                << "";
    QTest::addRow("empty mask") << QByteArray("m_lineEditSubnetMask") << ""
                                << "Subnet mask can not be empty.";
    QTest::addRow("broken mask") << QByteArray("m_lineEditSubnetMask") << "255.0.255.0"
                                 << "Subnet Mask not correct.";
    QTest::addRow("empty gateway") << QByteArray("m_lineEditGateway") << ""
                                   << "Gateway can not be empty";
    QTest::addRow("broadcast-like gateway") << QByteArray("m_lineEditGateway") << "10.0.0.255"
                                            << "Gateway not correct.";
    QTest::addRow("no gateway") << QByteArray("m_lineEditGateway") << "0.0.0.0"
                                << "";
    // The IPv6 and web port rows are out of sight: what the device reports there never blocks a change.
    QTest::addRow("hidden empty IPv6 gateway") << QByteArray("m_lineEditIPV6Gateway") << ""
                                               << "";
    QTest::addRow("hidden empty prefix length") << QByteArray("m_lineEditIPV6SubnetMaskLen") << ""
                                                << "";
    QTest::addRow("hidden empty web port") << QByteArray("m_lineEditHttpPort") << ""
                                           << "";
}

void tst_DeviceNetParaPage::checkSingle()
{
    QFETCH(QByteArray, fieldName);
    QFETCH(QString, text);
    QFETCH(QString, message);
    show(deviceRecord(9));
    if (!fieldName.isEmpty())
        field(fieldName.constData())->setText(text);

    ModalRecorder recorder;
    const bool passed = m_page->checkSingle(QPoint(10, 10));
    QCOMPARE(passed, message.isEmpty());
    QCOMPARE(recorder.messages, message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(field(fieldName.constData())->lineEditState(), Field::ERROR);
}

// The address, mask and gateway as one network, and the address among the listed devices.
void tst_DeviceNetParaPage::checkSingleNetwork_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QByteArray>("marked");
    QTest::addColumn<QString>("message");

    const QByteArray address("m_lineEditIpAddress");
    const QByteArray gateway("m_lineEditGateway");
    const QString c24 = QStringLiteral("255.255.255.0");
    QTest::addRow("a free host of the subnet") << "10.0.0.11" << c24 << "10.0.0.254" << QByteArray() << "";
    QTest::addRow("the device's own address, shared with nobody")
        << "10.0.0.9" << c24 << "10.0.0.254" << QByteArray() << "";
    QTest::addRow("address of another listed device")
        << "10.0.0.10" << c24 << "10.0.0.254" << address
        << "The address 10.0.0.10 is already used by another device in the list.";
    QTest::addRow("leading zero")
        << "10.0.0.010" << c24 << "10.0.0.254" << address
        << "Write the IP address without leading zeros, for example 198.51.100.9 rather than 198.51.100.09.";
    QTest::addRow("this network") << "0.0.0.9" << c24 << "0.0.0.0" << address
                                  << "Addresses that begin with 0 cannot be given to a device.";
    QTest::addRow("loopback") << "127.0.0.1" << c24 << "0.0.0.0" << address
                              << "Addresses that begin with 127 are loopback addresses and cannot be given to a "
                                 "device.";
    QTest::addRow("multicast") << "224.0.0.1" << c24 << "0.0.0.0" << address
                               << "Addresses from 224.0.0.0 to 239.255.255.255 are multicast addresses and cannot "
                                  "be given to a device.";
    QTest::addRow("reserved") << "240.0.0.1" << c24 << "0.0.0.0" << address
                              << "Addresses from 240.0.0.0 up are reserved and cannot be given to a device.";
    QTest::addRow("subnet broadcast") << "10.0.0.255" << c24 << "10.0.0.254" << address
                                      << "The IP address is the broadcast address of its subnet. Use an address from "
                                         "10.0.0.1 to 10.0.0.254.";
    QTest::addRow("network address of a /25")
        << "10.0.0.128"
        << "255.255.255.128"
        << "10.0.0.254" << address
        << "The IP address is the network address of its subnet. Use an address from 10.0.0.129 to 10.0.0.254.";
    QTest::addRow("mask 0.0.0.0") << "10.0.0.9"
                                  << "0.0.0.0"
                                  << "0.0.0.0" << QByteArray("m_lineEditSubnetMask")
                                  << "Subnet mask 0.0.0.0 leaves the device without a subnet.";
    QTest::addRow("gateway outside the subnet")
        << "10.0.0.9" << c24 << "10.0.1.1" << gateway
        << "The gateway must be an address of the device's subnet, from 10.0.0.1 to 10.0.0.254.";
    QTest::addRow("gateway the device itself")
        << "10.0.0.11" << c24 << "10.0.0.11" << gateway << "The gateway cannot be the device's own IP address.";
    QTest::addRow("gateway with a leading zero")
        << "10.0.0.9" << c24 << "10.0.0.01" << gateway
        << "Write the gateway without leading zeros, for example 198.51.100.1 rather than 198.51.100.01.";
}

void tst_DeviceNetParaPage::checkSingleNetwork()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QByteArray, marked);
    QFETCH(QString, message);
    m_store.add(deviceRecord(10)); // 10.0.0.10, listed beside the device shown
    show(deviceRecord(9));
    field("m_lineEditIpAddress")->setText(address);
    field("m_lineEditSubnetMask")->setText(mask);
    field("m_lineEditGateway")->setText(gateway);

    ModalRecorder recorder;
    QCOMPARE(m_page->checkSingle(QPoint(10, 10)), message.isEmpty());
    QCOMPARE(recorder.messages, message.isEmpty() ? QStringList() : QStringList{message});
    if (!marked.isEmpty())
        QCOMPARE(field(marked.constData())->lineEditState(), Field::ERROR);
}

// The port field says why a digit is refused rather than dropping it silently.
void tst_DeviceNetParaPage::portKeystrokeBeyondRangeIsSaid()
{
    show(deviceRecord(9));
    Field *port = field("m_lineEditPort");
    QLabel *hint = label("m_lineEditPortLimitHint");
    QVERIFY(hint);
    // The field keeps its row in the form, with its hint under it (not floating over the page).
    QVERIFY(laidOutBy(m_page->layout(), port->parentWidget()));
    port->clear();
    port->setFocus();
    QTest::keyClicks(port, QStringLiteral("6553"));
    QVERIFY(hint->isHidden());
    QTest::keyClick(port, Qt::Key_5); // 65535 is a port
    QCOMPARE(port->text(), QStringLiteral("65535"));
    QVERIFY(hint->isHidden());
    port->setText(QStringLiteral("7000"));
    port->end(false);
    QTest::keyClick(port, Qt::Key_0); // 70000 is not
    QCOMPARE(port->text(), QStringLiteral("7000"));
    QVERIFY(!hint->isHidden());
    QCOMPARE(hint->text(), QStringLiteral("Device port ranges from 2000 to 65535."));
    QTest::keyClick(port, Qt::Key_Backspace);
    QVERIFY(hint->isHidden());
}

void tst_DeviceNetParaPage::collectSingleAssemblesRecord_data()
{
    QTest::addColumn<int>("httpPort");
    QTest::addColumn<int>("sentHttpPort");
    QTest::addColumn<bool>("dhcpChecked");

    QTest::addRow("web port kept") << 8080 << 8080 << false;
    QTest::addRow("web port 0 of a device without web server stays 0") << 0 << 0 << false;
    QTest::addRow("DHCP on") << 80 << 80 << true;
}

void tst_DeviceNetParaPage::collectSingleAssemblesRecord()
{
    QFETCH(int, httpPort);
    QFETCH(int, sentHttpPort);
    QFETCH(bool, dhcpChecked);
    VEXO_DEVICE_INFO record = deviceRecord(12);
    record.httpPort = quint16(httpPort);
    show(record);
    field("m_lineEditIpAddress")->setText(QStringLiteral(" 192.168.7.20 "));
    field("m_lineEditPort")->setText(QStringLiteral("37777"));
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.0.0"));
    field("m_lineEditGateway")->setText(QStringLiteral("192.168.0.1"));
    if (dhcpChecked)
        m_page->applyDhcpOn();

    DeviceNetParam expected{};
    setFieldText(expected.ipv4Address, "192.168.7.20");
    setFieldText(expected.ipv4SubnetMask, "255.255.0.0");
    setFieldText(expected.ipv4Gateway, "192.168.0.1");
    setFieldText(expected.ipv6Address, "fe80::21a:2bff:fe00:1");
    setFieldText(expected.ipv6Gateway, "fe80::1");
    expected.port = 37777;
    expected.ipv6PrefixLength = 64;
    expected.dhcpEnabled = dhcpChecked ? 1 : 0;
    expected.httpPort = quint16(sentHttpPort);

    const DeviceNetParam collected = m_page->collectSingle();
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(&collected), sizeof collected),
             QByteArray(reinterpret_cast<const char *>(&expected), sizeof expected));
}

void tst_DeviceNetParaPage::prepareBatchEnablesSharedFields_data()
{
    QTest::addColumn<QList<quint32>>("typeCodes");
    QTest::addColumn<QList<quint32>>("ports");
    QTest::addColumn<QList<int>>("extended");
    QTest::addColumn<QList<int>>("httpPorts");
    QTest::addColumn<bool>("addressEnabled");
    QTest::addColumn<bool>("portEnabled");
    QTest::addColumn<bool>("gatewayEnabled");
    QTest::addColumn<bool>("httpPortEnabled");

    using U = QList<quint32>;
    using I = QList<int>;
    QTest::addRow("recorders sharing everything")
        << U{0x1204, 0x1308} << U{8000, 8000} << I{1, 1} << I{80, 8080} << true << true << true << true;
    QTest::addRow("cameras only, edges of the range")
        << U{0x9D00, 0x9FFF} << U{8000, 8000} << I{1, 1} << I{80, 80} << false << true << true << true;
    QTest::addRow("next to the camera range")
        << U{0x9CFF, 0x9E00} << U{8000, 8000} << I{1, 1} << I{80, 80} << true << true << true << true;
    QTest::addRow("two ports") << U{0x1204, 0x1308} << U{8000, 37777} << I{1, 1} << I{80, 80} << true << false << true
                               << true;
    QTest::addRow("no extended information")
        << U{0x1204, 0x1308} << U{8000, 8000} << I{0, 0} << I{80, 80} << true << true << false << true;
    QTest::addRow("one device without web port")
        << U{0x1204, 0x1308} << U{8000, 8000} << I{1, 0} << I{80, 0} << true << true << true << false;
}

void tst_DeviceNetParaPage::prepareBatchEnablesSharedFields()
{
    QFETCH(QList<quint32>, typeCodes);
    QFETCH(QList<quint32>, ports);
    QFETCH(QList<int>, extended);
    QFETCH(QList<int>, httpPorts);
    QFETCH(bool, addressEnabled);
    QFETCH(bool, portEnabled);
    QFETCH(bool, gatewayEnabled);
    QFETCH(bool, httpPortEnabled);
    QVector<DeviceInfo> devices;
    for (int i = 0; i < typeCodes.size(); ++i) {
        VEXO_DEVICE_INFO record = deviceRecord(20 + i);
        record.deviceTypeCode = typeCodes.at(i);
        record.port = ports.at(i);
        record.extendedInfoValid = quint8(extended.at(i));
        record.httpPort = quint16(httpPorts.at(i));
        m_store.add(record);
        devices.append(infoOf(record));
    }
    m_page->enableAll();
    m_page->showBatchMode();
    m_page->prepareBatch(devices);

    QCOMPARE(field("m_lineEditStartIp")->isEnabled(), addressEnabled);
    QCOMPARE(field("m_lineEditSubnetMask")->isEnabled(), addressEnabled);
    QCOMPARE(field("m_lineEditPort")->isEnabled(), portEnabled);
    QCOMPARE(field("m_lineEditGateway")->isEnabled(), gatewayEnabled);
    QCOMPARE(field("m_lineEditHttpPort")->isEnabled(), httpPortEnabled);
    QVERIFY(!field("m_lineEditIPV6Address")->isEnabled());
    for (const char *name : {"m_lineEditStartIp", "m_lineEditPort", "m_lineEditSubnetMask", "m_lineEditGateway"})
        QVERIFY2(field(name)->text().isEmpty(), name);
    QVERIFY(!field("m_lineEditStartIp")->isHidden());
    QVERIFY(field("m_lineEditIpAddress")->isHidden());
    QVERIFY(field("m_lineEditShortSerialNumber")->isHidden());
    QVERIFY(!box("m_checkBoxBatchDHCP")->isChecked());
    QVERIFY(m_page->isBatchDhcpOff());
}

void tst_DeviceNetParaPage::checkBatch_data()
{
    QTest::addColumn<QList<quint32>>("ports");
    QTest::addColumn<QString>("startIp");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("message");

    using U = QList<quint32>;
    QTest::addRow("all good") << U{8000, 8000} << "10.1.1.10"
                              << "8000"
                              << "255.255.255.0"
                              << "10.1.1.1"
                              << "";
    QTest::addRow("empty start address") << U{8000, 8000} << ""
                                         << "8000"
                                         << "255.255.255.0"
                                         << "10.1.1.1"
                                         << "Please input IP Address.";
    QTest::addRow("start address ending in 0") << U{8000, 8000} << "10.1.1.0"
                                               << "8000"
                                               << "255.255.255.0"
                                               << "10.1.1.1"
                                               << "IP Address not correct.";
    QTest::addRow("port too small") << U{8000, 8000} << "10.1.1.10"
                                    << "80"
                                    << "255.255.255.0"
                                    << "10.1.1.1"
                                    << "Device port ranges from 2000 to 65535.";
    QTest::addRow("two ports: the disabled port field is skipped") << U{8000, 37777} << "10.1.1.10"
                                                                   << ""
                                                                   << "255.255.255.0"
                                                                   << "10.1.1.1"
                                                                   << "";
    QTest::addRow("bad mask") << U{8000, 8000} << "10.1.1.10"
                              << "8000"
                              << "255.255.255.255"
                              << "10.1.1.1"
                              << "Subnet Mask not correct.";
    QTest::addRow("bad gateway") << U{8000, 8000} << "10.1.1.10"
                                 << "8000"
                                 << "255.255.255.0"
                                 << "10.1.1.0"
                                 << "Gateway not correct.";
    QTest::addRow("start address on the subnet broadcast")
        << U{8000, 8000} << "10.1.1.255"
        << "8000"
        << "255.255.255.0"
        << "10.1.1.1"
        << "The IP address is the broadcast address of its subnet. Use an address from 10.1.1.1 to 10.1.1.254.";
    QTest::addRow("gateway outside the start address's subnet")
        << U{8000, 8000} << "10.1.1.10"
        << "8000"
        << "255.255.255.0"
        << "10.2.1.1"
        << "The gateway must be an address of the device's subnet, from 10.1.1.1 to 10.1.1.254.";
}

void tst_DeviceNetParaPage::checkBatch()
{
    QFETCH(QList<quint32>, ports);
    QFETCH(QString, startIp);
    QFETCH(QString, port);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QString, message);
    QVector<DeviceInfo> devices;
    for (int i = 0; i < ports.size(); ++i) {
        VEXO_DEVICE_INFO record = deviceRecord(30 + i);
        record.deviceTypeCode = 0x1204;
        record.port = ports.at(i);
        m_store.add(record);
        devices.append(infoOf(record));
    }
    m_page->showBatchMode();
    m_page->prepareBatch(devices);
    field("m_lineEditStartIp")->setText(startIp);
    if (field("m_lineEditPort")->isEnabled())
        field("m_lineEditPort")->setText(port);
    field("m_lineEditSubnetMask")->setText(mask);
    field("m_lineEditGateway")->setText(gateway);

    ModalRecorder recorder;
    QCOMPARE(m_page->checkBatch(QPoint(10, 10)), message.isEmpty());
    QCOMPARE(recorder.messages, message.isEmpty() ? QStringList() : QStringList{message});

    QString collectedStart, collectedMask, collectedGateway;
    int collectedPort = -1, collectedHttpPort = -1;
    m_page->collectBatch(collectedStart, collectedMask, collectedGateway, collectedPort, collectedHttpPort);
    QCOMPARE(collectedStart, startIp);
    QCOMPARE(collectedMask, mask);
    QCOMPARE(collectedPort, field("m_lineEditPort")->isEnabled() ? port.toInt() : 0);
    QCOMPARE(collectedHttpPort, 0);
}

void tst_DeviceNetParaPage::batchDhcpEmptiesAddressFields()
{
    VEXO_DEVICE_INFO first = deviceRecord(40);
    VEXO_DEVICE_INFO second = deviceRecord(41);
    first.deviceTypeCode = second.deviceTypeCode = 0x1204;
    m_store.add(first);
    m_store.add(second);
    m_page->showBatchMode();
    m_page->prepareBatch({infoOf(first), infoOf(second)});
    field("m_lineEditStartIp")->setText(QStringLiteral("10.1.1.10"));
    field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.255.0"));

    field("m_lineEditPort")->setText(QStringLiteral("8000"));
    m_page->setBatchDhcp(false);
    for (const char *name : {"m_lineEditStartIp", "m_lineEditSubnetMask", "m_lineEditGateway"}) {
        QVERIFY2(field(name)->text().isEmpty(), name);
        QVERIFY2(!field(name)->isEnabled(), name);
    }
    ModalRecorder recorder;
    QVERIFY(m_page->checkBatch(QPoint(10, 10)));
    m_page->setBatchDhcp(true);
    QVERIFY(field("m_lineEditStartIp")->isEnabled());
}

void tst_DeviceNetParaPage::pressClearsErrorMark()
{
    show(deviceRecord(50));
    field("m_lineEditIpAddress")->clear();
    {
        ModalRecorder recorder;
        QVERIFY(!m_page->checkSingle(QPoint(10, 10)));
    }
    QCOMPARE(field("m_lineEditIpAddress")->lineEditState(), Field::ERROR);
    QTest::mouseClick(field("m_lineEditIpAddress"), Qt::LeftButton);
    QCOMPARE(field("m_lineEditIpAddress")->lineEditState(), Field::NORMAL);
    QVERIFY(label("m_labelHintIpAddress")->pixmap().isNull());
}

void tst_DeviceNetParaPage::dhcpBoxesReportTheirState()
{
    show(deviceRecord(60));
    QSignalSpy single(m_page.get(), &DeviceNetParaPage::signalDhcpStateChanged);
    QSignalSpy batch(m_page.get(), &DeviceNetParaPage::signalBatchDhcpStateChanged);
    box("m_checkBoxDHCP")->click();
    QCOMPARE(single.count(), 1);
    QCOMPARE(single.at(0).at(0).toInt(), 2);
    m_page->showBatchMode();
    box("m_checkBoxBatchDHCP")->click();
    QCOMPARE(batch.count(), 1);
    QCOMPARE(batch.at(0).at(0).toInt(), 2);
}

QTEST_MAIN(tst_DeviceNetParaPage)

#include "tst_devicenetparapage.moc"

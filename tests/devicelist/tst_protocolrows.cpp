// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Devices of both protocols in the device list: one row per MAC, the protocol in the Device
// Type cell, and what unidentified ONVIF rows show.

#include "devicerecords.h"
#include "fakevexo.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>

#include <devicestore.h>
#include <vexohandler.h>

#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using VexoTool::DeviceDisplayPage;
using VexoTool::DeviceInfoModel;
using VexoTool::UserWritableFile;

namespace {

// The ONVIF side of device n: same serial number and MAC, its own address.
VEXO_DEVICE_INFO onvifOf(int n)
{
    VEXO_DEVICE_INFO record = deviceRecord(n, "127.1.0." + QByteArray::number(n));
    setFieldText(record.leadText, "ONVIF");
    return record;
}

VEXO_DEVICE_INFO unidentified(int n, const QByteArray &type = "Cam-Z8")
{
    VEXO_DEVICE_INFO record{};
    setFieldText(record.leadText, "ONVIF");
    setFieldText(record.serialNumber, "urn:uuid:0c9e1a2e-4b1d-4a2f-9d1e-00000000000" + QByteArray::number(n));
    setFieldText(record.ipv4Address, "127.1.0." + QByteArray::number(n));
    setFieldText(record.deviceTypeText, type);
    record.inactive = 1;
    return record;
}

} // namespace

class tst_ProtocolRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void oneRowPerDevice_data();
    void oneRowPerDevice();
    void unidentifiedRowCells_data();
    void unidentifiedRowCells();
    void unidentifiedRowGoesToThePanelAsOnvif();

private:
    DeviceInfoModel *model() const { return m_page->model(); }
    QString cell(int row, int logical) const { return model()->text(row, logical); }
    void leave(const VEXO_DEVICE_INFO &record)
    {
        m_page->onDeviceLogout(record);
        QCoreApplication::sendPostedEvents(m_page.get(), QEvent::MetaCall);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DeviceStore> m_store;
    std::unique_ptr<VEXO::VexoHandler> m_discovery;
    std::unique_ptr<DeviceDisplayPage> m_page;
};

void tst_ProtocolRows::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_ProtocolRows::init()
{
    FakeVexo::reset();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<DeviceStore>();
    m_discovery = std::make_unique<VEXO::VexoHandler>(FakeVexo::library());
    m_page = std::make_unique<DeviceDisplayPage>(
        m_store.get(), m_discovery.get(), nullptr,
        UserWritableFile::forPath(m_dir->filePath(QStringLiteral("ColumnConfig.xml"))));
}

void tst_ProtocolRows::cleanup()
{
    m_page.reset();
    m_discovery.reset();
    m_store.reset();
}

void tst_ProtocolRows::oneRowPerDevice_data()
{
    // V/O: device protocol / ONVIF side of device 1, W: a device protocol record with its MAC and
    // another serial number; + comes, - leaves
    QTest::addColumn<QString>("events");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("address"); // what the row shows
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("onvifPanel"); // the panel changes the row over ONVIF

    QTest::addRow("ONVIF first, then VXDP") << "O+ V+" << 1 << "10.0.0.1"
                                            << "VX-IPC-B420 +ONVIF" << false;
    QTest::addRow("VXDP first, then ONVIF") << "V+ O+" << 1 << "10.0.0.1"
                                            << "VX-IPC-B420 +ONVIF" << false;
    QTest::addRow("ONVIF leaves") << "V+ O+ O-" << 1 << "10.0.0.1"
                                  << "VX-IPC-B420" << false;
    QTest::addRow("VXDP leaves") << "V+ O+ V-" << 1 << "127.1.0.1"
                                 << "VX-IPC-B420 (ONVIF)" << true;
    QTest::addRow("VXDP leaves after coming second") << "O+ V+ V-" << 1 << "127.1.0.1"
                                                     << "VX-IPC-B420 (ONVIF)" << true;
    QTest::addRow("VXDP comes back") << "V+ O+ V- V+" << 1 << "10.0.0.1"
                                     << "VX-IPC-B420 +ONVIF" << false;
    QTest::addRow("another serial number with its MAC leaves") << "V+ O+ W-" << 1 << "10.0.0.1"
                                                               << "VX-IPC-B420 +ONVIF" << false;
    QTest::addRow("both leave") << "V+ O+ O- V-" << 0 << ""
                                << "" << false;
    QTest::addRow("ONVIF alone") << "O+" << 1 << "127.1.0.1"
                                 << "VX-IPC-B420 (ONVIF)" << true;
    QTest::addRow("ONVIF twice") << "O+ O+" << 1 << "127.1.0.1"
                                 << "VX-IPC-B420 (ONVIF)" << true;
}

void tst_ProtocolRows::oneRowPerDevice()
{
    QFETCH(QString, events);
    QFETCH(int, rows);
    QFETCH(QString, address);
    QFETCH(QString, type);
    QFETCH(bool, onvifPanel);

    m_page->onDeviceLogin(deviceRecord(2)); // a bystander that must stay as it is
    for (const QString &event : events.split(QLatin1Char(' '))) {
        VEXO_DEVICE_INFO record = event.at(0) == QLatin1Char('O') ? onvifOf(1) : deviceRecord(1);
        if (event.at(0) == QLatin1Char('W'))
            setFieldText(record.serialNumber, serialOf(deviceRecord(3)).toLatin1());
        if (event.at(1) == QLatin1Char('+'))
            m_page->onDeviceLogin(record);
        else
            leave(record);
    }

    QCOMPARE(model()->rowCount(), rows + 1);
    QCOMPARE(m_store->count(), rows + 1);
    const int bystander = model()->rowOf(serialOf(deviceRecord(2)), macOf(deviceRecord(2)));
    QCOMPARE(cell(bystander, DeviceInfoModel::ColumnDeviceType), QStringLiteral("VX-IPC-B420"));
    const int row = model()->rowOf(serialOf(deviceRecord(1)), macOf(deviceRecord(1)));
    QCOMPARE(row >= 0, rows == 1);
    if (row < 0)
        return;
    QCOMPARE(cell(row, DeviceInfoModel::ColumnIPv4Address), address);
    QCOMPARE(cell(row, DeviceInfoModel::ColumnDeviceType), type);
    QCOMPARE(m_page->deviceInfoOfRow(row).protocol == DeviceProtocol::Onvif, onvifPanel);
    const QString tip
        = model()->index(row, model()->columnOf(DeviceInfoModel::ColumnDeviceType)).data(Qt::ToolTipRole).toString();
    QCOMPARE(tip.contains(QLatin1String("ONVIF")), type.contains(QLatin1String("ONVIF")));
    // The store keeps the record the row shows.
    VEXO_DEVICE_INFO stored{};
    QVERIFY(m_store->get(serialOf(deviceRecord(1)), macOf(deviceRecord(1)), stored));
    QCOMPARE(fieldText(stored.ipv4Address), address);
}

void tst_ProtocolRows::unidentifiedRowCells_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    const QString unknown = QStringLiteral("\u2014");
    QTest::addRow("type from the scopes, marked ONVIF") << int(DeviceInfoModel::ColumnDeviceType) << "Cam-Z8 (ONVIF)";
    QTest::addRow("address from the XAddrs") << int(DeviceInfoModel::ColumnIPv4Address) << "127.1.0.5";
    QTest::addRow("status asks for credentials") << int(DeviceInfoModel::ColumnActivate) << "Needs log-in";
    QTest::addRow("endpoint reference as serial")
        << int(DeviceInfoModel::ColumnSerialNumber) << "urn:uuid:0c9e1a2e-4b1d-4a2f-9d1e-000000000005";
    QTest::addRow("MAC unknown") << int(DeviceInfoModel::ColumnMac) << unknown;
    QTest::addRow("device port unknown, not 0") << int(DeviceInfoModel::ColumnPort) << unknown;
    QTest::addRow("web port unknown, not N/A") << int(DeviceInfoModel::ColumnHttpPort) << unknown;
    QTest::addRow("channels unknown") << int(DeviceInfoModel::ColumnChannelNo) << unknown;
    QTest::addRow("mask unknown") << int(DeviceInfoModel::ColumnIPv4Mask) << unknown;
    QTest::addRow("firmware unknown") << int(DeviceInfoModel::ColumnSoftVersion) << unknown;
    QTest::addRow("DHCP unknown, not OFF") << int(DeviceInfoModel::ColumnIPv4Dhcp) << unknown;
    QTest::addRow("DHCP support unknown, not No") << int(DeviceInfoModel::ColumnSupportDhcp) << unknown;
}

void tst_ProtocolRows::unidentifiedRowCells()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    m_page->onDeviceLogin(unidentified(5));
    QCOMPARE(model()->rowCount(), 1);
    QCOMPARE(cell(0, column), text);
}

void tst_ProtocolRows::unidentifiedRowGoesToThePanelAsOnvif()
{
    // Devices without a MAC are not one another's duplicates; the same endpoint is.
    m_page->onDeviceLogin(unidentified(5));
    m_page->onDeviceLogin(unidentified(6, ""));
    m_page->onDeviceLogin(unidentified(5));
    QCOMPARE(model()->rowCount(), 2);
    const int nameless = model()->rowOf(serialOf(unidentified(6)), QString());
    QCOMPARE(cell(nameless, DeviceInfoModel::ColumnDeviceType), QStringLiteral("\u2014 (ONVIF)"));
    const QString tip = model()
                            ->index(nameless, model()->columnOf(DeviceInfoModel::ColumnDeviceType))
                            .data(Qt::ToolTipRole)
                            .toString();
    QVERIFY2(tip.contains(QLatin1String("user name and password")), qPrintable(tip));

    QSignalSpy reports(m_page.get(), &DeviceDisplayPage::signalCurrentSelectionModelChange);
    model()->setCheckState(nameless, Qt::Checked);
    QCOMPARE(reports.size(), 1);
    // Modify, not activation, though its record says inactive; the key as the store has it.
    QCOMPARE(reports.at(0).at(0).value<ModifyPage>(), ModifySingle);
    const DeviceInfo info = reports.at(0).at(1).value<QVector<DeviceInfo>>().value(0);
    QCOMPARE(info.protocol, DeviceProtocol::Onvif);
    QCOMPARE(info.strSerialNumber, serialOf(unidentified(6)));
    QCOMPARE(info.strMAC, QString());
}

QTEST_MAIN(tst_ProtocolRows)

#include "tst_protocolrows.moc"

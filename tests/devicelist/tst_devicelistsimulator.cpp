// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The device list fed by the discovery service and the device simulator, on loopback only.

#include "simulatedlist.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>

#include <devicestore.h>
#include <vexohandler.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <memory>

using VEXO::VexoHandler;
using VexoTool::DeviceDisplayPage;
using VexoTool::DeviceInfoModel;

namespace {

constexpr int kDevices = 6;

} // namespace

class tst_DeviceListSimulator : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void devicesComeGoAndComeBackAfterRefresh();

private:
    SimulatedList m_devices;
};

void tst_DeviceListSimulator::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(m_devices.start(kDevices, 7, 3000));
}

void tst_DeviceListSimulator::cleanupTestCase()
{
    m_devices.stop();
}

void tst_DeviceListSimulator::devicesComeGoAndComeBackAfterRefresh()
{
    VexoHandler *handler = &m_devices.discovery();
    DeviceStore *store = &m_devices.store();
    DeviceDisplayPage &page = m_devices.page();
    QSignalSpy reports(&page, &DeviceDisplayPage::signalCurrentSelectionModelChange);
    const auto *count = page.findChild<QLabel *>(QStringLiteral("m_labelDeviceCountValue"));
    DeviceInfoModel *model = page.model();

    QVERIFY(handler->isStarted());
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), kDevices, 15000);
    QCOMPARE(count->text(), QString::number(kDevices));
    QCOMPARE(store->count(), kDevices);

    // Every device is listed with the texts it reported.
    for (int row = 0; row < kDevices; ++row) {
        const DeviceInfo info = page.deviceInfoOfRow(row);
        VEXO_DEVICE_INFO record{};
        QVERIFY(store->get(info.strSerialNumber, info.strMAC, record));
        QCOMPARE(info.strIPv4Address, fieldText(record.ipv4Address));
        QCOMPARE(model->text(row, DeviceInfoModel::ColumnActivate),
                 record.inactive ? QStringLiteral("Not activated") : QStringLiteral("Activated"));
    }

    // The user checks a device; it says goodbye; the list and the panel's selection follow.
    const DeviceInfo leaving = page.deviceInfoOfRow(2);
    model->setCheckState(2, Qt::Checked);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(m_devices.simulator().commandResult(QStringLiteral("stop ") + leaving.strSerialNumber),
             QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), kDevices - 1, 10000);
    QCOMPARE(count->text(), QString::number(kDevices - 1));
    QCOMPARE(model->rowOf(leaving.strSerialNumber, leaving.strMAC), -1);
    QTRY_COMPARE(reports.count(), 2);
    QCOMPARE(reports.last().at(0).value<ModifyPage>(), ModifySingle);
    QVERIFY(reports.last().at(1).value<QVector<DeviceInfo>>().isEmpty());

    // Refresh: the list empties at once, then the devices still online report again.
    page.findChild<QPushButton *>(QStringLiteral("m_btnRefreshDeviceInfo"))->click();
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(count->text(), QStringLiteral("0"));
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), kDevices - 1, 15000);
    QCOMPARE(count->text(), QString::number(kDevices - 1));
    QCOMPARE(model->rowOf(leaving.strSerialNumber, leaving.strMAC), -1);
    QCOMPARE(store->count(), kDevices - 1);
    QVERIFY(handler->stop());
}

QTEST_MAIN(tst_DeviceListSimulator)

#include "tst_devicelistsimulator.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The device list fed by the discovery service and the device simulator, on loopback only.

#include "simulatorprocess.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>

#include <devicestore.h>
#include <vexohandler.h>

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
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
    SimulatorProcess m_sim;
    QTemporaryDir m_dir;
};

void tst_DeviceListSimulator::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    qputenv("VEXO_SCOPE", "loopback"); // never the LAN from a test
    qputenv("VEXO_TIMEOUT_MS", "3000");
    QVERIFY(m_dir.isValid());
    QVERIFY(m_sim.start(
        {QStringLiteral("--count"), QString::number(kDevices), QStringLiteral("--seed"), QStringLiteral("7")}));
    qputenv("VEXO_PORT", QByteArray::number(m_sim.port()));
    registerDiscoveryMetaTypes();
}

void tst_DeviceListSimulator::cleanupTestCase()
{
    VexoHandler::instance()->stop();
    m_sim.stop();
}

void tst_DeviceListSimulator::devicesComeGoAndComeBackAfterRefresh()
{
    VexoHandler *handler = VexoHandler::instance();
    DeviceDisplayPage page(DeviceStore::instance(), handler, nullptr,
                           m_dir.filePath(QStringLiteral("ColumnConfig.xml")));
    // As the main window wires them: queued from the library's thread.
    connect(handler, &VexoHandler::signalDeviceOnline, &page, &DeviceDisplayPage::onDeviceLogin);
    connect(handler, &VexoHandler::signalDeviceOffline, &page, &DeviceDisplayPage::onDeviceLogout);
    connect(handler, &VexoHandler::signalDeviceUpdate, &page, &DeviceDisplayPage::onDeviceUpdate);
    QSignalSpy reports(&page, &DeviceDisplayPage::signalCurrentSelectionModelChange);
    const auto *count = page.findChild<QLabel *>(QStringLiteral("m_labelDeviceCountValue"));
    DeviceInfoModel *model = page.model();

    QVERIFY(handler->start());
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), kDevices, 15000);
    QCOMPARE(count->text(), QString::number(kDevices));
    QCOMPARE(DeviceStore::instance()->count(), kDevices);

    // Every device is listed with the texts it reported.
    for (int row = 0; row < kDevices; ++row) {
        const DeviceInfo info = page.deviceInfoOfRow(row);
        VEXO_DEVICE_INFO record{};
        QVERIFY(DeviceStore::instance()->get(info.strSerialNumber, info.strMAC, record));
        QCOMPARE(info.strIPv4Address, fieldText(record.ipv4Address));
        QCOMPARE(model->item(row, model->columnOf(DeviceInfoModel::ColumnActivate))->text(),
                 record.inactive ? QStringLiteral("Not activated") : QStringLiteral("Activated"));
    }

    // The user checks a device; it says goodbye; the list and the panel's selection follow.
    const DeviceInfo leaving = page.deviceInfoOfRow(2);
    model->item(2, model->columnOf(DeviceInfoModel::ColumnCheck))->setCheckState(Qt::Checked);
    QCOMPARE(reports.count(), 1);
    QCOMPARE(m_sim.commandResult(QStringLiteral("stop ") + leaving.strSerialNumber), QStringLiteral("ok"));
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
    QCOMPARE(DeviceStore::instance()->count(), kDevices - 1);
    QVERIFY(handler->stop());
}

QTEST_MAIN(tst_DeviceListSimulator)

#include "tst_devicelistsimulator.moc"

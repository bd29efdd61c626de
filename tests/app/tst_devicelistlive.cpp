// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatorprocess.h"

#include <vexotoolmainpage.h>

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <devicestore.h>
#include <vexohandler.h>

#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The whole chain on loopback: simulated devices, the discovery library, the service's
// signals across threads, the main window's connections and the device list.
class TestDeviceListLive : public QObject
{
    Q_OBJECT

private slots:
    void listFollowsSimulatedDevices();
    void activateThenModifyThroughTheWindow();
};

void TestDeviceListLive::listFollowsSimulatedDevices()
{
    QCOMPARE(qgetenv("VEXO_SCOPE"), QByteArray("loopback"));
    SimulatorProcess simulator;
    QVERIFY(simulator.start(
        {QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("11")}));
    qputenv("VEXO_PORT", QByteArray::number(simulator.port()));
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");

    VexoTool::VEXOToolMainPage window;
    window.resize(1280, 768);
    window.show();
    window.onMovePinButtion();

    VexoTool::DeviceDisplayPage *page = window.deviceDisplayPage();
    auto *countLabel = page->findChild<QLabel *>(QStringLiteral("m_labelDeviceCountValue"));
    QVERIFY(countLabel);
    QTRY_COMPARE_WITH_TIMEOUT(page->model()->rowCount(), 6, 20000);
    QCOMPARE(countLabel->text(), QStringLiteral("6"));

    const QString serial = page->deviceInfoOfRow(2).strSerialNumber;
    QVERIFY(!serial.isEmpty());
    QCOMPARE(simulator.commandResult(QStringLiteral("stop ") + serial), QStringLiteral("ok"));

    QTRY_COMPARE_WITH_TIMEOUT(page->model()->rowCount(), 5, 20000);
    QCOMPARE(countLabel->text(), QStringLiteral("5"));
    for (int row = 0; row < page->model()->rowCount(); ++row)
        QVERIFY(page->deviceInfoOfRow(row).strSerialNumber != serial);
}

void TestDeviceListLive::activateThenModifyThroughTheWindow()
{
    // The discovery service outlives windows; start it afresh on this test's simulator.
    QVERIFY(VEXO::VexoHandler::instance()->stop());
    DeviceStore::instance()->clear();
    SimulatorProcess simulator;
    QVERIFY(simulator.start(
        {QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("12")}));
    qputenv("VEXO_PORT", QByteArray::number(simulator.port()));
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(100));

    VexoTool::VEXOToolMainPage window;
    window.resize(1280, 768);
    window.show();
    VexoTool::DeviceDisplayPage *page = window.deviceDisplayPage();
    VexoTool::DeviceModifyPage *panel = window.deviceModifyPage();
    VexoTool::DeviceInfoModel *model = page->model();
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 6, 20000);

    int row = -1;
    for (int r = 0; r < model->rowCount() && row < 0; ++r) {
        const DeviceInfo info = page->deviceInfoOfRow(r);
        VEXO_DEVICE_INFO record{};
        if (DeviceStore::instance()->get(info.strSerialNumber, info.strMAC, record) && record.inactive)
            row = r;
    }
    QVERIFY(row >= 0);
    const DeviceInfo device = page->deviceInfoOfRow(row);
    auto field = [panel](const char *name) {
        return panel->findChild<aptui::MultiStateLineEdit *>(name);
    };
    auto button = [panel](const char *name) {
        return panel->findChild<QPushButton *>(name);
    };

    // Checking the row offers activation; activating turns the panel into the network form.
    model->item(row, model->columnOf(VexoTool::DeviceInfoModel::ColumnCheck))->setCheckState(Qt::Checked);
    QVERIFY(button("m_btnActive")->isVisible());
    field("m_lineEditNewPassword")->setText(QStringLiteral("First2026pass"));
    field("m_lineEditConfirmPassword")->setText(QStringLiteral("First2026pass"));
    button("m_btnActive")->click();
    QVERIFY(button("m_btnModify")->isVisible());
    QCOMPARE(field("m_lineEditSerialNumber")->text(), device.strSerialNumber);
    QCOMPARE(model->item(row, model->columnOf(VexoTool::DeviceInfoModel::ColumnActivate))->text(),
             QStringLiteral("Activated"));

    // With the new password the device takes a new address, and its row shows it.
    field("m_lineEditIpAddress")->setText(QStringLiteral("10.90.0.7"));
    field("m_lineEditGateway")->setText(QStringLiteral("10.90.0.1")); // a gateway of the new subnet
    field("m_lineEditAdminPassword")->setText(QStringLiteral("First2026pass"));
    button("m_btnModify")->click();
    QTRY_COMPARE(page->deviceInfoOfRow(row).strIPv4Address, QStringLiteral("10.90.0.7"));
    QVERIFY(!window.isCovered());
}

QTEST_MAIN(TestDeviceListLive)

#include "tst_devicelistlive.moc"

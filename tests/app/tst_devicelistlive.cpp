// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulatorprocess.h"

#include <vexotoolmainpage.h>

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>

#include <QLabel>
#include <QTest>

// The whole chain on loopback: simulated devices, the discovery library, the service's
// signals across threads, the main window's connections and the device list.
class TestDeviceListLive : public QObject
{
    Q_OBJECT

private slots:
    void listFollowsSimulatedDevices();
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

QTEST_MAIN(TestDeviceListLive)

#include "tst_devicelistlive.moc"

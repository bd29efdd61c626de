// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The discovery service over the real library and simulated devices on loopback.
#include "simulatorprocess.h"

#include "deviceinfo.h"
#include "vexohandler.h"
#include "vexolibrary.h"

#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <memory>

using VEXO::VexoHandler;

class tst_VexoHandlerLoopback : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void devicesArriveQueuedOnTheGuiThread();
    void refreshReportsEveryDeviceAgain();
    void changeAndOfflineSignals();
    void operationsThroughTheService();

private:
    SimulatorProcess m_sim;
    std::unique_ptr<VexoHandler> m_handler; // over the library the program is linked with
    QStringList m_threadsSeen;
    int m_count = 10;
};

void tst_VexoHandlerLoopback::initTestCase()
{
    registerDiscoveryMetaTypes();
    QVERIFY(m_sim.start(
        {QStringLiteral("--count"), QString::number(m_count), QStringLiteral("--seed"), QStringLiteral("31")}));
    qputenv("VEXO_PORT", QByteArray::number(m_sim.port()));
    m_handler = std::make_unique<VexoHandler>(VEXO::VexoLibrary::linked());
}

void tst_VexoHandlerLoopback::cleanupTestCase()
{
    QVERIFY(m_handler->stop());
    QVERIFY(!m_handler->isStarted());
    m_handler.reset();
}

void tst_VexoHandlerLoopback::devicesArriveQueuedOnTheGuiThread()
{
    VexoHandler *handler = m_handler.get();
    QList<QThread *> threads;
    // The receiver lives on the GUI thread, so the connection queues; its lifetime ends the
    // connection with this function, whatever the outcome.
    QObject receiver;
    connect(handler, &VexoHandler::signalDeviceOnline, &receiver,
            [&threads](const VEXO_DEVICE_INFO &) { threads.append(QThread::currentThread()); });
    QSignalSpy online(handler, &VexoHandler::signalDeviceOnline);
    QVERIFY(handler->start());
    QVERIFY(handler->start()); // a second start is harmless
    QTRY_COMPARE_WITH_TIMEOUT(online.count(), m_count, 10000);
    // The spy counts as the library emits; the queued copies arrive on the GUI thread after that.
    QTRY_COMPARE_WITH_TIMEOUT(threads.size(), m_count, 10000);
    for (QThread *t : std::as_const(threads))
        QCOMPARE(t, QCoreApplication::instance()->thread());
    const auto record = online.first().first().value<VEXO_DEVICE_INFO>();
    QCOMPARE(QByteArray(record.leadText), QByteArray("VXDP/1"));
    QCOMPARE(record.eventCode, VEXO_EVENT_ONLINE);
}

void tst_VexoHandlerLoopback::refreshReportsEveryDeviceAgain()
{
    VexoHandler *handler = m_handler.get();
    QSignalSpy online(handler, &VexoHandler::signalDeviceOnline);
    QVERIFY(handler->clearup());
    QVERIFY(handler->sendInquiry());
    QTRY_COMPARE_WITH_TIMEOUT(online.count(), m_count, 10000);
}

void tst_VexoHandlerLoopback::changeAndOfflineSignals()
{
    VexoHandler *handler = m_handler.get();
    QSignalSpy online(handler, &VexoHandler::signalDeviceOnline);
    QSignalSpy offline(handler, &VexoHandler::signalDeviceOffline);
    QSignalSpy update(handler, &VexoHandler::signalDeviceUpdate);
    QVERIFY(handler->clearup());
    QVERIFY(handler->sendInquiry());
    QTRY_COMPARE_WITH_TIMEOUT(online.count(), m_count, 10000);
    const auto device = online.first().first().value<VEXO_DEVICE_INFO>();

    QCOMPARE(m_sim.commandResult(QStringLiteral("set %1 ipv4 203.0.113.44").arg(QLatin1String(device.serialNumber))),
             QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(update.count(), 1, 5000);
    QCOMPARE(QByteArray(update.first().first().value<VEXO_DEVICE_INFO>().ipv4Address), QByteArray("203.0.113.44"));

    QCOMPARE(m_sim.commandResult(QStringLiteral("stop %1").arg(QLatin1String(device.serialNumber))),
             QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(offline.count(), 1, 5000);
    QCOMPARE(QByteArray(offline.first().first().value<VEXO_DEVICE_INFO>().macAddress), QByteArray(device.macAddress));
    QCOMPARE(m_sim.commandResult(QStringLiteral("start %1").arg(QLatin1String(device.serialNumber))),
             QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(online.count(), m_count + 1, 5000);
}

void tst_VexoHandlerLoopback::operationsThroughTheService()
{
    VexoHandler *handler = m_handler.get();
    QSignalSpy online(handler, &VexoHandler::signalDeviceOnline);
    QVERIFY(handler->clearup());
    QVERIFY(handler->sendInquiry());
    QTRY_COMPARE_WITH_TIMEOUT(online.count(), m_count, 10000);
    VEXO_DEVICE_INFO fresh{};
    for (const auto &args : std::as_const(online)) {
        const auto d = args.first().value<VEXO_DEVICE_INFO>();
        if (d.inactive)
            fresh = d;
    }
    QVERIFY(fresh.serialNumber[0]);
    QVERIFY(handler->activateDevice(QByteArray(fresh.serialNumber), "Handler-Pass1"));
    QCOMPARE(handler->getLastError(), quint32(0));
    QVERIFY(!handler->activateDevice(QByteArray(fresh.serialNumber), "Handler-Pass1"));
    QCOMPARE(handler->getLastError(), quint32(2021));
}

QTEST_GUILESS_MAIN(tst_VexoHandlerLoopback)
#include "tst_vexohandlerloopback.moc"

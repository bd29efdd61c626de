// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "fakevexo.h"

#include <deviceinfo.h>
#include <vexohandler.h>

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

#include <cstring>
#include <functional>
#include <memory>
#include <thread>

using FakeVexo::Call;
using VEXO::VexoHandler;

namespace {

// A record as the library reports it: short, terminated texts and the given event code.
VEXO_DEVICE_INFO deviceRecord(int eventCode, QByteArrayView serial = "SN0001")
{
    VEXO_DEVICE_INFO record{};
    setFieldText(record.leadText, "VXDP/1");
    setFieldText(record.serialNumber, serial);
    setFieldText(record.macAddress, "aa-bb-cc-dd-ee-01");
    setFieldText(record.ipv4Address, "127.0.0.2");
    record.eventCode = eventCode;
    return record;
}

// Every byte from the start of the record to the end of startTime's 64-byte window is non-NUL,
// so none of the eight tested texts ends within 64 bytes; @p nulAt then places one terminator.
VEXO_DEVICE_INFO recordWithNulAt(int nulAt)
{
    VEXO_DEVICE_INFO record;
    std::memset(&record, 'x', sizeof record);
    if (nulAt >= 0)
        reinterpret_cast<char *>(&record)[nulAt] = '\0';
    return record;
}

using Operation = std::function<bool(VexoHandler *)>;

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(FakeVexo::Call)

class tst_VexoHandler : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void constructorTurnsTheLogOn();
    void signalsAreSpelledWithTheRecordType_data();
    void signalsAreSpelledWithTheRecordType();
    void startTwiceCallsTheLibraryOnce();
    void failedStartCanBeRetried();
    void stopBeforeStartDoesNotCallTheLibrary();
    void failedStopStaysStarted();
    void filterRuleArguments_data();
    void filterRuleArguments();
    void failedFilterRuleWritesADebugLine();
    void wrappersTurnResultsIntoSuccess_data();
    void wrappersTurnResultsIntoSuccess();
    void wrappersPassTheirArguments();
    void textsWithNulAreRefused_data();
    void textsWithNulAreRefused();
    void eventCodeChoosesTheSignal_data();
    void eventCodeChoosesTheSignal();
    void plausibilityOfTheTexts_data();
    void plausibilityOfTheTexts();
    void implausibleRecordIsDropped();
    void nullPointersAreIgnored();
    void reportsFromTheLibraryThreadArriveQueuedInOrder();
    void singleDepartureArrivesWithTheNextPassOfTheEventLoop();
    void anotherLibraryOnlyWhileStopped_data();
    void anotherLibraryOnlyWhileStopped();

private:
    std::unique_ptr<VexoHandler> m_handler;
    // What the constructor told the library, taken before the first reset of the fake.
    int m_logCalls = 0;
    int m_logLevel = -1;
    bool m_logDirNull = false;
    int m_logAutoDelete = -1;
};

void tst_VexoHandler::initTestCase()
{
    FakeVexo::reset();
    registerDiscoveryMetaTypes();
    m_handler = std::make_unique<VexoHandler>(FakeVexo::library());
    m_logCalls = FakeVexo::calls(Call::SetLogToFile);
    m_logLevel = FakeVexo::state().logLevel;
    m_logDirNull = FakeVexo::state().logDirNull;
    m_logAutoDelete = FakeVexo::state().logAutoDelete;
}

void tst_VexoHandler::init()
{
    FakeVexo::setResult(Call::Stop, 1);
    QVERIFY(m_handler->stop());
    QVERIFY(!m_handler->isStarted());
    FakeVexo::reset();
}

void tst_VexoHandler::constructorTurnsTheLogOn()
{
    QCOMPARE(m_logCalls, 1);
    QCOMPARE(m_logLevel, 3);
    QVERIFY(m_logDirNull);
    QCOMPARE(m_logAutoDelete, 1);
}

void tst_VexoHandler::signalsAreSpelledWithTheRecordType_data()
{
    QTest::addColumn<QByteArray>("signature");
    QTest::addRow("online") << QByteArray("signalDeviceOnline(VEXO_DEVICE_INFO)");
    QTest::addRow("offline") << QByteArray("signalDeviceOffline(VEXO_DEVICE_INFO)");
    QTest::addRow("update") << QByteArray("signalDeviceUpdate(VEXO_DEVICE_INFO)");
}

void tst_VexoHandler::signalsAreSpelledWithTheRecordType()
{
    QFETCH(QByteArray, signature);
    QVERIFY(VexoHandler::staticMetaObject.indexOfSignal(signature.constData()) >= 0);
}

void tst_VexoHandler::startTwiceCallsTheLibraryOnce()
{
    QVERIFY(m_handler->start());
    QVERIFY(m_handler->start());
    QCOMPARE(FakeVexo::calls(Call::Start), 1);
    QCOMPARE(FakeVexo::state().startFlags, 1);
    QCOMPARE(FakeVexo::state().userData, static_cast<void *>(m_handler.get()));
    QVERIFY(FakeVexo::state().callback);
    QVERIFY(m_handler->isStarted());
}

void tst_VexoHandler::failedStartCanBeRetried()
{
    FakeVexo::setResult(Call::Start, 0);
    QVERIFY(!m_handler->start());
    QVERIFY(!m_handler->isStarted());
    QVERIFY(m_handler->stop());
    QCOMPARE(FakeVexo::calls(Call::Stop), 0);

    FakeVexo::setResult(Call::Start, 1);
    QVERIFY(m_handler->start());
    QCOMPARE(FakeVexo::calls(Call::Start), 2);
}

void tst_VexoHandler::stopBeforeStartDoesNotCallTheLibrary()
{
    QVERIFY(m_handler->stop());
    QCOMPARE(FakeVexo::calls(Call::Stop), 0);
}

void tst_VexoHandler::failedStopStaysStarted()
{
    QVERIFY(m_handler->start());
    FakeVexo::setResult(Call::Stop, 0);
    QVERIFY(!m_handler->stop());
    QVERIFY(m_handler->isStarted());
    FakeVexo::setResult(Call::Stop, 1);
    QVERIFY(m_handler->stop());
    QVERIFY(!m_handler->isStarted());
    QCOMPARE(FakeVexo::calls(Call::Stop), 2);
    QVERIFY(m_handler->stop());
    QCOMPARE(FakeVexo::calls(Call::Stop), 2);
}

void tst_VexoHandler::filterRuleArguments_data()
{
    QTest::addColumn<bool>("filter");
    QTest::addColumn<int>("rule");
    QTest::addRow("filter") << true << 1;
    QTest::addRow("no filter") << false << 0;
}

void tst_VexoHandler::filterRuleArguments()
{
    QFETCH(bool, filter);
    QFETCH(int, rule);
    QVERIFY(m_handler->setDeviceFilterRule(filter));
    QCOMPARE(FakeVexo::state().filterRule, rule);
    QVERIFY(FakeVexo::state().filterArgNull);
    QCOMPARE(FakeVexo::state().filterArgLength, 0);
}

void tst_VexoHandler::failedFilterRuleWritesADebugLine()
{
    FakeVexo::setResult(Call::SetDeviceFilterRule, 0);
    FakeVexo::state().lastError = VEXO_ERR_BAD_ARGUMENT;
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression(QStringLiteral("error.*2002")));
    QVERIFY(!m_handler->setDeviceFilterRule(true));
}

void tst_VexoHandler::wrappersTurnResultsIntoSuccess_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("success");
    const QList<std::pair<Call, Operation>> operations{
        {Call::SendInquiry,
         [](VexoHandler *h) {
             return h->sendInquiry();
         }},
        {Call::Clearup,
         [](VexoHandler *h) {
             return h->clearup();
         }},
        {Call::ActivateDevice,
         [](VexoHandler *h) {
             return h->activateDevice("SN1", "Abc12345");
         }},
        {Call::ModifyDeviceNetParam,
         [](VexoHandler *h) {
             return h->modifyDeviceNetParam("aa-bb-cc-dd-ee-ff", "Abc12345", DeviceNetParam{});
         }},
        {Call::GetDeviceConfig,
         [](VexoHandler *h) {
             VEXO_KEY_BUFFER key{};
             return h->getDeviceConfig("SN1", VEXO_GET_KEY_V1, nullptr, 0, &key, sizeof key);
         }},
        {Call::ResetPasswd,
         [](VexoHandler *h) {
             return h->resetPasswd("SN1", VEXO_RESET_PARAM{});
         }},
        {Call::ResetDefaultPasswd,
         [](VexoHandler *h) {
             return h->resetDefaultPasswd("SN1", "code");
         }},
    };
    const QList<std::pair<int, bool>> results{{1, true}, {2, true}, {0, false}, {-1, false}};
    const char *names[] = {"sendInquiry",     "clearup",     "activateDevice",    "modifyDeviceNetParam",
                           "getDeviceConfig", "resetPasswd", "resetDefaultPasswd"};
    for (int i = 0; i < operations.size(); ++i) {
        for (const auto &[result, success] : results) {
            QTest::addRow("%s returns %d", names[i], result)
                << operations[i].first << operations[i].second << result << success;
        }
    }
}

void tst_VexoHandler::wrappersTurnResultsIntoSuccess()
{
    QFETCH(Call, call);
    QFETCH(Operation, operation);
    QFETCH(int, result);
    QFETCH(bool, success);
    FakeVexo::setResult(call, result);
    QCOMPARE(operation(m_handler.get()), success);
    QCOMPARE(FakeVexo::calls(call), 1);
}

void tst_VexoHandler::wrappersPassTheirArguments()
{
    QVERIFY(m_handler->activateDevice("SN-\xe9", "p\xe4ss"));
    QCOMPARE(FakeVexo::state().identifier, std::string("SN-\xe9"));
    QCOMPARE(FakeVexo::state().secret, std::string("p\xe4ss"));

    DeviceNetParam param{};
    setFieldText(param.ipv4Address, "127.0.0.9");
    param.port = 8000;
    QVERIFY(m_handler->modifyDeviceNetParam("aa-bb-cc-dd-ee-ff", "Admin123", param));
    QCOMPARE(FakeVexo::state().identifier, std::string("aa-bb-cc-dd-ee-ff"));
    QCOMPARE(FakeVexo::state().secret, std::string("Admin123"));
    QCOMPARE(std::memcmp(&FakeVexo::state().netParam, &param, sizeof param), 0);

    VEXO_KEY_BUFFER_V2 key{};
    QVERIFY(m_handler->getDeviceConfig("SN2", VEXO_GET_KEY_V2, nullptr, 0, &key, sizeof key));
    QCOMPARE(FakeVexo::state().identifier, std::string("SN2"));
    QCOMPARE(FakeVexo::state().command, uint32_t(2));
    QVERIFY(!FakeVexo::state().input);
    QCOMPARE(FakeVexo::state().inputLength, uint32_t(0));
    QCOMPARE(FakeVexo::state().output, static_cast<void *>(&key));
    QCOMPARE(FakeVexo::state().outputLength, uint32_t(388));

    VEXO_RESET_PARAM reset{};
    setFieldText(reset.secretKey, "KEY");
    setFieldText(reset.password, "NewPass1");
    reset.resetIpc = 1;
    QVERIFY(m_handler->resetPasswd("SN3", reset));
    QCOMPARE(FakeVexo::state().identifier, std::string("SN3"));
    QCOMPARE(std::memcmp(&FakeVexo::state().resetParam, &reset, sizeof reset), 0);

    QVERIFY(m_handler->resetDefaultPasswd("SN4", "SECURITY"));
    QCOMPARE(FakeVexo::state().identifier, std::string("SN4"));
    QCOMPARE(FakeVexo::state().secret, std::string("SECURITY"));

    FakeVexo::state().lastError = VEXO_ERR_DEVICE_DENY;
    QCOMPARE(m_handler->getLastError(), quint32(2009));
}

void tst_VexoHandler::textsWithNulAreRefused_data()
{
    QTest::addColumn<Call>("call");
    QTest::addColumn<Operation>("operation");
    const QByteArray withNul("Abc\0def", 7);
    QTest::addRow("activation password") << Call::ActivateDevice << Operation([withNul](VexoHandler *h) {
        return h->activateDevice("SN1", withNul);
    });
    QTest::addRow("activation serial") << Call::ActivateDevice << Operation([withNul](VexoHandler *h) {
        return h->activateDevice(withNul, "Abc12345");
    });
    QTest::addRow("admin password") << Call::ModifyDeviceNetParam << Operation([withNul](VexoHandler *h) {
        return h->modifyDeviceNetParam("aa-bb", withNul, DeviceNetParam{});
    });
    QTest::addRow("security code") << Call::ResetDefaultPasswd << Operation([withNul](VexoHandler *h) {
        return h->resetDefaultPasswd("SN1", withNul);
    });
    QTest::addRow("key query serial") << Call::GetDeviceConfig << Operation([withNul](VexoHandler *h) {
        char out[260] = {};
        return h->getDeviceConfig(withNul, 1, nullptr, 0, out, sizeof out);
    });
    QTest::addRow("reset serial") << Call::ResetPasswd << Operation([withNul](VexoHandler *h) {
        return h->resetPasswd(withNul, VEXO_RESET_PARAM{});
    });
}

void tst_VexoHandler::textsWithNulAreRefused()
{
    QFETCH(Call, call);
    QFETCH(Operation, operation);
    FakeVexo::state().lastError = VEXO_ERR_TIMEOUT; // an older failure the answer must not show
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("NUL")));
    QVERIFY(!operation(m_handler.get()));
    QCOMPARE(FakeVexo::calls(call), 0);
    QCOMPARE(m_handler->getLastError(), quint32(VEXO_ERR_BAD_ARGUMENT));

    // The next call that reaches the library reports the library's error again.
    FakeVexo::state().lastError = VEXO_NOERROR;
    QVERIFY(m_handler->sendInquiry());
    QCOMPARE(m_handler->getLastError(), quint32(VEXO_NOERROR));
}

void tst_VexoHandler::eventCodeChoosesTheSignal_data()
{
    QTest::addColumn<int>("eventCode");
    QTest::addColumn<int>("online");
    QTest::addColumn<int>("update");
    QTest::addColumn<int>("offline");
    QTest::addRow("1 online") << 1 << 1 << 0 << 0;
    QTest::addRow("2 update") << 2 << 0 << 1 << 0;
    QTest::addRow("3 offline") << 3 << 0 << 0 << 1;
    QTest::addRow("4 as online") << 4 << 1 << 0 << 0;
    QTest::addRow("0 dropped") << 0 << 0 << 0 << 0;
    QTest::addRow("5 dropped") << 5 << 0 << 0 << 0;
    QTest::addRow("-1 dropped") << -1 << 0 << 0 << 0;
    QTest::addRow("large dropped") << 0x10001 << 0 << 0 << 0;
}

void tst_VexoHandler::eventCodeChoosesTheSignal()
{
    QFETCH(int, eventCode);
    QFETCH(int, online);
    QFETCH(int, update);
    QFETCH(int, offline);
    QVERIFY(m_handler->start());
    QSignalSpy onlineSpy(m_handler.get(), &VexoHandler::signalDeviceOnline);
    QSignalSpy updateSpy(m_handler.get(), &VexoHandler::signalDeviceUpdate);
    QSignalSpy offlineSpy(m_handler.get(), &VexoHandler::signalDeviceOffline);

    auto record = deviceRecord(eventCode);
    record.reserved5[sizeof record.reserved5 - 1] = 0xa5; // the copy carries every byte
    FakeVexo::deliver(&record);

    QCOMPARE(onlineSpy.count(), online);
    QCOMPARE(updateSpy.count(), update);
    QCOMPARE(offlineSpy.count(), offline);
    for (QSignalSpy *spy : {&onlineSpy, &updateSpy, &offlineSpy}) {
        if (!spy->isEmpty()) {
            const auto sent = spy->first().first().value<VEXO_DEVICE_INFO>();
            QCOMPARE(std::memcmp(&sent, &record, sizeof record), 0);
        }
    }
}

void tst_VexoHandler::plausibilityOfTheTexts_data()
{
    // The eight texts start at 0, 12, 60, 80, 96, 128, 176 and 224; each is searched 64 bytes on.
    QTest::addColumn<int>("nulAt");
    QTest::addColumn<bool>("plausible");
    QTest::addRow("no terminator anywhere") << -1 << false;
    QTest::addRow("only leadText short") << 5 << true;
    QTest::addRow("only macAddress short, after its field") << 77 << true;
    QTest::addRow("only softwareVersion short") << 170 << true;
    QTest::addRow("only dspVersion short") << 200 << true;
    QTest::addRow("only startTime short, at its 64th byte") << 224 + 63 << true;
    QTest::addRow("just past startTime's 64 bytes") << 224 + 64 << false;
    QTest::addRow("terminator only in the last byte") << 499 << false;
}

void tst_VexoHandler::plausibilityOfTheTexts()
{
    QFETCH(int, nulAt);
    QFETCH(bool, plausible);
    QCOMPARE(VexoHandler::isPlausibleRecord(recordWithNulAt(nulAt)), plausible);
}

void tst_VexoHandler::implausibleRecordIsDropped()
{
    QVERIFY(m_handler->start());
    QSignalSpy onlineSpy(m_handler.get(), &VexoHandler::signalDeviceOnline);

    // Event code 1 puts NULs into startTime's window, so a record with that code always has one
    // short text; only the leadText's terminator decides here.
    auto garbage = recordWithNulAt(-1);
    garbage.eventCode = 0x01010101;
    FakeVexo::deliver(&garbage);
    QCOMPARE(onlineSpy.count(), 0);

    auto oneShort = recordWithNulAt(5);
    oneShort.eventCode = 1;
    FakeVexo::deliver(&oneShort);
    QCOMPARE(onlineSpy.count(), 1);
}

void tst_VexoHandler::nullPointersAreIgnored()
{
    QVERIFY(m_handler->start());
    QSignalSpy onlineSpy(m_handler.get(), &VexoHandler::signalDeviceOnline);
    const auto record = deviceRecord(1);
    FakeVexo::deliver(nullptr);
    FakeVexo::deliver(&record, nullptr);
    QCOMPARE(onlineSpy.count(), 0);
    FakeVexo::deliver(&record);
    QCOMPARE(onlineSpy.count(), 1);
}

void tst_VexoHandler::reportsFromTheLibraryThreadArriveQueuedInOrder()
{
    QVERIFY(m_handler->start());
    QObject receiver;
    QList<QByteArray> arrived;
    QList<QThread *> threads;
    const auto note = [&](const char *kind, const VEXO_DEVICE_INFO &record) {
        arrived.append(kind + QByteArray(" ") + fieldBytes(record.serialNumber).toByteArray());
        threads.append(QThread::currentThread());
    };
    connect(m_handler.get(), &VexoHandler::signalDeviceOnline, &receiver,
            [&](const VEXO_DEVICE_INFO &r) { note("online", r); });
    connect(m_handler.get(), &VexoHandler::signalDeviceUpdate, &receiver,
            [&](const VEXO_DEVICE_INFO &r) { note("update", r); });
    connect(m_handler.get(), &VexoHandler::signalDeviceOffline, &receiver,
            [&](const VEXO_DEVICE_INFO &r) { note("offline", r); });

    std::thread library([] {
        // The library's buffer is reused at once: the receivers must get their own copies.
        VEXO_DEVICE_INFO buffer = deviceRecord(1, "A");
        FakeVexo::deliver(&buffer);
        buffer = deviceRecord(2, "B");
        FakeVexo::deliver(&buffer);
        buffer = deviceRecord(3, "C");
        FakeVexo::deliver(&buffer);
        // One device that leaves and comes back: the list must see it go before it returns.
        buffer = deviceRecord(3, "A");
        FakeVexo::deliver(&buffer);
        buffer = deviceRecord(1, "A");
        FakeVexo::deliver(&buffer);
        std::memset(&buffer, 0, sizeof buffer);
    });
    library.join();
    QVERIFY(arrived.isEmpty()); // nothing ran on the library's thread

    QTRY_COMPARE(arrived.size(), 5);
    QCOMPARE(arrived, (QList<QByteArray>{"online A", "update B", "offline C", "offline A", "online A"}));
    for (QThread *thread : threads)
        QCOMPARE(thread, QThread::currentThread());
}

void tst_VexoHandler::singleDepartureArrivesWithTheNextPassOfTheEventLoop()
{
    QVERIFY(m_handler->start());
    QObject receiver;
    QList<QByteArray> gone;
    connect(m_handler.get(), &VexoHandler::signalDeviceOffline, &receiver,
            [&](const VEXO_DEVICE_INFO &r) { gone.append(fieldBytes(r.serialNumber).toByteArray()); });
    std::thread library([] {
        const VEXO_DEVICE_INFO record = deviceRecord(VEXO_EVENT_OFFLINE, "GONE");
        FakeVexo::deliver(&record);
    });
    library.join();
    QVERIFY(gone.isEmpty());
    // The list gathers departures that arrive together, but a lone one never waits for company.
    QCoreApplication::processEvents();
    QCOMPARE(gone, QList<QByteArray>{"GONE"});
}

void tst_VexoHandler::anotherLibraryOnlyWhileStopped_data()
{
    QTest::addColumn<bool>("started");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("taken");
    QTest::addRow("stopped, every entry point") << false << true << true;
    QTest::addRow("stopped, an entry point missing") << false << false << false;
    QTest::addRow("running") << true << true << false;
}

void tst_VexoHandler::anotherLibraryOnlyWhileStopped()
{
    QFETCH(bool, started);
    QFETCH(bool, complete);
    QFETCH(bool, taken);
    if (started)
        QVERIFY(m_handler->start());

    // The same stand-in, except for an inquiry that fails and is counted apart.
    static int otherInquiries = 0;
    otherInquiries = 0;
    VEXO::VexoLibrary other = FakeVexo::library();
    other.sendInquiry = [] {
        ++otherInquiries;
        return 0;
    };
    if (!complete)
        other.getLastError = nullptr;
    const int logCalls = FakeVexo::calls(Call::SetLogToFile);

    QCOMPARE(m_handler->useLibrary(other), taken);
    QCOMPARE(FakeVexo::calls(Call::SetLogToFile), logCalls + (taken ? 1 : 0)); // the new library logs too
    QCOMPARE(m_handler->sendInquiry(), !taken);
    QCOMPARE(otherInquiries, taken ? 1 : 0);
    QCOMPARE(FakeVexo::calls(Call::SendInquiry), taken ? 0 : 1);
    QVERIFY(m_handler->useLibrary(FakeVexo::library()) || started);
}

QTEST_GUILESS_MAIN(tst_VexoHandler)

#include "tst_vexohandler.moc"

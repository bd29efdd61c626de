// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "lockprobe.h"

#include <deviceinfo.h>
#include <devicestore.h>

#include <QRandomGenerator>
#include <QTest>

#include <cstring>
#include <functional>
#include <memory>
#include <vector>

using namespace std::chrono_literals;

namespace {

// A record whose every byte is set: unread bytes come from @p seed, so copies can be checked whole.
VEXO_DEVICE_INFO makeRecord(QByteArrayView serial, QByteArrayView mac, quint32 seed = 1)
{
    VEXO_DEVICE_INFO record;
    auto *bytes = reinterpret_cast<unsigned char *>(&record);
    QRandomGenerator random(seed);
    for (std::size_t i = 0; i < sizeof record; ++i)
        bytes[i] = uchar(random.bounded(1, 256));
    setFieldText(record.serialNumber, serial);
    setFieldText(record.macAddress, mac);
    setFieldText(record.ipv4Address, QByteArray("10.0.0.") + QByteArray::number(seed % 250));
    return record;
}

bool sameBytes(const VEXO_DEVICE_INFO &a, const VEXO_DEVICE_INFO &b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

QVector<VEXO_DEVICE_INFO> allRecords(const DeviceStore *store)
{
    QVector<VEXO_DEVICE_INFO> records;
    store->copyAll(records);
    return records;
}

bool sameRecords(const QVector<VEXO_DEVICE_INFO> &a, const QVector<VEXO_DEVICE_INFO> &b)
{
    return a.size() == b.size() && std::equal(a.cbegin(), a.cend(), b.cbegin(), sameBytes);
}

bool lockIsFree(const DeviceStore *store)
{
    LockProbe probe(store->mutex());
    return probe.acquiredWithin(5s);
}

using StoreAction = std::function<void(DeviceStore *)>;

} // namespace

Q_DECLARE_METATYPE(StoreAction)

class tst_DeviceStore : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void keepsInsertionOrderAndEveryByte();
    void duplicatesAreKeptAndTheFirstIsUsed();
    void indexOfFollowsRemovals();
    void agreesWithALinearScanOverRandomOperations();
    void absentKeyChangesNothingAndFreesTheLock_data();
    void absentKeyChangesNothingAndFreesTheLock();
    void keyNeedsBothHalvesExactly_data();
    void keyNeedsBothHalvesExactly();
    void unterminatedKeyFieldsAreReadWithinTheirWidth();
    void netParamsRoundTrip_data();
    void netParamsRoundTrip();
    void portKeepsItsLow16Bits_data();
    void portKeepsItsLow16Bits();
    void setNetParamsWritesOnlyNetworkFields();
    void setInactiveWritesOnlyThatByte();
    void callerMayHoldTheLockAroundSeveralOperations();
    void clearEmptiesTheStore();

private:
    std::unique_ptr<DeviceStore> m_store;
};

void tst_DeviceStore::init()
{
    m_store = std::make_unique<DeviceStore>();
}

void tst_DeviceStore::keepsInsertionOrderAndEveryByte()
{
    auto *store = m_store.get();
    const QVector<VEXO_DEVICE_INFO> records{makeRecord("SN3", "mac-3", 3), makeRecord("SN1", "mac-1", 1),
                                            makeRecord("SN2", "mac-2", 2)};
    for (const auto &record : records)
        store->add(record);

    QVERIFY(sameRecords(allRecords(store), records));
    VEXO_DEVICE_INFO out{};
    QVERIFY(store->get("SN1", "mac-1", out));
    QVERIFY(sameBytes(out, records[1]));
}

void tst_DeviceStore::duplicatesAreKeptAndTheFirstIsUsed()
{
    auto *store = m_store.get();
    const auto first = makeRecord("SN1", "mac-1", 10);
    const auto second = makeRecord("SN1", "mac-1", 20);
    const auto other = makeRecord("SN9", "mac-9", 30);
    store->add(other);
    store->add(first);
    store->add(second);
    QCOMPARE(store->count(), 3);
    QCOMPARE(store->indexOf("SN1", "mac-1"), 1);

    VEXO_DEVICE_INFO out{};
    QVERIFY(store->get("SN1", "mac-1", out));
    QVERIFY(sameBytes(out, first));

    const auto changed = makeRecord("SN1", "mac-1", 40);
    store->update(changed);
    QVERIFY(sameRecords(allRecords(store), {other, changed, second}));

    store->remove(second); // the key decides, not the bytes: the first entry goes
    QVERIFY(sameRecords(allRecords(store), {other, second}));
    QCOMPARE(store->indexOf("SN1", "mac-1"), 1);
    QVERIFY(store->containsMac("mac-1"));

    store->remove(second);
    QVERIFY(!store->containsMac("mac-1"));
    QCOMPARE(store->indexOf("SN1", "mac-1"), -1);
}

void tst_DeviceStore::indexOfFollowsRemovals()
{
    auto *store = m_store.get();
    QVector<VEXO_DEVICE_INFO> records;
    for (int i = 0; i < 5; ++i) {
        records.append(makeRecord("SN" + QByteArray::number(i), "mac-" + QByteArray::number(i), quint32(i)));
        store->add(records.last());
    }
    store->remove(records[1]);
    store->remove(records[3]);

    QCOMPARE(store->indexOf("SN0", "mac-0"), 0);
    QCOMPARE(store->indexOf("SN2", "mac-2"), 1);
    QCOMPARE(store->indexOf("SN4", "mac-4"), 2);
    QCOMPARE(store->indexOf("SN1", "mac-1"), -1);
}

// Random adds (with many duplicate keys), removes and updates, checked after every step against
// a plain vector searched from the front: positions, first matches and order must agree,
// also across the store's internal compaction.
void tst_DeviceStore::agreesWithALinearScanOverRandomOperations()
{
    auto *store = m_store.get();
    QVector<VEXO_DEVICE_INFO> model;
    QRandomGenerator random(4711);
    const auto keyOf = [](int n) {
        return std::pair(QByteArray("SN") + QByteArray::number(n % 40),
                         QByteArray("mac-") + QByteArray::number(n % 60));
    };
    const auto modelIndexOf = [&model](const QByteArray &serial, const QByteArray &mac) {
        for (int i = 0; i < model.size(); ++i) {
            if (fieldBytes(model[i].serialNumber) == serial && fieldBytes(model[i].macAddress) == mac)
                return i;
        }
        return -1;
    };

    for (int step = 0; step < 4000; ++step) {
        const int n = int(random.bounded(240));
        const auto [serial, mac] = keyOf(n);
        const auto record = makeRecord(serial, mac, quint32(step));
        const int choice = int(random.bounded(10));
        const int expectedIndex = modelIndexOf(serial, mac);
        // Grow in the first half, shrink in the second, so the store fills and empties.
        if (choice < (step < 2000 ? 6 : 2)) {
            store->add(record);
            model.append(record);
        } else if (choice < 8) {
            store->remove(record);
            if (expectedIndex >= 0)
                model.removeAt(expectedIndex);
        } else {
            store->update(record);
            if (expectedIndex >= 0)
                model[expectedIndex] = record;
        }

        const int probe = int(random.bounded(240));
        const auto [probeSerial, probeMac] = keyOf(probe);
        QCOMPARE(store->indexOf(probeSerial, probeMac), modelIndexOf(probeSerial, probeMac));
        QCOMPARE(store->count(), model.size());
        if (step % 97 == 0)
            QVERIFY(sameRecords(allRecords(store), model));
    }
    QVERIFY(sameRecords(allRecords(store), model));
}

void tst_DeviceStore::absentKeyChangesNothingAndFreesTheLock_data()
{
    QTest::addColumn<StoreAction>("action");
    const auto absent = makeRecord("SN-absent", "mac-absent", 99);
    QTest::addRow("remove") << StoreAction([absent](DeviceStore *s) { s->remove(absent); });
    QTest::addRow("update") << StoreAction([absent](DeviceStore *s) { s->update(absent); });
    QTest::addRow("get") << StoreAction([](DeviceStore *s) {
        VEXO_DEVICE_INFO out;
        std::memset(&out, 0x77, sizeof out);
        QVERIFY(!s->get("SN-absent", "mac-absent", out));
        QCOMPARE(uchar(reinterpret_cast<const unsigned char *>(&out)[200]), uchar(0x77));
    });
    QTest::addRow("getNetParams") << StoreAction([](DeviceStore *s) {
        DeviceNetParam out;
        std::memset(&out, 0x77, sizeof out);
        QVERIFY(!s->getNetParams("SN-absent", "mac-absent", out));
        QCOMPARE(uchar(out.ipv4Address[0]), uchar(0x77));
    });
    QTest::addRow("setNetParams") << StoreAction([](DeviceStore *s) {
        DeviceNetParam param{};
        QVERIFY(!s->setNetParams("SN-absent", "mac-absent", param));
    });
    QTest::addRow("setInactive") << StoreAction(
        [](DeviceStore *s) { QVERIFY(!s->setInactive("SN-absent", "mac-absent", 0)); });
    QTest::addRow("indexOf") << StoreAction(
        [](DeviceStore *s) { QCOMPARE(s->indexOf("SN-absent", "mac-absent"), -1); });
    QTest::addRow("containsMac") << StoreAction([](DeviceStore *s) { QVERIFY(!s->containsMac("mac-absent")); });
}

void tst_DeviceStore::absentKeyChangesNothingAndFreesTheLock()
{
    QFETCH(StoreAction, action);
    auto *store = m_store.get();
    store->add(makeRecord("SN1", "mac-1", 1));
    store->add(makeRecord("SN2", "mac-2", 2));
    const auto before = allRecords(store);

    action(store);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(sameRecords(allRecords(store), before));
    QVERIFY(lockIsFree(store));
}

void tst_DeviceStore::keyNeedsBothHalvesExactly_data()
{
    QTest::addColumn<QByteArray>("storedSerial");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<int>("expected");
    const QByteArray stored("SN1?");
    QTest::addRow("both match") << stored << QStringLiteral("SN1?") << QStringLiteral("aa-bb") << 0;
    QTest::addRow("serial matches, MAC differs") << stored << QStringLiteral("SN1?") << QStringLiteral("aa-bc") << -1;
    QTest::addRow("MAC matches, serial differs") << stored << QStringLiteral("SN2?") << QStringLiteral("aa-bb") << -1;
    QTest::addRow("serial differs in case") << stored << QStringLiteral("sn1?") << QStringLiteral("aa-bb") << -1;
    QTest::addRow("MAC differs in case") << stored << QStringLiteral("SN1?") << QStringLiteral("AA-BB") << -1;
    QTest::addRow("serial is a prefix") << stored << QStringLiteral("SN1") << QStringLiteral("aa-bb") << -1;
    QTest::addRow("trailing space") << stored << QStringLiteral("SN1? ") << QStringLiteral("aa-bb") << -1;
    QTest::addRow("embedded NUL") << stored << QStringLiteral("SN1?") + QChar(0) << QStringLiteral("aa-bb") << -1;
    QTest::addRow("halves swapped across the boundary")
        << stored << QStringLiteral("SN1?aa") << QStringLiteral("-bb") << -1;
    QTest::addRow("serial far longer than its field")
        << stored << QStringLiteral("SN1?") + QString(4000, QLatin1Char('x')) << QStringLiteral("aa-bb") << -1;
    QTest::addRow("MAC far longer than its field")
        << stored << QStringLiteral("SN1?") << QStringLiteral("aa-bb") + QString(4000, QLatin1Char('x')) << -1;
    // Characters outside Latin-1 equal no record text: neither the '?' that toLatin1() makes of
    // them nor the low byte of their code.
    QTest::addRow("outside Latin-1 against '?'")
        << stored << QStringLiteral("SN1\u20ac") << QStringLiteral("aa-bb") << -1;
    QTest::addRow("outside Latin-1 against its low byte")
        << QByteArray("SN1\xac") << QStringLiteral("SN1\u20ac") << QStringLiteral("aa-bb") << -1;
    QTest::addRow("Latin-1 letter") << QByteArray("SN1\xac") << QStringLiteral("SN1\u00ac") << QStringLiteral("aa-bb")
                                    << 0;
}

void tst_DeviceStore::keyNeedsBothHalvesExactly()
{
    QFETCH(QByteArray, storedSerial);
    QFETCH(QString, serial);
    QFETCH(QString, mac);
    QFETCH(int, expected);
    auto *store = m_store.get();
    store->add(makeRecord(storedSerial, "aa-bb", 1));

    QCOMPARE(store->indexOf(serial, mac), expected);
    VEXO_DEVICE_INFO out{};
    QCOMPARE(store->get(serial, mac, out), expected >= 0);
    QCOMPARE(store->setInactive(serial, mac, 0), expected >= 0);
    QCOMPARE(store->containsMac(mac), mac == QLatin1String("aa-bb"));
}

void tst_DeviceStore::unterminatedKeyFieldsAreReadWithinTheirWidth()
{
    auto *store = m_store.get();
    VEXO_DEVICE_INFO record = makeRecord("", "", 5);
    std::memset(record.serialNumber, 'S', sizeof record.serialNumber);
    std::memset(record.macAddress, 'M', sizeof record.macAddress);
    setFieldText(record.ipv4Address, "10.1.2.3");
    store->add(record);

    const QString serial(48, QLatin1Char('S'));
    const QString mac(20, QLatin1Char('M'));
    QVERIFY(store->containsMac(mac));
    QVERIFY(!store->containsMac(mac + QLatin1String("1")));
    QCOMPARE(store->indexOf(serial, mac), 0);
    QCOMPARE(store->indexOf(serial, mac + QLatin1String("10.1.2.3")), -1);
    QCOMPARE(store->indexOf(serial + QLatin1String("MMMM"), mac), -1);
    store->remove(record);
    QCOMPARE(store->count(), 0);
}

void tst_DeviceStore::netParamsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("ipv6Address");
    QTest::addColumn<QByteArray>("ipv6Gateway");
    QTest::addRow("empty") << QByteArray() << QByteArray();
    QTest::addRow("short") << QByteArray("fe80::1") << QByteArray("fe80::ff");
    QTest::addRow("longest text, 45 characters") << QByteArray("0000:0000:0000:0000:0000:ffff:192.168.100.200")
                                                 << QByteArray("ffff:ffff:ffff:ffff:ffff:ffff:255.255.255.255");
}

void tst_DeviceStore::netParamsRoundTrip()
{
    QFETCH(QByteArray, ipv6Address);
    QFETCH(QByteArray, ipv6Gateway);
    QCOMPARE(ipv6Address.size() <= 45, true);
    auto *store = m_store.get();
    store->add(makeRecord("SN1", "mac-1", 1));

    DeviceNetParam in{};
    setFieldText(in.ipv4Address, "192.168.1.64");
    setFieldText(in.ipv4SubnetMask, "255.255.255.0");
    setFieldText(in.ipv4Gateway, "192.168.1.1");
    setFieldText(in.ipv6Address, ipv6Address);
    setFieldText(in.ipv6Gateway, ipv6Gateway);
    in.port = 8000;
    in.ipv6PrefixLength = 64;
    in.dhcpEnabled = 1;
    in.httpPort = 80;
    QVERIFY(store->setNetParams("SN1", "mac-1", in));

    // Bytes past the first 46 of each IPv6 field stay as the caller set them.
    DeviceNetParam out;
    std::memset(&out, 0, sizeof out);
    std::memset(out.ipv6Address, 0x11, sizeof out.ipv6Address);
    std::memset(out.ipv6Gateway, 0x22, sizeof out.ipv6Gateway);
    std::memset(out.reserved, 0x33, sizeof out.reserved);
    QVERIFY(store->getNetParams("SN1", "mac-1", out));

    QCOMPARE(fieldText(out.ipv4Address), QStringLiteral("192.168.1.64"));
    QCOMPARE(fieldText(out.ipv4SubnetMask), QStringLiteral("255.255.255.0"));
    QCOMPARE(fieldText(out.ipv4Gateway), QStringLiteral("192.168.1.1"));
    QCOMPARE(QByteArray(out.ipv6Address, 46), QByteArray(in.ipv6Address, 46));
    QCOMPARE(QByteArray(out.ipv6Gateway, 46), QByteArray(in.ipv6Gateway, 46));
    QCOMPARE(QByteArray(out.ipv6Address + 46, 128 - 46), QByteArray(128 - 46, '\x11'));
    QCOMPARE(QByteArray(out.ipv6Gateway + 46, 128 - 46), QByteArray(128 - 46, '\x22'));
    QCOMPARE(QByteArray(reinterpret_cast<const char *>(out.reserved), sizeof out.reserved),
             QByteArray(sizeof out.reserved, '\x33'));
    QCOMPARE(out.port, uint16_t(8000));
    QCOMPARE(out.ipv6PrefixLength, uint8_t(64));
    QCOMPARE(out.dhcpEnabled, uint8_t(1));
    QCOMPARE(out.httpPort, uint16_t(80));
}

void tst_DeviceStore::portKeepsItsLow16Bits_data()
{
    QTest::addColumn<quint32>("recordPort");
    QTest::addColumn<quint16>("paramPort");
    QTest::addRow("ordinary") << quint32(8000) << quint16(8000);
    QTest::addRow("65535") << quint32(65535) << quint16(65535);
    QTest::addRow("65536") << quint32(65536) << quint16(0);
    QTest::addRow("0x12345") << quint32(0x12345) << quint16(0x2345);
    QTest::addRow("all bits") << quint32(0xffffffff) << quint16(0xffff);
}

void tst_DeviceStore::portKeepsItsLow16Bits()
{
    QFETCH(quint32, recordPort);
    QFETCH(quint16, paramPort);
    auto *store = m_store.get();
    auto record = makeRecord("SN1", "mac-1", 1);
    record.port = recordPort;
    store->add(record);

    DeviceNetParam param{};
    QVERIFY(store->getNetParams("SN1", "mac-1", param));
    QCOMPARE(param.port, paramPort);

    // Written back, the port is zero-extended: the record's old high bits are gone.
    QVERIFY(store->setNetParams("SN1", "mac-1", param));
    VEXO_DEVICE_INFO out{};
    QVERIFY(store->get("SN1", "mac-1", out));
    QCOMPARE(out.port, quint32(paramPort));
}

void tst_DeviceStore::setNetParamsWritesOnlyNetworkFields()
{
    auto *store = m_store.get();
    const auto record = makeRecord("SN1", "mac-1", 7);
    store->add(record);
    DeviceNetParam param;
    std::memset(&param, 0, sizeof param);
    QVERIFY(store->setNetParams("SN1", "mac-1", param));

    VEXO_DEVICE_INFO out{};
    QVERIFY(store->get("SN1", "mac-1", out));
    const auto *before = reinterpret_cast<const unsigned char *>(&record);
    const auto *after = reinterpret_cast<const unsigned char *>(&out);
    // The network fields of the record, as (offset, width).
    const std::vector<std::pair<int, int>> written{{80, 16},  {96, 16}, {116, 4}, {324, 16}, {340, 46},
                                                   {386, 46}, {432, 1}, {434, 1}, {436, 2}};
    for (int i = 0; i < int(sizeof out); ++i) {
        const bool isNetworkByte = std::any_of(written.cbegin(), written.cend(), [i](const auto &field) {
            return i >= field.first && i < field.first + field.second;
        });
        QVERIFY2(after[i] == (isNetworkByte ? 0 : before[i]), qPrintable(QStringLiteral("byte %1").arg(i)));
    }
}

void tst_DeviceStore::setInactiveWritesOnlyThatByte()
{
    auto *store = m_store.get();
    auto record = makeRecord("SN1", "mac-1", 8);
    record.inactive = 1;
    store->add(record);
    QVERIFY(store->setInactive("SN1", "mac-1", 0));

    VEXO_DEVICE_INFO out{};
    QVERIFY(store->get("SN1", "mac-1", out));
    record.inactive = 0;
    QVERIFY(sameBytes(out, record));
}

void tst_DeviceStore::callerMayHoldTheLockAroundSeveralOperations()
{
    auto *store = m_store.get();
    const auto record = makeRecord("SN1", "mac-1", 1);
    {
        KVT_Guard guard(store->mutex());
        if (!store->containsMac("mac-1"))
            store->add(record);
        QCOMPARE(store->indexOf("SN1", "mac-1"), 0);

        LockProbe probe(store->mutex());
        QVERIFY(!probe.acquiredWithin(100ms));
        guard.Release();
        QVERIFY(probe.acquiredWithin(5s));
    }
    QCOMPARE(store->count(), 1);
}

void tst_DeviceStore::clearEmptiesTheStore()
{
    auto *store = m_store.get();
    for (int i = 0; i < 100; ++i)
        store->add(makeRecord("SN" + QByteArray::number(i), "mac-" + QByteArray::number(i), quint32(i)));
    store->clear();
    QCOMPARE(store->count(), 0);
    QVERIFY(allRecords(store).isEmpty());
    QVERIFY(!store->containsMac("mac-5"));
    QCOMPARE(store->indexOf("SN5", "mac-5"), -1);

    store->add(makeRecord("SN5", "mac-5", 5));
    QCOMPARE(store->indexOf("SN5", "mac-5"), 0);
    QVERIFY(lockIsFree(store));
}

QTEST_GUILESS_MAIN(tst_DeviceStore)

#include "tst_devicestore.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The discovery library against simulated devices, over real UDP on loopback.
#include "simulatorprocess.h"

#include "Vexo.h"

#include <QFile>
#include <QScopeGuard>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUdpSocket>

#include <atomic>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace {

const char *const kPassword = "Admin12345";

/** Collects the library's device events from its thread. */
class Events
{
public:
    static void VEXO_CALLBACK callback(const VEXO_DEVICE_INFO *info, void *user)
    {
        auto *self = static_cast<Events *>(user);
        std::lock_guard lock(self->m_mutex);
        self->m_all.push_back(*info);
    }
    std::vector<VEXO_DEVICE_INFO> all() const
    {
        std::lock_guard lock(m_mutex);
        return m_all;
    }
    int count(int code) const
    {
        int n = 0;
        for (const auto &e : all())
            n += e.eventCode == code;
        return n;
    }
    /** The devices now online, by MAC, as the events describe them. */
    std::map<std::string, VEXO_DEVICE_INFO> current() const
    {
        std::map<std::string, VEXO_DEVICE_INFO> devices;
        for (const auto &e : all()) {
            if (e.eventCode == VEXO_EVENT_OFFLINE)
                devices.erase(e.macAddress);
            else
                devices[e.macAddress] = e;
        }
        return devices;
    }
    std::optional<VEXO_DEVICE_INFO> find(const std::function<bool(const VEXO_DEVICE_INFO &)> &pred) const
    {
        for (const auto &[mac, d] : current()) {
            if (pred(d))
                return d;
        }
        return std::nullopt;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<VEXO_DEVICE_INFO> m_all;
};

DeviceNetParam paramsOf(const VEXO_DEVICE_INFO &d)
{
    DeviceNetParam p{};
    std::memcpy(p.ipv4Address, d.ipv4Address, 16);
    std::memcpy(p.ipv4SubnetMask, d.ipv4SubnetMask, 16);
    std::memcpy(p.ipv4Gateway, d.ipv4Gateway, 16);
    p.port = static_cast<uint16_t>(d.port);
    p.httpPort = d.httpPort;
    return p;
}

QString keyOf(const char *serial, uint32_t command)
{
    VEXO_KEY_BUFFER_V2 buffer{};
    const uint32_t size = command == 2 ? sizeof(VEXO_KEY_BUFFER_V2) : sizeof(VEXO_KEY_BUFFER);
    if (!VEXO_GetDeviceConfig(serial, command, nullptr, 0, &buffer, size))
        return {};
    return QString::fromLatin1(buffer.data, static_cast<qsizetype>(buffer.length));
}

int resetWithKey(const char *serial, const QByteArray &key, const char *password)
{
    VEXO_RESET_PARAM p{};
    std::memcpy(p.secretKey, key.constData(), static_cast<size_t>(qMin<qsizetype>(key.size(), 256)));
    std::memcpy(p.password, password, strnlen(password, 16));
    return VEXO_ResetPasswd(serial, &p);
}

int resetWithFile(const char *serial, const QByteArray &path, const char *password)
{
    VEXO_RESET_PARAM p{};
    std::memcpy(p.keyFilePath, path.constData(), static_cast<size_t>(qMin<qsizetype>(path.size(), 260)));
    std::memcpy(p.password, password, strnlen(password, 16));
    return VEXO_ResetPasswd(serial, &p);
}

bool hasKeyReset(const VEXO_DEVICE_INFO &d)
{
    return d.capabilityFlags & VEXO_CAP_KEY_RESET;
}

/**
 * A relay between the library and the simulator on a thread of its own that
 * keeps a copy of every datagram, to look for secrets on the wire.
 */
class Tap : public QThread
{
public:
    explicit Tap(quint16 simulatorPort)
        : m_simulatorPort(simulatorPort)
    {}
    /** Starts relaying; the port the library must send to, 0 on failure. */
    quint16 begin()
    {
        start();
        m_ready.acquire();
        return m_port;
    }
    QList<QByteArray> end()
    {
        quit();
        wait();
        return m_seen;
    }

protected:
    void run() override
    {
        QUdpSocket front;
        QUdpSocket back;
        quint16 client = 0;
        if (front.bind(QHostAddress::LocalHost, 0) && back.bind(QHostAddress::LocalHost, 0))
            m_port = front.localPort();
        auto relay = [&](QUdpSocket &from, bool towardDevices) {
            while (from.hasPendingDatagrams()) {
                QByteArray data(int(from.pendingDatagramSize()), '\0');
                QHostAddress sender;
                quint16 senderPort = 0;
                from.readDatagram(data.data(), data.size(), &sender, &senderPort);
                m_seen.append(data);
                if (towardDevices) {
                    client = senderPort;
                    back.writeDatagram(data, QHostAddress::LocalHost, m_simulatorPort);
                } else if (client) {
                    front.writeDatagram(data, QHostAddress::LocalHost, client);
                }
            }
        };
        QObject context;
        connect(&front, &QUdpSocket::readyRead, &context, [&] { relay(front, true); });
        connect(&back, &QUdpSocket::readyRead, &context, [&] { relay(back, false); });
        m_ready.release();
        if (m_port)
            exec();
    }

private:
    quint16 m_simulatorPort;
    quint16 m_port = 0;
    QSemaphore m_ready;
    QList<QByteArray> m_seen; // written by the relay thread only until end()
};

} // namespace

class tst_VexoLibrary : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void operationsNeedAStart_data();
    void operationsNeedAStart();
    void badArguments_data();
    void badArguments();
    void discoveryReportsEachDeviceOnce();
    void clearupThenInquiryReportsAgain();
    void offline_data();
    void offline();
    void filterRule_data();
    void filterRule();
    void activation();
    void networkChange();
    void ipv6SentBackUnchanged_data();
    void ipv6SentBackUnchanged();
    void silentAndUnknownDevices();
    void keyQuery_data();
    void keyQuery();
    void passwordReset_data();
    void passwordReset();
    void defaultRestore();
    void lockout();
    void concurrentCalls();
    void stopWhileInFlight();
    void noSecretOnTheWire();

private:
    bool bringUp(const QStringList &simulatorArguments, int expectedDevices);

    SimulatorProcess *m_sim = nullptr;
    Events *m_events = nullptr;
    QTemporaryDir m_dir;
};

void tst_VexoLibrary::init()
{
    qputenv("VEXO_SCOPE", "loopback");
    qunsetenv("VEXO_OFFLINE_TIMEOUT_MS");
    qunsetenv("VEXO_INQUIRY_INTERVAL_MS");
    qputenv("VEXO_TIMEOUT_MS", "3000");
    VEXO_SetDeviceFilterRule(VEXO_FILTER_NONE, nullptr, 0);
    m_sim = new SimulatorProcess;
    m_events = new Events;
}

void tst_VexoLibrary::cleanup()
{
    VEXO_Stop();
    delete m_sim;
    m_sim = nullptr;
    delete m_events;
    m_events = nullptr;
}

bool tst_VexoLibrary::bringUp(const QStringList &simulatorArguments, int expectedDevices)
{
    if (!m_sim->start(simulatorArguments))
        return false;
    qputenv("VEXO_PORT", QByteArray::number(m_sim->port()));
    if (!VEXO_Start_V30(&Events::callback, VEXO_START_AUTO_INQUIRY, m_events))
        return false;
    QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && int(m_events->current().size()) < expectedDevices)
        QThread::msleep(20);
    return int(m_events->current().size()) == expectedDevices;
}

void tst_VexoLibrary::operationsNeedAStart_data()
{
    QTest::addColumn<int>("which");
    QTest::addRow("stop") << 0;
    QTest::addRow("inquiry") << 1;
    QTest::addRow("clearup") << 2;
    QTest::addRow("activate") << 3;
    QTest::addRow("key") << 4;
}

void tst_VexoLibrary::operationsNeedAStart()
{
    QFETCH(int, which);
    VEXO_KEY_BUFFER key{};
    int result = 1;
    switch (which) {
    case 0:
        result = VEXO_Stop();
        break;
    case 1:
        result = VEXO_SendInquiry();
        break;
    case 2:
        result = VEXO_Clearup();
        break;
    case 3:
        result = VEXO_ActivateDevice("SER", kPassword);
        break;
    case 4:
        result = VEXO_GetDeviceConfig("SER", 1, nullptr, 0, &key, sizeof key);
        break;
    }
    QCOMPARE(result, 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_NOT_STARTED));
}

void tst_VexoLibrary::badArguments_data()
{
    QTest::addColumn<int>("which");
    QTest::addRow("null serial") << 0;
    QTest::addRow("password of 17 bytes") << 1;
    QTest::addRow("empty password") << 2;
    QTest::addRow("unknown key command") << 3;
    QTest::addRow("null reset record") << 4;
    QTest::addRow("both key and file") << 5;
    QTest::addRow("security code of 33 bytes") << 6;
    QTest::addRow("unparsable IPv4") << 7;
    QTest::addRow("unknown filter rule") << 8;
    QTest::addRow("bad subnet list") << 9;
}

void tst_VexoLibrary::badArguments()
{
    QFETCH(int, which);
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--seed"), QStringLiteral("1")}, 1));
    VEXO_KEY_BUFFER key{};
    VEXO_RESET_PARAM reset{};
    DeviceNetParam net{};
    int result = 1;
    switch (which) {
    case 0:
        result = VEXO_ActivateDevice(nullptr, kPassword);
        break;
    case 1:
        result = VEXO_ActivateDevice("SER", "12345678901234567");
        break;
    case 2:
        result = VEXO_ModifyDeviceNetParam("02-00-00-00-00-01", "", &net);
        break;
    case 3:
        result = VEXO_GetDeviceConfig("SER", 3, nullptr, 0, &key, sizeof key);
        break;
    case 4:
        result = VEXO_ResetPasswd("SER", nullptr);
        break;
    case 5:
        std::strcpy(reset.secretKey, "RK1.x");
        std::strcpy(reset.keyFilePath, "/tmp/x.xml");
        std::strcpy(reset.password, kPassword);
        result = VEXO_ResetPasswd("SER", &reset);
        break;
    case 6:
        result = VEXO_ResetDefaultPasswd("SER", QByteArray(33, 'A').constData());
        break;
    case 7:
        std::strcpy(net.ipv4Address, "300.1.2.3");
        std::strcpy(net.ipv4SubnetMask, "255.255.255.0");
        result = VEXO_ModifyDeviceNetParam("02-00-00-00-00-01", kPassword, &net);
        break;
    case 8:
        result = VEXO_SetDeviceFilterRule(7, nullptr, 0);
        break;
    case 9:
        result = VEXO_SetDeviceFilterRule(VEXO_FILTER_SUBNET, "127.0.0.0/33", 12);
        break;
    }
    QCOMPARE(result, 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_BAD_ARGUMENT));
}

void tst_VexoLibrary::discoveryReportsEachDeviceOnce()
{
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("24"), QStringLiteral("--seed"), QStringLiteral("7")}, 24));
    QCOMPARE(m_events->count(VEXO_EVENT_ONLINE), 24);
    for (const auto &[mac, d] : m_events->current()) {
        QCOMPARE(QByteArray(d.leadText), QByteArray("VXDP/1"));
        QVERIFY(std::strlen(d.serialNumber) > 0);
        QCOMPARE(std::strlen(d.macAddress), size_t(17));
        QVERIFY(std::strlen(d.ipv4Address) >= 7);
        QVERIFY(d.port > 0);
    }
    // Unchanged devices answering again are not reported again.
    QVERIFY(VEXO_SendInquiry());
    QThread::msleep(400);
    QCOMPARE(int(m_events->all().size()), 24);
}

void tst_VexoLibrary::clearupThenInquiryReportsAgain()
{
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("8"), QStringLiteral("--seed"), QStringLiteral("3")}, 8));
    QVERIFY(VEXO_Clearup());
    QVERIFY(VEXO_SendInquiry());
    QTRY_COMPARE_WITH_TIMEOUT(m_events->count(VEXO_EVENT_ONLINE), 16, 5000);
    QCOMPARE(m_events->count(VEXO_EVENT_OFFLINE), 0);
}

void tst_VexoLibrary::offline_data()
{
    QTest::addColumn<QString>("command");
    QTest::addRow("goodbye") << "stop";
    QTest::addRow("silence") << "vanish";
}

void tst_VexoLibrary::offline()
{
    QFETCH(QString, command);
    qputenv("VEXO_INQUIRY_INTERVAL_MS", "200");
    qputenv("VEXO_OFFLINE_TIMEOUT_MS", "1200");
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--seed"), QStringLiteral("5")}, 4));
    const VEXO_DEVICE_INFO victim = m_events->current().begin()->second;
    QCOMPARE(m_sim->commandResult(command + QLatin1Char(' ') + QLatin1String(victim.serialNumber)),
             QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(int(m_events->current().size()), 3, 6000);
    QVERIFY(!m_events->current().count(victim.macAddress));
    QCOMPARE(m_events->count(VEXO_EVENT_OFFLINE), 1);
    QCOMPARE(QByteArray(m_events->all().back().serialNumber), QByteArray(victim.serialNumber));

    // Back on the network, it is reported online again.
    QCOMPARE(m_sim->commandResult(QStringLiteral("start ") + QLatin1String(victim.serialNumber)), QStringLiteral("ok"));
    QTRY_COMPARE_WITH_TIMEOUT(int(m_events->current().size()), 4, 6000);
}

void tst_VexoLibrary::filterRule_data()
{
    QTest::addColumn<QByteArray>("subnets");
    QTest::addColumn<bool>("listed");
    QTest::addRow("loopback only") << QByteArray("127.0.0.0/8") << false;
    QTest::addRow("documentation ranges") << QByteArray("192.0.2.0/24;198.51.100.0/24,203.0.113.0/24") << true;
}

void tst_VexoLibrary::filterRule()
{
    QFETCH(QByteArray, subnets);
    QFETCH(bool, listed);
    QVERIFY(VEXO_SetDeviceFilterRule(VEXO_FILTER_SUBNET, subnets.constData(), int(subnets.size())));
    QVERIFY(
        m_sim->start({QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("2")}));
    qputenv("VEXO_PORT", QByteArray::number(m_sim->port()));
    QVERIFY(VEXO_Start_V30(&Events::callback, 0, m_events));
    QThread::msleep(600);
    QCOMPARE(int(m_events->current().size()), listed ? 6 : 0);
    // Without the rule every device is reported at the next inquiry.
    QVERIFY(VEXO_SetDeviceFilterRule(VEXO_FILTER_NONE, nullptr, 0));
    QVERIFY(VEXO_SendInquiry());
    QTRY_COMPARE_WITH_TIMEOUT(int(m_events->current().size()), 6, 5000);
}

void tst_VexoLibrary::activation()
{
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("12"), QStringLiteral("--seed"), QStringLiteral("11")}, 12));
    const auto fresh = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive != 0; });
    QVERIFY(fresh.has_value());
    QVERIFY2(VEXO_ActivateDevice(fresh->serialNumber, "New-Pass123"), qPrintable(QString::number(VEXO_GetLastError())));
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_NOERROR));
    QTRY_VERIFY_WITH_TIMEOUT(m_events->current().at(fresh->macAddress).inactive == 0, 5000);
    QCOMPARE(m_events->all().back().eventCode, VEXO_EVENT_CHANGED);

    QCOMPARE(VEXO_ActivateDevice(fresh->serialNumber, "Other-Pass1"), 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_ALREADY_ACTIVE));
    // The password it was given is the one it now checks.
    DeviceNetParam p = paramsOf(m_events->current().at(fresh->macAddress));
    QVERIFY(VEXO_ModifyDeviceNetParam(fresh->macAddress, "New-Pass123", &p));
}

void tst_VexoLibrary::networkChange()
{
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("12"), QStringLiteral("--seed"), QStringLiteral("11")}, 12));
    const auto device = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && !d.dhcpEnabled; });
    QVERIFY(device.has_value());
    DeviceNetParam p = paramsOf(*device);
    std::strcpy(p.ipv4Address, "203.0.113.77");
    std::strcpy(p.ipv4SubnetMask, "255.255.255.0");
    std::strcpy(p.ipv4Gateway, "203.0.113.1");
    p.port = 8123;

    QCOMPARE(VEXO_ModifyDeviceNetParam(device->macAddress, "wrong-pass1", &p), 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_DEVICE_DENY));

    QVERIFY2(VEXO_ModifyDeviceNetParam(device->macAddress, kPassword, &p),
             qPrintable(QString::number(VEXO_GetLastError())));
    QTRY_COMPARE_WITH_TIMEOUT(QByteArray(m_events->current().at(device->macAddress).ipv4Address),
                              QByteArray("203.0.113.77"), 5000);
    const VEXO_DEVICE_INFO moved = m_events->current().at(device->macAddress);
    QCOMPARE(moved.port, 8123u);
    QCOMPARE(QByteArray(moved.ipv4Gateway), QByteArray("203.0.113.1"));
    QCOMPARE(m_events->all().back().eventCode, VEXO_EVENT_CHANGED);

    // Found again at its new address, in another subnet: a second change reaches it.
    std::strcpy(p.ipv4Address, "192.0.2.200");
    QVERIFY(VEXO_ModifyDeviceNetParam(device->macAddress, kPassword, &p));
    QTRY_COMPARE_WITH_TIMEOUT(QByteArray(m_events->current().at(device->macAddress).ipv4Address),
                              QByteArray("192.0.2.200"), 5000);
}

void tst_VexoLibrary::ipv6SentBackUnchanged_data()
{
    QTest::addColumn<QByteArray>("ipv6Address");
    QTest::addColumn<QByteArray>("ipv6Gateway");
    QTest::addColumn<int>("prefixDelta");
    QTest::addColumn<uint>("error");

    // "=" stands for the device's own value.
    QTest::addRow("its own IPv6 values") << QByteArray("=") << QByteArray("=") << 0 << uint(VEXO_NOERROR);
    QTest::addRow("its own values written otherwise") << QByteArray("~") << QByteArray("=") << 0 << uint(VEXO_NOERROR);
    QTest::addRow("no IPv6 values") << QByteArray() << QByteArray() << 0 << uint(VEXO_NOERROR);
    QTest::addRow("another IPv6 address")
        << QByteArray("2001:db8:77::42") << QByteArray("=") << 0 << uint(VEXO_ERR_UNSUPPORTED);
    QTest::addRow("another IPv6 gateway")
        << QByteArray("=") << QByteArray("2001:db8:77::1") << 0 << uint(VEXO_ERR_UNSUPPORTED);
    QTest::addRow("another prefix length") << QByteArray("=") << QByteArray("=") << 1 << uint(VEXO_ERR_UNSUPPORTED);
}

void tst_VexoLibrary::ipv6SentBackUnchanged()
{
    QFETCH(QByteArray, ipv6Address);
    QFETCH(QByteArray, ipv6Gateway);
    QFETCH(int, prefixDelta);
    QFETCH(uint, error);
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("12"), QStringLiteral("--seed"), QStringLiteral("11")}, 12));
    // Reports IPv6 but cannot change it: a form sends its IPv6 values back with every change.
    const auto device = m_events->find([](const VEXO_DEVICE_INFO &d) {
        return d.inactive == 0 && !d.dhcpEnabled && d.extendedInfoValid == 1
               && !(d.capabilityFlags & VEXO_CAP_MOD_IPV6);
    });
    QVERIFY(device.has_value());
    DeviceNetParam p = paramsOf(*device);
    std::strcpy(p.ipv4Address, "203.0.113.88");
    const QByteArray ownAddress(device->ipv6Address);
    // The same address with its zero groups written out.
    const QByteArray longhand = QByteArray(ownAddress).replace("::", ":0:0:0:0:");
    const QByteArray address = ipv6Address == "=" ? ownAddress : ipv6Address == "~" ? longhand : ipv6Address;
    const QByteArray gateway = ipv6Gateway == "=" ? QByteArray(device->ipv6Gateway) : ipv6Gateway;
    std::strncpy(p.ipv6Address, address.constData(), sizeof p.ipv6Address - 1);
    std::strncpy(p.ipv6Gateway, gateway.constData(), sizeof p.ipv6Gateway - 1);
    p.ipv6PrefixLength = uint8_t(device->ipv6PrefixLength + prefixDelta);

    const int result = VEXO_ModifyDeviceNetParam(device->macAddress, kPassword, &p);
    QCOMPARE(result ? uint(VEXO_NOERROR) : uint(VEXO_GetLastError()), error);
    if (error == VEXO_NOERROR) {
        QTRY_COMPARE_WITH_TIMEOUT(QByteArray(m_events->current().at(device->macAddress).ipv4Address),
                                  QByteArray("203.0.113.88"), 5000);
        QCOMPARE(QByteArray(m_events->current().at(device->macAddress).ipv6Address), ownAddress);
    }
}

void tst_VexoLibrary::silentAndUnknownDevices()
{
    qputenv("VEXO_TIMEOUT_MS", "700");
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("4"), QStringLiteral("--seed"), QStringLiteral("4")}, 4));
    const VEXO_DEVICE_INFO d = m_events->current().begin()->second;
    QCOMPARE(m_sim->commandResult(QStringLiteral("vanish ") + QLatin1String(d.serialNumber)), QStringLiteral("ok"));
    DeviceNetParam p = paramsOf(d);
    QCOMPARE(VEXO_ModifyDeviceNetParam(d.macAddress, kPassword, &p), 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_TIMEOUT));

    QCOMPARE(VEXO_ActivateDevice("NO-SUCH-DEVICE", kPassword), 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_UNKNOWN_DEVICE));
}

void tst_VexoLibrary::keyQuery_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("keyFormat"); // -1: a device without key reset
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<uint>("error");
    QTest::addRow("older scheme") << 1 << 0 << "VK1." << uint(VEXO_NOERROR);
    QTest::addRow("newer scheme") << 2 << 1 << "VK2." << uint(VEXO_NOERROR);
    QTest::addRow("newer scheme on an older device") << 2 << 0 << "" << uint(VEXO_ERR_UNSUPPORTED);
    QTest::addRow("no key reset at all") << 1 << -1 << "" << uint(VEXO_ERR_UNSUPPORTED);
}

void tst_VexoLibrary::keyQuery()
{
    QFETCH(int, command);
    QFETCH(int, keyFormat);
    QFETCH(QString, prefix);
    QFETCH(uint, error);
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("32"), QStringLiteral("--seed"), QStringLiteral("9")}, 32));
    const auto device = m_events->find([keyFormat](const VEXO_DEVICE_INFO &d) {
        if (keyFormat < 0)
            return !hasKeyReset(d);
        return hasKeyReset(d) && (d.keyFormatFlags & VEXO_KEYFMT_NEW) == keyFormat;
    });
    QVERIFY(device.has_value());
    VEXO_KEY_BUFFER_V2 buffer{};
    const uint32_t size = command == 2 ? 388 : 260;
    const int ok = VEXO_GetDeviceConfig(device->serialNumber, uint32_t(command), nullptr, 0, &buffer, size);
    QCOMPARE(VEXO_GetLastError(), uint32_t(error));
    QCOMPARE(ok, error == VEXO_NOERROR ? 1 : 0);
    if (ok) {
        QVERIFY(buffer.length > 0 && buffer.length <= 100);
        const QString key = QString::fromLatin1(buffer.data, int(buffer.length));
        QVERIFY(key.startsWith(prefix));
        QVERIFY(key.contains(QLatin1String(device->serialNumber)));
        QCOMPARE(buffer.data[buffer.length], '\0');
        // Asked again, the device gives the same key until it is used or the device restarts.
        QCOMPARE(keyOf(device->serialNumber, uint32_t(command)), key);
    }
}

void tst_VexoLibrary::passwordReset_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<uint>("error");
    QTest::addRow("typed key") << "key" << uint(VEXO_NOERROR);
    QTest::addRow("reset file") << "file" << uint(VEXO_NOERROR);
    QTest::addRow("reset file that is missing") << "missing file" << uint(VEXO_ERR_FILE);
    QTest::addRow("bad signature") << "tampered" << uint(VEXO_ERR_DEVICE_DENY);
    QTest::addRow("used twice") << "replayed" << uint(VEXO_ERR_DEVICE_DENY);
    QTest::addRow("stale after a restart") << "restart" << uint(VEXO_ERR_DEVICE_DENY);
}

void tst_VexoLibrary::passwordReset()
{
    QFETCH(QString, how);
    QFETCH(uint, error);
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("16"), QStringLiteral("--seed"), QStringLiteral("21")}, 16));
    const auto device = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && hasKeyReset(d); });
    QVERIFY(device.has_value());
    const QString key = keyOf(device->serialNumber, 1);
    QVERIFY(!key.isEmpty());
    QString resetKey
        = runKeyService({QStringLiteral("reset"), QStringLiteral("--qr"),
                         QStringLiteral("B:") + QLatin1String(device->deviceTypeText) + QStringLiteral("**") + key});
    QVERIFY(resetKey.startsWith(QLatin1String("RK1.")));
    const char *newPassword = "Reset-Pass9";

    int ok = 0;
    if (how == QLatin1String("file") || how == QLatin1String("missing file")) {
        const QString path = m_dir.filePath(QStringLiteral("reset.xml"));
        QVERIFY(
            !runKeyService({QStringLiteral("reset"), QStringLiteral("--key"), key, QStringLiteral("--out-file"), path})
                 .isNull());
        QVERIFY(QFile::exists(path));
        const QString used = how == QLatin1String("file") ? path : path + QStringLiteral(".gone");
        ok = resetWithFile(device->serialNumber, QFile::encodeName(used), newPassword);
    } else {
        if (how == QLatin1String("tampered"))
            resetKey[10] = resetKey.at(10) == QLatin1Char('A') ? QLatin1Char('B') : QLatin1Char('A');
        if (how == QLatin1String("replayed"))
            QVERIFY(resetWithKey(device->serialNumber, resetKey.toLatin1(), "First-Pass1"));
        if (how == QLatin1String("restart"))
            QCOMPARE(m_sim->commandResult(QStringLiteral("restart ") + QLatin1String(device->serialNumber)),
                     QStringLiteral("ok"));
        ok = resetWithKey(device->serialNumber, resetKey.toLatin1(), newPassword);
    }
    QCOMPARE(VEXO_GetLastError(), uint32_t(error));
    QCOMPARE(ok, error == VEXO_NOERROR ? 1 : 0);

    // The device now checks the new password, or still the old one.
    DeviceNetParam p = paramsOf(*device);
    QVERIFY(VEXO_ModifyDeviceNetParam(device->macAddress, ok ? newPassword : kPassword, &p)
            || (how == QLatin1String("replayed") && VEXO_ModifyDeviceNetParam(device->macAddress, "First-Pass1", &p)));
}

void tst_VexoLibrary::defaultRestore()
{
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("16"), QStringLiteral("--seed"), QStringLiteral("21")}, 16));
    const auto device = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && !hasKeyReset(d); });
    QVERIFY(device.has_value());
    QCOMPARE(VEXO_ResetDefaultPasswd(device->serialNumber, "0000000000000000"), 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_DEVICE_DENY));

    const QString code = runKeyService({QStringLiteral("restore"), QStringLiteral("--qr"),
                                        QStringLiteral("A:") + QLatin1String(device->deviceTypeText)
                                            + QStringLiteral("**") + QLatin1String(device->serialNumber)});
    QVERIFY(!code.isEmpty() && code.size() <= 32);
    QVERIFY2(VEXO_ResetDefaultPasswd(device->serialNumber, code.toLatin1().constData()),
             qPrintable(QString::number(VEXO_GetLastError())));
    DeviceNetParam p = paramsOf(*device);
    QVERIFY(VEXO_ModifyDeviceNetParam(device->macAddress, "70639", &p));
}

void tst_VexoLibrary::lockout()
{
    QVERIFY(bringUp({QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("8"),
                     QStringLiteral("--lockout-seconds"), QStringLiteral("2")},
                    6));
    const auto device = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive == 0; });
    QVERIFY(device.has_value());
    DeviceNetParam p = paramsOf(*device);
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(VEXO_ModifyDeviceNetParam(device->macAddress, "wrong-pass1", &p), 0);
        QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_DEVICE_DENY));
    }
    QCOMPARE(VEXO_ModifyDeviceNetParam(device->macAddress, kPassword, &p), 0);
    QCOMPARE(VEXO_GetLastError(), uint32_t(VEXO_ERR_LOCKED));
    QThread::msleep(2300);
    QVERIFY(VEXO_ModifyDeviceNetParam(device->macAddress, kPassword, &p));
}

void tst_VexoLibrary::concurrentCalls()
{
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("16"), QStringLiteral("--seed"), QStringLiteral("21")}, 16));
    std::vector<VEXO_DEVICE_INFO> active;
    for (const auto &[mac, d] : m_events->current()) {
        if (d.inactive == 0)
            active.push_back(d);
    }
    QVERIFY(active.size() >= 2);
    std::atomic<int> failures{0};
    std::atomic<uint32_t> lastErrorOfFailedThread{0};
    auto work = [&](const VEXO_DEVICE_INFO d, bool fail) {
        DeviceNetParam p = paramsOf(d);
        for (int i = 0; i < 3; ++i) {
            const int ok = VEXO_ModifyDeviceNetParam(d.macAddress, fail ? "wrong-pass1" : kPassword, &p);
            if (ok == fail)
                ++failures;
            if (fail)
                lastErrorOfFailedThread = VEXO_GetLastError();
        }
    };
    std::thread a(work, active[0], false);
    std::thread b(work, active[1], true);
    a.join();
    b.join();
    QCOMPARE(failures.load(), 0);
    // Each thread has its own last error.
    QCOMPARE(lastErrorOfFailedThread.load(), uint32_t(VEXO_ERR_DEVICE_DENY));
}

void tst_VexoLibrary::stopWhileInFlight()
{
    qputenv("VEXO_TIMEOUT_MS", "30000");
    QVERIFY(
        bringUp({QStringLiteral("--count"), QStringLiteral("2"), QStringLiteral("--seed"), QStringLiteral("4")}, 2));
    const VEXO_DEVICE_INFO d = m_events->current().begin()->second;
    QCOMPARE(m_sim->commandResult(QStringLiteral("vanish ") + QLatin1String(d.serialNumber)), QStringLiteral("ok"));
    std::atomic<int> result{-1};
    std::atomic<uint32_t> error{0};
    std::thread caller([&] {
        DeviceNetParam p = paramsOf(d);
        result = VEXO_ModifyDeviceNetParam(d.macAddress, kPassword, &p);
        error = VEXO_GetLastError();
    });
    QThread::msleep(300);
    const auto eventsBefore = m_events->all().size();
    QVERIFY(VEXO_Stop());
    caller.join(); // would wait the whole 30 s timeout if the stop did not end the request
    QCOMPARE(result.load(), 0);
    QCOMPARE(error.load(), uint32_t(VEXO_ERR_NOT_STARTED));
    QThread::msleep(200);
    QCOMPARE(m_events->all().size(), eventsBefore); // no callback after the stop
}

void tst_VexoLibrary::noSecretOnTheWire()
{
    QVERIFY(m_sim->start(
        {QStringLiteral("--count"), QStringLiteral("16"), QStringLiteral("--seed"), QStringLiteral("21")}));
    Tap tap(m_sim->port());
    const quint16 tapPort = tap.begin();
    auto stopTap = qScopeGuard([&tap] {
        if (tap.isRunning())
            tap.end();
    });
    QVERIFY(tapPort != 0);
    qputenv("VEXO_PORT", QByteArray::number(tapPort));
    QVERIFY(VEXO_Start_V30(&Events::callback, VEXO_START_AUTO_INQUIRY, m_events));
    QTRY_COMPARE_WITH_TIMEOUT(int(m_events->current().size()), 16, 10000);

    const auto fresh = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive != 0; });
    const auto keyed = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && hasKeyReset(d); });
    const auto plain = m_events->find([](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && !hasKeyReset(d); });
    QVERIFY(fresh && keyed && plain);

    QVERIFY(VEXO_ActivateDevice(fresh->serialNumber, "Secret-Activ1"));
    DeviceNetParam p = paramsOf(*keyed);
    QVERIFY(VEXO_ModifyDeviceNetParam(keyed->macAddress, kPassword, &p));
    const QString key = keyOf(keyed->serialNumber, 1);
    const QString resetKey = runKeyService({QStringLiteral("reset"), QStringLiteral("--key"), key});
    QVERIFY(resetWithKey(keyed->serialNumber, resetKey.toLatin1(), "Secret-Reset2"));
    const QString code = runKeyService({QStringLiteral("restore"), QStringLiteral("--qr"),
                                        QStringLiteral("A:") + QLatin1String(plain->deviceTypeText)
                                            + QStringLiteral("**") + QLatin1String(plain->serialNumber)});
    QVERIFY(VEXO_ResetDefaultPasswd(plain->serialNumber, code.toLatin1().constData()));

    const QList<QByteArray> secrets{"Secret-Activ1",     kPassword,
                                    resetKey.toLatin1(), resetKey.toLatin1().mid(4, 20),
                                    "Secret-Reset2",     code.toLatin1()};
    VEXO_Stop();
    const QList<QByteArray> wire = tap.end();
    QVERIFY(wire.size() > 16);
    for (const QByteArray &datagram : wire) {
        for (const QByteArray &secret : secrets)
            QVERIFY2(!datagram.contains(secret), secret.constData());
    }
}

QTEST_GUILESS_MAIN(tst_VexoLibrary)
#include "tst_vexolibrary.moc"

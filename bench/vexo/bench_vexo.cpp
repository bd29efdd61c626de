// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Benchmark of the discovery library on loopback. The answers of ten thousand simulated
// devices are recorded once, then
// - sent from one socket to another as fast as they go: the raw loopback cost;
// - replayed to the library as the answer to its inquiry, from one address and from an
//   address for every eight devices: inquiry to the last online event, and to the last
//   device whose certificate check is settled;
// then the simulator itself answers the library (it paces its answers), the list is refreshed,
// and a network change makes its round trips.
#include "Vexo.h"

#include <protocol/codec.h>
#include <protocol/identity.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QNetworkProxyFactory>
#include <QProcess>
#include <QUdpSocket>
#include <QVariant>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#if defined(Q_OS_LINUX)
#    include <sys/socket.h>
#endif
#if defined(Q_OS_UNIX)
#    include <time.h>
#endif

namespace {

using Nanos = qint64;

/** MAC text ("AA-BB-..." or "aa:bb:..") as a number: a cheap key for the events' bookkeeping. */
std::uint64_t macKey(const char *text)
{
    std::uint64_t key = 0;
    for (int i = 0; i < 18 && text[i]; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit >= 0)
            key = key << 4 | std::uint64_t(digit);
    }
    return key;
}

/**
 * Events of one library session: when the last device came online and when the last check settled.
 * The callback only counts, so that the benchmark's own bookkeeping costs the library's thread
 * little; the waiting thread looks at the counts every few milliseconds instead of being woken for
 * each event, since its wake-ups would take the cores the library needs.
 */
struct Collector
{
    std::mutex mutex;
    std::unordered_map<std::uint64_t, std::uint8_t> flags; // by MAC: what the events said of it
    std::size_t online = 0;
    std::size_t checked = 0;
    std::size_t verified = 0;
    std::vector<VEXO_DEVICE_INFO> onlineRecords;
    const QElapsedTimer *clock = nullptr;
    Nanos lastOnlineNs = 0;
    Nanos settledNs = 0;

    explicit Collector(std::size_t expected)
    {
        flags.reserve(expected);
        onlineRecords.reserve(expected);
    }
    static void VEXO_CALLBACK callback(const VEXO_DEVICE_INFO *info, void *user)
    {
        auto *self = static_cast<Collector *>(user);
        std::lock_guard lock(self->mutex);
        if (info->eventCode == VEXO_EVENT_OFFLINE)
            return;
        const Nanos now = self->clock->nsecsElapsed();
        auto [it, fresh] = self->flags.try_emplace(macKey(info->macAddress), std::uint8_t(0));
        if (fresh) {
            ++self->online;
            self->onlineRecords.push_back(*info);
            self->lastOnlineNs = now;
        }
        const std::uint8_t was = it->second;
        it->second = info->identityFlags;
        if ((info->identityFlags & VEXO_IDENTITY_CHECKED) && !(was & VEXO_IDENTITY_CHECKED)) {
            ++self->checked;
            self->verified += (info->identityFlags & VEXO_IDENTITY_VERIFIED) ? 1 : 0;
            self->settledNs = now;
        }
    }
    void reset()
    {
        std::lock_guard lock(mutex);
        flags.clear();
        onlineRecords.clear();
        online = checked = verified = 0;
        lastOnlineNs = settledNs = 0;
    }
    /** Waits until @p done holds for the collected counts, at most @p seconds. */
    template<typename Predicate>
    void waitFor(Predicate done, int seconds)
    {
        const QDeadlineTimer deadline(seconds * 1000);
        for (;;) {
            {
                std::lock_guard lock(mutex);
                if (done(*this) || deadline.hasExpired())
                    return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
};

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

/**
 * CPU time in ms that this process's threads named @p name used so far (Linux; 0 elsewhere).
 * The library names its threads, so its own work shows apart from the benchmark's, and a busy
 * machine, which stretches the wall-clock figures, leaves it as it is.
 */
double threadCpuMs(const char *name)
{
    double ns = 0;
#if defined(Q_OS_LINUX)
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &tid : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(tid + QStringLiteral("/comm")));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != name)
            continue;
        // The first field: nanoseconds on a CPU.
        QFile schedstat(tasks.filePath(tid + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            ns += schedstat.readAll().split(' ').value(0).toDouble();
    }
#else
    Q_UNUSED(name)
#endif
    return ns / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

void growReceiveBuffer(QUdpSocket &socket)
{
    socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(16 * 1024 * 1024));
#if defined(Q_OS_LINUX) && defined(SO_RCVBUFFORCE)
    // Beyond the system's limit where the benchmark may (as root).
    const int size = 16 * 1024 * 1024;
    setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size);
#endif
}

/** The simulator's answers to one inquiry, as they came. */
std::vector<QByteArray> recordAnswers(quint16 simulatorPort, int count)
{
    QUdpSocket socket;
    socket.bind(QHostAddress::LocalHost, 0);
    growReceiveBuffer(socket);
    const auto inquiry = vxdp::encodeInquiry(0x5eed);
    socket.writeDatagram(reinterpret_cast<const char *>(inquiry.data()), qint64(inquiry.size()),
                         QHostAddress::LocalHost, simulatorPort);
    std::vector<QByteArray> answers;
    QDeadlineTimer deadline(20000);
    while (int(answers.size()) < count && !deadline.hasExpired()) {
        if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(200))
            continue;
        while (socket.hasPendingDatagrams())
            answers.push_back(socket.receiveDatagram().data());
    }
    return answers;
}

/** Time from the first send to the last datagram received, sent as fast as they go. */
double rawLoopbackMs(const std::vector<QByteArray> &datagrams)
{
    QElapsedTimer clock;
    quint16 port = 0;
    std::mutex mutex;
    std::condition_variable ready;
    Nanos lastNs = 0;
    std::size_t received = 0;
    std::thread receiver([&] {
        QUdpSocket socket;
        socket.bind(QHostAddress::LocalHost, 0);
        growReceiveBuffer(socket);
        {
            std::lock_guard lock(mutex);
            port = socket.localPort();
        }
        ready.notify_all();
        char buffer[2048];
        QDeadlineTimer deadline(10000);
        while (received < datagrams.size() && !deadline.hasExpired()) {
            if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(100))
                continue;
            while (socket.readDatagram(buffer, sizeof buffer) >= 0) {
                ++received;
                lastNs = clock.nsecsElapsed();
            }
        }
    });
    {
        std::unique_lock lock(mutex);
        ready.wait(lock, [&] { return port != 0; });
    }
    QUdpSocket sender;
    sender.bind(QHostAddress::LocalHost, 0);
    clock.start();
    for (const QByteArray &d : datagrams)
        sender.writeDatagram(d, QHostAddress::LocalHost, port);
    receiver.join();
    if (received != datagrams.size())
        std::printf("raw loopback: only %zu of %zu datagrams arrived\n", received, datagrams.size());
    return double(lastNs) / 1e6;
}

/** CPU time of the calling thread in ns, or -1 where the system does not tell it. */
double threadCpuNs()
{
#if defined(Q_OS_UNIX)
    timespec ts{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts) == 0)
        return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
#endif
    return -1;
}

/** The mean time of one Ed25519 verification on this thread, over the recorded announcements. */
double verifyMicroseconds(const std::vector<QByteArray> &datagrams)
{
    std::vector<vxdp::Announce> announces;
    for (const QByteArray &d : datagrams) {
        const auto decoded = vxdp::decode(reinterpret_cast<const std::uint8_t *>(d.constData()), std::size_t(d.size()));
        if (decoded && decoded.message.header.type == vxdp::MsgType::Announce)
            announces.push_back(decoded.message.announce);
        if (announces.size() == 2000)
            break;
    }
    QElapsedTimer t;
    t.start();
    const double cpuBefore = threadCpuNs();
    int valid = 0;
    for (const vxdp::Announce &a : announces)
        valid += vxdp::announceSignatureValid(a.signingKey, a) ? 1 : 0;
    if (valid != int(announces.size()))
        std::printf("verification: %d of %zu signatures hold\n", valid, announces.size());
    // This thread's own time where the system tells it: other work on the machine stretches the wall clock.
    const double ns = cpuBefore >= 0 ? threadCpuNs() - cpuBefore : double(t.nsecsElapsed());
    return announces.empty() ? 0.0 : ns / 1e3 / double(announces.size());
}

struct Discovery
{
    double lastOnlineMs = 0;
    double settledMs = 0;
    std::size_t online = 0;
    std::size_t verified = 0;
    double receiveCpuMs = 0; ///< the library's receiving thread
    double verifyCpuMs = 0;  ///< the library's verifier threads
};

/**
 * Answers the library's inquiry with the recorded datagrams, as fast as they go: from one address,
 * or from a loopback address of their own for every @p perSender of them.
 */
Discovery replayToLibrary(const std::vector<QByteArray> &datagrams, int perSender)
{
    std::vector<std::unique_ptr<QUdpSocket>> senders;
    auto inquiries = std::make_unique<QUdpSocket>();
    if (!inquiries->bind(QHostAddress::LocalHost, 0))
        return {};
    const quint16 port = inquiries->localPort();
    const std::size_t addresses = perSender > 0 ? (datagrams.size() + std::size_t(perSender) - 1) / perSender : 1;
    for (std::size_t i = 0; i < addresses; ++i) {
        if (perSender <= 0) // the one socket that also takes the inquiry
            break;
        auto s = std::make_unique<QUdpSocket>();
        // 127.0.1.1, 127.0.1.2, ...: every address of 127.0.0.0/8 is this host's.
        const quint32 address = (127u << 24) | quint32(1 + i / 250) << 8 | quint32(1 + i % 250);
        if (!s->bind(QHostAddress(address), port)) {
            std::fprintf(stderr, "cannot bind %s:%u: %s\n", qPrintable(QHostAddress(address).toString()), port,
                         qPrintable(s->errorString()));
            return {};
        }
        senders.push_back(std::move(s));
    }
    qputenv("VEXO_PORT", QByteArray::number(port));

    QElapsedTimer clock;
    clock.start();
    Collector c(datagrams.size());
    c.clock = &clock;
    if (!VEXO_Start_V30(&Collector::callback, 0, &c)) { // one inquiry, no repeats
        std::fprintf(stderr, "start failed: %u\n", VEXO_GetLastError());
        return {};
    }
    Discovery result;
    QNetworkDatagram inquiry;
    QDeadlineTimer deadline(5000);
    while (!inquiry.isValid() && !deadline.hasExpired()) {
        if (inquiries->hasPendingDatagrams() || inquiries->waitForReadyRead(100))
            inquiry = inquiries->receiveDatagram();
    }
    if (inquiry.isValid() && inquiry.data().size() >= int(vxdp::kHeaderSize)) {
        // The answers to this inquiry are made before the clock starts: the benchmark's own copying is
        // not the library's cost.
        const QByteArray txid = inquiry.data().mid(8, 4);
        std::vector<QByteArray> replies(datagrams.begin(), datagrams.end());
        for (QByteArray &d : replies)
            d.replace(8, 4, txid);
        const QHostAddress library = inquiry.senderAddress();
        const quint16 libraryPort = quint16(inquiry.senderPort());
        const Nanos startNs = clock.nsecsElapsed();
        for (std::size_t i = 0; i < replies.size(); ++i) {
            QUdpSocket &from = perSender > 0 ? *senders[i / std::size_t(perSender)] : *inquiries;
            from.writeDatagram(replies[i], library, libraryPort);
        }
        const std::size_t count = datagrams.size();
        c.waitFor([count](const Collector &k) { return k.checked == count; }, 30);
        std::lock_guard lock(c.mutex);
        result.lastOnlineMs = double(c.lastOnlineNs - startNs) / 1e6;
        result.settledMs = double(c.settledNs - startNs) / 1e6;
        result.online = c.online;
        result.verified = c.verified;
    }
    result.receiveCpuMs = threadCpuMs("vexo-receive");
    result.verifyCpuMs = threadCpuMs("vexo-verify");
    VEXO_Stop();
    return result;
}

void loadAverage()
{
    QFile f(QStringLiteral("/proc/loadavg"));
    if (f.open(QIODevice::ReadOnly))
        std::printf("load average: %s\n", f.readAll().trimmed().constData());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The benchmark's own sockets ask no proxy: the system's lookup runs on a thread of its own and
    // would take CPU from the library while it is measured.
    QNetworkProxyFactory::setUseSystemConfiguration(false);
    // Every datagram of the benchmark stays on this machine.
    qputenv("VEXO_SCOPE", "loopback");
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 300;
    const bool replayOnly = argc > 3 && std::strcmp(argv[3], "replay") == 0;
    loadAverage();

    QProcess sim;
    sim.start(QStringLiteral(VEXO_BIN_DIR "/vexo-devsim"),
              {QStringLiteral("--scope"), QStringLiteral("loopback"), QStringLiteral("--port"), QStringLiteral("0"),
               QStringLiteral("--count"), QString::number(count), QStringLiteral("--seed"), QStringLiteral("1"),
               QStringLiteral("--test-mode")});
    quint16 port = 0;
    QDeadlineTimer ready(60000);
    while (!port && !ready.hasExpired() && sim.waitForReadyRead(int(ready.remainingTime()))) {
        while (sim.canReadLine()) {
            const QByteArray line = sim.readLine().trimmed();
            if (line.startsWith("ready "))
                port = line.mid(6).toUShort();
        }
    }
    if (!port) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    const std::vector<QByteArray> answers = recordAnswers(port, count);
    if (int(answers.size()) != count) {
        std::fprintf(stderr, "recorded %zu of %d answers\n", answers.size(), count);
        return 1;
    }
    std::vector<double> raws;
    for (int i = 0; i < 3; ++i)
        raws.push_back(rawLoopbackMs(answers));
    const double raw = median(raws);
    // The median of three: one measurement of 2,000 checks moves by a few per cent with the machine.
    std::vector<double> verifies;
    for (int i = 0; i < 3; ++i)
        verifies.push_back(verifyMicroseconds(answers));
    const double verifyUs = median(verifies);
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    const double settleGoalMs = 1.2 * double(count) * verifyUs / 1e3 / double(cores);
    std::printf("raw loopback send+receive of %d answers: %.1f ms (median of 3: %.1f %.1f %.1f)\n", count, raw, raws[0],
                raws[1], raws[2]);
    std::printf("one Ed25519 verification: %.1f us of CPU; %u cores\n", verifyUs, cores);

    bool complete = true;
    // One line per figure, in the form scripts/bench.py gathers: name, value and unit, goal, verdict, note.
    const auto figure
        = [](const std::string &name, double value, const char *unit, double goal, const std::string &note) {
              std::printf("%-52s %9.1f %s  (goal <= %g %s) %s  %s\n", name.c_str(), value, unit, goal, unit,
                          value <= goal ? "ok" : "MISSED", note.c_str());
          };
    for (const int perSender : {8, 0}) {
        const Discovery d = replayToLibrary(answers, perSender);
        char note[320];
        std::snprintf(note, sizeof note,
                      "%zu of %d online at %.1f ms, raw %.1f ms; receiving thread CPU %.1f ms (%.2f us per device)",
                      d.online, count, d.lastOnlineMs, raw, d.receiveCpuMs, d.receiveCpuMs * 1e3 / count);
        const std::string onlineNote = note;
        std::snprintf(note, sizeof note,
                      "%zu verified; verifiers CPU %.1f ms (%.1f us per device); goal %.1f us x %d / %u cores x 1.2",
                      d.verified, d.verifyCpuMs, d.verifyCpuMs * 1e3 / count, verifyUs, count, cores);
        const std::string settleNote = note;
        if (perSender > 0) {
            figure("library: last online / raw loopback, 8 per address", raw > 0 ? d.lastOnlineMs / raw : 0.0, "x", 3,
                   onlineNote);
            figure("library: every check settled, 8 per address", d.settledMs, "ms", settleGoalMs, settleNote);
        } else {
            // Beyond its sender's share of 8 unverified identities, a newcomer is listed only once its
            // certificate and its signature verify: two verifications each before the last is listed, so
            // this case is measured against that bound rather than against the raw loopback cost.
            const double boundMs = double(count - 8) * 2 * verifyUs / 1e3 / double(cores);
            figure("library: last online, one address (two checks each)", d.lastOnlineMs, "ms", 1.2 * boundMs,
                   onlineNote + "; goal: 1.2 x the two checks per device the per-sender limit needs, "
                       + std::to_string(int(boundMs)) + " ms");
        }
        complete = complete && d.online == std::size_t(count) && d.verified == std::size_t(count);
    }
    if (replayOnly) { // for profiling the library alone
        sim.terminate();
        sim.waitForFinished(5000);
        return complete ? 0 : 1;
    }

    // The simulator itself answers: it paces its answers so that a receiver on this host keeps up.
    qputenv("VEXO_PORT", QByteArray::number(port));
    QElapsedTimer clock;
    clock.start();
    Collector c{std::size_t(count)};
    c.clock = &clock;
    const double cpuBefore = cpuSeconds();
    if (!VEXO_Start_V30(&Collector::callback, 0, &c)) {
        std::fprintf(stderr, "start failed: %u\n", VEXO_GetLastError());
        return 1;
    }
    const std::size_t expected = std::size_t(count);
    c.waitFor([expected](const Collector &k) { return k.checked == expected; }, 30);
    const double cpu = cpuSeconds() - cpuBefore; // the main thread only waited: this is the library's threads
    std::size_t found = 0;
    {
        std::lock_guard lock(c.mutex);
        found = c.online;
        std::printf("through the simulator: %zu of %d online, last online %.1f ms, settled %.1f ms, library CPU %.1f "
                    "ms (%.2f us per device)\n",
                    found, count, double(c.lastOnlineNs) / 1e6, double(c.settledNs) / 1e6, cpu * 1e3,
                    found ? cpu * 1e6 / double(found) : 0.0);
    }

    // Rediscovery after a clear-up: every answer repeats what the library accepted before,
    // so it is listed again without any check.
    std::vector<VEXO_DEVICE_INFO> records;
    {
        std::lock_guard lock(c.mutex);
        records = c.onlineRecords;
    }
    c.reset();
    const double cpuBeforeAgain = cpuSeconds();
    const Nanos againStart = clock.nsecsElapsed();
    VEXO_Clearup();
    VEXO_SendInquiry();
    c.waitFor([expected](const Collector &k) { return k.online == expected; }, 20);
    const double cpuAgain = cpuSeconds() - cpuBeforeAgain;
    std::size_t foundAgain = 0;
    {
        std::lock_guard lock(c.mutex);
        foundAgain = c.online;
        std::printf("rediscovery after VEXO_Clearup: %zu of %d devices online, last callback at %.1f ms, library CPU "
                    "%.1f ms\n",
                    foundAgain, count, double(c.lastOnlineNs - againStart) / 1e6, cpuAgain * 1e3);
    }

    // Round trip of a network change (challenge, sealed request, result) with cheap hashing.
    const auto target = std::find_if(records.begin(), records.end(),
                                     [](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && !d.dhcpEnabled; });
    if (target == records.end()) {
        std::fprintf(stderr, "no activated device\n");
        return 1;
    }
    DeviceNetParam p{};
    std::memcpy(p.ipv4Address, target->ipv4Address, 16);
    std::memcpy(p.ipv4SubnetMask, target->ipv4SubnetMask, 16);
    std::memcpy(p.ipv4Gateway, target->ipv4Gateway, 16);
    p.port = static_cast<uint16_t>(target->port);
    std::vector<double> ms;
    int failures = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (!VEXO_ModifyDeviceNetParam(target->macAddress, "Admin12345", &p))
            ++failures;
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty())
        std::printf("network change: %d rounds, %d failed, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", rounds, failures,
                    ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back());
    VEXO_Stop();
    sim.terminate();
    sim.waitForFinished(5000);
    loadAverage();
    return complete && found == expected && foundAgain == expected && failures == 0 ? 0 : 1;
}

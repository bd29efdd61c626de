// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Benchmark of the discovery library on loopback: how fast ten thousand devices
// answering one inquiry reach the callback, the library's CPU time per device, and
// the round trip of a network change.
#include "Vexo.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <vector>

namespace {

struct Collector
{
    std::mutex mutex;
    std::condition_variable done;
    std::vector<VEXO_DEVICE_INFO> online;
    std::size_t expected = 0;
    QElapsedTimer clock;
    qint64 lastNs = 0;

    static void VEXO_CALLBACK callback(const VEXO_DEVICE_INFO *info, void *user)
    {
        auto *self = static_cast<Collector *>(user);
        std::lock_guard lock(self->mutex);
        if (info->eventCode != VEXO_EVENT_ONLINE)
            return;
        self->online.push_back(*info);
        self->lastNs = self->clock.nsecsElapsed();
        if (self->online.size() == self->expected)
            self->done.notify_all();
    }
};

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Every datagram of the benchmark stays on this machine.
    qputenv("VEXO_SCOPE", "loopback");
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 300;

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
    qputenv("VEXO_PORT", QByteArray::number(port));

    Collector c;
    c.expected = std::size_t(count);
    const double cpuBefore = cpuSeconds();
    c.clock.start();
    if (!VEXO_Start_V30(&Collector::callback, 0, &c)) { // one inquiry, no repeats
        std::fprintf(stderr, "start failed: %u\n", VEXO_GetLastError());
        return 1;
    }
    {
        std::unique_lock lock(c.mutex);
        c.done.wait_for(lock, std::chrono::seconds(20), [&c] { return c.online.size() == c.expected; });
    }
    const double cpu = cpuSeconds() - cpuBefore; // the main thread only waited: this is the library's thread
    std::size_t found = 0;
    {
        std::lock_guard lock(c.mutex);
        found = c.online.size();
    }
    std::printf("discovery: %zu of %d devices online after one inquiry, last callback at %.1f ms\n", found, count,
                double(c.lastNs) / 1e6);
    std::printf("discovery: library CPU %.1f ms in all, %.2f us per device\n", cpu * 1e3,
                found ? cpu * 1e6 / double(found) : 0.0);

    // Rediscovery after a clear-up: every answer repeats what the library accepted before,
    // so it is listed again without any signature or certificate check.
    {
        std::lock_guard lock(c.mutex);
        c.online.clear();
        c.lastNs = 0;
    }
    const double cpuBeforeAgain = cpuSeconds();
    const qint64 againStart = c.clock.nsecsElapsed();
    VEXO_Clearup();
    VEXO_SendInquiry();
    std::size_t foundAgain = 0;
    {
        std::unique_lock lock(c.mutex);
        c.done.wait_for(lock, std::chrono::seconds(20), [&c] { return c.online.size() == c.expected; });
        foundAgain = c.online.size();
    }
    const double cpuAgain = cpuSeconds() - cpuBeforeAgain;
    std::printf("rediscovery after VEXO_Clearup: %zu of %d devices online, last callback at %.1f ms, library CPU "
                "%.1f ms\n",
                foundAgain, count, double(c.lastNs - againStart) / 1e6, cpuAgain * 1e3);

    // Round trip of a network change (challenge, sealed request, result) with cheap hashing.
    VEXO_DEVICE_INFO target{};
    {
        std::lock_guard lock(c.mutex);
        auto it = std::find_if(c.online.begin(), c.online.end(),
                               [](const VEXO_DEVICE_INFO &d) { return d.inactive == 0 && !d.dhcpEnabled; });
        if (it == c.online.end()) {
            std::fprintf(stderr, "no activated device\n");
            return 1;
        }
        target = *it;
    }
    DeviceNetParam p{};
    std::memcpy(p.ipv4Address, target.ipv4Address, 16);
    std::memcpy(p.ipv4SubnetMask, target.ipv4SubnetMask, 16);
    std::memcpy(p.ipv4Gateway, target.ipv4Gateway, 16);
    p.port = static_cast<uint16_t>(target.port);
    std::vector<double> ms;
    int failures = 0;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        if (!VEXO_ModifyDeviceNetParam(target.macAddress, "Admin12345", &p))
            ++failures;
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("network change: %d rounds, %d failed, p50 %.2f ms, p99 %.2f ms, max %.2f ms\n", rounds, failures,
                ms[ms.size() / 2], ms[std::min(ms.size() - 1, ms.size() * 99 / 100)], ms.back());
    VEXO_Stop();
    sim.terminate();
    sim.waitForFinished(5000);
    return found == std::size_t(count) && foundAgain == std::size_t(count) && failures == 0 ? 0 : 1;
}

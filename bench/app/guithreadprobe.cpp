// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "guithreadprobe.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <ctime>

namespace {

constexpr int kTickMs = 5;

// CPU time of the calling thread.
qint64 threadCpuNs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

GuiThreadProbe probeGuiThread(const QElapsedTimer &clock, const std::function<bool()> &done, int timeoutMs, int tailMs)
{
    GuiThreadProbe result;
    qint64 lastTick = clock.nsecsElapsed();
    qint64 lastBusy = threadCpuNs();
    qint64 doneAt = -1;
    QEventLoop loop;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(kTickMs);
    QObject::connect(&probe, &QTimer::timeout, &loop, [&] {
        const qint64 now = clock.nsecsElapsed();
        const qint64 busy = threadCpuNs();
        if (double(now - lastTick) / 1e6 > result.longestGapMs) {
            result.longestGapMs = double(now - lastTick) / 1e6;
            result.busyInLongestGapMs = double(busy - lastBusy) / 1e6;
        }
        lastTick = now;
        lastBusy = busy;
        if (doneAt < 0 && done()) {
            doneAt = now;
            result.reached = true;
            result.reachedAfterMs = double(now) / 1e6;
        }
        if ((doneAt >= 0 && now - doneAt >= qint64(tailMs) * 1000000) || clock.elapsed() > timeoutMs)
            loop.quit();
    });
    probe.start();
    loop.exec();
    return result;
}

GuiThreadProbe probeGuiThread(const std::function<bool()> &done, int timeoutMs, int tailMs)
{
    QElapsedTimer clock;
    clock.start();
    return probeGuiThread(clock, done, timeoutMs, tailMs);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include <csingleton.h>

#include <QTest>

#include <atomic>
#include <latch>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_constructed = 0;

class SlowToBuild : public Singleton::CSingleton<SlowToBuild>
{
    friend class Singleton::CSingleton<SlowToBuild>;

public:
    ~SlowToBuild() = default;

private:
    SlowToBuild()
    {
        ++g_constructed;
        // Widens the window in which a second thread could slip past an unguarded test.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
};

} // namespace

class tst_CSingleton : public QObject
{
    Q_OBJECT

private slots:
    void threadsRacingForTheFirstInstanceShareOne();
};

void tst_CSingleton::threadsRacingForTheFirstInstanceShareOne()
{
    constexpr int kThreads = 8;
    std::latch ready(kThreads);
    std::vector<SlowToBuild *> seen(kThreads, nullptr);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&ready, &seen, t] {
            ready.arrive_and_wait();
            seen[std::size_t(t)] = SlowToBuild::instance();
        });
    }
    for (auto &thread : threads)
        thread.join();

    QCOMPARE(g_constructed.load(), 1);
    QVERIFY(seen.front() != nullptr);
    for (SlowToBuild *object : seen)
        QCOMPARE(object, seen.front());
    QCOMPARE(SlowToBuild::instance(), seen.front());
}

QTEST_GUILESS_MAIN(tst_CSingleton)

#include "tst_csingleton.moc"

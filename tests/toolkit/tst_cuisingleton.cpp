// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cuisingleton.h>

#include <QTest>

#include <atomic>
#include <chrono>
#include <latch>
#include <thread>
#include <vector>

namespace {

std::atomic<int> s_constructed{0};

// Slow to build, so that threads arriving together meet inside the creation.
class SlowService : public aKLOGUIToolkit::CUiSingleton<SlowService>
{
public:
    int value = 42;

private:
    friend class aKLOGUIToolkit::CUiSingleton<SlowService>;
    SlowService()
    {
        ++s_constructed;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
};

} // namespace

class tst_CUiSingleton : public QObject
{
    Q_OBJECT

private slots:
    void samePointerFromManyThreads_data();
    void samePointerFromManyThreads();
};

void tst_CUiSingleton::samePointerFromManyThreads_data()
{
    QTest::addColumn<int>("threadCount");

    QTest::addRow("two threads") << 2;
    QTest::addRow("eight threads") << 8;
}

void tst_CUiSingleton::samePointerFromManyThreads()
{
    QFETCH(int, threadCount);

    std::vector<SlowService *> seen(threadCount, nullptr);
    std::latch start(threadCount);
    std::vector<std::thread> threads;
    for (int i = 0; i < threadCount; ++i) {
        threads.emplace_back([&seen, &start, i] {
            start.arrive_and_wait();
            seen[i] = SlowService::GetInstance();
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    QVERIFY(seen.front());
    for (SlowService *instance : seen)
        QCOMPARE(instance, seen.front());
    QCOMPARE(seen.front()->value, 42);
    QCOMPARE(SlowService::GetInstance(), seen.front());
    QCOMPARE(s_constructed.load(), 1);
}

QTEST_GUILESS_MAIN(tst_CUiSingleton)

#include "tst_cuisingleton.moc"

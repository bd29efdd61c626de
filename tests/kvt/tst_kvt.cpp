// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "lockprobe.h"

#include <kvt.h>

#include <QTest>

#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

// Long enough for a waiting thread to have got a free mutex, short enough to keep the test quick.
constexpr auto kStillBlocked = 100ms;
constexpr auto kSoonFree = 5s;

} // namespace

class tst_Kvt : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lockedDepthTimesNeedsDepthUnlocks_data();
    void lockedDepthTimesNeedsDepthUnlocks();
    void guardUnlocksExactlyOnce_data();
    void guardUnlocksExactlyOnce();
    void unlockFromAnotherThreadIsRefused();
    void unlockOfFreeMutexIsRefused();
    void nullHandleIsHarmless();
    void excludesOtherThreads();

private:
    KVT_Mutex m_mutex = nullptr;
};

void tst_Kvt::init()
{
    m_mutex = KVT_MutexCreate(-1);
    QVERIFY(m_mutex);
}

void tst_Kvt::cleanup()
{
    KVT_MutexDestroy(m_mutex);
    m_mutex = nullptr;
}

void tst_Kvt::lockedDepthTimesNeedsDepthUnlocks_data()
{
    QTest::addColumn<int>("depth");
    QTest::addRow("once") << 1;
    QTest::addRow("twice") << 2;
    QTest::addRow("five times") << 5;
}

void tst_Kvt::lockedDepthTimesNeedsDepthUnlocks()
{
    QFETCH(int, depth);
    for (int i = 0; i < depth; ++i)
        QCOMPARE(KVT_MutexLock(m_mutex), 1);
    for (int i = 0; i < depth - 1; ++i)
        QCOMPARE(KVT_MutexUnlock(m_mutex), 1);

    LockProbe probe(m_mutex);
    QVERIFY(!probe.acquiredWithin(kStillBlocked));
    QCOMPARE(KVT_MutexUnlock(m_mutex), 1);
    QVERIFY(probe.acquiredWithin(kSoonFree));
}

void tst_Kvt::guardUnlocksExactlyOnce_data()
{
    QTest::addColumn<int>("releases");
    QTest::addRow("destructor only") << 0;
    QTest::addRow("Release then destructor") << 1;
    QTest::addRow("Release twice then destructor") << 2;
}

void tst_Kvt::guardUnlocksExactlyOnce()
{
    QFETCH(int, releases);
    // An outer lock that the guard must not undo.
    QCOMPARE(KVT_MutexLock(m_mutex), 1);
    {
        KVT_Guard guard(m_mutex);
        for (int i = 0; i < releases; ++i)
            guard.Release();
    }

    LockProbe probe(m_mutex);
    QVERIFY(!probe.acquiredWithin(kStillBlocked));
    QCOMPARE(KVT_MutexUnlock(m_mutex), 1);
    QVERIFY(probe.acquiredWithin(kSoonFree));
}

void tst_Kvt::unlockFromAnotherThreadIsRefused()
{
    QCOMPARE(KVT_MutexLock(m_mutex), 1);
    int otherResult = -1;
    std::thread([this, &otherResult] { otherResult = KVT_MutexUnlock(m_mutex); }).join();
    QCOMPARE(otherResult, 0);

    LockProbe probe(m_mutex);
    QVERIFY(!probe.acquiredWithin(kStillBlocked));
    QCOMPARE(KVT_MutexUnlock(m_mutex), 1);
    QVERIFY(probe.acquiredWithin(kSoonFree));
}

void tst_Kvt::unlockOfFreeMutexIsRefused()
{
    QCOMPARE(KVT_MutexUnlock(m_mutex), 0);
    // The refused unlock must not have left a negative or stray count behind.
    QCOMPARE(KVT_MutexLock(m_mutex), 1);
    LockProbe probe(m_mutex);
    QVERIFY(!probe.acquiredWithin(kStillBlocked));
    QCOMPARE(KVT_MutexUnlock(m_mutex), 1);
    QVERIFY(probe.acquiredWithin(kSoonFree));
}

void tst_Kvt::nullHandleIsHarmless()
{
    QCOMPARE(KVT_MutexLock(nullptr), 0);
    QCOMPARE(KVT_MutexUnlock(nullptr), 0);
    KVT_MutexDestroy(nullptr);
    KVT_Guard guard(nullptr);
    guard.Release();
}

void tst_Kvt::excludesOtherThreads()
{
    constexpr int kThreads = 4;
    constexpr int kRounds = 5000;
    long counter = 0; // deliberately not atomic: only the mutex protects it
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([this, &counter] {
            for (int i = 0; i < kRounds; ++i) {
                KVT_Guard outer(m_mutex);
                KVT_Guard inner(m_mutex);
                const long seen = counter;
                std::this_thread::yield();
                counter = seen + 1;
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    QCOMPARE(counter, long(kThreads) * kRounds);
}

QTEST_GUILESS_MAIN(tst_Kvt)

#include "tst_kvt.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <kvt.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

/**
 * @brief Tries to lock a KVT_Mutex from a thread of its own (and unlocks it again), so a test can
 *        tell whether the mutex is free for other threads.
 */
class LockProbe
{
public:
    explicit LockProbe(KVT_Mutex mutex)
    {
        auto done = std::make_shared<std::promise<void>>();
        m_done = done->get_future();
        m_thread = std::thread([mutex, done] {
            KVT_MutexLock(mutex);
            KVT_MutexUnlock(mutex);
            done->set_value();
        });
    }

    ~LockProbe()
    {
        // A probe still waiting belongs to a failed test; it must not block the others.
        if (acquiredWithin(std::chrono::seconds(5)))
            m_thread.join();
        else
            m_thread.detach();
    }

    LockProbe(const LockProbe &) = delete;
    LockProbe &operator=(const LockProbe &) = delete;

    /** @brief Whether the thread has had the lock, waiting at most @p timeout for it. */
    bool acquiredWithin(std::chrono::milliseconds timeout)
    {
        return m_done.wait_for(timeout) == std::future_status::ready;
    }

private:
    std::future<void> m_done;
    std::thread m_thread;
};

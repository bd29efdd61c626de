// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "kvt.h"

#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

// Owner and depth are tracked by hand rather than with std::recursive_mutex so that an
// unlock from a thread that does not hold the mutex is refused instead of being undefined.
struct KVT_MutexObject
{
    std::mutex guard;
    std::condition_variable released;
    std::thread::id owner;
    unsigned long depth = 0;
};

extern "C" {

KVT_API KVT_Mutex KVT_MutexCreate(int /*flag*/)
{
    return new (std::nothrow) KVT_MutexObject;
}

KVT_API int KVT_MutexLock(KVT_Mutex mutex)
{
    if (!mutex)
        return 0;
    const auto self = std::this_thread::get_id();
    std::unique_lock lock(mutex->guard);
    if (mutex->depth > 0 && mutex->owner == self) {
        ++mutex->depth;
        return 1;
    }
    mutex->released.wait(lock, [mutex] { return mutex->depth == 0; });
    mutex->owner = self;
    mutex->depth = 1;
    return 1;
}

KVT_API int KVT_MutexUnlock(KVT_Mutex mutex)
{
    if (!mutex)
        return 0;
    {
        std::lock_guard lock(mutex->guard);
        if (mutex->depth == 0 || mutex->owner != std::this_thread::get_id())
            return 0;
        if (--mutex->depth > 0)
            return 1;
        mutex->owner = std::thread::id();
    }
    mutex->released.notify_one();
    return 1;
}

KVT_API void KVT_MutexDestroy(KVT_Mutex mutex)
{
    delete mutex;
}

} // extern "C"

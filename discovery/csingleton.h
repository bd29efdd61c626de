// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "cnoncopyable.h"

#include <kvt.h>

#include <atomic>
#include <memory>

namespace Singleton {

/**
 * @brief One object of @p T per process, made on the first call of instance() and deleted at exit.
 *
 * @p T derives from CSingleton<T>, keeps its constructor private and declares
 * `friend class Singleton::CSingleton<T>;`. Creation is guarded by a static KVT_Mutex, so
 * threads calling instance() at the same time get the same object. Objects made this way are
 * deleted at process exit in the reverse order of their creation.
 */
template<typename T>
class CSingleton : public CNoncopyable
{
public:
    /** @brief The object, created on the first call; null only while the process is shutting down. */
    static T *instance()
    {
        // The atomic makes the unguarded first test safe; the guarded second test keeps creation single.
        T *object = s_object.load(std::memory_order_acquire);
        if (!object && !s_destroyed.load(std::memory_order_acquire)) {
            KVT_Guard guard(creationMutex());
            object = s_object.load(std::memory_order_relaxed);
            if (!object && !s_destroyed.load(std::memory_order_relaxed)) {
                // A block-scope static is destroyed in reverse order of construction, which
                // gives the exit order of the singletons.
                static Owner owner(new T);
                object = owner.object.get();
                s_object.store(object, std::memory_order_release);
            }
        }
        return object;
    }

protected:
    CSingleton() = default;
    ~CSingleton() = default;

private:
    struct Owner
    {
        explicit Owner(T *created)
            : object(created)
        {}
        ~Owner()
        {
            s_destroyed.store(true, std::memory_order_release);
            s_object.store(nullptr, std::memory_order_release);
            object.reset();
        }
        std::unique_ptr<T> object;
    };

    struct MutexHolder
    {
        MutexHolder()
            : mutex(KVT_MutexCreate(-1))
        {}
        ~MutexHolder() { KVT_MutexDestroy(mutex); }
        KVT_Mutex mutex;
    };

    static KVT_Mutex creationMutex()
    {
        static MutexHolder holder;
        return holder.mutex;
    }

    static inline std::atomic<T *> s_object = nullptr;
    static inline std::atomic<bool> s_destroyed = false;
};

} // namespace Singleton

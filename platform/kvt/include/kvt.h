// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

/**
 * @file kvt.h
 * @brief The runtime library's re-entrant mutex.
 *
 * A KVT_Mutex may be locked again by the thread that holds it; it is free for
 * other threads once that thread has unlocked it as often as it locked it.
 * Every function accepts a null handle and then does nothing (Lock and Unlock
 * report failure).
 */
#pragma once

#if defined(_WIN32)
#    if defined(KVT_BUILDING_LIBRARY)
#        define KVT_API __declspec(dllexport)
#    else
#        define KVT_API __declspec(dllimport)
#    endif
#else
#    define KVT_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/** @brief Opaque handle of a re-entrant mutex. */
typedef struct KVT_MutexObject *KVT_Mutex;

/**
 * @brief Creates an unlocked mutex.
 * @param flag creation options; -1 asks for the defaults. No other options exist yet, so every
 *             value currently behaves as -1.
 * @return the handle, or null when no memory is left.
 */
KVT_API KVT_Mutex KVT_MutexCreate(int flag);

/**
 * @brief Locks the mutex, waiting while another thread holds it. The holding thread may lock again.
 * @return 1 on success, 0 for a null handle.
 */
KVT_API int KVT_MutexLock(KVT_Mutex mutex);

/**
 * @brief Undoes one KVT_MutexLock of the calling thread.
 * @return 1 on success; 0 for a null handle or when the calling thread does not hold the mutex
 *         (the mutex is then left as it was).
 */
KVT_API int KVT_MutexUnlock(KVT_Mutex mutex);

/** @brief Frees the mutex. It must not be held by any thread. */
KVT_API void KVT_MutexDestroy(KVT_Mutex mutex);

#ifdef __cplusplus
}

/**
 * @brief Scoped lock on a KVT_Mutex: locks on construction, unlocks once on Release() or destruction.
 */
class KVT_Guard
{
public:
    /** @brief Locks @p mutex (a null handle gives a guard that holds nothing). */
    explicit KVT_Guard(KVT_Mutex mutex)
        : m_mutex(mutex)
    {
        if (m_mutex && !KVT_MutexLock(m_mutex))
            m_mutex = nullptr;
    }
    ~KVT_Guard() { Release(); }

    KVT_Guard(const KVT_Guard &) = delete;
    KVT_Guard &operator=(const KVT_Guard &) = delete;

    /** @brief Unlocks the mutex once and forgets it; later calls do nothing. */
    void Release()
    {
        if (m_mutex) {
            KVT_MutexUnlock(m_mutex);
            m_mutex = nullptr;
        }
    }

private:
    KVT_Mutex m_mutex = nullptr;
};
#endif

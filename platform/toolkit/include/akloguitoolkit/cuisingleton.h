// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

namespace aKLOGUIToolkit {

/**
 * @brief Process-wide single instance of \a T, created on first use.
 *
 * \a T derives from CUiSingleton<T> and makes CUiSingleton<T> a friend when its
 * constructor is private. The first GetInstance() call creates the object under a
 * mutex private to \a T; later calls read the published pointer without locking.
 * The object is deleted at process exit, singletons in reverse order of creation.
 */
template<class T>
class CUiSingleton
{
public:
    CUiSingleton(const CUiSingleton &) = delete;
    CUiSingleton &operator=(const CUiSingleton &) = delete;

    /** @brief The single instance of \a T; safe to call from any thread. */
    static T *GetInstance()
    {
        // Acquire pairs with the release below, so a thread that sees the pointer
        // also sees the fully constructed object.
        T *instance = s_instance.load(std::memory_order_acquire);
        if (instance)
            return instance;

        std::lock_guard<std::mutex> lock(s_mutex);
        instance = s_instance.load(std::memory_order_relaxed);
        if (!instance) {
            auto created = std::unique_ptr<T>(new T);
            // The holder is constructed after T's constructor has run, so a singleton
            // that T's constructor used is destroyed after T.
            static Holder holder;
            instance = created.release();
            s_instance.store(instance, std::memory_order_release);
        }
        return instance;
    }

    virtual ~CUiSingleton() = default;

protected:
    CUiSingleton() = default;

private:
    struct Holder
    {
        ~Holder() { delete s_instance.exchange(nullptr, std::memory_order_acq_rel); }
    };

    inline static std::atomic<T *> s_instance{nullptr};
    inline static std::mutex s_mutex;
};

} // namespace aKLOGUIToolkit

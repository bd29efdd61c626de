// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "protocol/codec.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vexo {

/**
 * Checks device certificates on threads of its own, so that the thread receiving the
 * announcements never waits for Ed25519. Checks are taken in the order they come;
 * results are collected by whoever polls take().
 */
class Verifier
{
public:
    struct Job
    {
        std::string mac;
        std::string sender;
        vxdp::Announce announce;
        std::vector<std::uint8_t> body; ///< the datagram's body, for an announcement held until checked
        bool held = false;              ///< not listed yet: also check its signature
        std::uint64_t generation = 0;   ///< the caller's epoch, to tell stale results
    };
    struct Result
    {
        Job job;
        bool certificate = false; ///< the maker's certificate holds for the identity
        bool signature = false;   ///< held jobs only: the device's own signature holds too
    };

    /** Starts @p threads workers (at least one) that check with the maker's key @p deviceCaKey. */
    Verifier(const std::array<std::uint8_t, 32> &deviceCaKey, unsigned threads);
    ~Verifier();
    Verifier(const Verifier &) = delete;
    Verifier &operator=(const Verifier &) = delete;

    void submit(Job job);
    /** Hands in a result checked elsewhere (by a caller that could not wait for the queue). */
    void deliver(Job job, bool certificate);
    /**
     * Replaces @p results with those finished so far, in no particular order. The vectors trade
     * places, so that neither grows from nothing again with every burst.
     */
    void take(std::vector<Result> &results);
    /** Jobs submitted whose results were not taken yet. */
    std::size_t outstanding() const { return m_outstanding.load(); }

    /** Workers for this machine: one per core. */
    static unsigned defaultThreads();

private:
    void work();

    const std::array<std::uint8_t, 32> m_deviceCaKey;
    std::mutex m_mutex; // guards the queues and m_stopping
    std::condition_variable m_wake;
    std::deque<Job> m_queue;
    std::vector<Result> m_done;
    bool m_stopping = false;
    std::atomic<std::size_t> m_outstanding{0};
    std::vector<std::thread> m_threads;
};

} // namespace vexo

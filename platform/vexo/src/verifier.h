// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "protocol/codec.h"

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
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
        std::uint64_t mac = 0;        ///< the device's MAC as a number
        std::uint64_t admission = 0;  ///< which listing of the device the check is for
        std::uint64_t generation = 0; ///< the caller's epoch, to tell stale results
        /// A listed device: what the maker's certificate signs, and the certificate (empty or 64 bytes).
        std::vector<std::uint8_t> certified;
        std::array<std::uint8_t, 64> certificate{};
        std::size_t certificateSize = 0;
        /// A newcomer held until checked: its whole announcement, since its own signature is checked too.
        std::unique_ptr<vxdp::Announce> held;
        std::array<std::uint8_t, 16> digest{}; ///< held newcomers: their datagram body's digest
        std::string sender;                    ///< held newcomers: the address that brought them
    };
    struct Result
    {
        Job job;
        bool certificate = false; ///< the maker's certificate holds for the identity
        bool signature = false;   ///< held jobs only: the device's own signature holds too
    };

    /** The check of a listed device's certificate, taken from its announcement. */
    static Job listedJob(std::uint64_t mac, const vxdp::Announce &announce);

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
    std::vector<Job> m_queue; // taken from m_head on: no allocation per job, as a deque of jobs this size would make
    std::size_t m_head = 0;
    std::vector<Result> m_done;
    bool m_stopping = false;
    std::atomic<std::size_t> m_outstanding{0};
    std::vector<std::thread> m_threads;
};

} // namespace vexo

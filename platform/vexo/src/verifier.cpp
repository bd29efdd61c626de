// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "verifier.h"

#include "protocol/crypto.h"
#include "protocol/identity.h"

#include <algorithm>

#if defined(_WIN32)
#    include <windows.h>
#elif defined(__linux__)
#    include <pthread.h>
#    include <sys/resource.h>
#    include <sys/syscall.h>
#    include <unistd.h>
#endif

namespace vexo {

namespace {

// Checks yield to the thread that lists the devices: on two cores the list would otherwise
// wait for the checks it should come before.
void lowerThisThreadsPriority()
{
#if defined(_WIN32)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#elif defined(__linux__)
    // Linux gives each thread a nice value of its own.
    setpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)), 10);
#endif
}

} // namespace

Verifier::Verifier(const std::array<std::uint8_t, 32> &deviceCaKey, unsigned threads)
    : m_deviceCaKey(deviceCaKey)
{
    for (unsigned i = 0; i < std::max(1u, threads); ++i)
        m_threads.emplace_back([this] { work(); });
}

Verifier::~Verifier()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread &t : m_threads)
        t.join();
}

Verifier::Job Verifier::listedJob(std::uint64_t mac, const vxdp::Announce &announce)
{
    Job job;
    job.mac = mac;
    job.certified = vxdp::certificateBytes(announce);
    job.certificateSize = std::min(announce.certificate.size(), job.certificate.size());
    std::copy_n(announce.certificate.begin(), job.certificateSize, job.certificate.begin());
    return job;
}

unsigned Verifier::defaultThreads()
{
    // Unknown counts as one core; more than eight would only queue on the session's lock.
    return std::clamp(std::thread::hardware_concurrency(), 1u, 8u);
}

void Verifier::submit(Job job)
{
    ++m_outstanding;
    bool wasEmpty = false;
    {
        std::lock_guard lock(m_mutex);
        wasEmpty = m_head == m_queue.size();
        m_queue.push_back(std::move(job));
    }
    // Workers go on while the queue holds jobs: only the first of a burst needs to wake them.
    if (wasEmpty)
        m_wake.notify_all();
}

void Verifier::deliver(Job job, bool certificate)
{
    ++m_outstanding;
    std::lock_guard lock(m_mutex);
    m_done.push_back({std::move(job), certificate, false});
}

void Verifier::take(std::vector<Result> &results)
{
    results.clear();
    {
        std::lock_guard lock(m_mutex);
        results.swap(m_done);
    }
    m_outstanding -= results.size();
}

void Verifier::work()
{
#if defined(__linux__)
    pthread_setname_np(pthread_self(), "vexo-verify"); // for profilers and debuggers
#endif
    lowerThisThreadsPriority();
    for (;;) {
        Result result;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_head < m_queue.size(); });
            if (m_stopping)
                return;
            result.job = std::move(m_queue[m_head++]);
            if (m_head == m_queue.size()) {
                // The room of a burst of thousands goes back; the usual room stays.
                if (m_queue.capacity() > 1024)
                    m_queue = std::vector<Job>();
                m_queue.clear();
                m_head = 0;
            } else if (m_head >= 1024 && m_head * 2 >= m_queue.size()) {
                // A steady stream never empties the queue: the taken half goes now and then.
                m_queue.erase(m_queue.begin(), m_queue.begin() + std::ptrdiff_t(m_head));
                m_head = 0;
            }
        }
        const Job &job = result.job;
        if (job.held) {
            const vxdp::Announce &a = *job.held;
            result.certificate = vxdp::certificateValid(m_deviceCaKey, a);
            result.signature = result.certificate && vxdp::announceSignatureValid(a.signingKey, a);
        } else {
            result.certificate
                = vxdp::verifySignature(m_deviceCaKey, job.certified, job.certificate.data(), job.certificateSize);
        }
        std::lock_guard lock(m_mutex);
        m_done.push_back(std::move(result));
    }
}

} // namespace vexo

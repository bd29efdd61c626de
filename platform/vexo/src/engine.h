// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "Vexo.h"
#include "protocol/codec.h"
#include "transport.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace vexo {

/** Datagram counters of a running session, for the log and the tests. */
struct Counters
{
    std::atomic<std::uint64_t> received{0};
    std::atomic<std::uint64_t> dropped{0};
    std::atomic<std::uint64_t> sent{0};
};

/**
 * The library behind the C entry points: one discovery session at a time,
 * a receiving thread that reports device events, and blocking request/response
 * operations that any thread may run while the callbacks go on.
 */
class Engine
{
public:
    static Engine &instance();
    ~Engine();

    std::uint32_t start(VEXO_DEVICE_CALLBACK callback, int flags, void *user);
    std::uint32_t stop();
    std::uint32_t sendInquiry();
    std::uint32_t clearup();
    std::uint32_t setFilter(int rule, const char *arg, int argLen);

    std::uint32_t activate(const std::string &serial, const std::string &password);
    std::uint32_t modify(const std::string &mac, const std::string &password, const DeviceNetParam &param);
    std::uint32_t getKey(const std::string &serial, std::uint32_t command, void *out, std::uint32_t outLen);
    std::uint32_t reset(const std::string &serial, const VEXO_RESET_PARAM &param);
    std::uint32_t restore(const std::string &serial, const std::string &code);

private:
    struct Device
    {
        VEXO_DEVICE_INFO info{};
        std::array<std::uint8_t, 32> publicKey{};
        std::uint32_t bootId = 0;
        std::chrono::steady_clock::time_point lastSeen;
    };
    struct Waiter
    {
        vxdp::MsgType expect = vxdp::MsgType::Result;
        std::optional<vxdp::Message> answer;
    };
    struct Subnet
    {
        std::uint32_t address = 0;
        std::uint32_t mask = 0;
    };
    /** Everything that lives from VEXO_Start_V30 to VEXO_Stop. */
    struct Session
    {
        Transport transport;
        std::thread thread;
        std::atomic<bool> stopping{false};
        VEXO_DEVICE_CALLBACK callback = nullptr;
        void *user = nullptr;
        bool autoInquiry = false;
        Counters counters;

        std::mutex mutex; // guards everything below
        std::condition_variable answered;
        std::unordered_map<std::string, Device> devices; // by MAC text
        std::unordered_map<std::string, std::string> macBySerial;
        std::map<std::uint32_t, Waiter *> waiters; // by transaction id
    };

    Engine() = default;
    void run(std::shared_ptr<Session> session);
    void handleDatagram(Session &session, const std::uint8_t *data, std::size_t size,
                        std::vector<VEXO_DEVICE_INFO> &events);
    void expireSilentDevices(Session &session, std::vector<VEXO_DEVICE_INFO> &events);
    bool passesFilter(const char *ipv4) const;

    std::shared_ptr<Session> currentSession(std::uint32_t *error);
    /** Sends a request and waits for its answer with retransmission; the error is 0 on success. */
    std::uint32_t exchange(Session &session, const std::vector<std::uint8_t> &datagram, std::uint32_t txid,
                           vxdp::MsgType expect, std::chrono::steady_clock::time_point deadline, vxdp::Message *answer);
    /** Challenge, sealed request and result, retried once when the challenge went stale. */
    std::uint32_t sealedRequest(vxdp::MsgType type, vxdp::Request request, vxdp::Secret secret);
    /** Clears the IPv6 flags of fields equal to what the device with this MAC last reported. */
    void dropUnchangedIpv6(const std::string &mac, vxdp::NetParams *net);
    std::uint32_t knownPublicKey(Session &session, const vxdp::Target &target, std::array<std::uint8_t, 32> *key);

    std::mutex m_lifecycle; // serialises start and stop
    std::mutex m_sessionMutex;
    std::shared_ptr<Session> m_session;
    std::atomic<std::thread::id> m_threadId{};

    mutable std::mutex m_filterMutex;
    int m_filterRule = VEXO_FILTER_NONE;
    std::vector<Subnet> m_filterSubnets; // the host's own subnets are taken when the rule is set
};

} // namespace vexo

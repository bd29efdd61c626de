// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "Vexo.h"
#include "environment.h"
#include "protocol/codec.h"
#include "transport.h"
#include "verifier.h"

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace vexo {

using Clock = std::chrono::steady_clock;

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
    /**
     * What the library knows of a device's identity: unchecked while its certificate waits for
     * the verifier (a device is listed before), then settled once.
     */
    enum class Trust { Unchecked, Verified, Unverified };
    /** What the verifier found for an announcement held back until checked. */
    /** A datagram body's keyed digest: what the library keeps of the bytes to tell a repeat. */
    using BodyDigest = std::array<std::uint8_t, 16>;
    /** The body an announcement came in: its digest is made only where one is needed. */
    struct Body
    {
        const std::uint8_t *data = nullptr;
        std::size_t size = 0;
        std::optional<BodyDigest> digest; ///< given where the bytes are gone, or made once
    };
    /** A MAC as a number: the tables' key, cheaper to hash and keep than its text. */
    using MacKey = std::uint64_t;
    struct Verdict
    {
        bool certificate = false;
        bool signature = false;
    };

    /** A sender's newcomer that failed its check while the sender's share waits for its unchecked ones. */
    struct Parked
    {
        vxdp::Announce announce;
        BodyDigest digest{};
        Verdict verdict;
    };
    /** The identities without a known valid certificate that one sender address brought in. */
    struct Share
    {
        int unchecked = 0;
        int unverified = 0;
        std::vector<Parked> parked;
    };
    using Shares = std::unordered_map<std::string, Share>; // by sender address
    using ShareEntry = Shares::value_type;

    /**
     * A device seen in this session. The entry outlives the device's row: offline,
     * goodbye and VEXO_Clearup only unlist it, so its pinned keys and the newest
     * boot and sequence numbers it signed stay for the session.
     */
    struct Device
    {
        vxdp::Announce announce; ///< the last accepted announcement: an equal repeat needs no check
        std::optional<BodyDigest>
            lastRefused; ///< the last refused one's digest: a flood of one forgery costs one check
        Trust trust = Trust::Unchecked;
        bool listed = false;
        std::chrono::steady_clock::time_point lastSeen;
        ShareEntry *share = nullptr; ///< the address that brought the identity into the list, and its share
        std::uint64_t admission = 0; ///< which listing this is: a check made for an earlier one lapses
    };
    struct Waiter
    {
        vxdp::MsgType expect = vxdp::MsgType::Result;
        std::function<bool(const vxdp::Message &)> accept; ///< answers it refuses are dropped unseen
        std::optional<vxdp::Message> answer;
    };
    struct Subnet
    {
        std::uint32_t address = 0;
        std::uint32_t mask = 0;
    };
    /** The keys a sealed request trusts: those pinned for the device. */
    struct PinnedKeys
    {
        std::array<std::uint8_t, 32> box{};
        std::array<std::uint8_t, 32> signing{};
    };
    /** Everything that lives from VEXO_Start_V30 to VEXO_Stop. */
    struct Session
    {
        Environment env;
        Transport transport;
        std::thread thread;
        std::atomic<bool> stopping{false};
        VEXO_DEVICE_CALLBACK callback = nullptr;
        void *user = nullptr;
        bool autoInquiry = false;
        Counters counters;

        std::mutex mutex;                 // guards everything below
        std::condition_variable answered; // an answer arrived or a device appeared
        std::unordered_map<MacKey, Device> devices;
        std::unordered_map<std::string, MacKey> macBySerial;
        std::unordered_set<std::string> floodLogged; // senders whose surplus identities were logged
        Shares shares;                               // kept with every trust change; entries stay for the session
        std::unordered_set<MacKey> held;             // newcomers listed only once checked
        std::vector<std::string> reconsider;         // senders whose parked newcomers can be decided
        std::uint64_t generation = 0;                // grows with VEXO_Clearup: older held checks lapse
        std::uint64_t admissions = 0;                // devices listed as newcomers so far
        std::array<std::uint8_t, 16> digestKey{};    // the session's own: nobody can forge a repeat's digest
        std::unique_ptr<Verifier> verifier;          // checks certificates off the receiving thread
        std::vector<Verifier::Result> verdicts;      // the receiving thread's, kept for their room
        std::map<std::uint32_t, Waiter *> waiters;   // by transaction id
        // No listed device can have been silent too long before then: the list is not walked till then.
        Clock::time_point nextSilenceWalk;

        // Inquiry rounds (with automatic inquiries): start and VEXO_SendInquiry send the inquiry
        // three times (each twice) within two seconds, so that a lossy link fills the list at
        // once; then the automatic period goes on.
        Clock::time_point roundStart;
        int roundSent = 0;
        Clock::time_point nextInquiry;
        // Whether anything answered the last inquiry (LAN scope): silence is explained once in the log.
        std::atomic<std::uint64_t> announcements{0};
        std::uint64_t announcementsAtInquiry = 0;
        std::optional<Clock::time_point> silenceCheckAt;
        bool silenceReported = false;
    };

    Engine();
    /** Sends the first inquiry of a quick round now; the run thread sends the rest. */
    bool startInquiryRound(Session &session);
    /** The run thread's share of inquiries: the rest of a round, the automatic period, the silence check. */
    void driveInquiries(Session &session);
    /** Reads the adapters again and sends one inquiry. */
    bool sendInquiryNow(Session &session);
    void run(std::shared_ptr<Session> session);
    void handleDatagram(Session &session, const std::uint8_t *data, std::size_t size, const std::string &sender,
                        std::vector<VEXO_DEVICE_INFO> &events);
    /**
     * Takes an announcement, with the session's lock held. @p verdict is the check of one that was
     * held back until checked; without it, nothing here waits for cryptography at first sight.
     */
    void handleAnnounce(Session &session, vxdp::Announce announce, Body &body, const std::string &sender,
                        std::vector<VEXO_DEVICE_INFO> &events, const Verdict *verdict = nullptr);
    /**
     * A MAC and serial number not seen before. Each sender address holds a few identities without
     * a valid certificate (a recorder announces the cameras behind it), verified devices any number:
     * within the share the newcomer is listed at once and checked afterwards; beyond it, it is listed
     * only once its certificate and signature verify. Runs again with the @p verdict of that check.
     */
    void admitNewcomer(Session &session, MacKey mac, vxdp::Announce announce, Body &body, const std::string &sender,
                       std::vector<VEXO_DEVICE_INFO> &events, const Verdict *verdict);
    /** Drops a surplus identity of @p sender: counted, and logged once per sender. */
    void refuseSurplus(Session &session, const std::string &sender, const vxdp::Announce &announce);
    /** Takes an announcement as the device's new state and reports what it changed. */
    void accept(Device &device, const vxdp::Announce &announce, std::vector<VEXO_DEVICE_INFO> &events);
    /** The body's digest, made the first time it is asked for. */
    static const BodyDigest &digestOf(const Session &session, Body &body);
    /**
     * The device's record for an event: made from its announcement and trust when an event needs it,
     * since ten thousand kept records would cost megabytes.
     */
    static VEXO_DEVICE_INFO infoOf(const Device &device, std::int32_t eventCode);
    /** Adds (+1) or removes (-1) the device from its sender's share, by its trust. */
    static void countShare(const Device &device, int sign);
    /** Gives the device its settled trust: the share, the record's flags and a change event follow. */
    void settle(Session &session, Device &device, Trust trust, std::vector<VEXO_DEVICE_INFO> &events);
    /** The device's trust, checked here at once if the verifier has not come to it yet. */
    Trust settledTrust(Session &session, Device &device, std::vector<VEXO_DEVICE_INFO> &events);
    /** Takes the verifier's results: settles listed devices, lists or refuses held newcomers. */
    void applyVerdicts(Session &session, std::vector<VEXO_DEVICE_INFO> &events);
    bool send(Session &session, const std::vector<std::uint8_t> &datagram);
    void expireSilentDevices(Session &session, std::vector<VEXO_DEVICE_INFO> &events);
    bool passesFilter(std::uint32_t ipv4) const;

    std::shared_ptr<Session> currentSession(std::uint32_t *error);
    /** Sends a request and waits for its answer with retransmission; the error is 0 on success. */
    std::uint32_t exchange(Session &session, const std::vector<std::uint8_t> &datagram, std::uint32_t txid,
                           vxdp::MsgType expect, const std::function<bool(const vxdp::Message &)> &accept,
                           std::chrono::steady_clock::time_point deadline, vxdp::Message *answer);
    /** Challenge, sealed request and result, retried once when the challenge went stale. */
    std::uint32_t sealedRequest(vxdp::MsgType type, vxdp::Request request, vxdp::Secret secret);
    /**
     * The pinned keys of the target, waiting for it to be announced if need be. A target known only
     * by an identity without a valid certificate (perhaps an impostor that answered first) waits for
     * a certified announcement with its serial number and MAC; without one it fails with 2028.
     */
    std::uint32_t pinnedKeys(Session &session, const vxdp::Target &target,
                             std::chrono::steady_clock::time_point deadline, PinnedKeys *keys);
    /** Clears the IPv6 flags of fields equal to what the device with this MAC last reported. */
    void dropUnchangedIpv6(const std::array<std::uint8_t, 6> &mac, vxdp::NetParams *net);

    std::mutex m_lifecycle; // serialises start and stop
    std::mutex m_sessionMutex;
    std::shared_ptr<Session> m_session;
    std::atomic<std::thread::id> m_threadId{};

    mutable std::mutex m_filterMutex;
    int m_filterRule = VEXO_FILTER_NONE;
    std::vector<Subnet> m_filterSubnets; // the host's own subnets are taken when the rule is set

    std::array<std::uint8_t, 32> m_deviceCaKey{}; // built in: the maker's device certificates verify with it
};

} // namespace vexo

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "engine.h"

#include "localfile.h"
#include "logger.h"
#include "protocol/crypto.h"
#include "protocol/identity.h"
#include "protocol/keyformats.h"
#include "silencecheck.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>

#if defined(_WIN32)
#    include <winsock2.h>
#    include <ws2tcpip.h>
#else
#    include <arpa/inet.h>
#endif
#if defined(__linux__)
#    include <pthread.h>
#endif

namespace vexo {

using std::chrono::milliseconds;

namespace {

template<std::size_t N>
void putText(char (&field)[N], const std::string &text)
{
    const std::size_t n = std::min(text.size(), N - 1);
    std::memcpy(field, text.data(), n);
    field[n] = '\0';
}

// A text field of a caller's record, which need not be NUL-terminated.
template<std::size_t N>
std::string fieldText(const char (&field)[N])
{
    std::size_t n = 0;
    while (n < N && field[n])
        ++n;
    return std::string(field, n);
}

// Writes the dotted quad at @p p and returns where it ends (at its NUL).
char *writeIpv4(char *p, const std::array<std::uint8_t, 4> &a)
{
    for (std::size_t i = 0; i < a.size(); ++i) {
        const unsigned v = a[i];
        if (v >= 100)
            *p++ = char('0' + v / 100);
        if (v >= 10)
            *p++ = char('0' + v / 10 % 10);
        *p++ = char('0' + v % 10);
        *p++ = i + 1 < a.size() ? '.' : '\0';
    }
    return p - 1;
}

// Written into the record's field directly: every new device's record has three of them.
template<std::size_t N>
void putIpv4(char (&field)[N], const std::array<std::uint8_t, 4> &a)
{
    static_assert(N >= 16, "room for 255.255.255.255");
    writeIpv4(field, a);
}

// Written into the record's field directly, as the C library's inet_ntop writes it (the longest
// run of two or more zero groups, the first of equals, as "::"; an IPv4-mapped or -compatible
// address with its last four bytes dotted), since every new device's record has two of them.
template<std::size_t N>
void putIpv6(char (&field)[N], const std::array<std::uint8_t, 16> &a)
{
    static_assert(N >= 46, "room for the longest IPv6 text");
    std::array<unsigned, 8> words{};
    int bestBase = -1, bestLength = 1; // a run of one zero group is written as "0"
    for (int i = 0, runLength = 0; i < 8; ++i) {
        words[std::size_t(i)] = unsigned(a[std::size_t(2 * i)]) << 8 | a[std::size_t(2 * i + 1)];
        runLength = words[std::size_t(i)] == 0 ? runLength + 1 : 0;
        if (runLength > bestLength) {
            bestBase = i + 1 - runLength;
            bestLength = runLength;
        }
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    char *p = field;
    for (int i = 0; i < 8; ++i) {
        if (i == bestBase) {
            *p++ = ':';
            i += bestLength - 1;
            continue;
        }
        if (i != 0)
            *p++ = ':';
        if (i == 6 && bestBase == 0 && (bestLength == 6 || (bestLength == 5 && words[5] == 0xffff))) {
            writeIpv4(p, {a[12], a[13], a[14], a[15]});
            return;
        }
        const unsigned w = words[std::size_t(i)];
        const int digits = w >= 0x1000 ? 4 : w >= 0x100 ? 3 : w >= 0x10 ? 2 : 1;
        for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
            *p++ = kDigits[w >> shift & 0xf];
    }
    if (bestBase >= 0 && bestBase + bestLength == 8)
        *p++ = ':';
    *p = '\0';
}

std::uint32_t ipv4Number(const std::array<std::uint8_t, 4> &a)
{
    return std::uint32_t(a[0]) << 24 | std::uint32_t(a[1]) << 16 | std::uint32_t(a[2]) << 8 | std::uint32_t(a[3]);
}

bool parseIpv4Bytes(const std::string &text, std::array<std::uint8_t, 4> *out)
{
    std::uint32_t v = 0;
    if (!parseIpv4(text.c_str(), &v))
        return false;
    *out = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
            static_cast<std::uint8_t>(v)};
    return true;
}

bool parseIpv6Bytes(const std::string &text, std::array<std::uint8_t, 16> *out)
{
    return inet_pton(AF_INET6, text.c_str(), out->data()) == 1;
}

VEXO_DEVICE_INFO toDeviceInfo(const vxdp::DeviceDescription &d)
{
    VEXO_DEVICE_INFO info{};
    putText(info.leadText, "VXDP/1");
    putText(info.serialNumber, d.serial);
    static constexpr char kDigits[] = "0123456789abcdef";
    static_assert(sizeof info.macAddress > 17, "room for the MAC text");
    for (std::size_t i = 0; i < d.mac.size(); ++i) { // as vxdp::macToText writes it, without a string
        info.macAddress[3 * i] = kDigits[d.mac[i] >> 4];
        info.macAddress[3 * i + 1] = kDigits[d.mac[i] & 0x0f];
        if (i + 1 < d.mac.size())
            info.macAddress[3 * i + 2] = '-';
    }
    putIpv4(info.ipv4Address, d.ipv4);
    putIpv4(info.ipv4SubnetMask, d.mask);
    info.deviceTypeCode = d.typeCode;
    info.port = d.port;
    info.channelCount = d.channels;
    putText(info.softwareVersion, d.softwareVersion);
    putText(info.dspVersion, d.dspVersion);
    putText(info.startTime, d.startTime);
    putText(info.deviceTypeText, d.typeText);
    putIpv4(info.ipv4Gateway, d.gateway);
    if (d.extendedValid) {
        putIpv6(info.ipv6Address, d.ipv6);
        putIpv6(info.ipv6Gateway, d.ipv6Gateway);
        info.ipv6PrefixLength = d.ipv6PrefixLength;
    }
    info.capabilityFlags = d.capabilities;
    info.dhcpEnabled = d.dhcp ? 1 : 0;
    info.extendedInfoValid = d.extendedValid ? 1 : 0;
    info.httpPort = d.httpPort;
    info.inactive = d.inactive ? 1 : 0;
    info.keyFormatFlags = d.keyFormat;
    return info;
}

std::uint32_t statusToError(vxdp::Status status)
{
    switch (status) {
    case vxdp::Status::Ok:
        return VEXO_NOERROR;
    case vxdp::Status::BadRequest:
        return VEXO_ERR_BAD_ARGUMENT;
    case vxdp::Status::Deny:
        return VEXO_ERR_DEVICE_DENY;
    case vxdp::Status::AlreadyActive:
        return VEXO_ERR_ALREADY_ACTIVE;
    case vxdp::Status::Locked:
        return VEXO_ERR_LOCKED;
    case vxdp::Status::NotActivated:
        return VEXO_ERR_NOT_ACTIVATED;
    case vxdp::Status::Unsupported:
        return VEXO_ERR_UNSUPPORTED;
    case vxdp::Status::StaleChallenge:
        return VEXO_ERR_STALE;
    }
    return VEXO_ERR_PROTOCOL;
}

// When a round's inquiries go out, counted from its start: three times, each as two copies
// a tenth of a second apart. A lost inquiry silences every device behind the link at once,
// so with a fifth of the frames lost each way three single inquiries still miss one of six
// devices in about one try in five; the copies bring that below one in fifty.
constexpr std::array<int, 6> kRoundMs = {0, 100, 500, 600, 1500, 1600};

// Identities without a valid certificate that one sender address may bring into the list. A
// recorder announces the few cameras behind it; a flood of invented identities stops here.
constexpr int kUnverifiedPerSender = 8;
// Newcomers beyond their sender's share that may wait for their check at once; more are dropped
// (a genuine device answers the next inquiry again).
constexpr std::size_t kMaxHeld = 65536;
// Events of one pass of the receiving thread for which room is kept between passes (half a MB).
constexpr std::size_t kKeptEvents = 1024;
// Senders whose surplus is logged; beyond this many (forged addresses) it is only counted.
constexpr std::size_t kFloodLogSenders = 1024;
// While an operation waits for its device to be announced, or for the certified device behind an
// unverified identity, it asks again at this pace.
constexpr milliseconds kAskAgainMs{500};

// A request is sent again at this pace until its answer comes or the time-out passes. A sealed
// operation takes two round trips (challenge, then request and result) within one time-out; over
// a link that loses a fifth of the datagrams each way a round trip succeeds in 0.64 of the tries.
// Doubling the pace up to 600 ms left seven tries for both, and about one operation in three
// hundred failed; every 150 ms leaves twenty, and two successes among them fail to come in far
// fewer than one in a million. A device answers repeats from its stored answers, so they cost it
// no work.
constexpr milliseconds kRetransmitMs{150};

std::uint32_t newTxid()
{
    std::uint32_t t = 0;
    while (t == 0) // 0 marks unsolicited announcements
        t = vxdp::randomU32();
    return t;
}

const char *typeName(vxdp::MsgType type)
{
    switch (type) {
    case vxdp::MsgType::Inquiry:
        return "inquiry";
    case vxdp::MsgType::Announce:
        return "announce";
    case vxdp::MsgType::ChallengeRequest:
        return "challenge request";
    case vxdp::MsgType::Challenge:
        return "challenge";
    case vxdp::MsgType::Activate:
        return "activate";
    case vxdp::MsgType::Modify:
        return "modify";
    case vxdp::MsgType::GetKey:
        return "key query";
    case vxdp::MsgType::Reset:
        return "reset";
    case vxdp::MsgType::Restore:
        return "restore";
    case vxdp::MsgType::Result:
        return "result";
    }
    return "?";
}

// A MAC as the tables' key.
std::uint64_t macKeyOf(const std::array<std::uint8_t, 6> &mac)
{
    std::uint64_t key = 0;
    for (std::uint8_t b : mac)
        key = key << 8 | b;
    return key;
}

// The record's identity flags for a trust that is settled.
std::uint8_t identityFlags(bool verified)
{
    return std::uint8_t(VEXO_IDENTITY_CHECKED | (verified ? VEXO_IDENTITY_VERIFIED : 0));
}

// The record without its event code, to tell whether a device's data changed.
bool sameRecord(VEXO_DEVICE_INFO a, VEXO_DEVICE_INFO b)
{
    a.eventCode = b.eventCode = 0;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::array<std::uint8_t, 32> builtInDeviceCaKey()
{
    std::array<std::uint8_t, 32> key{};
    const auto bytes = vxdp::fromHex(VEXO_DEVICE_CA_PUBLIC_KEY);
    if (bytes && bytes->size() == key.size())
        std::copy(bytes->begin(), bytes->end(), key.begin());
    return key;
}

// Wipes secrets from memory once they are sealed.
void wipe(std::string &s)
{
    std::fill(s.begin(), s.end(), '\0');
    s.clear();
}

} // namespace

Engine &Engine::instance()
{
    // Never destroyed: the program's own singletons stop the library from their
    // destructors at exit, which may run after this file's statics are gone.
    static Engine *engine = new Engine;
    return *engine;
}

Engine::Engine()
    : m_deviceCaKey(builtInDeviceCaKey())
{}

Engine::~Engine()
{
    stop();
}

std::uint32_t Engine::start(VEXO_DEVICE_CALLBACK callback, int flags, void *user)
{
    std::lock_guard lifecycle(m_lifecycle);
    {
        std::lock_guard lock(m_sessionMutex);
        if (m_session)
            return VEXO_ERR_ALREADY_STARTED;
    }
    if (!vxdp::cryptoInit())
        return VEXO_ERR_INTERNAL;
    // The environment is read here once; the session keeps what it said.
    const Environment env = readEnvironment();
    if (!env.valid) {
        VEXO_LOG(LogLevel::Error, "start refused: %s", env.error.c_str());
        return VEXO_ERR_BAD_ARGUMENT;
    }
    TransportConfig config;
    config.scope = env.scope;
    config.devicePort = env.devicePort;
    config.group = env.group;
    auto session = std::make_shared<Session>();
    session->env = env;
    std::string error;
    if (!session->transport.open(config, &error)) {
        VEXO_LOG(LogLevel::Error, "start failed: %s", error.c_str());
        return VEXO_ERR_NETWORK;
    }
    session->verifier = std::make_unique<Verifier>(m_deviceCaKey, Verifier::defaultThreads());
    vxdp::randomBytes(session->digestKey.data(), session->digestKey.size());
    session->callback = callback;
    session->user = user;
    session->autoInquiry = flags & VEXO_START_AUTO_INQUIRY;
    {
        std::lock_guard lock(m_sessionMutex);
        m_session = session;
    }
    VEXO_LOG(LogLevel::Info, "started (%s scope, device port %u)", config.scope == Scope::Loopback ? "loopback" : "lan",
             config.devicePort);
    // The round is set before the thread runs, which sends the rest of it; answers wait in the socket.
    startInquiryRound(*session);
    session->thread = std::thread([this, session] { run(session); });
    return VEXO_NOERROR;
}

bool Engine::sendInquiryNow(Session &session)
{
    session.transport.refreshInterfaces();
    return send(session, vxdp::encodeInquiry(newTxid()));
}

bool Engine::startInquiryRound(Session &session)
{
    const auto now = Clock::now();
    {
        std::lock_guard lock(session.mutex);
        session.roundStart = now;
        // Without automatic inquiries the caller decides when inquiries go out: one at a time.
        session.roundSent = session.autoInquiry ? 1 : int(kRoundMs.size());
        session.nextInquiry = now + milliseconds(session.env.inquiryIntervalMs);
        session.announcementsAtInquiry = session.announcements;
        // The last repeat goes out at 1.6 s; its answers come within a second.
        session.silenceCheckAt = now + milliseconds(2600);
    }
    return sendInquiryNow(session);
}

void Engine::driveInquiries(Session &session)
{
    const auto now = Clock::now();
    bool sendNow = false;
    bool checkSilence = false;
    {
        std::lock_guard lock(session.mutex);
        if (session.roundSent < int(kRoundMs.size())
            && now >= session.roundStart + milliseconds(kRoundMs[session.roundSent])) {
            ++session.roundSent;
            sendNow = true;
        } else if (session.autoInquiry && now >= session.nextInquiry) {
            session.nextInquiry = now + milliseconds(session.env.inquiryIntervalMs);
            session.announcementsAtInquiry = session.announcements;
            session.silenceCheckAt = now + milliseconds(2000);
            sendNow = true;
        }
        if (session.silenceCheckAt && now >= *session.silenceCheckAt) {
            session.silenceCheckAt.reset();
            const bool silent = session.announcements == session.announcementsAtInquiry;
            checkSilence = silent && !session.silenceReported;
            session.silenceReported = silent;
        }
    }
    if (sendNow)
        sendInquiryNow(session);
    if (checkSilence && session.env.scope == Scope::Lan) {
        const auto adapters = session.transport.memberships();
        VEXO_LOG(LogLevel::Warning,
                 "no device answered the inquiry on %zu adapter(s); what this host shows:", adapters.size());
        for (const std::string &cause :
             silenceCauses(adapters, session.transport.failedJoins(), session.env.devicePort, session.env.group))
            VEXO_LOG(LogLevel::Warning, "  %s", cause.c_str());
    }
}

bool Engine::send(Session &session, const std::vector<std::uint8_t> &datagram)
{
    session.counters.sent++;
    if (Logger::instance().enabled(LogLevel::Debug) && datagram.size() >= vxdp::kHeaderSize) {
        const std::uint32_t txid = std::uint32_t(datagram[8]) | std::uint32_t(datagram[9]) << 8
                                   | std::uint32_t(datagram[10]) << 16 | std::uint32_t(datagram[11]) << 24;
        VEXO_LOG(LogLevel::Debug, "sent %s, %zu bytes, transaction %08x",
                 typeName(static_cast<vxdp::MsgType>(datagram[5])), datagram.size(), txid);
    }
    return session.transport.sendToDevices(datagram);
}

std::uint32_t Engine::stop()
{
    if (std::this_thread::get_id() == m_threadId.load())
        return VEXO_ERR_IN_CALLBACK; // the thread cannot wait for itself
    std::lock_guard lifecycle(m_lifecycle);
    std::shared_ptr<Session> session;
    {
        std::lock_guard lock(m_sessionMutex);
        session = std::move(m_session);
    }
    if (!session)
        return VEXO_ERR_NOT_STARTED;
    {
        std::lock_guard lock(session->mutex);
        session->stopping = true;
    }
    session->answered.notify_all();
    if (session->thread.joinable())
        session->thread.join();
    session->verifier.reset();
    m_threadId = std::thread::id();
    VEXO_LOG(LogLevel::Info, "stopped: %llu datagrams received, %llu dropped, %llu sent",
             static_cast<unsigned long long>(session->counters.received.load()),
             static_cast<unsigned long long>(session->counters.dropped.load()),
             static_cast<unsigned long long>(session->counters.sent.load()));
    Logger::instance().flush();
    return VEXO_NOERROR;
}

std::shared_ptr<Engine::Session> Engine::currentSession(std::uint32_t *error)
{
    std::lock_guard lock(m_sessionMutex);
    if (!m_session || m_session->stopping) {
        *error = VEXO_ERR_NOT_STARTED;
        return nullptr;
    }
    *error = VEXO_NOERROR;
    return m_session;
}

std::uint32_t Engine::sendInquiry()
{
    std::uint32_t error = 0;
    auto session = currentSession(&error);
    if (!session)
        return error;
    return startInquiryRound(*session) ? VEXO_NOERROR : VEXO_ERR_NETWORK;
}

std::uint32_t Engine::clearup()
{
    std::uint32_t error = 0;
    auto session = currentSession(&error);
    if (!session)
        return error;
    // The rows go; what the devices proved (pinned keys, newest signed state) stays.
    std::lock_guard lock(session->mutex);
    for (auto &[mac, device] : session->devices)
        device.listed = false;
    // Newcomers still being checked answered before: the next inquiry brings them anew.
    session->held.clear();
    for (auto &[sender, share] : session->shares)
        share.parked.clear();
    ++session->generation;
    // What the round still had to send would list them again; the caller's next inquiry starts a new one.
    session->roundSent = int(kRoundMs.size());
    return VEXO_NOERROR;
}

std::uint32_t Engine::setFilter(int rule, const char *arg, int argLen)
{
    if ((rule != VEXO_FILTER_NONE && rule != VEXO_FILTER_SUBNET) || (arg && argLen < 0))
        return VEXO_ERR_BAD_ARGUMENT;
    std::vector<Subnet> subnets;
    const bool fromHost = rule == VEXO_FILTER_SUBNET && (!arg || argLen <= 0);
    if (rule == VEXO_FILTER_SUBNET && !fromHost) {
        std::string list(arg, static_cast<std::size_t>(argLen));
        list = list.substr(0, list.find('\0'));
        std::size_t pos = 0;
        while (pos <= list.size()) {
            const std::size_t end = std::min(list.find_first_of(";,", pos), list.size());
            const std::string item = list.substr(pos, end - pos);
            pos = end + 1;
            if (item.empty())
                continue;
            const auto slash = item.find('/');
            Subnet s;
            char *numberEnd = nullptr;
            const long bits = slash == std::string::npos ? 32 : std::strtol(item.c_str() + slash + 1, &numberEnd, 10);
            if (!parseIpv4(item.substr(0, slash).c_str(), &s.address) || bits < 0 || bits > 32
                || (numberEnd && *numberEnd))
                return VEXO_ERR_BAD_ARGUMENT;
            s.mask = bits == 0 ? 0 : ~std::uint32_t(0) << (32 - bits);
            subnets.push_back(s);
        }
        if (subnets.empty())
            return VEXO_ERR_BAD_ARGUMENT;
    }
    if (fromHost) {
        for (const HostInterface &i : hostInterfaces()) {
            if (i.address != 0) // an adapter without IPv4 has no subnet of its own
                subnets.push_back({i.address, i.netmask});
        }
    }
    std::lock_guard lock(m_filterMutex);
    m_filterRule = rule;
    m_filterSubnets = std::move(subnets);
    return VEXO_NOERROR;
}

bool Engine::passesFilter(std::uint32_t address) const
{
    std::lock_guard lock(m_filterMutex);
    if (m_filterRule == VEXO_FILTER_NONE)
        return true;
    return std::any_of(m_filterSubnets.begin(), m_filterSubnets.end(),
                       [address](const Subnet &s) { return (address & s.mask) == (s.address & s.mask); });
}

void Engine::run(std::shared_ptr<Session> session)
{
    m_threadId = std::this_thread::get_id();
#if defined(__linux__)
    pthread_setname_np(pthread_self(), "vexo-receive"); // for profilers and debuggers
#endif
    auto nextExpiry = Clock::now() + milliseconds(250);
    std::vector<std::uint8_t> buffer(vxdp::kMaxDatagram + 1); // one more byte shows an oversized datagram
    std::vector<VEXO_DEVICE_INFO> events;
    events.reserve(kKeptEvents);
    std::string sender;

    while (!session->stopping) {
        // While checks are out, their results are taken within a millisecond.
        session->transport.waitReadable(session->verifier->outstanding() ? 1 : 50);
        events.clear();
        // Deliver in batches so that callbacks keep flowing under a flood of answers.
        for (int i = 0; i < 512 && !session->stopping; ++i) {
            const int n = session->transport.receive(buffer.data(), buffer.size(), &sender);
            if (n < 0)
                break;
            session->counters.received++;
            handleDatagram(*session, buffer.data(), static_cast<std::size_t>(n), sender, events);
        }
        applyVerdicts(*session, events);
        const auto now = Clock::now();
        if (now >= nextExpiry) {
            expireSilentDevices(*session, events);
            Logger::instance().flushIfDue();
            nextExpiry = now + milliseconds(250);
        }
        // A new adapter gets a quick round of its own, so that the devices behind it appear at once.
        if (session->transport.takeInterfaceChange() && session->transport.refreshInterfaces())
            startInquiryRound(*session);
        driveInquiries(*session);
        for (const VEXO_DEVICE_INFO &event : events) {
            if (session->stopping)
                break;
            VEXO_LOG(LogLevel::Info, "device %s %s%s", event.macAddress,
                     event.eventCode == VEXO_EVENT_ONLINE    ? "online"
                     : event.eventCode == VEXO_EVENT_CHANGED ? "changed"
                                                             : "offline",
                     !(event.identityFlags & VEXO_IDENTITY_CHECKED)   ? ", not checked yet"
                     : (event.identityFlags & VEXO_IDENTITY_VERIFIED) ? ", verified"
                                                                      : ", unverified");
            if (session->callback)
                session->callback(&event, session->user);
        }
        // Thousands of devices going silent at once fill megabytes of events: keep only the usual room.
        if (events.capacity() > kKeptEvents) {
            events = {};
            events.reserve(kKeptEvents);
        }
        if (session->verdicts.capacity() > kKeptEvents)
            session->verdicts = std::vector<Verifier::Result>();
    }
}

void Engine::handleDatagram(Session &session, const std::uint8_t *data, std::size_t size, const std::string &sender,
                            std::vector<VEXO_DEVICE_INFO> &events)
{
    vxdp::Decoded decoded = vxdp::decode(data, size);
    if (!decoded) {
        session.counters.dropped++;
        VEXO_LOG(LogLevel::Debug, "dropped a datagram of %zu bytes: %s", size, vxdp::decodeErrorName(decoded.error));
        return;
    }
    vxdp::Message &m = decoded.message;
    VEXO_LOG(LogLevel::Debug, "received %s, %zu bytes, transaction %08x", typeName(m.header.type), size, m.header.txid);
    switch (m.header.type) {
    case vxdp::MsgType::Announce: {
        session.announcements++;
        std::lock_guard lock(session.mutex);
        Body body{data + vxdp::kHeaderSize, size - vxdp::kHeaderSize, std::nullopt};
        handleAnnounce(session, std::move(m.announce), body, sender, events);
        return;
    }
    case vxdp::MsgType::Challenge:
    case vxdp::MsgType::Result: {
        std::lock_guard lock(session.mutex);
        auto it = session.waiters.find(m.header.txid);
        if (it == session.waiters.end() || it->second->expect != m.header.type || it->second->answer)
            return;
        // An answer that does not prove where it comes from is dropped; the genuine one may still come.
        if (it->second->accept && !it->second->accept(m)) {
            session.counters.dropped++;
            VEXO_LOG(LogLevel::Warning, "dropped a %s for transaction %08x that does not verify",
                     typeName(m.header.type), m.header.txid);
            return;
        }
        it->second->answer = std::move(m);
        session.answered.notify_all();
        return;
    }
    default:
        return; // requests of other programs on the link
    }
}

VEXO_DEVICE_INFO Engine::infoOf(const Device &device, std::int32_t eventCode)
{
    VEXO_DEVICE_INFO info = toDeviceInfo(device.announce.device);
    info.identityFlags = device.trust == Trust::Unchecked ? 0 : identityFlags(device.trust == Trust::Verified);
    info.eventCode = eventCode;
    return info;
}

void Engine::countShare(const Device &device, int sign)
{
    if (!device.share || device.trust == Trust::Verified)
        return;
    Share &share = device.share->second;
    (device.trust == Trust::Unchecked ? share.unchecked : share.unverified) += sign;
}

void Engine::settle(Session &session, Device &device, Trust trust, std::vector<VEXO_DEVICE_INFO> &events)
{
    countShare(device, -1);
    device.trust = trust;
    countShare(device, +1);
    if (trust == Trust::Unverified)
        VEXO_LOG(LogLevel::Warning, "%s (%s) has no valid maker certificate: no secret will be sent to it",
                 device.announce.device.serial.c_str(), vxdp::macToText(device.announce.device.mac).c_str());
    if (device.listed)
        events.push_back(infoOf(device, VEXO_EVENT_CHANGED));
    session.answered.notify_all(); // a request may wait for this device's identity
    if (device.share && device.share->second.unchecked == 0 && !device.share->second.parked.empty())
        session.reconsider.push_back(device.share->first);
}

Engine::Trust Engine::settledTrust(Session &session, Device &device, std::vector<VEXO_DEVICE_INFO> &events)
{
    // Only where an announcement cannot wait: a device that changes before its check came back.
    if (device.trust == Trust::Unchecked)
        settle(session, device,
               vxdp::certificateValid(m_deviceCaKey, device.announce) ? Trust::Verified : Trust::Unverified, events);
    return device.trust;
}

void Engine::applyVerdicts(Session &session, std::vector<VEXO_DEVICE_INFO> &events)
{
    // Only this thread fills `reconsider`: reading it unlocked is safe.
    std::vector<Verifier::Result> &results = session.verdicts;
    if (session.verifier->outstanding())
        session.verifier->take(results);
    if (results.empty() && session.reconsider.empty())
        return;
    std::lock_guard lock(session.mutex);
    for (Verifier::Result &r : results) {
        Verifier::Job &job = r.job;
        if (job.held) {
            if (job.generation != session.generation)
                continue;
            const Verdict verdict{r.certificate, r.signature};
            Body body{nullptr, 0, job.digest};
            handleAnnounce(session, std::move(*job.held), body, job.sender, events, &verdict);
            continue;
        }
        // A listed device's certificate, unless the device settled meanwhile or was listed anew: while
        // unchecked, a device's announcement changes only after a check of its own (settledTrust).
        const auto it = session.devices.find(job.mac);
        if (it != session.devices.end() && it->second.trust == Trust::Unchecked
            && it->second.admission == job.admission)
            settle(session, it->second, r.certificate ? Trust::Verified : Trust::Unverified, events);
    }
    results.clear(); // the announcements' copies go now; the room stays
    // Newcomers that failed their check while their sender still had unchecked identities:
    // with all of those settled, the share says whether there is room for them.
    while (!session.reconsider.empty()) {
        const std::string sender = std::move(session.reconsider.back());
        session.reconsider.pop_back();
        std::vector<Parked> parked = std::move(session.shares[sender].parked);
        session.shares[sender].parked.clear();
        for (Parked &p : parked) {
            Body body{nullptr, 0, p.digest};
            handleAnnounce(session, std::move(p.announce), body, sender, events, &p.verdict);
        }
    }
}

void Engine::refuseSurplus(Session &session, const std::string &sender, const vxdp::Announce &a)
{
    session.counters.dropped++;
    if (session.floodLogged.size() < kFloodLogSenders && session.floodLogged.insert(sender).second)
        VEXO_LOG(LogLevel::Warning,
                 "%s already has %d devices without a valid maker certificate listed: further ones from it, "
                 "first %s (%s), are not listed",
                 sender.c_str(), kUnverifiedPerSender, a.device.serial.c_str(), vxdp::macToText(a.device.mac).c_str());
}

const Engine::BodyDigest &Engine::digestOf(const Session &session, Body &body)
{
    if (!body.digest)
        body.digest = vxdp::keyedDigest16(session.digestKey, body.data, body.size);
    return *body.digest;
}

void Engine::admitNewcomer(Session &session, MacKey mac, vxdp::Announce a, Body &body, const std::string &sender,
                           std::vector<VEXO_DEVICE_INFO> &events, const Verdict *verdict)
{
    ShareEntry &entry = *session.shares.try_emplace(sender).first;
    Share &share = entry.second;
    // Identities not known to be verified, listed or being checked, take room in the share.
    const bool room = share.unchecked + share.unverified < kUnverifiedPerSender;
    Trust trust = Trust::Unchecked;
    if (!verdict) {
        if (!room) {
            // Checked before it is listed, so that a flood of invented identities never reaches the list.
            if (session.held.size() >= kMaxHeld) {
                refuseSurplus(session, sender, a);
                return;
            }
            session.held.insert(mac);
            Verifier::Job job;
            job.mac = mac;
            job.generation = session.generation;
            job.held = std::make_unique<vxdp::Announce>(std::move(a));
            job.digest = digestOf(session, body);
            job.sender = sender;
            session.verifier->submit(std::move(job));
            return;
        }
    } else if (verdict->certificate && verdict->signature) {
        trust = Trust::Verified;
    } else if (room) {
        trust = verdict->certificate ? Trust::Verified : Trust::Unverified;
    } else if (share.unchecked > 0) {
        // Decided once the sender's unchecked identities are settled: verified ones leave room.
        share.parked.push_back({std::move(a), digestOf(session, body), *verdict});
        return;
    } else {
        session.held.erase(mac);
        refuseSurplus(session, sender, a);
        return;
    }
    if (verdict)
        session.held.erase(mac);
    Device &d = session.devices[mac];
    d.share = &entry;
    d.trust = trust;
    d.admission = ++session.admissions;
    countShare(d, +1);
    VEXO_DEVICE_INFO info = toDeviceInfo(a.device);
    info.identityFlags = trust == Trust::Unchecked ? 0 : identityFlags(trust == Trust::Verified);
    info.eventCode = VEXO_EVENT_ONLINE;
    d.listed = true;
    d.lastSeen = Clock::now();
    events.push_back(info);
    session.macBySerial[a.device.serial] = mac;
    session.answered.notify_all(); // a request may wait for this device
    if (trust == Trust::Unverified)
        VEXO_LOG(LogLevel::Warning, "%s (%s) has no valid maker certificate: no secret will be sent to it",
                 info.serialNumber, info.macAddress);
    if (trust == Trust::Unchecked) {
        Verifier::Job job = Verifier::listedJob(mac, a);
        job.admission = d.admission;
        job.generation = session.generation;
        session.verifier->submit(std::move(job));
    }
    d.announce = std::move(a); // last: the one copy an announcement costs on its way into the list
}

void Engine::handleAnnounce(Session &session, vxdp::Announce a, Body &body, const std::string &sender,
                            std::vector<VEXO_DEVICE_INFO> &events, const Verdict *verdict)
{
    const MacKey mac = macKeyOf(a.device.mac);
    const std::string &serial = a.device.serial;
    const bool goodbye = a.reason == vxdp::AnnounceReason::Goodbye;
    auto it = session.devices.find(mac);
    Device *known = it == session.devices.end() ? nullptr : &it->second;
    // Another device may hold the serial number.
    Device *rival = nullptr;
    if (auto s = session.macBySerial.find(serial); s != session.macBySerial.end() && s->second != mac) {
        auto r = session.devices.find(s->second);
        rival = r == session.devices.end() ? nullptr : &r->second;
    }

    if (!known && !rival) {
        // Its first announcement is still being checked: repeats wait for that.
        if (!verdict && session.held.count(mac))
            return;
        // A device filtered out costs no cryptography.
        if (goodbye || !passesFilter(ipv4Number(a.device.ipv4))) {
            session.held.erase(mac);
            return;
        }
        admitNewcomer(session, mac, std::move(a), body, sender, events, verdict);
        return;
    }
    if (verdict)
        session.held.erase(mac); // known meanwhile by another way: decided below as any announcement

    if (known && known->lastRefused && *known->lastRefused == digestOf(session, body)) {
        session.counters.dropped++;
        return;
    }
    if (known && !rival && a == known->announce) {
        // A repeat of what was accepted: nothing to check.
        known->lastSeen = Clock::now();
        if (!known->listed && !goodbye && passesFilter(ipv4Number(known->announce.device.ipv4))) {
            known->listed = true;
            events.push_back(infoOf(*known, VEXO_EVENT_ONLINE));
        }
        return;
    }

    const bool sameIdentity = known && !rival && known->announce.publicKey == a.publicKey
                              && known->announce.signingKey == a.signingKey && known->announce.device.serial == serial
                              && known->announce.device.typeCode == a.device.typeCode;
    if (!sameIdentity) {
        // Another key, MAC or serial number: a replaced or factory-reset device proves itself with a
        // certificate; without one it cannot displace a device that did.
        const bool held = (known && settledTrust(session, *known, events) == Trust::Verified)
                          || (rival && settledTrust(session, *rival, events) == Trust::Verified);
        const bool certified = vxdp::certificateValid(m_deviceCaKey, a);
        if (certified && !vxdp::announceSignatureValid(a.signingKey, a)) {
            if (known)
                known->lastRefused = digestOf(session, body);
            session.counters.dropped++;
            VEXO_LOG(LogLevel::Warning, "ignored an announcement of %s (%s) with a bad signature", serial.c_str(),
                     vxdp::macToText(a.device.mac).c_str());
            return;
        }
        if (held && !certified) {
            if (known)
                known->lastRefused = digestOf(session, body);
            session.counters.dropped++;
            VEXO_LOG(LogLevel::Warning,
                     "ignored an announcement of %s (%s) with another key or identity and no valid certificate",
                     serial.c_str(), vxdp::macToText(a.device.mac).c_str());
            return;
        }
        // A new MAC without a certificate is a new identity: it needs room in its sender's share
        // (identities still being checked take room too).
        if (!known && !certified) {
            const Share &share = session.shares.try_emplace(sender).first->second;
            if (share.unchecked + share.unverified >= kUnverifiedPerSender) {
                refuseSurplus(session, sender, a);
                return;
            }
        }
        if (rival) {
            if (rival->listed)
                events.push_back(infoOf(*rival, VEXO_EVENT_OFFLINE));
            countShare(*rival, -1);
            session.devices.erase(macKeyOf(rival->announce.device.mac));
        }
        if (known && known->announce.device.serial != serial)
            session.macBySerial.erase(known->announce.device.serial);
        VEXO_LOG(LogLevel::Info, "%s (%s) now has %s key", serial.c_str(), vxdp::macToText(a.device.mac).c_str(),
                 certified ? "a new certified" : "an uncertified");
        Device &d = session.devices[mac];
        countShare(d, -1);
        if (!d.share)
            d.share = &*session.shares.try_emplace(sender).first;
        d.admission = ++session.admissions;
        const bool wasListed = d.listed;
        d.announce = a;
        d.trust = certified ? Trust::Verified : Trust::Unverified;
        countShare(d, +1);
        d.lastSeen = Clock::now();
        session.macBySerial[serial] = mac;
        if (goodbye) {
            if (wasListed)
                events.push_back(infoOf(d, VEXO_EVENT_OFFLINE));
            d.listed = false;
            return;
        }
        // Another device under that name: for the program it appeared anew.
        d.listed = true;
        events.push_back(infoOf(d, VEXO_EVENT_ONLINE));
        session.answered.notify_all();
        return;
    }

    if (settledTrust(session, *known, events) == Trust::Verified) {
        // Only the device can sign, and only a newer state replaces an older one.
        if (!vxdp::announceSignatureValid(known->announce.signingKey, a)) {
            known->lastRefused = digestOf(session, body);
            session.counters.dropped++;
            VEXO_LOG(LogLevel::Warning, "ignored an announcement of %s (%s) without a valid signature", serial.c_str(),
                     vxdp::macToText(a.device.mac).c_str());
            return;
        }
        const auto newer = std::tie(a.boot, a.sequence);
        const auto older = std::tie(known->announce.boot, known->announce.sequence);
        if (newer < older || (newer == older && !(a.device == known->announce.device) && !goodbye)) {
            known->lastRefused = digestOf(session, body);
            session.counters.dropped++;
            VEXO_LOG(LogLevel::Warning, "ignored a replayed announcement of %s (%s)", serial.c_str(),
                     vxdp::macToText(a.device.mac).c_str());
            return;
        }
        if (newer == older && goodbye != (known->announce.reason == vxdp::AnnounceReason::Goodbye)) {
            session.counters.dropped++;
            return; // a device never signs two events with one number
        }
    }
    accept(*known, a, events);
}

void Engine::accept(Device &d, const vxdp::Announce &a, std::vector<VEXO_DEVICE_INFO> &events)
{
    const bool restarted = a.boot != d.announce.boot;
    // The record as listed: a goodbye reports it, and a change is told against it.
    const VEXO_DEVICE_INFO listed = d.listed ? infoOf(d, VEXO_EVENT_OFFLINE) : VEXO_DEVICE_INFO{};
    d.announce = a;
    d.lastSeen = Clock::now();
    VEXO_DEVICE_INFO info = infoOf(d, 0); // same identity, same certificate, same trust
    if (a.reason == vxdp::AnnounceReason::Goodbye) {
        if (d.listed)
            events.push_back(listed);
        d.listed = false;
        return;
    }
    if (!d.listed) {
        if (!passesFilter(ipv4Number(a.device.ipv4)))
            return;
        d.listed = true;
        info.eventCode = VEXO_EVENT_ONLINE;
    } else if (restarted) {
        info.eventCode = VEXO_EVENT_ONLINE; // appeared anew: it forgot everything it was doing
    } else if (!sameRecord(info, listed)) {
        info.eventCode = VEXO_EVENT_CHANGED;
    } else {
        return;
    }
    events.push_back(info);
}

void Engine::expireSilentDevices(Session &session, std::vector<VEXO_DEVICE_INFO> &events)
{
    const auto timeout = milliseconds(session.env.offlineTimeoutMs);
    const auto now = Clock::now();
    std::lock_guard lock(session.mutex);
    // A device is heard at the latest when it is listed, and a device heard again is heard later: the
    // listed device heard longest ago stays the first to go silent, and until then a walk finds none.
    if (now < session.nextSilenceWalk)
        return;
    auto oldest = now;
    for (auto &[mac, device] : session.devices) {
        if (!device.listed)
            continue;
        if (now - device.lastSeen > timeout) {
            events.push_back(infoOf(device, VEXO_EVENT_OFFLINE));
            device.listed = false;
        } else {
            oldest = std::min(oldest, device.lastSeen);
        }
    }
    session.nextSilenceWalk = oldest + timeout;
}

std::uint32_t Engine::exchange(Session &session, const std::vector<std::uint8_t> &datagram, std::uint32_t txid,
                               vxdp::MsgType expect, const std::function<bool(const vxdp::Message &)> &accept,
                               Clock::time_point deadline, vxdp::Message *answer)
{
    Waiter waiter;
    waiter.expect = expect;
    waiter.accept = accept;
    std::unique_lock lock(session.mutex);
    session.waiters[txid] = &waiter;
    std::uint32_t error = VEXO_ERR_TIMEOUT;
    for (;;) {
        lock.unlock();
        const bool sent = send(session, datagram);
        lock.lock();
        if (!sent) {
            error = VEXO_ERR_NETWORK;
            break;
        }
        const auto wakeAt = std::min(Clock::now() + kRetransmitMs, deadline);
        session.answered.wait_until(lock, wakeAt, [&] { return waiter.answer.has_value() || session.stopping; });
        if (waiter.answer) {
            *answer = std::move(*waiter.answer);
            error = VEXO_NOERROR;
            break;
        }
        if (session.stopping) {
            error = VEXO_ERR_NOT_STARTED;
            break;
        }
        if (Clock::now() >= deadline)
            break;
    }
    session.waiters.erase(txid);
    return error;
}

std::uint32_t Engine::pinnedKeys(Session &session, const vxdp::Target &target, Clock::time_point deadline,
                                 PinnedKeys *keys)
{
    MacKey mac = 0;
    if (target.kind == vxdp::TargetKind::Mac) {
        const auto parsed = vxdp::macFromText(target.text);
        if (!parsed)
            return VEXO_ERR_UNKNOWN_DEVICE;
        mac = macKeyOf(*parsed);
    }
    std::unique_lock lock(session.mutex);
    auto find = [&]() -> Device * {
        MacKey key = mac;
        if (target.kind == vxdp::TargetKind::Serial) {
            const auto s = session.macBySerial.find(target.text);
            if (s == session.macBySerial.end())
                return nullptr;
            key = s->second;
        }
        const auto it = session.devices.find(key);
        return it == session.devices.end() ? nullptr : &it->second;
    };
    // Asks the devices every half second until `ready` holds or the time-out passes, so that one
    // lost inquiry or answer does not cost the whole time-out.
    auto askUntil = [&](const std::function<bool()> &ready) {
        bool done = ready();
        while (!done && !session.stopping && Clock::now() < deadline) {
            lock.unlock();
            send(session, vxdp::encodeInquiry(newTxid()));
            lock.lock();
            done = session.answered.wait_until(lock, std::min(Clock::now() + kAskAgainMs, deadline),
                                               [&] { return session.stopping || ready(); });
        }
        return done && !session.stopping;
    };
    // Not announced yet (a call right after the start): ask, and wait for it within the time-out.
    Device *device = nullptr;
    if (!askUntil([&] { return (device = find()) != nullptr; }))
        return session.stopping ? VEXO_ERR_NOT_STARTED : VEXO_ERR_UNKNOWN_DEVICE;
    // A device listed a moment ago may still wait for its check behind many others: this thread
    // checks it, and the receiving thread settles it as if the verifier had.
    if (device->trust == Trust::Unchecked) {
        Verifier::Job job = Verifier::listedJob(macKeyOf(device->announce.device.mac), device->announce);
        job.admission = device->admission;
        job.generation = session.generation;
        lock.unlock();
        const bool valid
            = vxdp::verifySignature(m_deviceCaKey, job.certified, job.certificate.data(), job.certificateSize);
        lock.lock();
        session.verifier->deliver(std::move(job), valid);
    }
    session.answered.wait_until(lock, deadline, [&] {
        device = find();
        return session.stopping || !device || device->trust != Trust::Unchecked;
    });
    if (session.stopping)
        return VEXO_ERR_NOT_STARTED;
    if (!device)
        return VEXO_ERR_UNKNOWN_DEVICE;
    if (device->trust != Trust::Verified) {
        // Anyone can answer first with the device's serial number and MAC. The certified device
        // with that identity replaces such an entry when it answers: wait for it within the time-out.
        const std::string serial = device->announce.device.serial;
        const auto deviceMac = device->announce.device.mac;
        auto certified = [&] {
            Device *d = find();
            if (!d || d->announce.device.serial != serial || d->announce.device.mac != deviceMac
                || d->trust != Trust::Verified)
                return false;
            device = d;
            return true;
        };
        if (!askUntil(certified)) {
            if (session.stopping)
                return VEXO_ERR_NOT_STARTED;
            VEXO_LOG(LogLevel::Warning, "%s (%s): no device with a valid maker certificate answered in time",
                     serial.c_str(), vxdp::macToText(deviceMac).c_str());
            return VEXO_ERR_UNVERIFIED;
        }
    }
    keys->box = device->announce.publicKey;
    keys->signing = device->announce.signingKey;
    return VEXO_NOERROR;
}

std::uint32_t Engine::sealedRequest(vxdp::MsgType type, vxdp::Request request, vxdp::Secret secret)
{
    if (std::this_thread::get_id() == m_threadId.load())
        return VEXO_ERR_IN_CALLBACK;
    std::uint32_t error = 0;
    auto session = currentSession(&error);
    if (!session)
        return error;
    const auto deadline = Clock::now() + milliseconds(session->env.timeoutMs);
    // Secrets go only to the key pinned for the device, and only a device with a valid certificate has one.
    PinnedKeys pinned;
    error = pinnedKeys(*session, request.target, deadline, &pinned);

    for (int attempt = 0; attempt < 2 && !error; ++attempt) {
        vxdp::Request ask;
        ask.target = request.target;
        const std::uint32_t challengeTx = newTxid();
        // A challenge counts only when the pinned device signed it for this request.
        auto genuineChallenge = [&pinned, challengeTx](const vxdp::Message &m) {
            return m.challenge.publicKey == pinned.box
                   && vxdp::challengeSignatureValid(pinned.signing, challengeTx, m.challenge);
        };
        vxdp::Message challenge;
        error = exchange(*session, vxdp::encodeRequest(vxdp::MsgType::ChallengeRequest, challengeTx, ask), challengeTx,
                         vxdp::MsgType::Challenge, genuineChallenge, deadline, &challenge);
        if (error) {
            VEXO_LOG(LogLevel::Info, "%s of %s: no challenge came (error %u)", typeName(type),
                     request.target.text.c_str(), error);
            break;
        }
        secret.type = type;
        secret.nonce = challenge.challenge.nonce;
        secret.bound = vxdp::hash32(vxdp::boundFields(type, request));
        // The device proves its answer with this key, which only the sealed box carries.
        vxdp::randomBytes(secret.replyKey.data(), secret.replyKey.size());
        std::vector<std::uint8_t> plain = vxdp::encodeSecret(secret);
        request.sealed = vxdp::seal(pinned.box, plain);
        std::fill(plain.begin(), plain.end(), 0);
        if (request.sealed.empty()) {
            error = VEXO_ERR_INTERNAL;
            break;
        }
        const std::uint32_t tx = newTxid();
        const auto replyKey = secret.replyKey;
        auto genuineResult = [&replyKey, tx](const vxdp::Message &m) {
            return vxdp::resultTagValid(replyKey, tx, m.result);
        };
        vxdp::Message result;
        error = exchange(*session, vxdp::encodeRequest(type, tx, request), tx, vxdp::MsgType::Result, genuineResult,
                         deadline, &result);
        if (error) {
            VEXO_LOG(LogLevel::Info, "%s of %s: challenge taken, no result came (error %u)", typeName(type),
                     request.target.text.c_str(), error);
            break;
        }
        error = statusToError(result.result.status);
        if (error != VEXO_ERR_STALE || attempt == 1)
            break;
        error = VEXO_NOERROR; // a restart between challenge and request: ask again once
    }
    wipe(secret.password);
    wipe(secret.material);
    std::fill(secret.replyKey.begin(), secret.replyKey.end(), 0);
    return error;
}

std::uint32_t Engine::activate(const std::string &serial, const std::string &password)
{
    if (serial.empty() || serial.size() > vxdp::kMaxSerial || password.empty() || password.size() > vxdp::kMaxPassword)
        return VEXO_ERR_BAD_ARGUMENT;
    vxdp::Request request;
    request.target = {vxdp::TargetKind::Serial, serial};
    vxdp::Secret secret;
    secret.password = password;
    return sealedRequest(vxdp::MsgType::Activate, request, secret);
}

std::uint32_t Engine::modify(const std::string &mac, const std::string &password, const DeviceNetParam &param)
{
    if (mac.empty() || mac.size() > vxdp::kMaxTarget || password.empty() || password.size() > vxdp::kMaxPassword)
        return VEXO_ERR_BAD_ARGUMENT;
    vxdp::Request request;
    request.target = {vxdp::TargetKind::Mac, mac};
    vxdp::NetParams &net = request.net;
    const std::string ipv4 = fieldText(param.ipv4Address);
    if (!ipv4.empty()) {
        const std::string gateway = fieldText(param.ipv4Gateway);
        if (!parseIpv4Bytes(ipv4, &net.ipv4) || !parseIpv4Bytes(fieldText(param.ipv4SubnetMask), &net.mask)
            || (!gateway.empty() && !parseIpv4Bytes(gateway, &net.gateway)))
            return VEXO_ERR_BAD_ARGUMENT;
        net.flags |= vxdp::kNetIpv4;
    }
    const std::string ipv6 = fieldText(param.ipv6Address);
    if (!ipv6.empty()) {
        if (!parseIpv6Bytes(ipv6, &net.ipv6))
            return VEXO_ERR_BAD_ARGUMENT;
        net.flags |= vxdp::kNetIpv6Address;
    }
    const std::string ipv6Gateway = fieldText(param.ipv6Gateway);
    if (!ipv6Gateway.empty()) {
        if (!parseIpv6Bytes(ipv6Gateway, &net.ipv6Gateway))
            return VEXO_ERR_BAD_ARGUMENT;
        net.flags |= vxdp::kNetIpv6Gateway;
    }
    if (param.ipv6PrefixLength > vxdp::kMaxIpv6PrefixLength)
        return VEXO_ERR_BAD_ARGUMENT;
    net.ipv6PrefixLength = param.ipv6PrefixLength;
    if (const auto parsed = vxdp::macFromText(mac))
        dropUnchangedIpv6(*parsed, &net);
    net.dhcp = param.dhcpEnabled ? 1 : 0;
    net.port = param.port;
    net.httpPort = param.httpPort;
    vxdp::Secret secret;
    secret.password = password;
    return sealedRequest(vxdp::MsgType::Modify, request, secret);
}

void Engine::dropUnchangedIpv6(const std::array<std::uint8_t, 6> &mac, vxdp::NetParams *net)
{
    // Callers send a device's whole setup back with only some fields changed. IPv6 fields equal
    // to what the device last reported are no change, so that devices which cannot change their
    // IPv6 setup still take the rest.
    if (!(net->flags & vxdp::kNetIpv6))
        return;
    std::uint32_t error = 0;
    auto session = currentSession(&error);
    if (!session)
        return;
    std::lock_guard lock(session->mutex);
    const auto it = session->devices.find(macKeyOf(mac));
    if (it == session->devices.end())
        return;
    const VEXO_DEVICE_INFO info = infoOf(it->second, 0);
    if (!info.extendedInfoValid)
        return;
    std::array<std::uint8_t, 16> current{};
    if ((net->flags & vxdp::kNetIpv6Address) && parseIpv6Bytes(fieldText(info.ipv6Address), &current)
        && current == net->ipv6 && net->ipv6PrefixLength == info.ipv6PrefixLength)
        net->flags &= std::uint8_t(~vxdp::kNetIpv6Address);
    if ((net->flags & vxdp::kNetIpv6Gateway) && parseIpv6Bytes(fieldText(info.ipv6Gateway), &current)
        && current == net->ipv6Gateway)
        net->flags &= std::uint8_t(~vxdp::kNetIpv6Gateway);
}

std::uint32_t Engine::getKey(const std::string &serial, std::uint32_t command, void *out, std::uint32_t outLen)
{
    if (serial.empty() || serial.size() > vxdp::kMaxSerial || (command != VEXO_GET_KEY_V1 && command != VEXO_GET_KEY_V2)
        || !out || outLen < 8)
        return VEXO_ERR_BAD_ARGUMENT;
    if (std::this_thread::get_id() == m_threadId.load())
        return VEXO_ERR_IN_CALLBACK;
    std::uint32_t error = 0;
    auto session = currentSession(&error);
    if (!session)
        return error;
    vxdp::Request request;
    request.target = {vxdp::TargetKind::Serial, serial};
    request.command = static_cast<std::uint8_t>(command);
    bool known = false;
    {
        std::lock_guard lock(session->mutex);
        known = session->macBySerial.count(serial) != 0;
    }
    const std::uint32_t tx = newTxid();
    // Key material must be the asked device's: a reset key made for another serial would be useless.
    auto forThisDevice = [&serial, command](const vxdp::Message &m) {
        if (m.result.status != vxdp::Status::Ok)
            return true;
        const auto key = vxdp::parseKeyMaterial(m.result.keyMaterial);
        return key && key->serial == serial && key->scheme == int(command);
    };
    vxdp::Message result;
    error = exchange(*session, vxdp::encodeRequest(vxdp::MsgType::GetKey, tx, request), tx, vxdp::MsgType::Result,
                     forThisDevice, Clock::now() + milliseconds(session->env.timeoutMs), &result);
    if (error == VEXO_ERR_TIMEOUT && !known)
        error = VEXO_ERR_UNKNOWN_DEVICE;
    if (error)
        return error;
    error = statusToError(result.result.status);
    if (error)
        return error;
    const std::string &key = result.result.keyMaterial;
    if (key.size() > outLen - 4)
        return VEXO_ERR_BUFFER_TOO_SMALL;
    auto *bytes = static_cast<std::uint8_t *>(out);
    const auto length = static_cast<std::uint32_t>(key.size());
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(length >> (8 * i));
    std::memcpy(bytes + 4, key.data(), key.size());
    if (key.size() < outLen - 4)
        bytes[4 + key.size()] = 0;
    return VEXO_NOERROR;
}

std::uint32_t Engine::reset(const std::string &serial, const VEXO_RESET_PARAM &param)
{
    const std::string key = fieldText(param.secretKey);
    const std::string path = fieldText(param.keyFilePath);
    std::string password = fieldText(param.password);
    if (serial.empty() || serial.size() > vxdp::kMaxSerial || password.empty() || key.empty() == path.empty())
        return VEXO_ERR_BAD_ARGUMENT;
    vxdp::Secret secret;
    secret.password = std::move(password);
    secret.resetIpc = param.resetIpc ? 1 : 0;
    if (!key.empty()) {
        secret.materialKind = static_cast<std::uint8_t>(vxdp::MaterialKind::Key);
        secret.material = key;
    } else {
        std::FILE *f = openLocalFile(path, "rb");
        if (!f) {
            VEXO_LOG(LogLevel::Warning, "reset file %s cannot be opened", path.c_str());
            return VEXO_ERR_FILE;
        }
        std::string content(vxdp::kMaxResetFile + 1, '\0');
        const std::size_t n = std::fread(content.data(), 1, content.size(), f);
        std::fclose(f);
        if (n == 0 || n > vxdp::kMaxResetFile) {
            VEXO_LOG(LogLevel::Warning, "reset file %s is empty or larger than %zu bytes", path.c_str(),
                     vxdp::kMaxResetFile);
            return VEXO_ERR_FILE;
        }
        content.resize(n);
        secret.materialKind = static_cast<std::uint8_t>(vxdp::MaterialKind::File);
        secret.material = std::move(content);
    }
    vxdp::Request request;
    request.target = {vxdp::TargetKind::Serial, serial};
    return sealedRequest(vxdp::MsgType::Reset, request, secret);
}

std::uint32_t Engine::restore(const std::string &serial, const std::string &code)
{
    if (serial.empty() || serial.size() > vxdp::kMaxSerial || code.empty() || code.size() > vxdp::kMaxSecurityCode)
        return VEXO_ERR_BAD_ARGUMENT;
    vxdp::Request request;
    request.target = {vxdp::TargetKind::Serial, serial};
    vxdp::Secret secret;
    secret.material = code;
    return sealedRequest(vxdp::MsgType::Restore, request, secret);
}

} // namespace vexo

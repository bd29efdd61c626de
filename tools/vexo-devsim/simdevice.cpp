// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simdevice.h"

#include <protocol/crypto.h>
#include <protocol/identity.h>

#include <QHash>

#include <algorithm>
#include <unordered_map>

namespace {

constexpr std::int64_t kChallengeLifetimeMs = 30'000;
constexpr std::size_t kMaxChallenges = 32;
constexpr std::size_t kMaxChallengesPerSender = 8;
constexpr std::int64_t kAnswerLifetimeMs = 10'000;
constexpr std::size_t kMaxAnswers = 64;
constexpr std::size_t kMaxAnswersPerSender = 16;
constexpr int kRefusalsBeforeLock = 5;
constexpr int kMaxLockoutDoublings = 6;
constexpr std::size_t kMaxSenders = 1024;
constexpr char kFactoryPassword[] = "70639";

DeviceOutcome answer(vxdp::Status status)
{
    DeviceOutcome outcome;
    outcome.result.status = status;
    return outcome;
}

std::uint32_t toU32(const std::array<std::uint8_t, 4> &a)
{
    return std::uint32_t(a[0]) << 24 | std::uint32_t(a[1]) << 16 | std::uint32_t(a[2]) << 8 | a[3];
}

bool validMask(const std::array<std::uint8_t, 4> &mask)
{
    const std::uint32_t m = toU32(mask);
    return m != 0 && ((~m + 1) & ~m) == 0; // ones followed by zeros only
}

bool validHost(const std::array<std::uint8_t, 4> &ip)
{
    return ip[0] != 0 && ip[0] != 127 && ip[0] < 224;
}

struct AddressHash
{
    std::size_t operator()(const QHostAddress &address) const { return qHash(address); }
};

// Makes room in a table shared by all senders (oldest entry first) for one more entry of
// `sender`. A sender at its share loses its own oldest entry. When the table is full, the
// sender holding the most loses its oldest (the asking sender itself on a tie). So however
// fast one address asks, it pushes out only its own entries, never the one or two of an
// address that holds fewer.
template<typename Counts, typename Table, typename Sender, typename SenderOf>
void makeRoom(Table &table, const Sender &sender, std::size_t share, std::size_t capacity, SenderOf senderOf)
{
    Counts counts;
    for (const auto &entry : table)
        ++counts[senderOf(entry)];
    const std::size_t own = counts[sender];
    if (own < share && table.size() < capacity)
        return;
    std::size_t most = own;
    if (own < share) {
        for (const auto &[holder, held] : counts)
            most = std::max(most, held);
    }
    // The oldest entry of the sender to lose one: a tie among others goes against the oldest.
    const auto victim = std::find_if(table.begin(), table.end(), [&](const auto &entry) {
        return most == own ? senderOf(entry) == sender : counts[senderOf(entry)] == most;
    });
    if (victim != table.end())
        table.erase(victim);
}

} // namespace

SimDevice::SimDevice(DeviceRecord record)
    : m_record(std::move(record))
    , m_signingKeys(m_record.signingKeys())
{}

void SimDevice::boot(std::uint64_t bootNumber, const std::string &startTime)
{
    m_boot = std::max(bootNumber, m_boot + 1);
    m_sequence = 0;
    m_lastSigned.reset();
    m_signedByReason = {};
    m_freshBoot = true;
    m_record.description.startTime = startTime;
    m_challenges.clear();
    m_resetNonce.reset();
    m_answers.clear();
    m_backoff.clear();
    m_lockedUntilMs = 0;
}

vxdp::Announce SimDevice::announce(vxdp::AnnounceReason reason)
{
    vxdp::Announce a;
    a.reason = reason;
    a.boot = m_boot;
    a.publicKey = m_record.keys.publicKey;
    a.signingKey = m_signingKeys.publicKey;
    a.device = m_record.description;
    a.certificate = m_record.certificate;
    const bool sameContent = m_lastSigned && m_lastSigned->boot == m_boot && m_lastSigned->device == a.device
                             && m_lastSigned->publicKey == a.publicKey && m_lastSigned->signingKey == a.signingKey
                             && m_lastSigned->certificate == a.certificate;
    const bool bootHello = m_freshBoot && reason == vxdp::AnnounceReason::Hello;
    m_freshBoot = false;
    // A receiver takes only newer numbers: every event and every new content gets one.
    const bool event = reason != vxdp::AnnounceReason::Reply && !bootHello;
    if (!sameContent || event) {
        ++m_sequence;
        m_signedByReason = {};
    }
    auto &kept = m_signedByReason[std::size_t(reason)];
    if (kept && kept->sequence == m_sequence)
        return *kept;
    a.sequence = m_sequence;
    vxdp::signAnnounce(m_signingKeys, a);
    m_lastSigned = a;
    kept = a;
    return a;
}

vxdp::Challenge SimDevice::issueChallenge(std::int64_t nowMs, std::uint32_t txid, const std::string &sender)
{
    std::erase_if(m_challenges, [nowMs](const PendingChallenge &c) { return c.expiresMs <= nowMs; });
    makeRoom<std::unordered_map<std::string, std::size_t>>(
        m_challenges, sender, kMaxChallengesPerSender, kMaxChallenges,
        [](const PendingChallenge &c) -> const std::string & { return c.sender; });
    PendingChallenge pending;
    pending.sender = sender;
    vxdp::randomBytes(pending.nonce.data(), pending.nonce.size());
    pending.expiresMs = nowMs + kChallengeLifetimeMs;
    m_challenges.push_back(pending);
    vxdp::Challenge challenge{pending.nonce, m_record.keys.publicKey, {}};
    vxdp::signChallenge(m_signingKeys, txid, challenge);
    return challenge;
}

bool SimDevice::takeChallenge(const std::array<std::uint8_t, vxdp::kNonceSize> &nonce, std::int64_t nowMs)
{
    const auto it = std::find_if(m_challenges.begin(), m_challenges.end(),
                                 [&nonce](const PendingChallenge &c) { return c.nonce == nonce; });
    if (it == m_challenges.end())
        return false;
    const bool fresh = it->expiresMs > nowMs;
    m_challenges.erase(it);
    return fresh;
}

void SimDevice::lock(std::int64_t nowMs, int seconds)
{
    m_lockedUntilMs = nowMs + std::int64_t(seconds) * 1000;
}

bool SimDevice::senderLocked(const DeviceContext &context) const
{
    if (context.nowMs < m_lockedUntilMs)
        return true;
    const auto it = m_backoff.find(context.sender);
    return it != m_backoff.end() && context.nowMs < it->second.blockedUntilMs;
}

// Guessing is slowed per sender address: five refusals in a row block that address, each
// time twice as long. The owner's own address, and the maker's keys and codes, stay usable.
vxdp::Status SimDevice::refuse(const DeviceContext &context)
{
    if (m_backoff.size() >= kMaxSenders && !m_backoff.count(context.sender)) {
        // Forged sender addresses must not grow the table: forget those not blocked now.
        std::erase_if(m_backoff,
                      [&context](const auto &entry) { return entry.second.blockedUntilMs <= context.nowMs; });
        if (m_backoff.size() >= kMaxSenders)
            m_backoff.erase(m_backoff.begin());
    }
    Backoff &b = m_backoff[context.sender];
    if (++b.refusals >= kRefusalsBeforeLock) {
        const int doublings = std::min(b.lockouts, kMaxLockoutDoublings);
        b.blockedUntilMs = context.nowMs + (std::int64_t(context.lockoutSeconds) * 1000 << doublings);
        ++b.lockouts;
        b.refusals = 0;
    }
    return vxdp::Status::Deny;
}

void SimDevice::forgive(const DeviceContext &context)
{
    m_backoff.erase(context.sender);
}

bool SimDevice::setPassword(std::string_view password, const DeviceContext &context, DeviceOutcome *outcome)
{
    std::string hash = vxdp::hashPassword(password, context.testMode);
    if (hash.empty())
        return false;
    m_record.passwordHash = std::move(hash);
    outcome->persist = true;
    if (m_record.description.inactive) {
        m_record.description.inactive = 0;
        outcome->announce = true;
    }
    return true;
}

const QByteArray *SimDevice::cachedAnswer(const QHostAddress &sender, quint16 port, std::uint32_t txid,
                                          vxdp::MsgType type, std::int64_t nowMs)
{
    while (!m_answers.empty() && m_answers.front().expiresMs <= nowMs)
        m_answers.pop_front();
    for (const CachedAnswer &a : m_answers) {
        if (a.txid == txid && a.type == type && a.port == port && a.sender == sender)
            return &a.answer;
    }
    return nullptr;
}

void SimDevice::cacheAnswer(const QHostAddress &sender, quint16 port, std::uint32_t txid, vxdp::MsgType type,
                            const QByteArray &answer, std::int64_t nowMs)
{
    makeRoom<std::unordered_map<QHostAddress, std::size_t, AddressHash>>(
        m_answers, sender, kMaxAnswersPerSender, kMaxAnswers,
        [](const CachedAnswer &a) -> const QHostAddress & { return a.sender; });
    m_answers.push_back(CachedAnswer{sender, port, txid, type, nowMs + kAnswerLifetimeMs, answer});
}

std::optional<vxdp::Secret> SimDevice::openSecret(vxdp::MsgType type, const vxdp::Request &request, std::int64_t nowMs,
                                                  vxdp::Status *status, DeviceOutcome *outcome)
{
    *status = vxdp::Status::BadRequest;
    const auto plain = vxdp::openSealed(m_record.keys, request.sealed);
    if (!plain)
        return std::nullopt;
    auto secret = vxdp::decodeSecret(plain->data(), plain->size());
    // A box made for another request type, device or parameters is not honoured.
    if (!secret || secret->type != type || secret->bound != vxdp::hash32(vxdp::boundFields(type, request)))
        return std::nullopt;
    outcome->replyKey = secret->replyKey;
    if (!takeChallenge(secret->nonce, nowMs)) {
        *status = vxdp::Status::StaleChallenge;
        return std::nullopt;
    }
    *status = vxdp::Status::Ok;
    return secret;
}

DeviceOutcome SimDevice::handle(vxdp::MsgType type, const vxdp::Request &request, const DeviceContext &context)
{
    if (type == vxdp::MsgType::GetKey)
        return getKey(request.command);

    vxdp::Status status = vxdp::Status::Ok;
    DeviceOutcome opened;
    const auto secret = openSecret(type, request, context.nowMs, &status, &opened);
    DeviceOutcome outcome = answer(status);
    if (secret) {
        switch (type) {
        case vxdp::MsgType::Activate:
            outcome = activate(*secret, context);
            break;
        case vxdp::MsgType::Modify:
            outcome = modify(request, *secret, context);
            break;
        case vxdp::MsgType::Reset:
            outcome = resetPassword(*secret, context);
            break;
        case vxdp::MsgType::Restore:
            outcome = restore(*secret, context);
            break;
        default:
            outcome = answer(vxdp::Status::BadRequest);
            break;
        }
    }
    outcome.replyKey = opened.replyKey;
    return outcome;
}

DeviceOutcome SimDevice::getKey(std::uint8_t command)
{
    const auto &d = m_record.description;
    if (command != VEXO_GET_KEY_V1 && command != VEXO_GET_KEY_V2)
        return answer(vxdp::Status::BadRequest);
    if (!(d.capabilities & VEXO_CAP_KEY_RESET) || (command == VEXO_GET_KEY_V2 && !(d.keyFormat & VEXO_KEYFMT_NEW)))
        return answer(vxdp::Status::Unsupported);
    // One nonce per boot until it is used up, so repeated queries hand out the same key.
    if (!m_resetNonce) {
        m_resetNonce.emplace();
        vxdp::randomBytes(m_resetNonce->data(), m_resetNonce->size());
    }
    DeviceOutcome outcome;
    outcome.result.keyMaterial = vxdp::formatKeyMaterial(vxdp::KeyMaterial{command, d.serial, *m_resetNonce});
    return outcome;
}

DeviceOutcome SimDevice::activate(const vxdp::Secret &secret, const DeviceContext &context)
{
    if (secret.password.empty())
        return answer(vxdp::Status::BadRequest);
    if (!m_record.description.inactive)
        return answer(vxdp::Status::AlreadyActive);
    DeviceOutcome outcome;
    if (!setPassword(secret.password, context, &outcome))
        return answer(vxdp::Status::BadRequest);
    return outcome;
}

DeviceOutcome SimDevice::modify(const vxdp::Request &request, const vxdp::Secret &secret, const DeviceContext &context)
{
    vxdp::DeviceDescription d = m_record.description;
    if (d.inactive)
        return answer(vxdp::Status::NotActivated);
    if (senderLocked(context))
        return answer(vxdp::Status::Locked);
    if (!vxdp::verifyPassword(m_record.passwordHash, secret.password))
        return answer(refuse(context));
    forgive(context);

    vxdp::NetParams net = request.net;
    // IPv6 fields equal to the device's own are no change; only a real change needs the capability.
    if ((net.flags & vxdp::kNetIpv6Address) && d.extendedValid && net.ipv6 == d.ipv6
        && net.ipv6PrefixLength == d.ipv6PrefixLength)
        net.flags &= std::uint8_t(~vxdp::kNetIpv6Address);
    if ((net.flags & vxdp::kNetIpv6Gateway) && d.extendedValid && net.ipv6Gateway == d.ipv6Gateway)
        net.flags &= std::uint8_t(~vxdp::kNetIpv6Gateway);
    // Devices that cannot change their IPv6 setup refuse rather than ignore it.
    if ((net.flags & vxdp::kNetIpv6) && !(d.capabilities & VEXO_CAP_MOD_IPV6))
        return answer(vxdp::Status::Unsupported);
    if (net.dhcp && !(d.capabilities & VEXO_CAP_DHCP))
        return answer(vxdp::Status::Unsupported);
    if (!net.dhcp && (net.flags & vxdp::kNetIpv4) && (!validHost(net.ipv4) || !validMask(net.mask)))
        return answer(vxdp::Status::BadRequest);

    if (net.dhcp) {
        d.dhcp = 1;
        // The simulated DHCP server leases from 198.51.100.0/24; a lease already held is kept.
        if (d.ipv4[0] != 198 || d.ipv4[1] != 51 || d.ipv4[2] != 100) {
            const auto h = vxdp::hash32(std::vector<std::uint8_t>(d.mac.begin(), d.mac.end()));
            d.ipv4 = {198, 51, 100, std::uint8_t(100 + h[0] % 150)};
            d.mask = {255, 255, 255, 0};
            d.gateway = {198, 51, 100, 1};
        }
    } else {
        d.dhcp = 0;
        if (net.flags & vxdp::kNetIpv4) {
            d.ipv4 = net.ipv4;
            d.mask = net.mask;
            d.gateway = net.gateway;
        }
    }
    if (net.flags & vxdp::kNetIpv6Address) {
        d.ipv6 = net.ipv6;
        d.ipv6PrefixLength = net.ipv6PrefixLength;
        d.extendedValid = 1;
    }
    if (net.flags & vxdp::kNetIpv6Gateway)
        d.ipv6Gateway = net.ipv6Gateway;
    // Zero means "not given" for the ports: the program always sends what it shows.
    if (net.port)
        d.port = net.port;
    if (net.httpPort)
        d.httpPort = net.httpPort;

    DeviceOutcome outcome;
    if (!(d == m_record.description)) {
        m_record.description = d;
        outcome.announce = true;
        outcome.persist = true;
    }
    return outcome;
}

DeviceOutcome SimDevice::resetPassword(const vxdp::Secret &secret, const DeviceContext &context)
{
    const auto &d = m_record.description;
    if (!(d.capabilities & VEXO_CAP_KEY_RESET))
        return answer(vxdp::Status::Unsupported);
    if (secret.password.empty())
        return answer(vxdp::Status::BadRequest);
    // The maker's signature cannot be guessed, so it is checked before any lockout: the owner
    // gets in while someone else is locked out. A bad key from a locked sender just gets 2022.
    auto refuseKey = [this, &context] {
        return answer(senderLocked(context) ? vxdp::Status::Locked : refuse(context));
    };

    std::string keyText;
    if (secret.materialKind == std::uint8_t(vxdp::MaterialKind::Key)) {
        keyText = secret.material;
    } else if (secret.materialKind == std::uint8_t(vxdp::MaterialKind::File)) {
        const auto file = vxdp::parseResetFile(secret.material);
        if (!file || file->serial != d.serial)
            return refuseKey();
        keyText = file->resetKey;
    } else {
        return answer(vxdp::Status::BadRequest);
    }
    const auto key = vxdp::parseResetKey(keyText);
    if (!key || !m_resetNonce || (key->scheme == 2 && !(d.keyFormat & VEXO_KEYFMT_NEW)))
        return refuseKey();
    const auto message = vxdp::resetMessage(key->scheme, d.serial, *m_resetNonce);
    if (!vxdp::verifySignature(context.makerPublicKey, message, key->signature.data(), key->signature.size()))
        return refuseKey();

    DeviceOutcome outcome;
    if (!setPassword(secret.password, context, &outcome))
        return answer(vxdp::Status::BadRequest);
    // A key allows one reset only. The owner proved itself: nobody stays locked out.
    m_resetNonce.reset();
    m_backoff.clear();
    m_lockedUntilMs = 0;
    return outcome;
}

DeviceOutcome SimDevice::restore(const vxdp::Secret &secret, const DeviceContext &context)
{
    const auto &d = m_record.description;
    const std::string shortSerial = vxdp::serialWithoutType(d.serial, d.typeText);
    bool accepted = false;
    // The maker's code is valid for a day either side. A restore QR text may carry the serial
    // without its type text; the maker then keys the code by that short form or by the device.
    for (const std::string &date : context.restoreDates) {
        for (const std::string &code : {vxdp::securityCode(m_record.restoreSecret, d.serial, date),
                                        vxdp::securityCode(m_record.restoreSecret, shortSerial, date),
                                        vxdp::securityCode(m_record.restoreSecretShort, shortSerial, date)})
            accepted |= vxdp::equalConstantTime(secret.material, code);
    }
    // Like a reset key, a valid code is honoured before any lockout.
    if (!accepted)
        return answer(senderLocked(context) ? vxdp::Status::Locked : refuse(context));
    DeviceOutcome outcome;
    if (!setPassword(kFactoryPassword, context, &outcome))
        return answer(vxdp::Status::BadRequest);
    m_backoff.clear();
    m_lockedUntilMs = 0;
    return outcome;
}

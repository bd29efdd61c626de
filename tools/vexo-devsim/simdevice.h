// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "devicerecord.h"

#include <protocol/codec.h>
#include <protocol/keyformats.h>

#include <QByteArray>
#include <QHostAddress>

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

/** What a device needs to know from the simulator to carry out one request. */
struct DeviceContext
{
    std::int64_t nowMs = 0; ///< monotonic clock
    bool testMode = false;  ///< cheap password hashing
    int lockoutSeconds = 60;
    std::array<std::uint8_t, 32> makerPublicKey{};
    std::array<std::string, 3> restoreDates; ///< yesterday, today, tomorrow as yyyyMMdd
    std::string sender;                      ///< address of the request's sender, for the back-off
};

/** The answer to one request and what it did to the device. */
struct DeviceOutcome
{
    vxdp::Result result;
    bool announce = false; ///< the description changed: tell the listeners
    bool persist = false;  ///< the stored record changed: write the state file
    /** From the opened request: the result is tagged with it so the requester knows it is the device's. */
    std::optional<std::array<std::uint8_t, vxdp::kReplyKeySize>> replyKey;
};

/**
 * @brief One simulated camera or recorder: its record, and the run-time state
 * that dies with a restart (challenges, reset nonce, lockout, answer cache).
 */
class SimDevice
{
public:
    explicit SimDevice(DeviceRecord record);

    const DeviceRecord &record() const { return m_record; }
    DeviceRecord &record() { return m_record; }
    /** After the record's keys changed (a replaced device). */
    void reloadKeys() { m_signingKeys = m_record.signingKeys(); }
    const vxdp::DeviceDescription &description() const { return m_record.description; }

    /**
     * A (re)start: a new, larger boot number and a new start time; challenges, the reset
     * nonce, the senders' back-off and a lock() are forgotten.
     */
    void boot(std::uint64_t bootNumber, const std::string &startTime);
    std::uint64_t bootNumber() const { return m_boot; }

    /** The device answers at all (not stopped or vanished). */
    bool isUp() const { return m_up; }
    void setUp(bool up) { m_up = up; }

    /**
     * The signed announcement. Changed, goodbye and a hello other than the boot's own are
     * events and get the next sequence number, as does any announcement whose content
     * changed; otherwise the signature made for that reason and number is reused, so
     * answering an inquiry costs no signing.
     */
    vxdp::Announce announce(vxdp::AnnounceReason reason);

    /**
     * A fresh nonce, signed together with the requester's transaction id. Each sender address
     * holds a bounded share of the outstanding nonces: a sender that asks faster than it uses
     * them loses its own oldest, not another sender's.
     */
    vxdp::Challenge issueChallenge(std::int64_t nowMs, std::uint32_t txid, const std::string &sender);

    /** Carries out GetKey or one of the sealed requests. */
    DeviceOutcome handle(vxdp::MsgType type, const vxdp::Request &request, const DeviceContext &context);

    /** Passwords are refused from everyone for a while (the console's "lock"). */
    void lock(std::int64_t nowMs, int seconds);

    /** The stored answer to a retransmitted request, or null. Each sender address holds a bounded share. */
    const QByteArray *cachedAnswer(const QHostAddress &sender, quint16 port, std::uint32_t txid, vxdp::MsgType type,
                                   std::int64_t nowMs);
    void cacheAnswer(const QHostAddress &sender, quint16 port, std::uint32_t txid, vxdp::MsgType type,
                     const QByteArray &answer, std::int64_t nowMs);

private:
    /** Refusals of one sender address and how long it is refused. */
    struct Backoff
    {
        int refusals = 0;
        int lockouts = 0;
        std::int64_t blockedUntilMs = 0;
    };
    struct PendingChallenge
    {
        std::array<std::uint8_t, vxdp::kNonceSize> nonce{};
        std::int64_t expiresMs = 0;
        std::string sender; ///< the address it was issued to, for its share of the table
    };
    struct CachedAnswer
    {
        QHostAddress sender;
        quint16 port = 0;
        std::uint32_t txid = 0;
        vxdp::MsgType type = vxdp::MsgType::Result;
        std::int64_t expiresMs = 0;
        QByteArray answer;
    };

    std::optional<vxdp::Secret> openSecret(vxdp::MsgType type, const vxdp::Request &request, std::int64_t nowMs,
                                           vxdp::Status *status, DeviceOutcome *outcome);
    bool senderLocked(const DeviceContext &context) const;
    void forgive(const DeviceContext &context);
    bool takeChallenge(const std::array<std::uint8_t, vxdp::kNonceSize> &nonce, std::int64_t nowMs);
    vxdp::Status refuse(const DeviceContext &context);
    bool setPassword(std::string_view password, const DeviceContext &context, DeviceOutcome *outcome);

    DeviceOutcome getKey(std::uint8_t command);
    DeviceOutcome activate(const vxdp::Secret &secret, const DeviceContext &context);
    DeviceOutcome modify(const vxdp::Request &request, const vxdp::Secret &secret, const DeviceContext &context);
    DeviceOutcome resetPassword(const vxdp::Secret &secret, const DeviceContext &context);
    DeviceOutcome restore(const vxdp::Secret &secret, const DeviceContext &context);

    DeviceRecord m_record;
    vxdp::SignKeyPair m_signingKeys;
    std::uint64_t m_boot = 0;
    std::uint32_t m_sequence = 0;
    std::optional<vxdp::Announce> m_lastSigned; // what the current sequence number stands for
    std::array<std::optional<vxdp::Announce>, vxdp::kAnnounceReasonCount>
        m_signedByReason;     // signatures kept for reuse, by reason
    bool m_freshBoot = false; // the boot's hello takes the first number
    bool m_up = true;
    std::vector<PendingChallenge> m_challenges;
    std::optional<std::array<std::uint8_t, vxdp::kResetNonceSize>> m_resetNonce;
    std::map<std::string, Backoff> m_backoff; // by sender address
    std::int64_t m_lockedUntilMs = 0;
    std::deque<CachedAnswer> m_answers;
};

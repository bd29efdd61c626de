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
};

/** The answer to one request and what it did to the device. */
struct DeviceOutcome
{
    vxdp::Result result;
    bool announce = false; ///< the description changed: tell the listeners
    bool persist = false;  ///< the stored record changed: write the state file
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
    const vxdp::DeviceDescription &description() const { return m_record.description; }

    /** A (re)start: new boot id and start time; challenges and the reset nonce are forgotten. */
    void boot(std::uint32_t bootId, const std::string &startTime);
    std::uint32_t bootId() const { return m_bootId; }

    /** The device answers at all (not stopped or vanished). */
    bool isUp() const { return m_up; }
    void setUp(bool up) { m_up = up; }

    vxdp::Announce announce(vxdp::AnnounceReason reason) const;

    vxdp::Challenge issueChallenge(std::int64_t nowMs);

    /** Carries out GetKey or one of the sealed requests. */
    DeviceOutcome handle(vxdp::MsgType type, const vxdp::Request &request, const DeviceContext &context);

    bool isLocked(std::int64_t nowMs) const { return nowMs < m_lockedUntilMs; }
    void lock(std::int64_t nowMs, int seconds);

    /** The stored answer to a retransmitted request, or null. */
    const QByteArray *cachedAnswer(const QHostAddress &sender, quint16 port, std::uint32_t txid, vxdp::MsgType type,
                                   std::int64_t nowMs);
    void cacheAnswer(const QHostAddress &sender, quint16 port, std::uint32_t txid, vxdp::MsgType type,
                     const QByteArray &answer, std::int64_t nowMs);

private:
    struct PendingChallenge
    {
        std::array<std::uint8_t, vxdp::kNonceSize> nonce{};
        std::int64_t expiresMs = 0;
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
                                           vxdp::Status *status);
    bool takeChallenge(const std::array<std::uint8_t, vxdp::kNonceSize> &nonce, std::int64_t nowMs);
    vxdp::Status refuse(const DeviceContext &context);
    bool setPassword(std::string_view password, const DeviceContext &context, DeviceOutcome *outcome);

    DeviceOutcome getKey(std::uint8_t command);
    DeviceOutcome activate(const vxdp::Secret &secret, const DeviceContext &context);
    DeviceOutcome modify(const vxdp::Request &request, const vxdp::Secret &secret, const DeviceContext &context);
    DeviceOutcome resetPassword(const vxdp::Secret &secret, const DeviceContext &context);
    DeviceOutcome restore(const vxdp::Secret &secret, const DeviceContext &context);

    DeviceRecord m_record;
    std::uint32_t m_bootId = 0;
    bool m_up = true;
    std::vector<PendingChallenge> m_challenges;
    std::optional<std::array<std::uint8_t, vxdp::kResetNonceSize>> m_resetNonce;
    int m_refusals = 0;
    std::int64_t m_lockedUntilMs = 0;
    std::deque<CachedAnswer> m_answers;
};

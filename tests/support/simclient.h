// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <protocol/codec.h>

#include <QByteArray>
#include <QNetworkInterface>
#include <QUdpSocket>

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

/**
 * @brief A minimal VXDP client on 127.0.0.1 for the tool tests: sends requests
 * to one simulator and waits for the answers, keeping whatever else arrives.
 */
class SimClient
{
public:
    /** A client on @p local (127.0.0.1 unless given) that talks to the simulator by unicast. */
    explicit SimClient(quint16 devicePort, const QHostAddress &local = QHostAddress(QHostAddress::LocalHost));
    /**
     * A client of the LAN scope: listens on the group at @p devicePort + 1 on
     * @p interfaces and sends to the group through the first of them.
     */
    SimClient(quint16 devicePort, const QHostAddress &group, const QList<QNetworkInterface> &interfaces);

    bool isBound() const;

    void send(const std::vector<std::uint8_t> &datagram);
    void sendRaw(const QByteArray &datagram);

    /** The next message that @p match accepts; others stay queued for later calls. */
    std::optional<vxdp::Message> waitFor(const std::function<bool(const vxdp::Message &)> &match, int timeoutMs = 3000);
    /** Drops everything received so far. */
    void discard();

    /** Sends an inquiry and collects the answers until @p expected arrived or the time is up. */
    std::vector<vxdp::Announce> inquire(std::size_t expected, int timeoutMs = 5000);
    std::optional<vxdp::Announce> waitForAnnounce(vxdp::AnnounceReason reason, const std::string &serial,
                                                  int timeoutMs = 3000);

    std::optional<vxdp::Challenge> challenge(const vxdp::Target &target, int timeoutMs = 3000);
    std::optional<vxdp::Result> resultFor(std::uint32_t txid, int timeoutMs = 3000);
    /** Sends an unsealed request (GetKey) and waits for its result. */
    std::optional<vxdp::Result> call(vxdp::MsgType type, const vxdp::Request &request);

    /**
     * A sealed request as the library builds it: asks for a challenge and seals
     * @p secret (its type, nonce and bound hash filled in) to the device's key.
     */
    std::optional<std::vector<std::uint8_t>> sealedRequest(vxdp::MsgType type, const vxdp::Request &request,
                                                           vxdp::Secret secret, std::uint32_t txid);
    /**
     * @brief @p request with @p secret sealed to the key of @p challenge, as the library
     * builds it: the secret's type, the challenge's nonce and the bound hash filled in.
     */
    static vxdp::Request sealedWith(const vxdp::Challenge &challenge, vxdp::MsgType type, vxdp::Request request,
                                    vxdp::Secret secret);
    /** Builds, sends and waits for a sealed request. */
    std::optional<vxdp::Result> sealed(vxdp::MsgType type, const vxdp::Request &request, const vxdp::Secret &secret);

    static vxdp::Target serialTarget(const std::string &serial);
    static std::uint32_t newTxid();

private:
    QUdpSocket m_socket;
    quint16 m_devicePort;
    QHostAddress m_destination = QHostAddress(QHostAddress::LocalHost);
    std::deque<vxdp::Message> m_backlog;
};

/**
 * @brief A 32-byte key of tools/testkeys (the test maker's keys), read from its hex file in the
 *        source tree named by VEXO_SOURCE_DIR; all zero if it cannot be read.
 */
std::array<std::uint8_t, 32> testKey(const char *name);

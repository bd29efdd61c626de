// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simclient.h"

#include <protocol/crypto.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QVariant>

SimClient::SimClient(quint16 devicePort, const QHostAddress &local)
    : m_devicePort(devicePort)
{
    m_socket.bind(local, 0);
    m_socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 * 1024 * 1024);
}

SimClient::SimClient(quint16 devicePort, const QHostAddress &group, const QList<QNetworkInterface> &interfaces)
    : m_devicePort(devicePort)
    , m_destination(group)
{
    m_socket.bind(QHostAddress::AnyIPv4, vxdp::answerPort(devicePort),
                  QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
    for (const QNetworkInterface &iface : interfaces)
        m_socket.joinMulticastGroup(group, iface);
    if (!interfaces.isEmpty())
        m_socket.setMulticastInterface(interfaces.first());
    m_socket.setSocketOption(QAbstractSocket::MulticastTtlOption, 1);
    // Devices on this host hear the group through the loop; a copy that crosses a link
    // between two interfaces of one host is dropped for its local source address.
    m_socket.setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
}

bool SimClient::isBound() const
{
    return m_socket.state() == QAbstractSocket::BoundState;
}

void SimClient::send(const std::vector<std::uint8_t> &datagram)
{
    sendRaw(QByteArray(reinterpret_cast<const char *>(datagram.data()), qsizetype(datagram.size())));
}

void SimClient::sendRaw(const QByteArray &datagram)
{
    m_socket.writeDatagram(datagram, m_destination, m_devicePort);
}

std::optional<vxdp::Message> SimClient::waitFor(const std::function<bool(const vxdp::Message &)> &match, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (std::size_t checked = 0;;) {
        for (; checked < m_backlog.size(); ++checked) {
            if (match(m_backlog[checked])) {
                vxdp::Message message = m_backlog[checked];
                m_backlog.erase(m_backlog.begin() + std::ptrdiff_t(checked));
                return message;
            }
        }
        if (!m_socket.hasPendingDatagrams()
            && (deadline.hasExpired()
                || !m_socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())))))
            return std::nullopt;
        while (m_socket.hasPendingDatagrams()) {
            const QByteArray data = m_socket.receiveDatagram().data();
            const auto decoded
                = vxdp::decode(reinterpret_cast<const std::uint8_t *>(data.constData()), std::size_t(data.size()));
            if (decoded)
                m_backlog.push_back(decoded.message);
        }
    }
}

void SimClient::discard()
{
    while (m_socket.hasPendingDatagrams())
        m_socket.receiveDatagram();
    m_backlog.clear();
}

std::vector<vxdp::Announce> SimClient::inquire(std::size_t expected, int timeoutMs)
{
    const std::uint32_t txid = newTxid();
    send(vxdp::encodeInquiry(txid));
    std::vector<vxdp::Announce> answers;
    const QDeadlineTimer deadline(timeoutMs);
    while (answers.size() < expected) {
        const auto message = waitFor(
            [txid](const vxdp::Message &m) {
                return m.header.type == vxdp::MsgType::Announce && m.header.txid == txid;
            },
            int(std::max<qint64>(0, deadline.remainingTime())));
        if (!message)
            break;
        answers.push_back(message->announce);
    }
    return answers;
}

std::optional<vxdp::Announce> SimClient::waitForAnnounce(vxdp::AnnounceReason reason, const std::string &serial,
                                                         int timeoutMs)
{
    const auto message = waitFor(
        [&](const vxdp::Message &m) {
            return m.header.type == vxdp::MsgType::Announce && m.announce.reason == reason
                   && m.announce.device.serial == serial;
        },
        timeoutMs);
    if (!message)
        return std::nullopt;
    return message->announce;
}

std::optional<vxdp::Challenge> SimClient::challenge(const vxdp::Target &target, int timeoutMs)
{
    const std::uint32_t txid = newTxid();
    vxdp::Request request;
    request.target = target;
    send(vxdp::encodeRequest(vxdp::MsgType::ChallengeRequest, txid, request));
    const auto message = waitFor(
        [txid](const vxdp::Message &m) { return m.header.type == vxdp::MsgType::Challenge && m.header.txid == txid; },
        timeoutMs);
    if (!message)
        return std::nullopt;
    return message->challenge;
}

std::optional<vxdp::Result> SimClient::resultFor(std::uint32_t txid, int timeoutMs)
{
    const auto message = waitFor(
        [txid](const vxdp::Message &m) { return m.header.type == vxdp::MsgType::Result && m.header.txid == txid; },
        timeoutMs);
    if (!message)
        return std::nullopt;
    return message->result;
}

std::optional<vxdp::Result> SimClient::call(vxdp::MsgType type, const vxdp::Request &request)
{
    const std::uint32_t txid = newTxid();
    send(vxdp::encodeRequest(type, txid, request));
    return resultFor(txid);
}

std::optional<std::vector<std::uint8_t>> SimClient::sealedRequest(vxdp::MsgType type, const vxdp::Request &request,
                                                                  vxdp::Secret secret, std::uint32_t txid)
{
    const auto challenge = this->challenge(request.target);
    if (!challenge)
        return std::nullopt;
    return vxdp::encodeRequest(type, txid, sealedWith(*challenge, type, request, std::move(secret)));
}

vxdp::Request SimClient::sealedWith(const vxdp::Challenge &challenge, vxdp::MsgType type, vxdp::Request request,
                                    vxdp::Secret secret)
{
    secret.type = type;
    secret.nonce = challenge.nonce;
    secret.bound = vxdp::hash32(vxdp::boundFields(type, request));
    request.sealed = vxdp::seal(challenge.publicKey, vxdp::encodeSecret(secret));
    return request;
}

std::optional<vxdp::Result> SimClient::sealed(vxdp::MsgType type, const vxdp::Request &request,
                                              const vxdp::Secret &secret)
{
    const std::uint32_t txid = newTxid();
    const auto datagram = sealedRequest(type, request, secret, txid);
    if (!datagram)
        return std::nullopt;
    send(*datagram);
    return resultFor(txid);
}

vxdp::Target SimClient::serialTarget(const std::string &serial)
{
    return vxdp::Target{vxdp::TargetKind::Serial, serial};
}

std::uint32_t SimClient::newTxid()
{
    return vxdp::randomU32() | 1; // never 0, which marks unsolicited announcements
}

std::array<std::uint8_t, 32> testKey(const char *name)
{
    QFile file(qEnvironmentVariable("VEXO_SOURCE_DIR") + QStringLiteral("/tools/testkeys/") + QLatin1String(name));
    std::array<std::uint8_t, 32> key{};
    if (!file.open(QIODevice::ReadOnly))
        return key;
    const QByteArray hex = file.readAll().trimmed();
    const auto bytes = vxdp::fromHex(std::string_view(hex.constData(), std::size_t(hex.size())));
    if (bytes && bytes->size() == key.size())
        std::copy(bytes->begin(), bytes->end(), key.begin());
    return key;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "hostileonvifpeer.h"

#include <onvifhttp.h>
#include <wsdiscovery.h>

#include <QDateTime>
#include <QNetworkDatagram>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QUuid>

#include <algorithm>
#include <utility>

namespace {

QString newMessageId()
{
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

QByteArray operationOf(const QByteArray &body)
{
    static const QRegularExpression first(QStringLiteral(R"(<(?:\w+:)?Body[^>]*>\s*<(?:\w+:)?(\w+))"));
    return first.match(QString::fromUtf8(body)).captured(1).toUtf8();
}

} // namespace

HostileOnvifPeer::HostileOnvifPeer(const QHostAddress &own, quint16 simulatorWsdPort, QObject *parent)
    : QObject(parent)
    , m_own(own)
    , m_simulatorPort(simulatorWsdPort)
{}

HostileOnvifPeer::~HostileOnvifPeer() = default;

bool HostileOnvifPeer::start()
{
    m_front = std::make_unique<QUdpSocket>();
    m_upstream = std::make_unique<QUdpSocket>();
    m_http = std::make_unique<QTcpServer>();
    if (!m_front->bind(QHostAddress::LocalHost, 0) || !m_upstream->bind(QHostAddress::LocalHost, 0)
        || !m_http->listen(m_own, 0))
        return false;
    connect(m_front.get(), &QUdpSocket::readyRead, this, &HostileOnvifPeer::fromClient);
    connect(m_upstream.get(), &QUdpSocket::readyRead, this, &HostileOnvifPeer::fromSimulator);
    connect(m_http.get(), &QTcpServer::newConnection, this, &HostileOnvifPeer::serveConnection);
    return true;
}

quint16 HostileOnvifPeer::wsdPort() const
{
    return m_front ? m_front->localPort() : 0;
}

void HostileOnvifPeer::impersonate(OnvifDeviceState device)
{
    device.ipv4 = m_own.toString();
    device.httpPort = m_http ? m_http->serverPort() : 0;
    m_device = std::make_unique<OnvifDevice>(std::move(device));
}

void HostileOnvifPeer::reannounce()
{
    if (!m_device)
        return;
    for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it) {
        send(m_device->bye(newMessageId()), m_own, QHostAddress(it.key()), it.value());
        send(m_device->hello(newMessageId()), m_own, QHostAddress(it.key()), it.value());
    }
}

void HostileOnvifPeer::helloMadeUp(int count)
{
    if (!m_device)
        return;
    OnvifDevice phantom(m_device->state());
    for (int i = 0; i < count; ++i) {
        phantom.state().endpoint = QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it)
            send(phantom.hello(newMessageId()), m_own, QHostAddress(it.key()), it.value());
    }
}

bool HostileOnvifPeer::receivedCredentials() const
{
    return std::any_of(m_received.cbegin(), m_received.cend(), [](const Request &r) { return r.credentials; });
}

bool HostileOnvifPeer::receivedChange() const
{
    return std::any_of(m_received.cbegin(), m_received.cend(),
                       [](const Request &r) { return r.operation.startsWith("Set") || r.operation == "SystemReboot"; });
}

void HostileOnvifPeer::send(const QByteArray &datagram, const QHostAddress &from, const QHostAddress &to, quint16 port)
{
    // From that address, as the device there would send it.
    std::unique_ptr<QUdpSocket> &speaker = m_speakers[from.toString()];
    if (!speaker) {
        speaker = std::make_unique<QUdpSocket>();
        speaker->bind(from, 0);
    }
    speaker->writeDatagram(datagram, to, port);
}

void HostileOnvifPeer::fromClient()
{
    while (m_front->hasPendingDatagrams()) {
        const QNetworkDatagram d = m_front->receiveDatagram();
        const auto probe = onvif::discovery::parseMessage(d.data());
        if (!probe || probe.value->kind != onvif::discovery::Message::Kind::Probe)
            continue;
        m_clients.insert(d.senderAddress().toString(), quint16(d.senderPort()));
        if (m_simulatorPort != 0)
            m_upstream->writeDatagram(d.data(), QHostAddress::LocalHost, m_simulatorPort);
        answer(probe.value->messageId.toUtf8(), d.senderAddress(), quint16(d.senderPort()));
    }
}

void HostileOnvifPeer::fromSimulator()
{
    while (m_upstream->hasPendingDatagrams()) {
        const QNetworkDatagram d = m_upstream->receiveDatagram();
        // Devices may wait up to half a second before they answer a Probe: the genuine ones here
        // take 300 ms, and the peer answers at once.
        QTimer::singleShot(kGenuineDelayMs, this, [this, d] { relay(d); });
    }
}

void HostileOnvifPeer::relay(const QNetworkDatagram &d)
{
    const auto message = onvif::discovery::parseMessage(d.data());
    for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it) {
        send(d.data(), d.senderAddress(), QHostAddress(it.key()), it.value());
        // Its own answer again right after the genuine one: a client that believes the last
        // word hears the peer's.
        if (message && message.value->kind == onvif::discovery::Message::Kind::ProbeMatches && m_device
            && message.value->targets.value(0).endpoint == m_device->state().endpoint)
            send(m_device->probeMatches(message.value->relatesTo, newMessageId()), m_own, QHostAddress(it.key()),
                 it.value());
    }
}

void HostileOnvifPeer::answer(const QByteArray &relatesTo, const QHostAddress &client, quint16 port)
{
    if (!m_device)
        return;
    send(m_device->probeMatches(QString::fromUtf8(relatesTo), newMessageId()), m_own, client, port);
    if (m_flood <= 0)
        return;
    // Made-up devices, each with an endpoint of its own, all at this one address.
    OnvifDevice phantom(m_device->state());
    const int count = std::exchange(m_flood, 0);
    for (int i = 0; i < count; ++i) {
        phantom.state().endpoint = QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        send(phantom.probeMatches(QString::fromUtf8(relatesTo), newMessageId()), m_own, client, port);
    }
}

void HostileOnvifPeer::serveConnection()
{
    while (QTcpSocket *socket = m_http->nextPendingConnection()) {
        auto reader = std::make_shared<HttpRequestReader>(OnvifDevice::kMaxBodyBytes);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, reader] {
            reader->append(socket->readAll());
            while (auto request = reader->next()) {
                const bool token = request->body.contains("UsernameToken");
                m_received.append({operationOf(request->body), token || !request->header("Authorization").isNull()});
                if (!m_device)
                    return socket->abort();
                socket->write(
                    m_device->handle(*request, QDateTime::currentDateTimeUtc()).serialize(reader->keepAlive()));
                if (!reader->keepAlive())
                    socket->disconnectFromHost();
            }
        });
    }
}

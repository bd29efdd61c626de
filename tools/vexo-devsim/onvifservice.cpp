// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifservice.h"

#include "onvifhttp.h"
#include "snapshotpainter.h"

#include <wsdiscovery.h>

#include <QNetworkDatagram>
#include <QPointer>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <QUuid>

#include <cstdio>

namespace {

const QHostAddress kGroup(QStringLiteral("239.255.255.250"));
constexpr quint16 kGroupPort = 3702;
constexpr qint64 kClientLifetimeMs = 120'000;

QString newMessageId()
{
    return QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

OnvifService::OnvifService(bool loopbackScope, quint16 wsdPort, std::vector<OnvifDeviceState> devices, QObject *parent)
    : QObject(parent)
    , m_loopback(loopbackScope)
    , m_requestedPort(wsdPort)
{
    m_devices.reserve(devices.size());
    for (OnvifDeviceState &s : devices) {
        m_devices.push_back(Device{std::make_unique<OnvifDevice>(std::move(s)), nullptr, nullptr, nullptr, true});
        m_devices.back().state->setSnapshotSource(&SnapshotPainter::jpeg);
    }
}

OnvifService::~OnvifService() = default;

bool OnvifService::start(QString *error)
{
    m_clock.start();
    m_socket = std::make_unique<QUdpSocket>();
    if (m_loopback) {
        if (!m_socket->bind(QHostAddress::LocalHost, m_requestedPort)) {
            *error = QStringLiteral("cannot bind the WS-Discovery responder to 127.0.0.1:%1: %2")
                         .arg(m_requestedPort)
                         .arg(m_socket->errorString());
            return false;
        }
    } else {
        if (!m_socket->bind(QHostAddress::AnyIPv4, m_requestedPort,
                            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
            *error = QStringLiteral("cannot bind the WS-Discovery responder to port %1: %2")
                         .arg(m_requestedPort)
                         .arg(m_socket->errorString());
            return false;
        }
        m_socket->setSocketOption(QAbstractSocket::MulticastTtlOption, 1);
        m_socket->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
        const auto all = QNetworkInterface::allInterfaces();
        for (const QNetworkInterface &iface : all) {
            const auto flags = iface.flags();
            if (flags.testFlag(QNetworkInterface::IsUp) && flags.testFlag(QNetworkInterface::CanMulticast)
                && !flags.testFlag(QNetworkInterface::IsLoopBack) && m_socket->joinMulticastGroup(kGroup, iface))
                m_interfaces.append(iface);
        }
    }
    connect(m_socket.get(), &QUdpSocket::readyRead, this, &OnvifService::readDatagrams);
    for (Device &d : m_devices) {
        serve(d);
        if (d.serving())
            announce(d.state->hello(newMessageId()), d);
    }
    return true;
}

quint16 OnvifService::wsdPort() const
{
    return m_socket ? m_socket->localPort() : 0;
}

bool OnvifService::reachable(const QString &ipv4) const
{
    const QHostAddress address(ipv4);
    if (m_loopback)
        return address.isInSubnet(QHostAddress(QStringLiteral("127.0.0.0")), 8);
    // Outside a test's own namespace a device may only be where this host is.
    const auto all = QNetworkInterface::allAddresses();
    return address.isLoopback() || all.contains(address);
}

std::unique_ptr<QTcpServer> OnvifService::listen(Device &d, std::unique_ptr<QTcpServer> server, quint16 *port)
{
    OnvifDeviceState &s = d.state->state();
    server->setMaxPendingConnections(kMaxConnectionsPerDevice);
    if (!server->listen(QHostAddress(s.ipv4), *port)) {
        // The port may be taken by now: any free one rather than none.
        if (*port == 0 || !server->listen(QHostAddress(s.ipv4), 0)) {
            std::fprintf(stderr, "vexo-devsim: ONVIF device %s cannot serve on %s: %s\n", qPrintable(s.serial),
                         qPrintable(s.ipv4), qPrintable(server->errorString()));
            return nullptr;
        }
    }
    if (*port != server->serverPort()) {
        *port = server->serverPort();
        emit changed(s.serial);
    }
    return server;
}

void OnvifService::serve(Device &d)
{
    OnvifDeviceState &s = d.state->state();
    if (!d.up || !reachable(s.ipv4))
        return;
    // Each device speaks WS-Discovery from its own address, as devices on a segment do.
    auto speaker = std::make_unique<QUdpSocket>();
    if (speaker->bind(QHostAddress(s.ipv4), 0)) {
        speaker->setSocketOption(QAbstractSocket::MulticastTtlOption, 1);
        speaker->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
        d.speaker = std::move(speaker);
    }
    if (s.servesHttp()) {
        d.server = listen(d, std::make_unique<QTcpServer>(), &s.httpPort);
        if (QTcpServer *server = d.server.get())
            connect(server, &QTcpServer::newConnection, this, [this, &d, server] { accept(d, server); });
    }
    if (!s.https)
        return;
    const QSslCertificate certificate(s.tlsCertificatePem, QSsl::Pem);
    const QSslKey key(s.tlsKeyPem, QSsl::Ec, QSsl::Pem);
    if (certificate.isNull() || key.isNull()) {
        std::fprintf(stderr, "vexo-devsim: ONVIF device %s has no usable certificate for HTTPS\n",
                     qPrintable(s.serial));
        return;
    }
    auto secure = std::make_unique<QSslServer>();
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(certificate);
    tls.setPrivateKey(key);
    tls.setProtocol(QSsl::TlsV1_2OrLater);
    tls.setPeerVerifyMode(QSslSocket::VerifyNone);
    secure->setSslConfiguration(tls);
    auto served = listen(d, std::move(secure), &s.httpsPort);
    if (!served)
        return;
    d.secure.reset(static_cast<QSslServer *>(served.release()));
    // A TLS connection is pending only once its handshake is done.
    QTcpServer *server = d.secure.get();
    connect(server, &QTcpServer::pendingConnectionAvailable, this, [this, &d, server] { accept(d, server); });
}

void OnvifService::unserve(Device &d)
{
    d.speaker.reset();
    // Open connections are closed with the server's children.
    d.server.reset();
    d.secure.reset();
}

void OnvifService::accept(Device &d, QTcpServer *server)
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        if (server->findChildren<QTcpSocket *>().size() > kMaxConnectionsPerDevice) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto reader = std::make_shared<HttpRequestReader>(OnvifDevice::kMaxBodyBytes);
        auto *idle = new QTimer(socket);
        idle->setSingleShot(true);
        idle->start(kSlowClientMs);
        // A client that sends no whole request within kSlowClientMs loses its connection.
        connect(idle, &QTimer::timeout, socket, [socket, reader] {
            if (reader->hasPartial()) {
                HttpResponse timeout;
                timeout.status = 408;
                socket->write(timeout.serialize(false));
            }
            socket->disconnectFromHost();
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, &d, socket, reader, idle] {
            reader->append(socket->readAll());
            // The clock runs per request: trickling bytes does not keep a connection.
            while (auto request = reader->next()) {
                idle->start(kSlowClientMs);
                const HttpResponse response = d.state->handle(*request, QDateTime::currentDateTimeUtc());
                if (response.closeWithoutAnswer) {
                    socket->abort();
                    return;
                }
                const bool keepAlive = reader->keepAlive();
                if (response.delayMs > 0) {
                    // A slow camera: the connection stays open and silent until the answer goes.
                    idle->stop();
                    QTimer::singleShot(response.delayMs, socket, [socket, bytes = response.serialize(false)] {
                        socket->write(bytes);
                        socket->disconnectFromHost();
                    });
                    return;
                }
                socket->write(response.serialize(keepAlive));
                socket->flush();
                if (!keepAlive)
                    socket->disconnectFromHost();
                applyEffects(d);
                if (!keepAlive)
                    return;
            }
            if (reader->takeContinue())
                socket->write("HTTP/1.1 100 Continue\r\n\r\n");
            if (const int status = reader->failed()) {
                HttpResponse refusal;
                refusal.status = status;
                socket->write(refusal.serialize(false));
                socket->disconnectFromHost();
            }
        });
    }
}

void OnvifService::applyEffects(Device &d)
{
    const OnvifDevice::Effects effects = d.state->takeEffects();
    const QString serial = d.state->state().serial;
    if (!effects.moved && !effects.reboot) {
        emit changed(serial);
        return;
    }
    // The answer is on its way first; the move or restart comes once the event loop is back.
    QTimer::singleShot(effects.reboot ? 50 : 0, this, [this, serial, effects] {
        Device *device = deviceOf(serial);
        if (!device)
            return;
        if (effects.reboot) {
            announce(device->state->bye(newMessageId()), *device);
            unserve(*device);
            QTimer::singleShot(kRebootMs, this, [this, serial] {
                Device *rebooted = deviceOf(serial);
                if (!rebooted || !rebooted->up)
                    return;
                rebooted->state->reboot();
                serve(*rebooted);
                if (rebooted->serving())
                    announce(rebooted->state->hello(newMessageId()), *rebooted);
                emit changed(serial);
            });
            return;
        }
        unserve(*device);
        serve(*device);
        announce(device->serving() ? device->state->hello(newMessageId()) : device->state->bye(newMessageId()),
                 *device);
        emit changed(serial);
    });
}

void OnvifService::readDatagrams()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram(onvif::discovery::kMaxDatagramBytes);
        if (m_loopback && !datagram.senderAddress().isLoopback())
            continue;
        const auto message = onvif::discovery::parseMessage(datagram.data());
        if (!message || message.value->kind != onvif::discovery::Message::Kind::Probe)
            continue;
        if (m_loopback)
            m_clients.insert({datagram.senderAddress(), quint16(datagram.senderPort())}, m_clock.elapsed());
        for (Device &d : m_devices) {
            if (!d.serving() || !d.state->matchesProbe(message.value->probeTypes))
                continue;
            speakerOf(d)->writeDatagram(d.state->probeMatches(message.value->messageId, newMessageId()),
                                        datagram.senderAddress(), quint16(datagram.senderPort()));
        }
    }
}

QUdpSocket *OnvifService::speakerOf(Device &d) const
{
    return d.speaker ? d.speaker.get() : m_socket.get();
}

void OnvifService::announce(const QByteArray &message, Device &from)
{
    // Some cameras never announce themselves: they are found by Probe alone.
    if (!m_socket || from.state->state().has(OnvifQuirk::Silent))
        return;
    QUdpSocket *speaker = speakerOf(from);
    if (m_loopback) {
        const qint64 now = m_clock.elapsed();
        for (auto it = m_clients.begin(); it != m_clients.end();) {
            if (now - it.value() > kClientLifetimeMs) {
                it = m_clients.erase(it);
                continue;
            }
            speaker->writeDatagram(message, it.key().first, it.key().second);
            ++it;
        }
        return;
    }
    for (const QNetworkInterface &iface : std::as_const(m_interfaces)) {
        speaker->setMulticastInterface(iface);
        speaker->writeDatagram(message, kGroup, kGroupPort);
    }
}

OnvifService::Device *OnvifService::deviceOf(const QString &serial)
{
    for (Device &d : m_devices) {
        if (d.state->state().serial == serial)
            return &d;
    }
    return nullptr;
}

OnvifDevice *OnvifService::find(const QString &serial)
{
    Device *d = deviceOf(serial);
    return d ? d->state.get() : nullptr;
}

bool OnvifService::isUp(const QString &serial) const
{
    for (const Device &d : m_devices) {
        if (d.state->state().serial == serial)
            return d.up;
    }
    return false;
}

void OnvifService::setUp(const QString &serial, bool up, bool quietly)
{
    Device *d = deviceOf(serial);
    if (!d || d->up == up)
        return;
    if (!up) {
        if (d->server && !quietly)
            announce(d->state->bye(newMessageId()), *d);
        unserve(*d);
        d->up = false;
        return;
    }
    d->up = true;
    serve(*d);
    if (d->serving())
        announce(d->state->hello(newMessageId()), *d);
}

void OnvifService::readdress(const QString &serial, const QString &ipv4)
{
    Device *d = deviceOf(serial);
    if (!d || d->state->state().ipv4 == ipv4)
        return;
    if (d->serving())
        announce(d->state->bye(newMessageId()), *d);
    unserve(*d);
    d->state->state().ipv4 = ipv4;
    ++d->state->state().metadataVersion;
    serve(*d);
    if (d->serving())
        announce(d->state->hello(newMessageId()), *d);
}

void OnvifService::shutdown()
{
    for (Device &d : m_devices) {
        if (d.serving())
            announce(d.state->bye(newMessageId()), d);
        unserve(d);
    }
}

std::vector<OnvifDeviceState> OnvifService::states() const
{
    std::vector<OnvifDeviceState> out;
    out.reserve(m_devices.size());
    for (const Device &d : m_devices)
        out.push_back(d.state->state());
    return out;
}

QStringList OnvifService::listLines() const
{
    QStringList lines;
    for (const Device &d : m_devices) {
        const OnvifDeviceState &s = d.state->state();
        if (s.alsoVxdp)
            continue;
        lines.append(QStringLiteral("%1 %2 %3 1 onvif")
                         .arg(s.serial, QString(s.mac).replace(QLatin1Char(':'), QLatin1Char('-')), s.ipv4));
    }
    return lines;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <onvifdevice.h>

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QObject>

#include <memory>
#include <unordered_map>

class QNetworkDatagram;
class QTcpServer;
class QUdpSocket;

/**
 * @brief An ONVIF device that lies, for the tests: it stands between a client and the
 *        simulator's WS-Discovery port as the segment would, and answers as a device of its own.
 *
 * Clients probe wsdPort(). Their Probes go on to the simulator, and its answers, Hellos and Byes
 * come back to them from the simulated devices' own addresses, as on a segment. The peer adds
 * its own answers from its own address: the device it impersonates (any endpoint, MAC and
 * serial number it likes, its service at its own address), and on request a flood of made-up
 * endpoints. Its device service accepts the user's password, as one that accepts any would, and
 * keeps what every request asked and whether it carried credentials.
 */
class HostileOnvifPeer : public QObject
{
public:
    /** @brief One request the peer's device service received. */
    struct Request
    {
        QByteArray operation;     ///< the SOAP body's first element, "GetDeviceInformation", "SetUser", ...
        bool credentials = false; ///< an HTTP Authorization header, or a WS-Security UsernameToken
    };

    /** @brief A peer at @p own (a loopback address) in front of the simulator's WS-Discovery port. */
    HostileOnvifPeer(const QHostAddress &own, quint16 simulatorWsdPort, QObject *parent = nullptr);
    ~HostileOnvifPeer() override;

    bool start();
    /** @brief The port clients probe instead of the simulator's. */
    quint16 wsdPort() const;

    /** @brief Answers every Probe as @p device; its address and port become the peer's own. */
    void impersonate(OnvifDeviceState device);
    /** @brief Says Bye and Hello again as the impersonated device, to every client that probed. */
    void reannounce();
    /** @brief Says Hello as @p count made-up endpoints, to every client that probed. */
    void helloMadeUp(int count);
    /** @brief Answers the next Probe with @p count made-up endpoints besides. */
    void floodNextProbe(int count) { m_flood = count; }

    QList<Request> received() const { return m_received; }
    /** @brief Whether any request carried credentials, or asked for a change (Set*, SystemReboot). */
    bool receivedCredentials() const;
    bool receivedChange() const;

private:
    static constexpr int kGenuineDelayMs = 300;

    void fromClient();
    void fromSimulator();
    void relay(const QNetworkDatagram &datagram);
    void answer(const QByteArray &relatesTo, const QHostAddress &client, quint16 port);
    void serveConnection();
    void send(const QByteArray &datagram, const QHostAddress &from, const QHostAddress &to, quint16 port);

    QHostAddress m_own;
    quint16 m_simulatorPort = 0;
    std::unique_ptr<QUdpSocket> m_front;    // where clients probe
    std::unique_ptr<QUdpSocket> m_upstream; // towards the simulator
    std::unique_ptr<QTcpServer> m_http;
    std::unique_ptr<OnvifDevice> m_device;
    QHash<QString, quint16> m_clients;                                   // address -> port
    std::unordered_map<QString, std::unique_ptr<QUdpSocket>> m_speakers; // by the address they send from
    int m_flood = 0;
    QList<Request> m_received;
};

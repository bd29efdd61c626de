// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "onvifdevice.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class QSslServer;
class QTcpServer;
class QTcpSocket;
class QUdpSocket;

/**
 * @brief The simulator's ONVIF devices on the wire: one WS-Discovery responder for all of
 * them and one HTTP/1.1 server per device, bound to the device's own address.
 *
 * Loopback scope: the responder binds 127.0.0.1, answers Probes unicast and sends Hello and
 * Bye unicast to every address that probed within the last two minutes; a device serves HTTP
 * only from an address in 127.0.0.0/8, and one re-addressed elsewhere says Bye and goes
 * unreachable. LAN scope: the responder also joins 239.255.255.250 on every multicast-capable
 * adapter and multicasts Hello and Bye there. The devices' state machines (OnvifDevice) do
 * the rest; this class only carries bytes and timers. A device with HTTPS also serves over TLS
 * (1.2 and later) with its own certificate on a port of its own, or over TLS only.
 */
class OnvifService : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlowClientMs = 10000;
    static constexpr int kMaxConnectionsPerDevice = 32;
    static constexpr int kRebootMs = 1000;

    OnvifService(bool loopbackScope, quint16 wsdPort, std::vector<OnvifDeviceState> devices, QObject *parent = nullptr);
    ~OnvifService() override;

    /** @brief Binds the responder and every device's HTTP server, and says Hello. */
    bool start(QString *error);
    quint16 wsdPort() const;

    /** @brief Every device's state, for the state file. */
    std::vector<OnvifDeviceState> states() const;
    /** @brief The console's "list" lines of the ONVIF-only devices. */
    QStringList listLines() const;
    /** @brief The device with serial number @p serial, or nullptr. */
    OnvifDevice *find(const QString &serial);
    bool isUp(const QString &serial) const;
    /** @brief Stops (Bye unless @p quietly, HTTP closed) or starts (HTTP served, Hello) a device. */
    void setUp(const QString &serial, bool up, bool quietly = false);
    /** @brief Moves a device to another address and says so (the console's "set ... ipv4"). */
    void readdress(const QString &serial, const QString &ipv4);
    /** @brief Bye for every device that is up. */
    void shutdown();

signals:
    /** @brief A device's state changed through a request (to be saved). */
    void changed(const QString &serial);

private:
    struct Device
    {
        std::unique_ptr<OnvifDevice> state;
        std::unique_ptr<QTcpServer> server;
        std::unique_ptr<QSslServer> secure;
        std::unique_ptr<QUdpSocket> speaker; // WS-Discovery from the device's own address, while it serves
        bool up = true;
        bool serving() const { return server || secure; }
    };
    void readDatagrams();
    void serve(Device &device);
    void unserve(Device &device);
    void accept(Device &device, QTcpServer *server);
    std::unique_ptr<QTcpServer> listen(Device &device, std::unique_ptr<QTcpServer> server, quint16 *port);
    void announce(const QByteArray &message, Device &from);
    QUdpSocket *speakerOf(Device &device) const;
    void applyEffects(Device &device);
    Device *deviceOf(const QString &serial);
    bool reachable(const QString &ipv4) const;

    bool m_loopback = true;
    quint16 m_requestedPort = 0;
    std::vector<Device> m_devices;
    std::unique_ptr<QUdpSocket> m_socket;
    QList<QNetworkInterface> m_interfaces;
    QHash<QPair<QHostAddress, quint16>, qint64> m_clients; ///< loopback prober -> last probe (ms)
    QElapsedTimer m_clock;
};

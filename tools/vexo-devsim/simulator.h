// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "devicerecord.h"
#include "onvifservice.h"
#include "simdevice.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QNetworkInterface>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <map>
#include <memory>
#include <random>
#include <vector>

class QNetworkDatagram;
class QTimer;
class QUdpSocket;

/**
 * @brief Plays a population of devices behind one UDP socket.
 *
 * In the loopback scope it answers the sender by unicast and sends its
 * announcements to every client that inquired within the last two minutes;
 * in the LAN scope everything goes to the multicast group on the devices'
 * answer port. The LAN scope also listens on the IPv6 link-local group
 * (vxdp::kLinkLocalGroup) of every adapter with a link-local address: what comes
 * that way is answered to the sender's link-local address, and announcements go
 * to that group too. Adapters that come up later are joined within a second. Outgoing datagrams are paced in small bursts so that a
 * receiver on the same host is not flooded.
 */
class Simulator : public QObject
{
    Q_OBJECT

public:
    enum class Scope { Lan, Loopback };

    struct Options
    {
        Scope scope = Scope::Lan;
        quint16 port = vxdp::kDefaultDevicePort;
        QHostAddress group;
        int replySpreadMs = 0;
        int delayMs = 0;
        double lossPercent = 0;
        std::uint64_t seed = 1;
        int lockoutSeconds = 60;
        bool testMode = false;
        QString statePath;    ///< empty: nothing is stored
        std::string password; ///< given to devices that "set ... inactive 0" makes activated
        QStringList silent;   ///< serial numbers of devices that never send anything
        std::array<std::uint8_t, 32> makerPublicKey{};
        vxdp::SignKeyPair deviceCa; ///< issues certificates for "rekey" and "set ... certificate"
    };

    Simulator(const Options &options, std::vector<DeviceRecord> devices, QObject *parent = nullptr);
    ~Simulator() override;

    /**
     * Gives the simulator its ONVIF devices (before start()): ONVIF-only ones and the ONVIF
     * face of own devices with the same serial number, kept at one address.
     */
    void attachOnvif(std::unique_ptr<OnvifService> onvif);
    /** The WS-Discovery responder's port; 0 without ONVIF devices. */
    quint16 onvifPort() const { return m_onvif ? m_onvif->wsdPort() : 0; }

    /** Binds the socket, boots every device and announces it. */
    bool start(QString *error);
    quint16 port() const;

    /**
     * Runs one console command and returns the lines to print, the last one
     * being "ok" or "error <why>". Sets @p quit for "quit".
     */
    QStringList execute(const QString &line, bool *quit);

    /** Says goodbye for every device that is up and sends everything still queued. */
    void shutdown();

    /** Counts of what was received and dropped, one "name value" item per line. */
    QStringList statistics() const;

private:
    struct Outgoing
    {
        QByteArray data;
        QHostAddress address;
        quint16 port = 0;
        int interfaceIndex = 0;
    };

    /** Joins the IPv4 and IPv6 groups of the LAN scope on the adapters that have not joined yet. */
    void joinGroups();
    /** Opens the IPv6 socket of the LAN scope once; false where the host has no IPv6. */
    bool openSocket6();
    static void tune(QUdpSocket &socket);
    void readPending(QUdpSocket *socket);
    void handleDatagram(const QNetworkDatagram &datagram);
    void answerInquiry(const QNetworkDatagram &datagram, std::uint32_t txid);
    void sendPending();
    void sendBurst(std::int64_t dueBy);
    void scheduleSend();
    void queue(std::int64_t dueMs, Outgoing out);
    void queueAnswer(const QNetworkDatagram &request, const QByteArray &data, std::int64_t dueMs);
    void queueAnnouncement(SimDevice &device, vxdp::AnnounceReason reason, std::int64_t extraDelayMs = 0);
    void boot(SimDevice &device);
    void persist();
    SimDevice *findDevice(const vxdp::Target &target);
    SimDevice *findBySerial(const QString &serial);
    DeviceContext context(const QHostAddress &sender) const;
    bool setCertificate(SimDevice &device, const QString &kind, QString *error);
    std::int64_t nowMs() const { return m_clock.elapsed(); }
    bool setField(SimDevice &device, const QString &field, const QString &value, QString *error);
    QStringList executeOnvif(const QStringList &parts);
    /** Carries an address change made over one protocol to the other face of the same device. */
    void syncAddress(SimDevice &device);
    void onvifChanged(const QString &serial);

    Options m_options;
    std::vector<SimDevice> m_devices;
    QHash<QByteArray, std::size_t> m_bySerial;
    QHash<quint64, std::size_t> m_byMac;
    QSet<QByteArray> m_silent;
    // Extra time each slow device takes over everything it sends but challenges.
    QHash<QByteArray, int> m_answerDelayMs;
    std::unique_ptr<QUdpSocket> m_socket;
    std::unique_ptr<QUdpSocket> m_socket6; ///< LAN scope: the IPv6 link-local group; null without IPv6
    QTimer *m_sendTimer = nullptr;
    QElapsedTimer m_clock;
    QList<QNetworkInterface> m_interfaces;
    QList<QNetworkInterface> m_interfaces6; ///< where the IPv6 link-local group is joined
    /**
     * The answers to the latest requests by their exact bytes: a program that reaches a device
     * over IPv4 and IPv6 sends each request both ways, and the second copy is answered, not
     * carried out again (a wrong password counts once, a challenge is issued once).
     */
    struct StoredAnswer
    {
        QByteArray answer;
        std::int64_t atMs = 0;
    };
    QHash<QByteArray, StoredAnswer> m_answeredRequests;
    // Loopback clients and when they last inquired.
    QHash<QPair<QHostAddress, quint16>, std::int64_t> m_clients;
    std::multimap<std::int64_t, Outgoing> m_outbox;
    std::mt19937_64 m_lossRng;
    std::string m_defaultPasswordHash;
    std::map<QString, quint64> m_counters;
    std::unique_ptr<OnvifService> m_onvif;
};

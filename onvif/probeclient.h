// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "clientoptions.h"
#include "wsdiscovery.h"

#include <QHash>
#include <QHostAddress>
#include <QList>
#include <QSet>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

class QUdpSocket;

namespace onvif {

/**
 * @brief Finds ONVIF devices with WS-Discovery and follows them: Probes in rounds, Hello, Bye.
 *
 * In the LAN scope the client probes the WS-Discovery group from every adapter that is up,
 * multicast-capable, not loopback and has an IPv4 address (adapters that come and go are
 * followed), reads the ProbeMatches sent back to each probing socket and listens for Hello and
 * Bye on the group. In the loopback scope it binds 127.0.0.1 alone, probes 127.0.0.1 at the
 * discovery port and ignores every datagram from outside 127.0.0.0/8.
 *
 * A round sends its Probe three times, each as two copies a tenth of a second apart, so that a
 * lost datagram does not hide a device; one round goes out at start, on probe() and on every
 * automatic period. A device is keyed by its endpoint address: repeated matches and copies heard
 * on several adapters are one device. It leaves on Bye, or after Options::silentRounds automatic
 * rounds without being heard. Datagrams that are too large, malformed, or answer a Probe this
 * client did not send are counted and dropped.
 *
 * One sender address holds at most kMaxUnidentifiedPerSender endpoints that are not yet
 * identified (setIdentified()): a host that announces more, as a flood of made-up endpoints
 * would, has the further ones dropped and counted, and is logged once. Admission costs one
 * hash lookup per endpoint, whatever the number of devices.
 *
 * Lives in the thread that created it (which needs an event loop) and signals there.
 */
class ProbeClient : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        ClientOptions scope;
        int intervalMs = 10000;           ///< automatic period between rounds
        int silentRounds = 3;             ///< automatic rounds without a word before a device is taken as gone
        int maxUnidentifiedPerSender = 8; ///< endpoints a sender may announce before any is identified
    };

    /** @brief A device as discovery knows it, and where it was heard. */
    struct Device
    {
        discovery::Target target;
        QHostAddress adapterAddress; ///< this host's address on the adapter the device was heard on
        QHostAddress sender;         ///< the address the device's datagram came from
    };

    explicit ProbeClient(const Options &options, QObject *parent = nullptr);
    ~ProbeClient() override;

    /** @brief Opens the sockets and sends the first round; false with @p error when no socket opens. */
    bool start(QString *error = nullptr);
    /** @brief Closes the sockets and forgets the devices (without deviceLeft). */
    void stop();
    bool isRunning() const { return m_running; }
    /** @brief Starts a quick round now (as a user's Refresh does). */
    void probe();

    QList<Device> devices() const { return m_devices.values(); }
    /** @brief Datagrams dropped as too large, malformed, unsolicited or from outside the scope. */
    quint64 droppedDatagrams() const { return m_dropped; }
    /** @brief Endpoints dropped because their sender already had too many unidentified ones. */
    quint64 droppedEndpoints() const { return m_droppedEndpoints; }
    /**
     * @brief The device under @p endpoint was identified: it no longer counts against its
     *        sender's unidentified endpoints.
     */
    void setIdentified(const QString &endpoint);
    /** @brief Adapters probed from (LAN scope), or 127.0.0.1 (loopback scope). */
    QList<QHostAddress> adapterAddresses() const;

signals:
    void deviceFound(const onvif::ProbeClient::Device &device);
    /** @brief The device's service addresses or metadata version changed. */
    void deviceChanged(const onvif::ProbeClient::Device &device);
    void deviceLeft(const QString &endpoint);

private:
    struct Adapter;

    void rescanAdapters();
    QUdpSocket *openProbeSocket(const QHostAddress &address);
    void startRound();
    void automaticRound();
    void sendProbe();
    void readDatagrams(QUdpSocket *socket, const QHostAddress &adapterAddress);
    void handle(const QByteArray &datagram, const QHostAddress &sender, const QHostAddress &adapterAddress);
    void heard(const discovery::Target &target, const QHostAddress &sender, const QHostAddress &adapterAddress);
    void forget(const QString &endpoint);

    Options m_options;
    bool m_running = false;
    std::vector<std::unique_ptr<Adapter>> m_adapters;
    std::unique_ptr<QUdpSocket> m_groupListener; // LAN scope: Hello and Bye on the group
    QTimer m_roundTimer;                         // the copies of the current round
    QTimer m_periodTimer;                        // automatic rounds
    QTimer m_rescanTimer;                        // adapters that come and go
    int m_roundStep = 0;
    quint64 m_automaticRounds = 0;
    QStringList m_sentMessageIds; // the latest Probes' MessageIDs, which ProbeMatches must answer
    QHash<QString, Device> m_devices;
    // Where each endpoint was first heard: only that address can say it leaves.
    QHash<QString, QHostAddress> m_firstSender;
    QHash<QString, quint64> m_lastHeardRound;
    quint64 m_dropped = 0;
    // Unidentified endpoints per sender (IPv4 address as a number), and the senders that were
    // refused an endpoint (logged once each).
    QHash<QString, quint32> m_unidentifiedSender; // endpoint -> its sender, while it is unidentified
    QHash<quint32, int> m_unidentifiedOfSender;
    QSet<quint32> m_floodingSenders;
    quint64 m_droppedEndpoints = 0;
};

} // namespace onvif

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "probeclient.h"

#include "namespaces.h"

#include <QLoggingCategory>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QUuid>
#include <QVariant>

#include <array>

Q_LOGGING_CATEGORY(lcOnvifDiscovery, "vexo.onvif.discovery", QtInfoMsg)

namespace onvif {

namespace {

// When a round's Probes go out, counted from its start: three times, each as two copies a tenth
// of a second apart, as the VXDP library's inquiry rounds (a lost Probe would hide every device).
constexpr std::array<int, 6> kRoundMs = {0, 100, 500, 600, 1500, 1600};
constexpr int kRescanMs = 1000;
constexpr qsizetype kRememberedProbes = 32;
const QHostAddress kGroup(QStringLiteral("239.255.255.250"));

bool isCamera(const discovery::Target &t)
{
    return t.isOnvifDevice()
           || t.types.contains(QualifiedName{ns::kNetwork, QStringLiteral("NetworkVideoTransmitter")});
}

} // namespace

struct ProbeClient::Adapter
{
    int interfaceIndex = 0; // 0 in the loopback scope
    QHostAddress address;
    std::unique_ptr<QUdpSocket> socket;
};

ProbeClient::ProbeClient(const Options &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
{
    m_roundTimer.setSingleShot(true);
    connect(&m_roundTimer, &QTimer::timeout, this, &ProbeClient::sendProbe);
    connect(&m_periodTimer, &QTimer::timeout, this, &ProbeClient::automaticRound);
    connect(&m_rescanTimer, &QTimer::timeout, this, &ProbeClient::rescanAdapters);
}

ProbeClient::~ProbeClient() = default;

bool ProbeClient::start(QString *error)
{
    if (m_running)
        return true;
    if (m_options.scope.scope == ClientOptions::Scope::Loopback) {
        auto adapter = std::make_unique<Adapter>();
        adapter->address = QHostAddress::LocalHost;
        adapter->socket.reset(openProbeSocket(adapter->address));
        if (!adapter->socket) {
            if (error)
                *error = QStringLiteral("cannot bind 127.0.0.1 for WS-Discovery");
            return false;
        }
        m_adapters.push_back(std::move(adapter));
    } else {
        // Hello and Bye arrive on the group at the discovery port; other programs may hold that
        // port too, so the listener shares it. Without it, rounds still find every device.
        m_groupListener = std::make_unique<QUdpSocket>();
        if (m_groupListener->bind(QHostAddress::AnyIPv4, m_options.scope.discoveryPort,
                                  QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
            QUdpSocket *listener = m_groupListener.get();
            connect(listener, &QUdpSocket::readyRead, this, [this, listener] { readDatagrams(listener, {}); });
        } else {
            qCWarning(lcOnvifDiscovery) << "no Hello or Bye will be heard:" << m_groupListener->errorString();
            m_groupListener.reset();
        }
        rescanAdapters();
        m_rescanTimer.start(kRescanMs);
    }
    m_running = true;
    m_periodTimer.start(m_options.intervalMs);
    startRound();
    return true;
}

void ProbeClient::stop()
{
    m_running = false;
    m_roundTimer.stop();
    m_periodTimer.stop();
    m_rescanTimer.stop();
    m_adapters.clear();
    m_groupListener.reset();
    // A new start reports every device again, as found.
    m_devices.clear();
    m_firstSender.clear();
    m_lastHeardRound.clear();
    m_unidentifiedSender.clear();
    m_unidentifiedOfSender.clear();
    m_floodingSenders.clear();
}

void ProbeClient::setIdentified(const QString &endpoint)
{
    const auto it = m_unidentifiedSender.constFind(endpoint);
    if (it == m_unidentifiedSender.cend())
        return;
    const auto count = m_unidentifiedOfSender.find(*it);
    if (count != m_unidentifiedOfSender.end() && --*count <= 0)
        m_unidentifiedOfSender.erase(count);
    m_unidentifiedSender.erase(it);
}

void ProbeClient::forget(const QString &endpoint)
{
    setIdentified(endpoint); // no longer counts against its sender
    m_devices.remove(endpoint);
    m_firstSender.remove(endpoint);
    m_lastHeardRound.remove(endpoint);
}

void ProbeClient::probe()
{
    if (m_running)
        startRound();
}

QList<QHostAddress> ProbeClient::adapterAddresses() const
{
    QList<QHostAddress> out;
    for (const auto &a : m_adapters)
        out.append(a->address);
    return out;
}

QUdpSocket *ProbeClient::openProbeSocket(const QHostAddress &address)
{
    auto socket = std::make_unique<QUdpSocket>();
    if (!socket->bind(address, 0))
        return nullptr;
    // Every device answers a Probe at once: room for the ProbeMatches of a segment of hundreds
    // while the thread is busy, or the last ones are dropped at every copy of the round.
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4 * 1024 * 1024);
    QUdpSocket *raw = socket.get();
    connect(raw, &QUdpSocket::readyRead, this, [this, raw, address] { readDatagrams(raw, address); });
    return socket.release();
}

void ProbeClient::rescanAdapters()
{
    QList<std::pair<int, QHostAddress>> present;
    for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::CanMulticast)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                present.append({iface.index(), entry.ip()});
                break;
            }
        }
    }
    // Adapters that went away, or changed their address, are dropped with their socket.
    std::erase_if(m_adapters, [&present](const std::unique_ptr<Adapter> &a) {
        return !present.contains(std::pair{a->interfaceIndex, a->address});
    });
    bool added = false;
    for (const auto &[index, address] : present) {
        const bool known = std::any_of(m_adapters.cbegin(), m_adapters.cend(),
                                       [index = index](const auto &a) { return a->interfaceIndex == index; });
        if (known)
            continue;
        auto adapter = std::make_unique<Adapter>();
        adapter->interfaceIndex = index;
        adapter->address = address;
        adapter->socket.reset(openProbeSocket(address));
        if (!adapter->socket)
            continue;
        const QNetworkInterface iface = QNetworkInterface::interfaceFromIndex(index);
        adapter->socket->setMulticastInterface(iface);
        adapter->socket->setSocketOption(QAbstractSocket::MulticastTtlOption, QVariant(1));
        if (m_groupListener)
            m_groupListener->joinMulticastGroup(kGroup, iface);
        m_adapters.push_back(std::move(adapter));
        added = true;
    }
    // A new adapter gets a quick round, so that the devices behind it appear at once.
    if (added && m_running)
        startRound();
}

void ProbeClient::startRound()
{
    m_roundStep = 0;
    sendProbe();
}

void ProbeClient::automaticRound()
{
    // A device that let silentRounds whole periods pass without a word has gone.
    const QStringList endpoints = m_devices.keys();
    for (const QString &endpoint : endpoints) {
        if (m_automaticRounds - m_lastHeardRound.value(endpoint) >= quint64(m_options.silentRounds)) {
            forget(endpoint);
            emit deviceLeft(endpoint);
        }
    }
    ++m_automaticRounds;
    startRound();
}

void ProbeClient::sendProbe()
{
    const QUuid id = QUuid::createUuid();
    m_sentMessageIds.append(QStringLiteral("urn:uuid:") + id.toString(QUuid::WithoutBraces));
    if (m_sentMessageIds.size() > kRememberedProbes)
        m_sentMessageIds.removeFirst();
    const QByteArray probe = discovery::buildProbe(id);
    const bool loopback = m_options.scope.scope == ClientOptions::Scope::Loopback;
    const QHostAddress to = loopback ? QHostAddress(QHostAddress::LocalHost) : kGroup;
    for (const auto &adapter : m_adapters)
        adapter->socket->writeDatagram(probe, to, m_options.scope.discoveryPort);
    if (++m_roundStep < int(kRoundMs.size()))
        m_roundTimer.start(kRoundMs[m_roundStep] - kRoundMs[m_roundStep - 1]);
}

void ProbeClient::readDatagrams(QUdpSocket *socket, const QHostAddress &adapterAddress)
{
    while (socket->hasPendingDatagrams()) {
        const qint64 size = socket->pendingDatagramSize();
        const QNetworkDatagram datagram = socket->receiveDatagram(discovery::kMaxDatagramBytes);
        if (size > discovery::kMaxDatagramBytes || !datagram.isValid()) {
            ++m_dropped;
            continue;
        }
        handle(datagram.data(), datagram.senderAddress(), adapterAddress);
    }
}

void ProbeClient::handle(const QByteArray &datagram, const QHostAddress &sender, const QHostAddress &adapterAddress)
{
    bool isV4 = false;
    const QHostAddress from(sender.toIPv4Address(&isV4));
    if (m_options.scope.scope == ClientOptions::Scope::Loopback && !(isV4 && from.isLoopback())) {
        ++m_dropped;
        return;
    }
    const Result<discovery::Message> message = discovery::parseMessage(datagram);
    if (!message) {
        ++m_dropped;
        qCDebug(lcOnvifDiscovery) << "dropped a datagram from" << from << message.error;
        return;
    }
    QHostAddress adapter = adapterAddress;
    if (adapter.isNull()) {
        // Heard on the group: the adapter is the one whose subnet holds the sender.
        for (const QNetworkInterface &iface : QNetworkInterface::allInterfaces()) {
            for (const QNetworkAddressEntry &entry : iface.addressEntries()) {
                if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol
                    && from.isInSubnet(entry.ip(), entry.prefixLength()))
                    adapter = entry.ip();
            }
        }
    }
    switch (message.value->kind) {
    case discovery::Message::Kind::ProbeMatches:
        if (!m_sentMessageIds.contains(message.value->relatesTo)) {
            ++m_dropped; // not an answer to this client
            return;
        }
        for (const discovery::Target &t : message.value->targets)
            heard(t, from, adapter);
        break;
    case discovery::Message::Kind::Hello:
        for (const discovery::Target &t : message.value->targets) {
            if (isCamera(t))
                heard(t, from, adapter);
        }
        break;
    case discovery::Message::Kind::Bye:
        for (const discovery::Target &t : message.value->targets) {
            if (!m_devices.contains(t.endpoint))
                continue;
            // Anyone on the segment can send a Bye naming any endpoint: one from another address
            // than the device's own would hide the device until it is heard again.
            if (m_firstSender.value(t.endpoint) != from) {
                ++m_dropped;
                qCDebug(lcOnvifDiscovery) << "ignored a Bye for" << t.endpoint << "from" << from << "rather than"
                                          << m_firstSender.value(t.endpoint);
                continue;
            }
            forget(t.endpoint);
            emit deviceLeft(t.endpoint);
        }
        break;
    case discovery::Message::Kind::Probe:
        break; // other clients' Probes on the group
    }
}

void ProbeClient::heard(const discovery::Target &target, const QHostAddress &sender, const QHostAddress &adapterAddress)
{
    const auto it = m_devices.find(target.endpoint);
    if (it == m_devices.end()) {
        // A host may announce a few devices of its own (an encoder, a recorder), not a list's worth.
        const quint32 from = sender.toIPv4Address();
        int &count = m_unidentifiedOfSender[from];
        if (count >= m_options.maxUnidentifiedPerSender) {
            ++m_droppedEndpoints;
            if (!m_floodingSenders.contains(from)) {
                m_floodingSenders.insert(from);
                qCWarning(lcOnvifDiscovery).noquote()
                    << sender.toString() << "announces more than" << m_options.maxUnidentifiedPerSender
                    << "unidentified ONVIF devices; the further ones are ignored";
            }
            return;
        }
        ++count;
        m_unidentifiedSender.insert(target.endpoint, from);
        m_lastHeardRound.insert(target.endpoint, m_automaticRounds);
        const Device device{target, adapterAddress, sender};
        m_devices.insert(target.endpoint, device);
        m_firstSender.insert(target.endpoint, sender);
        emit deviceFound(device);
        return;
    }
    m_lastHeardRound.insert(target.endpoint, m_automaticRounds);
    // A Hello may come without addresses (the device expects a Resolve): keep what is known.
    const bool changed = (!target.xaddrs.isEmpty() && target.xaddrs != it->target.xaddrs)
                         || (target.metadataVersion != 0 && target.metadataVersion != it->target.metadataVersion);
    if (!changed)
        return;
    Device &device = it.value();
    if (!target.xaddrs.isEmpty())
        device.target = target;
    else
        device.target.metadataVersion = target.metadataVersion;
    device.adapterAddress = adapterAddress;
    device.sender = sender;
    emit deviceChanged(device);
}

} // namespace onvif

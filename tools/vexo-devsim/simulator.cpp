// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simulator.h"

#include "addresstext.h"
#include "statefile.h"

#include <protocol/crypto.h>
#include <protocol/identity.h>

#include <QDate>
#include <QDateTime>
#include <QNetworkDatagram>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>
#include <limits>

#if defined(Q_OS_WIN)
#    include <winsock2.h>
#    include <mswsock.h>
#    if !defined(SIO_UDP_CONNRESET)
#        define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#    endif
#endif

namespace {

// "GetUsers:1 SetUser:1", by name; "-" when nothing came.
QString receivedText(const QHash<QString, int> &received)
{
    QStringList names = received.keys();
    names.sort();
    QStringList parts;
    for (const QString &name : names)
        parts.append(QStringLiteral("%1:%2").arg(name).arg(received.value(name)));
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(u' ');
}

constexpr std::int64_t kClientLifetimeMs = 120'000;
constexpr int kBurstSize = 64;
constexpr int kBurstPauseMs = 1;
constexpr int kSocketBufferSize = 4 * 1024 * 1024;
// How long a request's copy on the other path is answered from the stored answer.
constexpr std::int64_t kOtherPathWindowMs = 10'000;
constexpr qsizetype kMaxAnsweredRequests = 4096;
constexpr int kRescanMs = 1000;

quint64 macKey(const std::array<std::uint8_t, 6> &mac)
{
    quint64 key = 0;
    for (std::uint8_t b : mac)
        key = key << 8 | b;
    return key;
}

QByteArray bytes(const std::vector<std::uint8_t> &v)
{
    return QByteArray(reinterpret_cast<const char *>(v.data()), qsizetype(v.size()));
}

} // namespace

Simulator::Simulator(const Options &options, std::vector<DeviceRecord> devices, QObject *parent)
    : QObject(parent)
    , m_options(options)
    , m_sendTimer(new QTimer(this))
    , m_lossRng(options.seed ^ 0x6c6f7373u)
{
    m_devices.reserve(devices.size());
    for (DeviceRecord &record : devices) {
        const std::size_t index = m_devices.size();
        m_bySerial.insert(QByteArray::fromStdString(record.description.serial), index);
        m_byMac.insert(macKey(record.description.mac), index);
        m_devices.emplace_back(std::move(record));
    }
    for (const QString &serial : options.silent)
        m_silent.insert(serial.toUtf8());
    m_sendTimer->setSingleShot(true);
    m_sendTimer->setTimerType(Qt::PreciseTimer);
    connect(m_sendTimer, &QTimer::timeout, this, &Simulator::sendPending);
}

Simulator::~Simulator() = default;

void Simulator::attachOnvif(std::unique_ptr<OnvifService> onvif)
{
    m_onvif = std::move(onvif);
    connect(m_onvif.get(), &OnvifService::changed, this, &Simulator::onvifChanged);
}

void Simulator::onvifChanged(const QString &serial)
{
    SimDevice *device = findBySerial(serial);
    const OnvifDevice *face = m_onvif->find(serial);
    if (device && face) {
        const auto address = AddressText::parseIpv4(face->state().ipv4);
        if (address && *address != device->description().ipv4) {
            device->record().description.ipv4 = *address;
            if (device->isUp())
                queueAnnouncement(*device, vxdp::AnnounceReason::Changed);
        }
    }
    persist();
}

void Simulator::syncAddress(SimDevice &device)
{
    if (!m_onvif)
        return;
    const QString serial = QString::fromStdString(device.description().serial);
    const OnvifDevice *face = m_onvif->find(serial);
    const QString ipv4 = AddressText::ipv4(device.description().ipv4);
    if (face && face->state().ipv4 != ipv4)
        m_onvif->readdress(serial, ipv4);
}

bool Simulator::start(QString *error)
{
    m_clock.start();
    if (m_onvif && !m_onvif->start(error))
        return false;
    m_socket = std::make_unique<QUdpSocket>();
    connect(m_socket.get(), &QUdpSocket::readyRead, this, [this] { readPending(m_socket.get()); });

    if (m_options.scope == Scope::Loopback) {
        if (!m_socket->bind(QHostAddress::LocalHost, m_options.port)) {
            *error = QStringLiteral("cannot bind 127.0.0.1:%1: %2").arg(m_options.port).arg(m_socket->errorString());
            return false;
        }
    } else {
        if (!m_socket->bind(QHostAddress::AnyIPv4, m_options.port,
                            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint)) {
            *error = QStringLiteral("cannot bind 0.0.0.0:%1: %2").arg(m_options.port).arg(m_socket->errorString());
            return false;
        }
        m_socket->setSocketOption(QAbstractSocket::MulticastTtlOption, 1);
        m_socket->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
        joinGroups();
        if (m_interfaces.isEmpty() && m_interfaces6.isEmpty()) {
            *error = QStringLiteral("no multicast-capable interface could join %1 or %2")
                         .arg(m_options.group.toString(), QLatin1String(vxdp::kLinkLocalGroupText));
            return false;
        }
        // Like a device that is up before the cable is plugged in: adapters and addresses that
        // come later are joined as they come.
        auto *rescan = new QTimer(this);
        connect(rescan, &QTimer::timeout, this, &Simulator::joinGroups);
        rescan->start(kRescanMs);
    }
    tune(*m_socket);

    for (SimDevice &device : m_devices) {
        boot(device);
        queueAnnouncement(device, vxdp::AnnounceReason::Hello);
        // Signed now, so that the first inquiry is answered without signing.
        device.announce(vxdp::AnnounceReason::Reply);
    }
    return true;
}

void Simulator::joinGroups()
{
    const QHostAddress group6(vxdp::kLinkLocalGroup.data());
    const auto joined = [](const QList<QNetworkInterface> &list, const QNetworkInterface &iface) {
        return std::any_of(list.begin(), list.end(),
                           [&iface](const QNetworkInterface &o) { return o.index() == iface.index(); });
    };
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : all) {
        const auto flags = iface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::CanMulticast)
            || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = iface.addressEntries();
        const bool hasIpv4 = std::any_of(entries.begin(), entries.end(), [](const QNetworkAddressEntry &e) {
            return e.ip().protocol() == QAbstractSocket::IPv4Protocol;
        });
        // An adapter with IPv6 switched off, or before its link is up, has no link-local address.
        const bool hasLinkLocal = std::any_of(entries.begin(), entries.end(), [](const QNetworkAddressEntry &e) {
            return e.ip().protocol() == QAbstractSocket::IPv6Protocol && e.ip().isLinkLocal();
        });
        if (hasIpv4 && !joined(m_interfaces, iface) && m_socket->joinMulticastGroup(m_options.group, iface))
            m_interfaces.append(iface);
        if (hasLinkLocal && !joined(m_interfaces6, iface) && openSocket6()
            && m_socket6->joinMulticastGroup(group6, iface))
            m_interfaces6.append(iface);
    }
}

bool Simulator::openSocket6()
{
    if (m_socket6)
        return true;
    // The IPv6 path shares the device port.
    auto socket = std::make_unique<QUdpSocket>();
    if (!socket->bind(QHostAddress::AnyIPv6, m_socket->localPort(),
                      QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return false;
    m_socket6 = std::move(socket);
    m_socket6->setSocketOption(QAbstractSocket::MulticastTtlOption, 1);
    m_socket6->setSocketOption(QAbstractSocket::MulticastLoopbackOption, 1);
    tune(*m_socket6);
    connect(m_socket6.get(), &QUdpSocket::readyRead, this, [this] { readPending(m_socket6.get()); });
    return true;
}

void Simulator::tune(QUdpSocket &socket)
{
    socket.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, kSocketBufferSize);
    socket.setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSocketBufferSize);
#if defined(Q_OS_WIN)
    // Windows turns an ICMP "port unreachable" for an answer to a program that has gone into a
    // failing read on this socket; one closed program must not silence the devices for the rest.
    BOOL reportReset = FALSE;
    DWORD returned = 0;
    WSAIoctl(SOCKET(socket.socketDescriptor()), SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0,
             &returned, nullptr, nullptr);
#endif
}

quint16 Simulator::port() const
{
    return m_socket ? m_socket->localPort() : 0;
}

void Simulator::boot(SimDevice &device)
{
    const QDateTime now = QDateTime::currentDateTime();
    // Boot numbers only grow, also across runs of the simulator: a receiver takes a larger one
    // as a restart and refuses replays of older boots.
    device.boot(std::uint64_t(now.toMSecsSinceEpoch()),
                now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString());
}

DeviceContext Simulator::context(const QHostAddress &sender) const
{
    DeviceContext c;
    c.sender = sender.toString().toStdString();
    c.nowMs = nowMs();
    c.testMode = m_options.testMode;
    c.lockoutSeconds = m_options.lockoutSeconds;
    c.makerPublicKey = m_options.makerPublicKey;
    const QDate today = QDate::currentDate();
    const QString format = QStringLiteral("yyyyMMdd");
    c.restoreDates = {today.addDays(-1).toString(format).toStdString(), today.toString(format).toStdString(),
                      today.addDays(1).toString(format).toStdString()};
    return c;
}

SimDevice *Simulator::findDevice(const vxdp::Target &target)
{
    if (target.kind == vxdp::TargetKind::Serial) {
        const auto it = m_bySerial.constFind(QByteArray::fromStdString(target.text));
        return it == m_bySerial.constEnd() ? nullptr : &m_devices[*it];
    }
    const auto mac = vxdp::macFromText(target.text);
    if (!mac)
        return nullptr;
    const auto it = m_byMac.constFind(macKey(*mac));
    return it == m_byMac.constEnd() ? nullptr : &m_devices[*it];
}

SimDevice *Simulator::findBySerial(const QString &serial)
{
    vxdp::Target target;
    target.text = serial.toStdString();
    return findDevice(target);
}

void Simulator::readPending(QUdpSocket *socket)
{
    while (socket->hasPendingDatagrams())
        handleDatagram(socket->receiveDatagram());
}

void Simulator::handleDatagram(const QNetworkDatagram &datagram)
{
    ++m_counters[QStringLiteral("received")];
    if (m_options.lossPercent > 0
        && std::uniform_real_distribution<double>(0, 100)(m_lossRng) < m_options.lossPercent) {
        ++m_counters[QStringLiteral("lost")];
        return;
    }
    const QByteArray data = datagram.data();
    const vxdp::Decoded decoded
        = vxdp::decode(reinterpret_cast<const std::uint8_t *>(data.constData()), std::size_t(data.size()));
    if (!decoded) {
        ++m_counters[QStringLiteral("dropped ") + QLatin1String(vxdp::decodeErrorName(decoded.error))];
        return;
    }
    const vxdp::Message &message = decoded.message;
    const vxdp::MsgType type = message.header.type;
    const std::uint32_t txid = message.header.txid;
    if (type == vxdp::MsgType::Inquiry) {
        ++m_counters[QStringLiteral("inquiries")];
        answerInquiry(datagram, txid);
        return;
    }
    if (!vxdp::isRequestType(type)) {
        ++m_counters[QStringLiteral("ignored (not a request)")];
        return;
    }
    SimDevice *device = findDevice(message.request.target);
    if (!device || !device->isUp() || m_silent.contains(QByteArray::fromStdString(device->description().serial))) {
        ++m_counters[QStringLiteral("ignored (no such device)")];
        return;
    }

    const std::int64_t now = nowMs();
    // A slow device hands out challenges at once but takes its time over everything else.
    const std::int64_t slowness = type == vxdp::MsgType::ChallengeRequest
                                      ? 0
                                      : m_answerDelayMs.value(QByteArray::fromStdString(device->description().serial));
    const std::int64_t due = now + m_options.delayMs + slowness;
    const QHostAddress sender = datagram.senderAddress();
    const auto senderPort = quint16(datagram.senderPort());
    if (const QByteArray *cached = device->cachedAnswer(sender, senderPort, txid, type, now)) {
        ++m_counters[QStringLiteral("retransmissions")];
        queueAnswer(datagram, *cached, due);
        return;
    }

    // The same request that came the other way (IPv4 or IPv6) moments ago: its answer again.
    if (const auto copy = m_answeredRequests.constFind(data);
        copy != m_answeredRequests.constEnd() && now - copy->atMs <= kOtherPathWindowMs) {
        ++m_counters[QStringLiteral("copies from the other path")];
        queueAnswer(datagram, copy->answer, due);
        return;
    }

    ++m_counters[QStringLiteral("requests")];
    QByteArray answer;
    DeviceOutcome outcome;
    if (type == vxdp::MsgType::ChallengeRequest) {
        answer = bytes(vxdp::encodeChallenge(txid, device->issueChallenge(now, txid, sender.toString().toStdString())));
    } else {
        outcome = device->handle(type, message.request, context(sender));
        if (outcome.replyKey)
            vxdp::tagResult(*outcome.replyKey, txid, outcome.result);
        answer = bytes(vxdp::encodeResult(txid, outcome.result));
    }
    device->cacheAnswer(sender, senderPort, txid, type, answer, now);
    if (m_socket6) {
        if (m_answeredRequests.size() >= kMaxAnsweredRequests)
            m_answeredRequests.removeIf([now](const auto &it) { return now - it.value().atMs > kOtherPathWindowMs; });
        if (m_answeredRequests.size() < kMaxAnsweredRequests)
            m_answeredRequests.insert(data, StoredAnswer{answer, now});
    }
    queueAnswer(datagram, answer, due);
    if (outcome.persist) {
        syncAddress(*device);
        persist();
    }
    if (outcome.announce)
        queueAnnouncement(*device, vxdp::AnnounceReason::Changed, slowness);
}

void Simulator::answerInquiry(const QNetworkDatagram &datagram, std::uint32_t txid)
{
    const std::int64_t now = nowMs();
    if (m_options.scope == Scope::Loopback) {
        m_clients.insert({datagram.senderAddress(), quint16(datagram.senderPort())}, now);
        m_clients.removeIf([now](const auto &it) { return now - it.value() > kClientLifetimeMs; });
    }
    std::vector<SimDevice *> answering;
    for (SimDevice &device : m_devices) {
        if (device.isUp() && !m_silent.contains(QByteArray::fromStdString(device.description().serial)))
            answering.push_back(&device);
    }
    const std::int64_t start = now + m_options.delayMs;
    for (std::size_t k = 0; k < answering.size(); ++k) {
        const std::int64_t spread
            = std::int64_t(m_options.replySpreadMs) * std::int64_t(k) / std::int64_t(answering.size());
        const auto announce = answering[k]->announce(vxdp::AnnounceReason::Reply);
        const std::int64_t slowness
            = m_answerDelayMs.value(QByteArray::fromStdString(answering[k]->description().serial));
        queueAnswer(datagram, bytes(vxdp::encodeAnnounce(txid, announce)), start + spread + slowness);
    }
}

void Simulator::queueAnswer(const QNetworkDatagram &request, const QByteArray &data, std::int64_t dueMs)
{
    // Loopback, and IPv6 link-local: back to the sender (with the scope of the link it came by).
    if (m_options.scope == Scope::Loopback || request.senderAddress().protocol() == QAbstractSocket::IPv6Protocol)
        queue(dueMs, Outgoing{data, request.senderAddress(), quint16(request.senderPort()), 0});
    else
        queue(dueMs, Outgoing{data, m_options.group, vxdp::answerPort(m_options.port), int(request.interfaceIndex())});
}

void Simulator::queueAnnouncement(SimDevice &device, vxdp::AnnounceReason reason, std::int64_t extraDelayMs)
{
    if (m_silent.contains(QByteArray::fromStdString(device.description().serial)))
        return;
    const QByteArray data = bytes(vxdp::encodeAnnounce(0, device.announce(reason)));
    const std::int64_t now = nowMs();
    const std::int64_t due = now + m_options.delayMs + extraDelayMs;
    if (m_options.scope == Scope::Loopback) {
        for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it) {
            if (now - it.value() <= kClientLifetimeMs)
                queue(due, Outgoing{data, it.key().first, it.key().second, 0});
        }
        return;
    }
    for (const QNetworkInterface &iface : std::as_const(m_interfaces))
        queue(due, Outgoing{data, m_options.group, vxdp::answerPort(m_options.port), iface.index()});
    const QHostAddress group6(vxdp::kLinkLocalGroup.data());
    for (const QNetworkInterface &iface : std::as_const(m_interfaces6))
        queue(due, Outgoing{data, group6, vxdp::answerPort(port()), iface.index()});
}

void Simulator::queue(std::int64_t dueMs, Outgoing out)
{
    m_outbox.emplace(dueMs, std::move(out));
    scheduleSend();
}

void Simulator::scheduleSend()
{
    if (m_outbox.empty())
        return;
    const std::int64_t wait = std::max<std::int64_t>(0, m_outbox.begin()->first - nowMs());
    // A running timer that fires soon enough (a burst pause included) is left alone.
    if (m_sendTimer->isActive() && m_sendTimer->remainingTime() <= std::max<std::int64_t>(wait, kBurstPauseMs))
        return;
    m_sendTimer->start(int(std::min<std::int64_t>(wait, 24 * 3600 * 1000)));
}

void Simulator::sendPending()
{
    const std::int64_t now = nowMs();
    sendBurst(now);
    if (m_outbox.empty())
        return;
    // Pause between bursts so that a receiver on this host keeps up.
    if (m_outbox.begin()->first <= now)
        m_sendTimer->start(kBurstPauseMs);
    else
        scheduleSend();
}

void Simulator::sendBurst(std::int64_t dueBy)
{
    int sent = 0;
    int lastInterface[2] = {-1, -1};
    while (!m_outbox.empty() && m_outbox.begin()->first <= dueBy && sent < kBurstSize) {
        const Outgoing &out = m_outbox.begin()->second;
        const bool ipv6 = out.address.protocol() == QAbstractSocket::IPv6Protocol && m_socket6;
        QUdpSocket *socket = ipv6 ? m_socket6.get() : m_socket.get();
        if (out.interfaceIndex > 0 && out.interfaceIndex != lastInterface[ipv6]) {
            lastInterface[ipv6] = out.interfaceIndex;
            for (const QNetworkInterface &iface : std::as_const(ipv6 ? m_interfaces6 : m_interfaces)) {
                if (iface.index() == out.interfaceIndex)
                    socket->setMulticastInterface(iface);
            }
        }
        if (socket->writeDatagram(out.data, out.address, out.port) < 0)
            ++m_counters[QStringLiteral("send errors")];
        m_outbox.erase(m_outbox.begin());
        ++sent;
    }
}

void Simulator::shutdown()
{
    for (SimDevice &device : m_devices) {
        if (device.isUp())
            queueAnnouncement(device, vxdp::AnnounceReason::Goodbye);
    }
    if (m_onvif)
        m_onvif->shutdown();
    m_sendTimer->stop();
    // Everything still queued, delayed answers included, leaves now in the same paced bursts.
    while (!m_outbox.empty()) {
        sendBurst(std::numeric_limits<std::int64_t>::max());
        if (!m_outbox.empty())
            QThread::msleep(kBurstPauseMs);
    }
}

void Simulator::persist()
{
    if (m_options.statePath.isEmpty())
        return;
    std::vector<DeviceRecord> records;
    records.reserve(m_devices.size());
    for (const SimDevice &device : m_devices)
        records.push_back(device.record());
    QString error;
    const std::vector<OnvifDeviceState> onvif = m_onvif ? m_onvif->states() : std::vector<OnvifDeviceState>();
    if (!StateFile::save(m_options.statePath, records, &error, &onvif))
        std::fprintf(stderr, "vexo-devsim: %s\n", qPrintable(error));
}

QStringList Simulator::statistics() const
{
    QStringList lines;
    for (const auto &[name, count] : m_counters)
        lines.append(QStringLiteral("%1 %2").arg(name).arg(count));
    return lines;
}

QStringList Simulator::execute(const QString &line, bool *quit)
{
    *quit = false;
    const QStringList parts = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return {};
    const QString command = parts.first();
    auto error = [](const QString &why) {
        return QStringList{QStringLiteral("error ") + why};
    };
    const QStringList ok{QStringLiteral("ok")};

    if (command == QLatin1String("quit")) {
        *quit = true;
        return ok;
    }
    if (command == QLatin1String("list")) {
        QStringList lines;
        for (const SimDevice &device : m_devices) {
            const auto &d = device.description();
            const bool both = m_onvif && m_onvif->find(QString::fromStdString(d.serial));
            lines.append(QStringLiteral("%1 %2 %3 %4%5")
                             .arg(QString::fromStdString(d.serial), QString::fromStdString(vxdp::macToText(d.mac)),
                                  AddressText::ipv4(d.ipv4))
                             .arg(d.inactive ? 0 : 1)
                             .arg(both ? QStringLiteral(" vxdp+onvif") : QString()));
        }
        if (m_onvif)
            lines.append(m_onvif->listLines());
        lines.append(ok);
        return lines;
    }

    if (command == QLatin1String("onvif"))
        return executeOnvif(parts);
    // ONVIF-only devices know a few of the device commands.
    if (m_onvif && parts.size() >= 2 && !findBySerial(parts.at(1)) && m_onvif->find(parts.at(1)))
        return executeOnvif(parts);

    static const QStringList deviceCommands
        = {QStringLiteral("stop"), QStringLiteral("vanish"), QStringLiteral("start"), QStringLiteral("restart"),
           QStringLiteral("lock"), QStringLiteral("rekey"),  QStringLiteral("set"),   QStringLiteral("delay")};
    if (!deviceCommands.contains(command))
        return error(QStringLiteral("unknown command %1").arg(command));
    const qsizetype expected = command == QLatin1String("set") ? 4 : command == QLatin1String("delay") ? 3 : 2;
    if (parts.size() != expected)
        return error(command == QLatin1String("set")     ? QStringLiteral("usage: set <serial> <field> <value>")
                     : command == QLatin1String("delay") ? QStringLiteral("usage: delay <serial> <ms>")
                                                         : QStringLiteral("usage: %1 <serial>").arg(command));
    SimDevice *device = findBySerial(parts.at(1));
    if (!device)
        return error(QStringLiteral("no device %1").arg(parts.at(1)));

    if (command == QLatin1String("delay")) {
        bool valid = false;
        const int ms = parts.at(2).toInt(&valid);
        if (!valid || ms < 0 || ms > 600000)
            return error(QStringLiteral("delay takes 0 to 600000 ms"));
        m_answerDelayMs.insert(QByteArray::fromStdString(device->description().serial), ms);
        return ok;
    }

    if (command == QLatin1String("stop")) {
        if (!device->isUp())
            return error(QStringLiteral("%1 is not up").arg(parts.at(1)));
        queueAnnouncement(*device, vxdp::AnnounceReason::Goodbye);
        device->setUp(false);
        if (m_onvif)
            m_onvif->setUp(parts.at(1), false);
    } else if (command == QLatin1String("vanish")) {
        if (!device->isUp())
            return error(QStringLiteral("%1 is not up").arg(parts.at(1)));
        device->setUp(false);
        if (m_onvif)
            m_onvif->setUp(parts.at(1), false, true);
    } else if (command == QLatin1String("start")) {
        if (device->isUp())
            return error(QStringLiteral("%1 is already up").arg(parts.at(1)));
        device->setUp(true);
        queueAnnouncement(*device, vxdp::AnnounceReason::Hello);
        if (m_onvif)
            m_onvif->setUp(parts.at(1), true);
    } else if (command == QLatin1String("restart")) {
        boot(*device);
        device->setUp(true);
        queueAnnouncement(*device, vxdp::AnnounceReason::Hello);
        if (m_onvif)
            m_onvif->setUp(parts.at(1), true);
    } else if (command == QLatin1String("lock")) {
        device->lock(nowMs(), m_options.lockoutSeconds);
    } else if (command == QLatin1String("rekey")) {
        // A replaced or factory-reset device: new keys, a new certificate from the maker.
        DeviceRecord &record = device->record();
        record.keys = vxdp::makeBoxKeyPair();
        vxdp::randomBytes(record.signingSeed.data(), record.signingSeed.size());
        record.certify(m_options.deviceCa);
        device->reloadKeys();
        persist();
        boot(*device);
        device->setUp(true);
        queueAnnouncement(*device, vxdp::AnnounceReason::Hello);
    } else {
        QString why;
        if (!setField(*device, parts.at(2), parts.at(3), &why))
            return error(why);
        syncAddress(*device);
        persist();
        if (device->isUp())
            queueAnnouncement(*device, vxdp::AnnounceReason::Changed);
    }
    return ok;
}

bool Simulator::setField(SimDevice &device, const QString &field, const QString &value, QString *error)
{
    vxdp::DeviceDescription &d = device.record().description;
    bool isNumber = false;
    const uint number = value.toUInt(&isNumber);
    if (field == QLatin1String("ipv4") || field == QLatin1String("mask") || field == QLatin1String("gateway")) {
        const auto address = AddressText::parseIpv4(value);
        if (!address) {
            *error = QStringLiteral("%1 is not an IPv4 address").arg(value);
            return false;
        }
        (field == QLatin1String("ipv4") ? d.ipv4 : field == QLatin1String("mask") ? d.mask : d.gateway) = *address;
    } else if (field == QLatin1String("inactive") || field == QLatin1String("dhcp")) {
        if (!isNumber || number > 1) {
            *error = QStringLiteral("%1 takes 0 or 1").arg(field);
            return false;
        }
        if (field == QLatin1String("dhcp")) {
            d.dhcp = std::uint8_t(number);
        } else if (number) {
            // Back to the factory: no password.
            d.inactive = 1;
            device.record().passwordHash.clear();
        } else {
            if (device.record().passwordHash.empty()) {
                if (m_defaultPasswordHash.empty())
                    m_defaultPasswordHash = vxdp::hashPassword(m_options.password, m_options.testMode);
                device.record().passwordHash = m_defaultPasswordHash;
            }
            d.inactive = 0;
        }
    } else if (field == QLatin1String("port") || field == QLatin1String("httpport")) {
        if (!isNumber || number > 65535 || (field == QLatin1String("port") && number == 0)) {
            *error = QStringLiteral("%1 is not a port").arg(value);
            return false;
        }
        (field == QLatin1String("port") ? d.port : d.httpPort) = std::uint16_t(number);
    } else if (field == QLatin1String("password")) {
        const QByteArray password = value.toUtf8();
        if (password.isEmpty() || password.size() > qsizetype(vxdp::kMaxPassword)) {
            *error = QStringLiteral("a password has 1 to %1 bytes").arg(vxdp::kMaxPassword);
            return false;
        }
        device.record().passwordHash = vxdp::hashPassword(password.toStdString(), m_options.testMode);
        d.inactive = 0;
    } else if (field == QLatin1String("certificate")) {
        return setCertificate(device, value, error);
    } else {
        *error = QStringLiteral(
                     "unknown field %1 (ipv4, mask, gateway, inactive, dhcp, port, httpport, password, certificate)")
                     .arg(field);
        return false;
    }
    return true;
}

// Devices whose certificate a program must not trust, for tests of exactly that.
bool Simulator::setCertificate(SimDevice &device, const QString &kind, QString *error)
{
    DeviceRecord &record = device.record();
    if (kind == QLatin1String("valid")) {
        record.certify(m_options.deviceCa);
    } else if (kind == QLatin1String("missing")) {
        record.certificate.clear();
    } else if (kind == QLatin1String("invalid")) {
        record.certify(m_options.deviceCa);
        record.certificate[5] ^= 0x20;
    } else if (kind == QLatin1String("foreign")) {
        // Genuine, but issued for another serial number.
        vxdp::Announce other = record.identity();
        other.device.serial += "X";
        record.certificate = vxdp::issueCertificate(m_options.deviceCa, other);
    } else {
        *error = QStringLiteral("a certificate is valid, missing, invalid or foreign");
        return false;
    }
    return true;
}

QStringList Simulator::executeOnvif(const QStringList &parts)
{
    auto error = [](const QString &why) {
        return QStringList{QStringLiteral("error ") + why};
    };
    const QStringList ok{QStringLiteral("ok")};
    if (!m_onvif)
        return error(QStringLiteral("there are no ONVIF devices"));
    const bool own = parts.first() == QLatin1String("onvif");
    const QStringList args = own ? parts.mid(1) : parts;
    if (args.size() < 2)
        return error(QStringLiteral("usage: onvif <serial> show|auth|reboot-needed|fault ..."));
    const QString command = own ? args.at(1) : args.at(0);
    const QString serial = own ? args.at(0) : args.at(1);
    OnvifDevice *device = m_onvif->find(serial);
    if (!device)
        return error(QStringLiteral("no ONVIF device %1").arg(serial));
    OnvifDeviceState &s = device->state();
    const QString value = args.size() > 2 ? args.at(2) : QString();
    const QString field = args.size() > 2 ? args.at(2) : QString();

    if (!own) {
        // stop, start, vanish, restart and set for a device that speaks ONVIF alone.
        if (command == QLatin1String("stop") || command == QLatin1String("vanish")) {
            if (!m_onvif->isUp(serial))
                return error(QStringLiteral("%1 is not up").arg(serial));
            m_onvif->setUp(serial, false, command == QLatin1String("vanish"));
        } else if (command == QLatin1String("start")) {
            if (m_onvif->isUp(serial))
                return error(QStringLiteral("%1 is already up").arg(serial));
            m_onvif->setUp(serial, true);
        } else if (command == QLatin1String("set") && args.size() == 4) {
            if (field == QLatin1String("ipv4")) {
                if (!AddressText::parseIpv4(args.at(3)))
                    return error(QStringLiteral("%1 is not an IPv4 address").arg(args.at(3)));
                m_onvif->readdress(serial, args.at(3));
            } else if (field == QLatin1String("password")) {
                if (args.at(3).isEmpty() || args.at(3).size() > 64)
                    return error(QStringLiteral("a password has 1 to 64 characters"));
                s.users.first().password = args.at(3);
            } else {
                return error(QStringLiteral("an ONVIF device's fields are ipv4 and password"));
            }
        } else {
            return error(QStringLiteral("%1 does not apply to the ONVIF device %2").arg(command, serial));
        }
        persist();
        return ok;
    }

    if (command == QLatin1String("show") && args.size() == 2) {
        return {QStringLiteral("endpoint %1").arg(s.endpoint),
                QStringLiteral("xaddr %1").arg(device->xaddr()),
                QStringLiteral("auth %1").arg(authModeName(s.authMode)),
                QStringLiteral("reboot-needed %1").arg(s.rebootNeeded ? 1 : 0),
                QStringLiteral("quirks %1").arg(s.quirks ? quirkNames(s.quirks).join(u',') : QStringLiteral("-")),
                QStringLiteral("clock-offset %1").arg(s.clockOffsetSeconds),
                QStringLiteral("prefix %1").arg(s.prefixLength),
                QStringLiteral("gateway %1").arg(s.gateway.isEmpty() ? QStringLiteral("-") : s.gateway),
                QStringLiteral("up %1").arg(m_onvif->isUp(serial) ? 1 : 0),
                QStringLiteral("received %1").arg(receivedText(device->received())),
                QStringLiteral("ok")};
    }
    if (command == QLatin1String("quirk") && args.size() == 4) {
        const auto quirk = quirkFromName(value);
        if (!quirk || (args.at(3) != QLatin1String("0") && args.at(3) != QLatin1String("1")))
            return error(QStringLiteral("usage: onvif <serial> quirk %1 0|1").arg(quirkNames(~0u).join(u'|')));
        if (args.at(3) == QLatin1String("1"))
            s.quirks |= quint32(*quirk);
        else
            s.quirks &= ~quint32(*quirk);
        persist();
        return ok;
    }
    if (args.size() != 3)
        return error(QStringLiteral("usage: onvif <serial> auth|reboot-needed|snapshot|fault <value>"));
    if (command == QLatin1String("auth")) {
        const auto mode = authModeFromName(value);
        if (!mode)
            return error(QStringLiteral("an authentication mode is wsse, digest, both or text"));
        s.authMode = *mode;
    } else if (command == QLatin1String("reboot-needed")) {
        if (value != QLatin1String("0") && value != QLatin1String("1"))
            return error(QStringLiteral("reboot-needed takes 0 or 1"));
        s.rebootNeeded = value == QLatin1String("1");
    } else if (command == QLatin1String("snapshot")) {
        const auto quirk = snapshotQuirkFromName(value);
        if (!quirk)
            return error(QStringLiteral("a snapshot quirk is normal, slow, huge, text or nomedia"));
        s.snapshotQuirk = *quirk;
        return ok;
    } else if (command == QLatin1String("fault")) {
        static const QHash<QString, OnvifInjectedFault> faults{
            {QStringLiteral("none"), OnvifInjectedFault::None},
            {QStringLiteral("receiver"), OnvifInjectedFault::Receiver},
            {QStringLiteral("garbage"), OnvifInjectedFault::Garbage},
            {QStringLiteral("close"), OnvifInjectedFault::Close}};
        if (!faults.contains(value))
            return error(QStringLiteral("a fault is receiver, garbage, close or none"));
        device->injectFault(faults.value(value));
        return ok;
    } else {
        return error(QStringLiteral("unknown ONVIF command %1 (show, auth, reboot-needed, snapshot, fault, quirk)")
                         .arg(command));
    }
    persist();
    return ok;
}

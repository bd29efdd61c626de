// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifhandler.h"

#include "deviceinfo.h"
#include "onvifrecord.h"

#include <identifier.h>
#include <namespaces.h>
#include <probeclient.h>
#include <subnetreach.h>

#include <QHostAddress>
#include <QLoggingCategory>
#include <QElapsedTimer>
#include <QMutexLocker>
#include <QSet>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QVector>

#include <algorithm>
#include <cstring>
#include <deque>
#include <memory>
#include <utility>

Q_LOGGING_CATEGORY(lcOnvifHandler, "vexotool.discovery.onvif", QtInfoMsg)

namespace VEXO {

namespace {

QString qualified(const onvif::QualifiedName &name)
{
    if (name.namespaceUri == onvif::ns::kError)
        return QStringLiteral("ter:") + name.localName;
    if (name.namespaceUri == onvif::ns::kSoapEnvelope)
        return QStringLiteral("env:") + name.localName;
    return name.localName;
}

// A newly heard endpoint is identified only after this long, so that a second address answering
// the same Probe for the same endpoint is heard before any credential goes out (devices may wait
// up to half a second before they answer a Probe).
constexpr int kClaimSettleMs = 600;
// One address receives credentials for at most this many endpoints per sign-in.
constexpr int kMaxCredentialedPerHost = 64;

// Records go to the list in slices, a flush every kFlushIntervalMs. The first slice has kSlice
// records; the next ones as many as the GUI thread handled in kSliceBudgetNs last time, so that
// the list takes each slice in a small part of the 50 ms the window may be held up.
constexpr int kSlice = 10;
constexpr int kMaxSlice = 200;
constexpr qint64 kSliceBudgetNs = 10'000'000;
constexpr int kFlushIntervalMs = 10;
constexpr int kProgressIntervalMs = 100;

bool sameKey(const VEXO_DEVICE_INFO &a, const VEXO_DEVICE_INFO &b)
{
    return fieldBytes(a.serialNumber) == fieldBytes(b.serialNumber)
           && fieldBytes(a.macAddress) == fieldBytes(b.macAddress);
}

} // namespace

/** @brief The part of OnvifHandler that lives on its thread: sockets, identification, the devices. */
class OnvifWorker : public QObject
{
public:
    OnvifWorker(OnvifHandler *handler, const onvif::ClientOptions &options)
        : m_handler(handler)
        , m_options(options)
    {}

    struct Entry
    {
        onvif::ProbeClient::Device device;
        QUrl serviceUrl;
        QString host; // of serviceUrl, compared once per verified device heard
        VEXO_DEVICE_INFO reported{};
        bool isReported = false;
        std::optional<onvif::Identity> identity;
        bool identifyAgain = false;
        bool settled = false; // heard long enough for a rival claim to be heard too
    };

    bool start(QString *error)
    {
        m_flush.setInterval(kFlushIntervalMs);
        connect(&m_flush, &QTimer::timeout, this, &OnvifWorker::flush);
        m_progressTimer.setSingleShot(true);
        m_progressTimer.setInterval(kProgressIntervalMs);
        connect(&m_progressTimer, &QTimer::timeout, this, [this] {
            if (m_roundOpen)
                sendProgress();
        });
        m_identifier = std::make_unique<onvif::Identifier>(m_handler->deviceOptions());
        m_identifier->setMaxParallel(m_maxParallel);
        connect(m_identifier.get(), &onvif::Identifier::identified, this, &OnvifWorker::identified);
        connect(m_identifier.get(), &onvif::Identifier::idle, m_handler, &OnvifHandler::signalIdentifyIdle);
        return startProbing(error);
    }

    bool startProbing(QString *error)
    {
        m_probe = std::make_unique<onvif::ProbeClient>(onvif::ProbeClient::Options{m_options, 10000, 3});
        connect(m_probe.get(), &onvif::ProbeClient::deviceFound, this, &OnvifWorker::found);
        connect(m_probe.get(), &onvif::ProbeClient::deviceChanged, this, &OnvifWorker::changed);
        connect(m_probe.get(), &onvif::ProbeClient::deviceLeft, this, &OnvifWorker::left);
        return m_probe->start(error);
    }

    void stop()
    {
        m_flush.stop();
        m_outbox.clear();
        m_outDepartures.clear();
        m_probe.reset();
        m_identifier.reset();
        m_entries.clear();
        m_pending.clear();
        m_roundOpen = false;
        m_roundWaiting.clear();
        m_roundOutcomes.clear();
        m_roundFinished.reset();
        forgetClaims();
        QMutexLocker lock(&m_handler->m_mutex);
        m_handler->m_endpointOfKey.clear();
        m_handler->m_urlOfEndpoint.clear();
    }

    // Refresh, a new sign-in or a stop: rival claims are heard anew, credentials may go again.
    void forgetClaims()
    {
        m_contestedBy.clear();
        m_credentialed.clear();
        m_movedByUser.clear();
        m_leftByUser.clear();
        m_credentialedOfHost.clear();
        QMutexLocker lock(&m_handler->m_mutex);
        m_handler->m_contested.clear();
    }

    void refresh()
    {
        // The list has been emptied: everything is reported anew, what is identified stays so.
        m_probe.reset();
        m_outbox.clear();
        m_outDepartures.clear();
        for (Entry &entry : m_entries)
            entry.isReported = false;
        m_forgotten = m_entries;
        m_entries.clear();
        forgetClaims();
        {
            QMutexLocker lock(&m_handler->m_mutex);
            m_handler->m_endpointOfKey.clear();
        }
        QString error;
        if (!startProbing(&error))
            qCWarning(lcOnvifHandler, "probing after a refresh failed: %s", qUtf8Printable(error));
        sendRoundWhenListed();
    }

    void setMaxParallel(int count)
    {
        m_maxParallel = qMax(1, count);
        if (m_identifier)
            m_identifier->setMaxParallel(m_maxParallel);
    }

    void setCredentials(const std::optional<onvif::Credentials> &credentials)
    {
        m_credentials = credentials;
        if (!credentials) {
            m_deviceCredentials.clear();
            return;
        }
        // A new sign-in: each endpoint may be identified with it once.
        m_credentialed.clear();
        m_credentialedOfHost.clear();
        // Its summary waits for the devices asked now and for those still being heard.
        m_roundOpen = true;
        m_roundWaiting.clear();
        m_roundOutcomes.clear();
        m_lastProgress = {-1, -1};
        const QStringList endpoints = m_entries.keys(); // identify() may mark entries
        for (const QString &endpoint : endpoints) {
            identify(endpoint);
            const Entry &entry = m_entries[endpoint];
            if (m_contestedBy.contains(endpoint)) {
                VexoTool::OnvifFailure why;
                why.kind = VexoTool::OnvifFailureKind::Contested;
                m_roundOutcomes.append({entry.reported, why});
            } else if (!entry.settled) {
                m_roundWaiting.insert(endpoint); // asked once it was heard long enough
            }
        }
        finishRound();
    }

    // One device's outcome for the summary of the sign-in under way.
    void noteOutcome(const QString &endpoint, const VEXO_DEVICE_INFO &record,
                     const std::optional<VexoTool::OnvifFailure> &failure)
    {
        if (!m_roundOpen || !m_roundWaiting.remove(endpoint))
            return;
        m_roundOutcomes.append({record, failure});
        finishRound();
    }

    // The window hears how far the sign-in is at most every kProgressIntervalMs, and once at its end.
    void reportProgress()
    {
        if (m_roundOpen && !m_progressTimer.isActive())
            m_progressTimer.start();
    }

    void sendProgress()
    {
        const int answered = int(m_roundOutcomes.size());
        const std::pair<int, int> progress{answered, answered + int(m_roundWaiting.size())};
        if (progress == m_lastProgress)
            return;
        m_lastProgress = progress;
        emit m_handler->signalSignInProgress(progress.first, progress.second);
    }

    void finishRound()
    {
        reportProgress();
        if (!m_roundOpen || !m_roundWaiting.isEmpty())
            return;
        m_progressTimer.stop();
        sendProgress();
        m_roundOpen = false;
        m_roundFinished = std::exchange(m_roundOutcomes, {});
        sendRoundWhenListed();
    }

    // The summary follows the records of the devices it names, so that the list shows them first.
    void sendRoundWhenListed()
    {
        if (m_roundFinished && m_outbox.empty() && m_outDepartures.isEmpty())
            emit m_handler->signalSignInFinished(*std::exchange(m_roundFinished, std::nullopt));
    }

    // A device the sign-in waits for is not asked after all, or is gone: it is counted as it stands.
    void dropFromRound(const QString &endpoint)
    {
        if (!m_roundOpen || !m_roundWaiting.contains(endpoint) || m_pending.contains(endpoint))
            return;
        const auto it = m_entries.constFind(endpoint);
        if (it == m_entries.cend()) {
            m_roundWaiting.remove(endpoint);
            finishRound();
            return;
        }
        VexoTool::OnvifFailure why;
        why.kind = m_contestedBy.contains(endpoint) ? VexoTool::OnvifFailureKind::Contested
                                                    : VexoTool::OnvifFailureKind::Unreachable;
        noteOutcome(endpoint, it->reported, why);
    }

    void setDeviceCredentials(const QString &endpoint, const onvif::Credentials &credentials)
    {
        m_deviceCredentials.insert(endpoint, credentials);
        m_credentialed.remove(endpoint); // the user signed in to this device
        identify(endpoint);
    }

    void allowClearText(const QString &endpoint)
    {
        m_clearText.insert(endpoint);
        m_credentialed.remove(endpoint);
        identify(endpoint);
    }

    void moved(const QString &endpoint, const QUrl &serviceUrl, const onvif::Credentials &credentials)
    {
        m_deviceCredentials.insert(endpoint, credentials);
        // The user moved the device to this address: it is where the device is now, or where it
        // comes back after a restart, which is identified once more.
        m_credentialed.remove(endpoint);
        m_movedByUser.insert(endpoint);
        uncontest(endpoint);
        auto it = m_entries.find(endpoint);
        if (it == m_entries.end())
            return; // it says Hello at its new address and is identified then
        if (serviceUrl.isValid() && m_options.allowsDeviceAddress(serviceUrl)) {
            // Answers it gave at its old address may still arrive: they are no rival's.
            if (it->serviceUrl.host() != serviceUrl.host())
                m_leftByUser.insert(endpoint, it->serviceUrl.host());
            setServiceUrl(endpoint, *it, serviceUrl);
        }
        it->settled = true;
        report(endpoint, *it, recordOf(endpoint, *it));
        identify(endpoint);
    }

    // A device of the device protocol that proved its identity: an ONVIF device elsewhere that
    // claims its MAC or serial number is not believed.
    void verifiedDevice(const QString &mac, const QString &serial, const QString &ipv4, const QString &type,
                        bool present)
    {
        if (!present) {
            if (!mac.isEmpty() && m_verifiedAtOfMac.value(mac) == ipv4)
                m_verifiedAtOfMac.remove(mac);
            if (!serial.isEmpty() && m_verifiedAtOfSerial.value(serial) == ipv4)
                m_verifiedAtOfSerial.remove(serial);
            if (!mac.isEmpty() && m_verifiedOfAddress.value(ipv4).mac == mac) {
                m_verifiedOfAddress.remove(ipv4);
                reportFacesAt(ipv4); // its ONVIF face is listed on its own again
            }
            return;
        }
        if (!mac.isEmpty()) {
            // Moved: its face at the old address is listed on its own again.
            const QString before = m_verifiedAtOfMac.value(mac);
            if (!before.isEmpty() && before != ipv4 && m_verifiedOfAddress.value(before).mac == mac) {
                m_verifiedOfAddress.remove(before);
                reportFacesAt(before);
            }
            m_verifiedOfAddress.insert(ipv4, Verified{mac, type});
            reportFacesAt(ipv4);
        }
        if (!mac.isEmpty())
            m_verifiedAtOfMac.insert(mac, ipv4);
        if (!serial.isEmpty())
            m_verifiedAtOfSerial.insert(serial, ipv4);
        // An ONVIF device identified before the verified one was heard is checked now.
        for (const QString &endpoint : {m_endpointOfMac.value(mac), m_endpointOfSerial.value(serial)}) {
            const auto it = m_entries.find(endpoint);
            if (!endpoint.isEmpty() && it != m_entries.end() && it->identity && it->serviceUrl.host() != ipv4)
                contest(endpoint, *it, ipv4);
        }
    }

private:
    enum class Sent { Online, Offline, Update };
    struct Outgoing
    {
        Sent kind;
        VEXO_DEVICE_INFO record;
    };

    // The list gets the records in slices: departures first, all at once (the page removes them
    // in one pass), then at most kSlice arrivals and updates, so that hundreds of devices found or
    // identified together never hold up the GUI thread in one go.
    void send(Sent kind, const VEXO_DEVICE_INFO &record, bool inOrder = false)
    {
        const auto same = [&record](const Outgoing &o) {
            return sameKey(o.record, record);
        };
        if (kind == Sent::Offline) {
            // An arrival not sent yet is withdrawn instead, with what was queued after it.
            const bool arrivalWaits = std::any_of(m_outbox.cbegin(), m_outbox.cend(),
                                                  [&](const Outgoing &o) { return o.kind == Sent::Online && same(o); });
            m_outbox.erase(std::remove_if(m_outbox.begin(), m_outbox.end(), same), m_outbox.end());
            if (!arrivalWaits && inOrder)
                m_outbox.push_back({kind, record}); // after what was queued before it
            else if (!arrivalWaits)
                m_outDepartures.append(record);
        } else if (kind == Sent::Update) {
            // A record still waiting is sent with the newer data.
            const auto waiting = std::find_if(m_outbox.begin(), m_outbox.end(), same);
            if (waiting != m_outbox.end())
                waiting->record = record;
            else
                m_outbox.push_back({kind, record});
        } else {
            m_outbox.push_back({kind, record});
        }
        if (!m_flush.isActive()) {
            m_flush.start();
            flush(); // the first slice at once (unless the list has not taken the last one yet)
        }
    }

    void flush()
    {
        // The next slice waits until the list took the last one: slices never pile up in the
        // GUI thread's queue to be handled in one go.
        if (m_unacknowledged)
            return;
        const bool any = !m_outDepartures.isEmpty() || !m_outbox.empty();
        // The GUI thread's time for the slice: from a mark queued before its records to the
        // acknowledgement queued after them.
        OnvifHandler *handler = m_handler;
        const auto clock = std::make_shared<QElapsedTimer>();
        if (any)
            QMetaObject::invokeMethod(
                handler, [clock] { clock->start(); }, Qt::QueuedConnection);
        const int sent = int(qMin(std::size_t(m_sliceSize), m_outbox.size()));
        for (const VEXO_DEVICE_INFO &record : std::exchange(m_outDepartures, {}))
            emit m_handler->signalDeviceOffline(record);
        for (int i = 0; i < sent; ++i) {
            const Outgoing next = m_outbox.front();
            m_outbox.pop_front();
            if (next.kind == Sent::Online)
                emit m_handler->signalDeviceOnline(next.record);
            else if (next.kind == Sent::Offline)
                emit m_handler->signalDeviceOffline(next.record);
            else
                emit m_handler->signalDeviceUpdate(next.record);
            const QString key = fieldText(next.record.serialNumber);
            if (const QString missing = m_partlyIdentified.take(key); !missing.isEmpty())
                emit m_handler->signalIdentifiedPartly(key, missing);
        }
        if (any) {
            m_unacknowledged = true;
            // Queued behind the slice's records in the GUI thread, so it runs after them.
            QMetaObject::invokeMethod(
                handler,
                [handler, clock, sent] {
                    const qint64 spentNs = clock->nsecsElapsed();
                    if (OnvifWorker *worker = handler->m_worker)
                        QMetaObject::invokeMethod(
                            worker, [worker, spentNs, sent] { worker->acknowledged(spentNs, sent); },
                            Qt::QueuedConnection);
                },
                Qt::QueuedConnection);
        }
        if (m_outbox.empty() && m_outDepartures.isEmpty())
            m_flush.stop();
        sendRoundWhenListed();
    }

public:
    void acknowledged(qint64 spentNs, int sent)
    {
        m_unacknowledged = false;
        if (sent >= m_sliceSize && spentNs > 0) {
            // A full slice tells how long a record takes; a slice cut short by an empty outbox
            // may have been all departures.
            // Grows at most twofold a slice: one quick slice (the list may have painted in a slow
            // one) says little.
            const qint64 perRecordNs = spentNs / sent;
            const qint64 fitting = kSliceBudgetNs / qMax(perRecordNs, qint64(1));
            m_sliceSize = int(qBound(qint64(1), qMin(fitting, qint64(2) * m_sliceSize), qint64(kMaxSlice)));
        }
        if (!m_outbox.empty() || !m_outDepartures.isEmpty())
            flush();
    }

private:
    std::optional<onvif::Credentials> credentialsOf(const QString &endpoint) const
    {
        std::optional<onvif::Credentials> credentials = m_deviceCredentials.contains(endpoint)
                                                            ? std::optional(m_deviceCredentials.value(endpoint))
                                                            : m_credentials;
        if (credentials && m_clearText.contains(endpoint))
            credentials->allowClearText = true;
        return credentials;
    }

    void identify(const QString &endpoint)
    {
        const auto it = m_entries.constFind(endpoint);
        if (it == m_entries.cend() || !it->serviceUrl.isValid() || !m_identifier)
            return;
        // Nothing goes out before rival claims had the time to be heard, nor to a contested device.
        if (!it->settled || m_contestedBy.contains(endpoint))
            return;
        // Without credentials nothing goes to the device.
        const std::optional<onvif::Credentials> credentials = credentialsOf(endpoint);
        if (!credentials)
            return;
        if (m_pending.contains(endpoint)) {
            m_entries[endpoint].identifyAgain = true; // with what was given meanwhile
            return;
        }
        if (m_credentialed.contains(endpoint))
            return; // once per endpoint and sign-in
        // A host that announces endpoints by the hundred collects no digest for each.
        const QString host = it->serviceUrl.host();
        int &sent = m_credentialedOfHost[host];
        if (sent >= kMaxCredentialedPerHost) {
            if (sent++ == kMaxCredentialedPerHost)
                qCWarning(lcOnvifHandler,
                          "%s has had credentials for %d devices; its further devices are not "
                          "identified",
                          qUtf8Printable(host), kMaxCredentialedPerHost);
            return;
        }
        ++sent;
        m_credentialed.insert(endpoint);
        m_pending.insert(endpoint);
        if (m_roundOpen) {
            m_roundWaiting.insert(endpoint);
            reportProgress();
        }
        m_identifier->enqueue(endpoint, it->serviceUrl, credentials);
    }

    QUrl allowedUrl(const onvif::discovery::Target &target) const
    {
        return m_options.preferredDeviceAddress(target.xaddrs);
    }

    void setServiceUrl(const QString &endpoint, Entry &entry, const QUrl &url)
    {
        entry.serviceUrl = url;
        entry.host = url.host();
        QMutexLocker lock(&m_handler->m_mutex);
        m_handler->m_urlOfEndpoint.insert(endpoint, url);
    }

    VEXO_DEVICE_INFO unidentifiedRecord(const Entry &entry) const
    {
        VEXO_DEVICE_INFO record{};
        setFieldText(record.leadText, OnvifLeadText);
        setFieldText(record.serialNumber, entry.device.target.endpoint.toLatin1());
        setFieldText(record.ipv4Address, entry.serviceUrl.host().toLatin1());
        const onvif::discovery::Scopes &scopes = entry.device.target.scopes;
        const QString type = !scopes.hardware.isEmpty() ? scopes.hardware.first() : scopes.names.value(0);
        setFieldText(record.deviceTypeText, type.toLatin1());
        record.httpPort = quint16(entry.serviceUrl.port(80));
        return record;
    }

    // A contested device is listed by its endpoint, with the rival address, whatever it said.
    VEXO_DEVICE_INFO recordOf(const QString &endpoint, const Entry &entry)
    {
        const QString rival = m_contestedBy.value(endpoint);
        VEXO_DEVICE_INFO record{};
        if (!rival.isEmpty()) {
            record = unidentifiedRecord(entry);
            setOnvifContestedBy(record, rival);
        } else if (entry.identity) {
            record = identifiedRecord(*entry.identity);
        } else {
            record = unidentifiedRecord(entry);
            setOnvifFaceOf(record, faceMacOf(endpoint, entry));
        }
        setOnvifEndpoint(record, endpoint);
        return record;
    }

    void contest(const QString &endpoint, Entry &entry, const QString &rival)
    {
        if (m_contestedBy.contains(endpoint))
            return;
        qCWarning(lcOnvifHandler, "%s at %s is also claimed by %s; it gets no credentials until a refresh",
                  qUtf8Printable(endpoint), qUtf8Printable(entry.serviceUrl.host()), qUtf8Printable(rival));
        m_contestedBy.insert(endpoint, rival);
        {
            QMutexLocker lock(&m_handler->m_mutex);
            m_handler->m_contested.insert(endpoint);
        }
        report(endpoint, entry, recordOf(endpoint, entry));
    }

    void uncontest(const QString &endpoint)
    {
        m_contestedBy.remove(endpoint);
        QMutexLocker lock(&m_handler->m_mutex);
        m_handler->m_contested.remove(endpoint);
    }

    // The address of a verified device whose MAC or serial number @p identity claims, when that
    // is not where the ONVIF device serves; empty otherwise.
    QString verifiedElsewhere(const onvif::Identity &identity, const QUrl &serviceUrl) const
    {
        const QString mac = VexoTool::OnvifRecord::listMac(identity.macAddress);
        const QString serial = identity.information.serialNumber;
        const QString verifiedAt = !mac.isEmpty() && m_verifiedAtOfMac.contains(mac)
                                       ? m_verifiedAtOfMac.value(mac)
                                       : (serial.isEmpty() ? QString() : m_verifiedAtOfSerial.value(serial));
        return verifiedAt == serviceUrl.host() ? QString() : verifiedAt;
    }

    // The unidentified endpoints at @p host are listed anew: as a verified device's face, or on their own.
    void reportFacesAt(const QString &host)
    {
        // report() changes no entry but this one.
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->host == host && it->isReported && !it->identity)
                report(it.key(), *it, recordOf(it.key(), *it));
        }
    }

    // Whether the discovery scopes name another model than @p type. Hardware scopes name the
    // model; names are free text (often the maker's) and only ever count as a match.
    static bool contradicts(const onvif::discovery::Scopes &scopes, const QString &type)
    {
        const auto plain = [](const QString &text) {
            QString out;
            for (const QChar c : text) {
                if (c.isLetterOrNumber())
                    out.append(c.toCaseFolded());
            }
            return out;
        };
        const QString model = plain(type);
        if (model.isEmpty() || scopes.hardware.isEmpty())
            return false;
        const auto names = [&](const QString &value) {
            const QString scope = plain(value);
            return !scope.isEmpty() && (scope.contains(model) || model.contains(scope));
        };
        return std::none_of(scopes.hardware.cbegin(), scopes.hardware.cend(), names)
               && std::none_of(scopes.names.cbegin(), scopes.names.cend(), names);
    }

    // The MAC of the verified device whose ONVIF face the unidentified endpoint is: it serves at
    // that device's IPv4 address, its scopes do not name another model, nothing contests it, and
    // it is the first endpoint heard there. Empty otherwise.
    QString faceMacOf(const QString &endpoint, const Entry &entry)
    {
        if (entry.identity || m_contestedBy.contains(endpoint))
            return QString();
        const auto verified = m_verifiedOfAddress.constFind(entry.host);
        if (verified == m_verifiedOfAddress.cend() || contradicts(entry.device.target.scopes, verified->type))
            return QString();
        const QString holder = m_faceOfMac.value(verified->mac);
        if (!holder.isEmpty() && holder != endpoint) {
            const auto other = m_entries.constFind(holder);
            if (other != m_entries.cend() && !other->identity && other->isReported && isOnvifFace(other->reported)
                && fieldText(other->reported.macAddress) == verified->mac)
                return QString();
        }
        m_faceOfMac.insert(verified->mac, endpoint);
        return verified->mac;
    }

    void settle(const QString &endpoint)
    {
        const auto it = m_entries.find(endpoint);
        if (it == m_entries.end() || it->settled)
            return;
        it->settled = true;
        identify(endpoint);
        dropFromRound(endpoint); // not asked after all (contested, or no credentials for it)
    }

    static VEXO_DEVICE_INFO identifiedRecord(const onvif::Identity &identity)
    {
        return VexoTool::OnvifRecord::fromIdentity(identity);
    }

    void report(const QString &endpoint, Entry &entry, const VEXO_DEVICE_INFO &record)
    {
        if (!entry.isReported) {
            send(Sent::Online, record);
        } else if (sameKey(entry.reported, record)) {
            if (std::memcmp(&entry.reported, &record, sizeof record) != 0)
                send(Sent::Update, record);
        } else {
            // The new record first, then the old one's departure: the list gives the new one the
            // old one's row (they carry the same endpoint mark), so the row keeps its number.
            send(Sent::Online, record);
            send(Sent::Offline, entry.reported, true);
        }
        QMutexLocker lock(&m_handler->m_mutex);
        if (entry.isReported)
            m_handler->m_endpointOfKey.remove(fieldText(entry.reported.serialNumber));
        m_handler->m_endpointOfKey.insert(fieldText(record.serialNumber), endpoint);
        m_handler->m_endpointOfKey.insert(endpoint, endpoint);
        entry.reported = record;
        entry.isReported = true;
    }

    void found(const onvif::ProbeClient::Device &device)
    {
        const QString endpoint = device.target.endpoint;
        const QUrl url = allowedUrl(device.target);
        if (endpoint.isEmpty() || !url.isValid())
            return; // nothing this scope may contact
        if (m_movedByUser.remove(endpoint))
            m_credentialed.remove(endpoint);
        Entry entry = m_forgotten.take(endpoint);
        entry.device = device;
        entry.isReported = false;
        entry.settled = false;
        const bool sameService = entry.identity && entry.serviceUrl == url;
        Entry &kept = m_entries[endpoint] = entry;
        setServiceUrl(endpoint, kept, url);
        if (!sameService)
            kept.identity.reset();
        else if (m_probe)
            m_probe->setIdentified(endpoint); // known: it does not count against its sender
        report(endpoint, kept, recordOf(endpoint, kept));
        QTimer::singleShot(kClaimSettleMs, this, [this, endpoint] { settle(endpoint); });
    }

    void changed(const onvif::ProbeClient::Device &device)
    {
        const QString endpoint = device.target.endpoint;
        auto it = m_entries.find(endpoint);
        if (it == m_entries.end()) {
            found(device);
            return;
        }
        const QUrl url = allowedUrl(device.target);
        it->device = device;
        if (!url.isValid())
            return;
        if (url == it->serviceUrl) {
            // A device the user moved announces its new address: it is identified there once more,
            // as the identification that followed the change may have found it not listening yet.
            if (m_movedByUser.remove(endpoint)) {
                m_credentialed.remove(endpoint);
                identify(endpoint);
            }
            return;
        }
        if (url.host() != it->serviceUrl.host()) {
            // The endpoint stays where it was heard first; another address claiming it is a rival
            // (the user's own re-addressing goes through moved()).
            if (m_leftByUser.value(endpoint) != url.host())
                contest(endpoint, *it, url.host());
            return;
        }
        setServiceUrl(endpoint, *it, url);
        if (it->identity) {
            onvif::Identity moved = *it->identity;
            moved.serviceUrl = url;
            it->identity = moved;
        }
        report(endpoint, *it, recordOf(endpoint, *it));
        identify(endpoint);
    }

    void left(const QString &endpoint)
    {
        const auto it = m_entries.find(endpoint);
        if (it == m_entries.end())
            return;
        if (m_roundOpen && !m_pending.contains(endpoint) && m_roundWaiting.remove(endpoint))
            QTimer::singleShot(0, this, [this] { finishRound(); });
        if (it->isReported)
            send(Sent::Offline, it->reported);
        QMutexLocker lock(&m_handler->m_mutex);
        m_handler->m_urlOfEndpoint.remove(endpoint);
        if (!it->identity) {
            m_handler->m_endpointOfKey.remove(fieldText(it->reported.serialNumber));
            m_handler->m_endpointOfKey.remove(endpoint);
        } else {
            // Back at the same address (after a restart) it is listed identified without being
            // asked again: credentials go to an endpoint once per sign-in. Its row's key still
            // names it, so that the user's re-addressing (deviceMoved()) reaches it meanwhile.
            Entry gone = *it;
            gone.isReported = false;
            m_forgotten.insert(endpoint, gone);
        }
        m_entries.erase(it);
    }

    void identified(const QString &endpoint, const onvif::Identity &identity, const onvif::Failure &failure)
    {
        identifiedOnce(endpoint, identity, failure);
        // Asked again (moved, claimed, given new credentials meanwhile) it is still awaited.
        if (!m_pending.contains(endpoint))
            dropFromRound(endpoint);
    }

    void identifiedOnce(const QString &endpoint, const onvif::Identity &identity, const onvif::Failure &failure)
    {
        m_pending.remove(endpoint);
        if (failure.kind == onvif::Failure::Kind::Unreachable || failure.kind == onvif::Failure::Kind::Refused) {
            // Nothing reached the device (it may be restarting): the credentials may go once more.
            if (m_credentialed.remove(endpoint))
                --m_credentialedOfHost[identity.serviceUrl.host()];
        }
        const auto it = m_entries.find(endpoint);
        if (it == m_entries.end()) {
            // Gone meanwhile (restarting): what it said waits for its return to that address.
            const auto gone = m_forgotten.find(endpoint);
            if (gone != m_forgotten.end() && !failure.failed() && identity.authenticated
                && gone->serviceUrl == identity.serviceUrl && verifiedElsewhere(identity, gone->serviceUrl).isEmpty())
                gone->identity = identity;
            return;
        }
        if (it->identifyAgain) {
            it->identifyAgain = false;
            identify(endpoint);
            return;
        }
        if (identity.serviceUrl.host() != it->serviceUrl.host() || m_contestedBy.contains(endpoint)) {
            identify(endpoint); // it moved meanwhile, or a rival claimed it
            return;
        }
        onvif::Failure why = failure;
        if (!why.failed() && !identity.authenticated)
            why = onvif::Failure::of(onvif::Failure::Kind::NotAuthorized, QStringLiteral("not authenticated"));
        if (why.failed()) {
            const QString key = fieldText(it->reported.serialNumber);
            qCInfo(lcOnvifHandler, "identifying %s failed: %s %s", qUtf8Printable(endpoint), onvif::kindName(why.kind),
                   qUtf8Printable(why.detail));
            if (why.kind == onvif::Failure::Kind::ClearTextOnly && !m_clearTextAsked.contains(endpoint)) {
                m_clearTextAsked.insert(endpoint);
                const QString name
                    = it->device.target.scopes.names.value(0, it->device.target.scopes.hardware.value(0, endpoint));
                emit m_handler->signalClearTextOnly(key, QStringLiteral("%1 (%2)").arg(name, it->serviceUrl.host()));
            }
            emit m_handler->signalIdentifyFailed(key, OnvifHandler::failureOf(why));
            noteOutcome(endpoint, it->reported, OnvifHandler::failureOf(why));
            return;
        }
        // A verified device's ONVIF face is at that device's own address, nowhere else.
        if (const QString verifiedAt = verifiedElsewhere(identity, it->serviceUrl); !verifiedAt.isEmpty()) {
            contest(endpoint, *it, verifiedAt);
            return;
        }
        const QString mac = VexoTool::OnvifRecord::listMac(identity.macAddress);
        const QString serial = identity.information.serialNumber;
        it->identity = identity;
        if (!mac.isEmpty())
            m_endpointOfMac.insert(mac, endpoint);
        if (!serial.isEmpty())
            m_endpointOfSerial.insert(serial, endpoint);
        if (m_probe)
            m_probe->setIdentified(endpoint);
        report(endpoint, *it, recordOf(endpoint, *it));
        noteOutcome(endpoint, it->reported, std::nullopt);
        if (!identity.gaps.isEmpty())
            reportGaps(identity);
    }

    // What a partly identified device did not tell follows its record to the window.
    void reportGaps(const onvif::Identity &identity)
    {
        QStringList lines;
        for (qsizetype i = 0; i < identity.gaps.size();) {
            const onvif::Failure &why = identity.gaps.at(i).failure;
            QStringList operations;
            for (; i < identity.gaps.size() && identity.gaps.at(i).failure.kind == why.kind
                   && identity.gaps.at(i).failure.detail == why.detail;
                 ++i)
                operations.append(identity.gaps.at(i).operation);
            qCInfo(lcOnvifHandler, "%s did not tell %s: %s %s", qUtf8Printable(identity.endpoint),
                   qUtf8Printable(operations.join(u',')), onvif::kindName(why.kind), qUtf8Printable(why.detail));
            lines.append(VexoTool::OnvifFaultText::missing(operations, OnvifHandler::failureOf(why)));
        }
        const VEXO_DEVICE_INFO record = VexoTool::OnvifRecord::fromIdentity(identity);
        const QString key = fieldText(record.serialNumber);
        const bool waits = std::any_of(m_outbox.cbegin(), m_outbox.cend(),
                                       [&record](const Outgoing &o) { return sameKey(o.record, record); });
        if (waits)
            m_partlyIdentified.insert(key, lines.join(u'\n'));
        else
            emit m_handler->signalIdentifiedPartly(key, lines.join(u'\n'));
    }

    OnvifHandler *m_handler = nullptr;
    onvif::ClientOptions m_options;
    int m_maxParallel = onvif::Identifier::kDefaultParallel;
    std::unique_ptr<onvif::ProbeClient> m_probe;
    std::unique_ptr<onvif::Identifier> m_identifier;
    QHash<QString, Entry> m_entries;   // by endpoint
    QHash<QString, Entry> m_forgotten; // before a refresh: their identities are kept
    QSet<QString> m_pending;
    bool m_roundOpen = false;     // a sign-in waits for its summary
    QSet<QString> m_roundWaiting; // the endpoints it waits for
    QVector<OnvifSignInOutcome> m_roundOutcomes;
    std::pair<int, int> m_lastProgress{-1, -1};                 // answered, asked: as last reported
    std::optional<QVector<OnvifSignInOutcome>> m_roundFinished; // sent once its records are
    std::optional<onvif::Credentials> m_credentials;
    QHash<QString, onvif::Credentials> m_deviceCredentials;
    QSet<QString> m_clearText;
    QSet<QString> m_clearTextAsked;
    QHash<QString, QString> m_contestedBy;      // endpoint -> the rival address; kept when it leaves
    QSet<QString> m_credentialed;               // endpoints identified with the current sign-in
    QSet<QString> m_movedByUser;                // re-addressed from the panel, not yet back
    QHash<QString, QString> m_partlyIdentified; // key -> what it did not tell, sent after its record
    QHash<QString, QString> m_leftByUser;       // the address the panel moved a device away from
    QHash<QString, int> m_credentialedOfHost;   // how many of them each address received
    QHash<QString, QString> m_verifiedAtOfMac;  // verified devices of the device protocol: their IPv4
    QHash<QString, QString> m_verifiedAtOfSerial;
    struct Verified
    {
        QString mac;
        QString type;
    };
    QHash<QString, Verified> m_verifiedOfAddress; // verified devices of the device protocol by IPv4
    QHash<QString, QString> m_faceOfMac;          // the endpoint listed as a verified device's face
    QHash<QString, QString> m_endpointOfMac;      // identified ONVIF devices
    QHash<QString, QString> m_endpointOfSerial;
    QTimer m_flush{this}; // a child, so that it moves to the thread with the worker
    QTimer m_progressTimer{this};
    bool m_unacknowledged = false; // a slice went to the list and the list has not taken it yet
    int m_sliceSize = kSlice;      // records per slice, after the GUI thread's time for the last one
    std::deque<Outgoing> m_outbox;
    QVector<VEXO_DEVICE_INFO> m_outDepartures;
};

OnvifHandler::OnvifHandler(const onvif::ClientOptions &options, QObject *parent)
    : QObject(parent)
    , m_options(options)
{}

OnvifHandler::~OnvifHandler()
{
    stop();
}

onvif::DeviceClient::Options OnvifHandler::deviceOptions() const
{
    onvif::DeviceClient::Options o;
    o.scope = m_options;
    o.pins = m_pins;
    return o;
}

void OnvifHandler::setCertificatePins(std::shared_ptr<onvif::CertificatePins> pins)
{
    if (pins)
        m_pins = std::move(pins);
}

void OnvifHandler::post(std::function<void(OnvifWorker &)> work)
{
    if (!m_worker)
        return;
    OnvifWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker, work] { work(*worker); }, Qt::QueuedConnection);
}

void OnvifHandler::setMaxParallel(int count)
{
    m_maxParallel = qMax(1, count);
    post([count = m_maxParallel](OnvifWorker &w) { w.setMaxParallel(count); });
}

bool OnvifHandler::start(QString *error)
{
    if (m_started)
        return true;
    m_thread = std::make_unique<QThread>();
    m_thread->setObjectName(QStringLiteral("ONVIF discovery"));
    m_worker = new OnvifWorker(this, m_options);
    m_worker->setMaxParallel(m_maxParallel);
    m_worker->moveToThread(m_thread.get());
    connect(m_thread.get(), &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread->start();
    bool ok = false;
    QString why;
    OnvifWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker, &ok, &why] { ok = worker->start(&why); }, Qt::BlockingQueuedConnection);
    if (!ok) {
        if (error)
            *error = why;
        qCWarning(lcOnvifHandler, "ONVIF discovery did not start: %s", qUtf8Printable(why));
        stop();
        return false;
    }
    m_started = true;
    QMutexLocker lock(&m_mutex);
    if (m_credentials) // given before the start
        post([credentials = *m_credentials](OnvifWorker &w) { w.setCredentials(credentials); });
    return true;
}

void OnvifHandler::stop()
{
    if (!m_thread)
        return;
    OnvifWorker *worker = m_worker;
    QMetaObject::invokeMethod(
        worker, [worker] { worker->stop(); }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
    m_thread.reset();
    m_worker = nullptr;
    m_started = false;
    QMutexLocker lock(&m_mutex);
    m_endpointOfKey.clear();
    m_urlOfEndpoint.clear();
}

void OnvifHandler::sendInquiry()
{
    post([](OnvifWorker &w) { w.refresh(); });
}

void OnvifHandler::setCredentials(const onvif::Credentials &credentials)
{
    {
        QMutexLocker lock(&m_mutex);
        m_credentials = credentials;
    }
    post([credentials](OnvifWorker &w) { w.setCredentials(credentials); });
}

void OnvifHandler::clearCredentials()
{
    {
        QMutexLocker lock(&m_mutex);
        m_credentials.reset();
    }
    post([](OnvifWorker &w) { w.setCredentials(std::nullopt); });
}

bool OnvifHandler::hasCredentials() const
{
    QMutexLocker lock(&m_mutex);
    return m_credentials.has_value();
}

std::optional<onvif::Credentials> OnvifHandler::credentials() const
{
    QMutexLocker lock(&m_mutex);
    return m_credentials;
}

QString OnvifHandler::endpointOf(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_endpointOfKey.value(key);
}

void OnvifHandler::setDeviceCredentials(const QString &key, const onvif::Credentials &credentials)
{
    const QString endpoint = endpointOf(key);
    if (!endpoint.isEmpty())
        post([endpoint, credentials](OnvifWorker &w) { w.setDeviceCredentials(endpoint, credentials); });
}

void OnvifHandler::allowClearText(const QString &key)
{
    const QString endpoint = endpointOf(key);
    if (endpoint.isEmpty())
        return;
    {
        QMutexLocker lock(&m_mutex);
        m_clearTextOfEndpoint.insert(endpoint, true);
    }
    post([endpoint](OnvifWorker &w) { w.allowClearText(endpoint); });
}

bool OnvifHandler::clearTextAllowed(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_clearTextOfEndpoint.value(m_endpointOfKey.value(key), false);
}

QUrl OnvifHandler::serviceUrl(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    const QString endpoint = m_endpointOfKey.value(key);
    return m_contested.contains(endpoint) ? QUrl() : m_urlOfEndpoint.value(endpoint);
}

bool OnvifHandler::isContested(const QString &key) const
{
    QMutexLocker lock(&m_mutex);
    return m_contested.contains(m_endpointOfKey.value(key));
}

void OnvifHandler::noteDevice(const VEXO_DEVICE_INFO &record, bool present)
{
    if (isOnvifRecord(record) || !(record.identityFlags & VEXO_IDENTITY_VERIFIED))
        return;
    post([mac = fieldText(record.macAddress), serial = fieldText(record.serialNumber),
          ipv4 = fieldText(record.ipv4Address), type = fieldText(record.deviceTypeText),
          present](OnvifWorker &w) { w.verifiedDevice(mac, serial, ipv4, type, present); });
}

void OnvifHandler::deviceMoved(const QString &key, const QUrl &serviceUrl, const onvif::Credentials &credentials)
{
    const QString endpoint = endpointOf(key);
    if (!endpoint.isEmpty())
        post([endpoint, serviceUrl, credentials](OnvifWorker &w) { w.moved(endpoint, serviceUrl, credentials); });
}

VexoTool::OnvifFailure OnvifHandler::failureOf(const onvif::Failure &failure)
{
    using Kind = onvif::Failure::Kind;
    using VexoTool::OnvifFailureKind;
    VexoTool::OnvifFailure out;
    out.httpStatus = failure.httpStatus;
    switch (failure.kind) {
    case Kind::None:
    case Kind::Unreachable:
    case Kind::InvalidArgument:
        out.kind = OnvifFailureKind::Unreachable;
        break;
    case Kind::Refused:
        out.kind = OnvifFailureKind::ConnectionRefused;
        break;
    case Kind::TimedOut:
        out.kind = OnvifFailureKind::TimedOut;
        break;
    case Kind::HttpStatus:
        out.kind = OnvifFailureKind::HttpStatus;
        break;
    case Kind::NotAuthorized:
        out.kind = OnvifFailureKind::NotAuthorized;
        break;
    case Kind::SoapFault:
        out.kind = OnvifFailureKind::SoapFault;
        break;
    case Kind::Malformed:
        out.kind = OnvifFailureKind::MalformedAnswer;
        break;
    case Kind::TooLarge:
        out.kind = OnvifFailureKind::TooLarge;
        break;
    case Kind::ClearTextOnly:
        out.kind = OnvifFailureKind::ClearTextOnly;
        break;
    case Kind::AddressNotAllowed:
        out.kind = OnvifFailureKind::AddressNotAllowed;
        break;
    case Kind::CertificateChanged:
        out.kind = OnvifFailureKind::CertificateChanged;
        break;
    case Kind::TlsFailed:
        out.kind = OnvifFailureKind::TlsFailed;
        break;
    case Kind::NotEncrypted:
        out.kind = OnvifFailureKind::NotEncrypted;
        break;
    }
    if (failure.fault) {
        out.code = qualified(failure.fault->code);
        for (const onvif::QualifiedName &subcode : failure.fault->subcodes)
            out.subcodes.append(qualified(subcode));
        out.reason = failure.fault->reason;
    } else if (failure.kind == Kind::InvalidArgument) {
        // The value was refused before it was sent: say so as the device would.
        out.kind = OnvifFailureKind::SoapFault;
        out.code = QStringLiteral("env:Sender");
        out.subcodes = {QStringLiteral("ter:InvalidArgVal")};
        out.reason = failure.detail;
    }
    return out;
}

} // namespace VEXO

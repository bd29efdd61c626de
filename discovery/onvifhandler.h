// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "deviceinfo.h"
#include "onviffault.h"

#include <clientoptions.h>
#include <deviceclient.h>
#include <failure.h>

#include <Vexo.h>

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QString>
#include <QUrl>
#include <QVector>

#include <memory>
#include <optional>

class QThread;

namespace VEXO {

class OnvifWorker;

/** @brief How identifying one device ended, for the summary of a sign-in. */
struct OnvifSignInOutcome
{
    VEXO_DEVICE_INFO record{};                     ///< the record the device is listed with afterwards
    std::optional<VexoTool::OnvifFailure> failure; ///< empty when the device was identified
};

/**
 * @brief The ONVIF side of discovery: finds ONVIF devices with WS-Discovery, identifies them
 *        with the user's credentials and reports them as the device list's records.
 *
 * It reports through the same three signals as VexoHandler, with records whose leadText is
 * "ONVIF". A device not yet identified carries its endpoint reference ("urn:uuid:...") in the
 * serial number field, no MAC, the address of its device service and its hardware from the
 * discovery scopes. Identification is reported as the departure of that record and the arrival
 * of the identified one (serial number, MAC, IPv4 settings, gateway, HTTP port, maker and model,
 * firmware); later changes of an identified device come as updates. A Bye or silence makes the
 * device leave.
 *
 * Nothing but Probe goes out before credentials are given (setCredentials() for every device,
 * setDeviceCredentials() for one). The credentials stay in memory only, until
 * clearCredentials() or the end of the program.
 *
 * Claims are checked before credentials go out. An endpoint is identified only after it was
 * heard for a moment, and it stays at the address it was first heard at: another address
 * claiming it makes it contested (isContested()), as does an ONVIF device claiming the MAC or
 * serial number of a verified device of the device protocol at another address (noteDevice()).
 * Credentials go to each endpoint once per sign-in (or Refresh), and to at most 64 endpoints of
 * one address.
 *
 * The sockets and the identification run on a thread of their own; the signals are emitted
 * there and reach receivers on the GUI thread queued. The public methods may be called from any
 * thread.
 */
class OnvifHandler : public QObject
{
    Q_OBJECT

public:
    /** @brief A service in the scope of @p options (see onvif::ClientOptions::fromEnvironment()). */
    explicit OnvifHandler(const onvif::ClientOptions &options, QObject *parent = nullptr);
    /** @brief Stops discovery and forgets the credentials. */
    ~OnvifHandler() override;

    const onvif::ClientOptions &clientOptions() const { return m_options; }
    /** @brief The options of device requests in this service's scope, with its certificate pins. */
    onvif::DeviceClient::Options deviceOptions() const;
    /** @brief Pins devices' TLS certificates in @p pins (set before start(); memory only without). */
    void setCertificatePins(std::shared_ptr<onvif::CertificatePins> pins);
    /** @brief The endpoint reference of the device listed under @p key; empty when unknown. */
    QString endpointOf(const QString &key) const;

    /** @brief At most this many identifications at the same time (16 unless set). */
    void setMaxParallel(int count);

    /** @brief Starts discovery; false with @p error when no socket opens. */
    bool start(QString *error = nullptr);
    /** @brief Stops discovery; the devices are forgotten without departures. */
    void stop();
    bool isStarted() const { return m_started; }

    /** @brief Forgets the devices and probes again, so that every device is reported anew (Refresh). */
    void sendInquiry();

    /** @brief Identifies every device with @p credentials from now on, those listed now at once. */
    void setCredentials(const onvif::Credentials &credentials);
    /** @brief Forgets every password given. */
    void clearCredentials();
    /** @brief Whether credentials for every device were given. */
    bool hasCredentials() const;
    /** @brief The credentials given for every device (sign-in), if any. */
    std::optional<onvif::Credentials> credentials() const;
    /**
     * @brief Credentials for the device listed under @p key (its serial number or endpoint), which
     *        it is identified with from now on instead of those of setCredentials(); identifies it now.
     */
    void setDeviceCredentials(const QString &key, const onvif::Credentials &credentials);
    /** @brief Lets the password travel in clear to the device under @p key (the user agreed); identifies it now. */
    void allowClearText(const QString &key);
    /** @brief Whether the user let the password travel in clear to the device under @p key. */
    bool clearTextAllowed(const QString &key) const;

    /**
     * @brief The device service address of the device listed under @p key; empty when unknown or
     *        contested (nothing may be sent to it then).
     */
    QUrl serviceUrl(const QString &key) const;
    /**
     * @brief Whether another address claims the identity of the device under @p key: its endpoint,
     *        or the MAC or serial number of a verified device elsewhere.
     *
     * A contested device gets no credentials until sendInquiry() or deviceMoved().
     */
    bool isContested(const QString &key) const;
    /**
     * @brief A device of the device protocol came (@p present) or went. The ONVIF face of a
     *        verified one is accepted at its IPv4 address only; an ONVIF device elsewhere that
     *        claims its MAC or serial number is contested. Other records are ignored.
     */
    void noteDevice(const VEXO_DEVICE_INFO &record, bool present);
    /**
     * @brief The device under @p key now serves at @p serviceUrl (after a change of its address):
     *        identifies it there with @p credentials, so that its row follows it.
     */
    void deviceMoved(const QString &key, const QUrl &serviceUrl, const onvif::Credentials &credentials);

    /** @brief The window's description of a failure of the ONVIF client. */
    static VexoTool::OnvifFailure failureOf(const onvif::Failure &failure);

signals:
    /** @brief A device appeared, or was identified (after the departure of its unidentified record). */
    void signalDeviceOnline(VEXO_DEVICE_INFO struDevInfo);
    /** @brief A device left the network, or its unidentified record gave way to the identified one. */
    void signalDeviceOffline(VEXO_DEVICE_INFO struDevInfo);
    /** @brief A known device's data changed. */
    void signalDeviceUpdate(VEXO_DEVICE_INFO struDevInfo);
    /** @brief Identifying the device listed under @p key failed; its row stays unidentified. */
    void signalIdentifyFailed(QString key, VexoTool::OnvifFailure failure);
    /**
     * @brief The device listed under @p key was identified, but some of its values could not be
     *        read: @p missing says which and why (translated, one line per reason). Emitted after
     *        the device's record.
     */
    void signalIdentifiedPartly(QString key, QString missing);
    /**
     * @brief The device listed under @p key offers only clear-text passwords; @p name says which
     *        device it is. Emitted once per device; allowClearText() lets it be identified.
     */
    void signalClearTextOnly(QString key, QString name);
    /** @brief Every identification asked for so far has ended. */
    void signalIdentifyIdle();
    /**
     * @brief The identifications that setCredentials() started (with those of devices still being
     *        heard at that moment) have all ended; @p outcomes says how, one per device. Emitted
     *        once per setCredentials(), also when there was nothing to identify.
     */
    void signalSignInFinished(QVector<VEXO::OnvifSignInOutcome> outcomes);
    /**
     * @brief The sign-in under way has its outcome for @p answered of the @p asked devices it
     *        waits for so far (asked grows as devices are heard). Emitted when either changes.
     */
    void signalSignInProgress(int answered, int asked);

private:
    friend class OnvifWorker;

    void post(std::function<void(OnvifWorker &)> work);

    onvif::ClientOptions m_options;
    std::shared_ptr<onvif::CertificatePins> m_pins = std::make_shared<onvif::CertificatePins>();
    bool m_started = false;
    int m_maxParallel = 16;
    std::unique_ptr<QThread> m_thread;
    OnvifWorker *m_worker = nullptr; // lives in m_thread

    // Shared with the worker: which endpoint each listed key belongs to, where it serves.
    mutable QMutex m_mutex;
    QHash<QString, QString> m_endpointOfKey;
    QHash<QString, QUrl> m_urlOfEndpoint;
    QHash<QString, bool> m_clearTextOfEndpoint;
    QSet<QString> m_contested;                       // endpoints
    std::optional<onvif::Credentials> m_credentials; // for every device, this session only
};

} // namespace VEXO

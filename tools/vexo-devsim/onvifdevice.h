// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "onvifhttp.h"
#include "onvifmedia.h"

#include <result.h>
#include <soapdocument.h>

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

/** @brief How a simulated ONVIF device wants its callers to prove who they are. */
enum class OnvifAuthMode {
    WsSecurity, ///< UsernameToken with PasswordDigest only; no credentials: HTTP 400, ter:NotAuthorized
    HttpDigest, ///< HTTP Digest (SHA-256 and MD5, qop=auth) only; no credentials: HTTP 401
    Both,       ///< either of the two; no credentials: HTTP 401 with the Digest challenges
    ClearText,  ///< HTTP Basic or a PasswordText token only; no credentials: HTTP 401 Basic
};

/** @brief The mode's console name (wsse, digest, both, text) and back. */
QString authModeName(OnvifAuthMode mode);
std::optional<OnvifAuthMode> authModeFromName(QStringView name);

/** @brief Habits of real cameras a simulated device can copy, each switched on its own. */
enum class OnvifQuirk : quint32 {
    Soap11 = 1,          ///< answers (and faults) in SOAP 1.1 envelopes under the SOAP 1.2 content type
    DeviceNamespace = 2, ///< schema elements written in the device namespace
    Fault200 = 4,        ///< faults come with HTTP 200 and the ONVIF subcode as their code
    Silent = 8,          ///< no Hello or Bye (Probes are still answered)
    PortWaits = 16,      ///< a new HTTP port waits for SystemReboot like the address can
    NoInterfaces = 32,   ///< GetNetworkInterfaces is not implemented
};

/** @brief The quirk's console name (soap11, device-ns, fault-200, silent, port-waits, no-interfaces) and back. */
QString quirkName(OnvifQuirk quirk);
std::optional<OnvifQuirk> quirkFromName(QStringView name);
/** @brief The names of the quirks set in @p quirks, in a fixed order. */
QStringList quirkNames(quint32 quirks);

/** @brief One account on the device. */
struct OnvifUser
{
    QString name;
    QString password;
    QString level = QStringLiteral("Administrator"); ///< Administrator, Operator or User
};

/** @brief Everything a simulated ONVIF device keeps across restarts of the simulator. */
struct OnvifDeviceState
{
    QString endpoint; ///< urn:uuid:...
    QString manufacturer;
    QString model;
    QString firmware;
    QString serial;
    QString hardwareId;
    QString mac; ///< aa:bb:cc:dd:ee:ff
    QString ipv4;
    int prefixLength = 8;
    bool dhcp = false;
    QString gateway; ///< empty: none
    quint16 httpPort = 0;
    QList<OnvifUser> users;
    OnvifAuthMode authMode = OnvifAuthMode::Both;
    bool rebootNeeded = false;     ///< SetNetworkInterfaces takes effect at SystemReboot
    qint64 clockOffsetSeconds = 0; ///< the device's clock runs this far from true UTC
    bool alsoVxdp = false;         ///< the same device also answers VXDP/1
    quint32 metadataVersion = 1;
    bool https = false;           ///< the device service is also (or only) served over HTTPS
    bool httpsOnly = false;       ///< no plain HTTP at all
    quint16 httpsPort = 0;        ///< 0: any free port when served
    QByteArray tlsCertificatePem; ///< the device's own self-signed certificate
    QByteArray tlsKeyPem;         ///< and its private key
    SnapshotQuirk snapshotQuirk = SnapshotQuirk::None;
    quint32 quirks = 0; ///< OnvifQuirk bits
    bool has(OnvifQuirk quirk) const { return (quirks & quint32(quirk)) != 0; }
    /** @brief Whether plain HTTP is served. */
    bool servesHttp() const { return !(https && httpsOnly); }
};

/** @brief A fault to play on the device's next request. */
enum class OnvifInjectedFault {
    None,
    Receiver, ///< HTTP 500 with env:Receiver ter:Action
    Garbage,  ///< HTTP 200 with a body that is not XML
    Close,    ///< the connection closes without an answer
};

/**
 * @brief One simulated ONVIF device's device-management service: an HTTP request and the
 * time in, the HTTP response out. No sockets and no timers; the clock is the caller's.
 *
 * The device answers GetSystemDateAndTime to anyone and everything else only to a caller who
 * authenticates as its mode asks. UsernameToken digests must be created within
 * kCreatedWindowSeconds of the device's own clock (which runs clockOffsetSeconds off true
 * UTC) and each nonce counts once; HTTP Digest nonces expire after kDigestNonceSeconds
 * (the next challenge says stale=true) and their nonce counts must grow. What the request
 * changed that the transport must carry out (a new address or port, a reboot) is collected
 * in effects() after the response is built.
 */
class OnvifDevice
{
public:
    static constexpr qsizetype kMaxBodyBytes = 64 * 1024;
    static constexpr qint64 kCreatedWindowSeconds = 60;
    static constexpr qint64 kDigestNonceSeconds = 300;
    static constexpr int kMaxNoncesKept = 4096;
    static constexpr int kMaxOperationsCounted = 64;
    static inline const QByteArray kServicePath = QByteArrayLiteral("/onvif/device_service");

    /** @brief What the transport must do once the response is on its way. */
    struct Effects
    {
        bool moved = false;  ///< address or HTTP port changed: serve from state() now
        bool reboot = false; ///< go silent (Bye), then come back (Hello) with pending changes applied
    };

    explicit OnvifDevice(OnvifDeviceState state);

    HttpResponse handle(const HttpRequest &request, const QDateTime &nowUtc);
    /** @brief Takes and clears what the last requests asked of the transport. */
    Effects takeEffects() { return std::exchange(m_effects, {}); }
    /** @brief Applies network settings that waited for the reboot. */
    void reboot();

    const OnvifDeviceState &state() const { return m_state; }
    OnvifDeviceState &state() { return m_state; }
    void injectFault(OnvifInjectedFault fault) { m_fault = fault; }
    /** @brief How often each operation reached the device since it started ("SetUser" → 1). */
    const QHash<QString, int> &received() const { return m_received; }

    /** @brief Makes the image the device serves at onvifmedia::kSnapshotPath (none: 404). */
    using SnapshotSource = std::function<QByteArray(const OnvifDeviceState &)>;
    void setSnapshotSource(SnapshotSource source) { m_snapshotSource = std::move(source); }

    /** @brief The device service address as GetCapabilities names it: HTTPS when served. */
    QString xaddr() const;
    /** @brief The addresses WS-Discovery announces: HTTPS first when served, then HTTP when served. */
    QStringList xaddrs() const;
    /** @brief Whether a Probe for @p types (none: any device) finds this device. */
    bool matchesProbe(const QList<onvif::QualifiedName> &types) const;
    /** @name WS-Discovery messages about this device */
    ///@{
    QByteArray probeMatches(const QString &relatesTo, const QString &messageId) const;
    QByteArray hello(const QString &messageId) const;
    QByteArray bye(const QString &messageId) const;
    ///@}

private:
    /** @brief The standard answer, before the quirks rewrite it. */
    HttpResponse answer(const HttpRequest &request, const QDateTime &nowUtc);
    struct Authorized
    {
        bool ok = false;
        HttpResponse refusal;
    };
    Authorized authorize(const HttpRequest &request, const onvif::SoapDocument &doc, int header,
                         const QDateTime &deviceNow);
    std::optional<QString> checkUsernameToken(const onvif::SoapDocument &doc, int token, const QDateTime &deviceNow,
                                              bool clearText);
    std::optional<QString> checkHttpAuthorization(const HttpRequest &request, bool clearText, bool *stale,
                                                  const QDateTime &nowUtc);
    HttpResponse challenge(bool stale, const QDateTime &nowUtc);
    const OnvifUser *user(const QString &name) const;
    HttpResponse dispatch(const QString &action, const onvif::SoapDocument &doc, int payload,
                          const QDateTime &deviceNow);

    HttpResponse snapshot(const HttpRequest &request, const QDateTime &nowUtc);
    /** "https://host:port" of xaddr(), where the media services are. */
    QString base() const;

    OnvifDeviceState m_state;
    SnapshotSource m_snapshotSource;
    std::optional<OnvifDeviceState> m_pending; ///< network settings waiting for SystemReboot
    Effects m_effects;
    OnvifInjectedFault m_fault = OnvifInjectedFault::None;
    QHash<QString, int> m_received;              ///< at most kMaxOperationsCounted names
    QHash<QByteArray, qint64> m_usedTokenNonces; ///< nonce -> device time (s) after which it may be forgotten
    struct DigestNonce
    {
        qint64 issuedMs = 0;
        quint32 lastCount = 0;
    };
    QHash<QByteArray, DigestNonce> m_digestNonces;
};

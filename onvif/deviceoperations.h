// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "deviceclient.h"
#include "devicemgmt.h"
#include "failure.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <optional>

namespace onvif {

/** @brief A read that failed while identification went on: which operation, and why. */
struct IdentityGap
{
    QString operation; ///< "GetNetworkInterfaces"
    Failure failure;
};

/** @brief What identification learnt of a device. */
struct Identity
{
    QUrl serviceUrl;               ///< the device service address used
    QUrl secureServiceUrl;         ///< the same service over HTTPS, when an http device lists HTTPS
    QString endpoint;              ///< the endpoint reference it was identified under, when known
    qint64 clockOffsetSeconds = 0; ///< device clock minus ours; 0 when the device did not say
    bool clockKnown = false;       ///< whether GetSystemDateAndTime gave the device's UTC clock
    bool authenticated = false;    ///< whether the credentials were accepted: at least one read below succeeded
    QList<IdentityGap> gaps;       ///< the reads that failed; the fields they fill stay empty
    QStringList quirks;            ///< how the device's answers departed from the schema
    devicemgmt::DeviceInformation information;
    QString interfaceToken; ///< the enabled interface with IPv4 that the rest describes
    QString macAddress;     ///< as the device writes it
    devicemgmt::PrefixedAddress ipv4;
    bool dhcp = false;
    QStringList gateways; ///< IPv4 default gateways
    int httpPort = 0;     ///< first port of the enabled HTTP protocol, 0 when none
    QList<devicemgmt::NetworkProtocol> protocols;

    /** @brief Where requests go: HTTPS when the device offers it. */
    QUrl requestUrl() const { return secureServiceUrl.isValid() ? secureServiceUrl : serviceUrl; }
    /** @brief Whom its certificate is pinned for. */
    Peer peer() const { return {endpoint, macAddress}; }
};

/** @brief Network parameters to change; what is not set stays as it is. */
struct NetworkChange
{
    std::optional<devicemgmt::Ipv4Settings> ipv4;
    std::optional<QString> gateway; ///< an empty text clears the gateway
    std::optional<int> httpPort;
};

/** @brief What a network change did. */
struct NetworkChangeResult
{
    /** @brief The parts of a change, as named in notApplied. */
    enum class Part { Gateway, Address, HttpPort };

    bool rebootNeeded = false; ///< the device applies the address only after SystemReboot
    QUrl serviceUrl;           ///< where the device service is expected now (unchanged after a switch to DHCP)
    /** Whether the device was read back and showed every value asked for (never before a reboot). */
    bool confirmed = false;
    /** The parts the device declined or does not show; empty when everything applied. */
    QList<Part> notApplied;
    /** Why the first of notApplied did not apply: the device's refusal, or what it shows instead. */
    Failure why;
};

/**
 * @brief The device-management operations the program runs, asynchronously.
 *
 * Create and call it in a thread with an event loop (the GUI thread, or a worker's); each
 * callback runs later in that thread, exactly once. BlockingDeviceOperations runs the same
 * operations to the end for a worker thread or the command line.
 *
 * Identification sends GetSystemDateAndTime (answered without credentials) and, with
 * credentials, GetDeviceInformation, GetNetworkInterfaces, GetNetworkDefaultGateway and
 * GetNetworkProtocols; nothing but GetSystemDateAndTime goes out without credentials. Each read
 * stands on its own: one the device declines or answers unreadably is listed in Identity::gaps
 * and the others still go out; identification fails only when none succeeds, or when the
 * device cannot be talked to with these credentials at all before anything was read (refused
 * password, no connection, time-out, certificate). A device
 * at an http address that lists an enabled HTTPS protocol gets the later changes over HTTPS
 * (Identity::requestUrl()); a new password goes over plain HTTP only when the credentials allow it.
 */
class DeviceOperations : public QObject
{
    Q_OBJECT

public:
    template<typename T>
    using Callback = std::function<void(const Outcome<T> &)>;

    /** @brief How often, and how far apart, a changed device is looked for where it may serve now. */
    static constexpr int kConfirmRounds = 5;
    static constexpr int kConfirmPauseMs = 300;

    explicit DeviceOperations(const DeviceClient::Options &options, QObject *parent = nullptr);

    DeviceClient &client() { return m_client; }

    /** @brief Identifies the device at @p serviceUrl, known by @p endpoint when discovered. */
    void identify(const QUrl &serviceUrl, const std::optional<Credentials> &credentials, const Callback<Identity> &done,
                  const QString &endpoint = QString());
    /**
     * @brief Changes the parameters in @p change on the interface @p identity names: the gateway,
     * then the HTTP port (other protocols kept as they were), then the address
     * (SetNetworkInterfaces), each request following the device where it applied a port at once.
     *
     * The device has the last word: unless it waits for a reboot, its values are read back where
     * it serves now (GetNetworkInterfaces, GetNetworkProtocols, GetNetworkDefaultGateway, after a
     * moment when it is still moving). What it shows counts, even when a request got no answer
     * because the device moved while answering. A change that applied in part comes back as a
     * value naming what did not apply (NetworkChangeResult::notApplied); it fails only when
     * nothing applied.
     */
    void changeNetwork(const Identity &identity, const Credentials &credentials, const NetworkChange &change,
                       const Callback<NetworkChangeResult> &done);
    /** @brief SystemReboot; the value is the device's message. */
    void reboot(const Identity &identity, const Credentials &credentials, const Callback<QString> &done);
    /**
     * @brief Sets @p username's password with SetUser, keeping the level GetUsers reports for it.
     * Over plain HTTP it fails with Failure::Kind::NotEncrypted, sending nothing, unless
     * Credentials::allowClearTextNewPassword is set.
     */
    void changePassword(const Identity &identity, const Credentials &credentials, const QString &username,
                        const QString &newPassword, const Callback<devicemgmt::Done> &done);

private:
    template<typename T>
    void later(const Callback<T> &done, const Outcome<T> &outcome);
    /** @brief The name a device is logged under: its endpoint, else its address. */
    static QString deviceName(const QUrl &url, const Peer &peer);
    /** @brief @p targets moved to @p host, followed by @p targets themselves. */
    static QList<QUrl> movedTargets(const QList<QUrl> &targets, const QString &host);
    /**
     * @brief Reads back the values @p change asked for, at the first of @p targets where the
     * device answers; nothing when it answers nowhere (or waits for a reboot).
     */
    void confirmChange(const Identity &identity, const NetworkChange &change, const Credentials &credentials,
                       qint64 offset, const Peer &peer, const QList<QUrl> &targets, bool rebootNeeded,
                       const std::function<void(std::optional<NetworkChangeResult>)> &done);
    void noteQuirks(Identity *id, const QStringList &quirks);

    DeviceClient m_client;
};

/**
 * @brief The operations of DeviceOperations, each run to its end before the call returns.
 *
 * For a worker thread or the command line only, never the GUI thread: each call runs a local
 * event loop in the calling thread until the answer is in (bounded by the time-outs).
 */
class BlockingDeviceOperations
{
public:
    explicit BlockingDeviceOperations(const DeviceClient::Options &options);

    Outcome<Identity> identify(const QUrl &serviceUrl, const std::optional<Credentials> &credentials,
                               const QString &endpoint = QString());
    Outcome<NetworkChangeResult> changeNetwork(const Identity &identity, const Credentials &credentials,
                                               const NetworkChange &change);
    Outcome<QString> reboot(const Identity &identity, const Credentials &credentials);
    Outcome<devicemgmt::Done> changePassword(const Identity &identity, const Credentials &credentials,
                                             const QString &username, const QString &newPassword);

private:
    DeviceClient::Options m_options;
};

} // namespace onvif

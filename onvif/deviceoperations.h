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

/** @brief What identification learnt of a device. */
struct Identity
{
    QUrl serviceUrl;               ///< the device service address used
    QUrl secureServiceUrl;         ///< the same service over HTTPS, when an http device lists HTTPS
    QString endpoint;              ///< the endpoint reference it was identified under, when known
    qint64 clockOffsetSeconds = 0; ///< device clock minus ours; 0 when the device did not say
    bool clockKnown = false;       ///< whether GetSystemDateAndTime gave the device's UTC clock
    bool authenticated = false;    ///< whether the fields below were read (credentials accepted)
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
    bool rebootNeeded = false; ///< the device applies the address only after SystemReboot
    QUrl serviceUrl;           ///< where the device service is expected now (unchanged after a switch to DHCP)
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
 * GetNetworkProtocols; nothing but GetSystemDateAndTime goes out without credentials. A device
 * at an http address that lists an enabled HTTPS protocol gets the later changes over HTTPS
 * (Identity::requestUrl()); a new password goes over plain HTTP only when the credentials allow it.
 */
class DeviceOperations : public QObject
{
    Q_OBJECT

public:
    template<typename T>
    using Callback = std::function<void(const Outcome<T> &)>;

    explicit DeviceOperations(const DeviceClient::Options &options, QObject *parent = nullptr);

    DeviceClient &client() { return m_client; }

    /** @brief Identifies the device at @p serviceUrl, known by @p endpoint when discovered. */
    void identify(const QUrl &serviceUrl, const std::optional<Credentials> &credentials, const Callback<Identity> &done,
                  const QString &endpoint = QString());
    /**
     * @brief Changes the parameters in @p change on the interface @p identity names: the gateway,
     * then the address (SetNetworkInterfaces), then the HTTP port (other protocols kept as they were).
     * After an address the device applies at once, the port change goes to its new address.
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

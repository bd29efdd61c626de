// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file devicemgmt.h
 * @brief Requests to an ONVIF device management service and the answers to them
 * (ONVIF Core Specification, "Device management"), as pure functions over XML text.
 *
 * Builders return the whole SOAP 1.2 envelope to POST to the device service address; those
 * that take values refuse an invalid one with a reason instead of sending it. Parsers accept
 * only the expected response element in the device namespace, or a SOAP fault, and refuse
 * everything else with a reason.
 */

#include "result.h"
#include "usernametoken.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace onvif::devicemgmt {

/** @brief Default limit of a response read from HTTP. */
inline constexpr qsizetype kMaxResponseBytes = 1024 * 1024;

/** @brief Credentials of a request; none for GetSystemDateAndTime, which devices answer to anyone. */
using Auth = std::optional<UsernameToken>;

/** @brief GetDeviceInformation's answer. */
struct DeviceInformation
{
    QString manufacturer;
    QString model;
    QString firmwareVersion;
    QString serialNumber;
    QString hardwareId;
};

/** @brief An IPv4 address with its prefix length (24 for 255.255.255.0). */
struct PrefixedAddress
{
    QString address;
    int prefixLength = 0;
    friend bool operator==(const PrefixedAddress &, const PrefixedAddress &) = default;
};

/** @brief One network interface as GetNetworkInterfaces reports it. */
struct NetworkInterface
{
    QString token;
    bool enabled = false;
    QString name;      ///< Info/Name, may be empty
    QString hwAddress; ///< MAC as the device writes it
    bool hasIpv4 = false;
    bool ipv4Enabled = false;
    QList<PrefixedAddress> manual;
    bool dhcp = false;
    std::optional<PrefixedAddress> fromDhcp;
    std::optional<PrefixedAddress> linkLocal;
};

/** @brief The default gateways. */
struct NetworkGateway
{
    QStringList ipv4;
    QStringList ipv6;
};

/** @brief One protocol the device serves: HTTP, HTTPS or RTSP. */
struct NetworkProtocol
{
    QString name;
    bool enabled = false;
    QList<int> ports;
    friend bool operator==(const NetworkProtocol &, const NetworkProtocol &) = default;
};

/** @brief GetSystemDateAndTime's answer. */
struct SystemDateAndTime
{
    QString dateTimeType; ///< "Manual" or "NTP"
    bool daylightSavings = false;
    QString timeZone;             ///< POSIX TZ string, may be empty
    std::optional<QDateTime> utc; ///< the device's UTC clock, when it sent one
};

/** @brief One account as GetUsers lists it (the password is never part of the answer). */
struct User
{
    QString username;
    QString userLevel; ///< Administrator, Operator, User, Anonymous or Extended
};

/** @brief Service addresses from GetCapabilities (empty when the device has no such service). */
struct Capabilities
{
    QString device;
    QString media;
    QString events;
    QString imaging;
    QString ptz;
    QString analytics;
};

/** @brief IPv4 settings for SetNetworkInterfaces: DHCP on, or a manual address. */
struct Ipv4Settings
{
    bool dhcp = false;
    PrefixedAddress manual; ///< used when dhcp is off
};

/** @brief An answer that carries nothing beyond success. */
struct Done
{
};

/** @brief Seconds to add to the local clock to read the device's: deviceUtc - localUtc. */
qint64 clockOffsetSeconds(const QDateTime &deviceUtc, const QDateTime &localUtc);
/** @brief Whether @p text is a dotted-quad IPv4 address (four numbers 0-255, no leading zeros). */
bool isIpv4Address(QStringView text);

/** @name Requests */
///@{
QByteArray getSystemDateAndTime();
QByteArray getDeviceInformation(const Auth &auth);
QByteArray getNetworkInterfaces(const Auth &auth);
QByteArray getNetworkDefaultGateway(const Auth &auth);
QByteArray getNetworkProtocols(const Auth &auth);
/** @brief GetCapabilities for category All. */
QByteArray getCapabilities(const Auth &auth);
QByteArray getUsers(const Auth &auth);
QByteArray systemReboot(const Auth &auth);
/** @brief Enables IPv4 on @p interfaceToken with DHCP, or with one manual address (prefix 1-32). */
Result<QByteArray> setNetworkInterfaces(const Auth &auth, const QString &interfaceToken, const Ipv4Settings &ipv4);
/** @brief Replaces the IPv4 default gateways (none clears them). */
Result<QByteArray> setNetworkDefaultGateway(const Auth &auth, const QStringList &ipv4);
/** @brief Sets protocols by name (HTTP, HTTPS, RTSP), ports 1-65535, at least one port each. */
Result<QByteArray> setNetworkProtocols(const Auth &auth, const QList<NetworkProtocol> &protocols);
/**
 * @brief Changes an existing user's password and level (Administrator, Operator, User).
 * The schema has the new password travel as text inside the body: send it over HTTPS.
 */
Result<QByteArray> setUser(const Auth &auth, const QString &username, const QString &newPassword,
                           const QString &userLevel);
///@}

/** @name Responses (each refuses texts over @p maxBytes) */
///@{
Result<SystemDateAndTime> parseSystemDateAndTime(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
Result<DeviceInformation> parseDeviceInformation(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
Result<QList<NetworkInterface>> parseNetworkInterfaces(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
Result<NetworkGateway> parseNetworkDefaultGateway(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
Result<QList<NetworkProtocol>> parseNetworkProtocols(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
Result<QList<User>> parseUsers(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
Result<Capabilities> parseCapabilities(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
/** @brief SetNetworkInterfaces' answer: whether the device needs SystemReboot to apply it. */
Result<bool> parseSetNetworkInterfaces(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
/** @brief SystemReboot's answer: the device's message. */
Result<QString> parseSystemReboot(QByteArrayView xml, qsizetype maxBytes = kMaxResponseBytes);
/** @brief An empty answer such as "SetUserResponse", "SetNetworkProtocolsResponse", "SetNetworkDefaultGatewayResponse". */
Result<Done> parseAcknowledgement(QByteArrayView xml, QStringView responseName, qsizetype maxBytes = kMaxResponseBytes);
///@}

} // namespace onvif::devicemgmt

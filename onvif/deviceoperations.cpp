// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "deviceoperations.h"

#include <QDateTime>
#include <QEventLoop>
#include <QTimer>

#include <memory>

namespace onvif {

namespace {

using devicemgmt::Auth;

// The enabled interface with IPv4 on, and its address (DHCP's when DHCP is on).
void pickInterface(const QList<devicemgmt::NetworkInterface> &interfaces, Identity *id)
{
    for (const auto &i : interfaces) {
        if (!i.enabled || !i.hasIpv4 || !i.ipv4Enabled)
            continue;
        id->interfaceToken = i.token;
        id->macAddress = i.hwAddress;
        id->dhcp = i.dhcp;
        if (i.dhcp && i.fromDhcp)
            id->ipv4 = *i.fromDhcp;
        else if (!i.manual.isEmpty())
            id->ipv4 = i.manual.first();
        else if (i.linkLocal)
            id->ipv4 = *i.linkLocal;
        return;
    }
}

template<typename T>
Outcome<T> invalid(const QString &why)
{
    return Outcome<T>::failedWith(Failure::of(Failure::Kind::InvalidArgument, why));
}

} // namespace

template<typename T>
void DeviceOperations::later(const Callback<T> &done, const Outcome<T> &outcome)
{
    QTimer::singleShot(0, this, [done, outcome] { done(outcome); });
}

DeviceOperations::DeviceOperations(const DeviceClient::Options &options, QObject *parent)
    : QObject(parent)
    , m_client(options, this)
{}

void DeviceOperations::identify(const QUrl &serviceUrl, const std::optional<Credentials> &credentials,
                                const Callback<Identity> &done, const QString &endpoint)
{
    auto id = std::make_shared<Identity>();
    id->serviceUrl = serviceUrl;
    id->endpoint = endpoint;
    auto fail = [done](const Failure &f) {
        done(Outcome<Identity>::failedWith(f));
    };
    auto finish = [done, id] {
        Outcome<Identity> o;
        o.value = *id;
        done(o);
    };
    // The chain of authenticated reads, each step calling the next.
    auto readProtocols = [this, id, credentials, fail, finish] {
        m_client.post(
            id->serviceUrl, deviceAction(QStringLiteral("GetNetworkProtocols")), credentials, id->clockOffsetSeconds,
            devicemgmt::getNetworkProtocols,
            [id, fail, finish](const Outcome<QByteArray> &a) {
                auto r = readAnswer<QList<devicemgmt::NetworkProtocol>>(
                    a, [](QByteArrayView x) { return devicemgmt::parseNetworkProtocols(x); });
                if (!r)
                    return fail(r.failure);
                id->protocols = *r.value;
                for (const auto &p : id->protocols) {
                    if (p.name == u"HTTP" && p.enabled && !p.ports.isEmpty() && id->httpPort == 0)
                        id->httpPort = p.ports.first();
                    // Changes go over HTTPS where the device offers it.
                    if (p.name == u"HTTPS" && p.enabled && !p.ports.isEmpty() && id->serviceUrl.scheme() == u"http"
                        && !id->secureServiceUrl.isValid()) {
                        QUrl secure = id->serviceUrl;
                        secure.setScheme(QStringLiteral("https"));
                        secure.setPort(p.ports.first());
                        id->secureServiceUrl = secure;
                    }
                }
                id->authenticated = true;
                finish();
            },
            id->peer());
    };
    auto readGateway = [this, id, credentials, fail, readProtocols] {
        m_client.post(
            id->serviceUrl, deviceAction(QStringLiteral("GetNetworkDefaultGateway")), credentials,
            id->clockOffsetSeconds, devicemgmt::getNetworkDefaultGateway,
            [id, fail, readProtocols](const Outcome<QByteArray> &a) {
                auto r = readAnswer<devicemgmt::NetworkGateway>(
                    a, [](QByteArrayView x) { return devicemgmt::parseNetworkDefaultGateway(x); });
                if (!r)
                    return fail(r.failure);
                id->gateways = r.value->ipv4;
                readProtocols();
            },
            id->peer());
    };
    auto readInterfaces = [this, id, credentials, fail, readGateway] {
        m_client.post(
            id->serviceUrl, deviceAction(QStringLiteral("GetNetworkInterfaces")), credentials, id->clockOffsetSeconds,
            devicemgmt::getNetworkInterfaces,
            [id, fail, readGateway](const Outcome<QByteArray> &a) {
                auto r = readAnswer<QList<devicemgmt::NetworkInterface>>(
                    a, [](QByteArrayView x) { return devicemgmt::parseNetworkInterfaces(x); });
                if (!r)
                    return fail(r.failure);
                pickInterface(*r.value, id.get());
                readGateway();
            },
            id->peer());
    };
    auto readInformation = [this, id, credentials, fail, readInterfaces] {
        m_client.post(
            id->serviceUrl, deviceAction(QStringLiteral("GetDeviceInformation")), credentials, id->clockOffsetSeconds,
            devicemgmt::getDeviceInformation,
            [id, fail, readInterfaces](const Outcome<QByteArray> &a) {
                auto r = readAnswer<devicemgmt::DeviceInformation>(
                    a, [](QByteArrayView x) { return devicemgmt::parseDeviceInformation(x); });
                if (!r)
                    return fail(r.failure);
                id->information = *r.value;
                readInterfaces();
            },
            id->peer());
    };
    m_client.post(
        serviceUrl, deviceAction(QStringLiteral("GetSystemDateAndTime")), std::nullopt, 0,
        [](const Auth &) { return devicemgmt::getSystemDateAndTime(); },
        [id, credentials, fail, finish, readInformation](const Outcome<QByteArray> &a) {
            auto r = readAnswer<devicemgmt::SystemDateAndTime>(
                a, [](QByteArrayView x) { return devicemgmt::parseSystemDateAndTime(x); });
            // A device that wants credentials even for its clock is still asked the rest, with
            // the local clock; one that cannot be reached at all is not.
            const bool declined = r.failure.kind == Failure::Kind::SoapFault
                                  || r.failure.kind == Failure::Kind::NotAuthorized
                                  || r.failure.kind == Failure::Kind::HttpStatus;
            if (!r && !(declined && credentials))
                return fail(r.failure);
            if (r && r.value->utc) {
                id->clockKnown = true;
                id->clockOffsetSeconds = devicemgmt::clockOffsetSeconds(*r.value->utc, QDateTime::currentDateTimeUtc());
            }
            if (!credentials)
                return finish();
            readInformation();
        },
        id->peer());
}

void DeviceOperations::changeNetwork(const Identity &identity, const Credentials &credentials,
                                     const NetworkChange &wanted, const Callback<NetworkChangeResult> &done)
{
    NetworkChange change = wanted;
    if (change.ipv4 && identity.interfaceToken.isEmpty())
        return later(done, invalid<NetworkChangeResult>(QStringLiteral("the device has no identified IPv4 interface")));
    if (change.gateway && !change.gateway->isEmpty() && !devicemgmt::isIpv4Address(*change.gateway))
        return later(done, invalid<NetworkChangeResult>(
                               QStringLiteral("gateway '%1' is not an IPv4 address").arg(*change.gateway)));
    if (change.httpPort && (*change.httpPort < 1 || *change.httpPort > 65535))
        return later(
            done, invalid<NetworkChangeResult>(QStringLiteral("HTTP port %1 is out of range").arg(*change.httpPort)));
    QList<devicemgmt::NetworkProtocol> protocols = identity.protocols;
    if (change.httpPort) {
        // The web port of a device served over HTTPS is its HTTPS port: plain HTTP is never
        // switched on for it.
        const QString name
            = identity.requestUrl().scheme() == u"https" ? QStringLiteral("HTTPS") : QStringLiteral("HTTP");
        auto web = std::find_if(protocols.begin(), protocols.end(),
                                [&name](const devicemgmt::NetworkProtocol &p) { return p.name == name; });
        if (web != protocols.end() && web->enabled && web->ports.contains(*change.httpPort))
            change.httpPort.reset(); // already so: nothing to send, and nothing to go to a moved device
        else if (web == protocols.end())
            protocols.append({name, true, {*change.httpPort}});
        else
            web->ports = {*change.httpPort}, web->enabled = true;
    }
    // Builders check the values before anything is sent, so a bad one changes nothing.
    std::optional<Result<QByteArray>> checkedInterface;
    if (change.ipv4) {
        checkedInterface = devicemgmt::setNetworkInterfaces(std::nullopt, identity.interfaceToken, *change.ipv4);
        if (!*checkedInterface)
            return later(done, invalid<NetworkChangeResult>(checkedInterface->error));
    }
    if (change.httpPort) {
        const auto checked = devicemgmt::setNetworkProtocols(std::nullopt, protocols);
        if (!checked)
            return later(done, invalid<NetworkChangeResult>(checked.error));
    }

    auto result = std::make_shared<NetworkChangeResult>();
    result->serviceUrl = identity.serviceUrl;
    auto target = std::make_shared<QUrl>(identity.requestUrl()); // follows an address applied at once
    const Peer peer = identity.peer();
    const qint64 offset = identity.clockOffsetSeconds;
    auto fail = [done](const Failure &f) {
        done(Outcome<NetworkChangeResult>::failedWith(f));
    };
    auto finish = [done, result] {
        Outcome<NetworkChangeResult> o;
        o.value = *result;
        done(o);
    };
    auto setPort = [this, change, protocols, credentials, offset, result, target, peer, fail, finish] {
        if (!change.httpPort)
            return finish();
        m_client.post(
            *target, deviceAction(QStringLiteral("SetNetworkProtocols")), credentials, offset,
            [protocols](const Auth &auth) { return *devicemgmt::setNetworkProtocols(auth, protocols).value; },
            [change, result, fail, finish](const Outcome<QByteArray> &a) {
                auto r = readAnswer<devicemgmt::Done>(a, [](QByteArrayView x) {
                    return devicemgmt::parseAcknowledgement(x, u"SetNetworkProtocolsResponse");
                });
                if (!r)
                    return fail(r.failure);
                if (!result->rebootNeeded)
                    result->serviceUrl.setPort(*change.httpPort);
                finish();
            },
            peer);
    };
    auto setAddress = [this, identity, change, credentials, offset, result, target, peer, fail, setPort] {
        if (!change.ipv4)
            return setPort();
        m_client.post(
            *target, deviceAction(QStringLiteral("SetNetworkInterfaces")), credentials, offset,
            [identity, change](const Auth &auth) {
                return *devicemgmt::setNetworkInterfaces(auth, identity.interfaceToken, *change.ipv4).value;
            },
            [change, result, target, fail, setPort](const Outcome<QByteArray> &a) {
                auto r = readAnswer<bool>(a, [](QByteArrayView x) { return devicemgmt::parseSetNetworkInterfaces(x); });
                if (!r)
                    return fail(r.failure);
                result->rebootNeeded = *r.value;
                // A device that applies a manual address at once is now found there.
                if (!result->rebootNeeded && !change.ipv4->dhcp) {
                    result->serviceUrl.setHost(change.ipv4->manual.address);
                    target->setHost(change.ipv4->manual.address);
                }
                setPort();
            },
            peer);
    };
    if (!change.gateway)
        return setAddress();
    const QStringList gateways = change.gateway->isEmpty() ? QStringList() : QStringList{*change.gateway};
    m_client.post(
        *target, deviceAction(QStringLiteral("SetNetworkDefaultGateway")), credentials, offset,
        [gateways](const Auth &auth) { return *devicemgmt::setNetworkDefaultGateway(auth, gateways).value; },
        [fail, setAddress](const Outcome<QByteArray> &a) {
            auto r = readAnswer<devicemgmt::Done>(a, [](QByteArrayView x) {
                return devicemgmt::parseAcknowledgement(x, u"SetNetworkDefaultGatewayResponse");
            });
            if (!r)
                return fail(r.failure);
            setAddress();
        },
        peer);
}

void DeviceOperations::reboot(const Identity &identity, const Credentials &credentials, const Callback<QString> &done)
{
    m_client.post(
        identity.requestUrl(), deviceAction(QStringLiteral("SystemReboot")), credentials, identity.clockOffsetSeconds,
        devicemgmt::systemReboot,
        [done](const Outcome<QByteArray> &a) {
            done(readAnswer<QString>(a, [](QByteArrayView x) { return devicemgmt::parseSystemReboot(x); }));
        },
        identity.peer());
}

void DeviceOperations::changePassword(const Identity &identity, const Credentials &credentials, const QString &username,
                                      const QString &newPassword, const Callback<devicemgmt::Done> &done)
{
    // Checked with a stand-in level first, so a refused password is refused before anything is sent.
    const auto checked = devicemgmt::setUser(std::nullopt, username, newPassword, QStringLiteral("User"));
    if (!checked)
        return later(done, invalid<devicemgmt::Done>(checked.error));
    const QUrl url = identity.requestUrl();
    // The new password travels as text in the body: readable to anyone on the network without TLS.
    if (url.scheme() != u"https" && !credentials.allowClearTextNewPassword)
        return later(done, Outcome<devicemgmt::Done>::failedWith(Failure::of(
                               Failure::Kind::NotEncrypted, QStringLiteral("%1 offers no HTTPS").arg(url.host()))));
    const qint64 offset = identity.clockOffsetSeconds;
    const Peer peer = identity.peer();
    m_client.post(
        url, deviceAction(QStringLiteral("GetUsers")), credentials, offset, devicemgmt::getUsers,
        [this, url, offset, peer, credentials, username, newPassword, done](const Outcome<QByteArray> &a) {
            auto users
                = readAnswer<QList<devicemgmt::User>>(a, [](QByteArrayView x) { return devicemgmt::parseUsers(x); });
            if (!users)
                return done(Outcome<devicemgmt::Done>::failedWith(users.failure));
            const auto user = std::find_if(users.value->cbegin(), users.value->cend(),
                                           [&username](const devicemgmt::User &u) { return u.username == username; });
            if (user == users.value->cend())
                return done(invalid<devicemgmt::Done>(QStringLiteral("the device has no user '%1'").arg(username)));
            const auto request = devicemgmt::setUser(std::nullopt, username, newPassword, user->userLevel);
            if (!request)
                return done(invalid<devicemgmt::Done>(request.error));
            const QString level = user->userLevel;
            m_client.post(
                url, deviceAction(QStringLiteral("SetUser")), credentials, offset,
                [username, newPassword, level](const Auth &auth) {
                    return *devicemgmt::setUser(auth, username, newPassword, level).value;
                },
                [done](const Outcome<QByteArray> &answer) {
                    done(readAnswer<devicemgmt::Done>(answer, [](QByteArrayView x) {
                        return devicemgmt::parseAcknowledgement(x, u"SetUserResponse");
                    }));
                },
                peer);
        },
        peer);
}

namespace {

// Runs one asynchronous operation to its end in a local event loop of the calling thread.
template<typename T, typename Start>
Outcome<T> runToEnd(const DeviceClient::Options &options, Start start)
{
    DeviceOperations operations(options);
    QEventLoop loop;
    Outcome<T> out;
    bool finished = false;
    start(operations, [&out, &loop, &finished](const Outcome<T> &o) {
        out = o;
        finished = true;
        loop.quit();
    });
    if (!finished)
        loop.exec();
    return out;
}

} // namespace

BlockingDeviceOperations::BlockingDeviceOperations(const DeviceClient::Options &options)
    : m_options(options)
{}

Outcome<Identity> BlockingDeviceOperations::identify(const QUrl &serviceUrl,
                                                     const std::optional<Credentials> &credentials,
                                                     const QString &endpoint)
{
    return runToEnd<Identity>(
        m_options, [&](DeviceOperations &ops, auto done) { ops.identify(serviceUrl, credentials, done, endpoint); });
}

Outcome<NetworkChangeResult> BlockingDeviceOperations::changeNetwork(const Identity &identity,
                                                                     const Credentials &credentials,
                                                                     const NetworkChange &change)
{
    return runToEnd<NetworkChangeResult>(
        m_options, [&](DeviceOperations &ops, auto done) { ops.changeNetwork(identity, credentials, change, done); });
}

Outcome<QString> BlockingDeviceOperations::reboot(const Identity &identity, const Credentials &credentials)
{
    return runToEnd<QString>(m_options,
                             [&](DeviceOperations &ops, auto done) { ops.reboot(identity, credentials, done); });
}

Outcome<devicemgmt::Done> BlockingDeviceOperations::changePassword(const Identity &identity,
                                                                   const Credentials &credentials,
                                                                   const QString &username, const QString &newPassword)
{
    return runToEnd<devicemgmt::Done>(m_options, [&](DeviceOperations &ops, auto done) {
        ops.changePassword(identity, credentials, username, newPassword, done);
    });
}

} // namespace onvif

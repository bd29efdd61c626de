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

namespace {

// Failures after which no further request with these credentials is worth sending.
bool endsIdentification(Failure::Kind kind)
{
    using K = Failure::Kind;
    switch (kind) {
    case K::NotAuthorized:
    case K::Unreachable:
    case K::Refused:
    case K::TimedOut:
    case K::ClearTextOnly:
    case K::AddressNotAllowed:
    case K::CertificateChanged:
    case K::TlsFailed:
        return true;
    default:
        return false;
    }
}

// One authenticated read of identification: its operation, and what its answer fills in.
struct IdentifyStep
{
    QString operation;
    QByteArray (*build)(const Auth &);
    std::function<Outcome<devicemgmt::Done>(const Outcome<QByteArray> &, Identity *)> read;
};

template<typename T>
Outcome<devicemgmt::Done> applied(const Outcome<T> &o, const std::function<void(const T &)> &apply)
{
    Outcome<devicemgmt::Done> out;
    out.quirks = o.quirks;
    out.failure = o.failure;
    if (o) {
        apply(*o.value);
        out.value = devicemgmt::Done{};
    }
    return out;
}

QList<IdentifyStep> identifySteps()
{
    using namespace devicemgmt;
    return {
        {QStringLiteral("GetDeviceInformation"), getDeviceInformation,
         [](const Outcome<QByteArray> &a, Identity *id) {
             return applied<DeviceInformation>(
                 readAnswer<DeviceInformation>(a, [](QByteArrayView x) { return parseDeviceInformation(x); }),
                 [id](const DeviceInformation &v) { id->information = v; });
         }},
        {QStringLiteral("GetNetworkInterfaces"), getNetworkInterfaces,
         [](const Outcome<QByteArray> &a, Identity *id) {
             return applied<QList<NetworkInterface>>(
                 readAnswer<QList<NetworkInterface>>(a, [](QByteArrayView x) { return parseNetworkInterfaces(x); }),
                 [id](const QList<NetworkInterface> &v) { pickInterface(v, id); });
         }},
        {QStringLiteral("GetNetworkDefaultGateway"), getNetworkDefaultGateway,
         [](const Outcome<QByteArray> &a, Identity *id) {
             return applied<NetworkGateway>(
                 readAnswer<NetworkGateway>(a, [](QByteArrayView x) { return parseNetworkDefaultGateway(x); }),
                 [id](const NetworkGateway &v) { id->gateways = v.ipv4; });
         }},
        {QStringLiteral("GetNetworkProtocols"), getNetworkProtocols,
         [](const Outcome<QByteArray> &a, Identity *id) {
             return applied<QList<NetworkProtocol>>(
                 readAnswer<QList<NetworkProtocol>>(a, [](QByteArrayView x) { return parseNetworkProtocols(x); }),
                 [id](const QList<NetworkProtocol> &v) {
                     id->protocols = v;
                     for (const auto &p : v) {
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
                 });
         }},
    };
}

} // namespace

QString DeviceOperations::deviceName(const QUrl &url, const Peer &peer)
{
    return peer.endpoint.isEmpty() ? url.authority() : peer.endpoint;
}

void DeviceOperations::noteQuirks(Identity *id, const QStringList &quirks)
{
    m_client.noteQuirks(deviceName(id->serviceUrl, id->peer()), quirks);
    for (const QString &q : quirks) {
        if (!id->quirks.contains(q))
            id->quirks.append(q);
    }
}

void DeviceOperations::identify(const QUrl &serviceUrl, const std::optional<Credentials> &credentials,
                                const Callback<Identity> &done, const QString &endpoint)
{
    auto id = std::make_shared<Identity>();
    id->serviceUrl = serviceUrl;
    id->endpoint = endpoint;
    auto finish = [done, id] {
        if (!id->authenticated && !id->gaps.isEmpty())
            return done(Outcome<Identity>::failedWith(id->gaps.first().failure));
        Outcome<Identity> o;
        o.value = *id;
        done(o);
    };
    // The authenticated reads one after the other; each in-flight request keeps the chain alive.
    const auto steps = std::make_shared<const QList<IdentifyStep>>(identifySteps());
    auto run = std::make_shared<std::function<void(qsizetype)>>();
    *run = [this, id, steps, credentials, done, finish, weak = std::weak_ptr(run)](qsizetype i) {
        if (i == steps->size())
            return finish();
        const IdentifyStep &step = steps->at(i);
        m_client.post(
            id->serviceUrl, deviceAction(step.operation), credentials, id->clockOffsetSeconds, step.build,
            [this, id, steps, i, done, finish, self = weak.lock()](const Outcome<QByteArray> &a) {
                const IdentifyStep &step = steps->at(i);
                const Outcome<devicemgmt::Done> r = step.read(a, id.get());
                noteQuirks(id.get(), r.quirks);
                if (r) {
                    id->authenticated = true;
                } else if (endsIdentification(r.failure.kind)) {
                    if (!id->authenticated)
                        return done(Outcome<Identity>::failedWith(r.failure));
                    for (qsizetype j = i; j < steps->size(); ++j)
                        id->gaps.append({steps->at(j).operation, r.failure});
                    return finish();
                } else {
                    id->gaps.append({step.operation, r.failure});
                }
                (*self)(i + 1);
            },
            id->peer());
    };
    m_client.post(
        serviceUrl, deviceAction(QStringLiteral("GetSystemDateAndTime")), std::nullopt, 0,
        [](const Auth &) { return devicemgmt::getSystemDateAndTime(); },
        [this, id, credentials, finish, done, run](const Outcome<QByteArray> &a) {
            auto r = readAnswer<devicemgmt::SystemDateAndTime>(
                a, [](QByteArrayView x) { return devicemgmt::parseSystemDateAndTime(x); });
            noteQuirks(id.get(), r.quirks);
            // A device that wants credentials even for its clock is still asked the rest, with
            // the local clock; one that cannot be reached at all is not.
            const bool declined = r.failure.kind == Failure::Kind::SoapFault
                                  || r.failure.kind == Failure::Kind::NotAuthorized
                                  || r.failure.kind == Failure::Kind::HttpStatus;
            if (!r && !(declined && credentials))
                return done(Outcome<Identity>::failedWith(r.failure));
            if (r && r.value->utc) {
                id->clockKnown = true;
                id->clockOffsetSeconds = devicemgmt::clockOffsetSeconds(*r.value->utc, QDateTime::currentDateTimeUtc());
            }
            if (!credentials)
                return finish();
            (*run)(0);
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

    using Part = NetworkChangeResult::Part;
    // What one change request is: its part, operation, body and how its answer is read.
    struct SetStep
    {
        Part part;
        QString operation;
        std::function<QByteArray(const Auth &)> build;
        std::function<Outcome<bool>(const Outcome<QByteArray> &)> read; // the value: RebootNeeded
    };
    const auto acknowledged = [](QString response) {
        return [response](const Outcome<QByteArray> &a) {
            const auto r = readAnswer<devicemgmt::Done>(
                a, [&response](QByteArrayView x) { return devicemgmt::parseAcknowledgement(x, response); });
            Outcome<bool> o;
            o.failure = r.failure;
            if (r)
                o.value = false;
            return o;
        };
    };
    QList<SetStep> steps;
    if (change.gateway) {
        const QStringList gateways = change.gateway->isEmpty() ? QStringList() : QStringList{*change.gateway};
        steps.append(
            {Part::Gateway, QStringLiteral("SetNetworkDefaultGateway"),
             [gateways](const Auth &auth) { return *devicemgmt::setNetworkDefaultGateway(auth, gateways).value; },
             acknowledged(QStringLiteral("SetNetworkDefaultGatewayResponse"))});
    }
    // The port goes first, to where the device surely listens; the address request follows it.
    if (change.httpPort) {
        steps.append({Part::HttpPort, QStringLiteral("SetNetworkProtocols"),
                      [protocols](const Auth &auth) { return *devicemgmt::setNetworkProtocols(auth, protocols).value; },
                      acknowledged(QStringLiteral("SetNetworkProtocolsResponse"))});
    }
    if (change.ipv4) {
        const QString token = identity.interfaceToken;
        const devicemgmt::Ipv4Settings ipv4 = *change.ipv4;
        steps.append(
            {Part::Address, QStringLiteral("SetNetworkInterfaces"),
             [token, ipv4](const Auth &auth) { return *devicemgmt::setNetworkInterfaces(auth, token, ipv4).value; },
             [](const Outcome<QByteArray> &a) {
                 return readAnswer<bool>(a, [](QByteArrayView x) { return devicemgmt::parseSetNetworkInterfaces(x); });
             }});
    }

    struct Run
    {
        NetworkChangeResult result;
        QList<QUrl> targets;     // where the device may serve, likeliest first
        bool answered = false;   // a change request was acknowledged
        bool unanswered = false; // a change request got no answer: the device may have applied it
        Failure firstFailure;
        QList<Part> declined; // parts the device refused
        QList<Part> unsent;   // parts not sent after a failure
        int retries = 0;      // rounds over the targets while the device moves
    };
    auto run = std::make_shared<Run>();
    run->result.serviceUrl = identity.serviceUrl;
    run->targets = {identity.requestUrl()};
    const Peer peer = identity.peer();
    const qint64 offset = identity.clockOffsetSeconds;
    const auto shared = std::make_shared<const QList<SetStep>>(steps);

    if (steps.isEmpty()) {
        // Everything asked for is so already.
        Outcome<NetworkChangeResult> o;
        o.value = NetworkChangeResult{};
        o.value->serviceUrl = identity.serviceUrl;
        o.value->confirmed = true;
        return later(done, o);
    }
    auto confirm = [this, run, shared, identity, change, credentials, offset, peer, done] {
        // Refused before anything was acknowledged or could have applied: nothing to read back.
        if (!run->answered && !run->unanswered)
            return done(Outcome<NetworkChangeResult>::failedWith(run->firstFailure));
        confirmChange(identity, change, credentials, offset, peer, run->targets, run->result.rebootNeeded,
                      [run, shared, done](std::optional<NetworkChangeResult> shown) {
                          NetworkChangeResult &r = run->result;
                          if (shown) {
                              r.confirmed = shown->confirmed && run->declined.isEmpty() && run->unsent.isEmpty();
                              r.serviceUrl = shown->serviceUrl;
                              r.notApplied = shown->notApplied;
                          }
                          for (Part p : run->declined + run->unsent) {
                              if (!r.notApplied.contains(p))
                                  r.notApplied.append(p);
                          }
                          // The device's own refusal says more than the values it shows.
                          r.why = run->firstFailure.failed() ? run->firstFailure : (shown ? shown->why : Failure());
                          // Unread after no acknowledgement, or read back with nothing applied: a failure.
                          const bool anyApplied
                              = std::any_of(shared->cbegin(), shared->cend(),
                                            [&r](const SetStep &step) { return !r.notApplied.contains(step.part); });
                          if ((!shown && !run->answered) || !anyApplied)
                              return done(Outcome<NetworkChangeResult>::failedWith(r.why));
                          if (r.notApplied.isEmpty())
                              r.why = {};
                          Outcome<NetworkChangeResult> o;
                          o.value = r;
                          done(o);
                      });
    };
    auto next = std::make_shared<std::function<void(qsizetype, qsizetype)>>();
    *next = [this, run, shared, credentials, offset, peer, change, confirm,
             weak = std::weak_ptr(next)](qsizetype i, qsizetype target) {
        if (i == shared->size())
            return confirm();
        const SetStep &step = shared->at(i);
        m_client.post(
            run->targets.at(target), deviceAction(step.operation), credentials, offset, step.build,
            [this, run, shared, i, target, change, confirm, self = weak.lock()](const Outcome<QByteArray> &a) {
                const SetStep &step = shared->at(i);
                const Outcome<bool> r = step.read(a);
                const Failure::Kind kind = r.failure.kind;
                const bool noConnection = kind == Failure::Kind::Refused || kind == Failure::Kind::Unreachable;
                if (!r && noConnection && target + 1 < run->targets.size())
                    return (*self)(i, target + 1); // the device moved on a port it applied at once
                // A device restarting its web server after a new port listens nowhere for a moment.
                if (!r && kind == Failure::Kind::Refused && run->answered && ++run->retries < kConfirmRounds) {
                    QTimer::singleShot(kConfirmPauseMs, this, [self, i] { (*self)(i, 0); });
                    return;
                }
                if (!r) {
                    if (!run->firstFailure.failed())
                        run->firstFailure = r.failure;
                    const bool declined = !noConnection && kind != Failure::Kind::TimedOut;
                    if (declined)
                        run->declined.append(step.part);
                    else
                        run->unanswered = true;
                    for (qsizetype j = i + 1; j < shared->size(); ++j)
                        run->unsent.append(shared->at(j).part);
                    // A change the device may have made while it dropped the answer: look where it went.
                    if (!declined && step.part == Part::Address && !change.ipv4->dhcp)
                        run->targets = movedTargets(run->targets, change.ipv4->manual.address);
                    return confirm();
                }
                run->answered = true;
                if (target > 0)
                    run->targets = run->targets.mid(target);
                if (step.part == Part::HttpPort) {
                    // The device may serve on the new port at once, or only after a restart.
                    QUrl moved = run->targets.first();
                    moved.setPort(*change.httpPort);
                    run->targets.insert(1, moved);
                    if (run->result.serviceUrl.scheme() == run->targets.first().scheme())
                        run->result.serviceUrl.setPort(*change.httpPort);
                }
                if (step.part == Part::Address) {
                    run->result.rebootNeeded = *r.value;
                    // A device that applies a manual address at once is now found there.
                    if (!run->result.rebootNeeded && !change.ipv4->dhcp) {
                        run->targets = movedTargets(run->targets, change.ipv4->manual.address);
                        run->result.serviceUrl.setHost(change.ipv4->manual.address);
                    }
                }
                (*self)(i + 1, 0);
            },
            peer);
    };
    (*next)(0, 0);
}

QList<QUrl> DeviceOperations::movedTargets(const QList<QUrl> &targets, const QString &host)
{
    // The new address first, the old one after it, each with the ports it may serve on.
    QList<QUrl> out;
    for (QUrl url : targets) {
        url.setHost(host);
        if (!out.contains(url))
            out.append(url);
    }
    for (const QUrl &url : targets) {
        if (!out.contains(url))
            out.append(url);
    }
    return out;
}

void DeviceOperations::confirmChange(const Identity &identity, const NetworkChange &change,
                                     const Credentials &credentials, qint64 offset, const Peer &peer,
                                     const QList<QUrl> &targets, bool rebootNeeded,
                                     const std::function<void(std::optional<NetworkChangeResult>)> &done)
{
    using Part = NetworkChangeResult::Part;
    // Before its restart the device shows its old values: its Hello afterwards says where it is.
    if (rebootNeeded)
        return QTimer::singleShot(0, this, [done] { done(std::nullopt); });
    struct Reading
    {
        NetworkChangeResult shown;
        QList<QUrl> targets;
        int round = 0;
        qsizetype target = 0;
    };
    auto reading = std::make_shared<Reading>();
    reading->targets = targets;
    reading->shown.confirmed = true;
    const QString web = identity.requestUrl().scheme() == u"https" ? QStringLiteral("HTTPS") : QStringLiteral("HTTP");
    const auto differs = [reading](Part part, const QString &what) {
        reading->shown.confirmed = false;
        if (!reading->shown.notApplied.contains(part))
            reading->shown.notApplied.append(part);
        if (!reading->shown.why.failed())
            reading->shown.why = Failure::of(Failure::Kind::SoapFault, QStringLiteral("the device shows %1").arg(what));
    };
    // The reads after the first go where the first found the device.
    auto readRest = [this, reading, change, credentials, offset, peer, web, differs, done, identity] {
        const QUrl url = reading->targets.at(reading->target);
        reading->shown.serviceUrl = identity.serviceUrl;
        reading->shown.serviceUrl.setHost(url.host());
        if (url.scheme() == identity.serviceUrl.scheme())
            reading->shown.serviceUrl.setPort(url.port());
        auto gateway = [this, reading, change, credentials, offset, peer, url, differs, done] {
            if (!change.gateway)
                return done(reading->shown);
            m_client.post(
                url, deviceAction(QStringLiteral("GetNetworkDefaultGateway")), credentials, offset,
                devicemgmt::getNetworkDefaultGateway,
                [reading, change, differs, done](const Outcome<QByteArray> &a) {
                    const auto r = readAnswer<devicemgmt::NetworkGateway>(
                        a, [](QByteArrayView x) { return devicemgmt::parseNetworkDefaultGateway(x); });
                    const QStringList wanted = change.gateway->isEmpty() ? QStringList() : QStringList{*change.gateway};
                    if (!r)
                        reading->shown.confirmed = false; // unread is not unapplied
                    else if (r.value->ipv4 != wanted)
                        differs(Part::Gateway, QStringLiteral("gateway '%1'").arg(r.value->ipv4.join(u' ')));
                    done(reading->shown);
                },
                peer);
        };
        if (!change.httpPort)
            return gateway();
        m_client.post(
            url, deviceAction(QStringLiteral("GetNetworkProtocols")), credentials, offset,
            devicemgmt::getNetworkProtocols,
            [reading, change, web, differs, gateway](const Outcome<QByteArray> &a) {
                const auto r = readAnswer<QList<devicemgmt::NetworkProtocol>>(
                    a, [](QByteArrayView x) { return devicemgmt::parseNetworkProtocols(x); });
                if (!r) {
                    reading->shown.confirmed = false;
                } else {
                    const auto p = std::find_if(r.value->cbegin(), r.value->cend(),
                                                [&web](const devicemgmt::NetworkProtocol &n) { return n.name == web; });
                    if (p == r.value->cend() || !p->enabled || !p->ports.contains(*change.httpPort))
                        differs(Part::HttpPort,
                                QStringLiteral("%1 port %2")
                                    .arg(web, p == r.value->cend() ? QStringLiteral("none")
                                                                   : QString::number(p->ports.value(0))));
                }
                gateway();
            },
            peer);
    };
    // The first read looks for the device: at each place it may serve, for a few rounds while it moves.
    auto look = std::make_shared<std::function<void()>>();
    *look = [this, reading, change, identity, credentials, offset, peer, differs, readRest, done,
             weak = std::weak_ptr(look)] {
        const QUrl url = reading->targets.at(reading->target);
        m_client.post(
            url, deviceAction(QStringLiteral("GetNetworkInterfaces")), credentials, offset,
            devicemgmt::getNetworkInterfaces,
            [this, reading, change, identity, differs, readRest, done,
             self = weak.lock()](const Outcome<QByteArray> &a) {
                const auto r = readAnswer<QList<devicemgmt::NetworkInterface>>(
                    a, [](QByteArrayView x) { return devicemgmt::parseNetworkInterfaces(x); });
                const Failure::Kind kind = r.failure.kind;
                if (!r
                    && (kind == Failure::Kind::Refused || kind == Failure::Kind::Unreachable
                        || kind == Failure::Kind::TimedOut)) {
                    if (++reading->target < reading->targets.size())
                        return (*self)();
                    reading->target = 0;
                    if (++reading->round >= kConfirmRounds || kind == Failure::Kind::TimedOut)
                        return done(std::nullopt); // nowhere to be found
                    QTimer::singleShot(kConfirmPauseMs, this, [self] { (*self)(); });
                    return;
                }
                if (!r) {
                    // It answers, but not this read: the others still tell.
                    if (change.ipv4)
                        reading->shown.confirmed = false;
                } else if (change.ipv4) {
                    const auto i = std::find_if(r.value->cbegin(), r.value->cend(),
                                                [&identity](const devicemgmt::NetworkInterface &n) {
                                                    return n.token == identity.interfaceToken;
                                                });
                    const devicemgmt::Ipv4Settings &wanted = *change.ipv4;
                    if (i == r.value->cend())
                        differs(Part::Address, QStringLiteral("no interface %1").arg(identity.interfaceToken));
                    else if (i->dhcp != wanted.dhcp)
                        differs(Part::Address, QStringLiteral("DHCP %1").arg(i->dhcp ? u"on" : u"off"));
                    else if (!wanted.dhcp && !i->manual.contains(wanted.manual))
                        differs(Part::Address, QStringLiteral("address %1/%2")
                                                   .arg(i->manual.value(0).address)
                                                   .arg(i->manual.value(0).prefixLength));
                }
                readRest();
            },
            peer);
    };
    (*look)();
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

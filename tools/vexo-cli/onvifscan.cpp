// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifscan.h"

#include "identifier.h"

#include <deviceinfo.h>
#include <macaddress.h>
#include <onvifrecord.h>
#include <subnetreach.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

#include <cstdio>

namespace {

QString uuidOf(const QString &endpoint)
{
    return endpoint.startsWith(QLatin1String("urn:uuid:"), Qt::CaseInsensitive) ? endpoint.mid(9).toLower()
                                                                                : endpoint.toLower();
}

// One line per event, in the style of the VXDP events: what, endpoint, address, model.
void echo(const char *what, const OnvifScan::Found &f)
{
    const QString line = QStringLiteral("%1 ONVIF %2 %3 %4\n")
                             .arg(QLatin1String(what), DeviceTable::escaped(f.discovered.target.endpoint),
                                  DeviceTable::escaped(f.serviceUrl.host()),
                                  DeviceTable::escaped(f.discovered.target.scopes.hardware.value(0)));
    std::fputs(qPrintable(line), stdout);
    std::fflush(stdout);
}

} // namespace

OnvifScan::OnvifScan(const onvif::ClientOptions &options, const QVector<VexoTool::AdapterAddress> &adapters)
    : m_options(options)
    , m_adapters(adapters)
    , m_probe(onvif::ProbeClient::Options{options, 10000, 3})
{
    auto keep = [this](const onvif::ProbeClient::Device &d) {
        const bool isNew = !m_found.contains(d.target.endpoint);
        Found &f = m_found[d.target.endpoint];
        const QUrl url = m_options.preferredDeviceAddress(d.target.xaddrs);
        // An endpoint stays at the address it was found at: another address claiming it is a rival.
        if (!isNew && !url.isEmpty() && !f.serviceUrl.isEmpty() && url.host() != f.serviceUrl.host()) {
            if (f.rival.isEmpty())
                std::fprintf(stderr, "ONVIF endpoint %s is claimed by %s and %s: it gets no password\n",
                             qPrintable(DeviceTable::escaped(d.target.endpoint)),
                             qPrintable(DeviceTable::escaped(f.serviceUrl.host())),
                             qPrintable(DeviceTable::escaped(url.host())));
            f.rival = url.host();
            f.identity.reset();
            return;
        }
        const bool moved = f.discovered.target.xaddrs != d.target.xaddrs;
        f.discovered = d;
        f.serviceUrl = url;
        if (moved)
            f.identity.reset();
        if (m_echo && (!m_echoFilter || m_echoFilter(toListed(f).info)))
            echo(isNew ? "online " : "changed", f);
    };
    QObject::connect(&m_probe, &onvif::ProbeClient::deviceFound, &m_probe, keep);
    QObject::connect(&m_probe, &onvif::ProbeClient::deviceChanged, &m_probe, keep);
    QObject::connect(&m_probe, &onvif::ProbeClient::deviceLeft, &m_probe, [this](const QString &endpoint) {
        const Found gone = m_found.take(endpoint);
        if (m_echo && (!m_echoFilter || m_echoFilter(toListed(gone).info)))
            echo("offline", gone);
    });
}

bool OnvifScan::start(QString *error)
{
    return m_probe.start(error);
}

void OnvifScan::wait(int ms, const volatile std::sig_atomic_t &interrupted, const std::function<bool()> &until)
{
    QEventLoop loop;
    QTimer tick;
    QElapsedTimer elapsed;
    elapsed.start();
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        if (interrupted || elapsed.elapsed() >= ms || (until && until()))
            loop.quit();
    });
    tick.start(20);
    loop.exec();
}

onvif::DeviceClient::Options OnvifScan::clientOptions() const
{
    onvif::DeviceClient::Options o;
    o.scope = m_options;
    o.pins = m_pins;
    return o;
}

QString OnvifScan::unreachableAdvice(const Found &found) const
{
    bool isIpv4 = false;
    const quint32 address = QHostAddress(found.serviceUrl.host()).toIPv4Address(&isIpv4);
    if (!isIpv4)
        return {};
    const int prefix = found.identity ? found.identity->ipv4.prefixLength : 0;
    return VexoTool::unreachableAdvice(address, prefix, m_adapters);
}

void OnvifScan::identifyAll(const onvif::Credentials &credentials, bool evenUnreachable)
{
    onvif::Identifier identifier(clientOptions());
    QEventLoop loop;
    QObject::connect(&identifier, &onvif::Identifier::identified, &loop,
                     [this](const QString &key, const onvif::Identity &identity, const onvif::Failure &failure) {
                         auto it = m_found.find(key);
                         if (it == m_found.end())
                             return;
                         it->failure = failure;
                         if (!failure.failed())
                             it->identity = identity;
                     });
    QObject::connect(&identifier, &onvif::Identifier::idle, &loop, &QEventLoop::quit);
    // A host that announces endpoints by the hundred collects no digest for each.
    constexpr int kMaxPerHost = 64;
    QHash<QString, int> perHost;
    for (auto it = m_found.cbegin(); it != m_found.cend(); ++it) {
        if (it->identity || it->serviceUrl.isEmpty() || !it->rival.isEmpty()
            || (!evenUnreachable && !unreachableAdvice(*it).isEmpty()))
            continue;
        if (++perHost[it->serviceUrl.host()] > kMaxPerHost)
            continue;
        identifier.enqueue(it.key(), it->serviceUrl, credentials);
    }
    if (identifier.pending() > 0)
        loop.exec();
}

QList<OnvifScan::Found> OnvifScan::found() const
{
    QList<Found> out = m_found.values();
    std::sort(out.begin(), out.end(), [](const Found &a, const Found &b) {
        return a.discovered.target.endpoint < b.discovered.target.endpoint;
    });
    return out;
}

bool OnvifScan::matchesWithoutIdentity(const QString &id) const
{
    for (const Found &f : m_found) {
        if (uuidOf(f.discovered.target.endpoint) == uuidOf(id)
            || (!f.serviceUrl.isEmpty() && f.serviceUrl.host() == id))
            return true;
    }
    return false;
}

QList<OnvifScan::Found> OnvifScan::candidates(const QString &id) const
{
    const QString mac = VexoTool::MacAddress::canonical(id);
    QList<Found> out;
    for (const Found &f : m_found) {
        const bool named
            = uuidOf(f.discovered.target.endpoint) == uuidOf(id)
              || (!f.serviceUrl.isEmpty() && (f.serviceUrl.host() == id || f.rival == id))
              || (f.identity
                  && ((!mac.isEmpty() && VexoTool::MacAddress::canonical(f.identity->macAddress) == mac)
                      || (!f.identity->information.serialNumber.isEmpty() && f.identity->information.serialNumber == id)
                      || f.identity->ipv4.address == id));
        if (!named)
            continue;
        out.append(f);
        if (!f.rival.isEmpty()) {
            Found rival = f;
            rival.serviceUrl.setHost(f.rival);
            out.append(rival);
        }
    }
    return out;
}

std::optional<OnvifScan::Found> OnvifScan::match(const QString &id) const
{
    const QString mac = VexoTool::MacAddress::canonical(id);
    for (const Found &f : m_found) {
        if (uuidOf(f.discovered.target.endpoint) == uuidOf(id)
            || (!f.serviceUrl.isEmpty() && f.serviceUrl.host() == id))
            return f;
        if (f.identity
            && ((!mac.isEmpty() && VexoTool::MacAddress::canonical(f.identity->macAddress) == mac)
                || (!f.identity->information.serialNumber.isEmpty() && f.identity->information.serialNumber == id)
                || f.identity->ipv4.address == id))
            return f;
    }
    return std::nullopt;
}

ListedDevice OnvifScan::toListed(const Found &f) const
{
    ListedDevice row;
    row.unreachableAdvice = unreachableAdvice(f);
    row.protocol = QStringLiteral("ONVIF");
    row.endpoint = f.discovered.target.endpoint;
    row.serviceUrl = f.serviceUrl.toString();
    VEXO_DEVICE_INFO &d = row.info;
    setFieldText(d.leadText, "ONVIF");
    const auto &scopes = f.discovered.target.scopes;
    setFieldText(d.deviceTypeText, scopes.hardware.value(0).toLatin1());
    setFieldText(d.ipv4Address, f.serviceUrl.host().toLatin1());
    d.port = static_cast<uint32_t>(f.serviceUrl.port(80));
    d.httpPort = static_cast<uint16_t>(f.serviceUrl.port(80));
    row.name = scopes.names.value(0);
    if (const auto &id = f.identity; id && id->authenticated) {
        d = VexoTool::OnvifRecord::fromIdentity(*id);
        // The port column shows where the device service answers.
        d.port = d.httpPort > 0 ? d.httpPort : static_cast<uint32_t>(f.serviceUrl.port(80));
        if (d.httpPort == 0)
            d.httpPort = static_cast<uint16_t>(f.serviceUrl.port(80));
        row.manufacturer = id->information.manufacturer;
        row.identified = true;
    }
    return row;
}

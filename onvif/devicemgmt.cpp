// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicemgmt.h"

#include "namespaces.h"
#include "soapenvelope.h"

#include <QXmlStreamWriter>

#include <functional>

namespace onvif::devicemgmt {

namespace {

constexpr qsizetype kMaxTokenLength = 64; // a ReferenceToken's limit in the schema

using BodyWriter = std::function<void(QXmlStreamWriter &)>;

QByteArray envelope(const Auth &auth, const QString &operation, const BodyWriter &body = {})
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(ns::kSoapEnvelope, QStringLiteral("s"));
    w.writeNamespace(ns::kDevice, QStringLiteral("tds"));
    w.writeNamespace(ns::kSchema, QStringLiteral("tt"));
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Envelope"));
    if (auth) {
        w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Header"));
        writeSecurityHeader(w, *auth);
        w.writeEndElement();
    }
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Body"));
    w.writeStartElement(ns::kDevice, operation);
    if (body)
        body(w);
    w.writeEndElement();
    w.writeEndElement(); // Body
    w.writeEndElement(); // Envelope
    w.writeEndDocument();
    return out;
}

Result<QByteArray> built(QByteArray xml)
{
    Result<QByteArray> r;
    r.value = std::move(xml);
    return r;
}

QString boolText(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

void writePrefixed(QXmlStreamWriter &w, const QString &element, const PrefixedAddress &a)
{
    w.writeStartElement(ns::kSchema, element);
    w.writeTextElement(ns::kSchema, QStringLiteral("Address"), a.address);
    w.writeTextElement(ns::kSchema, QStringLiteral("PrefixLength"), QString::number(a.prefixLength));
    w.writeEndElement();
}

// Reading: each reader fills its value or names what was wrong in *error.
struct Reader
{
    const SoapDocument &doc;
    QString error;
    QStringList quirks;

    // An element missing from its schema namespace is taken by its local name from another
    // one, as many devices write them, and the departure is noted once.
    void noteLoose(int element, QStringView ns)
    {
        const QString quirk
            = QStringLiteral("elements of %1 in namespace %2").arg(ns, doc.element(element).namespaceUri);
        if (!quirks.contains(quirk))
            quirks.append(quirk);
    }
    int find(int parent, QStringView ns, QStringView local)
    {
        const int c = doc.child(parent, ns, local);
        if (c >= 0)
            return c;
        const int loose = doc.childByLocalName(parent, local);
        if (loose >= 0)
            noteLoose(loose, ns);
        return loose;
    }
    QList<int> all(int parent, QStringView ns, QStringView local)
    {
        const QList<int> exact = doc.children(parent, ns, local);
        if (!exact.isEmpty())
            return exact;
        const QList<int> loose = doc.childrenByLocalName(parent, local);
        if (!loose.isEmpty())
            noteLoose(loose.first(), ns);
        return loose;
    }
    QString optionalText(int parent, QStringView ns, QStringView local)
    {
        const int c = find(parent, ns, local);
        return c < 0 ? QString() : doc.element(c).text;
    }

    int required(int parent, QStringView ns, QStringView local)
    {
        const int c = find(parent, ns, local);
        if (c < 0 && error.isEmpty())
            error = QStringLiteral("%1 missing in %2").arg(local, doc.element(parent).localName);
        return c;
    }
    QString text(int parent, QStringView ns, QStringView local)
    {
        const int c = required(parent, ns, local);
        return c < 0 ? QString() : doc.element(c).text;
    }
    bool boolean(int parent, QStringView ns, QStringView local)
    {
        const int c = required(parent, ns, local);
        return c >= 0 && booleanOf(c);
    }
    bool booleanOf(int element)
    {
        const QString &t = doc.element(element).text;
        if (t == u"true" || t == u"1")
            return true;
        if (t != u"false" && t != u"0" && error.isEmpty())
            error = QStringLiteral("%1 '%2' is not a boolean").arg(doc.element(element).localName, t);
        return false;
    }
    int number(int element, int min, int max)
    {
        bool ok = false;
        const QString &t = doc.element(element).text;
        const int n = t.toInt(&ok);
        if ((!ok || n < min || n > max) && error.isEmpty()) {
            error = QStringLiteral("%1 '%2' is not a number from %3 to %4")
                        .arg(doc.element(element).localName, t)
                        .arg(min)
                        .arg(max);
        }
        return n;
    }
    int number(int parent, QStringView ns, QStringView local, int min, int max)
    {
        const int c = required(parent, ns, local);
        return c < 0 ? 0 : number(c, min, max);
    }
    PrefixedAddress prefixed(int element)
    {
        PrefixedAddress a;
        a.address = text(element, ns::kSchema, u"Address");
        if (error.isEmpty() && !isIpv4Address(a.address))
            error = QStringLiteral("'%1' is not an IPv4 address").arg(a.address);
        a.prefixLength = number(element, ns::kSchema, u"PrefixLength", 0, 32);
        return a;
    }
};

template<typename T>
Result<T> parseResponse(QByteArrayView xml, qsizetype maxBytes, QStringView responseName,
                        const std::function<T(Reader &, int)> &read)
{
    Result<SoapEnvelope> env = readSoapEnvelope(xml, maxBytes);
    Result<T> r;
    if (env.fault) {
        r.fault = std::move(env.fault);
        r.quirks = env.quirks;
        return r;
    }
    if (!env)
        return Result<T>::refused(env.error);
    const SoapDocument &doc = env.value->document;
    const SoapDocument::Element &payload = doc.element(env.value->payload);
    if (payload.localName != responseName) {
        return Result<T>::refused(
            QStringLiteral("expected %1, got {%2}%3").arg(responseName, payload.namespaceUri, payload.localName));
    }
    Reader reader{doc, {}, env.quirks};
    if (payload.namespaceUri != ns::kDevice)
        reader.noteLoose(env.value->payload, ns::kDevice);
    T value = read(reader, env.value->payload);
    if (!reader.error.isEmpty()) {
        Result<T> refused = Result<T>::refused(reader.error);
        refused.quirks = reader.quirks;
        return refused;
    }
    r.value = std::move(value);
    r.quirks = reader.quirks;
    return r;
}

} // namespace

qint64 clockOffsetSeconds(const QDateTime &deviceUtc, const QDateTime &localUtc)
{
    return localUtc.secsTo(deviceUtc);
}

bool isIpv4Address(QStringView text)
{
    const auto parts = text.split(u'.');
    if (parts.size() != 4)
        return false;
    for (QStringView p : parts) {
        if (p.isEmpty() || p.size() > 3 || (p.size() > 1 && p.front() == u'0'))
            return false;
        for (QChar c : p) {
            if (c < u'0' || c > u'9')
                return false;
        }
        if (p.toInt() > 255)
            return false;
    }
    return true;
}

QByteArray getSystemDateAndTime()
{
    return envelope(std::nullopt, QStringLiteral("GetSystemDateAndTime"));
}

QByteArray getDeviceInformation(const Auth &auth)
{
    return envelope(auth, QStringLiteral("GetDeviceInformation"));
}

QByteArray getNetworkInterfaces(const Auth &auth)
{
    return envelope(auth, QStringLiteral("GetNetworkInterfaces"));
}

QByteArray getNetworkDefaultGateway(const Auth &auth)
{
    return envelope(auth, QStringLiteral("GetNetworkDefaultGateway"));
}

QByteArray getNetworkProtocols(const Auth &auth)
{
    return envelope(auth, QStringLiteral("GetNetworkProtocols"));
}

QByteArray getUsers(const Auth &auth)
{
    return envelope(auth, QStringLiteral("GetUsers"));
}

QByteArray getCapabilities(const Auth &auth)
{
    return envelope(auth, QStringLiteral("GetCapabilities"), [](QXmlStreamWriter &w) {
        w.writeTextElement(ns::kDevice, QStringLiteral("Category"), QStringLiteral("All"));
    });
}

QByteArray systemReboot(const Auth &auth)
{
    return envelope(auth, QStringLiteral("SystemReboot"));
}

Result<QByteArray> setNetworkInterfaces(const Auth &auth, const QString &interfaceToken, const Ipv4Settings &ipv4)
{
    using R = Result<QByteArray>;
    if (interfaceToken.isEmpty() || interfaceToken.size() > kMaxTokenLength)
        return R::refused(QStringLiteral("interface token must have 1 to %1 characters").arg(kMaxTokenLength));
    if (!ipv4.dhcp) {
        if (!isIpv4Address(ipv4.manual.address))
            return R::refused(QStringLiteral("'%1' is not an IPv4 address").arg(ipv4.manual.address));
        if (ipv4.manual.prefixLength < 1 || ipv4.manual.prefixLength > 32)
            return R::refused(QStringLiteral("prefix length %1 is not from 1 to 32").arg(ipv4.manual.prefixLength));
    }
    return built(envelope(auth, QStringLiteral("SetNetworkInterfaces"), [&](QXmlStreamWriter &w) {
        w.writeTextElement(ns::kDevice, QStringLiteral("InterfaceToken"), interfaceToken);
        w.writeStartElement(ns::kDevice, QStringLiteral("NetworkInterface"));
        w.writeStartElement(ns::kSchema, QStringLiteral("IPv4"));
        w.writeTextElement(ns::kSchema, QStringLiteral("Enabled"), boolText(true));
        if (!ipv4.dhcp)
            writePrefixed(w, QStringLiteral("Manual"), ipv4.manual);
        w.writeTextElement(ns::kSchema, QStringLiteral("DHCP"), boolText(ipv4.dhcp));
        w.writeEndElement(); // IPv4
        w.writeEndElement(); // NetworkInterface
    }));
}

Result<QByteArray> setNetworkDefaultGateway(const Auth &auth, const QStringList &ipv4)
{
    for (const QString &a : ipv4) {
        if (!isIpv4Address(a))
            return Result<QByteArray>::refused(QStringLiteral("'%1' is not an IPv4 address").arg(a));
    }
    return built(envelope(auth, QStringLiteral("SetNetworkDefaultGateway"), [&](QXmlStreamWriter &w) {
        for (const QString &a : ipv4)
            w.writeTextElement(ns::kDevice, QStringLiteral("IPv4Address"), a);
    }));
}

Result<QByteArray> setNetworkProtocols(const Auth &auth, const QList<NetworkProtocol> &protocols)
{
    using R = Result<QByteArray>;
    if (protocols.isEmpty())
        return R::refused(QStringLiteral("no protocol to set"));
    for (const NetworkProtocol &p : protocols) {
        if (p.name != u"HTTP" && p.name != u"HTTPS" && p.name != u"RTSP")
            return R::refused(QStringLiteral("unknown protocol '%1'").arg(p.name));
        if (p.ports.isEmpty())
            return R::refused(QStringLiteral("%1 without a port").arg(p.name));
        for (int port : p.ports) {
            if (port < 1 || port > 65535)
                return R::refused(QStringLiteral("port %1 is not from 1 to 65535").arg(port));
        }
    }
    return built(envelope(auth, QStringLiteral("SetNetworkProtocols"), [&](QXmlStreamWriter &w) {
        for (const NetworkProtocol &p : protocols) {
            w.writeStartElement(ns::kDevice, QStringLiteral("NetworkProtocols"));
            w.writeTextElement(ns::kSchema, QStringLiteral("Name"), p.name);
            w.writeTextElement(ns::kSchema, QStringLiteral("Enabled"), boolText(p.enabled));
            for (int port : p.ports)
                w.writeTextElement(ns::kSchema, QStringLiteral("Port"), QString::number(port));
            w.writeEndElement();
        }
    }));
}

Result<QByteArray> setUser(const Auth &auth, const QString &username, const QString &newPassword,
                           const QString &userLevel)
{
    using R = Result<QByteArray>;
    if (username.isEmpty())
        return R::refused(QStringLiteral("empty user name"));
    if (newPassword.isEmpty())
        return R::refused(QStringLiteral("empty password"));
    if (userLevel != u"Administrator" && userLevel != u"Operator" && userLevel != u"User")
        return R::refused(QStringLiteral("user level '%1' cannot be set").arg(userLevel));
    return built(envelope(auth, QStringLiteral("SetUser"), [&](QXmlStreamWriter &w) {
        w.writeStartElement(ns::kDevice, QStringLiteral("User"));
        w.writeTextElement(ns::kSchema, QStringLiteral("Username"), username);
        w.writeTextElement(ns::kSchema, QStringLiteral("Password"), newPassword);
        w.writeTextElement(ns::kSchema, QStringLiteral("UserLevel"), userLevel);
        w.writeEndElement();
    }));
}

Result<SystemDateAndTime> parseSystemDateAndTime(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<SystemDateAndTime>(xml, maxBytes, u"GetSystemDateAndTimeResponse", [](Reader &r, int p) {
        SystemDateAndTime out;
        const int sdt = r.required(p, ns::kDevice, u"SystemDateAndTime");
        if (sdt < 0)
            return out;
        out.dateTimeType = r.text(sdt, ns::kSchema, u"DateTimeType");
        out.daylightSavings = r.boolean(sdt, ns::kSchema, u"DaylightSavings");
        const int tz = r.find(sdt, ns::kSchema, u"TimeZone");
        if (tz >= 0)
            out.timeZone = r.text(tz, ns::kSchema, u"TZ");
        const int utc = r.find(sdt, ns::kSchema, u"UTCDateTime");
        if (utc < 0)
            return out;
        const int date = r.required(utc, ns::kSchema, u"Date");
        const int time = r.required(utc, ns::kSchema, u"Time");
        if (date < 0 || time < 0)
            return out;
        const QDate d(r.number(date, ns::kSchema, u"Year", 1970, 9999), r.number(date, ns::kSchema, u"Month", 1, 12),
                      r.number(date, ns::kSchema, u"Day", 1, 31));
        const QTime t(r.number(time, ns::kSchema, u"Hour", 0, 23), r.number(time, ns::kSchema, u"Minute", 0, 59),
                      qMin(r.number(time, ns::kSchema, u"Second", 0, 60), 59)); // a leap second reads as :59
        if (r.error.isEmpty() && !d.isValid())
            r.error = QStringLiteral("UTCDateTime holds no valid date");
        if (r.error.isEmpty())
            out.utc = QDateTime(d, t, Qt::UTC);
        return out;
    });
}

Result<DeviceInformation> parseDeviceInformation(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<DeviceInformation>(xml, maxBytes, u"GetDeviceInformationResponse", [](Reader &r, int p) {
        DeviceInformation out;
        out.manufacturer = r.text(p, ns::kDevice, u"Manufacturer");
        out.model = r.text(p, ns::kDevice, u"Model");
        out.firmwareVersion = r.text(p, ns::kDevice, u"FirmwareVersion");
        out.serialNumber = r.text(p, ns::kDevice, u"SerialNumber");
        out.hardwareId = r.text(p, ns::kDevice, u"HardwareId");
        return out;
    });
}

Result<QList<NetworkInterface>> parseNetworkInterfaces(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<QList<NetworkInterface>>(xml, maxBytes, u"GetNetworkInterfacesResponse", [](Reader &r, int p) {
        QList<NetworkInterface> out;
        const QList<int> interfaces = r.all(p, ns::kDevice, u"NetworkInterfaces");
        if (interfaces.isEmpty())
            r.error = QStringLiteral("no network interface");
        for (int i : interfaces) {
            NetworkInterface n;
            n.token = r.doc.attribute(i, u"", u"token");
            if (n.token.isEmpty() && r.error.isEmpty())
                r.error = QStringLiteral("network interface without a token");
            n.enabled = r.boolean(i, ns::kSchema, u"Enabled");
            const int info = r.find(i, ns::kSchema, u"Info");
            if (info >= 0) {
                n.name = r.optionalText(info, ns::kSchema, u"Name");
                n.hwAddress = r.text(info, ns::kSchema, u"HwAddress");
            }
            const int ipv4 = r.find(i, ns::kSchema, u"IPv4");
            if (ipv4 >= 0) {
                n.hasIpv4 = true;
                n.ipv4Enabled = r.boolean(ipv4, ns::kSchema, u"Enabled");
                const int config = r.required(ipv4, ns::kSchema, u"Config");
                if (config >= 0) {
                    const QList<int> manual = r.all(config, ns::kSchema, u"Manual");
                    for (int m : manual)
                        n.manual.append(r.prefixed(m));
                    const int linkLocal = r.find(config, ns::kSchema, u"LinkLocal");
                    if (linkLocal >= 0)
                        n.linkLocal = r.prefixed(linkLocal);
                    const int fromDhcp = r.find(config, ns::kSchema, u"FromDHCP");
                    if (fromDhcp >= 0)
                        n.fromDhcp = r.prefixed(fromDhcp);
                    n.dhcp = r.boolean(config, ns::kSchema, u"DHCP");
                }
            }
            out.append(std::move(n));
        }
        return out;
    });
}

Result<NetworkGateway> parseNetworkDefaultGateway(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<NetworkGateway>(xml, maxBytes, u"GetNetworkDefaultGatewayResponse", [](Reader &r, int p) {
        NetworkGateway out;
        const int gateway = r.required(p, ns::kDevice, u"NetworkGateway");
        if (gateway < 0)
            return out;
        for (int a : r.all(gateway, ns::kSchema, u"IPv4Address")) {
            const QString &text = r.doc.element(a).text;
            if (!isIpv4Address(text) && r.error.isEmpty())
                r.error = QStringLiteral("gateway '%1' is not an IPv4 address").arg(text);
            out.ipv4.append(text);
        }
        for (int a : r.all(gateway, ns::kSchema, u"IPv6Address"))
            out.ipv6.append(r.doc.element(a).text);
        return out;
    });
}

Result<QList<NetworkProtocol>> parseNetworkProtocols(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<QList<NetworkProtocol>>(xml, maxBytes, u"GetNetworkProtocolsResponse", [](Reader &r, int p) {
        QList<NetworkProtocol> out;
        for (int e : r.all(p, ns::kDevice, u"NetworkProtocols")) {
            NetworkProtocol n;
            n.name = r.text(e, ns::kSchema, u"Name");
            n.enabled = r.boolean(e, ns::kSchema, u"Enabled");
            for (int port : r.all(e, ns::kSchema, u"Port"))
                n.ports.append(r.number(port, 0, 65535));
            out.append(std::move(n));
        }
        return out;
    });
}

Result<QList<User>> parseUsers(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<QList<User>>(xml, maxBytes, u"GetUsersResponse", [](Reader &r, int p) {
        QList<User> out;
        for (int e : r.all(p, ns::kDevice, u"User"))
            out.append({r.text(e, ns::kSchema, u"Username"), r.text(e, ns::kSchema, u"UserLevel")});
        return out;
    });
}

Result<Capabilities> parseCapabilities(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<Capabilities>(xml, maxBytes, u"GetCapabilitiesResponse", [](Reader &r, int p) {
        Capabilities out;
        const int caps = r.required(p, ns::kDevice, u"Capabilities");
        if (caps < 0)
            return out;
        const std::pair<QStringView, QString *> services[]
            = {{u"Device", &out.device},   {u"Media", &out.media}, {u"Events", &out.events},
               {u"Imaging", &out.imaging}, {u"PTZ", &out.ptz},     {u"Analytics", &out.analytics}};
        for (const auto &[name, field] : services) {
            const int service = r.find(caps, ns::kSchema, name);
            if (service >= 0)
                *field = r.text(service, ns::kSchema, u"XAddr");
        }
        return out;
    });
}

Result<bool> parseSetNetworkInterfaces(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<bool>(xml, maxBytes, u"SetNetworkInterfacesResponse",
                               [](Reader &r, int p) { return r.boolean(p, ns::kDevice, u"RebootNeeded"); });
}

Result<QString> parseSystemReboot(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<QString>(xml, maxBytes, u"SystemRebootResponse",
                                  [](Reader &r, int p) { return r.text(p, ns::kDevice, u"Message"); });
}

Result<Done> parseAcknowledgement(QByteArrayView xml, QStringView responseName, qsizetype maxBytes)
{
    return parseResponse<Done>(xml, maxBytes, responseName, [](Reader &, int) { return Done{}; });
}

} // namespace onvif::devicemgmt

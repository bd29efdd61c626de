// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "wsdiscovery.h"

#include "namespaces.h"
#include "soapenvelope.h"

#include <QXmlStreamWriter>

namespace onvif::discovery {

namespace {

constexpr QLatin1StringView kActionPrefix{"http://schemas.xmlsoap.org/ws/2005/04/discovery/"};
constexpr QLatin1StringView kDiscoveryTo{"urn:schemas-xmlsoap-org:ws:2005:04:discovery"};
constexpr QLatin1StringView kAnonymous{"http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous"};
constexpr QLatin1StringView kOnvifScope{"onvif://www.onvif.org/"};

// Discovery headers and endpoint references come in either WS-Addressing namespace.
int addressingChild(const SoapDocument &doc, int parent, QStringView local)
{
    const int c = doc.child(parent, ns::kAddressing2004, local);
    return c >= 0 ? c : doc.child(parent, ns::kAddressing2005, local);
}

QString headerText(const SoapEnvelope &env, QStringView local)
{
    if (env.header < 0)
        return {};
    const int c = addressingChild(env.document, env.header, local);
    return c < 0 ? QString() : env.document.element(c).text;
}

bool readTypes(const SoapDocument &doc, int parent, QList<QualifiedName> *out, QString *error)
{
    const int types = doc.child(parent, ns::kDiscovery, u"Types");
    if (types < 0)
        return true;
    const QString list = doc.element(types).text.simplified();
    const auto names = QStringView(list).split(u' ', Qt::SkipEmptyParts);
    for (QStringView name : names) {
        const QStringView n = name.trimmed();
        if (n.isEmpty())
            continue;
        const auto resolved = doc.resolveQName(types, n);
        if (!resolved) {
            *error = QStringLiteral("type '%1' has an unbound prefix").arg(n);
            return false;
        }
        out->append(*resolved);
    }
    return true;
}

std::optional<Target> readTarget(const SoapDocument &doc, int element, QString *error)
{
    Target t;
    const int epr = addressingChild(doc, element, u"EndpointReference");
    const int address = epr < 0 ? -1 : addressingChild(doc, epr, u"Address");
    if (address < 0 || doc.element(address).text.isEmpty()) {
        *error = QStringLiteral("device without an endpoint address");
        return std::nullopt;
    }
    t.endpoint = doc.element(address).text;
    if (!readTypes(doc, element, &t.types, error))
        return std::nullopt;
    t.scopes = splitScopes(doc.childText(element, ns::kDiscovery, u"Scopes"));
    t.xaddrs = doc.childText(element, ns::kDiscovery, u"XAddrs").simplified().split(u' ', Qt::SkipEmptyParts);
    const int version = doc.child(element, ns::kDiscovery, u"MetadataVersion");
    if (version >= 0) {
        bool ok = false;
        t.metadataVersion = doc.element(version).text.toUInt(&ok);
        if (!ok) {
            *error = QStringLiteral("MetadataVersion '%1' is not a number").arg(doc.element(version).text);
            return std::nullopt;
        }
    }
    return t;
}

} // namespace

QUuid Target::endpointUuid() const
{
    if (!endpoint.startsWith(u"urn:uuid:", Qt::CaseInsensitive))
        return {};
    return QUuid::fromString(QStringView(endpoint).mid(9));
}

bool Target::isOnvifDevice() const
{
    return types.contains(QualifiedName{ns::kDevice, QStringLiteral("Device")});
}

Scopes splitScopes(QStringView scopeList)
{
    Scopes out;
    const QString list = scopeList.toString().simplified();
    const auto uris = QStringView(list).split(u' ', Qt::SkipEmptyParts);
    for (QStringView raw : uris) {
        const QStringView uri = raw.trimmed();
        if (uri.isEmpty())
            continue;
        QStringList *category = nullptr;
        QStringView value;
        if (uri.startsWith(kOnvifScope, Qt::CaseInsensitive)) {
            const QStringView rest = uri.mid(kOnvifScope.size());
            const struct
            {
                QLatin1StringView prefix;
                QStringList *list;
            } kinds[] = {{QLatin1StringView("name/"), &out.names},
                         {QLatin1StringView("hardware/"), &out.hardware},
                         {QLatin1StringView("location/"), &out.locations}};
            for (const auto &k : kinds) {
                if (rest.startsWith(k.prefix, Qt::CaseInsensitive)) {
                    category = k.list;
                    value = rest.mid(k.prefix.size());
                    break;
                }
            }
        }
        if (category)
            category->append(QString::fromUtf8(QByteArray::fromPercentEncoding(value.toUtf8())));
        else
            out.other.append(uri.toString());
    }
    return out;
}

QByteArray buildProbe(const QUuid &messageId)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(ns::kSoapEnvelope, QStringLiteral("s"));
    w.writeNamespace(ns::kAddressing2004, QStringLiteral("a"));
    w.writeNamespace(ns::kDiscovery, QStringLiteral("d"));
    w.writeNamespace(ns::kDevice, QStringLiteral("tds"));
    w.writeNamespace(ns::kNetwork, QStringLiteral("dn"));
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Envelope"));
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Header"));
    w.writeStartElement(ns::kAddressing2004, QStringLiteral("MessageID"));
    w.writeCharacters(QStringLiteral("urn:uuid:") + messageId.toString(QUuid::WithoutBraces));
    w.writeEndElement();
    w.writeStartElement(ns::kAddressing2004, QStringLiteral("ReplyTo"));
    w.writeTextElement(ns::kAddressing2004, QStringLiteral("Address"), QString(kAnonymous));
    w.writeEndElement();
    w.writeStartElement(ns::kAddressing2004, QStringLiteral("To"));
    w.writeAttribute(ns::kSoapEnvelope, QStringLiteral("mustUnderstand"), QStringLiteral("true"));
    w.writeCharacters(QString(kDiscoveryTo));
    w.writeEndElement();
    w.writeStartElement(ns::kAddressing2004, QStringLiteral("Action"));
    w.writeAttribute(ns::kSoapEnvelope, QStringLiteral("mustUnderstand"), QStringLiteral("true"));
    w.writeCharacters(kActionPrefix + QStringLiteral("Probe"));
    w.writeEndElement();
    w.writeEndElement(); // Header
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Body"));
    w.writeStartElement(ns::kDiscovery, QStringLiteral("Probe"));
    w.writeTextElement(ns::kDiscovery, QStringLiteral("Types"),
                       QStringLiteral("tds:Device dn:NetworkVideoTransmitter"));
    w.writeEndElement(); // Probe
    w.writeEndElement(); // Body
    w.writeEndElement(); // Envelope
    w.writeEndDocument();
    return out;
}

Result<Message> parseMessage(QByteArrayView xml, qsizetype maxBytes)
{
    using R = Result<Message>;
    Result<SoapEnvelope> env = readSoapEnvelope(xml, maxBytes);
    if (env.fault) {
        R r;
        r.fault = std::move(env.fault);
        return r;
    }
    if (!env)
        return R::refused(env.error);
    // Discovery is bound to SOAP 1.2 alone; device answers are read more liberally.
    if (env.value->version != SoapVersion::Soap12)
        return R::refused(QStringLiteral("discovery message in SOAP 1.1, not SOAP 1.2"));
    const SoapDocument &doc = env.value->document;
    const SoapDocument::Element &payload = doc.element(env.value->payload);
    if (payload.namespaceUri != ns::kDiscovery)
        return R::refused(QStringLiteral("body element '%1' is not in the discovery namespace").arg(payload.localName));

    Message m;
    m.messageId = headerText(*env.value, u"MessageID");
    m.relatesTo = headerText(*env.value, u"RelatesTo");
    QString error;
    if (payload.localName == u"ProbeMatches") {
        m.kind = Message::Kind::ProbeMatches;
        const QList<int> matches = doc.children(env.value->payload, ns::kDiscovery, u"ProbeMatch");
        for (int match : matches) {
            std::optional<Target> t = readTarget(doc, match, &error);
            if (!t)
                return R::refused(error);
            m.targets.append(std::move(*t));
        }
    } else if (payload.localName == u"Hello" || payload.localName == u"Bye") {
        m.kind = payload.localName == u"Hello" ? Message::Kind::Hello : Message::Kind::Bye;
        std::optional<Target> t = readTarget(doc, env.value->payload, &error);
        if (!t)
            return R::refused(error);
        m.targets.append(std::move(*t));
    } else if (payload.localName == u"Probe") {
        m.kind = Message::Kind::Probe;
        if (!readTypes(doc, env.value->payload, &m.probeTypes, &error))
            return R::refused(error);
    } else {
        return R::refused(QStringLiteral("unexpected discovery message '%1'").arg(payload.localName));
    }
    R r;
    r.value = std::move(m);
    return r;
}

} // namespace onvif::discovery

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "media.h"

#include "namespaces.h"
#include "soapenvelope.h"

#include <QUrl>
#include <QXmlStreamWriter>

#include <functional>

namespace onvif::media {

namespace {

constexpr qsizetype kMaxTokenLength = 64; // a ReferenceToken's limit in the schema
constexpr qsizetype kMaxUriLength = 2048;

const QString kMediaNs = QStringLiteral("http://www.onvif.org/ver10/media/wsdl");
const QString kMedia2Ns = QStringLiteral("http://www.onvif.org/ver20/media/wsdl");

using BodyWriter = std::function<void(QXmlStreamWriter &)>;

QByteArray envelope(const devicemgmt::Auth &auth, const QString &bodyNs, const QString &operation,
                    const BodyWriter &body = {})
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeNamespace(ns::kSoapEnvelope, QStringLiteral("s"));
    w.writeNamespace(bodyNs, bodyNs == ns::kDevice ? QStringLiteral("tds")
                             : bodyNs == kMedia2Ns ? QStringLiteral("tr2")
                                                   : QStringLiteral("trt"));
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Envelope"));
    if (auth) {
        w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Header"));
        writeSecurityHeader(w, *auth);
        w.writeEndElement();
    }
    w.writeStartElement(ns::kSoapEnvelope, QStringLiteral("Body"));
    w.writeStartElement(bodyNs, operation);
    if (body)
        body(w);
    w.writeEndElement();
    w.writeEndElement(); // Body
    w.writeEndElement(); // Envelope
    w.writeEndDocument();
    return out;
}

// The payload of the expected response, or why there is none; the reader fills the value.
template<typename T>
Result<T> parseResponse(QByteArrayView xml, qsizetype maxBytes, const QString &responseNs, QStringView responseName,
                        const std::function<T(const SoapDocument &, int, QString *)> &read)
{
    Result<SoapEnvelope> env = readSoapEnvelope(xml, maxBytes);
    Result<T> r;
    if (env.fault) {
        r.fault = std::move(env.fault);
        return r;
    }
    if (!env)
        return Result<T>::refused(env.error);
    const SoapDocument &doc = env.value->document;
    const SoapDocument::Element &payload = doc.element(env.value->payload);
    if (payload.namespaceUri != responseNs || payload.localName != responseName) {
        return Result<T>::refused(
            QStringLiteral("expected %1, got {%2}%3").arg(responseName, payload.namespaceUri, payload.localName));
    }
    QString error;
    T value = read(doc, env.value->payload, &error);
    if (!error.isEmpty())
        return Result<T>::refused(error);
    r.value = std::move(value);
    return r;
}

bool isWebAddress(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    return text.size() <= kMaxUriLength && url.isValid() && !url.host().isEmpty()
           && (url.scheme() == u"http" || url.scheme() == u"https");
}

} // namespace

QString serviceNamespace(Version version)
{
    return version == Version::Media2 ? kMedia2Ns : kMediaNs;
}

QString action(Version version, const QString &operation)
{
    return serviceNamespace(version) + QLatin1Char('/') + operation;
}

MediaService pickService(const QList<Service> &services, const QString &capabilitiesMedia)
{
    for (Version v : {Version::Media2, Version::Media}) {
        for (const Service &s : services) {
            if (s.namespaceUri == serviceNamespace(v) && !s.xaddr.isEmpty())
                return {v, s.xaddr};
        }
    }
    return {Version::Media, capabilitiesMedia};
}

const Profile *firstWithVideo(const QList<Profile> &profiles)
{
    for (const Profile &p : profiles) {
        if (p.hasVideoSource)
            return &p;
    }
    return nullptr;
}

QByteArray getServices(const devicemgmt::Auth &auth)
{
    return envelope(auth, ns::kDevice, QStringLiteral("GetServices"), [](QXmlStreamWriter &w) {
        w.writeTextElement(ns::kDevice, QStringLiteral("IncludeCapability"), QStringLiteral("false"));
    });
}

QByteArray getProfiles(Version version, const devicemgmt::Auth &auth)
{
    return envelope(auth, serviceNamespace(version), QStringLiteral("GetProfiles"));
}

Result<QByteArray> getSnapshotUri(Version version, const devicemgmt::Auth &auth, const QString &profileToken)
{
    if (profileToken.isEmpty() || profileToken.size() > kMaxTokenLength) {
        return Result<QByteArray>::refused(
            QStringLiteral("profile token must have 1 to %1 characters").arg(kMaxTokenLength));
    }
    const QString bodyNs = serviceNamespace(version);
    Result<QByteArray> r;
    r.value = envelope(auth, bodyNs, QStringLiteral("GetSnapshotUri"), [&](QXmlStreamWriter &w) {
        w.writeTextElement(bodyNs, QStringLiteral("ProfileToken"), profileToken);
    });
    return r;
}

Result<QList<Service>> parseServices(QByteArrayView xml, qsizetype maxBytes)
{
    return parseResponse<QList<Service>>(
        xml, maxBytes, ns::kDevice, u"GetServicesResponse", [](const SoapDocument &doc, int p, QString *error) {
            QList<Service> out;
            for (int s : doc.children(p, ns::kDevice, u"Service")) {
                Service service{doc.childText(s, ns::kDevice, u"Namespace"), doc.childText(s, ns::kDevice, u"XAddr")};
                if (service.namespaceUri.isEmpty() && error->isEmpty())
                    *error = QStringLiteral("Namespace missing in Service");
                out.append(std::move(service));
            }
            return out;
        });
}

Result<QList<Profile>> parseProfiles(Version version, QByteArrayView xml, qsizetype maxBytes)
{
    const QString bodyNs = serviceNamespace(version);
    return parseResponse<QList<Profile>>(
        xml, maxBytes, bodyNs, u"GetProfilesResponse", [&](const SoapDocument &doc, int p, QString *error) {
            QList<Profile> out;
            for (int e : doc.children(p, bodyNs, u"Profiles")) {
                Profile profile;
                profile.token = doc.attribute(e, u"", u"token");
                if ((profile.token.isEmpty() || profile.token.size() > kMaxTokenLength) && error->isEmpty())
                    *error = QStringLiteral("a profile without a valid token");
                if (version == Version::Media2) {
                    profile.name = doc.childText(e, bodyNs, u"Name");
                    const int set = doc.child(e, bodyNs, u"Configurations");
                    profile.hasVideoSource = set >= 0 && doc.child(set, bodyNs, u"VideoSource") >= 0;
                } else {
                    profile.name = doc.childText(e, ns::kSchema, u"Name");
                    profile.hasVideoSource = doc.child(e, ns::kSchema, u"VideoSourceConfiguration") >= 0;
                }
                out.append(std::move(profile));
            }
            return out;
        });
}

Result<QString> parseSnapshotUri(Version version, QByteArrayView xml, qsizetype maxBytes)
{
    const QString bodyNs = serviceNamespace(version);
    return parseResponse<QString>(
        xml, maxBytes, bodyNs, u"GetSnapshotUriResponse", [&](const SoapDocument &doc, int p, QString *error) {
            QString uri;
            if (version == Version::Media2) {
                uri = doc.childText(p, bodyNs, u"Uri");
            } else {
                const int mediaUri = doc.child(p, bodyNs, u"MediaUri");
                if (mediaUri >= 0)
                    uri = doc.childText(mediaUri, ns::kSchema, u"Uri");
            }
            if (uri.isEmpty())
                *error = QStringLiteral("no snapshot address in the answer");
            else if (!isWebAddress(uri))
                *error = QStringLiteral("'%1' is not an http or https address").arg(uri.left(200));
            return uri;
        });
}

QUrl onDeviceHost(const QString &named, const QUrl &device)
{
    QUrl url(named, QUrl::StrictMode);
    if (url.isValid() && url.host() != device.host())
        url.setHost(device.host());
    return url;
}

} // namespace onvif::media

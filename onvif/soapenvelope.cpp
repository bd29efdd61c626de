// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "soapenvelope.h"

#include "namespaces.h"

namespace onvif {

namespace {

const QString kSoap11Envelope = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

std::optional<SoapFault> readFault(const SoapDocument &doc, int fault, QString *error)
{
    SoapFault out;
    int code = doc.child(fault, ns::kSoapEnvelope, u"Code");
    if (code < 0) {
        *error = QStringLiteral("fault without a code");
        return std::nullopt;
    }
    bool outermost = true;
    // The subcode chain is bounded by the document's nesting limit.
    while (code >= 0) {
        const int value = doc.child(code, ns::kSoapEnvelope, u"Value");
        if (value < 0) {
            *error = QStringLiteral("fault code without a value");
            return std::nullopt;
        }
        const auto name = doc.resolveQName(value, doc.element(value).text);
        if (!name) {
            *error = QStringLiteral("fault code '%1' is not a bound name").arg(doc.element(value).text);
            return std::nullopt;
        }
        if (outermost)
            out.code = *name;
        else
            out.subcodes.append(*name);
        outermost = false;
        code = doc.child(code, ns::kSoapEnvelope, u"Subcode");
    }
    const int reason = doc.child(fault, ns::kSoapEnvelope, u"Reason");
    if (reason >= 0) {
        const QList<int> texts = doc.children(reason, ns::kSoapEnvelope, u"Text");
        for (int t : texts) {
            const QString lang = doc.attribute(t, u"http://www.w3.org/XML/1998/namespace", u"lang");
            if (out.reason.isNull() || lang.startsWith(u"en", Qt::CaseInsensitive)) {
                out.reason = doc.element(t).text;
                if (lang.startsWith(u"en", Qt::CaseInsensitive))
                    break;
            }
        }
    }
    return out;
}

// A SOAP 1.1 fault in SOAP 1.2 terms: faultcode and faultstring are unqualified elements.
std::optional<SoapFault> readFault11(const SoapDocument &doc, int fault, QString *error)
{
    const int code = doc.childByLocalName(fault, u"faultcode");
    if (code < 0) {
        *error = QStringLiteral("fault without a code");
        return std::nullopt;
    }
    const auto name = doc.resolveQName(code, doc.element(code).text);
    if (!name) {
        *error = QStringLiteral("fault code '%1' is not a bound name").arg(doc.element(code).text);
        return std::nullopt;
    }
    SoapFault out;
    if (name->namespaceUri == kSoap11Envelope) {
        // "Client.Authentication" style refinements keep their first part only.
        const QString local = name->localName.section(u'.', 0, 0);
        const QString mapped = local == u"Client"   ? QStringLiteral("Sender")
                               : local == u"Server" ? QStringLiteral("Receiver")
                                                    : local;
        out.code = {ns::kSoapEnvelope, mapped};
    } else {
        out.code = {ns::kSoapEnvelope, QStringLiteral("Sender")};
        out.subcodes.append(*name);
    }
    const int reason = doc.childByLocalName(fault, u"faultstring");
    if (reason >= 0)
        out.reason = doc.element(reason).text;
    return out;
}

} // namespace

bool SoapFault::hasSubcode(QStringView localName) const
{
    // Some devices put the ONVIF error where the SOAP code belongs.
    if (code.namespaceUri == ns::kError && code.localName == localName)
        return true;
    for (const QualifiedName &s : subcodes) {
        if (s.namespaceUri == ns::kError && s.localName == localName)
            return true;
    }
    return false;
}

Result<SoapEnvelope> readSoapEnvelope(QByteArrayView xml, qsizetype maxBytes)
{
    using R = Result<SoapEnvelope>;
    Result<SoapDocument> parsed = SoapDocument::parse(xml, maxBytes);
    if (!parsed)
        return R::refused(parsed.error);
    SoapEnvelope env{std::move(*parsed.value)};
    const SoapDocument &doc = env.document;
    const SoapDocument::Element &root = doc.element(SoapDocument::root());
    if (root.localName != u"Envelope")
        return R::refused(QStringLiteral("root element is '%1', not a SOAP envelope").arg(root.localName));
    QStringList quirks;
    if (root.namespaceUri == kSoap11Envelope) {
        env.version = SoapVersion::Soap11;
        quirks.append(QStringLiteral("SOAP 1.1 envelope"));
    } else if (root.namespaceUri != ns::kSoapEnvelope) {
        return R::refused(QStringLiteral("envelope in namespace '%1', not SOAP").arg(root.namespaceUri));
    }
    const QString &envelopeNs = root.namespaceUri;
    env.header = doc.child(SoapDocument::root(), envelopeNs, u"Header");
    const int body = doc.child(SoapDocument::root(), envelopeNs, u"Body");
    if (body < 0)
        return R::refused(QStringLiteral("envelope without a body"));
    const QList<int> &inside = doc.element(body).children;
    if (inside.size() != 1)
        return R::refused(QStringLiteral("body holds %1 elements, expected one").arg(inside.size()));
    env.payload = inside.first();
    const SoapDocument::Element &payload = doc.element(env.payload);
    if (payload.namespaceUri == envelopeNs && payload.localName == u"Fault") {
        QString error;
        std::optional<SoapFault> fault = env.version == SoapVersion::Soap11 ? readFault11(doc, env.payload, &error)
                                                                            : readFault(doc, env.payload, &error);
        if (!fault)
            return R::refused(error);
        R r;
        r.fault = std::move(fault);
        r.quirks = quirks;
        return r;
    }
    R r;
    r.value = std::move(env);
    r.quirks = quirks;
    return r;
}

} // namespace onvif

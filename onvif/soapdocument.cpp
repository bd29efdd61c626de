// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "soapdocument.h"

#include <QXmlStreamReader>

namespace onvif {

Result<SoapDocument> SoapDocument::parse(QByteArrayView xml, qsizetype maxBytes)
{
    using R = Result<SoapDocument>;
    if (xml.size() > maxBytes)
        return R::refused(
            QStringLiteral("message of %1 bytes exceeds the limit of %2 bytes").arg(xml.size()).arg(maxBytes));
    if (xml.isEmpty())
        return R::refused(QStringLiteral("empty message"));

    SoapDocument doc;
    QList<int> open; // indices of the elements not yet closed
    // The reader works on the caller's bytes without a copy.
    QXmlStreamReader reader(QByteArray::fromRawData(xml.data(), xml.size()));
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // A document type may declare entities; nothing we read needs one, so none is expanded.
            return R::refused(QStringLiteral("document type declarations are refused"));
        case QXmlStreamReader::EntityReference:
            return R::refused(QStringLiteral("entity reference '%1' refused").arg(reader.name()));
        case QXmlStreamReader::StartElement: {
            if (open.size() >= kMaxDepth)
                return R::refused(QStringLiteral("elements nested deeper than %1").arg(kMaxDepth));
            if (doc.m_elements.size() >= kMaxElements)
                return R::refused(QStringLiteral("more than %1 elements").arg(kMaxElements));
            if (open.isEmpty() && !doc.m_elements.isEmpty())
                return R::refused(QStringLiteral("more than one root element"));
            Element e;
            e.namespaceUri = reader.namespaceUri().toString();
            e.localName = reader.name().toString();
            e.parent = open.isEmpty() ? -1 : open.last();
            const auto attributes = reader.attributes();
            for (const QXmlStreamAttribute &a : attributes)
                e.attributes.append({a.namespaceUri().toString() + u'|' + a.name().toString(), a.value().toString()});
            const auto declarations = reader.namespaceDeclarations();
            for (const QXmlStreamNamespaceDeclaration &d : declarations)
                e.namespaceDeclarations.append({d.prefix().toString(), d.namespaceUri().toString()});
            const int index = int(doc.m_elements.size());
            if (e.parent >= 0)
                doc.m_elements[e.parent].children.append(index);
            doc.m_elements.append(std::move(e));
            open.append(index);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.removeLast();
            break;
        case QXmlStreamReader::Characters:
            if (!open.isEmpty())
                doc.m_elements[open.last()].text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        return R::refused(QStringLiteral("malformed XML at line %1, column %2: %3")
                              .arg(reader.lineNumber())
                              .arg(reader.columnNumber())
                              .arg(reader.errorString()));
    }
    if (doc.m_elements.isEmpty())
        return R::refused(QStringLiteral("no root element"));
    for (Element &e : doc.m_elements)
        e.text = e.text.trimmed();
    R r;
    r.value = std::move(doc);
    return r;
}

int SoapDocument::child(int parent, QStringView ns, QStringView local) const
{
    for (int c : m_elements.at(parent).children) {
        const Element &e = m_elements.at(c);
        if (e.localName == local && e.namespaceUri == ns)
            return c;
    }
    return -1;
}

QList<int> SoapDocument::children(int parent, QStringView ns, QStringView local) const
{
    QList<int> out;
    for (int c : m_elements.at(parent).children) {
        const Element &e = m_elements.at(c);
        if (e.localName == local && e.namespaceUri == ns)
            out.append(c);
    }
    return out;
}

int SoapDocument::childByLocalName(int parent, QStringView local) const
{
    for (int c : m_elements.at(parent).children) {
        if (m_elements.at(c).localName == local)
            return c;
    }
    return -1;
}

QList<int> SoapDocument::childrenByLocalName(int parent, QStringView local) const
{
    QList<int> out;
    for (int c : m_elements.at(parent).children) {
        if (m_elements.at(c).localName == local)
            out.append(c);
    }
    return out;
}

QString SoapDocument::childText(int parent, QStringView ns, QStringView local) const
{
    const int c = child(parent, ns, local);
    return c < 0 ? QString() : m_elements.at(c).text;
}

QString SoapDocument::attribute(int index, QStringView ns, QStringView local) const
{
    const QString key = ns.toString() + u'|' + local.toString();
    for (const auto &[name, value] : m_elements.at(index).attributes) {
        if (name == key)
            return value;
    }
    return {};
}

std::optional<QualifiedName> SoapDocument::resolveQName(int index, QStringView qname) const
{
    const qsizetype colon = qname.indexOf(u':');
    const QStringView prefix = colon < 0 ? QStringView() : qname.left(colon);
    const QStringView local = colon < 0 ? qname : qname.mid(colon + 1);
    if (local.isEmpty() || local.contains(u':'))
        return std::nullopt;
    for (int i = index; i >= 0; i = m_elements.at(i).parent) {
        for (const auto &[p, uri] : m_elements.at(i).namespaceDeclarations) {
            if (p == prefix)
                return QualifiedName{uri, local.toString()};
        }
    }
    if (prefix.isEmpty())
        return QualifiedName{QString(), local.toString()};
    if (prefix == u"xml")
        return QualifiedName{QStringLiteral("http://www.w3.org/XML/1998/namespace"), local.toString()};
    return std::nullopt;
}

} // namespace onvif

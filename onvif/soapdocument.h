// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "result.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <utility>

namespace onvif {

/**
 * @brief A received SOAP text read into a small element tree, or refused.
 *
 * The reader trusts nothing: a text larger than the caller's limit is refused before it is
 * read; any document type declaration (and with it every entity declaration) is refused, so
 * no entity is ever expanded; elements nest at most kMaxDepth deep and a document holds at
 * most kMaxElements elements; a malformed or truncated text is refused. Each refusal carries
 * a reason. Elements are found by namespace URI and local name, never by prefix.
 */
class SoapDocument
{
public:
    static constexpr int kMaxDepth = 32;
    static constexpr int kMaxElements = 20000;

    /** @brief One element: its name, its own (trimmed) text and its child elements. */
    struct Element
    {
        QString namespaceUri;
        QString localName;
        QString text;
        int parent = -1;
        QList<int> children;
        QList<std::pair<QString, QString>> attributes;            ///< (namespace URI + '|' + local name, value)
        QList<std::pair<QString, QString>> namespaceDeclarations; ///< (prefix, URI) declared on this element
    };

    /** @brief Reads @p xml, refusing it when longer than @p maxBytes or hostile (see class). */
    static Result<SoapDocument> parse(QByteArrayView xml, qsizetype maxBytes);

    /** @brief The root element's index (0). */
    static constexpr int root() { return 0; }
    /** @brief How many elements the document holds; indices run from 0, parents before children. */
    int elementCount() const { return int(m_elements.size()); }
    /** @brief The element at @p index (an index this document handed out). */
    const Element &element(int index) const { return m_elements.at(index); }
    /** @brief The first child of @p parent named {@p ns, @p local}, or -1. */
    int child(int parent, QStringView ns, QStringView local) const;
    /** @brief Every child of @p parent named {@p ns, @p local}, in document order. */
    QList<int> children(int parent, QStringView ns, QStringView local) const;
    /** @brief The first child of @p parent with local name @p local in whatever namespace, or -1. */
    int childByLocalName(int parent, QStringView local) const;
    /** @brief Every child of @p parent with local name @p local in whatever namespace. */
    QList<int> childrenByLocalName(int parent, QStringView local) const;
    /** @brief The trimmed text of the first child named {@p ns, @p local}, or a null string. */
    QString childText(int parent, QStringView ns, QStringView local) const;
    /** @brief An attribute's value by namespace URI (empty for none) and local name, or a null string. */
    QString attribute(int index, QStringView ns, QStringView local) const;
    /**
     * @brief Resolves a QName written in element content ("ter:NotAuthorized") with the
     * prefixes in scope at @p index; nothing when its prefix is not bound.
     */
    std::optional<QualifiedName> resolveQName(int index, QStringView qname) const;

private:
    QList<Element> m_elements;
};

} // namespace onvif

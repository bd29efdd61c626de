// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QList>
#include <QString>

namespace VexoTool {

/**
 * @brief A handle on one element of an XML document, for the small settings files beside the
 *        program.
 *
 * Copies, and the handles that child() and childByName() return, share one document: a value
 * written through any of them is seen by all and written by save(). A handle on no element is
 * null; it has no children and no value and cannot be written.
 */
class XmlDocument
{
public:
    /** @brief A null handle. */
    XmlDocument() = default;

    /**
     * @brief Reads the file at @p path and makes its root element current.
     *
     * The bytes are decoded in the encoding the XML declaration names (UTF-8 without one).
     * A document that does not parse leaves the handle null but still counts as loaded.
     * @return false if @p path is empty or the file cannot be opened for reading.
     */
    bool load(const QString &path);

    /**
     * @brief Writes the whole document to @p path in GB2312 with an XML declaration naming it.
     *
     * The file is replaced in one step: a failed write leaves the previous file as it was.
     * @return false if the document cannot be written.
     */
    bool save(const QString &path) const;

    /** @brief Makes @p root the root element of a new, empty document. */
    static XmlDocument create(const QString &root);

    /** @brief Appends a new element @p tag to the current element and returns it. */
    XmlDocument appendChild(const QString &tag);

    /** @brief Whether the handle refers to no element. */
    bool isNull() const { return m_element.isNull(); }

    /** @brief Number of element children of the current element (0 for a null handle). */
    int childCount() const;

    /**
     * @brief The element children of the current element in document order, at most @p limit
     *        of them (all for a negative limit).
     */
    QList<XmlDocument> children(int limit = -1) const;

    /** @brief The @p i-th element child, or a null handle. */
    XmlDocument child(int i) const;

    /** @brief The first element @p tag anywhere below the current element, or a null handle. */
    XmlDocument childByName(const QString &tag) const;

    /** @brief The data of the first text child, or "" if there is none. */
    QString value() const;

    /**
     * @brief Writes @p n in decimal into the first text child, or appends a text node holding it.
     * @return false on a null handle.
     */
    bool setValue(int n);

    /** @brief The document as it would be saved, before the GB2312 encoding. */
    QString toText() const;

private:
    XmlDocument(const QDomDocument &document, const QDomElement &element);

    QDomDocument m_document; // QDomDocument copies share one document
    QDomElement m_element;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QDomElement>
#include <QString>

#include <memory>

class QDomDocument;

namespace aKLOGUIToolkit {

/**
 * @brief A value handle on one element of an XML document.
 *
 * Copies and the handles reached through GetChild() share one document, so a
 * SetValue() through any of them is seen by all and saved by SaveXML(). A default
 * constructed handle, or one for a child that does not exist, is null: it has no
 * children, empty name and value, and SetValue()/SaveXML() fail on it.
 */
class AKLOGUITOOLKIT_EXPORT CGenericDS
{
public:
    CGenericDS();
    CGenericDS(const CGenericDS &other);
    CGenericDS &operator=(const CGenericDS &other);
    ~CGenericDS();

    /**
     * @brief Parses the XML file \a path and makes this handle its root element.
     *
     * Gives false (and leaves the handle as it was) when the file cannot be read,
     * is not well-formed, has no root element or is unreasonably large.
     */
    bool LoadXML(const QString &path);

    /** @brief Writes the whole document to \a path as UTF-8; true on success. */
    bool SaveXML(const QString &path) const;

    /** @brief True when the handle refers to no element. */
    bool IsNull() const;

    /** @brief Number of child elements (text and comments are not counted). */
    int GetChildrenCount() const;

    /** @brief The child element number \a index in document order, or a null handle. */
    CGenericDS GetChild(int index) const;

    /** @brief The first child element whose tag is \a tag, or a null handle. */
    CGenericDS GetChildByName(const QString &tag) const;

    /** @brief The element's tag. */
    QString GetName() const;

    /** @brief The element's own text: its direct text and CDATA children joined. */
    QString GetValue() const;

    /** @brief Replaces the element's own text with \a text (child elements stay); true on success. */
    bool SetValue(const QString &text);

private:
    CGenericDS(std::shared_ptr<QDomDocument> document, const QDomElement &element);

    std::shared_ptr<QDomDocument> m_document;
    QDomElement m_element;
};

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cgenericds.h"

#include "toolkitlog.h"

#include <QDomDocument>
#include <QFile>
#include <QSaveFile>

namespace aKLOGUIToolkit {

namespace {

// Settings and column files are a few kilobytes; anything far larger is not ours.
constexpr qint64 MaxDocumentSize = 16 * 1024 * 1024;

bool isTextNode(const QDomNode &node)
{
    return node.isText() || node.isCDATASection();
}

} // namespace

CGenericDS::CGenericDS() = default;
CGenericDS::CGenericDS(const CGenericDS &other) = default;
CGenericDS &CGenericDS::operator=(const CGenericDS &other) = default;
CGenericDS::~CGenericDS() = default;

CGenericDS::CGenericDS(std::shared_ptr<QDomDocument> document, const QDomElement &element)
    : m_document(std::move(document))
    , m_element(element)
{
    if (m_element.isNull())
        m_document.reset();
}

bool CGenericDS::LoadXML(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCDebug(lcToolkit) << "Cannot open" << path << file.errorString();
        return false;
    }
    if (file.size() > MaxDocumentSize) {
        qCWarning(lcToolkit) << "Refusing to parse" << path << "of" << file.size() << "bytes";
        return false;
    }
    auto document = std::make_shared<QDomDocument>();
    QString error;
    int line = 0;
    int column = 0;
    if (!document->setContent(file.readAll(), &error, &line, &column)) {
        qCWarning(lcToolkit) << "Malformed XML in" << path << "at" << line << ":" << column << error;
        return false;
    }
    const QDomElement root = document->documentElement();
    if (root.isNull())
        return false;
    m_document = std::move(document);
    m_element = root;
    return true;
}

bool CGenericDS::SaveXML(const QString &path) const
{
    if (!m_document)
        return false;
    // Written through a temporary file, so a failed write never leaves half a document.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qCWarning(lcToolkit) << "Cannot write" << path << file.errorString();
        return false;
    }
    const QByteArray bytes = m_document->toByteArray(4);
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

bool CGenericDS::IsNull() const
{
    return m_element.isNull();
}

int CGenericDS::GetChildrenCount() const
{
    int count = 0;
    for (QDomElement child = m_element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement())
        ++count;
    return count;
}

CGenericDS CGenericDS::GetChild(int index) const
{
    if (index < 0)
        return {};
    QDomElement child = m_element.firstChildElement();
    for (int i = 0; i < index && !child.isNull(); ++i)
        child = child.nextSiblingElement();
    return CGenericDS(m_document, child);
}

CGenericDS CGenericDS::GetChildByName(const QString &tag) const
{
    if (m_element.isNull())
        return {};
    return CGenericDS(m_document, m_element.firstChildElement(tag));
}

QString CGenericDS::GetName() const
{
    return m_element.tagName();
}

QString CGenericDS::GetValue() const
{
    QString value;
    for (QDomNode node = m_element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (isTextNode(node))
            value += node.nodeValue();
    }
    return value;
}

bool CGenericDS::SetValue(const QString &text)
{
    if (m_element.isNull() || !m_document)
        return false;
    for (QDomNode node = m_element.firstChild(); !node.isNull();) {
        const QDomNode next = node.nextSibling();
        if (isTextNode(node))
            m_element.removeChild(node);
        node = next;
    }
    if (!text.isEmpty())
        m_element.insertBefore(m_document->createTextNode(text), m_element.firstChild());
    return true;
}

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "xmldocument.h"

#include "devicelistlog.h"

#include <userfilewriter.h>

#include <QDomNodeList>
#include <QDomText>
#include <QFile>
#include <QRegularExpression>
#include <QTextCodec>
#include <QTextStream>

namespace VexoTool {

namespace {

const char kFileEncoding[] = "GB2312";

// The encoding the XML declaration at the start of @p bytes names, or empty.
QByteArray declaredEncoding(const QByteArray &bytes)
{
    static const QRegularExpression declaration(
        QStringLiteral(R"(^\s*<\?xml[^>]*?\sencoding\s*=\s*["']([A-Za-z0-9._:-]+)["'])"));
    const QRegularExpressionMatch match = declaration.match(QString::fromLatin1(bytes.left(256)));
    return match.hasMatch() ? match.captured(1).toLatin1() : QByteArray();
}

QDomText firstTextChild(const QDomElement &element)
{
    for (QDomNode node = element.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isText() && !node.isCDATASection())
            return node.toText();
    }
    return {};
}

} // namespace

XmlDocument::XmlDocument(const QDomDocument &document, const QDomElement &element)
    : m_document(document)
    , m_element(element)
{}

bool XmlDocument::load(const QString &path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    const QByteArray bytes = file.readAll();

    QDomDocument document;
    const QByteArray encoding = declaredEncoding(bytes);
    QTextCodec *codec = encoding.isEmpty() ? nullptr : QTextCodec::codecForName(encoding);
    QString error;
    int line = 0;
    const bool parsed = codec ? document.setContent(codec->toUnicode(bytes), &error, &line)
                              : document.setContent(bytes, &error, &line);
    if (!parsed)
        qCWarning(lcDeviceList, "%s does not parse (line %d: %s)", qPrintable(path), line, qPrintable(error));
    m_document = document;
    m_element = document.documentElement();
    return true;
}

QString XmlDocument::toText() const
{
    QString text;
    QTextStream stream(&text);
    // The bytes are GB2312 whatever an earlier declaration said, so the declaration says so.
    stream << "<?xml version=\"1.0\" encoding=\"" << kFileEncoding << "\"?>\n";
    for (QDomNode node = m_document.firstChild(); !node.isNull(); node = node.nextSibling()) {
        if (node.isProcessingInstruction() && node.nodeName() == QLatin1String("xml"))
            continue;
        node.save(stream, 0);
    }
    stream.flush();
    return text;
}

bool XmlDocument::save(const QString &path) const
{
    if (m_document.isNull() || path.isEmpty())
        return false;
    QTextCodec *codec = QTextCodec::codecForName(kFileEncoding);
    if (!codec) {
        qCWarning(lcDeviceList, "no %s codec; %s not written", kFileEncoding, qPrintable(path));
        return false;
    }
    QByteArray bytes = codec->fromUnicode(toText());
#ifdef Q_OS_WIN
    bytes.replace("\n", "\r\n"); // a text file in the system's line ends
#endif
    return UserFileWriter::write(path, bytes);
}

XmlDocument XmlDocument::create(const QString &root)
{
    QDomDocument document;
    const QDomElement element = document.createElement(root);
    document.appendChild(element);
    return XmlDocument(document, element);
}

XmlDocument XmlDocument::appendChild(const QString &tag)
{
    if (isNull())
        return {};
    const QDomElement element = m_document.createElement(tag);
    m_element.appendChild(element);
    return XmlDocument(m_document, element);
}

int XmlDocument::childCount() const
{
    int count = 0;
    for (QDomElement e = m_element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        ++count;
    return count;
}

QList<XmlDocument> XmlDocument::children(int limit) const
{
    QList<XmlDocument> result;
    for (QDomElement e = m_element.firstChildElement(); !e.isNull() && result.size() != limit;
         e = e.nextSiblingElement())
        result.append(XmlDocument(m_document, e));
    return result;
}

XmlDocument XmlDocument::child(int i) const
{
    if (i < 0)
        return {};
    QDomElement e = m_element.firstChildElement();
    for (; !e.isNull() && i > 0; --i)
        e = e.nextSiblingElement();
    return e.isNull() ? XmlDocument() : XmlDocument(m_document, e);
}

XmlDocument XmlDocument::childByName(const QString &tag) const
{
    if (isNull())
        return {};
    const QDomNodeList found = m_element.elementsByTagName(tag);
    return found.isEmpty() ? XmlDocument() : XmlDocument(m_document, found.item(0).toElement());
}

QString XmlDocument::value() const
{
    const QDomText text = firstTextChild(m_element);
    return text.isNull() ? QStringLiteral("") : text.data();
}

bool XmlDocument::setValue(int n)
{
    if (isNull())
        return false;
    QDomText text = firstTextChild(m_element);
    if (text.isNull())
        m_element.appendChild(m_document.createTextNode(QString::number(n)));
    else
        text.setData(QString::number(n));
    return true;
}

} // namespace VexoTool

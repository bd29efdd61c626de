// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "csvwriter.h"

#include <QMetaType>

namespace VexoTool {

namespace {

bool isNumber(const QVariant &cell)
{
    switch (cell.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

bool CsvWriter::startsLikeFormula(QStringView text)
{
    if (text.isEmpty())
        return false;
    const QChar first = text.front();
    return first == u'=' || first == u'+' || first == u'-' || first == u'@' || first == u'\t' || first == u'\r';
}

QString CsvWriter::field(const QVariant &cell, QChar separator)
{
    if (cell.isNull())
        return QString();
    if (isNumber(cell)) {
        // Written by the C locale: no group separators, a point for decimals.
        if (cell.typeId() == QMetaType::Double || cell.typeId() == QMetaType::Float)
            return QString::number(cell.toDouble(), 'g', 17);
        return cell.toString();
    }
    QString text = cell.toString();
    if (startsLikeFormula(text))
        text.prepend(u'\'');
    if (!text.contains(separator) && !text.contains(u';') && !text.contains(u'"') && !text.contains(u'\n')
        && !text.contains(u'\r'))
        return text;
    text.replace(u'"', QStringLiteral("\"\""));
    return u'"' + text + u'"';
}

void CsvWriter::addRow(const QVariantList &cells)
{
    for (qsizetype i = 0; i < cells.size(); ++i) {
        if (i > 0)
            m_text += m_separator;
        m_text += field(cells.at(i), m_separator);
    }
    m_text += QStringLiteral("\r\n");
}

void CsvWriter::addRow(const QStringList &texts)
{
    QVariantList cells;
    cells.reserve(texts.size());
    for (const QString &text : texts)
        cells.append(text);
    addRow(cells);
}

QByteArray CsvWriter::utf8WithBom() const
{
    return QByteArray("\xEF\xBB\xBF") + m_text.toUtf8();
}

} // namespace VexoTool

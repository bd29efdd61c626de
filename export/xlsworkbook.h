// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace VexoTool {

/**
 * @brief Builds the "Workbook" stream of an Excel 97-2003 workbook (BIFF8 records) with one
 *        sheet of text cells.
 *
 * The sheet is created with its column names, which become the first row; every inserted row
 * follows in insertion order. All cells are Unicode texts kept in the shared string table, so
 * any language survives. The stream still has to be stored in a compound file
 * (CompoundFileWriter) to become an ".xls" file.
 *
 * Every operation that cannot be honoured returns false and leaves the reason in errorString().
 */
class XlsWorkbook
{
public:
    /** @brief Rows a sheet holds, the column names' row included. */
    static constexpr int MaxRows = 65536;
    /** @brief Columns a sheet holds. */
    static constexpr int MaxColumns = 256;
    /** @brief Characters of a sheet name. */
    static constexpr int MaxSheetNameLength = 31;
    /** @brief Characters of one cell text. */
    static constexpr int MaxCellTextLength = 32767;

    /**
     * @brief Creates the sheet @p name whose first row holds @p columnNames.
     *
     * Refused when a sheet exists already, when there are more than MaxColumns columns, and
     * for names spreadsheet programs cannot show as a sheet tab: empty, longer than
     * MaxSheetNameLength, holding one of []:*?/\ or half of a surrogate pair, or beginning or
     * ending with an apostrophe.
     */
    bool createSheet(const QString &name, const QStringList &columnNames);

    /**
     * @brief Appends a row below the rows there are.
     *
     * @p values fills the columns from the left; missing and empty values leave cells empty. Refused
     * without a sheet, with more values than columns, with a text longer than
     * MaxCellTextLength, and once the sheet holds MaxRows rows.
     */
    bool insertRow(const QStringList &values);

    /** @brief Whether createSheet() succeeded. */
    bool hasSheet() const { return !m_sheetName.isEmpty(); }

    /** @brief Rows of the sheet so far, the column names' row included. */
    int rowCount() const { return int(m_rows.size()); }

    /** @brief Why the last refused operation was refused. */
    QString errorString() const { return m_errorString; }

    /** @brief The complete "Workbook" stream; empty before createSheet() succeeded. */
    QByteArray stream() const;

    /** @brief Why @p name cannot be a sheet name, or an empty text when it can. */
    static QString sheetNameProblem(const QString &name);

    /**
     * @brief @p name cut to at most MaxSheetNameLength UTF-16 units where a character ends.
     *
     * The cut never splits a character beyond U+FFFF (a surrogate pair) and keeps a letter
     * together with its combining marks (a grapheme cluster); only a single cluster longer than
     * the whole limit is cut between code points. A name that fits is returned unchanged.
     */
    static QString fittingSheetName(const QString &name);

private:
    bool fail(const QString &reason);
    quint32 stringIndex(const QString &text);

    QString m_sheetName;
    int m_columnCount = 0;
    QList<QList<quint32>> m_rows; // indexes into m_strings row by row; empty texts have none
    QStringList m_strings;        // the shared string table, each text once
    QHash<QString, quint32> m_stringIndexes;
    quint32 m_stringReferences = 0;
    QString m_errorString;
};

} // namespace VexoTool

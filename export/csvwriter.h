// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace VexoTool {

/**
 * @brief Writes the CSV files of the program (reports, exports) so that a spreadsheet program
 *        opens them as data and never as formulas.
 *
 * A cell is a text or a number, by its type. Numbers (integer and floating-point variants) are
 * written as they are. A text is always a text: one that begins with "=", "+", "-", "@", a tab
 * or a carriage return gets a leading apostrophe, which spreadsheet programs take as "this is
 * text" instead of starting a formula, even when the text looks like a number ("-5"). Fields
 * holding the separator, a semicolon, a quote or a line break are quoted as in RFC 4180.
 */
class CsvWriter
{
public:
    /** @brief A writer whose fields are separated by @p separator. */
    explicit CsvWriter(QChar separator = u',')
        : m_separator(separator)
    {}

    /** @brief Appends one row of cells; a null variant is an empty cell. */
    void addRow(const QVariantList &cells);
    /** @brief Appends one row of texts. */
    void addRow(const QStringList &texts);

    /** @brief The rows so far, each ended by CR LF. */
    const QString &text() const { return m_text; }
    /** @brief The rows as UTF-8 with a byte order mark, by which spreadsheet programs know the encoding. */
    QByteArray utf8WithBom() const;

    /** @brief One cell as a field of a row separated by @p separator. */
    static QString field(const QVariant &cell, QChar separator = u',');
    /** @brief Whether a spreadsheet program could take @p text as the start of a formula. */
    static bool startsLikeFormula(QStringView text);

private:
    QChar m_separator;
    QString m_text;
};

} // namespace VexoTool

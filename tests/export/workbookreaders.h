// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace VexoTest {

/** @brief One sheet as a reader of ".xls" files sees it: its name and its cell texts row by row. */
struct ReadSheet
{
    QString name;
    QList<QStringList> rows;
};

/** @brief The sheets of each workbook, by path, or the reader's complaint. */
struct ReadResult
{
    QHash<QString, QList<ReadSheet>> workbooks;
    QString error;            // empty when the reader ran
    bool unavailable = false; // the reader is not installed
};

/** @brief Reads @p paths with the FreeXL C library. */
ReadResult readWithFreeXl(const QStringList &paths);

/** @brief Reads @p paths with Python's xlrd, in one interpreter run. */
ReadResult readWithXlrd(const QStringList &paths);

/**
 * @brief Reads @p paths with LibreOffice: one headless run converts every sheet of every
 *        workbook to CSV in @p workFolder, with a profile of its own there.
 */
ReadResult readWithLibreOffice(const QStringList &paths, const QString &workFolder);

/** @brief One cell as a spreadsheet program took it in. */
struct ReadCell
{
    QString text;      // what the cell shows
    QString valueType; // "string", "float", ... (empty for an empty cell)
    QString formula;   // the formula the program made of it; empty for data
};

/**
 * @brief Opens the CSV file @p path in LibreOffice (comma separated, UTF-8, formulas evaluated as
 *        the program does by default) and returns its cells row by row, with the cells it made
 *        formulas of, from a flat OpenDocument copy it writes in @p workFolder.
 */
QList<QList<ReadCell>> readCsvWithLibreOffice(const QString &path, const QString &workFolder, QString *error);

/** @brief Cells of a CSV text (comma separated, double quotes), row by row. */
QList<QStringList> parseCsv(const QString &text);

/** @brief @p rows with every row filled up with empty cells to the longest row's length. */
QList<QStringList> paddedRows(const QList<QStringList> &rows);

} // namespace VexoTest

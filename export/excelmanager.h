// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAbstractItemModel;

namespace VexoTool {

/**
 * @brief Writes chosen rows of the device table into a new Excel 97-2003 workbook (".xls").
 *
 * The workbook has one sheet named like the file. Its first row holds the names of the
 * table's columns after the check-box column, the other rows the display texts of the chosen
 * rows' cells in the order given. The export either completes or leaves no file behind.
 */
class ExcelManager : public QObject
{
    Q_OBJECT

public:
    explicit ExcelManager(QObject *parent = nullptr);

    /**
     * @brief Writes @p folder + @p fileName + ".xls" with the rows @p rows of @p model.
     *
     * @p folder ends with a separator. Returns true when the whole workbook was written. False
     * when the file exists already, cannot be created, the name cannot be a sheet name, a row
     * number is not a row of @p model, or the sheet cannot hold the rows; then no file was
     * created. The reason of the last failure is in errorString() (for diagnostics).
     */
    bool exportRows(const QString &fileName, const QString &folder, const QAbstractItemModel *model,
                    const QList<int> &rows);

    /** @brief Why the last export failed; empty after a success. */
    QString errorString() const { return m_errorString; }

    /** @brief The name a column gets in the workbook: the header text, "Serial Number" made explicit. */
    static QString columnName(const QString &headerText);

    /**
     * @brief The sheet name of the workbook @p fileName: the name, cut to the length a sheet tab
     *        holds without splitting a character (XlsWorkbook::fittingSheetName()).
     */
    static QString sheetName(const QString &fileName);

private:
    bool fail(const QString &reason);

    QString m_errorString;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "excelmanager.h"

#include "compoundfilewriter.h"
#include "exportlog.h"
#include "xlsworkbook.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryFile>

namespace VexoTool {

namespace {

bool isSerialNumberHeader(const QString &headerText)
{
    // The table translates its headers in its own context; accept that, this class's
    // translation and the untranslated text.
    return headerText == ExcelManager::tr("Serial Number")
           || headerText == QCoreApplication::translate("VexoTool::DeviceInfoModel", "Serial Number")
           || headerText == QLatin1String("Serial Number");
}

} // namespace

ExcelManager::ExcelManager(QObject *parent)
    : QObject(parent)
{}

QString ExcelManager::columnName(const QString &headerText)
{
    return isSerialNumberHeader(headerText) ? tr("Device Serial Number") : headerText;
}

QString ExcelManager::sheetName(const QString &fileName)
{
    // The file name may be one character longer than a sheet tab holds.
    return fileName.left(XlsWorkbook::MaxSheetNameLength);
}

bool ExcelManager::fail(const QString &reason)
{
    m_errorString = reason;
    qCWarning(lcExport, "export failed: %s", qPrintable(reason));
    return false;
}

bool ExcelManager::exportRows(const QString &fileName, const QString &folder, const QAbstractItemModel *model,
                              const QList<int> &rows)
{
    m_errorString.clear();
    if (!model)
        return fail(QStringLiteral("no table to export"));
    if (fileName.isEmpty())
        return fail(QStringLiteral("no file name"));
    const QString path = folder + fileName + QLatin1String(".xls");
    // A new workbook never replaces a file.
    if (QFileInfo::exists(path))
        return fail(QStringLiteral("\"%1\" exists already").arg(path));

    // The workbook is written beside its final place and takes its name only when complete,
    // so a failed export leaves nothing that would block the next attempt.
    QTemporaryFile file(folder + QLatin1Char('.') + fileName + QLatin1String(".XXXXXX.part"));
    if (!file.open())
        return fail(QStringLiteral("cannot create a file in \"%1\": %2").arg(folder, file.errorString()));

    const int columnCount = model->columnCount();
    QStringList columnNames;
    for (int column = 1; column < columnCount; ++column)
        columnNames.append(columnName(model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString()));

    XlsWorkbook workbook;
    if (!workbook.createSheet(sheetName(fileName), columnNames))
        return fail(workbook.errorString());

    for (const int row : rows) {
        if (row < 0 || row >= model->rowCount())
            return fail(QStringLiteral("row %1 is not a row of the table").arg(row));
        QStringList values;
        values.reserve(columnCount - 1);
        for (int column = 1; column < columnCount; ++column)
            values.append(model->index(row, column).data(Qt::DisplayRole).toString());
        if (!workbook.insertRow(values))
            return fail(workbook.errorString());
    }

    QString containerError;
    const std::optional<QByteArray> bytes
        = CompoundFileWriter::singleStreamFile(QStringLiteral("Workbook"), workbook.stream(), &containerError);
    if (!bytes)
        return fail(containerError);
    if (file.write(*bytes) != bytes->size() || !file.flush())
        return fail(QStringLiteral("writing \"%1\": %2").arg(file.fileName(), file.errorString()));
    file.close();
    // Renaming never replaces a file that appeared meanwhile.
    if (!file.rename(path))
        return fail(QStringLiteral("cannot name the workbook \"%1\": %2").arg(path, file.errorString()));
    file.setAutoRemove(false);
    return true;
}

} // namespace VexoTool

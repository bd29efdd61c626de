// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "excelmanager.h"

#include "compoundfilewriter.h"
#include "exportlog.h"
#include "xlsworkbook.h"

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFile>
#include <QRandomGenerator>

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

// The workbook while it is written: a hidden file beside its final place that takes the final name
// only when complete, and is removed otherwise. Unlike a temporary file it gets the permissions of
// any new file, so the workbook can be read by whoever may read the folder's other files.
class PartFile
{
public:
    explicit PartFile(const QString &prefix)
    {
        for (int attempt = 0; attempt < 16; ++attempt) {
            m_file.setFileName(prefix + QString::number(QRandomGenerator::global()->generate(), 36)
                               + QLatin1String(".part"));
            if (m_file.exists())
                continue;
            // NewOnly: never a file someone else just created under the same name.
            m_created = m_file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
            break;
        }
    }
    ~PartFile()
    {
        if (m_created && !m_renamed)
            m_file.remove();
    }
    bool isOpen() const { return m_created; }
    QFile &file() { return m_file; }
    // QFile::rename() refuses an existing name, so a file that appeared meanwhile stays.
    bool renameTo(const QString &path)
    {
        m_file.close();
        m_renamed = m_file.rename(path);
        return m_renamed;
    }

private:
    QFile m_file;
    bool m_created = false;
    bool m_renamed = false;
};

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
    // The file name may be longer than a sheet tab holds.
    return XlsWorkbook::fittingSheetName(fileName);
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

    // A failed export leaves nothing that would block the next attempt.
    PartFile part(folder + QLatin1Char('.') + fileName + QLatin1Char('.'));
    if (!part.isOpen())
        return fail(QStringLiteral("cannot create a file in \"%1\": %2").arg(folder, part.file().errorString()));

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
    QFile &file = part.file();
    if (file.write(*bytes) != bytes->size() || !file.flush())
        return fail(QStringLiteral("writing \"%1\": %2").arg(file.fileName(), file.errorString()));
    if (!part.renameTo(path))
        return fail(QStringLiteral("cannot name the workbook \"%1\": %2").arg(path, file.errorString()));
    return true;
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "workbookreaders.h"

#include <freexl.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QXmlStreamReader>

#include <algorithm>

namespace VexoTest {

namespace {

QString freeXlCellText(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return QString::fromUtf8(cell.value.text_value);
    case FREEXL_CELL_NULL:
        return {};
    case FREEXL_CELL_INT:
        return QStringLiteral("<int %1>").arg(cell.value.int_value);
    default:
        return QStringLiteral("<cell of type %1>").arg(cell.type);
    }
}

} // namespace

ReadResult readWithFreeXl(const QStringList &paths)
{
    ReadResult result;
    for (const QString &path : paths) {
        const void *handle = nullptr;
        const QByteArray localPath = QFile::encodeName(path);
        int rc = freexl_open(localPath.constData(), &handle);
        if (rc != FREEXL_OK) {
            freexl_close(handle);
            result.error = QStringLiteral("FreeXL cannot open %1: error %2").arg(path).arg(rc);
            return result;
        }
        unsigned int sheetCount = 0;
        freexl_get_info(handle, FREEXL_BIFF_SHEET_COUNT, &sheetCount);
        QList<ReadSheet> sheets;
        for (unsigned short index = 0; index < sheetCount; ++index) {
            ReadSheet sheet;
            const char *name = nullptr;
            if (freexl_get_worksheet_name(handle, index, &name) == FREEXL_OK && name)
                sheet.name = QString::fromUtf8(name);
            unsigned int rows = 0;
            unsigned short columns = 0;
            if (freexl_select_active_worksheet(handle, index) != FREEXL_OK
                || freexl_worksheet_dimensions(handle, &rows, &columns) != FREEXL_OK) {
                result.error = QStringLiteral("FreeXL cannot read sheet %1 of %2").arg(index).arg(path);
                freexl_close(handle);
                return result;
            }
            for (unsigned int row = 0; row < rows; ++row) {
                QStringList cells;
                for (unsigned short column = 0; column < columns; ++column) {
                    FreeXL_CellValue cell{};
                    rc = freexl_get_cell_value(handle, row, column, &cell);
                    cells.append(rc == FREEXL_OK ? freeXlCellText(cell) : QStringLiteral("<error %1>").arg(rc));
                }
                sheet.rows.append(cells);
            }
            sheets.append(sheet);
        }
        freexl_close(handle);
        result.workbooks.insert(path, sheets);
    }
    return result;
}

ReadResult readWithXlrd(const QStringList &paths)
{
    static const char script[] = R"(
import json, sys, xlrd
out = {}
for path in sys.argv[1:]:
    book = xlrd.open_workbook(path)
    out[path] = [{"name": s.name,
                  "rows": [[str(s.cell_value(r, c)) for c in range(s.ncols)] for r in range(s.nrows)]}
                 for s in book.sheets()]
sys.stdout.write(json.dumps(out))
)";
    ReadResult result;
    QProcess python;
    // Debian's interpreter: the first "python3" on PATH may not see Debian's modules.
    python.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral("-c"), QString::fromLatin1(script)} + paths);
    if (!python.waitForFinished(60000) || python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        result.error = QStringLiteral("xlrd failed: %1").arg(QString::fromUtf8(python.readAllStandardError()));
        return result;
    }
    const QJsonObject books = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    for (auto book = books.begin(); book != books.end(); ++book) {
        QList<ReadSheet> sheets;
        for (const QJsonValue &sheetValue : book.value().toArray()) {
            ReadSheet sheet;
            sheet.name = sheetValue[QLatin1String("name")].toString();
            for (const QJsonValue &rowValue : sheetValue[QLatin1String("rows")].toArray()) {
                QStringList cells;
                for (const QJsonValue &cell : rowValue.toArray())
                    cells.append(cell.toString());
                sheet.rows.append(cells);
            }
            sheets.append(sheet);
        }
        result.workbooks.insert(book.key(), sheets);
    }
    return result;
}

ReadResult readWithLibreOffice(const QStringList &paths, const QString &workFolder)
{
    ReadResult result;
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        result.unavailable = true;
        result.error = QStringLiteral("soffice is not installed (package libreoffice-calc-nogui)");
        return result;
    }
    const QDir work(workFolder);
    const QString profile = work.filePath(QStringLiteral("lo-profile"));
    const QString out = work.filePath(QStringLiteral("lo-csv"));
    work.mkpath(out);
    // Every sheet goes to "<workbook>-<sheet name>.csv" in UTF-8, every text cell quoted.
    const QString filter
        = QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,true,false,true,false,false,-1");
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice,
                 QStringList{QStringLiteral("--headless"), QStringLiteral("--norestore"),
                             QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                             QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), out}
                     + paths);
    if (!office.waitForFinished(240000) || office.exitStatus() != QProcess::NormalExit) {
        office.kill();
        office.waitForFinished();
        result.error = QStringLiteral("LibreOffice did not finish: %1").arg(QString::fromUtf8(office.readAll()));
        return result;
    }
    const QString log = QString::fromUtf8(office.readAll());
    for (const QString &path : paths) {
        const QString base = QFileInfo(path).completeBaseName();
        QList<ReadSheet> sheets;
        const QStringList files = QDir(out).entryList({base + QLatin1String("-*.csv")}, QDir::Files, QDir::Name);
        for (const QString &fileName : files) {
            QFile file(QDir(out).filePath(fileName));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            ReadSheet sheet;
            sheet.name = fileName.mid(base.size() + 1, fileName.size() - base.size() - 1 - 4);
            sheet.rows = parseCsv(QString::fromUtf8(file.readAll()));
            sheets.append(sheet);
        }
        if (sheets.isEmpty()) {
            result.error = QStringLiteral("LibreOffice wrote no sheet of %1: %2").arg(path, log);
            return result;
        }
        result.workbooks.insert(path, sheets);
    }
    return result;
}

QList<QList<ReadCell>> readCsvWithLibreOffice(const QString &path, const QString &workFolder, QString *error)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty()) {
        *error = QStringLiteral("soffice is not installed (package libreoffice-calc-nogui)");
        return {};
    }
    const QDir work(workFolder);
    const QString profile = work.filePath(QStringLiteral("lo-profile"));
    const QString out = work.filePath(QStringLiteral("lo-fods"));
    work.mkpath(out);
    QProcess office;
    office.setProcessChannelMode(QProcess::MergedChannels);
    office.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--norestore"),
                           QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(profile).toString(),
                           QStringLiteral("--infilter=CSV:44,34,76,1"), QStringLiteral("--convert-to"),
                           QStringLiteral("fods"), QStringLiteral("--outdir"), out, path});
    if (!office.waitForFinished(240000) || office.exitStatus() != QProcess::NormalExit) {
        office.kill();
        office.waitForFinished();
        *error = QStringLiteral("LibreOffice did not finish: %1").arg(QString::fromUtf8(office.readAll()));
        return {};
    }
    QFile file(QDir(out).filePath(QFileInfo(path).completeBaseName() + QStringLiteral(".fods")));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("LibreOffice wrote no copy of %1: %2").arg(path, QString::fromUtf8(office.readAll()));
        return {};
    }
    QList<QList<ReadCell>> rows;
    QXmlStreamReader xml(&file);
    ReadCell cell;
    int repeated = 0;
    int paragraphs = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        const QStringView name = xml.name();
        if (xml.isStartElement() && name == QLatin1String("table-row")) {
            rows.append(QList<ReadCell>());
        } else if (xml.isStartElement()
                   && (name == QLatin1String("table-cell") || name == QLatin1String("covered-table-cell"))) {
            const QXmlStreamAttributes attributes = xml.attributes();
            cell = ReadCell{{},
                            attributes.value(QLatin1String("office:value-type")).toString(),
                            attributes.value(QLatin1String("table:formula")).toString()};
            // Trailing empty cells come as one cell repeated up to the sheet's last column.
            repeated = qBound(1, attributes.value(QLatin1String("table:number-columns-repeated")).toInt(), 64);
            paragraphs = 0;
        } else if (xml.isStartElement() && name == QLatin1String("p")) {
            if (paragraphs++ > 0)
                cell.text += u'\n';
            // The paragraph's text, with the tabs, runs of spaces and line breaks it holds as elements.
            for (int depth = 1; depth > 0 && !xml.atEnd();) {
                xml.readNext();
                if (xml.isCharacters()) {
                    cell.text += xml.text();
                } else if (xml.isStartElement()) {
                    ++depth;
                    if (xml.name() == QLatin1String("tab"))
                        cell.text += u'\t';
                    else if (xml.name() == QLatin1String("line-break"))
                        cell.text += u'\n';
                    else if (xml.name() == QLatin1String("s"))
                        cell.text += QString(qMax(1, xml.attributes().value(QLatin1String("text:c")).toInt()), u' ');
                } else if (xml.isEndElement()) {
                    --depth;
                }
            }
        } else if (xml.isEndElement()
                   && (name == QLatin1String("table-cell") || name == QLatin1String("covered-table-cell"))) {
            for (int i = 0; i < repeated && !rows.isEmpty(); ++i)
                rows.last().append(cell);
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    // Rows of empty cells only, which the sheet adds up to its end, are not data.
    while (!rows.isEmpty() && std::all_of(rows.last().cbegin(), rows.last().cend(), [](const ReadCell &c) {
        return c.valueType.isEmpty();
    }))
        rows.removeLast();
    return rows;
}

QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    bool rowStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text.at(i + 1) == u'"') {
                cell.append(u'"');
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                cell.append(c);
            }
            continue;
        }
        rowStarted = true;
        if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row.append(cell);
            cell.clear();
        } else if (c == u'\n') {
            row.append(cell);
            rows.append(row);
            row.clear();
            cell.clear();
            rowStarted = false;
        } else if (c != u'\r') {
            cell.append(c);
        }
    }
    if (rowStarted) {
        row.append(cell);
        rows.append(row);
    }
    return rows;
}

QList<QStringList> paddedRows(const QList<QStringList> &rows)
{
    qsizetype width = 0;
    for (const QStringList &row : rows)
        width = std::max(width, row.size());
    QList<QStringList> padded = rows;
    for (QStringList &row : padded) {
        while (row.size() < width)
            row.append(QString());
    }
    return padded;
}

} // namespace VexoTest

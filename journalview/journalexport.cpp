// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalexport.h"

#include "journaltexts.h"

#include <compoundfilewriter.h>
#include <csvwriter.h>
#include <journal.h>
#include <userfilewriter.h>
#include <xlsworkbook.h>

#include <QDir>

#include <functional>

namespace VexoTool {

namespace {

constexpr int PageSize = 2000;

// Calls @p take for every entry passing @p filter, newest first; false with @p error when the
// journal cannot be read or @p take says stop.
bool forEachEntry(const Journal &journal, const JournalFilter &filter,
                  const std::function<bool(const JournalEntry &)> &take, QString *error)
{
    for (int offset = 0;; offset += PageSize) {
        const JournalPage page = journal.query(filter, offset, PageSize);
        if (!page.ok) {
            if (error)
                *error = JournalExport::tr("The journal cannot be read: %1").arg(page.error);
            return false;
        }
        for (const JournalEntry &entry : page.entries) {
            if (!take(entry))
                return false;
        }
        if (page.entries.size() < PageSize)
            return true;
    }
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool JournalExport::writeCsv(const Journal &journal, const JournalFilter &filter, const QString &path, QString *error)
{
    CsvWriter csv;
    csv.addRow(JournalTexts::headers());
    const bool read = forEachEntry(
        journal, filter,
        [&csv](const JournalEntry &entry) {
            csv.addRow(JournalTexts::row(entry));
            return true;
        },
        error);
    if (!read)
        return false;
    QString why;
    if (!UserFileWriter::write(path, csv.utf8WithBom(), &why))
        return fail(error, tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), why));
    return true;
}

bool JournalExport::writeXls(const Journal &journal, const JournalFilter &filter, const QString &path, QString *error)
{
    const qint64 count = journal.count(filter);
    if (count >= XlsWorkbook::MaxRows)
        return fail(error, tr("%1 entries are more than a workbook's sheet holds (%2). Choose a shorter period, or "
                              "export them as CSV.")
                               .arg(count)
                               .arg(XlsWorkbook::MaxRows - 1));
    XlsWorkbook workbook;
    //: name of the journal export's sheet
    if (!workbook.createSheet(tr("Journal"), JournalTexts::headers()))
        return fail(error, workbook.errorString());
    QString why;
    const bool read = forEachEntry(
        journal, filter,
        [&workbook](const JournalEntry &entry) { return workbook.insertRow(JournalTexts::row(entry)); }, &why);
    if (!read)
        return fail(error, why.isEmpty() ? workbook.errorString() : why);
    const std::optional<QByteArray> container
        = CompoundFileWriter::singleStreamFile(QStringLiteral("Workbook"), workbook.stream(), &why);
    if (!container || !UserFileWriter::write(path, *container, &why))
        return fail(error, tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), why));
    return true;
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalfilter.h>

#include <QCoreApplication>
#include <QString>

namespace VexoTool {

class Journal;

/**
 * @brief Writes the journal entries passing a filter, newest first, into a CSV file (through the
 *        program's CSV writer: no cell becomes a formula) or an ".xls" workbook.
 *
 * The entries are read page by page, so a large journal is never held twice. A workbook's sheet
 * holds at most 65,535 entries; a filter that passes more is refused for ".xls" (CSV has no limit).
 */
class JournalExport
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::JournalExport)

public:
    /** @brief Writes the CSV file @p path; false with @p error when the journal or the file fails. */
    static bool writeCsv(const Journal &journal, const JournalFilter &filter, const QString &path,
                         QString *error = nullptr);
    /** @brief Writes the ".xls" workbook @p path; false with @p error as writeCsv(), or when it cannot hold them. */
    static bool writeXls(const Journal &journal, const JournalFilter &filter, const QString &path,
                         QString *error = nullptr);
};

} // namespace VexoTool

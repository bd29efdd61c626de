// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalrecords.h"

#include <errorexplanation.h>
#include <journal.h>

#include <QCoreApplication>
#include <QFileInfo>

namespace VexoTool {

JournalValues withPasswordSet(JournalValues values)
{
    values.passwordSet = true;
    return values;
}

QString journalCallFailure(quint32 code)
{
    if (code == VEXO_NOERROR)
        return QString();
    const QString explanation = ErrorExplanation::forCode(code);
    //: the journal's explanation of a failed device call; %1 is the library's error code
    const QString text = QCoreApplication::translate("VexoTool::JournalRecords", "Error %1").arg(code);
    return explanation.isEmpty() ? text : text + QStringLiteral(": ") + explanation;
}

void writeJournalEntry(Journal *journal, JournalFlow flow, const VEXO_DEVICE_INFO &before, const JournalValues &after,
                       bool succeeded, const QString &explanation)
{
    if (!journal)
        return;
    JournalEntry entry = JournalEntry::make(flow);
    // The program by its file's name: the window's title is translated, the journal's entries are not.
    if (QCoreApplication::instance())
        entry.program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    describeDevice(entry, before);
    entry.before = journalValuesOf(before);
    entry.after = succeeded ? after : entry.before;
    entry.result = succeeded ? JournalResult::Succeeded : JournalResult::Failed;
    entry.explanation = explanation;
    journal->append(entry);
}

} // namespace VexoTool

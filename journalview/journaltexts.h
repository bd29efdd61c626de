// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalentry.h>

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace VexoTool {

/**
 * @brief How journal entries read in the journal window, its exports and the hand-over report,
 *        in the program's language.
 */
class JournalTexts
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::JournalTexts)

public:
    /** @brief The columns of an entry, in the order the window and the exports show them. */
    enum Column {
        ColumnTime,
        ColumnFlow,
        ColumnSerialNumber,
        ColumnMac,
        ColumnModel,
        ColumnProtocol,
        ColumnBefore,
        ColumnAfter,
        ColumnResult,
        ColumnExplanation,
        ColumnUser,
        ColumnProgram,
        ColumnCount
    };

    /** @brief The column names. */
    static QStringList headers();
    /** @brief The text of @p entry's cell in @p column. */
    static QString cell(const JournalEntry &entry, int column);
    /** @brief Every cell of @p entry, column by column. */
    static QStringList row(const JournalEntry &entry);
    /** @brief The entry's time as its writer's clock showed it ("2026-12-09 14:03:07 +01:00"). */
    static QString timeText(const JournalEntry &entry);
    /**
     * @brief Settings in one line: "IPv4 10.0.0.5 / 255.255.255.0, gateway 10.0.0.1, DHCP off,
     *        port 8000, HTTP 80, password set"; what is not known is left out.
     */
    static QString valuesText(const JournalValues &values);
    /** @brief The verification state as stored ("verified", "unverified", "unchecked", "none") in the program's language. */
    static QString verificationText(const QString &state);
};

} // namespace VexoTool

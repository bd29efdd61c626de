// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QCommandLineOption>
#include <QDateTime>
#include <QString>

#include <optional>

/** @brief The options of "journal": --since and --device. */
QList<QCommandLineOption> journalOptions();

/** @brief What "vexo-cli journal" was asked for. */
struct JournalCommand
{
    QString since;  ///< a date, a date and time (local), or a number of days or hours ("7d", "12h")
    QString device; ///< a serial number or MAC
    bool json = false;
};

/**
 * @brief The start of "--since @p text" (read at @p now): "2026-05-01", "2026-05-01T08:30", "7d",
 *        "12h"; empty when the text is none of these.
 */
std::optional<QDateTime> journalSince(const QString &text, const QDateTime &now);

/**
 * @brief "vexo-cli journal": the journal's entries, newest first, as a table or as JSON.
 * @return 0, or 2 for options it cannot use, 1 when the journal cannot be read.
 */
int runJournalCommand(const JournalCommand &command);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalentry.h"
#include "journalfilter.h"

#include <QList>
#include <QString>

#include <optional>

namespace VexoTool {

/**
 * @brief Where journal entries are stored: the embedded file or a shared server.
 *
 * Every call may come from any thread (each thread gets its own connection) and returns
 * whether it worked, with the reason in @p error; nothing throws. Entries are only ever
 * added, or removed whole when they are older than the journal keeps them.
 */
class JournalStorage
{
public:
    virtual ~JournalStorage() = default;

    /** @brief "SQLite", "PostgreSQL": for messages and the log. */
    virtual QString name() const = 0;
    /** @brief Where it is (a file path, user@host:port/database), never with a password. */
    virtual QString location() const = 0;

    /** @brief Opens the store and brings its schema up to date. */
    virtual bool open(QString *error) = 0;
    /** @brief Adds @p entries in one transaction; an entry whose id is stored already is skipped. */
    virtual bool append(const QList<JournalEntry> &entries, QString *error) = 0;
    /** @brief At most @p limit entries passing @p filter after skipping @p offset, newest first. */
    virtual JournalPage query(const JournalFilter &filter, int offset, int limit) = 0;
    /** @brief How many entries pass @p filter; empty when it could not be read. */
    virtual std::optional<qint64> count(const JournalFilter &filter, QString *error) = 0;
    /** @brief Removes the entries before @p time; how many, or empty on failure. */
    virtual std::optional<qint64> removeBefore(const QDateTime &time, QString *error) = 0;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalentry.h>
#include <journalsettings.h>

#include "Vexo.h"

#include <functional>
#include <memory>

namespace onvif {
struct Identity;
}

namespace VexoTool {
class Journal;
}

/**
 * @brief vexo-cli's side of the site journal: one entry per device for every command that
 *        changes one, in the same journal as the window's.
 *
 * The journal is opened with the first entry, so commands that change nothing never touch it.
 * It never stops a command: when it cannot be written, standard error says so once and the
 * entries are kept until the command ends.
 */
class CliJournal
{
public:
    CliJournal();
    ~CliJournal();

    /**
     * @brief The journal's settings: the shipped Setup.xml, then the user's over it, and for a
     *        shared journal the password from VEXO_JOURNAL_PASSWORD or typed at the terminal.
     */
    static VexoTool::JournalSettings settings();

    /**
     * @brief Records @p flow on the device of @p record (null when it was not listed: then only
     *        @p id, its serial number or MAC, names it). The values after are those before with
     *        @p change applied.
     */
    void record(VexoTool::JournalFlow flow, const VEXO_DEVICE_INFO *record, const QString &id,
                const std::function<void(VexoTool::JournalValues &)> &change, bool succeeded,
                const QString &explanation);

    /** @brief Records @p flow on the identified ONVIF device; after it, the device of @p after. */
    void record(VexoTool::JournalFlow flow, const onvif::Identity &before, const onvif::Identity &after, bool succeeded,
                const QString &explanation);

    /** @brief Writes what is pending and closes the journal (the destructor does it too). */
    void close();

private:
    void append(const VexoTool::JournalEntry &entry);

    std::unique_ptr<VexoTool::Journal> m_journal;
};

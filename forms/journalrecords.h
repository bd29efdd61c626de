// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalentry.h>
#include <journalrecord.h>

#include <Vexo.h>

#include <QString>

namespace VexoTool {

class Journal;

/** @brief @p values with "a password was set": a password flow records that, never which. */
JournalValues withPasswordSet(JournalValues values);

/** @brief Why a discovery-library call failed, as the journal keeps it: code and explanation; empty for success. */
QString journalCallFailure(quint32 code);

/**
 * @brief Appends the entry of one operation of @p flow on the device of @p before to @p journal.
 *
 * The device's serial number, MAC, model, protocol and verification state and the values before
 * come from @p before; @p after is what the device has afterwards when @p succeeded, while a
 * failure leaves the values as they were. @p explanation says why it failed (never a secret).
 * Does nothing without a journal, so that the flows need not ask.
 */
void writeJournalEntry(Journal *journal, JournalFlow flow, const VEXO_DEVICE_INFO &before, const JournalValues &after,
                       bool succeeded, const QString &explanation = QString());

} // namespace VexoTool

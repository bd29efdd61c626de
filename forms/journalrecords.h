// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <journalentry.h>

#include <Vexo.h>

#include <QString>

namespace VexoTool {

class Journal;

/** @brief The settings of the device in @p record as the journal keeps them (no password: there is none). */
JournalValues journalValues(const VEXO_DEVICE_INFO &record);
/** @brief The settings @p params give a device, as the journal keeps them. */
JournalValues journalValues(const DeviceNetParam &params);
/** @brief @p values with "a password was set": a password flow records that, never which. */
JournalValues withPasswordSet(JournalValues values);

/** @brief Why a discovery-library call failed, as the journal keeps it: code and explanation; empty for success. */
QString journalCallFailure(quint32 code);

/** @brief The verification state as the list shows it: "verified", "unverified", or "ONVIF" for ONVIF devices. */
QString journalVerification(const VEXO_DEVICE_INFO &record);

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

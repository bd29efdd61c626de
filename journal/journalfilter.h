// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalentry.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <utility>

namespace VexoTool {

/**
 * @brief Which journal entries a query returns; an empty filter passes every entry.
 *
 * All given conditions must hold. Text matches case-insensitively anywhere in the serial
 * number, MAC, model, user, explanation and the addresses before and after.
 */
struct JournalFilter
{
    QString text;
    /** @brief The device by serial number or MAC (exact, case-insensitive); empty for any. */
    QString device;
    /**
     * @brief IPv4 ranges (first, last, host order, inclusive); an entry passes when its address
     *        before or after falls in any of them. Empty: any address.
     */
    QList<std::pair<quint32, quint32>> ipv4Ranges;
    QDateTime from;           ///< entries at or after; invalid: no lower bound
    QDateTime until;          ///< entries before; invalid: no upper bound
    QList<JournalFlow> flows; ///< empty: every flow
    std::optional<JournalResult> result;

    bool isEmpty() const;
    /** @brief Whether @p entry passes, for entries held in memory. */
    bool matches(const JournalEntry &entry) const;
};

/** @brief One page of entries, newest first. */
struct JournalPage
{
    QList<JournalEntry> entries;
    bool ok = true; ///< false when the journal could not be read
    QString error;
};

/** @brief The IPv4 address @p text as a number in host order; empty when it is not one. */
std::optional<quint32> journalIpv4Number(const QString &text);

} // namespace VexoTool

Q_DECLARE_METATYPE(VexoTool::JournalFilter)

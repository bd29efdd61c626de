// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QStandardItem>
#include <QString>

namespace aptui {

/**
 * @brief A table cell holding a dotted IPv4 text that sorts by the numbers of its parts.
 *
 * The ordering key of a text is its first four dot-separated parts, each read like C atoi
 * (empty, missing or non-numeric parts count as 0), written as "%03d%03d%03d%03d" and compared
 * as text. So 192.0.2.2 sorts before 192.0.2.10 and 203.0.113.64 after 9.255.255.255.
 */
class CIpStandardItem : public QStandardItem
{
public:
    /** @brief A cell showing @p text. */
    explicit CIpStandardItem(const QString &text);

    /** @brief Whether this cell's key sorts before the key of @p other's text. */
    bool operator<(const QStandardItem &other) const override;

    /** @brief The ordering key of @p text, "%03d%03d%03d%03d" of its first four parts. */
    static QString sortKey(QStringView text);

    /** @brief Whether the key of @p left sorts before the key of @p right. */
    static bool lessThan(QStringView left, QStringView right);
};

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace VexoTool {

/**
 * @brief Stores named streams in a compound document (the structured storage file that
 *        ".xls" workbooks are made of), in memory.
 */
class CompoundFileWriter
{
public:
    /**
     * @brief The bytes of a compound file whose root holds one stream @p streamName with
     *        @p data; nothing when the container cannot be written (the reason in @p error).
     */
    static std::optional<QByteArray> singleStreamFile(const QString &streamName, const QByteArray &data,
                                                      QString *error = nullptr);
};

} // namespace VexoTool

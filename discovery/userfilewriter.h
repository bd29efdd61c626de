// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QString>

namespace VexoTool {

/**
 * @brief Writes the files the program keeps for the user (settings, column order, reports)
 *        whole or not at all, and only where the user put them.
 *
 * The bytes go into a temporary file in the file's folder, which then replaces the file, so a
 * full disk or a crash never leaves half a file. A symbolic link at the path is replaced by the
 * file, never written through: whatever it points to stays as it is. When the folder cannot be
 * written nothing is, not even through a file that could be; the first refusal for a path is
 * logged once per run, and the caller keeps what it meant to write for the run.
 */
class UserFileWriter
{
public:
    /** @brief Writes @p bytes as the file @p path; false with the reason in @p error when it was not written. */
    static bool write(const QString &path, const QByteArray &bytes, QString *error = nullptr);
};

} // namespace VexoTool

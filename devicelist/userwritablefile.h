// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

#include <functional>

namespace VexoTool {

/**
 * @brief A file shipped beside the program that keeps the user's changes.
 *
 * It is read beside the program until the user has a copy of their own, which is read from
 * then on. A change is written beside the program while that works; where the program's
 * folder cannot be written (an installation under "Program Files" run by a normal user) it
 * goes into the user's copy instead. The shipped file is never needed to be writable and is
 * never replaced by a failed write.
 */
class UserWritableFile
{
public:
    /** @brief A file at @p shippedPath whose user copy is @p userPath. */
    UserWritableFile(const QString &shippedPath, const QString &userPath);

    /** @brief The user's copy of the file @p path names: its name in the user's configuration folder. */
    static QString userPathFor(const QString &path);

    QString shippedPath() const { return m_shippedPath; }
    QString userPath() const { return m_userPath; }

    /** @brief The file to read: the user's copy when there is one, else the shipped file. */
    QString readPath() const;

    /**
     * @brief Writes through @p save, which gets the path to write and says whether it worked.
     *
     * Returns the path written, or an empty text when neither place could be written.
     */
    QString write(const std::function<bool(const QString &path)> &save) const;

private:
    QString m_shippedPath;
    QString m_userPath;
};

} // namespace VexoTool

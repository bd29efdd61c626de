// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

#include <functional>

namespace VexoTool {

/**
 * @brief A file shipped with the program whose changes are kept in the user's copy.
 *
 * The shipped file is read until the user has a copy of their own, which is read from then
 * on. Changes always go into the user's copy: the shipped file is never written, so it may be
 * read-only and an update of the program may replace it. Without a user copy's path the
 * file is the caller's own and is written in place.
 */
class UserWritableFile
{
public:
    /** @brief A file at @p shippedPath whose user copy is @p userPath. */
    UserWritableFile(const QString &shippedPath, const QString &userPath);

    /** @brief The user's copy of the file @p path names: its name in the user's configuration folder. */
    static QString userPathFor(const QString &path);

    /**
     * @brief The file @p path names: an absolute path is the caller's own, written in place; a
     *        relative one is shipped in the program's folder with the user's copy beside the
     *        user's other settings.
     *
     * An installed program, whose shipped files are apart from its executable, names both
     * paths itself.
     */
    static UserWritableFile forPath(const QString &path);

    QString shippedPath() const { return m_shippedPath; }
    QString userPath() const { return m_userPath; }

    /** @brief The file to read: the user's copy when there is one, else the shipped file. */
    QString readPath() const;

    /**
     * @brief Writes through @p save, which gets the path to write and says whether it worked.
     *
     * Returns the path written (the user's copy), or an empty text when it could not be written.
     */
    QString write(const std::function<bool(const QString &path)> &save) const;

private:
    QString m_shippedPath;
    QString m_userPath;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

namespace apt {

/**
 * @brief Where the program's files are, decided from the folder of its executable.
 *
 * An installation keeps the shipped files in a data folder and the plug-ins in a library
 * folder, both found relative to the executable (`<bin>/../share/vexotool`,
 * `<bin>/../lib/vexotool/plugins`), so an install under any prefix and a moved one work
 * alike. Anywhere else (the build tree, a Windows folder) everything sits beside the
 * executable. The user's changes live in the user's configuration folder.
 */
class ProgramFolders
{
public:
    /**
     * @brief The folders of a program whose executable is in @p executableDir.
     *
     * @p relativeData and @p relativePlugins are the install's data and plug-in folders relative
     * to its executables' folder. The installed layout applies when the data folder holds
     * the shipped "Setup.xml"; otherwise everything is beside the executable.
     */
    static ProgramFolders forExecutable(const QString &executableDir, const QString &relativeData,
                                        const QString &relativePlugins);

    /** @brief The folders of this program, with the relative folders of this build's install. */
    static ProgramFolders current();

    /** @brief True when the data and plug-ins are apart from the executable (an installation). */
    bool installed() const { return m_installed; }
    /** @brief The executable's folder. */
    QString executableDir() const { return m_executableDir; }
    /** @brief The shipped defaults (Setup.xml, ColumnConfig.xml), translations/ and the manuals. */
    QString dataDir() const { return m_dataDir; }
    /** @brief The plug-in folder, holding skins/ and styles/. */
    QString pluginDir() const { return m_pluginDir; }

    /** @brief The shipped file @p name: dataDir()/name, never written by the program. */
    QString shippedFile(const QString &name) const;

    /**
     * @brief The file that keeps the user's version of @p name, read before the shipped one.
     *
     * The copy in @p userConfigDir when there is one; else, in an installation, an older
     * file of that name beside the executable when the user can write it (programs kept
     * their settings there before); else the path of the copy in @p userConfigDir to come.
     */
    QString userFile(const QString &name, const QString &userConfigDir) const;

    /** @brief userFile() in QStandardPaths::AppConfigLocation. */
    QString userFile(const QString &name) const;

private:
    QString m_executableDir;
    QString m_dataDir;
    QString m_pluginDir;
    bool m_installed = false;
};

} // namespace apt

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "programfolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace apt {

namespace {

QString withSlash(const QString &dir)
{
    const QString clean = QDir::cleanPath(dir);
    return clean.endsWith(QLatin1Char('/')) ? clean : clean + QLatin1Char('/');
}

} // namespace

ProgramFolders ProgramFolders::forExecutable(const QString &executableDir, const QString &relativeData,
                                             const QString &relativePlugins)
{
    ProgramFolders folders;
    folders.m_executableDir = withSlash(executableDir);
    const QDir bin(executableDir);
    const QString data = withSlash(bin.filePath(relativeData));
    folders.m_installed = data != folders.m_executableDir && QFileInfo(data + QStringLiteral("Setup.xml")).isFile();
    if (folders.m_installed) {
        folders.m_dataDir = data;
        folders.m_pluginDir = withSlash(bin.filePath(relativePlugins));
    } else {
        folders.m_dataDir = folders.m_executableDir;
        folders.m_pluginDir = withSlash(bin.filePath(QStringLiteral("plugins")));
    }
    return folders;
}

ProgramFolders ProgramFolders::current()
{
    // applicationDirPath() warns and gives nothing without an application object.
    const QString dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    return forExecutable(dir, QStringLiteral(VEXO_RELATIVE_DATA_DIR), QStringLiteral(VEXO_RELATIVE_PLUGIN_DIR));
}

QString ProgramFolders::shippedFile(const QString &name) const
{
    return m_dataDir + name;
}

QString ProgramFolders::userFile(const QString &name, const QString &userConfigDir) const
{
    // The user's folder holds the file by its name alone, wherever the shipped one sits.
    const QString user = userConfigDir.isEmpty() ? QString() : QDir(userConfigDir).filePath(QFileInfo(name).fileName());
    if (!user.isEmpty() && QFileInfo::exists(user))
        return user;
    if (m_installed) {
        const QFileInfo beside(m_executableDir + name);
        if (beside.isFile() && beside.isWritable() && QFileInfo(m_executableDir).isWritable())
            return beside.filePath();
    }
    return user;
}

QString ProgramFolders::userFile(const QString &name) const
{
    return userFile(name, QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

} // namespace apt

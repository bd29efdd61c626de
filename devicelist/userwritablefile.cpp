// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "userwritablefile.h"

#include "devicelistlog.h"

#include <akloguitoolkit/targetpath.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace VexoTool {

UserWritableFile::UserWritableFile(const QString &shippedPath, const QString &userPath)
    : m_shippedPath(shippedPath)
    , m_userPath(userPath)
{}

QString UserWritableFile::userPathFor(const QString &path)
{
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    if (dir.isEmpty())
        return {};
    return QDir(dir).filePath(QFileInfo(path).fileName());
}

UserWritableFile UserWritableFile::forPath(const QString &path)
{
    if (QDir::isAbsolutePath(path))
        return UserWritableFile(path, QString());
    return UserWritableFile(aKLOGUIToolkit::GetTargetPathFile(path), userPathFor(path));
}

QString UserWritableFile::readPath() const
{
    if (!m_userPath.isEmpty() && QFileInfo::exists(m_userPath))
        return m_userPath;
    return m_shippedPath;
}

QString UserWritableFile::write(const std::function<bool(const QString &path)> &save) const
{
    if (m_userPath.isEmpty())
        return save(m_shippedPath) ? m_shippedPath : QString();
    if (!QFileInfo::exists(m_userPath)) {
        if (!QDir().mkpath(QFileInfo(m_userPath).absolutePath()))
            return {};
        qCInfo(lcDeviceList, "keeping the changes to %s in %s", qPrintable(m_shippedPath), qPrintable(m_userPath));
    }
    return save(m_userPath) ? m_userPath : QString();
}

} // namespace VexoTool

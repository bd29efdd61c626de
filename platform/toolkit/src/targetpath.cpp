// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/targetpath.h"

#include <QCoreApplication>
#include <QDir>

namespace aKLOGUIToolkit {

QString GetTargetPath()
{
    // applicationDirPath() warns and gives nothing without an application object.
    QString path = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QDir::currentPath();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

QString GetTargetPathFile(const QString &name)
{
    return GetTargetPath() + name;
}

} // namespace aKLOGUIToolkit

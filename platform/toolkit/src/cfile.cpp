// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cfile.h"

#include "toolkitlog.h"

#include <QDir>
#include <QFile>

namespace aKLOGUIToolkit {

QString CFile::ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcToolkit) << "Cannot read" << path << file.errorString();
        return {};
    }
    return QString::fromUtf8(file.readAll());
}

QString CFile::ReadAll(const QStringList &names, const QString &dir)
{
    const QDir directory(dir);
    QString text;
    for (const QString &name : names)
        text += ReadAll(directory.filePath(name));
    return text;
}

} // namespace aKLOGUIToolkit

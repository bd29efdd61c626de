// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "folderpath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace aptui {

QString folderFieldText(const QString &chosenFolder, bool windows)
{
    const QChar separator = windows ? QLatin1Char('\\') : QLatin1Char('/');
    if (chosenFolder.endsWith(separator))
        return chosenFolder;
    return chosenFolder + separator;
}

QString folderFieldText(const QString &chosenFolder)
{
#ifdef Q_OS_WIN
    return folderFieldText(chosenFolder, true);
#else
    return folderFieldText(chosenFolder, false);
#endif
}

QString dialogStartFolder(const QString &preferred)
{
    if (!preferred.isEmpty() && QFileInfo(preferred).isDir())
        return preferred;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QFileInfo(documents).isDir())
        return documents;
    return QDir::homePath();
}

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "folderpath.h"

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

} // namespace aptui

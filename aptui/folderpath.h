// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

namespace aptui {

/**
 * @brief A folder chosen in a folder dialog, as the folder fields hold it: ending in one separator.
 *
 * On Windows the separator is "\" (a drive root such as "C:\" keeps its single one); elsewhere it is
 * "/", since a backslash there is an ordinary file-name character and would name another folder.
 * File names are appended to the result directly.
 */
QString folderFieldText(const QString &chosenFolder);

/** @brief folderFieldText() for the given platform rule; @p windows selects the "\" rule. */
QString folderFieldText(const QString &chosenFolder, bool windows);

} // namespace aptui

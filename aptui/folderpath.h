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

/**
 * @brief Where a file or folder dialog opens: @p preferred when it is an existing folder, else the
 *        user's documents folder when there is one, else the home folder.
 *
 * A dialog given a folder that does not exist would open its parent with the missing name typed
 * in as the choice.
 */
QString dialogStartFolder(const QString &preferred = QString());

} // namespace aptui

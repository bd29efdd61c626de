// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

class QLabel;

namespace VexoTool {

/**
 * @brief The strength of a new device password: 0 not acceptable, 1 weak, 2 medium, 3 strong.
 *
 * Rated on the password as 8-bit text in the local code page: fewer than 8 bytes, the user
 * name or the user name backwards give 0; otherwise the number of kinds among digits,
 * upper-case, lower-case and other bytes decides (one kind 0; digits with letters of one case 1;
 * any other two kinds 2; three or four kinds 3). Non-ASCII bytes count as other.
 */
int passwordLevel(const QString &userName, const QString &password);

/** @brief The text the meter shows for @p level: "Weak", "Medium", "Strong" (translated), empty for 0. */
QString passwordLevelText(int level);

/**
 * @brief Shows the three-bar strength meter for @p level.
 *
 * The bars get the grey, red, yellow or green meter images; @p text gets passwordLevelText(),
 * so an empty text means level 0 to whoever reads the meter back.
 */
void showPasswordLevel(int level, QLabel *bar1, QLabel *bar2, QLabel *bar3, QLabel *text);

} // namespace VexoTool

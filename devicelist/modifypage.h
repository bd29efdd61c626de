// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QMetaType>

/**
 * @brief What the checked rows of the device list ask the modify panel to offer.
 *
 * Sent with every selection report of the device list together with the checked devices.
 */
enum ModifyPage : int {
    ModifySingle = 0,   ///< one activated device checked, or none (with no devices)
    ModifyBatch = 1,    ///< several devices checked, all activated
    ActivateSingle = 2, ///< one device checked that is not activated
    ActivateBatch = 3,  ///< several devices checked, none activated
    ActivateMixed = 4   ///< several devices checked, activated and not activated mixed
};

Q_DECLARE_METATYPE(ModifyPage)

/** @brief Registers "ModifyPage" for signals and queued connections; safe to call repeatedly. */
void registerModifyPageMetaType();

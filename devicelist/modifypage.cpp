// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modifypage.h"

void registerModifyPageMetaType()
{
    qRegisterMetaType<ModifyPage>("ModifyPage");
}

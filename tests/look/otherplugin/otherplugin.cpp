// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "otherplugin.h"

QStringList OtherPlugin::skinNames() const
{
    return {QStringLiteral("CommonSkin")};
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "commonskinplugin.h"

QStringList CommonSkinPlugin::skinNames() const
{
    return {QStringLiteral("CommonSkin")};
}

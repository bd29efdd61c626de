// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "commonstyleplugin.h"

#include "commonstyle.h"

QStyle *CommonStylePlugin::create(const QString &key)
{
    // QStyleFactory passes the key in lower case.
    if (key.compare(QLatin1String("CommonStyle"), Qt::CaseInsensitive) == 0)
        return new CommonStyle;
    return nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QStylePlugin>

/** @brief Provides the style "CommonStyle" to QStyleFactory. */
class CommonStylePlugin : public QStylePlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QStyleFactoryInterface_iid FILE "commonstyle.json")

public:
    /** @brief A new CommonStyle for the key "CommonStyle" in any letter case, else null. */
    QStyle *create(const QString &key) override;
};

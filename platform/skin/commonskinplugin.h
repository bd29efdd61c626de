// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "iskinplugin.h"

#include <QObject>

/**
 * @brief The skin library "CommonSkin".
 *
 * Loading the library registers its resources: the images under ":/CommonSkin/"
 * and ":/aptui/" and the style sheets under ":/aKLOHome/Qss/Qss/".
 */
class CommonSkinPlugin : public QObject, public ISkinPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ISkinPlugin_iid)
    Q_INTERFACES(ISkinPlugin)

public:
    /** @brief Only "CommonSkin". */
    QStringList skinNames() const override;
};

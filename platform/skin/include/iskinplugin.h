// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QtPlugin>
#include <QStringList>

/**
 * @brief The interface of a skin library in the program's "plugins/skins/" folder.
 *
 * A skin library carries images and style sheets as Qt resources, which become
 * available as soon as the library is loaded. Its root object implements this
 * interface so that the program can tell which skins the library provides.
 */
class ISkinPlugin
{
public:
    virtual ~ISkinPlugin() = default;

    /** @brief The names of the skins this library provides, for example "CommonSkin". */
    virtual QStringList skinNames() const = 0;
};

#define ISkinPlugin_iid "com.ISkinPlugin/1.1"
Q_DECLARE_INTERFACE(ISkinPlugin, ISkinPlugin_iid)

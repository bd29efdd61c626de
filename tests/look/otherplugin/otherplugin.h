// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QObject>
#include <QStringList>
#include <QtPlugin>

/** @brief An interface that is not the skin interface, though it looks alike. */
class IOtherPlugin
{
public:
    virtual ~IOtherPlugin() = default;
    virtual QStringList skinNames() const = 0;
};

#define IOtherPlugin_iid "com.vexotool.test.IOtherPlugin/1.0"
Q_DECLARE_INTERFACE(IOtherPlugin, IOtherPlugin_iid)

/** @brief A plug-in that claims the skin name "CommonSkin" through the wrong interface. */
class OtherPlugin : public QObject, public IOtherPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID IOtherPlugin_iid)
    Q_INTERFACES(IOtherPlugin)

public:
    QStringList skinNames() const override;
};

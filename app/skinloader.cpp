// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "skinloader.h"

#include "configuremanager.h"
#include "programfolders.h"

#include <akloguitoolkit/cfile.h>
#include <iskinplugin.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QPluginLoader>
#include <QStyle>
#include <QStyleFactory>

namespace apt {

namespace {

const QString DefaultSkinName = QStringLiteral("CommonSkin");
const QString StyleKey = QStringLiteral("CommonStyle");
const QString MacOnlyStyleSheet = QStringLiteral("MacSpecial.qss");

ISkinPlugin *skinOf(const QString &path)
{
    // The loader is kept (owned by the application) because the skin's resources
    // must stay registered for the whole run; a loader never unloads on deletion,
    // but a parentless one would leak.
    auto *loader = new QPluginLoader(path, QCoreApplication::instance());
    QObject *root = nullptr;
    if (loader->isLoaded() || loader->load())
        root = loader->instance();
    auto *skin = qobject_cast<ISkinPlugin *>(root);
    if (!skin)
        delete loader;
    return skin;
}

} // namespace

QString SkinLoader::configuredSkinName()
{
    if (const Configure *skin = ConfigureManager::GetInstance()->find(ConfigureManager::KeySkin))
        return skin->value();
    return DefaultSkinName;
}

QString SkinLoader::defaultSkinDirectory()
{
    return ProgramFolders::current().pluginDir() + QStringLiteral("skins/");
}

ISkinPlugin *SkinLoader::findSkin(const QString &name, const QString &directory)
{
    if (name.isNull())
        return nullptr;
    const QDir dir(directory);
    const QStringList files = dir.entryList(QDir::Files, QDir::Unsorted);
    for (const QString &file : files) {
        ISkinPlugin *skin = skinOf(QDir::cleanPath(directory + QLatin1Char('/') + file));
        if (skin && skin->skinNames().contains(name))
            return skin;
    }
    return nullptr;
}

bool SkinLoader::loadSkin(const QString &directory)
{
    const QString name = configuredSkinName();
    const bool found = findSkin(name, directory) != nullptr;
    if (found)
        qWarning("[Tool]LoadSkin = %s Success", qUtf8Printable(name));
    else
        qWarning("[Tool]LoadSkin = %s failed", qUtf8Printable(name));
    return found;
}

bool SkinLoader::loadStyle()
{
    QStyle *style = QStyleFactory::create(StyleKey);
    if (!style)
        qDebug("[ToolsApplication::loadStyle]The CommonStyle does not exist.");
    // A null style leaves the current one in place.
    QApplication::setStyle(style);
    return style != nullptr;
}

QString SkinLoader::toolkitStyleSheetDirectory()
{
    return QStringLiteral(":/aKLOHome/Qss/Qss/aKLOGUIToolkit/");
}

QString SkinLoader::programStyleSheetFile()
{
    return QStringLiteral(":/aKLOHome/Qss/Qss/VEXOTool/VEXOTool.qss");
}

QString SkinLoader::styleSheet(const QString &toolkitDirectory, const QString &programFile)
{
    QStringList files = QDir(toolkitDirectory).entryList(QDir::Files, QDir::Unsorted);
    files.removeAll(MacOnlyStyleSheet);
    return aKLOGUIToolkit::CFile::ReadAll(files, toolkitDirectory) + aKLOGUIToolkit::CFile::ReadAll(programFile);
}

void SkinLoader::loadStyleSheet()
{
    qApp->setStyleSheet(styleSheet());
}

} // namespace apt

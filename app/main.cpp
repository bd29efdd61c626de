// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "toolsapplication.h"
#include "vexotoolmainpage.h"

#include <devicestore.h>
#include <vexohandler.h>

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <memory>

int main(int argc, char *argv[])
{
    auto app = std::make_unique<apt::ToolsApplication>(QStringLiteral("400VEXOTool"), argc, argv);

    // Style plug-ins are looked for beside the program.
    const QString pluginPath = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator()
                               + QStringLiteral("plugins");
    QCoreApplication::setApplicationName(QCoreApplication::translate("apt::ToolsApplication", "VEXOTool"));
    QCoreApplication::addLibraryPath(pluginPath);

    if (!app->initialize()) {
        QCoreApplication::exit(0);
        app.reset();
        return -1;
    }

    // The list and the discovery service of the whole program.
    auto window = std::make_unique<VexoTool::VEXOToolMainPage>(DeviceStore::instance(), VEXO::VexoHandler::instance());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const apt::MainWindowGeometry geometry = apt::ToolsApplication::mainWindowGeometry(screen->availableGeometry());
        window->resize(geometry.size);
        if (geometry.position)
            window->move(*geometry.position);
    }
    window->show();
    window->onMovePinButtion();

    const int result = app->exec();
    window.reset();
    app.reset();
    return result;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "benchapplication.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

bool printFigure(const char *name, double value, double goal, const char *unit, const char *note)
{
    const bool met = value >= 0 && value <= goal;
    std::printf("%-44s %9.1f %s  (goal <= %.0f %s) %s%s%s\n", name, value, unit, goal, unit, met ? "ok" : "MISSED",
                *note ? "  " : "", note);
    return met;
}

void setDefaultEnv(const char *name, const QByteArray &value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

std::unique_ptr<apt::ToolsApplication> startBenchApplication(const QString &name, const QTemporaryDir &dir, int &argc,
                                                             char **argv)
{
    // Never the LAN, whatever the environment says.
    qputenv("VEXO_SCOPE", "loopback");
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "1000"); // no start-up message waits for a click
    setDefaultEnv("VEXO_LOG_DIR", QFile::encodeName(dir.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        // An offscreen screen as large as a laptop's, so that the start-up screen check passes.
        const QString config = dir.filePath(QStringLiteral("screens.json"));
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly)) {
            std::printf("cannot write %s\n", qPrintable(config));
            return nullptr;
        }
        file.write(R"({"screens":[{"name":"bench","x":0,"y":0,"width":1366,"height":768,"logicalDpi":96}]})");
        file.close();
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config));
    }

    // An instance name of its own, so that a program the user runs meanwhile does not turn it away.
    const QString id = QStringLiteral("%1-%2").arg(name).arg(QCoreApplication::applicationPid());
    auto app = std::make_unique<apt::ToolsApplication>(id, argc, argv);
    if (qEnvironmentVariableIsEmpty("VEXO_TEST_BIN_DIR"))
        qputenv("VEXO_TEST_BIN_DIR", QFile::encodeName(QCoreApplication::applicationDirPath()));
    QCoreApplication::addLibraryPath(QCoreApplication::applicationDirPath() + QStringLiteral("/plugins"));
    if (!app->initialize()) {
        std::printf("the application did not start\n");
        return nullptr;
    }
    return app;
}

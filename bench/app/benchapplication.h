// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <peakmemory.h>
#include <toolsapplication.h>

#include <QByteArray>
#include <QString>

#include <memory>

class QTemporaryDir;

/**
 * @brief Prints one figure as "<name> <value> <unit> (goal <= <goal> <unit>) ok|MISSED", the line
 *        scripts/dev.sh bench gathers over several runs.
 * @return whether the figure is within its goal.
 */
bool printFigure(const char *name, double value, double goal, const char *unit, const char *note = "");

/** @brief Sets the environment variable @p name to @p value unless it is set already. */
void setDefaultEnv(const char *name, const QByteArray &value);

/**
 * @brief Starts the program's application object as main() does, for a benchmark of the whole
 *        window: loopback scope whatever the environment says, the library's log in @p dir, and
 *        an offscreen screen as large as a laptop's unless QT_QPA_PLATFORM names another.
 * @return null, with the reason printed, when the application did not start.
 */
std::unique_ptr<apt::ToolsApplication> startBenchApplication(const QString &name, const QTemporaryDir &dir, int &argc,
                                                             char **argv);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QString>

class CliJournal;
class DeviceTable;

/** @brief The option that makes "plan" only print what it would do. */
QCommandLineOption planDryRunOption();

/** @brief What "vexo-cli plan" was asked to do. */
struct PlanCommand
{
    QString planPath;
    QByteArray adminPassword; ///< proves the password of devices that are already active
    bool dryRun = false;
    bool json = false;
    int waitMs = 2000; ///< how long devices may take to answer before the plan is compared
};

/**
 * @brief "vexo-cli plan FILE [PASSWORD]": compares an address plan with the devices that answer
 *        and, unless it is a dry run, applies the accepted rows and saves the report beside the plan.
 *
 * The library must be running and reporting into @p table. Prints the preview as a table or as
 * JSON on standard output, problems of the plan file on standard error. Every device the plan
 * reached gets one entry in @p journal, when given.
 * @return 0 when every row is accepted (or unchanged) and, when applied, succeeded; 1 when a row
 *         is refused or fails; 2 when the plan file cannot be used.
 */
int runPlanCommand(const PlanCommand &command, const DeviceTable &table, CliJournal *journal = nullptr);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "planapplier.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace VexoTool {

/** @brief Where a report was saved, or why it was not. */
struct PlanReportFiles
{
    QString csvPath;
    QString xlsPath;
    QString error; ///< empty when both files were written
    bool ok() const { return error.isEmpty(); }
};

/**
 * @brief The per-device report of an applied plan, saved beside the plan as CSV and as ".xls".
 *
 * One row per plan row: time, serial number, MAC, the old and new IPv4 address, mask, gateway,
 * port, HTTP port and DHCP, and the result text. The files are named after the plan and the time
 * ("site-report-20260101-120000.csv"), so an earlier report is never overwritten.
 */
class PlanReport
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::PlanReport)
public:
    /** @brief The column names (translated). */
    static QStringList header();
    /** @brief The report's rows, without the column names: texts, and ports as numbers. */
    static QList<QVariantList> rows(const QList<PlanOutcome> &outcomes);
    /** @brief Writes both files beside @p planPath, named with @p time. */
    static PlanReportFiles save(const QString &planPath, const QList<PlanOutcome> &outcomes, const QDateTime &time);
};

} // namespace VexoTool

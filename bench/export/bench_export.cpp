// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// Exports a device table of 22 columns into a workbook: 10,000 devices, and the most rows a
// sheet holds (65,535 devices below the column names), and prints the times and file sizes.
//
// Targets: 10,000 devices within 1 s, a full sheet within 5 s.

#include <excelmanager.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardItemModel>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr double kTenThousandTargetMs = 1000.0;
constexpr double kFullSheetTargetMs = 5000.0;

// A table as the device list fills it: the check column, then 21 texts per device.
void fillTable(QStandardItemModel &model, int devices)
{
    model.setColumnCount(22);
    QStringList headers{QString()};
    for (int column = 1; column < 22; ++column)
        headers.append(column == 9 ? QStringLiteral("Serial Number") : QStringLiteral("Column %1").arg(column));
    model.setHorizontalHeaderLabels(headers);
    model.setRowCount(devices);
    for (int row = 0; row < devices; ++row) {
        model.setItem(row, 1, new QStandardItem(QStringLiteral("%1").arg(row + 1, 3, 10, QLatin1Char('0'))));
        model.setItem(row, 2,
                      new QStandardItem(row % 3 ? QStringLiteral("VX-IPC-B420") : QStringLiteral("网络摄像机")));
        model.setItem(
            row, 4,
            new QStandardItem(QStringLiteral("10.%1.%2.%3").arg(row >> 16).arg((row >> 8) & 255).arg(row & 255)));
        model.setItem(row, 9, new QStandardItem(QStringLiteral("VX-IPC-B420-%1").arg(20260000 + row)));
        model.setItem(row, 11, new QStandardItem(QStringLiteral("00-1a-2b-%1").arg(row, 6, 16, QLatin1Char('0'))));
        for (const int column : {3, 5, 6, 7, 8, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21})
            model.setItem(row, column, new QStandardItem(QStringLiteral("text %1").arg(column)));
    }
}

bool run(const char *label, int devices, double targetMs)
{
    QStandardItemModel model;
    fillTable(model, devices);
    QList<int> rows;
    for (int row = 0; row < devices; ++row)
        rows.append(row);
    QTemporaryDir dir;
    VexoTool::ExcelManager exporter;
    QElapsedTimer timer;
    timer.start();
    const bool written = exporter.exportRows(QStringLiteral("devices"), dir.path() + QLatin1Char('/'), &model, rows);
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const qint64 bytes = QFileInfo(dir.filePath(QStringLiteral("devices.xls"))).size();
    const bool met = written && ms <= targetMs;
    std::printf("%-22s %6d rows  %8.1f ms (target %.0f ms)  %8.1f KiB  %s\n", label, devices, ms, targetMs,
                double(bytes) / 1024.0,
                met       ? "ok"
                : written ? "MISSED"
                          : "FAILED");
    return met;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool met = run("10,000 devices", 10000, kTenThousandTargetMs);
    met = run("full sheet", 65535, kFullSheetTargetMs) && met;
    return met ? 0 : 1;
}

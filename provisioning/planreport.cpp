// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "planreport.h"

#include <compoundfilewriter.h>
#include <csvwriter.h>
#include <deviceinfo.h>
#include <userfilewriter.h>
#include <xlsworkbook.h>

#include <QDir>
#include <QFileInfo>

namespace VexoTool {

namespace {

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    return UserFileWriter::write(path, bytes, error);
}

QString onOff(quint8 dhcp)
{
    return dhcp == 1 ? PlanPreview::tr("ON") : PlanPreview::tr("OFF");
}

} // namespace

QStringList PlanReport::header()
{
    return {tr("Time"),
            tr("Serial Number"),
            tr("MAC"),
            tr("Old IPv4 Address"),
            tr("New IPv4 Address"),
            tr("Old Subnet Mask"),
            tr("New Subnet Mask"),
            tr("Old Gateway"),
            tr("New Gateway"),
            tr("Old Port"),
            tr("New Port"),
            tr("Old HTTP Port"),
            tr("New HTTP Port"),
            tr("Old DHCP"),
            tr("New DHCP"),
            tr("Result")};
}

QList<QVariantList> PlanReport::rows(const QList<PlanOutcome> &outcomes)
{
    QList<QVariantList> rows;
    rows.reserve(outcomes.size());
    for (const PlanOutcome &o : outcomes) {
        QVariantList row{o.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), o.serial, o.mac};
        if (o.verdict.recordIndex < 0) {
            for (int i = 0; i < 12; ++i)
                row.append(QString());
        } else {
            const VEXO_DEVICE_INFO &b = o.before;
            const DeviceNetParam &p = o.verdict.param;
            // The new values are what the device has after the row: planned ones only if they were set.
            const bool changed = o.succeeded && o.verdict.networkChange;
            const auto after = [changed](const auto &old, const auto &planned) {
                return changed ? planned : old;
            };
            const auto port = [](auto value) {
                return QVariant(uint(value));
            };
            row << fieldText(b.ipv4Address) << after(fieldText(b.ipv4Address), fieldText(p.ipv4Address))
                << fieldText(b.ipv4SubnetMask) << after(fieldText(b.ipv4SubnetMask), fieldText(p.ipv4SubnetMask))
                << fieldText(b.ipv4Gateway) << after(fieldText(b.ipv4Gateway), fieldText(p.ipv4Gateway)) << port(b.port)
                << after(port(b.port), port(p.port)) << port(b.httpPort) << after(port(b.httpPort), port(p.httpPort))
                << onOff(b.dhcpEnabled) << after(onOff(b.dhcpEnabled), onOff(p.dhcpEnabled));
        }
        row.append(o.result);
        rows.append(row);
    }
    return rows;
}

PlanReportFiles PlanReport::save(const QString &planPath, const QList<PlanOutcome> &outcomes, const QDateTime &time)
{
    PlanReportFiles files;
    const QFileInfo plan(planPath);
    const QString base = plan.dir().filePath(plan.completeBaseName() + QStringLiteral("-report-")
                                             + time.toString(QStringLiteral("yyyyMMdd-hhmmss")));
    files.csvPath = base + QStringLiteral(".csv");
    files.xlsPath = base + QStringLiteral(".xls");

    const QList<QVariantList> all = rows(outcomes);
    CsvWriter csv;
    csv.addRow(header());
    for (const QVariantList &row : all)
        csv.addRow(row);
    QString error;
    if (!writeFile(files.csvPath, csv.utf8WithBom(), &error)) {
        files.error = tr("The report %1 cannot be written: %2").arg(QDir::toNativeSeparators(files.csvPath), error);
        return files;
    }
    XlsWorkbook workbook;
    bool ok = workbook.createSheet(tr("Report"), header());
    // The workbook's cells are all texts, which no spreadsheet program evaluates.
    for (qsizetype i = 0; ok && i < all.size(); ++i) {
        QStringList texts;
        for (const QVariant &cell : all.at(i))
            texts.append(cell.toString());
        ok = workbook.insertRow(texts);
    }
    std::optional<QByteArray> container;
    if (ok)
        container = CompoundFileWriter::singleStreamFile(QStringLiteral("Workbook"), workbook.stream(), &error);
    else
        error = workbook.errorString();
    if (!container || !writeFile(files.xlsPath, *container, &error))
        files.error = tr("The report %1 cannot be written: %2").arg(QDir::toNativeSeparators(files.xlsPath), error);
    return files;
}

} // namespace VexoTool

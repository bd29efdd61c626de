// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "planreport.h"

#include <compoundfilewriter.h>
#include <deviceinfo.h>
#include <xlsworkbook.h>

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace VexoTool {

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')
        && !text.contains(u';'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = file.errorString();
        return false;
    }
    return true;
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

QList<QStringList> PlanReport::rows(const QList<PlanOutcome> &outcomes)
{
    QList<QStringList> rows;
    rows.reserve(outcomes.size());
    for (const PlanOutcome &o : outcomes) {
        QStringList row{o.time.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), o.serial, o.mac};
        if (o.verdict.recordIndex < 0) {
            for (int i = 0; i < 12; ++i)
                row.append(QString());
        } else {
            const VEXO_DEVICE_INFO &b = o.before;
            const DeviceNetParam &p = o.verdict.param;
            // The new values are what the device has after the row: planned ones only if they were set.
            const bool changed = o.succeeded && o.verdict.networkChange;
            const auto after = [changed](const QString &old, const QString &planned) {
                return changed ? planned : old;
            };
            row << fieldText(b.ipv4Address) << after(fieldText(b.ipv4Address), fieldText(p.ipv4Address))
                << fieldText(b.ipv4SubnetMask) << after(fieldText(b.ipv4SubnetMask), fieldText(p.ipv4SubnetMask))
                << fieldText(b.ipv4Gateway) << after(fieldText(b.ipv4Gateway), fieldText(p.ipv4Gateway))
                << QString::number(b.port) << after(QString::number(b.port), QString::number(p.port))
                << QString::number(b.httpPort) << after(QString::number(b.httpPort), QString::number(p.httpPort))
                << onOff(b.dhcpEnabled) << after(onOff(b.dhcpEnabled), onOff(p.dhcpEnabled));
        }
        row.append(o.result);
        rows.append(row);
    }
    return rows;
}

QString PlanReport::csvText(const QList<QStringList> &rows)
{
    QString text;
    for (const QStringList &row : rows) {
        QStringList fields;
        for (const QString &field : row)
            fields.append(csvField(field));
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    return text;
}

PlanReportFiles PlanReport::save(const QString &planPath, const QList<PlanOutcome> &outcomes, const QDateTime &time)
{
    PlanReportFiles files;
    const QFileInfo plan(planPath);
    const QString base = plan.dir().filePath(plan.completeBaseName() + QStringLiteral("-report-")
                                             + time.toString(QStringLiteral("yyyyMMdd-hhmmss")));
    files.csvPath = base + QStringLiteral(".csv");
    files.xlsPath = base + QStringLiteral(".xls");

    QList<QStringList> all = rows(outcomes);
    all.prepend(header());
    // With a byte order mark, spreadsheet programs read the CSV as UTF-8.
    QString error;
    if (!writeFile(files.csvPath, "\xEF\xBB\xBF" + csvText(all).toUtf8(), &error)) {
        files.error = tr("The report %1 cannot be written: %2").arg(QDir::toNativeSeparators(files.csvPath), error);
        return files;
    }
    XlsWorkbook workbook;
    bool ok = workbook.createSheet(tr("Report"), header());
    for (qsizetype i = 1; ok && i < all.size(); ++i)
        ok = workbook.insertRow(all.at(i));
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

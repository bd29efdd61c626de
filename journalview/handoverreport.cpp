// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "handoverreport.h"

#include "journaltexts.h"

#include <compoundfilewriter.h>
#include <deviceinfo.h>
#include <journal.h>
#include <journalrecords.h>
#include <userfilewriter.h>
#include <xlsworkbook.h>

#include <QDir>
#include <QFileInfo>
#include <QHostAddress>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSet>
#include <QTextDocument>

#include <algorithm>

namespace VexoTool {

namespace {

constexpr int PageSize = 5000;
// Long tables are cut into parts: the text layout handles many short tables far faster than one long.
constexpr int RowsPerTable = 200;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Cells of the columns in @p whole keep their text on one line: a serial number or MAC broken
// over two lines cannot be searched for.
QString htmlTable(const QStringList &headers, const QList<QStringList> &rows, const QList<int> &whole)
{
    QString head = QStringLiteral("<tr>");
    for (const QString &header : headers)
        head += QStringLiteral("<th align=\"left\">%1</th>").arg(header.toHtmlEscaped());
    head += QStringLiteral("</tr>");
    QString html;
    for (qsizetype start = 0; start < rows.size() || start == 0; start += RowsPerTable) {
        html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" width=\"100%\">") + head;
        for (qsizetype r = start; r < std::min(rows.size(), start + RowsPerTable); ++r) {
            html += QStringLiteral("<tr>");
            for (int c = 0; c < rows.at(r).size(); ++c) {
                html += (whole.contains(c) ? QStringLiteral("<td style=\"white-space:pre\">%1</td>")
                                           : QStringLiteral("<td>%1</td>"))
                            .arg(rows.at(r).at(c).toHtmlEscaped());
            }
            html += QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
        if (rows.isEmpty())
            break;
    }
    return html;
}

} // namespace

QVector<ReportDevice> HandoverReport::inventory(const QVector<VEXO_DEVICE_INFO> &records)
{
    QVector<VEXO_DEVICE_INFO> sorted = records;
    const auto addressOf = [](const VEXO_DEVICE_INFO &record) {
        return journalIpv4Number(fieldText(record.ipv4Address)).value_or(0);
    };
    std::stable_sort(sorted.begin(), sorted.end(), [&addressOf](const VEXO_DEVICE_INFO &a, const VEXO_DEVICE_INFO &b) {
        const quint32 left = addressOf(a);
        const quint32 right = addressOf(b);
        return left != right ? left < right : fieldText(a.serialNumber) < fieldText(b.serialNumber);
    });
    QVector<ReportDevice> devices;
    devices.reserve(sorted.size());
    for (const VEXO_DEVICE_INFO &record : std::as_const(sorted)) {
        ReportDevice device;
        device.serialNumber = fieldText(record.serialNumber);
        device.mac = fieldText(record.macAddress);
        device.model = fieldText(record.deviceTypeText);
        device.protocol = isOnvifRecord(record) ? QStringLiteral("ONVIF") : QStringLiteral("VXDP");
        device.addresses = JournalTexts::valuesText(journalValues(record));
        device.firmware = fieldText(record.softwareVersion);
        device.verification = JournalTexts::verificationText(journalVerification(record));
        devices.append(device);
    }
    return devices;
}

bool HandoverReport::readJournal(const Journal &journal, QString *error)
{
    changes.clear();
    openFailures.clear();
    JournalFilter period;
    period.from = from;
    period.until = until;
    JournalFilter all;
    for (const auto &[filter, list] : {std::pair{&period, &changes}, std::pair{&all, &openFailures}}) {
        QSet<QString> seen;
        const bool failuresOnly = list == &openFailures;
        for (int offset = 0;; offset += PageSize) {
            const JournalPage page = journal.query(*filter, offset, PageSize);
            if (!page.ok)
                return fail(error, tr("The journal cannot be read: %1").arg(page.error));
            for (const JournalEntry &entry : page.entries) {
                if (!failuresOnly) {
                    list->append(entry);
                    continue;
                }
                // Newest first: the first entry of a device is its last operation.
                const QString key = entry.serialNumber + QLatin1Char('\n') + entry.mac;
                if (seen.contains(key))
                    continue;
                seen.insert(key);
                if (entry.result == JournalResult::Failed)
                    list->append(entry);
            }
            if (page.entries.size() < PageSize)
                break;
        }
    }
    return true;
}

QStringList HandoverReport::deviceHeaders()
{
    return {tr("Serial Number"), tr("MAC"),      tr("Model"),       tr("Protocol"),
            tr("Addresses"),     tr("Firmware"), tr("Verification")};
}

QStringList HandoverReport::deviceRow(const ReportDevice &device)
{
    return {device.serialNumber, device.mac,      device.model,       device.protocol,
            device.addresses,    device.firmware, device.verification};
}

QStringList HandoverReport::changeHeaders()
{
    return {tr("Time"), tr("Operation"), tr("Serial Number"), tr("Before"), tr("After"), tr("Result"), tr("User")};
}

QStringList HandoverReport::changeRow(const JournalEntry &entry)
{
    QString result = journalResultName(entry.result);
    if (!entry.explanation.isEmpty())
        result += QStringLiteral(": ") + entry.explanation;
    return {JournalTexts::timeText(entry),
            journalFlowName(entry.flow),
            entry.serialNumber,
            JournalTexts::valuesText(entry.before),
            JournalTexts::valuesText(entry.after),
            result,
            entry.user};
}

QStringList HandoverReport::failureHeaders()
{
    return {tr("Serial Number"), tr("MAC"), tr("Time"), tr("Operation"), tr("Explanation")};
}

QStringList HandoverReport::failureRow(const JournalEntry &entry)
{
    return {entry.serialNumber, entry.mac, JournalTexts::timeText(entry), journalFlowName(entry.flow),
            entry.explanation};
}

QString HandoverReport::operatorText() const
{
    //: the hand-over report's operator when the operating system does not say who it is
    return operatorName.isEmpty() ? tr("unknown") : operatorName;
}

QString HandoverReport::periodText() const
{
    const QString format = QStringLiteral("yyyy-MM-dd HH:mm");
    //: the period of the hand-over report's changes when it has no start
    const QString start = from.isValid() ? from.toLocalTime().toString(format) : tr("the first entry");
    //: the period of the hand-over report's changes when it has no end
    const QString end = until.isValid() ? until.toLocalTime().toString(format) : tr("now");
    //: %1 and %2 are the period's start and end
    return tr("%1 to %2").arg(start, end);
}

QString HandoverReport::html() const
{
    QString html = QStringLiteral("<html><body>");
    //: title of the hand-over report; %1 is the site's name
    html += QStringLiteral("<h1>%1</h1>").arg(tr("Hand-over report: %1").arg(site).toHtmlEscaped());
    html += QStringLiteral("<p>%1<br>%2<br>%3</p>")
                .arg(tr("Date: %1").arg(created.toString(QStringLiteral("yyyy-MM-dd HH:mm"))).toHtmlEscaped(),
                     tr("Operator: %1").arg(operatorText()).toHtmlEscaped(),
                     tr("Changes from %1").arg(periodText()).toHtmlEscaped());

    QList<QStringList> rows;
    for (const ReportDevice &device : devices)
        rows.append(deviceRow(device));
    //: heading of the hand-over report's device list; %1 is how many
    html += QStringLiteral("<h2>%1</h2>").arg(tr("Devices (%1)").arg(devices.size()).toHtmlEscaped());
    html += htmlTable(deviceHeaders(), rows, {0, 1});

    rows.clear();
    for (const JournalEntry &entry : changes)
        rows.append(changeRow(entry));
    html += QStringLiteral("<h2>%1</h2>").arg(tr("Changes (%1)").arg(changes.size()).toHtmlEscaped());
    html += htmlTable(changeHeaders(), rows, {2});

    rows.clear();
    for (const JournalEntry &entry : openFailures)
        rows.append(failureRow(entry));
    html += QStringLiteral("<h2>%1</h2>").arg(tr("Failures still open (%1)").arg(openFailures.size()).toHtmlEscaped());
    html += htmlTable(failureHeaders(), rows, {0, 1});
    html += QStringLiteral("</body></html>");
    return html;
}

bool HandoverReport::writePdf(const QString &path, QString *error) const
{
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    writer.setTitle(tr("Hand-over report: %1").arg(site));
    writer.setCreator(QCoreApplication::applicationName());
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(8);
    document.setDefaultFont(font);
    document.setHtml(html());
    document.print(&writer);
    // The writer says nothing about a file it could not write; look for it.
    if (QFileInfo(path).size() <= 0)
        return fail(error, tr("%1 cannot be written.").arg(QDir::toNativeSeparators(path)));
    return true;
}

bool HandoverReport::writeXls(const QString &path, QString *error) const
{
    const int width = int(std::max({deviceHeaders().size(), changeHeaders().size(), failureHeaders().size()}));
    XlsWorkbook workbook;
    QStringList columns;
    for (int c = 0; c < width; ++c)
        columns.append(QString());
    columns[0] = tr("Hand-over report: %1").arg(site);
    //: name of the hand-over report workbook's sheet
    bool ok = workbook.createSheet(tr("Hand-over"), columns);
    const auto add = [&ok, &workbook](const QStringList &row) {
        ok = ok && workbook.insertRow(row);
    };
    add({tr("Date: %1").arg(created.toString(QStringLiteral("yyyy-MM-dd HH:mm")))});
    add({tr("Operator: %1").arg(operatorText())});
    add({tr("Changes from %1").arg(periodText())});
    add({});
    add({tr("Devices (%1)").arg(devices.size())});
    add(deviceHeaders());
    for (const ReportDevice &device : devices)
        add(deviceRow(device));
    add({});
    add({tr("Changes (%1)").arg(changes.size())});
    add(changeHeaders());
    for (const JournalEntry &entry : changes)
        add(changeRow(entry));
    add({});
    add({tr("Failures still open (%1)").arg(openFailures.size())});
    add(failureHeaders());
    for (const JournalEntry &entry : openFailures)
        add(failureRow(entry));
    if (!ok)
        return fail(error, workbook.errorString());
    QString why;
    const std::optional<QByteArray> container
        = CompoundFileWriter::singleStreamFile(QStringLiteral("Workbook"), workbook.stream(), &why);
    if (!container || !UserFileWriter::write(path, *container, &why))
        return fail(error, tr("%1 cannot be written: %2").arg(QDir::toNativeSeparators(path), why));
    return true;
}

QString HandoverReport::workbookPathBeside(const QString &pdfPath)
{
    const QFileInfo info(pdfPath);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".xls"));
}

} // namespace VexoTool

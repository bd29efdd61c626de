// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "plancommand.h"

#include "clijournal.h"
#include "devicetable.h"

#include <planapplier.h>
#include <planfile.h>
#include <planpreview.h>
#include <journalrecord.h>
#include <planreport.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <cstdio>

using namespace VexoTool;

namespace {

const char *verdictKey(PlanVerdictKind kind)
{
    switch (kind) {
    case PlanVerdictKind::WillChange:
        return "will-change";
    case PlanVerdictKind::Unchanged:
        return "unchanged";
    case PlanVerdictKind::NotListed:
        return "not-listed";
    case PlanVerdictKind::Unverified:
        return "unverified";
    case PlanVerdictKind::NeedsPassword:
        return "needs-password";
    case PlanVerdictKind::WeakPassword:
        return "weak-password";
    case PlanVerdictKind::AddressInUse:
        return "address-in-use";
    case PlanVerdictKind::NetworkMismatch:
        return "network-mismatch";
    case PlanVerdictKind::DhcpNotSupported:
        return "dhcp-not-supported";
    case PlanVerdictKind::StaticWithDhcp:
        return "dhcp-on";
    }
    return "unknown";
}

QString deviceName(const PlanRow &row)
{
    return row.serial.isEmpty() ? row.mac : row.serial;
}

bool refused(const PlanVerdict &verdict)
{
    return !verdict.accepted() && verdict.kind != PlanVerdictKind::Unchanged;
}

QJsonObject toJson(const PlanRow &row, const PlanVerdict &verdict, const PlanOutcome *outcome)
{
    QJsonArray changes;
    for (const PlanChange &change : verdict.changes) {
        QJsonObject item{{QStringLiteral("name"), change.name}};
        if (!change.current.isNull()) {
            item.insert(QStringLiteral("current"), change.current);
            item.insert(QStringLiteral("planned"), change.planned);
        }
        changes.append(item);
    }
    QJsonObject object{{QStringLiteral("line"), row.line},
                       {QStringLiteral("serial"), row.serial},
                       {QStringLiteral("mac"), row.mac},
                       {QStringLiteral("verdict"), QString::fromLatin1(verdictKey(verdict.kind))},
                       {QStringLiteral("accepted"), verdict.accepted()},
                       {QStringLiteral("changes"), changes}};
    if (!verdict.reason.isEmpty())
        object.insert(QStringLiteral("reason"), verdict.reason);
    if (outcome) {
        object.insert(QStringLiteral("succeeded"), outcome->succeeded);
        object.insert(QStringLiteral("result"), outcome->result);
    }
    return object;
}

QString tableText(const QList<PlanRow> &rows, const QList<PlanVerdict> &verdicts, const QList<PlanOutcome> &outcomes)
{
    QList<QStringList> lines{
        {QStringLiteral("LINE"), QStringLiteral("DEVICE"), QStringLiteral("VERDICT"), QStringLiteral("DETAILS")}};
    if (!outcomes.isEmpty())
        lines.first().insert(3, QStringLiteral("RESULT"));
    for (int i = 0; i < rows.size(); ++i) {
        const PlanVerdict &v = verdicts.at(i);
        QStringList line{QString::number(rows.at(i).line), DeviceTable::escaped(deviceName(rows.at(i))),
                         QString::fromLatin1(verdictKey(v.kind)),
                         DeviceTable::escaped(v.reason.isEmpty() ? PlanPreview::changesText(v.changes) : v.reason)};
        if (!outcomes.isEmpty())
            line.insert(3, outcomes.at(i).sent ? DeviceTable::escaped(outcomes.at(i).result).replace(u'\n', u' ')
                                               : QStringLiteral("not sent"));
        lines.append(line);
    }
    QList<qsizetype> widths(lines.first().size(), 0);
    for (const QStringList &line : lines) {
        for (int c = 0; c + 1 < line.size(); ++c)
            widths[c] = qMax(widths.at(c), line.at(c).size());
    }
    QString text;
    for (const QStringList &line : lines) {
        for (int c = 0; c < line.size(); ++c)
            text += c + 1 < line.size() ? line.at(c).leftJustified(widths.at(c) + 2) : line.at(c);
        text += u'\n';
    }
    return text;
}

} // namespace

QCommandLineOption planDryRunOption()
{
    return QCommandLineOption(QStringLiteral("dry-run"),
                              QStringLiteral("plan: only print what the plan would change, send nothing."));
}

int runPlanCommand(const PlanCommand &command, const DeviceTable &table, CliJournal *journal)
{
    const auto refuse = [&command](const QList<PlanError> &problems) {
        QJsonArray errors;
        for (const PlanError &error : problems) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(QDir::toNativeSeparators(command.planPath)),
                         qPrintable(PlanFile::describe(error)));
            errors.append(QJsonObject{{QStringLiteral("line"), error.line},
                                      {QStringLiteral("column"), error.column},
                                      {QStringLiteral("message"), error.message}});
        }
        if (command.json)
            std::fputs(QJsonDocument(QJsonObject{{QStringLiteral("errors"), errors}}).toJson().constData(), stdout);
        return 2;
    };
    const PlanParseResult plan = PlanFile::read(command.planPath);
    if (!plan.ok())
        return refuse(plan.errors);
    QThread::msleep(static_cast<unsigned long>(qMax(0, command.waitMs)));
    QVector<VEXO_DEVICE_INFO> records;
    for (const VEXO_DEVICE_INFO &record : table.devices())
        records.append(record);
    // One device planned by two rows (by serial number in one, by MAC in the other) is known
    // only against the listed devices; the plan is refused as a whole all the same.
    if (const QList<PlanError> twice = PlanPreview::plannedTwice(plan.rows, records); !twice.isEmpty())
        return refuse(twice);
    const QList<PlanVerdict> verdicts = PlanPreview::preview(plan.rows, records);
    const bool anyRefused = std::any_of(verdicts.cbegin(), verdicts.cend(), refused);

    QList<PlanOutcome> outcomes;
    PlanReportFiles report;
    if (!command.dryRun && PlanPreview::acceptedCount(verdicts) > 0) {
        VEXO::VexoHandler handler(VEXO::VexoLibrary::linked());
        // The service sets up the library's log for the window; the command line keeps its own.
        VEXO_SetLogToFile(qEnvironmentVariableIsSet("VEXO_LOG_DIR") ? 4 : 0, nullptr, 1);
        PlanApplier applier(handler, plan.rows, verdicts, records, command.adminPassword);
        outcomes = applier.run();
        for (int i = 0; journal && i < outcomes.size(); ++i) {
            const PlanOutcome &outcome = outcomes.at(i);
            if (!outcome.sent)
                continue; // refused rows never reached a device
            const PlanVerdict &verdict = verdicts.at(i);
            journal->record(
                VexoTool::JournalFlow::PlanApply, &outcome.before, outcome.mac,
                [&](VexoTool::JournalValues &after) {
                    if (verdict.networkChange)
                        after = VexoTool::journalValuesOf(verdict.param);
                    after.passwordSet = outcome.activated;
                },
                outcome.succeeded, outcome.succeeded ? QString() : outcome.result);
        }
        report = PlanReport::save(command.planPath, outcomes, QDateTime::currentDateTime());
    }

    if (command.json) {
        QJsonArray list;
        for (int i = 0; i < plan.rows.size(); ++i)
            list.append(toJson(plan.rows.at(i), verdicts.at(i), outcomes.isEmpty() ? nullptr : &outcomes.at(i)));
        QJsonObject object{{QStringLiteral("rows"), list},
                           {QStringLiteral("accepted"), PlanPreview::acceptedCount(verdicts)},
                           {QStringLiteral("applied"), !outcomes.isEmpty()}};
        if (!outcomes.isEmpty() && report.ok()) {
            object.insert(QStringLiteral("reportCsv"), report.csvPath);
            object.insert(QStringLiteral("reportXls"), report.xlsPath);
        }
        std::fputs(QJsonDocument(object).toJson().constData(), stdout);
    } else {
        std::fputs(qPrintable(tableText(plan.rows, verdicts, outcomes)), stdout);
        if (!outcomes.isEmpty() && report.ok())
            std::printf("report: %s\n        %s\n", qPrintable(QDir::toNativeSeparators(report.csvPath)),
                        qPrintable(QDir::toNativeSeparators(report.xlsPath)));
    }
    if (!report.ok())
        std::fprintf(stderr, "%s\n", qPrintable(report.error));
    const bool anyFailed
        = std::any_of(outcomes.cbegin(), outcomes.cend(), [](const PlanOutcome &o) { return o.sent && !o.succeeded; });
    return (anyRefused || anyFailed || !report.ok()) ? 1 : 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalcommand.h"

#include "clijournal.h"
#include "devicetable.h"

#include <journal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <cstdio>

using namespace VexoTool;

namespace {

constexpr int PageSize = 1000;
constexpr int UploadWaitMs = 3000;

QJsonObject toJson(const JournalValues &values)
{
    QJsonObject object;
    const auto text = [&object](const char *name, const QString &value) {
        if (!value.isEmpty())
            object.insert(QLatin1String(name), value);
    };
    const auto number = [&object](const char *name, int value) {
        if (value >= 0)
            object.insert(QLatin1String(name), value);
    };
    text("ipv4", values.ipv4Address);
    text("mask", values.ipv4Mask);
    text("gateway", values.ipv4Gateway);
    text("ipv6", values.ipv6Address);
    number("ipv6Prefix", values.ipv6PrefixLength);
    text("ipv6Gateway", values.ipv6Gateway);
    number("port", values.devicePort);
    number("httpPort", values.httpPort);
    number("httpsPort", values.httpsPort);
    if (values.dhcp)
        object.insert(QStringLiteral("dhcp"), *values.dhcp);
    if (values.passwordSet)
        object.insert(QStringLiteral("passwordSet"), true);
    return object;
}

QJsonObject toJson(const JournalEntry &entry)
{
    return {{QStringLiteral("id"), entry.id.toString(QUuid::WithoutBraces)},
            {QStringLiteral("time"), entry.time.toString(Qt::ISODateWithMs)},
            {QStringLiteral("localTime"), entry.localTime().toString(Qt::ISODate)},
            {QStringLiteral("user"), entry.user},
            {QStringLiteral("program"), entry.program},
            {QStringLiteral("version"), entry.programVersion},
            {QStringLiteral("flow"), journalFlowKey(entry.flow)},
            {QStringLiteral("serial"), entry.serialNumber},
            {QStringLiteral("mac"), entry.mac},
            {QStringLiteral("model"), entry.model},
            {QStringLiteral("protocol"), entry.protocol},
            {QStringLiteral("verification"), entry.verification},
            {QStringLiteral("before"), toJson(entry.before)},
            {QStringLiteral("after"), toJson(entry.after)},
            {QStringLiteral("result"), journalResultKey(entry.result)},
            {QStringLiteral("explanation"), entry.explanation}};
}

QString addressText(const JournalValues &values)
{
    QString text = values.dhcp.value_or(false) ? QStringLiteral("DHCP") : values.ipv4Address;
    if (values.passwordSet)
        text += text.isEmpty() ? QStringLiteral("password set") : QStringLiteral(", password set");
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

QList<QCommandLineOption> journalOptions()
{
    return {QCommandLineOption(QStringLiteral("since"),
                               QStringLiteral("journal: entries from this date (2026-05-01), local date and time "
                                              "(2026-05-01T08:30) or this long ago (7d, 12h)."),
                               QStringLiteral("when")),
            QCommandLineOption(QStringLiteral("device"),
                               QStringLiteral("journal: entries of the device with this serial number or MAC."),
                               QStringLiteral("id"))};
}

std::optional<QDateTime> journalSince(const QString &text, const QDateTime &now)
{
    static const QRegularExpression ago(QStringLiteral("^(\\d{1,5})([dh])$"));
    if (const QRegularExpressionMatch match = ago.match(text); match.hasMatch()) {
        const int amount = match.captured(1).toInt();
        return match.captured(2) == QLatin1String("d") ? now.addDays(-amount) : now.addSecs(-3600LL * amount);
    }
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid())
        return date.startOfDay();
    const QDateTime time = QDateTime::fromString(text, Qt::ISODate);
    if (time.isValid())
        return time;
    return std::nullopt;
}

int runJournalCommand(const JournalCommand &command)
{
    JournalFilter filter;
    if (!command.since.isEmpty()) {
        const std::optional<QDateTime> since = journalSince(command.since, QDateTime::currentDateTime());
        if (!since) {
            std::fprintf(stderr, "vexo-cli: --since takes a date (2026-05-01), a date and time (2026-05-01T08:30) "
                                 "or a time ago (7d, 12h)\n");
            return 2;
        }
        filter.from = since->toUTC();
    }
    filter.device = command.device;

    Journal journal(CliJournal::settings());
    // Entries an earlier run could not send go to the shared journal first, so that it shows them.
    journal.flush(UploadWaitMs);
    QList<JournalEntry> entries;
    for (int offset = 0;; offset += PageSize) {
        const JournalPage page = journal.query(filter, offset, PageSize);
        if (!page.ok) {
            std::fprintf(stderr, "vexo-cli: the journal cannot be read: %s\n", qPrintable(page.error));
            return 1;
        }
        entries += page.entries;
        if (page.entries.size() < PageSize)
            break;
    }

    if (command.json) {
        QJsonArray list;
        for (const JournalEntry &entry : std::as_const(entries))
            list.append(toJson(entry));
        std::fputs(QJsonDocument(list).toJson().constData(), stdout);
        return 0;
    }
    std::printf("%-19s  %-22s  %-16s  %-17s  %-22s  %-22s  %-9s  %s\n", "time", "flow", "serial", "MAC", "before",
                "after", "result", "explanation");
    for (const JournalEntry &entry : std::as_const(entries)) {
        std::printf("%-19s  %-22s  %-16s  %-17s  %-22s  %-22s  %-9s  %s\n",
                    qPrintable(entry.localTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                    qPrintable(journalFlowKey(entry.flow)), qPrintable(DeviceTable::escaped(entry.serialNumber)),
                    qPrintable(DeviceTable::escaped(entry.mac)), qPrintable(addressText(entry.before)),
                    qPrintable(addressText(entry.after)), qPrintable(journalResultKey(entry.result)),
                    qPrintable(DeviceTable::escaped(entry.explanation)));
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journaltexts.h"

namespace VexoTool {

QStringList JournalTexts::headers()
{
    //: column names of the journal window and its exports
    return {tr("Time"),   tr("Operation"), tr("Serial Number"), tr("MAC"),         tr("Model"), tr("Protocol"),
            tr("Before"), tr("After"),     tr("Result"),        tr("Explanation"), tr("User"),  tr("Program")};
}

QString JournalTexts::cell(const JournalEntry &entry, int column)
{
    switch (column) {
    case ColumnTime:
        return timeText(entry);
    case ColumnFlow:
        return journalFlowName(entry.flow);
    case ColumnSerialNumber:
        return entry.serialNumber;
    case ColumnMac:
        return entry.mac;
    case ColumnModel:
        return entry.model;
    case ColumnProtocol:
        return entry.protocol;
    case ColumnBefore:
        return valuesText(entry.before);
    case ColumnAfter:
        return valuesText(entry.after);
    case ColumnResult:
        return journalResultName(entry.result);
    case ColumnExplanation:
        return entry.explanation;
    case ColumnUser:
        return entry.user;
    case ColumnProgram:
        return entry.programVersion.isEmpty() ? entry.program : entry.program + QLatin1Char(' ') + entry.programVersion;
    default:
        return QString();
    }
}

QStringList JournalTexts::row(const JournalEntry &entry)
{
    QStringList cells;
    for (int column = 0; column < ColumnCount; ++column)
        cells.append(cell(entry, column));
    return cells;
}

QString JournalTexts::timeText(const JournalEntry &entry)
{
    return entry.localTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
}

QString JournalTexts::valuesText(const JournalValues &values)
{
    QStringList parts;
    if (!values.ipv4Address.isEmpty()) {
        parts.append(values.ipv4Mask.isEmpty()
                         ? QStringLiteral("IPv4 %1").arg(values.ipv4Address)
                         : QStringLiteral("IPv4 %1 / %2").arg(values.ipv4Address, values.ipv4Mask));
    }
    if (!values.ipv4Gateway.isEmpty())
        //: part of a device's settings in the journal; %1 is an address
        parts.append(tr("gateway %1").arg(values.ipv4Gateway));
    if (!values.ipv6Address.isEmpty()) {
        parts.append(values.ipv6PrefixLength >= 0
                         ? QStringLiteral("IPv6 %1/%2").arg(values.ipv6Address).arg(values.ipv6PrefixLength)
                         : QStringLiteral("IPv6 %1").arg(values.ipv6Address));
    }
    if (values.dhcp)
        parts.append(*values.dhcp ? tr("DHCP on") : tr("DHCP off"));
    if (values.devicePort >= 0)
        //: part of a device's settings in the journal; %1 is the device protocol's port
        parts.append(tr("port %1").arg(values.devicePort));
    if (values.httpPort >= 0)
        parts.append(QStringLiteral("HTTP %1").arg(values.httpPort));
    if (values.httpsPort >= 0)
        parts.append(QStringLiteral("HTTPS %1").arg(values.httpsPort));
    if (values.passwordSet)
        //: part of a device's settings in the journal: a password was set (which one is never kept)
        parts.append(tr("password set"));
    return parts.join(QStringLiteral(", "));
}

QString JournalTexts::verificationText(const QString &state)
{
    if (state == QLatin1String("verified"))
        //: a device whose maker certificate the program verified
        return tr("verified");
    if (state == QLatin1String("unverified"))
        return tr("not verified");
    if (state == QLatin1String("unchecked"))
        //: a device whose maker certificate the program has not checked yet
        return tr("not checked");
    if (state == QLatin1String("none"))
        //: an ONVIF device, which has no maker certificate to verify
        return tr("no certificate (ONVIF)");
    return state;
}

} // namespace VexoTool

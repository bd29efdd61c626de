// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalrecords.h"

#include <deviceinfo.h>
#include <errorexplanation.h>
#include <journal.h>

#include <QCoreApplication>

namespace VexoTool {

JournalValues journalValues(const VEXO_DEVICE_INFO &record)
{
    JournalValues values;
    values.ipv4Address = fieldText(record.ipv4Address);
    values.ipv4Mask = fieldText(record.ipv4SubnetMask);
    values.ipv4Gateway = fieldText(record.ipv4Gateway);
    if (isOnvifRecord(record)) {
        // ONVIF devices report no device-protocol port, and what discovery did not say stays unknown.
        values.httpPort = record.httpPort != 0 ? int(record.httpPort) : -1;
        return values;
    }
    values.devicePort = int(record.port);
    if (record.extendedInfoValid) {
        values.ipv6Address = fieldText(record.ipv6Address);
        values.ipv6PrefixLength = record.ipv6PrefixLength;
        values.ipv6Gateway = fieldText(record.ipv6Gateway);
        values.httpPort = record.httpPort;
        values.dhcp = record.dhcpEnabled != 0;
    }
    return values;
}

JournalValues journalValues(const DeviceNetParam &params)
{
    JournalValues values;
    values.ipv4Address = fieldText(params.ipv4Address);
    values.ipv4Mask = fieldText(params.ipv4SubnetMask);
    values.ipv4Gateway = fieldText(params.ipv4Gateway);
    values.ipv6Address = fieldText(params.ipv6Address);
    if (!values.ipv6Address.isEmpty())
        values.ipv6PrefixLength = params.ipv6PrefixLength;
    values.ipv6Gateway = fieldText(params.ipv6Gateway);
    if (params.port != 0)
        values.devicePort = params.port;
    if (params.httpPort != 0)
        values.httpPort = params.httpPort;
    values.dhcp = params.dhcpEnabled != 0;
    return values;
}

JournalValues withPasswordSet(JournalValues values)
{
    values.passwordSet = true;
    return values;
}

QString journalCallFailure(quint32 code)
{
    if (code == VEXO_NOERROR)
        return QString();
    const QString explanation = ErrorExplanation::forCode(code);
    //: the journal's explanation of a failed device call; %1 is the library's error code
    const QString text = QCoreApplication::translate("VexoTool::JournalRecords", "Error %1").arg(code);
    return explanation.isEmpty() ? text : text + QStringLiteral(": ") + explanation;
}

QString journalVerification(const VEXO_DEVICE_INFO &record)
{
    if (isOnvifRecord(record))
        return QStringLiteral("ONVIF");
    return (record.identityFlags & VEXO_IDENTITY_VERIFIED) ? QStringLiteral("verified") : QStringLiteral("unverified");
}

void writeJournalEntry(Journal *journal, JournalFlow flow, const VEXO_DEVICE_INFO &before, const JournalValues &after,
                       bool succeeded, const QString &explanation)
{
    if (!journal)
        return;
    JournalEntry entry = JournalEntry::make(flow);
    entry.serialNumber = fieldText(before.serialNumber);
    entry.mac = fieldText(before.macAddress);
    entry.model = fieldText(before.deviceTypeText);
    entry.protocol = isOnvifRecord(before) ? QStringLiteral("ONVIF") : QStringLiteral("VXDP");
    entry.verification = journalVerification(before);
    entry.before = journalValues(before);
    entry.after = succeeded ? after : entry.before;
    entry.result = succeeded ? JournalResult::Succeeded : JournalResult::Failed;
    entry.explanation = explanation;
    journal->append(entry);
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalentry.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QtGlobal>

#include <array>

namespace VexoTool {

namespace {

struct FlowKey
{
    JournalFlow flow;
    const char *key;
};

constexpr std::array<FlowKey, 11> flowKeys{{
    {JournalFlow::Activation, "activation"},
    {JournalFlow::NetworkChange, "network-change"},
    {JournalFlow::BatchNetworkChange, "batch-network-change"},
    {JournalFlow::PasswordReset, "password-reset"},
    {JournalFlow::PasswordRestore, "password-restore"},
    {JournalFlow::BatchKeyExport, "batch-key-export"},
    {JournalFlow::BatchPasswordReset, "batch-password-reset"},
    {JournalFlow::PlanApply, "plan-apply"},
    {JournalFlow::OnvifChange, "onvif-change"},
    {JournalFlow::OnvifPasswordChange, "onvif-password-change"},
    {JournalFlow::Reboot, "reboot"},
}};

} // namespace

bool JournalValues::isEmpty() const
{
    return *this == JournalValues();
}

JournalEntry JournalEntry::make(JournalFlow flow)
{
    JournalEntry entry;
    entry.id = QUuid::createUuid();
    const QDateTime now = QDateTime::currentDateTime();
    entry.time = now.toUTC();
    entry.utcOffsetSeconds = now.offsetFromUtc();
    entry.user = currentOperatingSystemUser();
    entry.program = QCoreApplication::applicationName();
    if (entry.program.isEmpty() && QCoreApplication::instance())
        entry.program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    entry.programVersion = QCoreApplication::applicationVersion();
#ifdef VEXO_VERSION
    if (entry.programVersion.isEmpty())
        entry.programVersion = QStringLiteral(VEXO_VERSION);
#endif
    entry.flow = flow;
    return entry;
}

QString journalFlowKey(JournalFlow flow)
{
    for (const FlowKey &item : flowKeys) {
        if (item.flow == flow)
            return QString::fromLatin1(item.key);
    }
    return {};
}

std::optional<JournalFlow> journalFlowFromKey(const QString &key)
{
    for (const FlowKey &item : flowKeys) {
        if (key == QLatin1String(item.key))
            return item.flow;
    }
    return std::nullopt;
}

QList<JournalFlow> allJournalFlows()
{
    QList<JournalFlow> flows;
    for (const FlowKey &item : flowKeys)
        flows.append(item.flow);
    return flows;
}

QString journalFlowName(JournalFlow flow)
{
    switch (flow) {
    case JournalFlow::Activation:
        return QCoreApplication::translate("VexoTool::Journal", "Activation");
    case JournalFlow::NetworkChange:
        return QCoreApplication::translate("VexoTool::Journal", "Network change");
    case JournalFlow::BatchNetworkChange:
        return QCoreApplication::translate("VexoTool::Journal", "Batch network change");
    case JournalFlow::PasswordReset:
        return QCoreApplication::translate("VexoTool::Journal", "Password reset");
    case JournalFlow::PasswordRestore:
        return QCoreApplication::translate("VexoTool::Journal", "Password restore");
    case JournalFlow::BatchKeyExport:
        return QCoreApplication::translate("VexoTool::Journal", "Batch key export");
    case JournalFlow::BatchPasswordReset:
        return QCoreApplication::translate("VexoTool::Journal", "Batch password reset");
    case JournalFlow::PlanApply:
        return QCoreApplication::translate("VexoTool::Journal", "Address plan");
    case JournalFlow::OnvifChange:
        return QCoreApplication::translate("VexoTool::Journal", "ONVIF network change");
    case JournalFlow::OnvifPasswordChange:
        return QCoreApplication::translate("VexoTool::Journal", "ONVIF password change");
    case JournalFlow::Reboot:
        return QCoreApplication::translate("VexoTool::Journal", "Reboot");
    }
    return journalFlowKey(flow);
}

QString journalResultKey(JournalResult result)
{
    return result == JournalResult::Succeeded ? QStringLiteral("succeeded") : QStringLiteral("failed");
}

std::optional<JournalResult> journalResultFromKey(const QString &key)
{
    if (key == QLatin1String("succeeded"))
        return JournalResult::Succeeded;
    if (key == QLatin1String("failed"))
        return JournalResult::Failed;
    return std::nullopt;
}

QString journalResultName(JournalResult result)
{
    return result == JournalResult::Succeeded ? QCoreApplication::translate("VexoTool::Journal", "Succeeded")
                                              : QCoreApplication::translate("VexoTool::Journal", "Failed");
}

QString currentOperatingSystemUser()
{
    // The login name as the session sets it; Windows names it USERNAME.
    for (const char *name : {"USER", "LOGNAME", "USERNAME"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            return value;
    }
    return {};
}

} // namespace VexoTool

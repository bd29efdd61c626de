// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "planpreview.h"

#include "deviceinfo.h"
#include "macaddress.h"
#include "networkcheck.h"
#include "passwordstrength.h"

#include <QHash>

#include <algorithm>

#include <cstring>

namespace VexoTool {

namespace {

const QString AdminUser = QStringLiteral("admin");

QString netParaText(const char *text)
{
    return QCoreApplication::translate("VexoTool::DeviceNetParaPage", text);
}

QString networkProblemText(const NetworkVerdict &verdict)
{
    const QString range = netParaText("Use an address from %1 to %2.").arg(verdict.firstHost, verdict.lastHost);
    switch (verdict.problem) {
    case NetworkProblem::LeadingZero:
        return verdict.field == NetworkField::Gateway
                   ? netParaText("Write the gateway without leading zeros, for example 198.51.100.1 rather than "
                                 "198.51.100.01.")
                   : netParaText("Write the IP address without leading zeros, for example 198.51.100.9 rather than "
                                 "198.51.100.09.");
    case NetworkProblem::Unspecified:
        return netParaText("Addresses that begin with 0 cannot be given to a device.");
    case NetworkProblem::Loopback:
        return netParaText("Addresses that begin with 127 are loopback addresses and cannot be given to a device.");
    case NetworkProblem::Multicast:
        return netParaText("Addresses from 224.0.0.0 to 239.255.255.255 are multicast addresses and cannot be given "
                           "to a device.");
    case NetworkProblem::Reserved:
        return netParaText("Addresses from 240.0.0.0 up are reserved and cannot be given to a device.");
    case NetworkProblem::NetworkAddress:
        return netParaText("The IP address is the network address of its subnet.") + u' ' + range;
    case NetworkProblem::BroadcastAddress:
        return netParaText("The IP address is the broadcast address of its subnet.") + u' ' + range;
    case NetworkProblem::MaskWithoutSubnet:
        return netParaText("Subnet mask 0.0.0.0 leaves the device without a subnet.");
    case NetworkProblem::GatewayOutsideSubnet:
        return netParaText("The gateway must be an address of the device's subnet, from %1 to %2.")
            .arg(verdict.firstHost, verdict.lastHost);
    case NetworkProblem::GatewayIsDevice:
        return netParaText("The gateway cannot be the device's own IP address.");
    case NetworkProblem::None:
        break;
    }
    return QString();
}

QString onOff(bool on)
{
    return on ? PlanPreview::tr("ON") : PlanPreview::tr("OFF");
}

// The record's parameters as the modify panel sends them back: every field kept as it is.
DeviceNetParam currentParam(const VEXO_DEVICE_INFO &record)
{
    DeviceNetParam p{};
    std::memcpy(p.ipv4Address, record.ipv4Address, sizeof record.ipv4Address);
    std::memcpy(p.ipv4SubnetMask, record.ipv4SubnetMask, sizeof record.ipv4SubnetMask);
    std::memcpy(p.ipv4Gateway, record.ipv4Gateway, sizeof record.ipv4Gateway);
    std::memcpy(p.ipv6Address, record.ipv6Address, sizeof record.ipv6Address);
    std::memcpy(p.ipv6Gateway, record.ipv6Gateway, sizeof record.ipv6Gateway);
    p.ipv6PrefixLength = record.ipv6PrefixLength;
    p.port = quint16(record.port);
    p.httpPort = record.httpPort;
    p.dhcpEnabled = record.dhcpEnabled;
    return p;
}

// The listed devices by serial number and by MAC, and which of them a plan row names.
class RecordIndex
{
public:
    explicit RecordIndex(const QVector<VEXO_DEVICE_INFO> &records)
        : m_records(records)
    {
        for (int i = 0; i < records.size(); ++i) {
            m_bySerial.insert(fieldText(records.at(i).serialNumber), i);
            m_byMac.insert(macOf(records.at(i)), i);
        }
    }

    // The device's position, -1 when none is listed or serial number and MAC name two devices.
    int of(const PlanRow &row) const
    {
        int index = -1;
        if (!row.serial.isEmpty())
            index = m_bySerial.value(row.serial, -1);
        if (index < 0 && !row.mac.isEmpty())
            index = m_byMac.value(row.mac, -1);
        if (index >= 0
            && ((!row.serial.isEmpty() && fieldText(m_records.at(index).serialNumber) != row.serial)
                || (!row.mac.isEmpty() && macOf(m_records.at(index)) != row.mac)))
            index = -1;
        return index;
    }

private:
    static QString macOf(const VEXO_DEVICE_INFO &record)
    {
        const QString text = fieldText(record.macAddress);
        const QString mac = MacAddress::canonical(text);
        return mac.isEmpty() ? text.toLower() : mac;
    }

    const QVector<VEXO_DEVICE_INFO> &m_records;
    QHash<QString, int> m_bySerial;
    QHash<QString, int> m_byMac;
};

} // namespace

QList<PlanError> PlanPreview::plannedTwice(const QList<PlanRow> &rows, const QVector<VEXO_DEVICE_INFO> &records)
{
    const RecordIndex listed(records);
    QHash<int, int> lineOf; // record → line of the first row that plans it
    QList<PlanError> errors;
    int count = 0;
    for (const PlanRow &row : rows) {
        const int index = listed.of(row);
        if (index < 0)
            continue;
        const int earlier = lineOf.value(index);
        if (!earlier) {
            lineOf.insert(index, row.line);
        } else if (++count <= PlanFile::MaxErrors) {
            errors.append({row.line, 0, PlanFile::tr("The device is already planned in line %1.").arg(earlier)});
        }
    }
    if (count > PlanFile::MaxErrors)
        errors.append({0, 0, PlanFile::tr("%n more problem(s) not listed.", nullptr, count - PlanFile::MaxErrors)});
    return errors;
}

QString PlanPreview::kindText(PlanVerdictKind kind)
{
    switch (kind) {
    case PlanVerdictKind::WillChange:
        return tr("Will change");
    case PlanVerdictKind::Unchanged:
        return tr("Unchanged");
    case PlanVerdictKind::NotListed:
        return tr("Device not listed");
    case PlanVerdictKind::Unverified:
        return tr("Device unverified");
    case PlanVerdictKind::NeedsPassword:
        return tr("Password missing");
    case PlanVerdictKind::WeakPassword:
        return tr("Password too weak");
    case PlanVerdictKind::AddressInUse:
        return tr("Address in use");
    case PlanVerdictKind::NetworkMismatch:
        return tr("Invalid network settings");
    case PlanVerdictKind::DhcpNotSupported:
        return tr("DHCP not supported");
    case PlanVerdictKind::StaticWithDhcp:
        return tr("DHCP on");
    }
    return QString();
}

QString PlanPreview::changesText(const QList<PlanChange> &changes)
{
    QStringList parts;
    for (const PlanChange &change : changes) {
        //: one change of a device in a plan: what, its value now, its value after the plan
        parts.append(change.current.isNull() ? change.name
                                             : tr("%1: %2 → %3").arg(change.name, change.current, change.planned));
    }
    //: between the changes of one device in a plan
    return parts.join(tr("; "));
}

int PlanPreview::acceptedCount(const QList<PlanVerdict> &verdicts)
{
    return int(std::count_if(verdicts.cbegin(), verdicts.cend(), [](const PlanVerdict &v) { return v.accepted(); }));
}

QList<PlanVerdict> PlanPreview::preview(const QList<PlanRow> &rows, const QVector<VEXO_DEVICE_INFO> &records)
{
    const RecordIndex listed(records);
    QList<PlanVerdict> verdicts(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const PlanRow &row = rows.at(r);
        PlanVerdict &verdict = verdicts[r];
        // A row that names both serial number and MAC must name one device.
        const int index = listed.of(row);
        verdict.recordIndex = index;
        if (index < 0) {
            verdict.kind = PlanVerdictKind::NotListed;
            verdict.reason = tr("No listed device has this serial number or MAC.");
            continue;
        }
        const VEXO_DEVICE_INFO &record = records.at(index);
        DeviceNetParam &p = verdict.param;
        p = currentParam(record);
        const QString address = fieldText(record.ipv4Address);
        const QString mask = fieldText(record.ipv4SubnetMask);
        const QString gateway = fieldText(record.ipv4Gateway);
        auto change = [&verdict](const QString &name, const QString &current, const QString &next) {
            if (current != next)
                verdict.changes.append({name, current, next});
        };
        if (!row.address.isEmpty()) {
            change(tr("IPv4 Address"), address, row.address);
            setFieldText(p.ipv4Address, row.address.toLatin1());
        }
        if (!row.mask.isEmpty()) {
            change(tr("Subnet Mask"), mask, row.mask);
            setFieldText(p.ipv4SubnetMask, row.mask.toLatin1());
        }
        if (!row.gateway.isEmpty()) {
            change(tr("Gateway"), gateway, row.gateway);
            setFieldText(p.ipv4Gateway, row.gateway.toLatin1());
        }
        if (row.port) {
            change(tr("Port"), QString::number(record.port), QString::number(*row.port));
            p.port = *row.port;
        }
        if (row.httpPort) {
            change(tr("HTTP Port"), QString::number(record.httpPort), QString::number(*row.httpPort));
            p.httpPort = *row.httpPort;
        }
        if (row.dhcp) {
            change(tr("DHCP"), onOff(record.dhcpEnabled == 1), onOff(*row.dhcp));
            p.dhcpEnabled = *row.dhcp ? 1 : 0;
        }
        verdict.networkChange = !verdict.changes.isEmpty();
        verdict.activate = record.inactive != 0;
        if (verdict.activate)
            verdict.changes.prepend({tr("Activate"), QString(), QString()});

        if (!(record.identityFlags & VEXO_IDENTITY_VERIFIED)) {
            verdict.kind = PlanVerdictKind::Unverified;
            verdict.reason = tr("This device has no valid maker certificate: it may be an impostor, and no password "
                                "is sent to it.");
        } else if (verdict.activate && row.password.isEmpty()) {
            verdict.kind = PlanVerdictKind::NeedsPassword;
            verdict.reason = tr("The device is not activated yet and the plan gives no password for it.");
        } else if (verdict.activate && passwordLevel(AdminUser, row.password) == 0) {
            verdict.kind = PlanVerdictKind::WeakPassword;
            verdict.reason = tr("The plan's password is too weak: use 8 to 16 characters of at least two kinds "
                                "(digits, lower-case, upper-case letters, symbols).");
        } else if (row.dhcp.value_or(false) && record.dhcpEnabled != 1 && !(record.capabilityFlags & VEXO_CAP_DHCP)) {
            verdict.kind = PlanVerdictKind::DhcpNotSupported;
            verdict.reason = tr("The device does not support DHCP.");
        } else if (p.dhcpEnabled == 1
                   && (fieldText(p.ipv4Address) != address || fieldText(p.ipv4SubnetMask) != mask
                       || fieldText(p.ipv4Gateway) != gateway)) {
            verdict.kind = PlanVerdictKind::StaticWithDhcp;
            verdict.reason = tr("The device uses DHCP, so a static IPv4 address would not be used: set DHCP to "
                                "\"off\" in the plan.");
        } else {
            // The static parameters are checked together when the plan touches any of them.
            const NetworkVerdict network
                = (row.address.isEmpty() && row.mask.isEmpty() && row.gateway.isEmpty())
                      ? NetworkVerdict{}
                      : checkNetworkSettings(fieldText(p.ipv4Address), fieldText(p.ipv4SubnetMask),
                                             fieldText(p.ipv4Gateway));
            if (!network.ok()) {
                verdict.kind = PlanVerdictKind::NetworkMismatch;
                verdict.reason = networkProblemText(network);
            } else {
                verdict.kind = (verdict.networkChange || verdict.activate) ? PlanVerdictKind::WillChange
                                                                           : PlanVerdictKind::Unchanged;
            }
        }
    }

    // Addresses planned twice are refused in every row that plans them.
    QHash<QString, int> plannedCount;
    for (const PlanRow &row : rows) {
        if (!row.address.isEmpty())
            ++plannedCount[row.address];
    }
    for (int r = 0; r < rows.size(); ++r) {
        if (!rows.at(r).address.isEmpty() && plannedCount.value(rows.at(r).address) > 1
            && verdicts.at(r).kind == PlanVerdictKind::WillChange) {
            verdicts[r].kind = PlanVerdictKind::AddressInUse;
            verdicts[r].reason = tr("The plan gives %1 to more than one device.").arg(rows.at(r).address);
        }
    }

    // Where each listed device is after the plan: refused rows leave their device where it is,
    // and a row refused for its address frees nothing, so repeat until nothing changes.
    bool changed = true;
    while (changed) {
        changed = false;
        QHash<QString, int> holders; // address → number of listed devices there after the plan
        QList<int> moved(records.size(), -1);
        for (int r = 0; r < rows.size(); ++r) {
            if (verdicts.at(r).accepted() && !rows.at(r).address.isEmpty())
                moved[verdicts.at(r).recordIndex] = r;
        }
        for (int i = 0; i < records.size(); ++i) {
            const QString at = moved.at(i) >= 0 ? rows.at(moved.at(i)).address : fieldText(records.at(i).ipv4Address);
            ++holders[at];
        }
        for (int r = 0; r < rows.size(); ++r) {
            PlanVerdict &verdict = verdicts[r];
            const QString &address = rows.at(r).address;
            if (!verdict.accepted() || address.isEmpty()
                || address == fieldText(records.at(verdict.recordIndex).ipv4Address))
                continue;
            if (holders.value(address) > 1) {
                int other = -1;
                for (int i = 0; i < records.size() && other < 0; ++i) {
                    const QString at
                        = moved.at(i) >= 0 ? rows.at(moved.at(i)).address : fieldText(records.at(i).ipv4Address);
                    if (i != verdict.recordIndex && at == address)
                        other = i;
                }
                verdict.kind = PlanVerdictKind::AddressInUse;
                verdict.reason = tr("%1 is used by device %2.")
                                     .arg(address, other >= 0 ? fieldText(records.at(other).serialNumber) : QString());
                changed = true;
            }
        }
    }
    return verdicts;
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QDateTime>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUuid>

#include <optional>

namespace VexoTool {

/** @brief The operations that change a device, one journal entry per device each. */
enum class JournalFlow {
    Activation,          ///< a device gets its first password
    NetworkChange,       ///< the network parameters of one device
    BatchNetworkChange,  ///< the network parameters of checked devices
    PasswordReset,       ///< a password reset with a key file or a security code
    PasswordRestore,     ///< a device back to its factory password
    BatchKeyExport,      ///< reset request files of checked devices
    BatchPasswordReset,  ///< a batch reset from the key service's answer
    PlanApply,           ///< an address plan applied
    OnvifChange,         ///< an ONVIF device re-addressed
    OnvifPasswordChange, ///< an ONVIF user's password changed
    Reboot,              ///< a device restarted
};

/** @brief How one operation on one device ended. */
enum class JournalResult {
    Succeeded,
    Failed,
};

/**
 * @brief A device's settings on one side of a change.
 *
 * Empty texts and negative numbers stand for "not known" or "not part of this flow". Password
 * flows record only that a password was set: the record has no room for a password, a key or
 * a security code, so none can be written.
 */
struct JournalValues
{
    QString ipv4Address;
    QString ipv4Mask;
    QString ipv4Gateway;
    QString ipv6Address;
    int ipv6PrefixLength = -1;
    QString ipv6Gateway;
    int devicePort = -1; ///< the device protocol's port
    int httpPort = -1;
    int httpsPort = -1;
    std::optional<bool> dhcp;
    bool passwordSet = false; ///< a password (or the factory one) was set; never which

    bool isEmpty() const;
    friend bool operator==(const JournalValues &, const JournalValues &) = default;
};

/**
 * @brief One operation on one device, as the journal keeps it.
 *
 * Entries are written once and never changed. The id makes writing the same entry twice (a
 * retried upload to the shared journal) store it once.
 */
struct JournalEntry
{
    QUuid id;
    QDateTime time;           ///< when it happened, in UTC
    int utcOffsetSeconds = 0; ///< the writer's local offset from UTC at that time
    QString user;             ///< the operating-system user who ran the program
    QString program;          ///< "vexotool", "vexo-cli"
    QString programVersion;
    JournalFlow flow = JournalFlow::NetworkChange;
    QString serialNumber;
    QString mac;
    QString model;
    QString protocol;     ///< "VXDP" or "ONVIF"
    QString verification; ///< the device's verification state as the list shows it
    JournalValues before;
    JournalValues after;
    JournalResult result = JournalResult::Succeeded;
    QString explanation; ///< why it failed, or a note on the success; never a secret

    /**
     * @brief A new entry of @p flow: a fresh id, the current time and offset, the user, and the
     *        running program's name and version.
     */
    static JournalEntry make(JournalFlow flow);

    /** @brief The time as the writer's clock showed it. */
    QDateTime localTime() const { return time.toOffsetFromUtc(utcOffsetSeconds); }

    friend bool operator==(const JournalEntry &, const JournalEntry &) = default;
};

/** @brief The flow's stable key as stored ("network-change"). */
QString journalFlowKey(JournalFlow flow);
/** @brief The flow of a stored key; empty for an unknown key. */
std::optional<JournalFlow> journalFlowFromKey(const QString &key);
/** @brief Every flow, in declaration order. */
QList<JournalFlow> allJournalFlows();
/** @brief The flow's name in the program's language. */
QString journalFlowName(JournalFlow flow);

/** @brief The result's stable key as stored ("succeeded", "failed"). */
QString journalResultKey(JournalResult result);
/** @brief The result of a stored key; empty for an unknown key. */
std::optional<JournalResult> journalResultFromKey(const QString &key);
/** @brief The result's name in the program's language. */
QString journalResultName(JournalResult result);

/** @brief The operating-system user running this program; empty when unknown. */
QString currentOperatingSystemUser();

} // namespace VexoTool

Q_DECLARE_METATYPE(VexoTool::JournalEntry)

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "planfile.h"

#include <Vexo.h>

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QVector>

namespace VexoTool {

/** @brief What applying a plan row would do, or why it is refused. */
enum class PlanVerdictKind {
    WillChange,       ///< accepted: the device is activated and/or gets new parameters
    Unchanged,        ///< the device already has every planned value; nothing is sent
    NotListed,        ///< no listed device has this serial number or MAC
    Unverified,       ///< the device has no valid maker certificate: no password is sent to it
    NeedsPassword,    ///< the device is still to be activated and the plan gives no password
    WeakPassword,     ///< the plan's password for a device to activate is too weak
    AddressInUse,     ///< another listed device keeps the address, or another row plans it too
    NetworkMismatch,  ///< address, mask and gateway do not work together
    DhcpNotSupported, ///< the plan turns DHCP on for a device that cannot use it
    StaticWithDhcp,   ///< static IPv4 values for a device that keeps DHCP on, which would ignore them
};

/** @brief One parameter that changes: its name and its current and planned texts. */
struct PlanChange
{
    QString name;
    QString current;
    QString planned;
};

/** @brief The preview of one plan row. */
struct PlanVerdict
{
    PlanVerdictKind kind = PlanVerdictKind::NotListed;
    int recordIndex = -1;       ///< the device's position among the listed records, -1 if not listed
    bool activate = false;      ///< the device is activated with the plan's password first
    DeviceNetParam param{};     ///< the parameters to send when networkChange is set
    bool networkChange = false; ///< some network parameter differs from the device's
    QList<PlanChange> changes;  ///< what changes, for the reader
    QString reason;             ///< why a row is refused (translated); empty for accepted rows

    /** @brief Whether the row is sent to the device when the plan is applied. */
    bool accepted() const { return kind == PlanVerdictKind::WillChange; }
};

/**
 * @brief Compares a plan with the listed devices, row by row, without sending anything.
 *
 * Devices are found by serial number, else by MAC (case does not matter). An address counts as
 * taken when a listed device keeps it after the plan, so devices may swap addresses and a
 * device may take the address another device leaves; an address planned twice is refused in
 * both rows. A refused row leaves its device where it is, which may refuse other rows in turn.
 */
class PlanPreview
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::PlanPreview)
public:
    /** @brief One verdict per row of @p rows, in their order, against the @p records listed now. */
    static QList<PlanVerdict> preview(const QList<PlanRow> &rows, const QVector<VEXO_DEVICE_INFO> &records);
    /**
     * @brief The rows that plan a device an earlier row plans already, found through the listed
     *        @p records (one row may name it by serial number, another by MAC): one problem per
     *        such row, naming the earlier row's line; at most PlanFile::MaxErrors and a summary.
     *        A plan with any of them is not used.
     */
    static QList<PlanError> plannedTwice(const QList<PlanRow> &rows, const QVector<VEXO_DEVICE_INFO> &records);
    /** @brief A short name of the verdict ("Will change", "Not listed", ...), translated. */
    static QString kindText(PlanVerdictKind kind);
    /** @brief The changes as "name: current → planned" texts joined by "; ". */
    static QString changesText(const QList<PlanChange> &changes);
    /** @brief The number of accepted verdicts. */
    static int acceptedCount(const QList<PlanVerdict> &verdicts);
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace VexoTool {

/** @brief What the modify panel is shown for: the ticked devices as kinds and counts, and the panel's situation. */
struct PanelSelection
{
    int count = 0;             ///< ticked devices
    int inactive = 0;          ///< of them, devices not activated yet
    int onvifOnly = 0;         ///< of them, devices that answer ONVIF only
    int unverified = 0;        ///< of them, devices that have shown no valid maker certificate (yet)
    QStringList inactiveNames; ///< the not activated devices' names, as the list shows them
    bool batch = false;        ///< the batch switch is on
    bool operationRunning = false;
    bool unreachable = false;   ///< one ONVIF device that no adapter of this computer reaches
    bool goAhead = false;       ///< the user's go-ahead to try an unreachable device anyway
    bool loopbackScope = false; ///< the program sees only loopback devices

    friend bool operator==(const PanelSelection &, const PanelSelection &) = default;
};

/**
 * @brief What the modify panel shows and enables for a selection, with the reason of each
 *        control that is disabled.
 *
 * A function of the selection alone: the panel applies it on every selection change and
 * whenever the situation changes, so nothing of an earlier selection can stay behind. The
 * panel never takes the keyboard focus because of a selection; only Enter in the list sends
 * it to the panel.
 */
struct PanelState
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::PanelState)

public:
    enum class View {
        Empty,    ///< nothing ticked: the form without a device, everything disabled
        Modify,   ///< the network form with the administrator password
        Activate, ///< the activation area with the new password
        Mixed     ///< a notice: activated and not activated devices are ticked together
    };

    View view = View::Empty;
    bool batchForm = false; ///< the form in its batch layout

    bool modifyEnabled = false;
    QString modifyReason;
    bool adminPasswordEnabled = false;
    bool userNameShown = false;

    bool activeEnabled = false;
    QString activeReason;

    bool forgetShown = false;
    bool forgetEnabled = false;
    QString forgetReason;

    bool changePasswordShown = false;
    bool changePasswordEnabled = false;
    QString changePasswordReason;

    bool reachShown = false; ///< the reachability advice with its go-ahead box
    bool busyShown = false;

    bool devicePortEnabled = false; ///< the Port field (the device protocol port)
    QString devicePortReason;
    bool ipv6Allowed = false; ///< false: the panel disables the IPv6 fields; true: the form decides by the device
    bool loopbackAllowed = false;
    bool emptyGatewayAllowed = false;

    /**
     * @brief The lines above the panel's title: how many devices are ticked, which are not
     *        activated, how many get no password for want of a maker certificate.
     */
    QString selectionNote;

    friend bool operator==(const PanelState &, const PanelState &) = default;

    static PanelState forSelection(const PanelSelection &selection);

    /** @brief "A, B, C, D, E and 2 more": at most @p shown names, then how many are left out. */
    static QString nameList(const QStringList &names, int shown = 5);
};

} // namespace VexoTool

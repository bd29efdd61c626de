// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "panelstate.h"

namespace VexoTool {

PanelState PanelState::forSelection(const PanelSelection &selection)
{
    PanelState state;
    const int count = selection.count;
    const bool running = selection.operationRunning;
    const bool anyOnvif = selection.onvifOnly > 0;
    // Every ticked device decides, never any one of them: one device protocol device in a batch
    // keeps the batch to the device protocol's rules.
    const bool onlyOnvif = count > 0 && selection.onvifOnly == count;
    const bool single = count == 1;
    //: Tool tip of a panel button that is disabled while a change or an activation runs
    const QString wait = tr("Wait until the running operation has ended.");
    //: Tool tip of the panel's disabled controls while no device is ticked
    const QString tickFirst = tr("Tick a device in the list first.");

    if (count == 0)
        state.view = View::Empty;
    else if (selection.inactive == 0)
        state.view = View::Modify;
    else if (selection.inactive >= count)
        state.view = View::Activate;
    else
        state.view = View::Mixed;

    state.busyShown = running;
    state.batchForm = state.view == View::Modify && count > 1;
    state.loopbackAllowed = onlyOnvif && selection.loopbackScope;
    state.emptyGatewayAllowed = onlyOnvif;
    state.ipv6Allowed = !onlyOnvif;

    if (selection.batch) {
        //: In the panel while batch operations are on
        state.selectionNote = tr("%n device(s) ticked", nullptr, count);
    }
    if (state.view == View::Mixed) {
        if (!state.selectionNote.isEmpty())
            state.selectionNote += QLatin1Char('\n');
        //: In the panel when activated and not activated devices are ticked together; %1 lists the latter
        state.selectionNote += tr("Not activated: %1").arg(nameList(selection.inactiveNames));
    }

    // The discovery library sends no password to a device without a valid maker certificate; it
    // asks the device once more when the operation starts, so the controls stay enabled.
    if (selection.unverified > 0 && (state.view == View::Modify || state.view == View::Activate)) {
        if (!state.selectionNote.isEmpty())
            state.selectionNote += QLatin1Char('\n');
        //: In the panel: ticked devices whose announcements carry no valid maker certificate
        state.selectionNote += tr("%n ticked device(s) without a valid maker certificate: no password is sent to "
                                  "them until they show one.",
                                  nullptr, selection.unverified);
    }

    // ONVIF devices do not answer the device protocol, which activation and recovery use.
    if (anyOnvif) {
        state.activeReason = tr("Activation uses the device protocol, which ONVIF devices do not answer. Set the "
                                "first password on the device's web page.");
        state.forgetReason = tr("Password recovery uses the device protocol, which ONVIF devices do not answer. Reset "
                                "the password on the device or with its maker's tool.");
    }

    switch (state.view) {
    case View::Empty:
        state.forgetShown = true;
        state.modifyReason = tickFirst;
        state.forgetReason = tickFirst;
        state.devicePortReason = tickFirst;
        break;
    case View::Modify: {
        state.userNameShown = anyOnvif;
        state.adminPasswordEnabled = true;
        state.reachShown = single && selection.unreachable;
        const bool waitsForGoAhead = state.reachShown && !selection.goAhead;
        state.modifyEnabled = !running && !waitsForGoAhead;
        if (running)
            state.modifyReason = wait;
        else if (waitsForGoAhead)
            state.modifyReason = tr("No network adapter of this computer is in the device's subnet. Tick \"Try the "
                                    "change anyway\" to send the change all the same.");
        // A single ONVIF device offers a password change where the others offer recovery; a
        // batch offers neither.
        state.changePasswordShown = single && onlyOnvif;
        state.changePasswordEnabled = state.changePasswordShown && !running;
        if (state.changePasswordShown && running)
            state.changePasswordReason = wait;
        state.forgetShown = single && !onlyOnvif;
        state.forgetEnabled = state.forgetShown && !running;
        if (state.forgetShown && running)
            state.forgetReason = wait;
        state.devicePortEnabled = !onlyOnvif;
        if (onlyOnvif)
            //: Tool tip of the disabled Port field
            state.devicePortReason = tr("ONVIF devices have no device port.");
        break;
    }
    case View::Activate:
        state.activeEnabled = !running && !anyOnvif;
        if (running)
            state.activeReason = wait;
        break;
    case View::Mixed:
        break;
    }
    return state;
}

QString PanelState::nameList(const QStringList &names, int shown)
{
    const QString listed = names.mid(0, shown).join(QStringLiteral(", "));
    const int more = int(names.size()) - shown;
    if (more <= 0)
        return listed;
    //: A list of devices cut short: %1 the first names, %n how many are left out
    return tr("%1 and %n more", nullptr, more).arg(listed);
}

} // namespace VexoTool

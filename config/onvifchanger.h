// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <onviffault.h>

#include <Vexo.h>

#include <QByteArray>
#include <QString>

namespace VexoTool {

/** @brief The ONVIF device a change is for, with the credentials the user typed into the panel. */
struct OnvifTarget
{
    QString serialNumber; ///< the list's key: serial number, or the endpoint reference before identification
    QString mac;          ///< empty before identification
    QString address;      ///< the IPv4 address the device has now
    QString userName;
    QString password;
    /** @brief The user agreed that a new password may cross the network readable (a device without HTTPS). */
    bool allowClearTextPassword = false;
};

/** @brief The outcome of an ONVIF request. */
struct OnvifOutcome
{
    bool ok = false;
    /** @brief The device answered that it must restart before it uses the new settings. */
    bool rebootNeeded = false;
    /** @brief Why it failed, when it did not succeed. */
    OnvifFailure failure;
    /** @brief For a change that succeeded in part: what did not apply and why (translated); else empty. */
    QString notApplied;
};

/**
 * @brief How the panel changes ONVIF devices: the one place where the ONVIF client is plugged in.
 *
 * The program sets an implementation with DeviceModifyPage::setOnvifChanger(); without one the
 * panel reports ONVIF rows as not changeable. The calls run on a worker thread, one at a
 * time, and block until the device answered or failed.
 */
class OnvifChanger
{
public:
    virtual ~OnvifChanger() = default;

    /**
     * @brief Gives the device the network parameters of @p params (IPv4 address, mask, gateway,
     *        DHCP and HTTP port; a zero HTTP port leaves it as it is).
     */
    virtual OnvifOutcome setNetParams(const OnvifTarget &target, const DeviceNetParam &params) = 0;

    /** @brief Restarts the device so that it uses settings it accepted with rebootNeeded. */
    virtual OnvifOutcome reboot(const OnvifTarget &target) = 0;

    /**
     * @brief Gives the user target.userName the password @p newPassword, signing in with
     *        target.userName and target.password (the current password). A client that cannot
     *        change passwords refuses without sending anything.
     */
    virtual OnvifOutcome setPassword(const OnvifTarget &target, const QString &newPassword)
    {
        Q_UNUSED(target)
        Q_UNUSED(newPassword)
        OnvifOutcome refused;
        refused.failure.reason = QStringLiteral("this client cannot change passwords");
        return refused;
    }

    /** @brief The SHA-256 fingerprint of the TLS certificate pinned for the device; empty when none is. */
    virtual QByteArray pinnedCertificate(const OnvifTarget &target) const
    {
        Q_UNUSED(target)
        return QByteArray();
    }

    /** @brief Forgets the device's pinned certificate, so that the next one it presents is pinned. */
    virtual bool forgetCertificate(const OnvifTarget &target)
    {
        Q_UNUSED(target)
        return false;
    }
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifdevicechanger.h"

#include <deviceinfo.h>
#include <onvifhandler.h>
#include <subnetreach.h>

#include <QHostAddress>
#include <QMutexLocker>

namespace VexoTool {

namespace {

OnvifOutcome failed(const onvif::Failure &failure)
{
    OnvifOutcome outcome;
    outcome.failure = VEXO::OnvifHandler::failureOf(failure);
    return outcome;
}

} // namespace

OnvifDeviceChanger::OnvifDeviceChanger(VEXO::OnvifHandler *discovery)
    : m_discovery(discovery)
{}

onvif::Credentials OnvifDeviceChanger::credentialsOf(const OnvifTarget &target) const
{
    onvif::Credentials credentials;
    credentials.username = target.userName.isEmpty() ? QStringLiteral("admin") : target.userName;
    credentials.password = target.password;
    credentials.allowClearText = m_discovery->clearTextAllowed(target.serialNumber);
    return credentials;
}

std::optional<onvif::Identity> OnvifDeviceChanger::identify(onvif::BlockingDeviceOperations &operations,
                                                            const OnvifTarget &target, OnvifOutcome *outcome)
{
    if (m_discovery->isContested(target.serialNumber)) {
        // Another address claims the device: the password would go to whichever answered.
        outcome->failure.kind = OnvifFailureKind::Contested;
        return std::nullopt;
    }
    const QUrl url = m_discovery->serviceUrl(target.serialNumber);
    if (!url.isValid()) {
        *outcome = failed(
            onvif::Failure::of(onvif::Failure::Kind::Unreachable, QStringLiteral("the device is no longer listed")));
        return std::nullopt;
    }
    const onvif::Credentials credentials = credentialsOf(target);
    auto identified = operations.identify(url, credentials, m_discovery->endpointOf(target.serialNumber));
    if (identified && !identified.value->authenticated)
        identified = onvif::Outcome<onvif::Identity>::failedWith(
            onvif::Failure::of(onvif::Failure::Kind::NotAuthorized, QStringLiteral("not authenticated")));
    if (!identified) {
        *outcome = failed(identified.failure);
        return std::nullopt;
    }
    // The panel's credentials identify the row as well.
    m_discovery->setDeviceCredentials(target.serialNumber, credentials);
    return identified.value;
}

OnvifOutcome OnvifDeviceChanger::setNetParams(const OnvifTarget &target, const DeviceNetParam &params)
{
    onvif::BlockingDeviceOperations operations(m_discovery->deviceOptions());
    OnvifOutcome outcome;
    const std::optional<onvif::Identity> identity = identify(operations, target, &outcome);
    if (!identity)
        return outcome;

    onvif::NetworkChange change;
    if (params.dhcpEnabled == 1) {
        change.ipv4 = onvif::devicemgmt::Ipv4Settings{true, {}};
    } else {
        onvif::devicemgmt::PrefixedAddress manual;
        manual.address = fieldText(params.ipv4Address);
        // A field left empty (a row not yet identified shows none) keeps what the device has;
        // "0.0.0.0" removes the gateway.
        const QString mask = fieldText(params.ipv4SubnetMask);
        manual.prefixLength = mask.isEmpty() ? identity->ipv4.prefixLength : VexoTool::prefixOfMask(mask);
        change.ipv4 = onvif::devicemgmt::Ipv4Settings{false, manual};
        const QString gateway = fieldText(params.ipv4Gateway);
        if (!gateway.isEmpty())
            change.gateway = gateway == QLatin1String("0.0.0.0") ? QString() : gateway;
    }
    if (params.httpPort != 0)
        change.httpPort = params.httpPort;

    const onvif::Credentials credentials = credentialsOf(target);
    const auto changed = operations.changeNetwork(*identity, credentials, change);
    if (!changed)
        return failed(changed.failure);
    outcome.ok = true;
    outcome.rebootNeeded = changed.value->rebootNeeded;
    if (!changed.value->notApplied.isEmpty()) {
        QStringList parts;
        for (const auto part : changed.value->notApplied)
            parts.append(part == onvif::NetworkChangeResult::Part::Gateway   ? QStringLiteral("Gateway")
                         : part == onvif::NetworkChangeResult::Part::Address ? QStringLiteral("Address")
                                                                             : QStringLiteral("HttpPort"));
        outcome.notApplied = OnvifFaultText::notApplied(parts, VEXO::OnvifHandler::failureOf(changed.value->why));
    }
    if (outcome.rebootNeeded) {
        QMutexLocker lock(&m_mutex);
        m_waiting.insert(target.serialNumber, {*identity, changed.value->serviceUrl});
    } else {
        m_discovery->deviceMoved(target.serialNumber, changed.value->serviceUrl, credentials);
    }
    return outcome;
}

OnvifOutcome OnvifDeviceChanger::reboot(const OnvifTarget &target)
{
    onvif::BlockingDeviceOperations operations(m_discovery->deviceOptions());
    std::optional<Waiting> waiting;
    {
        QMutexLocker lock(&m_mutex);
        if (m_waiting.contains(target.serialNumber))
            waiting = m_waiting.value(target.serialNumber);
    }
    OnvifOutcome outcome;
    std::optional<onvif::Identity> identity = waiting ? std::optional(waiting->identity) : std::nullopt;
    if (!identity)
        identity = identify(operations, target, &outcome);
    if (!identity)
        return outcome;
    const onvif::Credentials credentials = credentialsOf(target);
    const auto rebooted = operations.reboot(*identity, credentials);
    if (!rebooted)
        return failed(rebooted.failure); // the new address still waits for a restart
    {
        QMutexLocker lock(&m_mutex);
        m_waiting.remove(target.serialNumber);
    }
    outcome.ok = true;
    // Back after the restart, it is identified where it said it would be (or when it says Hello).
    m_discovery->deviceMoved(target.serialNumber, waiting ? waiting->newServiceUrl : identity->serviceUrl, credentials);
    return outcome;
}

OnvifOutcome OnvifDeviceChanger::setPassword(const OnvifTarget &target, const QString &newPassword)
{
    onvif::BlockingDeviceOperations operations(m_discovery->deviceOptions());
    OnvifOutcome outcome;
    const std::optional<onvif::Identity> identity = identify(operations, target, &outcome);
    if (!identity)
        return outcome;
    onvif::Credentials credentials = credentialsOf(target);
    credentials.allowClearTextNewPassword = target.allowClearTextPassword;
    const auto changed = operations.changePassword(*identity, credentials, credentials.username, newPassword);
    if (!changed)
        return failed(changed.failure);
    outcome.ok = true;
    // The row is identified with the new password from now on; the old one no longer signs in.
    credentials.password = newPassword;
    m_discovery->setDeviceCredentials(target.serialNumber, credentials);
    return outcome;
}

QByteArray OnvifDeviceChanger::pinnedCertificate(const OnvifTarget &target) const
{
    const auto pins = m_discovery->deviceOptions().pins;
    return pins->find(m_discovery->endpointOf(target.serialNumber), target.mac).value_or(QByteArray());
}

bool OnvifDeviceChanger::forgetCertificate(const OnvifTarget &target)
{
    const auto pins = m_discovery->deviceOptions().pins;
    return pins->forget(m_discovery->endpointOf(target.serialNumber), target.mac);
}

} // namespace VexoTool

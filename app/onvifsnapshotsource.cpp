// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifsnapshotsource.h"

#include <onvifhandler.h>

#include <QPointer>
#include <QTimer>

namespace VexoTool {

namespace {

constexpr int kMaxIdentities = 4096;

onvif::SnapshotOutcome without(onvif::SnapshotProblem problem, const onvif::Failure &failure)
{
    onvif::SnapshotOutcome o;
    o.problem = problem;
    o.failure = failure;
    return o;
}

onvif::SnapshotProblem problemOf(const onvif::Failure &f)
{
    using K = onvif::Failure::Kind;
    switch (f.kind) {
    case K::TimedOut:
        return onvif::SnapshotProblem::TimedOut;
    case K::Unreachable:
    case K::Refused:
    case K::TlsFailed:
    case K::AddressNotAllowed:
        return onvif::SnapshotProblem::Unreachable;
    default:
        return onvif::SnapshotProblem::Refused;
    }
}

} // namespace

OnvifSnapshotSource::OnvifSnapshotSource(VEXO::OnvifHandler *discovery, QObject *parent)
    : QObject(parent)
    , m_discovery(discovery)
{
    m_operations = std::make_unique<onvif::DeviceOperations>(m_discovery->deviceOptions());
    onvif::SnapshotClient::Options options;
    options.device = m_discovery->deviceOptions();
    m_client = std::make_unique<onvif::SnapshotClient>(options);
}

OnvifSnapshotSource::~OnvifSnapshotSource() = default;

bool OnvifSnapshotSource::available(const DeviceInfo &device) const
{
    // Identified (a MAC is known), listed at an address, not contested, and signed in to.
    const QString key = device.strSerialNumber;
    return !device.strMAC.isEmpty() && m_discovery->serviceUrl(key).isValid() && !m_discovery->isContested(key)
           && m_discovery->hasCredentials();
}

void OnvifSnapshotSource::take(const DeviceInfo &device, QSize scaledTo, QObject *context, const Callback &done)
{
    QPointer<QObject> guard(context);
    auto deliver = [guard, done](const onvif::SnapshotOutcome &outcome) {
        if (guard)
            done(outcome);
    };
    const QString key = device.strSerialNumber;
    std::optional<onvif::Credentials> credentials = m_discovery->credentials();
    const QUrl url = m_discovery->serviceUrl(key);
    if (!credentials || !url.isValid() || m_discovery->isContested(key)) {
        const auto problem = credentials ? onvif::SnapshotProblem::Unreachable : onvif::SnapshotProblem::NotSignedIn;
        QTimer::singleShot(0, this, [deliver, problem] {
            deliver(without(problem, onvif::Failure::of(onvif::Failure::Kind::None, QString())));
        });
        return;
    }
    credentials->allowClearText = m_discovery->clearTextAllowed(key);
    const auto known = m_identities.constFind(key);
    if (known != m_identities.cend() && known->serviceUrl == url) {
        m_client->take(*known, credentials, deliver, scaledTo);
        return;
    }
    m_operations->identify(
        url, credentials,
        [this, key, credentials, deliver, scaledTo](const onvif::Outcome<onvif::Identity> &identity) {
            if (!identity)
                return deliver(without(problemOf(identity.failure), identity.failure));
            if (!identity.value->authenticated) {
                return deliver(without(onvif::SnapshotProblem::Refused,
                                       onvif::Failure::of(onvif::Failure::Kind::NotAuthorized, QString())));
            }
            if (m_identities.size() >= kMaxIdentities)
                m_identities.clear();
            m_identities.insert(key, *identity.value);
            m_client->take(*identity.value, credentials, deliver, scaledTo);
        },
        m_discovery->endpointOf(key));
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "identifier.h"

namespace onvif {

Identifier::Identifier(const DeviceClient::Options &options, QObject *parent)
    : QObject(parent)
    , m_operations(options, this)
{}

void Identifier::setMaxParallel(int count)
{
    m_maxParallel = qMax(1, count);
    startWaiting();
}

void Identifier::enqueue(const QString &key, const QUrl &serviceUrl, const std::optional<Credentials> &credentials)
{
    if (m_keys.contains(key))
        return;
    m_keys.insert(key);
    m_queue.enqueue({key, serviceUrl, credentials});
    startWaiting();
}

void Identifier::startWaiting()
{
    while (m_running < m_maxParallel && !m_queue.isEmpty()) {
        const Request request = m_queue.dequeue();
        ++m_running;
        m_operations.identify(
            request.serviceUrl, request.credentials,
            [this, request](const Outcome<Identity> &o) {
                --m_running;
                m_keys.remove(request.key);
                Identity identity = o.value.value_or(Identity{});
                identity.serviceUrl = request.serviceUrl;
                emit identified(request.key, identity, o.failure);
                startWaiting();
                if (m_running == 0 && m_queue.isEmpty())
                    emit idle();
            },
            request.key);
    }
}

} // namespace onvif

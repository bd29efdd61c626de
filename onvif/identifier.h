// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "deviceoperations.h"

#include <QObject>
#include <QQueue>
#include <QSet>

namespace onvif {

/**
 * @brief Identifies many devices, a bounded number at once, and reports each when done.
 *
 * Requests wait in a queue; at most maxParallel() identifications run at the same time (16
 * unless set), so a segment of hundreds of devices neither floods the network nor the
 * devices. A key enqueued again while it waits or runs is identified once. Lives in the
 * thread that created it, which needs an event loop; signals there. A slot connected to
 * identified() or idle() may end the identifier only with deleteLater().
 */
class Identifier : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultParallel = 16;

    explicit Identifier(const DeviceClient::Options &options, QObject *parent = nullptr);

    int maxParallel() const { return m_maxParallel; }
    /** @brief At least 1; raising it starts waiting requests at once. */
    void setMaxParallel(int count);

    /** @brief Queues identifying the device at @p serviceUrl under @p key (e.g. its endpoint). */
    void enqueue(const QString &key, const QUrl &serviceUrl, const std::optional<Credentials> &credentials);
    /** @brief Requests waiting plus running. */
    int pending() const { return int(m_queue.size()) + m_running; }
    int running() const { return m_running; }

signals:
    /** @brief One identification ended: @p failure is set when it failed (then @p identity is partial). */
    void identified(const QString &key, const onvif::Identity &identity, const onvif::Failure &failure);
    /** @brief The queue ran empty. */
    void idle();

private:
    struct Request
    {
        QString key;
        QUrl serviceUrl;
        std::optional<Credentials> credentials;
    };
    void startWaiting();

    DeviceOperations m_operations;
    int m_maxParallel = kDefaultParallel;
    int m_running = 0;
    QQueue<Request> m_queue;
    QSet<QString> m_keys;
};

} // namespace onvif

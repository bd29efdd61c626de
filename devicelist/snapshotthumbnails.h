// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "snapshotsource.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSet>

#include <memory>
#include <optional>

namespace VexoTool {

/**
 * @brief The list's snapshot thumbnails: fetched for the rows in view only, a few at a time,
 *        kept per camera in memory while the program runs (never on disk), at most kMaxCached.
 *
 * setWanted() names the cameras in view; those not yet kept are asked for, at most kMaxInFlight
 * at a time, and cameras that scrolled out of view before their turn are not asked at all. A
 * camera is kept under its serial number and address, so one moved to another address gets a
 * new thumbnail. The least recently shown thumbnail gives way to a new one.
 */
class SnapshotThumbnails : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxInFlight = 4;
    static constexpr int kMaxCached = 200;
    /** @brief The size a thumbnail fits in. */
    static constexpr QSize kSize{96, 54};

    /** @brief A camera's thumbnail, or why it has none. */
    struct Entry
    {
        QImage image; ///< null when there is no snapshot
        onvif::SnapshotProblem problem = onvif::SnapshotProblem::None;
    };

    explicit SnapshotThumbnails(QObject *parent = nullptr);
    ~SnapshotThumbnails() override;

    void setSource(std::shared_ptr<SnapshotSource> source);
    SnapshotSource *source() const { return m_source.get(); }

    /** @brief The cameras now in view, top first; the others wait or are dropped from the queue. */
    void setWanted(const QList<DeviceInfo> &devices);
    /** @brief The thumbnail kept for @p device, marking it recently shown; nothing while it is not in. */
    std::optional<Entry> entry(const DeviceInfo &device);
    /** @brief The thumbnail kept of the camera @p serialNumber at @p ipv4Address; null when none is. */
    QImage kept(const QString &serialNumber, const QString &ipv4Address) const;
    /** @brief Forgets every thumbnail (the view was switched off); answers still under way are dropped. */
    void clear();

    int inFlight() const { return int(m_inFlight.size()); }
    int cachedCount() const { return int(m_cache.size()); }
    /** @brief The bytes the kept thumbnails' pixels take. */
    qint64 cachedBytes() const;

signals:
    /** @brief A thumbnail (or its absence) for the camera with @p serialNumber came in. */
    void thumbnailChanged(const QString &serialNumber);

private:
    static QString keyOf(const DeviceInfo &device);
    void startNext();
    void keep(const QString &key, const Entry &entry);

    std::shared_ptr<SnapshotSource> m_source;
    QList<DeviceInfo> m_queue;
    QSet<QString> m_inFlight;
    QHash<QString, Entry> m_cache;
    QList<QString> m_recent;  // least recently shown first
    quint64 m_generation = 0; // answers from before clear() are dropped
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshotthumbnails.h"

namespace VexoTool {

SnapshotThumbnails::SnapshotThumbnails(QObject *parent)
    : QObject(parent)
{}

SnapshotThumbnails::~SnapshotThumbnails() = default;

void SnapshotThumbnails::setSource(std::shared_ptr<SnapshotSource> source)
{
    m_source = std::move(source);
    clear();
}

QString SnapshotThumbnails::keyOf(const DeviceInfo &device)
{
    return device.strSerialNumber + QLatin1Char('|') + device.strIPv4Address;
}

void SnapshotThumbnails::setWanted(const QList<DeviceInfo> &devices)
{
    m_queue.clear();
    if (!m_source)
        return;
    for (const DeviceInfo &d : devices) {
        const QString key = keyOf(d);
        if (!m_cache.contains(key) && !m_inFlight.contains(key) && m_source->available(d))
            m_queue.append(d);
    }
    startNext();
}

void SnapshotThumbnails::startNext()
{
    while (m_source && m_inFlight.size() < kMaxInFlight && !m_queue.isEmpty()) {
        const DeviceInfo device = m_queue.takeFirst();
        const QString key = keyOf(device);
        m_inFlight.insert(key);
        const quint64 generation = m_generation;
        const QString serial = device.strSerialNumber;
        m_source->take(device, kSize, this, [this, key, serial, generation](const onvif::SnapshotOutcome &outcome) {
            if (generation != m_generation)
                return;
            m_inFlight.remove(key);
            Entry entry;
            entry.problem = outcome.problem;
            if (outcome)
                entry.image = outcome.snapshot->image.scaled(kSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            keep(key, entry);
            emit thumbnailChanged(serial);
            startNext();
        });
    }
}

void SnapshotThumbnails::keep(const QString &key, const Entry &entry)
{
    m_cache.insert(key, entry);
    m_recent.removeOne(key);
    m_recent.append(key);
    while (m_cache.size() > kMaxCached && !m_recent.isEmpty())
        m_cache.remove(m_recent.takeFirst());
}

std::optional<SnapshotThumbnails::Entry> SnapshotThumbnails::entry(const DeviceInfo &device)
{
    const QString key = keyOf(device);
    const auto it = m_cache.constFind(key);
    if (it == m_cache.cend())
        return std::nullopt;
    if (m_recent.last() != key) {
        m_recent.removeOne(key);
        m_recent.append(key);
    }
    return *it;
}

QImage SnapshotThumbnails::kept(const QString &serialNumber, const QString &ipv4Address) const
{
    DeviceInfo device;
    device.strSerialNumber = serialNumber;
    device.strIPv4Address = ipv4Address;
    return m_cache.value(keyOf(device)).image;
}

void SnapshotThumbnails::clear()
{
    ++m_generation;
    m_queue.clear();
    m_inFlight.clear();
    m_cache.clear();
    m_recent.clear();
}

qint64 SnapshotThumbnails::cachedBytes() const
{
    qint64 bytes = 0;
    for (const Entry &e : m_cache)
        bytes += e.image.sizeInBytes();
    return bytes;
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshotpainter.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QHash>
#include <QMutex>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kMaxCached = 4096;

} // namespace

QImage SnapshotPainter::paint(const OnvifDeviceState &state)
{
    // Everything the picture varies by comes from the device and its address.
    const QByteArray seed
        = QCryptographicHash::hash((state.serial + u'|' + state.ipv4).toUtf8(), QCryptographicHash::Sha256);
    auto byte = [&](int i) {
        return int(quint8(seed.at(i)));
    };
    const QColor sky = QColor::fromHsv(byte(0) * 360 / 256, 90 + byte(1) % 80, 150 + byte(2) % 90);
    const QColor ground = QColor::fromHsv((byte(0) * 360 / 256 + 150) % 360, 120 + byte(3) % 100, 90 + byte(4) % 80);
    const QColor accent = QColor::fromHsv((byte(0) * 360 / 256 + 60) % 360, 200, 230);

    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const int horizon = kHeight / 3 + byte(5) % (kHeight / 3);
    p.fillRect(0, 0, kWidth, horizon, sky);
    p.fillRect(0, horizon, kWidth, kHeight - horizon, ground);

    // One of four patterns, with its own count, sizes and places.
    const int pattern = byte(6) % 4;
    const int count = 3 + byte(7) % 6;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const int x = (byte(8 + i) * kWidth) / 256;
        const int size = 20 + byte(16 + i) % 70;
        const QColor c = QColor::fromHsv((byte(0) * 360 / 256 + 40 * i) % 360, 160, 200);
        p.setBrush(c);
        switch (pattern) {
        case 0: // boxes on the ground
            p.drawRect(x, horizon - size, size, size);
            break;
        case 1: // balls in the sky
            p.drawEllipse(QPoint(x, horizon / 2 + (byte(24 + i) % 40) - 20), size / 2, size / 2);
            break;
        case 2: { // masts
            p.drawRect(x, horizon - 3 * size, size / 4 + 4, 3 * size);
            break;
        }
        default: { // roofs
            QPainterPath roof;
            roof.moveTo(x, horizon);
            roof.lineTo(x + size, horizon - size);
            roof.lineTo(x + 2 * size, horizon);
            roof.closeSubpath();
            p.drawPath(roof);
            break;
        }
        }
    }
    // Stripes across the ground, at an angle of the device's own.
    p.setPen(QPen(ground.darker(130), 6));
    const int step = 30 + byte(30) % 40;
    const int slant = byte(31) % 200 - 100;
    for (int x = -kWidth; x < 2 * kWidth; x += step)
        p.drawLine(x, kHeight, x + slant, horizon);

    // The caption, as a camera's on-screen display writes it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 160));
    p.drawRect(0, kHeight - 64, kWidth, 64);
    QFont font;
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(accent);
    p.drawText(QRect(12, kHeight - 62, kWidth - 24, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1 %2").arg(state.manufacturer, state.model));
    p.setPen(Qt::white);
    p.drawText(QRect(12, kHeight - 32, kWidth - 24, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1   %2").arg(state.serial, state.ipv4));
    return image;
}

QByteArray SnapshotPainter::jpeg(const OnvifDeviceState &state)
{
    static QMutex mutex;
    static QHash<QString, QByteArray> cache;
    const QString key = state.serial + u'|' + state.ipv4;
    {
        QMutexLocker lock(&mutex);
        const auto it = cache.constFind(key);
        if (it != cache.cend())
            return *it;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    paint(state).save(&buffer, "JPEG", 85);
    QMutexLocker lock(&mutex);
    if (cache.size() >= kMaxCached)
        cache.clear();
    cache.insert(key, bytes);
    return bytes;
}

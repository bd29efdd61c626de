// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "snapshotthumbnaildelegate.h"

#include "snapshottexts.h"
#include "snapshotthumbnails.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace VexoTool {

namespace {

constexpr int kMargin = 3;

QRect thumbnailBox(const QRect &cell)
{
    const QSize size = VexoTool::SnapshotThumbnails::kSize;
    return QRect(cell.left() + kMargin, cell.top() + (cell.height() - size.height()) / 2, size.width(), size.height());
}

} // namespace

SnapshotThumbnailDelegate::SnapshotThumbnailDelegate(QAbstractItemDelegate *base, SnapshotThumbnails *thumbnails,
                                                     std::function<DeviceInfo(const QModelIndex &)> deviceOf,
                                                     QObject *parent)
    : QStyledItemDelegate(parent)
    , m_base(base)
    , m_thumbnails(thumbnails)
    , m_deviceOf(std::move(deviceOf))
{}

void SnapshotThumbnailDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                      const QModelIndex &index) const
{
    const QSize size = SnapshotThumbnails::kSize;
    const QRect box = thumbnailBox(option.rect);
    QStyleOptionViewItem rest = option;
    rest.rect.setLeft(box.right() + 1 + kMargin);
    // The row's background under the thumbnail, as the rest of the row has it.
    QStyleOptionViewItem left = option;
    left.rect.setRight(rest.rect.left() - 1);
    QStyledItemDelegate::paint(painter, left, QModelIndex());
    m_base->paint(painter, rest, index);

    const DeviceInfo device = m_deviceOf(index);
    const auto entry = m_thumbnails->entry(device);
    painter->save();
    if (entry && !entry->image.isNull()) {
        const QImage &image = entry->image;
        painter->drawImage(
            QPoint(box.left() + (size.width() - image.width()) / 2, box.top() + (size.height() - image.height()) / 2),
            image);
    } else if (m_thumbnails->source() && m_thumbnails->source()->available(device)) {
        // Waiting, or none to be had: a frame, crossed when the camera gave none.
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->drawRect(box.adjusted(0, 0, -1, -1));
        if (entry)
            painter->drawLine(box.topLeft(), box.bottomRight());
    }
    painter->restore();
}

QSize SnapshotThumbnailDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const QSize base = m_base->sizeHint(option, index);
    const QSize size = SnapshotThumbnails::kSize;
    return QSize(base.width() + size.width() + 2 * kMargin, qMax(base.height(), size.height() + 2 * kMargin));
}

bool SnapshotThumbnailDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                          const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() == QEvent::ToolTip && thumbnailBox(option.rect).contains(event->pos())) {
        const auto entry = m_thumbnails->entry(m_deviceOf(index));
        if (entry && entry->image.isNull()) {
            QToolTip::showText(event->globalPos(), SnapshotTexts::problem(entry->problem), view);
            return true;
        }
    }
    return m_base->helpEvent(event, view, option, index);
}

} // namespace VexoTool

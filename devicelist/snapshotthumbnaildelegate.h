// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <deviceinfo.h>

#include <QStyledItemDelegate>

#include <functional>

namespace VexoTool {

class SnapshotThumbnails;

/**
 * @brief Draws a camera's thumbnail at the left of its row's cell, and the cell as the table's
 *        own delegate draws it beside; rows grow to the thumbnail's height.
 */
class SnapshotThumbnailDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    /** @brief Over the table's delegate @p base; @p deviceOf gives the device of a view index. */
    SnapshotThumbnailDelegate(QAbstractItemDelegate *base, SnapshotThumbnails *thumbnails,
                              std::function<DeviceInfo(const QModelIndex &)> deviceOf, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    /** @brief Over a camera without a snapshot, the tool tip says why. */
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

private:
    QAbstractItemDelegate *m_base;
    SnapshotThumbnails *m_thumbnails;
    std::function<DeviceInfo(const QModelIndex &)> m_deviceOf;
};

} // namespace VexoTool

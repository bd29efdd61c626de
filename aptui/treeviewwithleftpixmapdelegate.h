// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <akloguitoolkit/ctabledelegate.h>

namespace aptui {

/**
 * @brief Item delegate of the result and device tables: selected rows are drawn like
 *        hovered rows, item pixmaps sit on the left, and the right-hand pixmap shows
 *        under the mouse.
 */
class TreeViewWithLeftPixmapDelegate : public aKLOGUIToolkit::CTableDelegate
{
    Q_OBJECT

public:
    explicit TreeViewWithLeftPixmapDelegate(QAbstractItemView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    int PixmapAlignment(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    int MoreRightPixmapState() const override;
};

} // namespace aptui

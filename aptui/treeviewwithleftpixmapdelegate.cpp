// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "treeviewwithleftpixmapdelegate.h"

#include <QStyle>

namespace aptui {

TreeViewWithLeftPixmapDelegate::TreeViewWithLeftPixmapDelegate(QAbstractItemView *view)
    : CTableDelegate(view)
{}

void TreeViewWithLeftPixmapDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                           const QModelIndex &index) const
{
    if (option.state & QStyle::State_Selected) {
        QStyleOptionViewItem hovered(option);
        hovered.state &= ~QStyle::State_Selected;
        hovered.state |= QStyle::State_MouseOver;
        CTableDelegate::paint(painter, hovered, index);
        return;
    }
    CTableDelegate::paint(painter, option, index);
}

int TreeViewWithLeftPixmapDelegate::PixmapAlignment(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Q_UNUSED(option)
    Q_UNUSED(index)
    return Qt::AlignLeft;
}

int TreeViewWithLeftPixmapDelegate::MoreRightPixmapState() const
{
    return QStyle::State_MouseOver;
}

} // namespace aptui

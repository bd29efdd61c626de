// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/ctabledelegate.h"

#include <QAbstractItemView>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace aKLOGUIToolkit {

CTableDelegate::CTableDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{}

void CTableDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem itemOption(option);
    itemOption.decorationAlignment = Qt::Alignment(PixmapAlignment(option, index));
    itemOption.decorationPosition
        = (itemOption.decorationAlignment & Qt::AlignRight) ? QStyleOptionViewItem::Right : QStyleOptionViewItem::Left;
    QStyledItemDelegate::paint(painter, itemOption, index);
    if (option.state & QStyle::State(MoreRightPixmapState()))
        DrawMoreRightPixmap(painter, option, index);
}

void CTableDelegate::DrawMoreRightPixmap(QPainter *painter, const QStyleOptionViewItem &option,
                                         const QModelIndex &index) const
{
    const QVariant data = index.data(MoreRightPixmapRole);
    QPixmap pixmap;
    if (data.canConvert<QIcon>() && data.userType() == QMetaType::QIcon)
        pixmap = data.value<QIcon>().pixmap(option.decorationSize);
    else
        pixmap = data.value<QPixmap>();
    if (pixmap.isNull())
        return;
    const QSize size = pixmap.deviceIndependentSize().toSize();
    QRect target(QPoint(), size);
    target.moveCenter(option.rect.center());
    target.moveRight(option.rect.right() - 2);
    painter->drawPixmap(target, pixmap);
}

int CTableDelegate::PixmapAlignment(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    Q_UNUSED(option)
    Q_UNUSED(index)
    return Qt::AlignRight | Qt::AlignVCenter;
}

int CTableDelegate::MoreRightPixmapState() const
{
    return QStyle::State_Selected;
}

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "treeviewwithleftpixmapdelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QColor>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>

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
    } else {
        CTableDelegate::paint(painter, option, index);
    }

    if (isRowChecked(index)) {
        // A checked row is framed in the skin's red above and below, whatever colour the row
        // has from alternation or the mouse, so it stands out from both.
        painter->save();
        painter->setPen(Qt::NoPen);
        painter->setBrush(checkedRowColor());
        const QRect &r = option.rect;
        painter->drawRect(QRect(r.left(), r.top(), r.width(), CheckedRowLineWidth));
        painter->drawRect(QRect(r.left(), r.bottom() + 1 - CheckedRowLineWidth, r.width(), CheckedRowLineWidth));
        painter->restore();
    }
}

bool TreeViewWithLeftPixmapDelegate::isRowChecked(const QModelIndex &index)
{
    const QAbstractItemModel *model = index.model();
    if (!model)
        return false;
    const int columns = model->columnCount(index.parent());
    for (int column = 0; column < columns; ++column) {
        const QVariant state = index.siblingAtColumn(column).data(Qt::CheckStateRole);
        if (state.isValid() && state.toInt() == Qt::Checked)
            return true;
    }
    return false;
}

QColor TreeViewWithLeftPixmapDelegate::checkedRowColor()
{
    return QColor(0xF7, 0x42, 0x48);
}

bool TreeViewWithLeftPixmapDelegate::isTextElided(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem cell(option);
    initStyleOption(&cell, index);
    if (cell.text.isEmpty())
        return false;
    const QWidget *widget = cell.widget;
    const QStyle *style = widget ? widget->style() : QApplication::style();
    // The room the style gives the text, less the margins it keeps on both sides when drawing.
    const QRect textRect = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    const int room = textRect.width() - 2 * margin;
    const QStringList lines = cell.text.split(u'\n');
    for (const QString &line : lines) {
        if (cell.fontMetrics.horizontalAdvance(line) > room)
            return true;
    }
    return false;
}

bool TreeViewWithLeftPixmapDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                               const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (!event || !view || event->type() != QEvent::ToolTip || !index.isValid()
        || index.data(Qt::ToolTipRole).isValid())
        return CTableDelegate::helpEvent(event, view, option, index);
    if (isTextElided(option, index)) {
        QToolTip::showText(event->globalPos(), index.data(Qt::DisplayRole).toString(), view->viewport(), option.rect);
    } else {
        QToolTip::hideText();
    }
    return true;
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QStyledItemDelegate>

class QAbstractItemView;

namespace aKLOGUIToolkit {

/**
 * @brief Item delegate of the toolkit's views.
 *
 * Besides the usual painting it places the item's pixmap (its decoration) with
 * PixmapAlignment() and, in cells whose state has a bit of MoreRightPixmapState(),
 * draws the pixmap of MoreRightPixmapRole at the right edge. Subclasses may
 * override paint() and the three hooks.
 */
class AKLOGUITOOLKIT_EXPORT CTableDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    /** @brief Model role holding an extra QPixmap or QIcon drawn at a cell's right edge. */
    static constexpr int MoreRightPixmapRole = Qt::UserRole + 0x200;

    explicit CTableDelegate(QAbstractItemView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    /** @brief The view this delegate serves. */
    QAbstractItemView *View() const { return m_view; }

protected:
    /** @brief Draws the right-hand pixmap of \a index; called only when the state matches. */
    virtual void DrawMoreRightPixmap(QPainter *painter, const QStyleOptionViewItem &option,
                                     const QModelIndex &index) const;

    /** @brief Where the item's pixmap sits in its cell; right and vertically centred by default. */
    virtual int PixmapAlignment(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    /** @brief State bits (QStyle::State) under which the right-hand pixmap is shown; selected by default. */
    virtual int MoreRightPixmapState() const;

private:
    QAbstractItemView *m_view = nullptr;
};

} // namespace aKLOGUIToolkit

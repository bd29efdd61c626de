// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <akloguitoolkit/ctabledelegate.h>

#include <QColor>

namespace aptui {

/**
 * @brief Item delegate of the result and device tables: selected rows are drawn like
 *        hovered rows, item pixmaps sit on the left, and the right-hand pixmap shows
 *        under the mouse.
 *
 * Every cell of a row with a checked check box is framed in red above and below, so checked
 * rows stand apart from hovered, selected and alternate rows, whose colours the style sheet gives.
 *
 * A cell too narrow for its text shows the text elided; its tool tip then gives the whole
 * text. A cell whose text fits has no tool tip (unless the model gives one).
 */
class TreeViewWithLeftPixmapDelegate : public aKLOGUIToolkit::CTableDelegate
{
    Q_OBJECT

public:
    explicit TreeViewWithLeftPixmapDelegate(QAbstractItemView *view);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    /** @brief Whether any cell of @p index's row has a checked check box. */
    static bool isRowChecked(const QModelIndex &index);

    /** @brief The colour of the lines that frame a checked row. */
    static QColor checkedRowColor();

    /** @brief How thick the lines that frame a checked row are, in pixels. */
    static constexpr int CheckedRowLineWidth = 2;

    /** @brief Whether the cell at @p index in @p option.rect shows its text elided. */
    bool isTextElided(const QStyleOptionViewItem &option, const QModelIndex &index) const;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    int PixmapAlignment(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    int MoreRightPixmapState() const override;
};

} // namespace aptui

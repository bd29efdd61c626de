// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QTreeView>

namespace aKLOGUIToolkit {

/**
 * @brief A flat, table-like tree view (no root decoration, uniform rows) that can
 * draw grid lines between its cells.
 */
class AKLOGUITOOLKIT_EXPORT CTableView : public QTreeView
{
    Q_OBJECT

public:
    explicit CTableView(QWidget *parent = nullptr);

    /** @brief Shows or hides the grid lines (shown by default). */
    void ShowGridLine(bool show);
    bool IsGridLineShown() const { return m_showGridLine; }

protected:
    void drawRow(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    bool m_showGridLine = true;
};

} // namespace aKLOGUIToolkit

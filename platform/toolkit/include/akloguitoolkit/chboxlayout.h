// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QHBoxLayout>

namespace aKLOGUIToolkit {

/** @brief A horizontal box layout with the toolkit's method names. */
class AKLOGUITOOLKIT_EXPORT CHBoxLayout : public QHBoxLayout
{
    Q_OBJECT

public:
    explicit CHBoxLayout(QWidget *parent = nullptr);

    void SetLayoutContentsMargins(int left, int top, int right, int bottom);
    void SetLayoutSpacing(int spacing);
    void AddWidget(QWidget *widget);

    /** @brief Appends \a item (the layout takes ownership) with the stretch factor \a stretch. */
    void AddItem(QLayoutItem *item, int stretch = 0);
};

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/chboxlayout.h"

namespace aKLOGUIToolkit {

CHBoxLayout::CHBoxLayout(QWidget *parent)
    : QHBoxLayout(parent)
{}

void CHBoxLayout::SetLayoutContentsMargins(int left, int top, int right, int bottom)
{
    setContentsMargins(left, top, right, bottom);
}

void CHBoxLayout::SetLayoutSpacing(int spacing)
{
    setSpacing(spacing);
}

void CHBoxLayout::AddWidget(QWidget *widget)
{
    addWidget(widget);
}

void CHBoxLayout::AddItem(QLayoutItem *item, int stretch)
{
    if (!item)
        return;
    insertItem(-1, item);
    setStretch(count() - 1, stretch);
}

} // namespace aKLOGUIToolkit

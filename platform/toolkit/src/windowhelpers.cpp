// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/windowhelpers.h"

#include <QWidget>

namespace aKLOGUIToolkit {

QWidget *GetIndependentWindow(QWidget *widget, bool includeSelf)
{
    if (!widget)
        return nullptr;
    QWidget *window = widget->window();
    if (window == widget && !includeSelf)
        return nullptr;
    return window;
}

} // namespace aKLOGUIToolkit

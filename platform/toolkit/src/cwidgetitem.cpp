// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cwidgetitem.h"

namespace aKLOGUIToolkit {

CWidgetItem::CWidgetItem(QWidget *widget, Qt::Alignment alignment)
    : QWidgetItem(widget)
{
    setAlignment(alignment);
}

} // namespace aKLOGUIToolkit

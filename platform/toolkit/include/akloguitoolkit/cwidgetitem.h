// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QWidgetItem>

namespace aKLOGUIToolkit {

/** @brief A layout item that places a widget with the given alignment. */
class AKLOGUITOOLKIT_EXPORT CWidgetItem : public QWidgetItem
{
public:
    CWidgetItem(QWidget *widget, Qt::Alignment alignment);
};

} // namespace aKLOGUIToolkit

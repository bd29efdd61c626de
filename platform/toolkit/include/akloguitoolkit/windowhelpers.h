// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

class QWidget;

namespace aKLOGUIToolkit {

/**
 * @brief The top-level window that holds \a widget, or null.
 *
 * With \a includeSelf false (0) a widget that is a window itself, or that has no
 * parent, is held by no window and the result is null.
 */
AKLOGUITOOLKIT_EXPORT QWidget *GetIndependentWindow(QWidget *widget, bool includeSelf = false);

} // namespace aKLOGUIToolkit

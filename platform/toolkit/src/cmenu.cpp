// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cmenu.h"

namespace aKLOGUIToolkit {

CMenu::CMenu(QWidget *parent)
    : QMenu(parent)
{}

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cradiobutton.h"

namespace aKLOGUIToolkit {

CRadioButton::CRadioButton(QWidget *parent)
    : QRadioButton(parent)
{}

} // namespace aKLOGUIToolkit

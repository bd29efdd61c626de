// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/ccheckbox.h"

namespace aKLOGUIToolkit {

CCheckBox::CCheckBox(QWidget *parent)
    : QCheckBox(parent)
{}

} // namespace aKLOGUIToolkit

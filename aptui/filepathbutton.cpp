// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "filepathbutton.h"

namespace aptui {

FilePathButton::FilePathButton(QWidget *parent)
    : QToolButton(parent)
{}

} // namespace aptui

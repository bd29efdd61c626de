// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "systemmenu.h"

namespace aptui {

SystemMenu::SystemMenu(QWidget *parent)
    : CMenu(parent)
{}

void SystemMenu::openUserManual() {}

void SystemMenu::updateData() {}

void SystemMenu::settings() {}

void SystemMenu::about() {}

} // namespace aptui

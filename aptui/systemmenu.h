// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <akloguitoolkit/cmenu.h>

namespace aptui {

/**
 * @brief The main window title's system menu.
 *
 * It holds no items; the title's system menu button pops up the main window's about
 * menu instead. The slots are the menu's entry points for items to come.
 */
class SystemMenu : public aKLOGUIToolkit::CMenu
{
    Q_OBJECT

public:
    explicit SystemMenu(QWidget *parent = nullptr);

public slots:
    void openUserManual();
    void updateData();
    void settings();
    void about();
};

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QMenu>

namespace aptui {

/**
 * @brief A frameless, translucent pop-up menu whose look comes entirely from the style sheet.
 *
 * Its object name is "Menu" unless the owner renames it. On Windows the native drop
 * shadow of menu windows is switched off the first time a menu window is created, once
 * per process, since the style sheet draws its own border.
 */
class Menu : public QMenu
{
    Q_OBJECT

public:
    explicit Menu(QWidget *parent = nullptr);
    explicit Menu(const QString &title, QWidget *parent = nullptr);

protected:
    bool event(QEvent *event) override;

private:
    void setUp();
};

} // namespace aptui

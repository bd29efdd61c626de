// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QMenu>

namespace aKLOGUIToolkit {

/** @brief A pop-up menu styled by the toolkit's style sheets. */
class AKLOGUITOOLKIT_EXPORT CMenu : public QMenu
{
    Q_OBJECT

public:
    explicit CMenu(QWidget *parent = nullptr);
};

} // namespace aKLOGUIToolkit

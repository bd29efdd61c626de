// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QCheckBox>

namespace aKLOGUIToolkit {

/** @brief A check box styled by the toolkit's style sheets. */
class AKLOGUITOOLKIT_EXPORT CCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit CCheckBox(QWidget *parent = nullptr);
};

} // namespace aKLOGUIToolkit

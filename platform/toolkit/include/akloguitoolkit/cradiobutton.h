// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QRadioButton>

namespace aKLOGUIToolkit {

/** @brief A radio button styled by the toolkit's style sheets. */
class AKLOGUITOOLKIT_EXPORT CRadioButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit CRadioButton(QWidget *parent = nullptr);
};

} // namespace aKLOGUIToolkit

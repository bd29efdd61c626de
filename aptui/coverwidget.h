// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "widget.h"

class QHBoxLayout;

namespace aptui {

/**
 * @brief The dimming layer laid over a window while a dialog runs.
 *
 * The style sheet paints its inner widget "m_cover"; the owner sizes, shows and raises it.
 */
class CoverWidget : public Widget
{
    Q_OBJECT

public:
    explicit CoverWidget(QWidget *parent = nullptr);

private:
    QHBoxLayout *m_layout = nullptr;
    QWidget *m_cover = nullptr;
};

} // namespace aptui

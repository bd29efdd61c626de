// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QProxyStyle>

/**
 * @brief The program's widget style: Fusion made flat.
 *
 * No focus rectangles (focus shows through the style sheet's borders), no
 * press offset on buttons, no dotted frame around the current item, and menus
 * and combo boxes without the native pop-up effects. Colours and shapes beyond
 * that come from the application's style sheet.
 */
class CommonStyle : public QProxyStyle
{
    Q_OBJECT

public:
    CommonStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};

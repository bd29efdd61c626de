// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "onvifdevice.h"

#include <QByteArray>
#include <QImage>

/**
 * @brief Draws what a simulated camera "sees": its name, serial number and address over a
 * pattern and colours of its own, so that a person tells the cameras apart at a glance, and
 * a camera moved to another address shows another picture.
 */
class SnapshotPainter
{
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 360;

    /** @brief The picture of @p state. */
    static QImage paint(const OnvifDeviceState &state);
    /** @brief paint() as a JPEG, made once per device and address. */
    static QByteArray jpeg(const OnvifDeviceState &state);
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QLoggingCategory>

/** @brief Diagnostics of the device list ("vexo.devicelist"). */
Q_DECLARE_LOGGING_CATEGORY(lcDeviceList)

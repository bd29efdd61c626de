// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicelistlog.h"

Q_LOGGING_CATEGORY(lcDeviceList, "vexo.devicelist")

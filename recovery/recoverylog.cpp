// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "recoverylog.h"

Q_LOGGING_CATEGORY(lcRecovery, "vexo.recovery")

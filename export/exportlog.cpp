// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "exportlog.h"

Q_LOGGING_CATEGORY(lcExport, "vexo.export")

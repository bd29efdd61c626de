// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QLoggingCategory>

/** @brief Diagnostics of the spreadsheet export ("vexo.export"). */
Q_DECLARE_LOGGING_CATEGORY(lcExport)

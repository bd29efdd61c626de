// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QtGlobal>

#if defined(AKLOGUITOOLKIT_BUILDING_LIBRARY)
#    define AKLOGUITOOLKIT_EXPORT Q_DECL_EXPORT
#else
#    define AKLOGUITOOLKIT_EXPORT Q_DECL_IMPORT
#endif

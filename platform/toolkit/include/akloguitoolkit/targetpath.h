// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QString>

namespace aKLOGUIToolkit {

/** @brief The program's directory, ending in "/"; the current directory before an application object exists. */
AKLOGUITOOLKIT_EXPORT QString GetTargetPath();

/** @brief GetTargetPath() followed by \a name, e.g. "Setup.xml". */
AKLOGUITOOLKIT_EXPORT QString GetTargetPathFile(const QString &name);

} // namespace aKLOGUIToolkit

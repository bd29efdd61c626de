// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configure.h"

namespace apt {

Configure::Configure(const QString &name, const QString &value)
    : m_name(name)
    , m_value(value)
{}

Configure::~Configure() = default;

} // namespace apt

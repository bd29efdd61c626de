// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "devicerecord.h"

#include <QString>

#include <optional>
#include <vector>

/**
 * @brief The simulator's population on disk (JSON).
 *
 * Loading checks every field and refuses the whole file on the first fault;
 * saving replaces the file atomically, so a killed simulator leaves either
 * the old or the new population behind, never a mix.
 */
class StateFile
{
public:
    static std::optional<std::vector<DeviceRecord>> load(const QString &path, QString *error);
    static bool save(const QString &path, const std::vector<DeviceRecord> &devices, QString *error);
};

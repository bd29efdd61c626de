// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "devicerecord.h"
#include "onvifdevice.h"

#include <QString>

#include <optional>
#include <vector>

/**
 * @brief The simulator's population on disk (JSON).
 *
 * Loading checks every field and refuses the whole file on the first fault;
 * saving replaces the file atomically, so a killed simulator leaves either
 * the old or the new population behind, never a mix. A file of the first
 * version, written before devices had signing keys and certificates, is
 * upgraded while it is loaded: each device gets a signing key derived from its
 * secret key and a certificate issued by @p deviceCa.
 */
class StateFile
{
public:
    /** @p onvif, when given, receives the ONVIF devices the file holds (none in older files). */
    static std::optional<std::vector<DeviceRecord>> load(const QString &path, const vxdp::SignKeyPair &deviceCa,
                                                         bool *upgraded, QString *error,
                                                         std::vector<OnvifDeviceState> *onvif = nullptr);
    static bool save(const QString &path, const std::vector<DeviceRecord> &devices, QString *error,
                     const std::vector<OnvifDeviceState> *onvif = nullptr);
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "journalentry.h"

#include "Vexo.h"

namespace VexoTool {

/** @brief The settings of a device record: addresses, mask, gateway, ports and DHCP. */
JournalValues journalValuesOf(const VEXO_DEVICE_INFO &record);

/** @brief The settings a network change asks a device of the device protocol for. */
JournalValues journalValuesOf(const DeviceNetParam &param);

/**
 * @brief Fills @p entry's device fields from @p record: serial number, MAC, model, protocol
 *        ("VXDP" or "ONVIF") and verification ("verified", "unverified", "unchecked"; "none" for
 *        ONVIF devices, which have no maker certificate).
 */
void describeDevice(JournalEntry &entry, const VEXO_DEVICE_INFO &record);

} // namespace VexoTool

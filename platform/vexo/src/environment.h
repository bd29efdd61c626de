// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "protocol/constants.h"

#include <cstdint>
#include <string>

namespace vexo {

enum class Scope { Lan, Loopback };

/**
 * Everything the library takes from its environment, read in one place: at
 * VEXO_Start_V30 for a discovery session (and by VEXO_SetLogToFile for the log
 * folder). A variable that is set but malformed makes the whole reading invalid,
 * so a typo never silently falls back to a default.
 */
struct Environment
{
    Scope scope = Scope::Lan;
    std::uint16_t devicePort = vxdp::kDefaultDevicePort;
    std::uint32_t group = vxdp::kDefaultGroupAddress; ///< host byte order
    long inquiryIntervalMs = 10000;
    long offlineTimeoutMs = 35000;
    long timeoutMs = 3000;
    std::string logDir; ///< empty: not set
    bool valid = true;
    std::string error; ///< names the first malformed variable
};

Environment readEnvironment();

} // namespace vexo

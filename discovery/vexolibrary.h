// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>

namespace VEXO {

/**
 * @brief The discovery library's entry points, as the discovery service calls them.
 *
 * The program drives the library it is linked with (linked()). A test hands the service a
 * table of its own functions instead, so that it can count calls and craft results without
 * replacing the library at link time.
 */
struct VexoLibrary
{
    decltype(&VEXO_SetLogToFile) setLogToFile = nullptr;
    decltype(&VEXO_SetDeviceFilterRule) setDeviceFilterRule = nullptr;
    decltype(&VEXO_Start_V30) start = nullptr;
    decltype(&VEXO_Stop) stop = nullptr;
    decltype(&VEXO_SendInquiry) sendInquiry = nullptr;
    decltype(&VEXO_Clearup) clearup = nullptr;
    decltype(&VEXO_ActivateDevice) activateDevice = nullptr;
    decltype(&VEXO_ModifyDeviceNetParam) modifyDeviceNetParam = nullptr;
    decltype(&VEXO_GetDeviceConfig) getDeviceConfig = nullptr;
    decltype(&VEXO_ResetPasswd) resetPasswd = nullptr;
    decltype(&VEXO_ResetDefaultPasswd) resetDefaultPasswd = nullptr;
    decltype(&VEXO_GetLastError) getLastError = nullptr;

    /** @brief The library this program is linked with. */
    static const VexoLibrary &linked();

    /** @brief Whether every entry point is set. */
    bool isComplete() const;
};

} // namespace VEXO

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "vexolibrary.h"

namespace VEXO {

const VexoLibrary &VexoLibrary::linked()
{
    static const VexoLibrary library{
        &VEXO_SetLogToFile,   &VEXO_SetDeviceFilterRule,  &VEXO_Start_V30,
        &VEXO_Stop,           &VEXO_SendInquiry,          &VEXO_Clearup,
        &VEXO_ActivateDevice, &VEXO_ModifyDeviceNetParam, &VEXO_GetDeviceConfig,
        &VEXO_ResetPasswd,    &VEXO_ResetDefaultPasswd,   &VEXO_GetLastError,
    };
    return library;
}

bool VexoLibrary::isComplete() const
{
    return setLogToFile && setDeviceFilterRule && start && stop && sendInquiry && clearup && activateDevice
           && modifyDeviceNetParam && getDeviceConfig && resetPasswd && resetDefaultPasswd && getLastError;
}

} // namespace VEXO

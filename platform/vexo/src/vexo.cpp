// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Placeholder entry points; replaced by the real engine.
#include "Vexo.h"
static thread_local uint32_t t_lastError = 0;
extern "C" {
int VEXO_SetLogToFile(int, const char *, int) { return 1; }
int VEXO_SetDeviceFilterRule(int, const char *, int) { return 1; }
int VEXO_Start_V30(VEXO_DEVICE_CALLBACK, int, void *) { return 1; }
int VEXO_Stop(void) { return 1; }
int VEXO_SendInquiry(void) { return 1; }
int VEXO_Clearup(void) { return 1; }
int VEXO_ActivateDevice(const char *, const char *) { t_lastError = 2011; return 0; }
int VEXO_ModifyDeviceNetParam(const char *, const char *, const DeviceNetParam *) { t_lastError = 2011; return 0; }
int VEXO_GetDeviceConfig(const char *, uint32_t, const void *, uint32_t, void *, uint32_t) { t_lastError = 2011; return 0; }
int VEXO_ResetPasswd(const char *, const VEXO_RESET_PARAM *) { t_lastError = 2011; return 0; }
int VEXO_ResetDefaultPasswd(const char *, const char *) { t_lastError = 2011; return 0; }
uint32_t VEXO_GetLastError(void) { return t_lastError; }
}

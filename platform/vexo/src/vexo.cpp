// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The C entry points: argument checks, the per-thread last error, and the engine.
#include "Vexo.h"

#include "engine.h"
#include "environment.h"
#include "logger.h"
#include "protocol/constants.h"

#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

thread_local std::uint32_t t_lastError = VEXO_NOERROR;

// Success is 1; a failure leaves its code for VEXO_GetLastError on this thread.
int finish(std::uint32_t error)
{
    t_lastError = error;
    return error == VEXO_NOERROR ? 1 : 0;
}

bool text(const char *p, std::size_t max, std::string *out)
{
    if (!p)
        return false;
    const std::size_t n = strnlen(p, max + 1);
    if (n == 0 || n > max)
        return false;
    out->assign(p, n);
    return true;
}

std::string defaultLogDir()
{
    const vexo::Environment env = vexo::readEnvironment();
    if (!env.logDir.empty())
        return env.logDir;
    std::error_code error;
    const auto temp = std::filesystem::temp_directory_path(error);
    return error ? std::string(".") : temp.string();
}

} // namespace

extern "C" {

int VEXO_SetLogToFile(int level, const char *logDir, int autoDelete)
{
    const std::string dir = logDir && *logDir ? std::string(logDir) : defaultLogDir();
    if (!vexo::Logger::instance().open(level, dir, autoDelete != 0))
        return finish(VEXO_ERR_LOG);
    return finish(VEXO_NOERROR);
}

int VEXO_SetDeviceFilterRule(int rule, const char *arg, int argLen)
{
    return finish(vexo::Engine::instance().setFilter(rule, arg, argLen));
}

int VEXO_Start_V30(VEXO_DEVICE_CALLBACK callback, int flags, void *pUserData)
{
    return finish(vexo::Engine::instance().start(callback, flags, pUserData));
}

int VEXO_Stop(void)
{
    return finish(vexo::Engine::instance().stop());
}

int VEXO_SendInquiry(void)
{
    return finish(vexo::Engine::instance().sendInquiry());
}

int VEXO_Clearup(void)
{
    return finish(vexo::Engine::instance().clearup());
}

int VEXO_ActivateDevice(const char *serialNumber, const char *password)
{
    std::string serial, pw;
    if (!text(serialNumber, vxdp::kMaxSerial, &serial) || !text(password, vxdp::kMaxPassword, &pw))
        return finish(VEXO_ERR_BAD_ARGUMENT);
    return finish(vexo::Engine::instance().activate(serial, pw));
}

int VEXO_ModifyDeviceNetParam(const char *macAddress, const char *password, const DeviceNetParam *param)
{
    std::string mac, pw;
    if (!text(macAddress, vxdp::kMaxMacText, &mac) || !text(password, vxdp::kMaxPassword, &pw) || !param)
        return finish(VEXO_ERR_BAD_ARGUMENT);
    return finish(vexo::Engine::instance().modify(mac, pw, *param));
}

int VEXO_GetDeviceConfig(const char *serialNumber, uint32_t command, const void *in, uint32_t inLen, void *out,
                         uint32_t outLen)
{
    (void)in;
    (void)inLen;
    std::string serial;
    if (!text(serialNumber, vxdp::kMaxSerial, &serial))
        return finish(VEXO_ERR_BAD_ARGUMENT);
    return finish(vexo::Engine::instance().getKey(serial, command, out, outLen));
}

int VEXO_ResetPasswd(const char *serialNumber, const VEXO_RESET_PARAM *param)
{
    std::string serial;
    if (!text(serialNumber, vxdp::kMaxSerial, &serial) || !param)
        return finish(VEXO_ERR_BAD_ARGUMENT);
    return finish(vexo::Engine::instance().reset(serial, *param));
}

int VEXO_ResetDefaultPasswd(const char *serialNumber, const char *securityCode)
{
    std::string serial, code;
    if (!text(serialNumber, vxdp::kMaxSerial, &serial) || !text(securityCode, vxdp::kMaxSecurityCode, &code))
        return finish(VEXO_ERR_BAD_ARGUMENT);
    return finish(vexo::Engine::instance().restore(serial, code));
}

uint32_t VEXO_GetLastError(void)
{
    return t_lastError;
}

} // extern "C"

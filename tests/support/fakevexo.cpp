// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include "fakevexo.h"

#include <vexohandler.h>

#include <algorithm>
#include <cstring>

namespace FakeVexo {

namespace {

State &theState()
{
    static State s;
    return s;
}

int count(Call call)
{
    State &s = state();
    ++s.calls[std::size_t(call)];
    return s.results[std::size_t(call)];
}

} // namespace

State &state()
{
    return theState();
}

void reset()
{
    State &s = state();
    for (auto &c : s.calls)
        c = 0;
    s.results.fill(1);
    s.lastError = VEXO_NOERROR;
    s.logLevel = -1;
    s.logDirNull = false;
    s.logAutoDelete = -1;
    s.filterRule = -1;
    s.filterArgNull = false;
    s.filterArgLength = -1;
    s.callback = nullptr;
    s.startFlags = -1;
    s.userData = nullptr;
    s.identifier.clear();
    s.secret.clear();
    s.command = 0;
    s.input = nullptr;
    s.inputLength = 0;
    s.output = nullptr;
    s.outputLength = 0;
    s.netParam = {};
    s.resetParam = {};
}

int calls(Call call)
{
    return state().calls[std::size_t(call)];
}

void setResult(Call call, int result)
{
    state().results[std::size_t(call)] = result;
}

void deliver(const VEXO_DEVICE_INFO *record)
{
    deliver(record, state().userData);
}

void deliver(const VEXO_DEVICE_INFO *record, void *userData)
{
    if (state().callback)
        state().callback(record, userData);
}

} // namespace FakeVexo

using FakeVexo::Call;
using FakeVexo::state;

namespace {

int fakeSetLogToFile(int level, const char *logDir, int autoDelete)
{
    state().logLevel = level;
    state().logDirNull = logDir == nullptr;
    state().logAutoDelete = autoDelete;
    return FakeVexo::count(Call::SetLogToFile);
}

int fakeSetDeviceFilterRule(int rule, const char *arg, int argLen)
{
    state().filterRule = rule;
    state().filterArgNull = arg == nullptr;
    state().filterArgLength = argLen;
    return FakeVexo::count(Call::SetDeviceFilterRule);
}

int fakeStart(VEXO_DEVICE_CALLBACK callback, int flags, void *pUserData)
{
    const int result = FakeVexo::count(Call::Start);
    if (result >= 1) {
        state().callback = callback;
        state().userData = pUserData;
    }
    state().startFlags = flags;
    return result;
}

int fakeStop()
{
    const int result = FakeVexo::count(Call::Stop);
    if (result >= 1)
        state().callback = nullptr;
    return result;
}

int fakeSendInquiry()
{
    return FakeVexo::count(Call::SendInquiry);
}

int fakeClearup()
{
    return FakeVexo::count(Call::Clearup);
}

int fakeActivateDevice(const char *serialNumber, const char *password)
{
    state().identifier = serialNumber ? serialNumber : "";
    state().secret = password ? password : "";
    return FakeVexo::count(Call::ActivateDevice);
}

int fakeModifyDeviceNetParam(const char *macAddress, const char *password, const DeviceNetParam *param)
{
    state().identifier = macAddress ? macAddress : "";
    state().secret = password ? password : "";
    state().netParam = param ? *param : DeviceNetParam{};
    return FakeVexo::count(Call::ModifyDeviceNetParam);
}

int fakeGetDeviceConfig(const char *serialNumber, uint32_t command, const void *in, uint32_t inLen, void *out,
                        uint32_t outLen)
{
    state().identifier = serialNumber ? serialNumber : "";
    state().command = command;
    state().input = in;
    state().inputLength = inLen;
    state().output = out;
    state().outputLength = outLen;
    const int result = FakeVexo::count(Call::GetDeviceConfig);
    if (result >= 1 && state().fillKey && out && outLen >= sizeof(uint32_t)) {
        auto *bytes = static_cast<char *>(out);
        std::memcpy(bytes, &state().keyLength, sizeof(uint32_t));
        std::memcpy(bytes + sizeof(uint32_t), state().keyData.data(),
                    std::min<std::size_t>(state().keyData.size(), outLen - sizeof(uint32_t)));
    }
    return result;
}

int fakeResetPasswd(const char *serialNumber, const VEXO_RESET_PARAM *param)
{
    state().identifier = serialNumber ? serialNumber : "";
    state().resetParam = param ? *param : VEXO_RESET_PARAM{};
    return FakeVexo::count(Call::ResetPasswd);
}

int fakeResetDefaultPasswd(const char *serialNumber, const char *securityCode)
{
    state().identifier = serialNumber ? serialNumber : "";
    state().secret = securityCode ? securityCode : "";
    return FakeVexo::count(Call::ResetDefaultPasswd);
}

uint32_t fakeGetLastError()
{
    ++state().calls[std::size_t(Call::GetLastError)];
    return state().lastError;
}

} // namespace

namespace FakeVexo {

const VEXO::VexoLibrary &library()
{
    static const VEXO::VexoLibrary fake{
        &fakeSetLogToFile,   &fakeSetDeviceFilterRule,  &fakeStart,
        &fakeStop,           &fakeSendInquiry,          &fakeClearup,
        &fakeActivateDevice, &fakeModifyDeviceNetParam, &fakeGetDeviceConfig,
        &fakeResetPasswd,    &fakeResetDefaultPasswd,   &fakeGetLastError,
    };
    return fake;
}

} // namespace FakeVexo

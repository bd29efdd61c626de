// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <Vexo.h>
#include <vexolibrary.h>

#include <array>
#include <atomic>
#include <string>

/**
 * @brief A stand-in for the discovery library, handed to the discovery service as its table of
 *        entry points: it counts the calls, keeps the last arguments, returns chosen results,
 *        and delivers crafted records to the callback. One state per process.
 */
namespace FakeVexo {

enum class Call {
    SetLogToFile,
    SetDeviceFilterRule,
    Start,
    Stop,
    SendInquiry,
    Clearup,
    ActivateDevice,
    ModifyDeviceNetParam,
    GetDeviceConfig,
    ResetPasswd,
    ResetDefaultPasswd,
    GetLastError,
    Count
};

struct State
{
    State() { results.fill(1); }

    std::array<std::atomic<int>, std::size_t(Call::Count)> calls{};
    std::array<int, std::size_t(Call::Count)> results{}; // what each int function returns
    uint32_t lastError = VEXO_NOERROR;

    int logLevel = -1;
    bool logDirNull = false;
    int logAutoDelete = -1;
    int filterRule = -1;
    bool filterArgNull = false;
    int filterArgLength = -1;
    VEXO_DEVICE_CALLBACK callback = nullptr;
    int startFlags = -1;
    void *userData = nullptr;
    std::string identifier; // serial number or MAC of the last device operation
    std::string secret;     // password or security code of the last device operation
    uint32_t command = 0;
    const void *input = nullptr;
    uint32_t inputLength = 0;
    void *output = nullptr;
    uint32_t outputLength = 0;
    DeviceNetParam netParam{};
    VEXO_RESET_PARAM resetParam{};
    // With fillKey, a successful VEXO_GetDeviceConfig writes keyLength into the buffer's length
    // field and keyData (cut to the buffer) after it, as a library would.
    bool fillKey = false;
    uint32_t keyLength = 0;
    std::string keyData;
};

/** @brief The stand-in's entry points, for a VEXO::VexoHandler of the test's own. */
const VEXO::VexoLibrary &library();

/** @brief The fake's state; reset() brings it back to "every call succeeds, nothing called". */
State &state();
void reset();
int calls(Call call);
void setResult(Call call, int result);

/** @brief Calls the callback given to VEXO_Start_V30 as the library's thread would. */
void deliver(const VEXO_DEVICE_INFO *record);
/** @brief The same with an explicit user pointer, as a misbehaving library could. */
void deliver(const VEXO_DEVICE_INFO *record, void *userData);

} // namespace FakeVexo

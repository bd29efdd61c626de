// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "environment.h"

#include "transport.h"

#include <cstdlib>
#include <cstring>

namespace vexo {

namespace {

class Reader
{
public:
    explicit Reader(Environment &env)
        : m_env(env)
    {}

    // Unset or empty variables keep the default.
    const char *text(const char *name) const
    {
        const char *v = std::getenv(name);
        return v && *v ? v : nullptr;
    }

    void number(const char *name, long min, long max, long *out)
    {
        const char *v = text(name);
        if (!v)
            return;
        char *end = nullptr;
        const long n = std::strtol(v, &end, 10);
        if (*end || n < min || n > max)
            refuse(name, "a whole number from " + std::to_string(min) + " to " + std::to_string(max));
        else
            *out = n;
    }

    void refuse(const char *name, const std::string &expected)
    {
        if (!m_env.valid)
            return; // the first fault is the one reported
        m_env.valid = false;
        m_env.error = std::string(name) + " must be " + expected;
    }

private:
    Environment &m_env;
};

} // namespace

Environment readEnvironment()
{
    Environment env;
    Reader in(env);
    if (const char *scope = in.text("VEXO_SCOPE")) {
        if (std::strcmp(scope, "loopback") == 0)
            env.scope = Scope::Loopback;
        else if (std::strcmp(scope, "lan") == 0)
            env.scope = Scope::Lan;
        else
            in.refuse("VEXO_SCOPE", "\"lan\" or \"loopback\"");
    }
    long port = env.devicePort;
    in.number("VEXO_PORT", 1, vxdp::kMaxDevicePort, &port);
    env.devicePort = static_cast<std::uint16_t>(port);
    if (const char *group = in.text("VEXO_GROUP")) {
        std::uint32_t address = 0;
        if (!parseIpv4(group, &address) || (address >> 28) != 0xE)
            in.refuse("VEXO_GROUP", "an IPv4 multicast address");
        else
            env.group = address;
    }
    constexpr long kDay = 24L * 3600 * 1000;
    in.number("VEXO_INQUIRY_INTERVAL_MS", 1, kDay, &env.inquiryIntervalMs);
    in.number("VEXO_OFFLINE_TIMEOUT_MS", 1, kDay, &env.offlineTimeoutMs);
    in.number("VEXO_TIMEOUT_MS", 1, kDay, &env.timeoutMs);
    if (const char *dir = in.text("VEXO_LOG_DIR"))
        env.logDir = dir;
    return env;
}

} // namespace vexo

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "environment.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace vexo {

/** Where the library talks (VEXO_SCOPE, VEXO_PORT and VEXO_GROUP of the environment). */
struct TransportConfig
{
    Scope scope = Scope::Lan;
    std::uint16_t devicePort = 37020;
    std::uint32_t group = 0; ///< IPv4 multicast group, host byte order
};

/** An IPv4 interface of this host (addresses in host byte order). */
struct HostInterface
{
    std::string name;
    std::uint32_t address = 0;
    std::uint32_t netmask = 0;
    bool loopback = false;
    bool multicast = false;
};
std::vector<HostInterface> hostInterfaces();

/** IPv4 text to host-order address; false on anything but a dotted quad. */
bool parseIpv4(const char *text, std::uint32_t *out);

/**
 * The library's UDP socket. One thread receives; any thread may send.
 * In the LAN scope every send goes out once on each multicast-capable interface.
 */
class Transport
{
public:
    Transport();
    ~Transport();
    Transport(const Transport &) = delete;
    Transport &operator=(const Transport &) = delete;

    bool open(const TransportConfig &config, std::string *error);
    void close();

    /** Sends a datagram to the devices; false when no copy could be sent. */
    bool sendToDevices(const std::vector<std::uint8_t> &datagram);
    /** Waits until a datagram can be read or the timeout passes. */
    bool waitReadable(int timeoutMs);
    /** Reads one datagram without blocking; -1 when none is waiting. */
    int receive(std::uint8_t *buffer, std::size_t capacity);

private:
    TransportConfig m_config;
    std::mutex m_sendMutex;
    std::vector<std::uint32_t> m_lanInterfaces;
#if defined(_WIN32)
    std::uintptr_t m_socket;
#else
    int m_socket = -1;
#endif
};

} // namespace vexo

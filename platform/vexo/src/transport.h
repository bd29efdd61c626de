// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "environment.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace vexo {

/** Where the library talks (VEXO_SCOPE, VEXO_PORT and VEXO_GROUP of the environment). */
struct TransportConfig
{
    Scope scope = Scope::Lan;
    std::uint16_t devicePort = vxdp::kDefaultDevicePort;
    std::uint32_t group = 0; ///< IPv4 multicast group, host byte order
};

/**
 * An IPv4 address of an adapter of this host (addresses in host byte order). An adapter
 * that is up and multicast-capable but has no IPv4 address is listed once with address 0:
 * multicast by interface index still reaches the devices behind it.
 */
struct HostInterface
{
    std::string name;
    unsigned index = 0;        ///< the adapter's interface index, 0 where unknown
    std::uint32_t address = 0; ///< 0: the adapter has no IPv4 address
    std::uint32_t netmask = 0;
    bool loopback = false;
    bool multicast = false;
};
std::vector<HostInterface> hostInterfaces();

/** IPv4 text to host-order address; false on anything but a dotted quad. */
bool parseIpv4(const char *text, std::uint32_t *out);

/** An adapter on which the LAN scope joined the group and sends. */
struct Membership
{
    std::string name;
    unsigned index = 0;
    std::uint32_t address = 0; ///< 0: the adapter is used by its index alone
    bool operator==(const Membership &) const = default;
};

/** The adapters the LAN scope uses: those up and multicast-capable, loopback excepted. */
std::vector<Membership> multicastAdapters();

/** An adapter on which the LAN scope also talks over IPv6, from its link-local address. */
struct LinkLocalAdapter
{
    std::string name;
    unsigned index = 0;                     ///< the adapter's interface index: the scope of its link
    std::array<std::uint8_t, 16> address{}; ///< its link-local address (fe80::/10)
    bool operator==(const LinkLocalAdapter &) const = default;
};

/**
 * The adapters that are up, multicast-capable and not loopback, with a link-local IPv6
 * address that can send (past duplicate address detection), one entry per adapter.
 * An adapter with IPv6 switched off has none and is not listed.
 */
std::vector<LinkLocalAdapter> linkLocalAdapters();

/**
 * The library's UDP sockets. One thread receives; any thread may send.
 * In the LAN scope every send goes out once on each multicast-capable adapter to the IPv4
 * group, and once on each adapter with a link-local IPv6 address to the IPv6 link-local
 * group (vxdp::kLinkLocalGroup), so that devices are reached from an adapter without any
 * IPv4 address too. The adapters are followed as they come and go. Datagrams of both paths
 * come out of receive() alike: a device heard on both is told apart by its announcement alone.
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
    /** Reads one datagram without blocking; -1 when none is waiting. @p sender gets its source address. */
    int receive(std::uint8_t *buffer, std::size_t capacity, std::string *sender = nullptr);

    /**
     * Reads the host's adapters again: joins the group on new ones, leaves vanished
     * ones and logs each change. True when an adapter was added. No-op outside the LAN scope.
     */
    bool refreshInterfaces();
    /** True once after the platform reported an address or adapter change. */
    bool takeInterfaceChange() { return m_interfacesChanged.exchange(false); }
    /** The adapters the group is joined on, and those on which joining failed. */
    std::vector<Membership> memberships() const;
    std::vector<std::string> failedJoins() const;
    /** The adapters the IPv6 link-local group is joined on and sent to. */
    std::vector<LinkLocalAdapter> linkLocalMemberships() const;

private:
#if defined(_WIN32)
    using NativeSocket = std::uintptr_t;
#else
    using NativeSocket = int;
#endif
    void watchInterfaces();
    void unwatchInterfaces();
    /** Opens the IPv6 sockets of the LAN scope; false (and IPv4 alone) where the host has no IPv6. */
    bool openLinkLocal();
    /** Joins and leaves the IPv6 group as adapters come and go; true when one was added. Under m_sendMutex. */
    bool refreshLinkLocal();
    int receiveFrom(NativeSocket s, bool linkLocal, std::uint8_t *buffer, std::size_t capacity, std::string *sender);
    /** Like receiveFrom() for the IPv4 socket, read in batches where the system can (Linux). */
    int receiveIpv4(std::uint8_t *buffer, std::size_t capacity, std::string *sender);
    /** The size of an IPv4 datagram from @p from for receive(): 0 for one the scope ignores. */
    int acceptIpv4(const void *from, int size, std::string *sender);

    TransportConfig m_config;
    mutable std::mutex m_sendMutex; // guards the socket's outgoing-interface option and the lists below
    std::vector<Membership> m_lanInterfaces;
    std::vector<std::string> m_failedJoins;
    std::vector<LinkLocalAdapter> m_linkLocal;
    std::vector<std::string> m_failedLinkLocalJoins;
    unsigned m_nextReceive = 0; // the socket receive() reads first, so that no path starves the others
    // IPv4 datagrams read at once but not handed out yet: one system call takes a burst of answers.
    struct Batch;
    std::unique_ptr<Batch> m_batch;
    // The text of the last IPv4 sender: a burst of answers comes from few addresses.
    std::uint32_t m_lastSender = 0;
    std::string m_lastSenderText;
    std::atomic<bool> m_interfacesChanged{false};
#if defined(_WIN32)
    void *m_changeHandle = nullptr; // NotifyIpInterfaceChange registration
#else
    int m_netlink = -1; // address and link notifications
#endif
    NativeSocket m_socket;
    // LAN scope, IPv6: announcements to the group come to the answer port; inquiries and requests
    // leave from an ephemeral port of their own, where the devices' unicast answers come back.
    NativeSocket m_groupSocket6;
    NativeSocket m_socket6;
};

} // namespace vexo

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "transport.h"

#include "logger.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#    include <winsock2.h>
#    include <ws2tcpip.h>
#    include <iphlpapi.h>
#    include <netioapi.h>
#    include <mswsock.h>
#    if !defined(SIO_UDP_CONNRESET)
#        define SIO_UDP_CONNRESET _WSAIOW(IOC_VENDOR, 12)
#    endif
using SocketHandle = SOCKET;
static constexpr SocketHandle kNoSocket = INVALID_SOCKET;
static int closeSocket(SocketHandle s)
{
    return closesocket(s);
}
static int pollSockets(WSAPOLLFD *fds, ULONG n, int timeout)
{
    return WSAPoll(fds, n, timeout);
}
using PollFd = WSAPOLLFD;
// Winsock reports its errors here, not in errno.
static bool lastErrorIsAddressInUse()
{
    return WSAGetLastError() == WSAEADDRINUSE;
}
#else
#    include <arpa/inet.h>
#    include <cerrno>
#    include <fcntl.h>
#    include <ifaddrs.h>
#    include <net/if.h>
#    include <netinet/in.h>
#    include <poll.h>
#    include <sys/socket.h>
#    include <unistd.h>
#    if defined(__linux__)
#        include <linux/netlink.h>
#        include <linux/rtnetlink.h>
#    endif
using SocketHandle = int;
static constexpr SocketHandle kNoSocket = -1;
static int closeSocket(SocketHandle s)
{
    return ::close(s);
}
static int pollSockets(pollfd *fds, nfds_t n, int timeout)
{
    return ::poll(fds, n, timeout);
}
using PollFd = pollfd;
static bool lastErrorIsAddressInUse()
{
    return errno == EADDRINUSE;
}
#endif

namespace vexo {

#if defined(__linux__)
struct Transport::Batch
{
    // A burst of answers is read 32 at a time; more buffers gain little once system calls are rare.
    static constexpr unsigned kSize = 32;
    // Room for more than the largest datagram of the protocol, so that receive() still sees an oversized one.
    std::array<std::array<std::uint8_t, 2048>, kSize> data{};
    std::array<sockaddr_in, kSize> from{};
    std::array<iovec, kSize> vectors{};
    std::array<mmsghdr, kSize> headers{};
    unsigned count = 0;
    unsigned next = 0;
};
#else
struct Transport::Batch
{
};
#endif

namespace {

#if defined(_WIN32)
bool winsockUp()
{
    static const bool ok = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ok;
}

// The adapters of one address family (AF_UNSPEC for all), their list held in buffer; null
// when Winsock or the call fails.
IP_ADAPTER_ADDRESSES *adapterList(ULONG family, std::vector<unsigned char> &buffer)
{
    if (!winsockUp())
        return nullptr;
    ULONG size = 16 * 1024;
    buffer.resize(size);
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_DNS_SERVER | GAA_FLAG_SKIP_MULTICAST;
    auto *adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES *>(buffer.data());
    if (GetAdaptersAddresses(family, flags, nullptr, adapters, &size) == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES *>(buffer.data());
    }
    return GetAdaptersAddresses(family, flags, nullptr, adapters, &size) == NO_ERROR ? adapters : nullptr;
}
#endif

sockaddr_in makeAddress(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(port);
    return a;
}

bool isLinkLocal(const std::uint8_t *a)
{
    return a[0] == 0xfe && (a[1] & 0xc0) == 0x80;
}

std::string ipv6Text(const std::array<std::uint8_t, 16> &a)
{
    char text[64] = "?";
    inet_ntop(AF_INET6, a.data(), text, sizeof text);
    return text;
}

// Ten thousand devices answer one inquiry within a second: give the kernel room.
void growReceiveBuffer(SocketHandle s)
{
    int rcvbuf = 8 * 1024 * 1024;
#if defined(SO_RCVBUFFORCE)
    if (setsockopt(s, SOL_SOCKET, SO_RCVBUFFORCE, reinterpret_cast<const char *>(&rcvbuf), sizeof rcvbuf) != 0)
#endif
        setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&rcvbuf), sizeof rcvbuf);
}

// Several programs on one host may listen for the devices' announcements.
void shareAddress(SocketHandle s)
{
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char *>(&on), sizeof on);
#if defined(SO_REUSEPORT)
    setsockopt(s, SOL_SOCKET, SO_REUSEPORT, reinterpret_cast<const char *>(&on), sizeof on);
#endif
}

void makeNonBlocking(SocketHandle s)
{
#if defined(_WIN32)
    u_long nonBlocking = 1;
    ioctlsocket(s, FIONBIO, &nonBlocking);
    // Windows turns an ICMP "port unreachable" for an earlier datagram into a failing
    // recvfrom on this socket; one closed peer must not stop the answers of the others.
    BOOL reportReset = FALSE;
    DWORD returned = 0;
    WSAIoctl(s, SIO_UDP_CONNRESET, &reportReset, sizeof reportReset, nullptr, 0, &returned, nullptr, nullptr);
#else
    fcntl(s, F_SETFL, fcntl(s, F_GETFL, 0) | O_NONBLOCK);
#endif
}

// An IPv6-only UDP socket on the port (0: an ephemeral one); kNoSocket where the host has no IPv6.
SocketHandle openIpv6Socket(std::uint16_t port, bool shared)
{
    SocketHandle s = ::socket(AF_INET6, SOCK_DGRAM, IPPROTO_UDP);
    if (s == kNoSocket)
        return kNoSocket;
    const int on = 1;
    setsockopt(s, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char *>(&on), sizeof on);
    if (shared)
        shareAddress(s);
    growReceiveBuffer(s);
    sockaddr_in6 local{};
    local.sin6_family = AF_INET6;
    local.sin6_port = htons(port);
    if (::bind(s, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        closeSocket(s);
        return kNoSocket;
    }
    makeNonBlocking(s);
    return s;
}

#if defined(__linux__)
// getifaddrs lists addresses still in duplicate address detection, which cannot send yet,
// and those that failed it; /proc/net/if_inet6 tells them apart by their flags.
std::vector<std::array<std::uint8_t, 16>> ipv6AddressesThatCannotSend()
{
    std::vector<std::array<std::uint8_t, 16>> list;
    std::FILE *f = std::fopen("/proc/net/if_inet6", "r");
    if (!f)
        return list;
    char hex[33] = {};
    unsigned index = 0, prefix = 0, scope = 0, flags = 0;
    char name[64] = {};
    while (std::fscanf(f, "%32s %x %x %x %x %63s", hex, &index, &prefix, &scope, &flags, name) == 6) {
        if (!(flags & (IFA_F_TENTATIVE | IFA_F_DADFAILED)) || std::strlen(hex) != 32)
            continue;
        std::array<std::uint8_t, 16> a{};
        bool ok = true;
        for (std::size_t i = 0; ok && i < a.size(); ++i) {
            unsigned byte = 0;
            ok = std::sscanf(hex + 2 * i, "%2x", &byte) == 1;
            a[i] = static_cast<std::uint8_t>(byte);
        }
        if (ok)
            list.push_back(a);
    }
    std::fclose(f);
    return list;
}
#endif

} // namespace

// One membership per adapter where the group is joined by interface index (Linux), one
// per IPv4 address elsewhere; an adapter without IPv4 is always used by its index.
std::vector<Membership> multicastAdapters()
{
    std::vector<Membership> wanted;
    for (const HostInterface &i : hostInterfaces()) {
        if (!i.multicast)
            continue;
        Membership m{i.name, i.index, i.address};
#if defined(__linux__)
        const auto same = [&m](const Membership &o) {
            return o.index == m.index;
        };
        if (m.index == 0 || std::any_of(wanted.begin(), wanted.end(), same))
            continue;
#else
        if (m.address == 0 && m.index == 0)
            continue;
#endif
        wanted.push_back(m);
    }
    return wanted;
}

std::vector<LinkLocalAdapter> linkLocalAdapters()
{
    std::vector<LinkLocalAdapter> list;
    const auto listed = [&list](unsigned index) {
        return std::any_of(list.begin(), list.end(), [index](const LinkLocalAdapter &a) { return a.index == index; });
    };
#if defined(_WIN32)
    std::vector<unsigned char> buffer;
    IP_ADAPTER_ADDRESSES *adapters = adapterList(AF_INET6, buffer);
    for (auto *a = adapters; a; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp || a->IfType == IF_TYPE_SOFTWARE_LOOPBACK
            || (a->Flags & IP_ADAPTER_NO_MULTICAST) || a->Ipv6IfIndex == 0 || listed(a->Ipv6IfIndex))
            continue;
        for (auto *u = a->FirstUnicastAddress; u; u = u->Next) {
            const auto *sa = reinterpret_cast<const sockaddr_in6 *>(u->Address.lpSockaddr);
            const auto *bytes = reinterpret_cast<const std::uint8_t *>(&sa->sin6_addr);
            if (sa->sin6_family != AF_INET6 || !isLinkLocal(bytes)
                || (u->DadState != IpDadStatePreferred && u->DadState != IpDadStateDeprecated))
                continue;
            LinkLocalAdapter l;
            l.name = a->AdapterName;
            l.index = a->Ipv6IfIndex;
            std::memcpy(l.address.data(), bytes, l.address.size());
            list.push_back(l);
            break;
        }
    }
#else
    ifaddrs *all = nullptr;
    if (getifaddrs(&all) != 0)
        return list;
#    if defined(__linux__)
    const auto cannotSend = ipv6AddressesThatCannotSend();
#    endif
    for (ifaddrs *a = all; a; a = a->ifa_next) {
        const unsigned wanted = IFF_UP | IFF_MULTICAST;
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET6 || (a->ifa_flags & wanted) != wanted
            || (a->ifa_flags & IFF_LOOPBACK))
            continue;
        const auto *sa = reinterpret_cast<const sockaddr_in6 *>(a->ifa_addr);
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(&sa->sin6_addr);
        if (!isLinkLocal(bytes))
            continue;
        LinkLocalAdapter l;
        l.name = a->ifa_name;
        l.index = if_nametoindex(a->ifa_name);
        std::memcpy(l.address.data(), bytes, l.address.size());
#    if defined(__linux__)
        if (std::find(cannotSend.begin(), cannotSend.end(), l.address) != cannotSend.end())
            continue;
#    endif
        if (l.index != 0 && !listed(l.index))
            list.push_back(l);
    }
    freeifaddrs(all);
#endif
    return list;
}

namespace {

std::string describe(const LinkLocalAdapter &a)
{
    return a.name + " (index " + std::to_string(a.index) + ", " + ipv6Text(a.address) + ")";
}

bool setLinkLocalMembership(SocketHandle s, unsigned index, bool join)
{
    ipv6_mreq r{};
    std::memcpy(&r.ipv6mr_multiaddr, vxdp::kLinkLocalGroup.data(), vxdp::kLinkLocalGroup.size());
    r.ipv6mr_interface = index;
    const int option = join ? IPV6_JOIN_GROUP : IPV6_LEAVE_GROUP;
    return setsockopt(s, IPPROTO_IPV6, option, reinterpret_cast<const char *>(&r), sizeof r) == 0
           || (join && lastErrorIsAddressInUse());
}

std::string describe(const Membership &m)
{
    char address[16] = "no IPv4";
    if (m.address != 0)
        std::snprintf(address, sizeof address, "%u.%u.%u.%u", m.address >> 24, (m.address >> 16) & 0xFF,
                      (m.address >> 8) & 0xFF, m.address & 0xFF);
    return m.name + " (index " + std::to_string(m.index) + ", " + address + ")";
}

bool setMembership(SocketHandle s, std::uint32_t group, const Membership &m, bool join)
{
    const int option = join ? IP_ADD_MEMBERSHIP : IP_DROP_MEMBERSHIP;
#if defined(__linux__)
    ip_mreqn r{};
    r.imr_multiaddr.s_addr = htonl(group);
    r.imr_ifindex = static_cast<int>(m.index);
#else
    ip_mreq r{};
    r.imr_multiaddr.s_addr = htonl(group);
    // Elsewhere an address 0.0.0.x names the interface of index x.
    r.imr_interface.s_addr = htonl(m.address != 0 ? m.address : m.index);
#endif
    return setsockopt(s, IPPROTO_IP, option, reinterpret_cast<const char *>(&r), sizeof r) == 0
           || (join && lastErrorIsAddressInUse());
}

bool selectOutgoing(SocketHandle s, const Membership &m)
{
#if defined(__linux__)
    ip_mreqn r{}; // by index: the kernel picks the adapter's own source address, if it has one
    r.imr_ifindex = static_cast<int>(m.index);
#elif defined(_WIN32)
    DWORD r = htonl(m.address != 0 ? m.address : m.index);
#else
    in_addr r{};
    r.s_addr = htonl(m.address);
#endif
    return setsockopt(s, IPPROTO_IP, IP_MULTICAST_IF, reinterpret_cast<const char *>(&r), sizeof r) == 0;
}

} // namespace

bool parseIpv4(const char *text, std::uint32_t *out)
{
    in_addr a{};
    if (!text || inet_pton(AF_INET, text, &a) != 1)
        return false;
    *out = ntohl(a.s_addr);
    return true;
}

std::vector<HostInterface> hostInterfaces()
{
    std::vector<HostInterface> list;
#if defined(_WIN32)
    // AF_UNSPEC: adapters with IPv6 only are listed too, to be used by their index.
    std::vector<unsigned char> buffer;
    IP_ADAPTER_ADDRESSES *adapters = adapterList(AF_UNSPEC, buffer);
    for (auto *a = adapters; a; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp)
            continue;
        const bool loopback = a->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
        const bool multicast = !loopback && !(a->Flags & IP_ADAPTER_NO_MULTICAST);
        bool hasIpv4 = false;
        for (auto *u = a->FirstUnicastAddress; u; u = u->Next) {
            const auto *sa = reinterpret_cast<const sockaddr_in *>(u->Address.lpSockaddr);
            if (sa->sin_family != AF_INET)
                continue;
            hasIpv4 = true;
            HostInterface i;
            i.name = a->AdapterName;
            i.index = a->IfIndex;
            i.address = ntohl(sa->sin_addr.s_addr);
            const unsigned prefix = u->OnLinkPrefixLength;
            i.netmask = prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - prefix);
            i.loopback = loopback;
            i.multicast = multicast;
            list.push_back(i);
        }
        if (!hasIpv4 && multicast && a->IfIndex != 0 && (a->Flags & IP_ADAPTER_IPV4_ENABLED)) {
            HostInterface i;
            i.name = a->AdapterName;
            i.index = a->IfIndex;
            i.multicast = true;
            list.push_back(i);
        }
    }
#else
    ifaddrs *all = nullptr;
    if (getifaddrs(&all) != 0)
        return list;
    std::vector<std::string> withIpv4;
    for (ifaddrs *a = all; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP))
            continue;
        HostInterface i;
        i.name = a->ifa_name;
        i.index = if_nametoindex(a->ifa_name);
        i.address = ntohl(reinterpret_cast<const sockaddr_in *>(a->ifa_addr)->sin_addr.s_addr);
        i.netmask = a->ifa_netmask ? ntohl(reinterpret_cast<const sockaddr_in *>(a->ifa_netmask)->sin_addr.s_addr) : 0;
        i.loopback = a->ifa_flags & IFF_LOOPBACK;
        i.multicast = !i.loopback && (a->ifa_flags & IFF_MULTICAST);
        list.push_back(i);
        withIpv4.push_back(i.name);
    }
    // Adapters that are up without an IPv4 address (a link before its automatic address, an
    // IPv6-only link): each appears once among the entries of other families.
    for (ifaddrs *a = all; a; a = a->ifa_next) {
        const unsigned wanted = IFF_UP | IFF_MULTICAST;
        if ((a->ifa_flags & wanted) != wanted || (a->ifa_flags & IFF_LOOPBACK)
            || std::find(withIpv4.begin(), withIpv4.end(), a->ifa_name) != withIpv4.end())
            continue;
        HostInterface i;
        i.name = a->ifa_name;
        i.index = if_nametoindex(a->ifa_name);
        i.multicast = i.index != 0;
        if (i.multicast) {
            list.push_back(i);
            withIpv4.push_back(i.name); // listed now: once is enough
        }
    }
    freeifaddrs(all);
#endif
    return list;
}

Transport::Transport()
    : m_socket(kNoSocket)
    , m_groupSocket6(kNoSocket)
    , m_socket6(kNoSocket)
{}

Transport::~Transport()
{
    close();
}

bool Transport::open(const TransportConfig &config, std::string *error)
{
    close();
#if defined(_WIN32)
    if (!winsockUp()) {
        *error = "Winsock unavailable";
        return false;
    }
#endif
    m_config = config;
    SocketHandle s = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == kNoSocket) {
        *error = "cannot create a UDP socket";
        return false;
    }
    growReceiveBuffer(s);

    sockaddr_in bindAddress{};
    if (config.scope == Scope::Loopback) {
        bindAddress = makeAddress(INADDR_LOOPBACK, 0);
    } else {
        // Several programs on one host may listen for the devices' answers.
        shareAddress(s);
        bindAddress = makeAddress(INADDR_ANY, vxdp::answerPort(config.devicePort));
    }
    if (::bind(s, reinterpret_cast<const sockaddr *>(&bindAddress), sizeof bindAddress) != 0) {
        *error = "cannot bind the UDP socket";
        closeSocket(s);
        return false;
    }
    makeNonBlocking(s);

    m_socket = s;
#if defined(__linux__)
    m_batch = std::make_unique<Batch>();
#endif
    m_lastSender = 0;
    m_lastSenderText.clear();
    if (config.scope == Scope::Lan) {
        const unsigned char ttl = 1;
        setsockopt(s, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char *>(&ttl), sizeof ttl);
        if (!openLinkLocal())
            VEXO_LOG(LogLevel::Info, "no IPv6 on this host: devices are reached over IPv4 alone");
        watchInterfaces();
        refreshInterfaces();
        if (memberships().empty() && linkLocalMemberships().empty())
            VEXO_LOG(LogLevel::Warning, "no multicast-capable interface: no device can be found until one is up");
    }
    return true;
}

bool Transport::openLinkLocal()
{
    const SocketHandle group = openIpv6Socket(vxdp::answerPort(m_config.devicePort), true);
    const SocketHandle own = group == kNoSocket ? kNoSocket : openIpv6Socket(0, false);
    if (own == kNoSocket) {
        if (group != kNoSocket)
            closeSocket(group);
        return false;
    }
    // Link-local: nothing the library sends over IPv6 may leave the link.
    const int hops = 1;
    setsockopt(own, IPPROTO_IPV6, IPV6_MULTICAST_HOPS, reinterpret_cast<const char *>(&hops), sizeof hops);
    m_groupSocket6 = group;
    m_socket6 = own;
    return true;
}

void Transport::close()
{
    unwatchInterfaces();
    {
        std::lock_guard lock(m_sendMutex);
        m_lanInterfaces.clear();
        m_failedJoins.clear();
        m_linkLocal.clear();
        m_failedLinkLocalJoins.clear();
    }
    for (NativeSocket *s : {&m_socket, &m_groupSocket6, &m_socket6}) {
        if (*s != kNoSocket) {
            closeSocket(static_cast<SocketHandle>(*s));
            *s = kNoSocket;
        }
    }
    m_batch.reset();
}

bool Transport::sendToDevices(const std::vector<std::uint8_t> &datagram)
{
    std::lock_guard lock(m_sendMutex);
    const auto s = static_cast<SocketHandle>(m_socket);
    if (s == kNoSocket)
        return false;
    const auto *data = reinterpret_cast<const char *>(datagram.data());
    const auto size = static_cast<int>(datagram.size());
    if (m_config.scope == Scope::Loopback) {
        const sockaddr_in to = makeAddress(INADDR_LOOPBACK, m_config.devicePort);
        return ::sendto(s, data, size, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) == size;
    }
    // The devices may sit in any subnet: one multicast copy per adapter reaches each link.
    bool any = false;
    const sockaddr_in to = makeAddress(m_config.group, m_config.devicePort);
    for (const Membership &m : m_lanInterfaces) {
        if (!selectOutgoing(s, m))
            continue;
        if (::sendto(s, data, size, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) == size)
            any = true;
    }
    // And the IPv6 link-local group on each adapter, from the adapter's link-local address:
    // this copy needs no IPv4 address on either side.
    const auto s6 = static_cast<SocketHandle>(m_socket6);
    sockaddr_in6 to6{};
    to6.sin6_family = AF_INET6;
    std::memcpy(&to6.sin6_addr, vxdp::kLinkLocalGroup.data(), vxdp::kLinkLocalGroup.size());
    to6.sin6_port = htons(m_config.devicePort);
    for (const LinkLocalAdapter &a : m_linkLocal) {
        const auto index = static_cast<unsigned>(a.index); // an int on Linux, a DWORD on Windows: four bytes
        if (setsockopt(s6, IPPROTO_IPV6, IPV6_MULTICAST_IF, reinterpret_cast<const char *>(&index), sizeof index) != 0)
            continue;
        to6.sin6_scope_id = a.index;
        if (::sendto(s6, data, size, 0, reinterpret_cast<const sockaddr *>(&to6), sizeof to6) == size)
            any = true;
    }
    return any;
}

bool Transport::refreshInterfaces()
{
    if (m_config.scope != Scope::Lan)
        return false;
    const std::vector<Membership> wanted = multicastAdapters();
    std::lock_guard lock(m_sendMutex);
    const auto s = static_cast<SocketHandle>(m_socket);
    if (s == kNoSocket)
        return false;
    const auto contains = [](const std::vector<Membership> &list, const Membership &m) {
        return std::find(list.begin(), list.end(), m) != list.end();
    };
    std::vector<Membership> kept;
    for (const Membership &m : m_lanInterfaces) {
        if (contains(wanted, m)) {
            kept.push_back(m);
            continue;
        }
        // Leaving fails harmlessly when the adapter is already gone; the kernel then dropped it.
        setMembership(s, m_config.group, m, false);
        VEXO_LOG(LogLevel::Info, "adapter %s is gone: left the group", describe(m).c_str());
    }
    bool added = false;
    std::vector<std::string> failed;
    for (const Membership &m : wanted) {
        if (contains(kept, m))
            continue;
        if (setMembership(s, m_config.group, m, true)) {
            kept.push_back(m);
            added = true;
            VEXO_LOG(LogLevel::Info, "adapter %s is up: joined the group", describe(m).c_str());
        } else {
            failed.push_back(m.name);
            if (std::find(m_failedJoins.begin(), m_failedJoins.end(), m.name) == m_failedJoins.end())
                VEXO_LOG(LogLevel::Warning, "cannot join the group on %s", describe(m).c_str());
        }
    }
    m_lanInterfaces = std::move(kept);
    m_failedJoins = std::move(failed);
    return refreshLinkLocal() || added;
}

bool Transport::refreshLinkLocal()
{
    const auto group = static_cast<SocketHandle>(m_groupSocket6);
    if (group == kNoSocket)
        return false;
    const std::vector<LinkLocalAdapter> wanted = linkLocalAdapters();
    const auto contains = [](const std::vector<LinkLocalAdapter> &list, const LinkLocalAdapter &a) {
        return std::find(list.begin(), list.end(), a) != list.end();
    };
    const auto onAdapter = [](const std::vector<LinkLocalAdapter> &list, unsigned index) {
        return std::any_of(list.begin(), list.end(), [index](const LinkLocalAdapter &o) { return o.index == index; });
    };
    std::vector<LinkLocalAdapter> kept;
    for (const LinkLocalAdapter &a : m_linkLocal) {
        if (contains(wanted, a)) {
            kept.push_back(a);
            continue;
        }
        if (onAdapter(wanted, a.index))
            continue; // a new address on the same adapter, which stays a member
        setLinkLocalMembership(group, a.index, false);
        VEXO_LOG(LogLevel::Info, "adapter %s has no link-local IPv6 address any more: left the IPv6 group",
                 describe(a).c_str());
    }
    bool added = false;
    std::vector<std::string> failed;
    for (const LinkLocalAdapter &a : wanted) {
        if (contains(kept, a))
            continue;
        if (onAdapter(m_linkLocal, a.index) || setLinkLocalMembership(group, a.index, true)) {
            kept.push_back(a);
            added = true;
            VEXO_LOG(LogLevel::Info, "adapter %s has a link-local IPv6 address: joined the IPv6 group %s",
                     describe(a).c_str(), vxdp::kLinkLocalGroupText);
        } else {
            failed.push_back(a.name);
            if (std::find(m_failedLinkLocalJoins.begin(), m_failedLinkLocalJoins.end(), a.name)
                == m_failedLinkLocalJoins.end())
                VEXO_LOG(LogLevel::Warning, "cannot join the IPv6 group on %s", describe(a).c_str());
        }
    }
    m_linkLocal = std::move(kept);
    m_failedLinkLocalJoins = std::move(failed);
    return added;
}

std::vector<LinkLocalAdapter> Transport::linkLocalMemberships() const
{
    std::lock_guard lock(m_sendMutex);
    return m_linkLocal;
}

std::vector<Membership> Transport::memberships() const
{
    std::lock_guard lock(m_sendMutex);
    return m_lanInterfaces;
}

std::vector<std::string> Transport::failedJoins() const
{
    std::lock_guard lock(m_sendMutex);
    return m_failedJoins;
}

#if defined(_WIN32)
namespace {
void WINAPI onInterfaceChange(PVOID context, PMIB_IPINTERFACE_ROW, MIB_NOTIFICATION_TYPE)
{
    static_cast<std::atomic<bool> *>(context)->store(true);
}
void WINAPI onAddressChange(PVOID context, PMIB_UNICASTIPADDRESS_ROW, MIB_NOTIFICATION_TYPE)
{
    static_cast<std::atomic<bool> *>(context)->store(true);
}
HANDLE g_addressHandle = nullptr; // one session at a time
} // namespace

void Transport::watchInterfaces()
{
    HANDLE h = nullptr;
    if (NotifyIpInterfaceChange(AF_UNSPEC, &onInterfaceChange, &m_interfacesChanged, FALSE, &h) == NO_ERROR)
        m_changeHandle = h;
    if (NotifyUnicastIpAddressChange(AF_UNSPEC, &onAddressChange, &m_interfacesChanged, FALSE, &g_addressHandle)
        != NO_ERROR)
        g_addressHandle = nullptr;
    if (!m_changeHandle)
        VEXO_LOG(LogLevel::Warning, "no adapter change notification: adapters are read again at each inquiry");
}

void Transport::unwatchInterfaces()
{
    if (m_changeHandle)
        CancelMibChangeNotify2(static_cast<HANDLE>(m_changeHandle));
    if (g_addressHandle)
        CancelMibChangeNotify2(g_addressHandle);
    m_changeHandle = nullptr;
    g_addressHandle = nullptr;
}
#elif defined(__linux__)
void Transport::watchInterfaces()
{
    m_netlink = ::socket(AF_NETLINK, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, NETLINK_ROUTE);
    sockaddr_nl local{};
    local.nl_family = AF_NETLINK;
    local.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV6_IFADDR;
    if (m_netlink >= 0 && ::bind(m_netlink, reinterpret_cast<const sockaddr *>(&local), sizeof local) != 0) {
        ::close(m_netlink);
        m_netlink = -1;
    }
    if (m_netlink < 0)
        VEXO_LOG(LogLevel::Warning, "no adapter change notification: adapters are read again at each inquiry");
}

void Transport::unwatchInterfaces()
{
    if (m_netlink >= 0)
        ::close(m_netlink);
    m_netlink = -1;
}
#else
void Transport::watchInterfaces() {}
void Transport::unwatchInterfaces() {}
#endif

bool Transport::waitReadable(int timeoutMs)
{
#if defined(__linux__)
    if (m_batch && m_batch->next < m_batch->count)
        return true; // read before, not handed out yet
#endif
    PollFd fds[4]{};
    unsigned n = 0;
    for (const NativeSocket s : {m_socket, m_groupSocket6, m_socket6}) {
        if (s == kNoSocket)
            continue;
        fds[n].fd = static_cast<SocketHandle>(s);
        fds[n].events = POLLIN;
        ++n;
    }
    const unsigned sockets = n;
#if defined(__linux__)
    if (m_netlink >= 0) {
        fds[n].fd = m_netlink;
        fds[n].events = POLLIN;
        ++n;
    }
#endif
    if (n == 0 || pollSockets(fds, n, timeoutMs) <= 0)
        return false;
#if defined(__linux__)
    if (n > sockets && (fds[sockets].revents & POLLIN)) {
        // What changed is read from the adapter list itself: the messages only say that something did.
        char drain[8192];
        while (::recv(m_netlink, drain, sizeof drain, 0) > 0) {
        }
        m_interfacesChanged = true;
    }
#endif
    return std::any_of(fds, fds + sockets, [](const PollFd &f) { return (f.revents & POLLIN) != 0; });
}

int Transport::receive(std::uint8_t *buffer, std::size_t capacity, std::string *sender)
{
    const NativeSocket sockets[3] = {m_socket, m_groupSocket6, m_socket6};
    for (unsigned k = 0; k < 3; ++k) {
        const unsigned which = (m_nextReceive + k) % 3;
        if (sockets[which] == kNoSocket)
            continue;
        const int n = which == 0 ? receiveIpv4(buffer, capacity, sender)
                                 : receiveFrom(sockets[which], true, buffer, capacity, sender);
        if (n >= 0) {
            m_nextReceive = (which + 1) % 3;
            return n;
        }
    }
    return -1;
}

int Transport::receiveFrom(NativeSocket socket, bool linkLocal, std::uint8_t *buffer, std::size_t capacity,
                           std::string *sender)
{
    const auto s = static_cast<SocketHandle>(socket);
    if (linkLocal) {
        sockaddr_in6 from6{};
#if defined(_WIN32)
        int fromLen6 = sizeof from6;
#else
        socklen_t fromLen6 = sizeof from6;
#endif
        const auto n = ::recvfrom(s, reinterpret_cast<char *>(buffer), static_cast<int>(capacity), 0,
                                  reinterpret_cast<sockaddr *>(&from6), &fromLen6);
        if (n < 0)
            return -1;
        // The IPv6 path is the link's alone: devices send from their link-local address.
        if (!isLinkLocal(reinterpret_cast<const std::uint8_t *>(&from6.sin6_addr)))
            return 0;
        if (sender) {
            // Link-local addresses repeat on other links: the adapter is part of the address.
            char text[INET6_ADDRSTRLEN] = {};
            sender->assign(inet_ntop(AF_INET6, &from6.sin6_addr, text, sizeof text) ? text : "");
            *sender += '%' + std::to_string(from6.sin6_scope_id);
        }
        return static_cast<int>(n);
    }
    sockaddr_in from{};
#if defined(_WIN32)
    int fromLen = sizeof from;
#else
    socklen_t fromLen = sizeof from;
#endif
    const auto n = ::recvfrom(s, reinterpret_cast<char *>(buffer), static_cast<int>(capacity), 0,
                              reinterpret_cast<sockaddr *>(&from), &fromLen);
    if (n < 0)
        return -1;
    return acceptIpv4(&from, static_cast<int>(n), sender);
}

int Transport::receiveIpv4(std::uint8_t *buffer, std::size_t capacity, std::string *sender)
{
#if defined(__linux__)
    Batch &b = *m_batch;
    if (b.next == b.count) {
        b.next = b.count = 0;
        for (unsigned i = 0; i < Batch::kSize; ++i) {
            b.vectors[i] = {b.data[i].data(), b.data[i].size()};
            b.headers[i] = {};
            b.headers[i].msg_hdr.msg_iov = &b.vectors[i];
            b.headers[i].msg_hdr.msg_iovlen = 1;
            b.headers[i].msg_hdr.msg_name = &b.from[i];
            b.headers[i].msg_hdr.msg_namelen = sizeof b.from[i];
        }
        const int n = ::recvmmsg(m_socket, b.headers.data(), Batch::kSize, MSG_DONTWAIT, nullptr);
        if (n <= 0)
            return -1;
        b.count = static_cast<unsigned>(n);
    }
    const unsigned i = b.next++;
    const std::size_t size = std::min<std::size_t>(b.headers[i].msg_len, capacity);
    std::memcpy(buffer, b.data[i].data(), size);
    return acceptIpv4(&b.from[i], static_cast<int>(size), sender);
#else
    return receiveFrom(m_socket, false, buffer, capacity, sender);
#endif
}

int Transport::acceptIpv4(const void *address, int size, std::string *sender)
{
    const auto &from = *static_cast<const sockaddr_in *>(address);
    // In the loopback scope only datagrams from the device port are devices' answers.
    if (m_config.scope == Scope::Loopback
        && (from.sin_port != htons(m_config.devicePort) || ntohl(from.sin_addr.s_addr) >> 24 != 127))
        return 0;
    if (sender) {
        const std::uint32_t address4 = ntohl(from.sin_addr.s_addr);
        if (address4 != m_lastSender || m_lastSenderText.empty()) {
            char text[INET_ADDRSTRLEN] = {};
            m_lastSenderText = inet_ntop(AF_INET, &from.sin_addr, text, sizeof text) ? text : "";
            m_lastSender = address4;
        }
        *sender = m_lastSenderText;
    }
    return size;
}

} // namespace vexo

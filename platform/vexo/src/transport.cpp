// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "transport.h"

#include "logger.h"

#include <cstring>

#if defined(_WIN32)
#    include <winsock2.h>
#    include <ws2tcpip.h>
#    include <iphlpapi.h>
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
#endif

sockaddr_in makeAddress(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(port);
    return a;
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
    if (!winsockUp())
        return list;
    ULONG size = 16 * 1024;
    std::vector<unsigned char> buffer(size);
    auto *adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES *>(buffer.data());
    if (GetAdaptersAddresses(AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_DNS_SERVER, nullptr, adapters, &size)
        == ERROR_BUFFER_OVERFLOW) {
        buffer.resize(size);
        adapters = reinterpret_cast<IP_ADAPTER_ADDRESSES *>(buffer.data());
    }
    if (GetAdaptersAddresses(AF_INET, GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_DNS_SERVER, nullptr, adapters, &size)
        != NO_ERROR)
        return list;
    for (auto *a = adapters; a; a = a->Next) {
        if (a->OperStatus != IfOperStatusUp)
            continue;
        for (auto *u = a->FirstUnicastAddress; u; u = u->Next) {
            const auto *sa = reinterpret_cast<const sockaddr_in *>(u->Address.lpSockaddr);
            if (sa->sin_family != AF_INET)
                continue;
            HostInterface i;
            i.name = a->AdapterName;
            i.address = ntohl(sa->sin_addr.s_addr);
            const unsigned prefix = u->OnLinkPrefixLength;
            i.netmask = prefix == 0 ? 0 : ~std::uint32_t(0) << (32 - prefix);
            i.loopback = a->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
            i.multicast = !i.loopback && !(a->Flags & IP_ADAPTER_NO_MULTICAST);
            list.push_back(i);
        }
    }
#else
    ifaddrs *all = nullptr;
    if (getifaddrs(&all) != 0)
        return list;
    for (ifaddrs *a = all; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET || !(a->ifa_flags & IFF_UP))
            continue;
        HostInterface i;
        i.name = a->ifa_name;
        i.address = ntohl(reinterpret_cast<const sockaddr_in *>(a->ifa_addr)->sin_addr.s_addr);
        i.netmask = a->ifa_netmask ? ntohl(reinterpret_cast<const sockaddr_in *>(a->ifa_netmask)->sin_addr.s_addr) : 0;
        i.loopback = a->ifa_flags & IFF_LOOPBACK;
        i.multicast = !i.loopback && (a->ifa_flags & IFF_MULTICAST);
        list.push_back(i);
    }
    freeifaddrs(all);
#endif
    return list;
}

Transport::Transport()
    : m_socket(kNoSocket)
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
    const int on = 1;
    // Ten thousand devices answer one inquiry within a second: give the kernel room.
    int rcvbuf = 8 * 1024 * 1024;
#if defined(SO_RCVBUFFORCE)
    if (setsockopt(s, SOL_SOCKET, SO_RCVBUFFORCE, reinterpret_cast<const char *>(&rcvbuf), sizeof rcvbuf) != 0)
#endif
        setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&rcvbuf), sizeof rcvbuf);

    sockaddr_in bindAddress{};
    if (config.scope == Scope::Loopback) {
        bindAddress = makeAddress(INADDR_LOOPBACK, 0);
    } else {
        // Several programs on one host may listen for the devices' answers.
        setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char *>(&on), sizeof on);
#if defined(SO_REUSEPORT)
        setsockopt(s, SOL_SOCKET, SO_REUSEPORT, reinterpret_cast<const char *>(&on), sizeof on);
#endif
        bindAddress = makeAddress(INADDR_ANY, static_cast<std::uint16_t>(config.devicePort + 1));
    }
    if (::bind(s, reinterpret_cast<const sockaddr *>(&bindAddress), sizeof bindAddress) != 0) {
        *error = "cannot bind the UDP socket";
        closeSocket(s);
        return false;
    }
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

    m_lanInterfaces.clear();
    if (config.scope == Scope::Lan) {
        const unsigned char ttl = 1;
        setsockopt(s, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char *>(&ttl), sizeof ttl);
        for (const HostInterface &i : hostInterfaces()) {
            if (!i.multicast)
                continue;
            ip_mreq m{};
            m.imr_multiaddr.s_addr = htonl(config.group);
            m.imr_interface.s_addr = htonl(i.address);
            if (setsockopt(s, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char *>(&m), sizeof m) == 0
                || lastErrorIsAddressInUse())
                m_lanInterfaces.push_back(i.address);
            else
                VEXO_LOG(LogLevel::Warning, "cannot join the group on %s", i.name.c_str());
        }
        if (m_lanInterfaces.empty())
            VEXO_LOG(LogLevel::Warning, "no multicast-capable interface: no device can be found until one is up");
    }
    m_socket = s;
    return true;
}

void Transport::close()
{
    if (m_socket != kNoSocket) {
        closeSocket(static_cast<SocketHandle>(m_socket));
        m_socket = kNoSocket;
    }
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
    // The devices may sit in any subnet: one multicast copy per interface reaches each link.
    bool any = false;
    const sockaddr_in to = makeAddress(m_config.group, m_config.devicePort);
    for (std::uint32_t address : m_lanInterfaces) {
        in_addr itf{};
        itf.s_addr = htonl(address);
        if (setsockopt(s, IPPROTO_IP, IP_MULTICAST_IF, reinterpret_cast<const char *>(&itf), sizeof itf) != 0)
            continue;
        if (::sendto(s, data, size, 0, reinterpret_cast<const sockaddr *>(&to), sizeof to) == size)
            any = true;
    }
    return any;
}

bool Transport::waitReadable(int timeoutMs)
{
    PollFd fd{};
    fd.fd = static_cast<SocketHandle>(m_socket);
    fd.events = POLLIN;
    return pollSockets(&fd, 1, timeoutMs) > 0 && (fd.revents & POLLIN);
}

int Transport::receive(std::uint8_t *buffer, std::size_t capacity)
{
    const auto s = static_cast<SocketHandle>(m_socket);
    if (s == kNoSocket)
        return -1;
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
    // In the loopback scope only datagrams from the device port are devices' answers.
    if (m_config.scope == Scope::Loopback
        && (from.sin_port != htons(m_config.devicePort) || ntohl(from.sin_addr.s_addr) >> 24 != 127))
        return 0;
    return static_cast<int>(n);
}

} // namespace vexo

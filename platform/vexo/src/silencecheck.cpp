// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "silencecheck.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace vexo {

namespace {

#if defined(__linux__)
int readSetting(const std::string &path)
{
    std::ifstream in(path);
    int value = 0;
    if (!(in >> value))
        return 0;
    return value;
}
#endif

} // namespace

int reversePathFilter(const std::string &adapter)
{
#if defined(__linux__)
    // The name comes from the adapter list, but it still must not walk out of the folder.
    if (adapter.empty() || adapter.find('/') != std::string::npos || adapter == "." || adapter == "..")
        return 0;
    const std::string base = "/proc/sys/net/ipv4/conf/";
    return std::max(readSetting(base + "all/rp_filter"), readSetting(base + adapter + "/rp_filter"));
#else
    (void)adapter;
    return 0;
#endif
}

std::vector<std::string> silenceCauses(const std::vector<Membership> &adapters,
                                       const std::vector<std::string> &failedJoins, std::uint16_t devicePort,
                                       std::uint32_t group)
{
    std::vector<std::string> causes;
    if (adapters.empty() && failedJoins.empty())
        causes.push_back("no network adapter with multicast is up: connect the cable to the camera network or "
                         "switch the adapter on");
    for (const std::string &name : failedJoins)
        causes.push_back("the multicast group could not be joined on adapter " + name);
    for (const Membership &m : adapters) {
        const int mode = reversePathFilter(m.name);
        if (mode == 0)
            continue;
        causes.push_back("reverse-path filtering is on for adapter " + m.name + " (rp_filter=" + std::to_string(mode)
                         + "): answers from devices in other subnets are dropped by the system; set "
                           "net.ipv4.conf.all.rp_filter=0 and net.ipv4.conf."
                         + m.name + ".rp_filter=0");
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "a firewall must let in UDP port %u (the answers come to group %u.%u.%u.%u, over IPv6 to group %s "
                  "and from link-local addresses, port %u)",
                  static_cast<unsigned>(vxdp::answerPort(devicePort)), group >> 24, (group >> 16) & 0xFF,
                  (group >> 8) & 0xFF, group & 0xFF, vxdp::kLinkLocalGroupText, static_cast<unsigned>(devicePort));
    causes.push_back(text);
    return causes;
}

} // namespace vexo

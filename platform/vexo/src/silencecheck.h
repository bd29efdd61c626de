// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "transport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vexo {

/**
 * The reverse-path filter mode Linux applies to answers arriving on an adapter: the
 * larger of the "all" setting and the adapter's own; 0 where there is none or it is unknown.
 */
int reversePathFilter(const std::string &adapter);

/**
 * Why a LAN inquiry may have got no answer at all, as far as this host shows it: one
 * sentence per cause found (no adapter, group not joined, reverse-path filter), then
 * always the firewall rule the answers need, since a host firewall cannot be read here.
 */
std::vector<std::string> silenceCauses(const std::vector<Membership> &adapters,
                                       const std::vector<std::string> &failedJoins, std::uint16_t devicePort,
                                       std::uint32_t group);

} // namespace vexo

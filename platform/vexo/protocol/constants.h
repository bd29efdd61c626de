// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file constants.h
 * @brief The numbers of VXDP/1 (docs/protocol.md): ports, group, text widths and flag bits.
 *
 * What callers of the library see as well (default port and group, record field widths,
 * capability and key format bits) is defined in Vexo.h; the names here derive from it, so the
 * library, the simulator and the tools cannot drift apart from the record. Header only, so the
 * library's platform layer uses it without linking the codec.
 */

#include "Vexo.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace vxdp {

/** UDP port the devices listen on when VEXO_PORT is not set. */
constexpr std::uint16_t kDefaultDevicePort = VEXO_DEFAULT_PORT;
/** The highest device port: its answer port must be a port too. */
constexpr std::uint16_t kMaxDevicePort = 0xFFFE;
/** Multicast group of the LAN scope when VEXO_GROUP is not set, as dotted text. */
constexpr const char *kDefaultGroup = VEXO_DEFAULT_GROUP;

/**
 * IPv6 link-local multicast group of the LAN scope, ff02::f665:786f, beside the IPv4 group:
 * it reaches devices from an adapter that has no IPv4 address at all. Its group ID lies in
 * the range that RFC 3307 leaves to applications (0x80000000 and up), so no assigned
 * protocol uses it; its Ethernet address is 33:33:f6:65:78:6f.
 */
constexpr std::array<std::uint8_t, 16> kLinkLocalGroup
    = {0xff, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xf6, 0x65, 0x78, 0x6f};
/** kLinkLocalGroup as text, for logs, hints and usage texts. */
constexpr const char *kLinkLocalGroupText = "ff02::f665:786f";

namespace detail {
// The text above must name the bytes above: "ff02::" and the last two groups in lower-case hex.
consteval bool linkLocalGroupTextMatches()
{
    constexpr char digits[] = "0123456789abcdef";
    char expected[] = "ff02::....:....";
    for (int i = 0; i < 4; ++i) {
        const std::uint8_t byte = kLinkLocalGroup[12 + i];
        expected[6 + i * 2 + i / 2] = digits[byte >> 4];
        expected[7 + i * 2 + i / 2] = digits[byte & 0xF];
    }
    for (std::size_t i = 0; i < sizeof expected; ++i) {
        if (expected[i] != kLinkLocalGroupText[i])
            return false;
    }
    for (std::size_t i = 2; i < 12; ++i) {
        if (kLinkLocalGroup[i] != 0)
            return false;
    }
    return kLinkLocalGroup[0] == 0xff && kLinkLocalGroup[1] == 0x02 && kLinkLocalGroup[12] >= 0x80;
}
static_assert(linkLocalGroupTextMatches(), "kLinkLocalGroupText differs from kLinkLocalGroup");
} // namespace detail

/** In the LAN scope the devices answer to the group on the port after their own. */
constexpr std::uint16_t answerPort(std::uint16_t devicePort)
{
    return static_cast<std::uint16_t>(devicePort + 1);
}

namespace detail {
// A dotted quad known at compile time, in host byte order; only for the constants below.
// Anything else stops the compilation (a throw is no constant expression).
consteval std::uint32_t ipv4FromText(const char *text)
{
    std::uint32_t address = 0;
    std::uint32_t part = 0;
    int dots = 0;
    bool digits = false;
    for (; *text; ++text) {
        if (*text == '.' && digits && dots < 3) {
            address = address << 8 | part;
            part = 0;
            ++dots;
            digits = false;
        } else if (*text >= '0' && *text <= '9' && part * 10 + static_cast<std::uint32_t>(*text - '0') <= 255) {
            part = part * 10 + static_cast<std::uint32_t>(*text - '0');
            digits = true;
        } else {
            throw "not a dotted IPv4 address";
        }
    }
    if (dots != 3 || !digits)
        throw "not a dotted IPv4 address";
    return address << 8 | part;
}
} // namespace detail

/** kDefaultGroup as a number in host byte order. */
constexpr std::uint32_t kDefaultGroupAddress = detail::ipv4FromText(kDefaultGroup);

// Texts end up in NUL-terminated fields of the library's records: each limit is the field's
// width less the terminator.
constexpr std::size_t kMaxSerial = sizeof(VEXO_DEVICE_INFO::serialNumber) - 1;
constexpr std::size_t kMaxMacText = sizeof(VEXO_DEVICE_INFO::macAddress) - 1;
/** A MAC text as written: "aa-bb-cc-dd-ee-ff". */
constexpr std::size_t kMacTextLength = 17;
static_assert(kMacTextLength <= kMaxMacText);
/** A request's target: a serial number or a MAC text. */
constexpr std::size_t kMaxTarget = kMaxSerial > kMaxMacText ? kMaxSerial : kMaxMacText;
constexpr std::size_t kMaxIpv4Text = sizeof(VEXO_DEVICE_INFO::ipv4Address) - 1;
constexpr std::size_t kMaxIpv6Text = sizeof(VEXO_DEVICE_INFO::ipv6Address) - 1;
constexpr std::size_t kMaxTypeText = sizeof(VEXO_DEVICE_INFO::deviceTypeText) - 1;
/** Software version, DSP version and start time share one width. */
constexpr std::size_t kMaxVersionText = sizeof(VEXO_DEVICE_INFO::softwareVersion) - 1;
static_assert(sizeof(VEXO_DEVICE_INFO::dspVersion) == kMaxVersionText + 1
              && sizeof(VEXO_DEVICE_INFO::startTime) == kMaxVersionText + 1);

constexpr std::uint8_t kMaxIpv6PrefixLength = 128;

constexpr std::size_t kMaxPassword = VEXO_MAX_PASSWORD_LEN;
constexpr std::size_t kMaxSecretKey = sizeof(VEXO_RESET_PARAM::secretKey);
constexpr std::size_t kMaxResetFile = 1024;
constexpr std::size_t kMaxSecurityCode = VEXO_MAX_SECURITY_CODE_LEN;
/** Printable reset key material: the larger key buffer less the terminator. */
constexpr std::size_t kMaxKeyMaterial = sizeof(VEXO_KEY_BUFFER_V2::data) - 1;

/**
 * Bits of a Modify request's NetParams::flags: which parts of the request are given.
 * The description's capability and key format bytes carry the VEXO_CAP_* and
 * VEXO_KEYFMT_* bits of Vexo.h unchanged.
 */
constexpr std::uint8_t kNetIpv4 = 0x01;
constexpr std::uint8_t kNetIpv6Address = 0x02;
constexpr std::uint8_t kNetIpv6Gateway = 0x04;
constexpr std::uint8_t kNetIpv6 = kNetIpv6Address | kNetIpv6Gateway;
constexpr std::uint8_t kNetAllFlags = kNetIpv4 | kNetIpv6;

} // namespace vxdp

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "populationgenerator.h"

#include <protocol/crypto.h>
#include <protocol/keyformats.h>

#include <sodium.h>

#include <random>
#include <set>

namespace {

struct Model
{
    const char *typeText;
    std::uint32_t typeCode;
    std::uint16_t channels;
};

// Cameras carry type codes 0x9D00-0x9FFF and one channel; the edges of the range are included.
constexpr Model kCameras[] = {
    {"VX-C2042", 0x9D12, 1},   {"VX-12C3", 0x9E01, 1},  {"VX-20P2W", 0x9E40, 1},
    {"VX-IPC2T12", 0x9F33, 1}, {"VX-C1000", 0x9D00, 1}, {"LX-36Z4", 0x9FFF, 1},
};
// Recorders sit outside that range, also right next to it.
constexpr Model kRecorders[] = {
    {"VX-NVR3104", 0x1204, 4},  {"VX-NVR3208", 0x1308, 8},  {"VX-16N2", 0xA016, 16},
    {"VX-NVR5832", 0x9CFF, 32}, {"VX-DVR7116", 0x0816, 16}, {"LX-08H1", 0xA000, 8},
};
constexpr std::uint16_t kWebPorts[] = {80, 0, 8080, 80, 8000, 0, 443};

template<std::size_t N>
constexpr std::size_t countOf(const Model (&)[N])
{
    return N;
}

std::array<std::uint8_t, 16> ipv6(std::uint16_t subnet, std::uint16_t host)
{
    // 2001:db8:<subnet>::<host>
    std::array<std::uint8_t, 16> a{0x20, 0x01, 0x0d, 0xb8};
    a[4] = std::uint8_t(subnet >> 8);
    a[5] = std::uint8_t(subnet);
    a[14] = std::uint8_t(host >> 8);
    a[15] = std::uint8_t(host);
    return a;
}

std::array<std::uint8_t, 32> keySeedFor(std::uint64_t seed, int index, std::vector<std::uint8_t> material)
{
    for (int shift = 0; shift < 64; shift += 8)
        material.push_back(std::uint8_t(seed >> shift));
    for (int shift = 0; shift < 32; shift += 8)
        material.push_back(std::uint8_t(std::uint32_t(index) >> shift));
    return vxdp::hash32(material);
}

vxdp::BoxKeyPair keyPairFor(std::uint64_t seed, int index)
{
    std::vector<std::uint8_t> material = {'v', 'e', 'x', 'o', '-', 'd', 'e', 'v', 's', 'i', 'm'};
    for (int shift = 0; shift < 64; shift += 8)
        material.push_back(std::uint8_t(seed >> shift));
    for (int shift = 0; shift < 32; shift += 8)
        material.push_back(std::uint8_t(std::uint32_t(index) >> shift));
    const auto keySeed = vxdp::hash32(material);
    vxdp::BoxKeyPair keys;
    crypto_box_seed_keypair(keys.publicKey.data(), keys.secretKey.data(), keySeed.data());
    return keys;
}

} // namespace

std::vector<DeviceRecord> PopulationGenerator::generate(const Options &options)
{
    vxdp::cryptoInit();
    std::mt19937_64 rng(options.seed);
    const auto macBase = std::uint32_t(rng());
    std::set<std::string> serials;
    std::vector<DeviceRecord> devices;
    devices.reserve(std::size_t(std::max(options.count, 0)));

    for (int i = 0; i < options.count; ++i) {
        DeviceRecord r;
        vxdp::DeviceDescription &d = r.description;
        const bool camera = i % 2 == 0;
        const Model &model = camera ? kCameras[(i / 2) % countOf(kCameras)] : kRecorders[(i / 2) % countOf(kRecorders)];
        d.typeText = model.typeText;
        d.typeCode = model.typeCode;
        d.channels = model.channels;

        do {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%09u", unsigned(rng() % 1000000000u));
            static constexpr char letters[] = "ABCDEFGHJKLMNPRSTUVWXY";
            std::string batch;
            for (int k = 0; k < 4; ++k)
                batch += letters[rng() % (sizeof letters - 1)];
            const int day = 1 + int(rng() % 28);
            char date[16];
            std::snprintf(date, sizeof date, "202601%02d", day);
            d.serial = d.typeText + date + batch + digits;
        } while (!serials.insert(d.serial).second);

        // A multiplication by an odd constant permutes 32-bit values: the MACs never collide.
        const std::uint32_t macTail = macBase + std::uint32_t(i) * 2654435761u;
        d.mac = {0x02,
                 0x5e,
                 std::uint8_t(macTail >> 24),
                 std::uint8_t(macTail >> 16),
                 std::uint8_t(macTail >> 8),
                 std::uint8_t(macTail)};

        const bool activated = i % 3 != 2;
        d.inactive = activated ? 0 : 1;
        if (activated)
            r.passwordHash = options.passwordHash;

        const bool hasIpv6 = i % 4 != 3;
        const bool modIpv6 = hasIpv6 && i % 5 < 3;
        const bool dhcpCapable = i % 7 != 6;
        const bool dhcpOn = dhcpCapable && activated && i % 7 < 2;
        const bool keyReset = i % 6 < 4;
        const bool newKeyFormat = keyReset && i % 4 < 2;
        const bool resetCameras = !camera && i % 3 == 0;
        d.capabilities = std::uint8_t((hasIpv6 ? VEXO_CAP_IPV6 : 0) | (modIpv6 ? VEXO_CAP_MOD_IPV6 : 0)
                                      | (dhcpCapable ? VEXO_CAP_DHCP : 0) | (keyReset ? VEXO_CAP_KEY_RESET : 0)
                                      | (resetCameras ? VEXO_CAP_RESET_IPC : 0));
        d.keyFormat = newKeyFormat ? VEXO_KEYFMT_NEW : 0;
        d.dhcp = dhcpOn ? 1 : 0;

        // Fresh devices sit on their factory address; the others are spread over two test networks.
        const std::uint8_t host = std::uint8_t(2 + (i / 2) % 250);
        if (!activated)
            d.ipv4 = {192, 0, 2, 64};
        else if (dhcpOn)
            d.ipv4 = {198, 51, 100, std::uint8_t(100 + i % 150)};
        else if (i % 2 == 0)
            d.ipv4 = {198, 51, 100, host};
        else
            d.ipv4 = {203, 0, 113, host};
        d.mask = {255, 255, 255, 0};
        d.gateway = {d.ipv4[0], d.ipv4[1], d.ipv4[2], 1};

        d.extendedValid = hasIpv6 ? 1 : 0;
        if (hasIpv6) {
            const auto subnet = std::uint16_t(d.ipv4[2]);
            d.ipv6 = ipv6(subnet, std::uint16_t(0x100 + i));
            d.ipv6Gateway = ipv6(subnet, 1);
            d.ipv6PrefixLength = 64;
        }

        d.port = i % 5 == 4 ? 8000 : 37777;
        d.httpPort = kWebPorts[i % std::size(kWebPorts)];
        d.softwareVersion = "V5." + std::to_string(2 + i % 6) + "." + std::to_string(rng() % 10) + " build 2601"
                            + std::to_string(10 + i % 18);
        d.dspVersion = "V7." + std::to_string(1 + i % 3) + " build 2511" + std::to_string(10 + i % 19);

        r.keys = keyPairFor(options.seed, i);
        r.signingSeed = keySeedFor(options.seed, i, {'v', 'e', 'x', 'o', '-', 's', 'i', 'g', 'n'});
        r.certify(options.deviceCa);
        r.restoreSecret = vxdp::restoreDeviceSecret(options.restoreMaster, d.serial);
        r.restoreSecretShort
            = vxdp::restoreDeviceSecret(options.restoreMaster, vxdp::serialWithoutType(d.serial, d.typeText));
        devices.push_back(std::move(r));
    }
    return devices;
}

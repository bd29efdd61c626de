// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "devicerecord.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/**
 * @brief Makes a deterministic population of cameras and recorders from a seed.
 *
 * The mix covers every kind of device the program treats differently: cameras
 * and recorders, activated or not, with and without IPv6 (modifiable or not),
 * DHCP, key reset (older and newer key format), camera reset and web port.
 * The same seed and count always give the same devices, key pairs included, so
 * a program that pinned a device's key still trusts it after a restart.
 */
class PopulationGenerator
{
public:
    struct Options
    {
        int count = 32;
        std::uint64_t seed = 1;
        /** Hash of the password of the activated devices, shared to keep generation cheap. */
        std::string passwordHash;
        std::array<std::uint8_t, 32> restoreMaster{};
        /** Issues every device's certificate, as the maker's factory does. */
        vxdp::SignKeyPair deviceCa;
    };

    static std::vector<DeviceRecord> generate(const Options &options);
};

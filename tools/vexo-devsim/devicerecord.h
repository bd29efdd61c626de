// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <protocol/codec.h>
#include <protocol/crypto.h>

#include <array>
#include <cstdint>
#include <string>

/**
 * @brief What a simulated device keeps across restarts: its description, its
 * X25519 key pair, the hash of its administrator password (empty while not
 * activated) and the restore secrets it holds from the factory: one derived
 * over its serial number, one over the serial number without its type text.
 */
struct DeviceRecord
{
    vxdp::DeviceDescription description;
    vxdp::BoxKeyPair keys;
    std::string passwordHash;
    std::array<std::uint8_t, 32> restoreSecret{};
    std::array<std::uint8_t, 32> restoreSecretShort{};
};

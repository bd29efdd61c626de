// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <protocol/codec.h>
#include <protocol/crypto.h>
#include <protocol/identity.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/**
 * @brief What a simulated device keeps across restarts: its description, its
 * X25519 key pair (secrets are sealed to it), its Ed25519 signing-key seed,
 * the maker's certificate over its identity (empty when it has none), the
 * hash of its administrator password (empty while not activated) and the
 * restore secrets it holds from the factory: one derived over its serial
 * number, one over the serial number without its type text.
 */
struct DeviceRecord
{
    vxdp::DeviceDescription description;
    vxdp::BoxKeyPair keys;
    std::array<std::uint8_t, 32> signingSeed{};
    std::vector<std::uint8_t> certificate;
    std::string passwordHash;
    std::array<std::uint8_t, 32> restoreSecret{};
    std::array<std::uint8_t, 32> restoreSecretShort{};

    vxdp::SignKeyPair signingKeys() const { return vxdp::signKeyPairFromSeed(signingSeed); }

    /** The identity a certificate vouches for: serial number, MAC, type code and both public keys. */
    vxdp::Announce identity() const
    {
        vxdp::Announce a;
        a.device.serial = description.serial;
        a.device.mac = description.mac;
        a.device.typeCode = description.typeCode;
        a.publicKey = keys.publicKey;
        a.signingKey = signingKeys().publicKey;
        return a;
    }

    /** Has the device CA issue the certificate of the current identity. */
    void certify(const vxdp::SignKeyPair &deviceCa) { certificate = vxdp::issueCertificate(deviceCa, identity()); }
};

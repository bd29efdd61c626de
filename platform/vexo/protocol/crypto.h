// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file crypto.h
 * @brief The few cryptographic operations of VXDP/1, over libsodium.
 */

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vxdp {

/** Initialises libsodium once; false when it cannot be used. Safe from any thread. */
bool cryptoInit();

void randomBytes(std::uint8_t *out, std::size_t size);
std::uint32_t randomU32();

/** A device's X25519 key pair: requests carry their secrets sealed to the public half. */
struct BoxKeyPair
{
    std::array<std::uint8_t, 32> publicKey{};
    std::array<std::uint8_t, 32> secretKey{};
};
BoxKeyPair makeBoxKeyPair();

/** An anonymous sealed box: only the holder of the secret key can open it. */
std::vector<std::uint8_t> seal(const std::array<std::uint8_t, 32> &publicKey, const std::vector<std::uint8_t> &plain);
std::optional<std::vector<std::uint8_t>> openSealed(const BoxKeyPair &keys, const std::vector<std::uint8_t> &sealed);

/** BLAKE2b-256 of the data. */
std::array<std::uint8_t, 32> hash32(const std::vector<std::uint8_t> &data);
/**
 * A keyed 128-bit digest (SipHash-2-4): a tenth of BLAKE2b's cost, and nobody without the key
 * can make two inputs with the same digest. For telling a repeat from a change, not for signing.
 */
std::array<std::uint8_t, 16> keyedDigest16(const std::array<std::uint8_t, 16> &key, const std::uint8_t *data,
                                           std::size_t size);
/** Keyed BLAKE2b with an output of outSize bytes. */
std::vector<std::uint8_t> keyedHash(const std::array<std::uint8_t, 32> &key, std::string_view data,
                                    std::size_t outSize);

/** Slow salted password hash (Argon2id); cheap parameters in test mode. Empty on failure. */
std::string hashPassword(std::string_view password, bool testMode);
bool verifyPassword(const std::string &hash, std::string_view password);

/** Ed25519, the maker's signature over reset requests. */
struct SignKeyPair
{
    std::array<std::uint8_t, 32> publicKey{};
    std::array<std::uint8_t, 64> secretKey{};
};
SignKeyPair signKeyPairFromSeed(const std::array<std::uint8_t, 32> &seed);
std::array<std::uint8_t, 64> sign(const SignKeyPair &keys, const std::vector<std::uint8_t> &message);
bool verifySignature(const std::array<std::uint8_t, 32> &publicKey, const std::vector<std::uint8_t> &message,
                     const std::uint8_t *signature, std::size_t signatureSize);

/** URL-safe base64 without padding. */
std::string toBase64(const std::uint8_t *data, std::size_t size);
std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text);

std::string toHex(const std::uint8_t *data, std::size_t size);
std::optional<std::vector<std::uint8_t>> fromHex(std::string_view text);

/** Compares in constant time. */
bool equalConstantTime(std::string_view a, std::string_view b);

} // namespace vxdp

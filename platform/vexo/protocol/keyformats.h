// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file keyformats.h
 * @brief Texts exchanged between a device, the program and the maker's service
 * for password recovery: key material, reset keys, reset files, QR texts and
 * security codes (docs/protocol.md, "Password recovery").
 */

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vxdp {

constexpr std::size_t kResetNonceSize = 12;

/** What a device's key material says: the scheme (1 older, 2 newer), the serial and the reset nonce. */
struct KeyMaterial
{
    int scheme = 1;
    std::string serial;
    std::array<std::uint8_t, kResetNonceSize> nonce{};
};

/** "VK1.<serial>.<nonce>" or "VK2.<serial>.<nonce>", printable, at most 80 characters. */
std::string formatKeyMaterial(const KeyMaterial &key);
std::optional<KeyMaterial> parseKeyMaterial(std::string_view text);

/** The bytes the maker signs to allow one reset of one device. */
std::vector<std::uint8_t> resetMessage(int scheme, std::string_view serial,
                                       const std::array<std::uint8_t, kResetNonceSize> &nonce);

/** A typed reset key: "RK<scheme>." followed by the signature in base64 (90 characters). */
std::string formatResetKey(int scheme, const std::array<std::uint8_t, 64> &signature);
struct ResetKey
{
    int scheme = 1;
    std::vector<std::uint8_t> signature;
};
std::optional<ResetKey> parseResetKey(std::string_view text);

/** The XML reset file the maker's service hands out instead of a typed key. */
std::string formatResetFile(std::string_view serial, const std::string &resetKey);
struct ResetFile
{
    std::string serial;
    std::string resetKey;
};
std::optional<ResetFile> parseResetFile(std::string_view xml);

/** A QR text of the key exchange: "B:" + type + "**" + key (older scheme) or type + "**" + key. */
struct KeyQr
{
    std::string deviceType;
    std::string key;
    bool olderScheme = false;
};
std::optional<KeyQr> parseKeyQr(std::string_view text);

/** The QR text of a default restore: "A:" + type + "**" + serial. */
struct RestoreQr
{
    std::string deviceType;
    std::string serial;
};
std::optional<RestoreQr> parseRestoreQr(std::string_view text);

/** The per-device restore secret, which the maker derives from its master secret. */
std::array<std::uint8_t, 32> restoreDeviceSecret(const std::array<std::uint8_t, 32> &master, std::string_view serial);
/** The security code for a serial on a date ("yyyyMMdd"): 16 characters of Crockford base32. */
std::string securityCode(const std::array<std::uint8_t, 32> &deviceSecret, std::string_view serial,
                         std::string_view date);
/** The serial with every occurrence of the device type text removed, as a restore QR text may carry it. */
std::string serialWithoutType(std::string serial, std::string_view deviceType);

} // namespace vxdp

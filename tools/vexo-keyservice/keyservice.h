// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "makerkeys.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/**
 * @brief The maker's customer service: signs reset requests and computes
 * security codes for the default-password restore; and the maker's factory,
 * which issues device certificates.
 */
class KeyService
{
public:
    explicit KeyService(const MakerKeys &keys);

    struct SignedReset
    {
        std::string serial;
        std::string resetKey; ///< "RK<scheme>.<signature>"
    };

    /**
     * Signs the key material of one device. @p input is the key text itself
     * ("VK1.…") or the QR text that carries it ("B:<type>**VK1.…" or "<type>**VK2.…").
     */
    std::optional<SignedReset> signReset(std::string_view input, QString *error) const;

    /** The security code for the restore QR text "A:<type>**<serial>" on @p date (yyyyMMdd). */
    std::optional<std::string> securityCode(std::string_view restoreQr, const QString &date, QString *error) const;

    /** What a device certificate vouches for. */
    struct DeviceIdentity
    {
        std::string serial;
        std::string mac; ///< "aa-bb-cc-dd-ee-ff"
        std::uint32_t typeCode = 0;
        std::string publicKey;  ///< X25519, 64 hex digits
        std::string signingKey; ///< Ed25519, 64 hex digits
    };
    /** The device certificate (64 bytes as 128 hex digits) for that identity. */
    std::optional<std::string> certify(const DeviceIdentity &identity, QString *error) const;

private:
    MakerKeys m_keys;
};

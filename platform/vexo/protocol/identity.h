// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file identity.h
 * @brief Who a device is and proof that a message comes from it: the maker's
 * device certificate, the device's signatures over its announcements and
 * challenges, and the tags that authenticate the answers to sealed requests.
 */

#include "codec.h"
#include "crypto.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vxdp {

/** The maker's signature over the device identity of @p announce (serial, MAC, type code, both keys). */
std::vector<std::uint8_t> issueCertificate(const SignKeyPair &deviceCa, const Announce &announce);
/** True when @p announce carries a certificate of that identity made with the device CA's key. */
bool certificateValid(const std::array<std::uint8_t, 32> &deviceCaPublicKey, const Announce &announce);

/** Fills in the device's signature of an announcement. */
void signAnnounce(const SignKeyPair &device, Announce &announce);
/** True when the announcement is signed with @p signingKey (a pinned key, not the one it names itself). */
bool announceSignatureValid(const std::array<std::uint8_t, 32> &signingKey, const Announce &announce);

void signChallenge(const SignKeyPair &device, std::uint32_t txid, Challenge &challenge);
bool challengeSignatureValid(const std::array<std::uint8_t, 32> &signingKey, std::uint32_t txid,
                             const Challenge &challenge);

/** Fills in the tag of a result with the reply key that came inside the request's sealed box. */
void tagResult(const std::array<std::uint8_t, kReplyKeySize> &replyKey, std::uint32_t txid, Result &result);
bool resultTagValid(const std::array<std::uint8_t, kReplyKeySize> &replyKey, std::uint32_t txid, const Result &result);

} // namespace vxdp

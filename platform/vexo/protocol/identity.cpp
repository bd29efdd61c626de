// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "identity.h"

#include <sodium.h>

namespace vxdp {

namespace {

std::vector<std::uint8_t> toVector(const std::array<std::uint8_t, 64> &a)
{
    return std::vector<std::uint8_t>(a.begin(), a.end());
}

std::vector<std::uint8_t> tagOf(const std::array<std::uint8_t, kReplyKeySize> &key,
                                const std::vector<std::uint8_t> &message)
{
    cryptoInit();
    std::vector<std::uint8_t> tag(kResultTagSize);
    crypto_generichash(tag.data(), tag.size(), message.data(), message.size(), key.data(), key.size());
    return tag;
}

} // namespace

std::vector<std::uint8_t> issueCertificate(const SignKeyPair &deviceCa, const Announce &announce)
{
    return toVector(sign(deviceCa, certificateBytes(announce)));
}

bool certificateValid(const std::array<std::uint8_t, 32> &deviceCaPublicKey, const Announce &announce)
{
    return verifySignature(deviceCaPublicKey, certificateBytes(announce), announce.certificate.data(),
                           announce.certificate.size());
}

void signAnnounce(const SignKeyPair &device, Announce &announce)
{
    announce.signature = toVector(sign(device, announceSignedBytes(announce)));
}

bool announceSignatureValid(const std::array<std::uint8_t, 32> &signingKey, const Announce &announce)
{
    return verifySignature(signingKey, announceSignedBytes(announce), announce.signature.data(),
                           announce.signature.size());
}

void signChallenge(const SignKeyPair &device, std::uint32_t txid, Challenge &challenge)
{
    challenge.signature = toVector(sign(device, challengeSignedBytes(txid, challenge)));
}

bool challengeSignatureValid(const std::array<std::uint8_t, 32> &signingKey, std::uint32_t txid,
                             const Challenge &challenge)
{
    return verifySignature(signingKey, challengeSignedBytes(txid, challenge), challenge.signature.data(),
                           challenge.signature.size());
}

void tagResult(const std::array<std::uint8_t, kReplyKeySize> &replyKey, std::uint32_t txid, Result &result)
{
    result.tag = tagOf(replyKey, resultAuthenticatedBytes(txid, result));
}

bool resultTagValid(const std::array<std::uint8_t, kReplyKeySize> &replyKey, std::uint32_t txid, const Result &result)
{
    if (result.tag.size() != kResultTagSize)
        return false;
    const auto expected = tagOf(replyKey, resultAuthenticatedBytes(txid, result));
    cryptoInit();
    return sodium_memcmp(expected.data(), result.tag.data(), kResultTagSize) == 0;
}

} // namespace vxdp

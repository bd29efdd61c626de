// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "crypto.h"

#include <sodium.h>

namespace vxdp {

bool cryptoInit()
{
    static const bool ok = sodium_init() >= 0;
    return ok;
}

void randomBytes(std::uint8_t *out, std::size_t size)
{
    cryptoInit();
    randombytes_buf(out, size);
}

std::uint32_t randomU32()
{
    cryptoInit();
    return randombytes_random();
}

BoxKeyPair makeBoxKeyPair()
{
    cryptoInit();
    BoxKeyPair k;
    crypto_box_keypair(k.publicKey.data(), k.secretKey.data());
    return k;
}

std::vector<std::uint8_t> seal(const std::array<std::uint8_t, 32> &publicKey, const std::vector<std::uint8_t> &plain)
{
    cryptoInit();
    std::vector<std::uint8_t> out(plain.size() + crypto_box_SEALBYTES);
    if (crypto_box_seal(out.data(), plain.data(), plain.size(), publicKey.data()) != 0)
        return {};
    return out;
}

std::optional<std::vector<std::uint8_t>> openSealed(const BoxKeyPair &keys, const std::vector<std::uint8_t> &sealed)
{
    cryptoInit();
    if (sealed.size() < crypto_box_SEALBYTES)
        return std::nullopt;
    std::vector<std::uint8_t> plain(sealed.size() - crypto_box_SEALBYTES);
    if (crypto_box_seal_open(plain.data(), sealed.data(), sealed.size(), keys.publicKey.data(), keys.secretKey.data())
        != 0)
        return std::nullopt;
    return plain;
}

std::array<std::uint8_t, 32> hash32(const std::vector<std::uint8_t> &data)
{
    cryptoInit();
    std::array<std::uint8_t, 32> out{};
    crypto_generichash(out.data(), out.size(), data.data(), data.size(), nullptr, 0);
    return out;
}

std::array<std::uint8_t, 16> keyedDigest16(const std::array<std::uint8_t, 16> &key, const std::uint8_t *data,
                                           std::size_t size)
{
    static_assert(crypto_shorthash_siphashx24_BYTES == 16 && crypto_shorthash_siphashx24_KEYBYTES == 16);
    cryptoInit();
    std::array<std::uint8_t, 16> out{};
    crypto_shorthash_siphashx24(out.data(), data, size, key.data());
    return out;
}

std::vector<std::uint8_t> keyedHash(const std::array<std::uint8_t, 32> &key, std::string_view data, std::size_t outSize)
{
    cryptoInit();
    std::vector<std::uint8_t> out(outSize);
    crypto_generichash(out.data(), out.size(), reinterpret_cast<const unsigned char *>(data.data()), data.size(),
                       key.data(), key.size());
    return out;
}

std::string hashPassword(std::string_view password, bool testMode)
{
    cryptoInit();
    char out[crypto_pwhash_STRBYTES];
    const auto ops = testMode ? crypto_pwhash_OPSLIMIT_MIN : crypto_pwhash_OPSLIMIT_INTERACTIVE;
    const auto mem = testMode ? crypto_pwhash_MEMLIMIT_MIN : crypto_pwhash_MEMLIMIT_INTERACTIVE;
    if (crypto_pwhash_str(out, password.data(), password.size(), ops, mem) != 0)
        return {};
    return out;
}

bool verifyPassword(const std::string &hash, std::string_view password)
{
    cryptoInit();
    if (hash.empty())
        return false;
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

SignKeyPair signKeyPairFromSeed(const std::array<std::uint8_t, 32> &seed)
{
    cryptoInit();
    SignKeyPair k;
    crypto_sign_seed_keypair(k.publicKey.data(), k.secretKey.data(), seed.data());
    return k;
}

std::array<std::uint8_t, 64> sign(const SignKeyPair &keys, const std::vector<std::uint8_t> &message)
{
    cryptoInit();
    std::array<std::uint8_t, 64> sig{};
    crypto_sign_detached(sig.data(), nullptr, message.data(), message.size(), keys.secretKey.data());
    return sig;
}

bool verifySignature(const std::array<std::uint8_t, 32> &publicKey, const std::vector<std::uint8_t> &message,
                     const std::uint8_t *signature, std::size_t signatureSize)
{
    cryptoInit();
    if (!signature || signatureSize != crypto_sign_BYTES)
        return false;
    return crypto_sign_verify_detached(signature, message.data(), message.size(), publicKey.data()) == 0;
}

std::string toBase64(const std::uint8_t *data, std::size_t size)
{
    cryptoInit();
    const int variant = sodium_base64_VARIANT_URLSAFE_NO_PADDING;
    std::string out(sodium_base64_encoded_len(size, variant), '\0');
    sodium_bin2base64(out.data(), out.size(), data, size, variant);
    out.resize(out.find('\0'));
    return out;
}

std::optional<std::vector<std::uint8_t>> fromBase64(std::string_view text)
{
    cryptoInit();
    std::vector<std::uint8_t> out(text.size() * 3 / 4 + 3);
    std::size_t len = 0;
    const char *end = nullptr;
    if (sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &len, &end,
                          sodium_base64_VARIANT_URLSAFE_NO_PADDING)
            != 0
        || end != text.data() + text.size())
        return std::nullopt;
    out.resize(len);
    return out;
}

std::string toHex(const std::uint8_t *data, std::size_t size)
{
    cryptoInit();
    std::string out(size * 2 + 1, '\0');
    sodium_bin2hex(out.data(), out.size(), data, size);
    out.pop_back();
    return out;
}

std::optional<std::vector<std::uint8_t>> fromHex(std::string_view text)
{
    cryptoInit();
    std::vector<std::uint8_t> out(text.size() / 2 + 1);
    std::size_t len = 0;
    const char *end = nullptr;
    if (sodium_hex2bin(out.data(), out.size(), text.data(), text.size(), nullptr, &len, &end) != 0
        || end != text.data() + text.size())
        return std::nullopt;
    out.resize(len);
    return out;
}

bool equalConstantTime(std::string_view a, std::string_view b)
{
    cryptoInit();
    if (a.size() != b.size())
        return false;
    return sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

} // namespace vxdp

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @file codec.h
 * @brief Encoding and decoding of VXDP/1 datagrams (docs/protocol.md).
 *
 * The decoder trusts nothing: every length is checked before it is read,
 * strings are bounded by the width of the record field they end up in, and
 * anything malformed, truncated, oversized or of an unknown version or type
 * is refused with a reason. No Qt, no exceptions.
 */

#include "constants.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vxdp {

constexpr std::uint32_t kMagic = 0x50445856; // "VXDP" little-endian
constexpr std::uint8_t kVersion = 1;
constexpr std::size_t kHeaderSize = 12;
constexpr std::size_t kMaxDatagram = 1472; // one Ethernet frame without fragmentation

constexpr std::size_t kNonceSize = 16;
constexpr std::size_t kPublicKeySize = 32;
constexpr std::size_t kSealOverhead = 48;
constexpr std::size_t kSignatureSize = 64; ///< Ed25519
constexpr std::size_t kReplyKeySize = 32;
constexpr std::size_t kResultTagSize = 32;

enum class MsgType : std::uint8_t {
    Inquiry = 0x01,
    Announce = 0x02,
    ChallengeRequest = 0x10,
    Challenge = 0x11,
    Activate = 0x20,
    Modify = 0x21,
    GetKey = 0x22,
    Reset = 0x23,
    Restore = 0x24,
    Result = 0x30,
};

enum class AnnounceReason : std::uint8_t {
    Reply = 0,   ///< answer to an inquiry
    Hello = 1,   ///< the device (re)started
    Changed = 2, ///< the device's parameters changed
    Goodbye = 3, ///< the device leaves the network
};
constexpr std::size_t kAnnounceReasonCount = static_cast<std::size_t>(AnnounceReason::Goodbye) + 1;

enum class TargetKind : std::uint8_t {
    Serial = 1,
    Mac = 2,
};

/** Status codes of a Result; the nonzero ones equal the library's error codes. */
enum class Status : std::uint32_t {
    Ok = 0,
    BadRequest = 2002,
    Deny = 2009,
    AlreadyActive = 2021,
    Locked = 2022,
    NotActivated = 2023,
    Unsupported = 2024,
    StaleChallenge = 2026,
};

/** Why a datagram was refused; counted by the receivers. */
enum class DecodeError {
    None,
    TooShort,
    TooLong,
    BadMagic,
    BadVersion,
    BadLength,
    UnknownType,
    Truncated,
    BadField,
    TrailingBytes,
};

struct Header
{
    MsgType type = MsgType::Inquiry;
    std::uint32_t txid = 0;
};

/** What a device tells about itself; fields are bounded like the library's device record. */
struct DeviceDescription
{
    std::string serial; ///< 1..kMaxSerial bytes
    std::array<std::uint8_t, 6> mac{};
    std::array<std::uint8_t, 4> ipv4{};
    std::array<std::uint8_t, 4> mask{};
    std::array<std::uint8_t, 4> gateway{};
    std::array<std::uint8_t, 16> ipv6{};
    std::array<std::uint8_t, 16> ipv6Gateway{};
    std::uint8_t ipv6PrefixLength = 0;
    std::uint32_t typeCode = 0;
    std::uint16_t port = 0;
    std::uint16_t httpPort = 0;
    std::uint16_t channels = 0;
    std::uint8_t capabilities = 0; ///< VEXO_CAP_* bits
    std::uint8_t dhcp = 0;
    std::uint8_t extendedValid = 0;
    std::uint8_t inactive = 0;
    std::uint8_t keyFormat = 0;  ///< VEXO_KEYFMT_* bits
    std::string typeText;        ///< 0..kMaxTypeText bytes
    std::string softwareVersion; ///< 0..kMaxVersionText bytes
    std::string dspVersion;      ///< 0..kMaxVersionText bytes
    std::string startTime;       ///< 0..kMaxVersionText bytes

    bool operator==(const DeviceDescription &) const = default;
};

struct Target
{
    TargetKind kind = TargetKind::Serial;
    std::string text; ///< serial number or MAC text, 1..kMaxTarget bytes
};

/**
 * What a device says about itself. The boot number grows with every start of the
 * device and the sequence number with every signed change within one boot, so a
 * receiver can tell a newer announcement from a replayed older one.
 */
struct Announce
{
    AnnounceReason reason = AnnounceReason::Reply;
    std::uint64_t boot = 0;
    std::uint32_t sequence = 0;
    std::array<std::uint8_t, kPublicKeySize> publicKey{};  ///< X25519: secrets are sealed to it
    std::array<std::uint8_t, kPublicKeySize> signingKey{}; ///< Ed25519: the device signs with it
    DeviceDescription device;
    std::vector<std::uint8_t> certificate; ///< the maker's signature over the identity; empty or 64 bytes
    std::vector<std::uint8_t> signature;   ///< the device's signature over all of the above; empty or 64 bytes

    bool operator==(const Announce &) const = default;
};

struct Challenge
{
    std::array<std::uint8_t, kNonceSize> nonce{};
    std::array<std::uint8_t, kPublicKeySize> publicKey{};
    std::vector<std::uint8_t> signature; ///< the device's signature over transaction id, nonce and key; empty or 64
};

/** New network parameters, as carried by a Modify request. */
struct NetParams
{
    std::array<std::uint8_t, 4> ipv4{};
    std::array<std::uint8_t, 4> mask{};
    std::array<std::uint8_t, 4> gateway{};
    std::array<std::uint8_t, 16> ipv6{};
    std::array<std::uint8_t, 16> ipv6Gateway{};
    std::uint8_t ipv6PrefixLength = 0;
    std::uint8_t dhcp = 0;
    std::uint16_t port = 0;
    std::uint16_t httpPort = 0;
    std::uint8_t flags = 0; ///< kNet* bits: which of IPv4, IPv6 address and IPv6 gateway are given

    bool operator==(const NetParams &) const = default;
};

/**
 * A request to one device. Activate, Modify, Reset and Restore carry a box
 * sealed to the device's public key (see crypto.h); GetKey carries a command
 * and ChallengeRequest nothing but the target.
 */
struct Request
{
    Target target;
    std::uint8_t command = 0;         ///< GetKey: VEXO_GET_KEY_V1 or VEXO_GET_KEY_V2
    NetParams net;                    ///< Modify
    std::vector<std::uint8_t> sealed; ///< sealed box, up to kMaxDatagram
};

struct Result
{
    Status status = Status::Ok;
    std::string keyMaterial;       ///< GetKey only, up to kMaxKeyMaterial bytes
    std::vector<std::uint8_t> tag; ///< keyed with the request's reply key; empty or kResultTagSize bytes
};

/** One decoded datagram; which member is meaningful follows from header.type. */
struct Message
{
    Header header;
    Announce announce;
    Challenge challenge;
    Request request;
    Result result;
};

struct Decoded
{
    DecodeError error = DecodeError::None;
    Message message;
    explicit operator bool() const { return error == DecodeError::None; }
};

/** What the sealed box of a request holds once opened. */
struct Secret
{
    MsgType type = MsgType::Activate;                   ///< must equal the request's type
    std::array<std::uint8_t, kNonceSize> nonce{};       ///< the device's single-use challenge
    std::array<std::uint8_t, 32> bound{};               ///< hash of the request's clear fields
    std::array<std::uint8_t, kReplyKeySize> replyKey{}; ///< fresh per request: the device authenticates its answer
    std::string password;                               ///< Activate/Reset: new, Modify: admin; <= kMaxPassword bytes
    std::uint8_t resetIpc = 0;                          ///< Reset
    std::uint8_t materialKind = 0;                      ///< Reset: 1 typed key, 2 reset file
    std::string material;                               ///< Reset: key or file; Restore: security code

    bool operator==(const Secret &) const = default;
};

enum class MaterialKind : std::uint8_t { Key = 1, File = 2 };

std::vector<std::uint8_t> encodeSecret(const Secret &secret);
std::optional<Secret> decodeSecret(const std::uint8_t *data, std::size_t size);

/** The clear fields of a request (type, target, network parameters) that the sealed box is bound to. */
std::vector<std::uint8_t> boundFields(MsgType type, const Request &request);

/** Decodes one datagram; never reads outside [data, data + size). */
Decoded decode(const std::uint8_t *data, std::size_t size);

std::vector<std::uint8_t> encodeInquiry(std::uint32_t txid);
std::vector<std::uint8_t> encodeAnnounce(std::uint32_t txid, const Announce &announce);
std::vector<std::uint8_t> encodeChallenge(std::uint32_t txid, const Challenge &challenge);
/** Encodes a request of the given type; the fields the type does not use are ignored. */
std::vector<std::uint8_t> encodeRequest(MsgType type, std::uint32_t txid, const Request &request);
std::vector<std::uint8_t> encodeResult(std::uint32_t txid, const Result &result);

/** The bytes of an announcement that the device signs: everything but the signature itself. */
std::vector<std::uint8_t> announceSignedBytes(const Announce &announce);
/** The bytes of a challenge that the device signs, bound to the request's transaction id. */
std::vector<std::uint8_t> challengeSignedBytes(std::uint32_t txid, const Challenge &challenge);
/** The bytes of a result that the reply key authenticates (the tag excluded). */
std::vector<std::uint8_t> resultAuthenticatedBytes(std::uint32_t txid, const Result &result);
/** The identity the maker certifies: serial number, MAC, type code and both public keys. */
std::vector<std::uint8_t> certificateBytes(const Announce &announce);

/** The bytes of the network parameters as encoded on the wire (bound into the sealed box). */
std::vector<std::uint8_t> encodeNetParams(const NetParams &params);

bool isRequestType(MsgType type);
const char *decodeErrorName(DecodeError error);

/** "aa-bb-cc-dd-ee-ff" */
std::string macToText(const std::array<std::uint8_t, 6> &mac);
std::optional<std::array<std::uint8_t, 6>> macFromText(std::string_view text);

} // namespace vxdp

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "codec.h"

#include <cstdio>
#include <cstring>

namespace vxdp {
namespace {

class Writer
{
public:
    explicit Writer(MsgType type, std::uint32_t txid)
        : m_header(true)
    {
        m_buf.reserve(kTypicalSize);
        u32(kMagic);
        u8(kVersion);
        u8(static_cast<std::uint8_t>(type));
        u16(0); // body length, patched in finish()
        u32(txid);
    }
    Writer() { m_buf.reserve(kTypicalSize); }

    void u8(std::uint8_t v) { m_buf.push_back(v); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void bytes(const std::uint8_t *p, std::size_t n) { m_buf.insert(m_buf.end(), p, p + n); }
    template<std::size_t N>
    void bytes(const std::array<std::uint8_t, N> &a)
    {
        bytes(a.data(), N);
    }
    // Strings carry a one-byte length; the caller's limit keeps them short.
    void str8(std::string_view s, std::size_t max)
    {
        const std::size_t n = std::min(s.size(), std::min<std::size_t>(max, 255));
        u8(static_cast<std::uint8_t>(n));
        bytes(reinterpret_cast<const std::uint8_t *>(s.data()), n);
    }
    // Absent (length 0) or exactly @p size bytes; anything else is written as absent.
    void optionalBlob(const std::vector<std::uint8_t> &v, std::size_t size)
    {
        if (v.size() != size) {
            u8(0);
            return;
        }
        u8(static_cast<std::uint8_t>(size));
        bytes(v.data(), v.size());
    }
    void str16(std::string_view s, std::size_t max)
    {
        const std::size_t n = std::min(s.size(), max);
        u16(static_cast<std::uint16_t>(n));
        bytes(reinterpret_cast<const std::uint8_t *>(s.data()), n);
    }
    std::vector<std::uint8_t> finish()
    {
        if (m_header) {
            const auto body = static_cast<std::uint16_t>(m_buf.size() - kHeaderSize);
            m_buf[6] = static_cast<std::uint8_t>(body);
            m_buf[7] = static_cast<std::uint8_t>(body >> 8);
        }
        return std::move(m_buf);
    }

private:
    // Room made once: grown a byte at a time from nothing, a record was copied nine times.
    static constexpr std::size_t kTypicalSize = 256;
    std::vector<std::uint8_t> m_buf;
    bool m_header = false; // records inside a datagram (sealed secrets, bound fields) have none
};

class Reader
{
public:
    Reader(const std::uint8_t *data, std::size_t size)
        : m_p(data)
        , m_end(data + size)
    {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_p == m_end; }
    std::size_t left() const { return static_cast<std::size_t>(m_end - m_p); }

    std::uint8_t u8()
    {
        if (!need(1))
            return 0;
        return *m_p++;
    }
    std::uint16_t u16()
    {
        const std::uint16_t lo = u8();
        const std::uint16_t hi = u8();
        return static_cast<std::uint16_t>(lo | (hi << 8));
    }
    std::uint32_t u32()
    {
        const std::uint32_t lo = u16();
        const std::uint32_t hi = u16();
        return lo | (hi << 16);
    }
    template<std::size_t N>
    void bytes(std::array<std::uint8_t, N> &out)
    {
        if (!need(N))
            return;
        std::memcpy(out.data(), m_p, N);
        m_p += N;
    }
    // Texts end up in NUL-terminated record fields: an embedded NUL is refused.
    std::string text(std::size_t n, std::size_t max, bool allowEmpty, bool allowNul = false)
    {
        if (n > max || (!allowEmpty && n == 0)) {
            m_ok = false;
            return {};
        }
        if (!need(n))
            return {};
        std::string s(reinterpret_cast<const char *>(m_p), n);
        m_p += n;
        if (!allowNul && s.find('\0') != std::string::npos)
            m_ok = false;
        return s;
    }
    std::string str8(std::size_t max, bool allowEmpty = true) { return text(u8(), max, allowEmpty); }
    std::string str16(std::size_t max, bool allowEmpty = true, bool allowNul = false)
    {
        return text(u16(), max, allowEmpty, allowNul);
    }
    // An optional signature or tag: absent (length 0) or exactly @p size bytes.
    std::vector<std::uint8_t> optionalBlob(std::size_t size)
    {
        const std::size_t n = u8();
        if (n != 0 && n != size) {
            m_ok = false;
            return {};
        }
        if (!need(n))
            return {};
        std::vector<std::uint8_t> v(m_p, m_p + n);
        m_p += n;
        return v;
    }
    std::vector<std::uint8_t> blob16(std::size_t max)
    {
        const std::size_t n = u16();
        if (n > max || !need(n)) {
            m_ok = false;
            return {};
        }
        std::vector<std::uint8_t> v(m_p, m_p + n);
        m_p += n;
        return v;
    }
    void fail() { m_ok = false; }

private:
    bool need(std::size_t n)
    {
        if (!m_ok)
            return false;
        if (left() < n) {
            m_ok = false;
            m_truncated = true; // only a real shortfall, not a field refused earlier
            return false;
        }
        return true;
    }

    const std::uint8_t *m_p;
    const std::uint8_t *m_end;
    bool m_ok = true;

public:
    bool m_truncated = false;
};

void writeDescription(Writer &w, const DeviceDescription &d)
{
    w.str8(d.serial, kMaxSerial);
    w.bytes(d.mac);
    w.bytes(d.ipv4);
    w.bytes(d.mask);
    w.bytes(d.gateway);
    w.bytes(d.ipv6);
    w.bytes(d.ipv6Gateway);
    w.u8(d.ipv6PrefixLength);
    w.u32(d.typeCode);
    w.u16(d.port);
    w.u16(d.httpPort);
    w.u16(d.channels);
    w.u8(d.capabilities);
    w.u8(d.dhcp);
    w.u8(d.extendedValid);
    w.u8(d.inactive);
    w.u8(d.keyFormat);
    w.str8(d.typeText, kMaxTypeText);
    w.str8(d.softwareVersion, kMaxVersionText);
    w.str8(d.dspVersion, kMaxVersionText);
    w.str8(d.startTime, kMaxVersionText);
}

DeviceDescription readDescription(Reader &r)
{
    DeviceDescription d;
    d.serial = r.str8(kMaxSerial, false);
    r.bytes(d.mac);
    r.bytes(d.ipv4);
    r.bytes(d.mask);
    r.bytes(d.gateway);
    r.bytes(d.ipv6);
    r.bytes(d.ipv6Gateway);
    d.ipv6PrefixLength = r.u8();
    d.typeCode = r.u32();
    d.port = r.u16();
    d.httpPort = r.u16();
    d.channels = r.u16();
    d.capabilities = r.u8();
    d.dhcp = r.u8();
    d.extendedValid = r.u8();
    d.inactive = r.u8();
    d.keyFormat = r.u8();
    d.typeText = r.str8(kMaxTypeText);
    d.softwareVersion = r.str8(kMaxVersionText);
    d.dspVersion = r.str8(kMaxVersionText);
    d.startTime = r.str8(kMaxVersionText);
    if (d.ipv6PrefixLength > kMaxIpv6PrefixLength)
        r.fail();
    return d;
}

void writeNet(Writer &w, const NetParams &n)
{
    w.bytes(n.ipv4);
    w.bytes(n.mask);
    w.bytes(n.gateway);
    w.bytes(n.ipv6);
    w.bytes(n.ipv6Gateway);
    w.u8(n.ipv6PrefixLength);
    w.u8(n.dhcp);
    w.u16(n.port);
    w.u16(n.httpPort);
    w.u8(n.flags);
}

NetParams readNet(Reader &r)
{
    NetParams n;
    r.bytes(n.ipv4);
    r.bytes(n.mask);
    r.bytes(n.gateway);
    r.bytes(n.ipv6);
    r.bytes(n.ipv6Gateway);
    n.ipv6PrefixLength = r.u8();
    n.dhcp = r.u8();
    n.port = r.u16();
    n.httpPort = r.u16();
    n.flags = r.u8();
    if (n.ipv6PrefixLength > kMaxIpv6PrefixLength || n.dhcp > 1 || (n.flags & ~unsigned(kNetAllFlags)))
        r.fail();
    return n;
}

void writeTarget(Writer &w, const Target &t)
{
    w.u8(static_cast<std::uint8_t>(t.kind));
    w.str8(t.text, kMaxTarget);
}

Target readTarget(Reader &r)
{
    Target t;
    const auto kind = r.u8();
    if (kind != static_cast<std::uint8_t>(TargetKind::Serial) && kind != static_cast<std::uint8_t>(TargetKind::Mac))
        r.fail();
    t.kind = static_cast<TargetKind>(kind);
    t.text = r.str8(kMaxTarget, false);
    return t;
}

bool knownType(std::uint8_t t)
{
    switch (static_cast<MsgType>(t)) {
    case MsgType::Inquiry:
    case MsgType::Announce:
    case MsgType::ChallengeRequest:
    case MsgType::Challenge:
    case MsgType::Activate:
    case MsgType::Modify:
    case MsgType::GetKey:
    case MsgType::Reset:
    case MsgType::Restore:
    case MsgType::Result:
        return true;
    }
    return false;
}

bool sealedType(MsgType t)
{
    return t == MsgType::Activate || t == MsgType::Modify || t == MsgType::Reset || t == MsgType::Restore;
}

} // namespace

bool isRequestType(MsgType type)
{
    return type == MsgType::ChallengeRequest || type == MsgType::GetKey || sealedType(type);
}

Decoded decode(const std::uint8_t *data, std::size_t size)
{
    Decoded out;
    if (!data || size < kHeaderSize) {
        out.error = DecodeError::TooShort;
        return out;
    }
    if (size > kMaxDatagram) {
        out.error = DecodeError::TooLong;
        return out;
    }
    Reader r(data, size);
    if (r.u32() != kMagic) {
        out.error = DecodeError::BadMagic;
        return out;
    }
    if (r.u8() != kVersion) {
        out.error = DecodeError::BadVersion;
        return out;
    }
    const std::uint8_t type = r.u8();
    const std::size_t body = r.u16();
    out.message.header.txid = r.u32();
    if (body != size - kHeaderSize) {
        out.error = DecodeError::BadLength;
        return out;
    }
    if (!knownType(type)) {
        out.error = DecodeError::UnknownType;
        return out;
    }
    const auto t = static_cast<MsgType>(type);
    out.message.header.type = t;
    Message &m = out.message;

    switch (t) {
    case MsgType::Inquiry:
        break;
    case MsgType::Announce: {
        const auto reason = r.u8();
        if (reason > static_cast<std::uint8_t>(AnnounceReason::Goodbye))
            r.fail();
        m.announce.reason = static_cast<AnnounceReason>(reason);
        const std::uint64_t bootLow = r.u32();
        m.announce.boot = bootLow | std::uint64_t(r.u32()) << 32;
        m.announce.sequence = r.u32();
        r.bytes(m.announce.publicKey);
        r.bytes(m.announce.signingKey);
        m.announce.device = readDescription(r);
        m.announce.certificate = r.optionalBlob(kSignatureSize);
        m.announce.signature = r.optionalBlob(kSignatureSize);
        break;
    }
    case MsgType::Challenge:
        r.bytes(m.challenge.nonce);
        r.bytes(m.challenge.publicKey);
        m.challenge.signature = r.optionalBlob(kSignatureSize);
        break;
    case MsgType::ChallengeRequest:
        m.request.target = readTarget(r);
        break;
    case MsgType::GetKey:
        m.request.target = readTarget(r);
        m.request.command = r.u8();
        break;
    case MsgType::Activate:
    case MsgType::Modify:
    case MsgType::Reset:
    case MsgType::Restore:
        m.request.target = readTarget(r);
        if (t == MsgType::Modify)
            m.request.net = readNet(r);
        m.request.sealed = r.blob16(kMaxDatagram);
        if (m.request.sealed.size() < kSealOverhead)
            r.fail();
        break;
    case MsgType::Result: {
        m.result.status = static_cast<Status>(r.u32());
        m.result.keyMaterial = r.str16(kMaxKeyMaterial);
        m.result.tag = r.optionalBlob(kResultTagSize);
        break;
    }
    }
    if (!r.ok()) {
        out.error = r.m_truncated ? DecodeError::Truncated : DecodeError::BadField;
        return out;
    }
    if (!r.atEnd())
        out.error = DecodeError::TrailingBytes;
    return out;
}

std::vector<std::uint8_t> encodeInquiry(std::uint32_t txid)
{
    return Writer(MsgType::Inquiry, txid).finish();
}

namespace {

void writeAnnounceSigned(Writer &w, const Announce &a)
{
    w.u8(static_cast<std::uint8_t>(a.reason));
    w.u32(static_cast<std::uint32_t>(a.boot));
    w.u32(static_cast<std::uint32_t>(a.boot >> 32));
    w.u32(a.sequence);
    w.bytes(a.publicKey);
    w.bytes(a.signingKey);
    writeDescription(w, a.device);
    w.optionalBlob(a.certificate, kSignatureSize);
}

// Domain texts keep a signature made for one purpose from being valid for another.
void writeDomain(Writer &w, std::string_view domain)
{
    w.bytes(reinterpret_cast<const std::uint8_t *>(domain.data()), domain.size());
    w.u8(0);
}

} // namespace

std::vector<std::uint8_t> encodeAnnounce(std::uint32_t txid, const Announce &a)
{
    Writer w(MsgType::Announce, txid);
    writeAnnounceSigned(w, a);
    w.optionalBlob(a.signature, kSignatureSize);
    return w.finish();
}

std::vector<std::uint8_t> announceSignedBytes(const Announce &a)
{
    Writer w;
    writeDomain(w, "VXDP-ANNOUNCE");
    writeAnnounceSigned(w, a);
    return w.finish();
}

std::vector<std::uint8_t> certificateBytes(const Announce &a)
{
    Writer w;
    writeDomain(w, "VXDP-DEVICE-CERT");
    w.str8(a.device.serial, kMaxSerial);
    w.bytes(a.device.mac);
    w.u32(a.device.typeCode);
    w.bytes(a.publicKey);
    w.bytes(a.signingKey);
    return w.finish();
}

std::vector<std::uint8_t> encodeChallenge(std::uint32_t txid, const Challenge &c)
{
    Writer w(MsgType::Challenge, txid);
    w.bytes(c.nonce);
    w.bytes(c.publicKey);
    w.optionalBlob(c.signature, kSignatureSize);
    return w.finish();
}

std::vector<std::uint8_t> challengeSignedBytes(std::uint32_t txid, const Challenge &c)
{
    Writer w;
    writeDomain(w, "VXDP-CHALLENGE");
    w.u32(txid);
    w.bytes(c.nonce);
    w.bytes(c.publicKey);
    return w.finish();
}

std::vector<std::uint8_t> resultAuthenticatedBytes(std::uint32_t txid, const Result &res)
{
    Writer w;
    writeDomain(w, "VXDP-RESULT");
    w.u32(txid);
    w.u32(static_cast<std::uint32_t>(res.status));
    w.str16(res.keyMaterial, kMaxKeyMaterial);
    return w.finish();
}

std::vector<std::uint8_t> encodeRequest(MsgType type, std::uint32_t txid, const Request &req)
{
    Writer w(type, txid);
    writeTarget(w, req.target);
    if (type == MsgType::GetKey)
        w.u8(req.command);
    if (type == MsgType::Modify)
        writeNet(w, req.net);
    if (sealedType(type)) {
        w.u16(static_cast<std::uint16_t>(req.sealed.size()));
        w.bytes(req.sealed.data(), req.sealed.size());
    }
    return w.finish();
}

std::vector<std::uint8_t> encodeResult(std::uint32_t txid, const Result &res)
{
    Writer w(MsgType::Result, txid);
    w.u32(static_cast<std::uint32_t>(res.status));
    w.str16(res.keyMaterial, kMaxKeyMaterial);
    w.optionalBlob(res.tag, kResultTagSize);
    return w.finish();
}

std::vector<std::uint8_t> encodeNetParams(const NetParams &params)
{
    Writer w;
    writeNet(w, params);
    return w.finish();
}

std::vector<std::uint8_t> boundFields(MsgType type, const Request &request)
{
    Writer w;
    w.u8(static_cast<std::uint8_t>(type));
    writeTarget(w, request.target);
    if (type == MsgType::Modify)
        writeNet(w, request.net);
    return w.finish();
}

std::vector<std::uint8_t> encodeSecret(const Secret &s)
{
    Writer w;
    w.u8(static_cast<std::uint8_t>(s.type));
    w.bytes(s.nonce);
    w.bytes(s.bound);
    w.bytes(s.replyKey);
    w.str8(s.password, kMaxPassword);
    w.u8(s.resetIpc);
    w.u8(s.materialKind);
    w.str16(s.material, kMaxResetFile);
    return w.finish();
}

std::optional<Secret> decodeSecret(const std::uint8_t *data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Reader r(data, size);
    Secret s;
    const auto type = r.u8();
    if (!knownType(type) || !sealedType(static_cast<MsgType>(type)))
        return std::nullopt;
    s.type = static_cast<MsgType>(type);
    r.bytes(s.nonce);
    r.bytes(s.bound);
    r.bytes(s.replyKey);
    s.password = r.str8(kMaxPassword);
    s.resetIpc = r.u8();
    s.materialKind = r.u8();
    // A reset file is an opaque byte string; everything else is text.
    const bool file = s.materialKind == static_cast<std::uint8_t>(MaterialKind::File);
    s.material = r.str16(kMaxResetFile, true, file);
    if (!r.ok() || !r.atEnd() || s.resetIpc > 1 || s.materialKind > 2)
        return std::nullopt;
    return s;
}

const char *decodeErrorName(DecodeError error)
{
    switch (error) {
    case DecodeError::None:
        return "none";
    case DecodeError::TooShort:
        return "too short";
    case DecodeError::TooLong:
        return "too long";
    case DecodeError::BadMagic:
        return "bad magic";
    case DecodeError::BadVersion:
        return "unknown version";
    case DecodeError::BadLength:
        return "length mismatch";
    case DecodeError::UnknownType:
        return "unknown type";
    case DecodeError::Truncated:
        return "truncated";
    case DecodeError::BadField:
        return "bad field";
    case DecodeError::TrailingBytes:
        return "trailing bytes";
    }
    return "?";
}

std::string macToText(const std::array<std::uint8_t, 6> &mac)
{
    // By hand: the library formats one for every announcement it receives.
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(kMacTextLength, '-');
    for (std::size_t i = 0; i < mac.size(); ++i) {
        text[3 * i] = kDigits[mac[i] >> 4];
        text[3 * i + 1] = kDigits[mac[i] & 0x0f];
    }
    return text;
}

std::optional<std::array<std::uint8_t, 6>> macFromText(std::string_view text)
{
    if (text.size() != kMacTextLength)
        return std::nullopt;
    std::array<std::uint8_t, 6> mac{};
    auto hex = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (std::size_t i = 0; i < 6; ++i) {
        const int hi = hex(text[i * 3]);
        const int lo = hex(text[i * 3 + 1]);
        if (hi < 0 || lo < 0 || (i < 5 && text[i * 3 + 2] != '-' && text[i * 3 + 2] != ':'))
            return std::nullopt;
        mac[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    return mac;
}

} // namespace vxdp

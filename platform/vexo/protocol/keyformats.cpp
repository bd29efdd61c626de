// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "keyformats.h"

#include "crypto.h"

namespace vxdp {
namespace {

bool printable(std::string_view s)
{
    for (char c : s) {
        if (static_cast<unsigned char>(c) < 0x21 || static_cast<unsigned char>(c) > 0x7e)
            return false;
    }
    return true;
}

std::string xmlEscape(std::string_view s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> xmlUnescape(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        static constexpr std::pair<std::string_view, char> entities[]
            = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
        bool matched = false;
        for (const auto &[name, ch] : entities) {
            if (s.substr(i, name.size()) == name) {
                out += ch;
                i += name.size() - 1;
                matched = true;
                break;
            }
        }
        if (!matched)
            return std::nullopt;
    }
    return out;
}

// The text of the only element <tag>...</tag>; nested markup is refused.
std::optional<std::string> elementText(std::string_view xml, std::string_view tag)
{
    std::string open(1, '<');
    open.append(tag).push_back('>');
    std::string close("</");
    close.append(tag).push_back('>');
    const auto a = xml.find(open);
    if (a == std::string_view::npos || xml.find(open, a + 1) != std::string_view::npos)
        return std::nullopt;
    const auto b = xml.find(close, a + open.size());
    if (b == std::string_view::npos)
        return std::nullopt;
    const auto inner = xml.substr(a + open.size(), b - a - open.size());
    if (inner.find('<') != std::string_view::npos)
        return std::nullopt;
    return xmlUnescape(inner);
}

} // namespace

std::string formatKeyMaterial(const KeyMaterial &key)
{
    return "VK" + std::to_string(key.scheme) + "." + key.serial + "." + toBase64(key.nonce.data(), key.nonce.size());
}

std::optional<KeyMaterial> parseKeyMaterial(std::string_view text)
{
    if (text.size() < 6 || text.size() > 120 || !printable(text) || text.substr(0, 2) != "VK" || text[3] != '.')
        return std::nullopt;
    KeyMaterial key;
    if (text[2] != '1' && text[2] != '2')
        return std::nullopt;
    key.scheme = text[2] - '0';
    const auto rest = text.substr(4);
    const auto dot = rest.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return std::nullopt;
    key.serial = std::string(rest.substr(0, dot));
    const auto nonce = fromBase64(rest.substr(dot + 1));
    if (!nonce || nonce->size() != kResetNonceSize)
        return std::nullopt;
    std::copy(nonce->begin(), nonce->end(), key.nonce.begin());
    return key;
}

std::vector<std::uint8_t> resetMessage(int scheme, std::string_view serial,
                                       const std::array<std::uint8_t, kResetNonceSize> &nonce)
{
    const std::string domain = "VXDP-RESET-" + std::to_string(scheme);
    std::vector<std::uint8_t> m(domain.begin(), domain.end());
    m.push_back(0);
    m.insert(m.end(), serial.begin(), serial.end());
    m.push_back(0);
    m.insert(m.end(), nonce.begin(), nonce.end());
    return m;
}

std::string formatResetKey(int scheme, const std::array<std::uint8_t, 64> &signature)
{
    return "RK" + std::to_string(scheme) + "." + toBase64(signature.data(), signature.size());
}

std::optional<ResetKey> parseResetKey(std::string_view text)
{
    // Users type or paste it: surrounding blanks are forgiven.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    if (text.size() < 5 || text.size() > 128 || text.substr(0, 2) != "RK" || text[3] != '.')
        return std::nullopt;
    if (text[2] != '1' && text[2] != '2')
        return std::nullopt;
    auto sig = fromBase64(text.substr(4));
    if (!sig || sig->size() != 64)
        return std::nullopt;
    return ResetKey{text[2] - '0', std::move(*sig)};
}

std::string formatResetFile(std::string_view serial, const std::string &resetKey)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VexoResetFile version=\"1\">\n  <SerialNumber>"
           + xmlEscape(serial) + "</SerialNumber>\n  <ResetKey>" + resetKey + "</ResetKey>\n</VexoResetFile>\n";
}

std::optional<ResetFile> parseResetFile(std::string_view xml)
{
    if (xml.find("<VexoResetFile version=\"1\">") == std::string_view::npos)
        return std::nullopt;
    auto serial = elementText(xml, "SerialNumber");
    auto key = elementText(xml, "ResetKey");
    if (!serial || !key)
        return std::nullopt;
    return ResetFile{std::move(*serial), std::move(*key)};
}

std::optional<KeyQr> parseKeyQr(std::string_view text)
{
    KeyQr qr;
    if (text.substr(0, 2) == "B:") {
        qr.olderScheme = true;
        text.remove_prefix(2);
    }
    const auto sep = text.find("**");
    if (sep == std::string_view::npos)
        return std::nullopt;
    qr.deviceType = std::string(text.substr(0, sep));
    qr.key = std::string(text.substr(sep + 2));
    if (qr.key.empty())
        return std::nullopt;
    return qr;
}

std::optional<RestoreQr> parseRestoreQr(std::string_view text)
{
    if (text.substr(0, 2) != "A:")
        return std::nullopt;
    text.remove_prefix(2);
    const auto sep = text.find("**");
    if (sep == std::string_view::npos || sep + 2 >= text.size())
        return std::nullopt;
    return RestoreQr{std::string(text.substr(0, sep)), std::string(text.substr(sep + 2))};
}

std::array<std::uint8_t, 32> restoreDeviceSecret(const std::array<std::uint8_t, 32> &master, std::string_view serial)
{
    std::string msg = "VXDP-RESTORE-DEVICE";
    msg.push_back('\0');
    msg.append(serial);
    const auto h = keyedHash(master, msg, 32);
    std::array<std::uint8_t, 32> out{};
    std::copy(h.begin(), h.end(), out.begin());
    return out;
}

std::string securityCode(const std::array<std::uint8_t, 32> &deviceSecret, std::string_view serial,
                         std::string_view date)
{
    std::string msg(serial);
    msg.push_back('\0');
    msg.append(date);
    const auto h = keyedHash(deviceSecret, msg, 10); // 80 bits = 16 base32 digits
    static constexpr char alphabet[] = "0123456789ABCDEFGHJKMNPQRSTVWXYZ";
    std::string code;
    std::uint32_t acc = 0;
    int bits = 0;
    for (std::uint8_t b : h) {
        acc = (acc << 8) | b;
        bits += 8;
        while (bits >= 5) {
            code += alphabet[(acc >> (bits - 5)) & 31];
            bits -= 5;
        }
    }
    return code;
}

std::string serialWithoutType(std::string serial, std::string_view deviceType)
{
    if (deviceType.empty())
        return serial;
    std::size_t pos = 0;
    while ((pos = serial.find(deviceType, pos)) != std::string::npos)
        serial.erase(pos, deviceType.size());
    return serial;
}

} // namespace vxdp

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// libFuzzer target: every input must decode or be refused without reading out of
// bounds, and whatever decodes must encode back to a datagram that decodes the same.
#include "protocol/codec.h"
#include "protocol/keyformats.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const vxdp::Decoded d = vxdp::decode(data, size);
    if (d) {
        const vxdp::Message &m = d.message;
        std::vector<std::uint8_t> again;
        switch (m.header.type) {
        case vxdp::MsgType::Inquiry:
            again = vxdp::encodeInquiry(m.header.txid);
            break;
        case vxdp::MsgType::Announce:
            again = vxdp::encodeAnnounce(m.header.txid, m.announce);
            break;
        case vxdp::MsgType::Challenge:
            again = vxdp::encodeChallenge(m.header.txid, m.challenge);
            break;
        case vxdp::MsgType::Result:
            again = vxdp::encodeResult(m.header.txid, m.result);
            break;
        default:
            again = vxdp::encodeRequest(m.header.type, m.header.txid, m.request);
            break;
        }
        if (again.size() != size || !std::equal(again.begin(), again.end(), data))
            std::abort();
    }
    (void)vxdp::decodeSecret(data, size);
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    (void)vxdp::parseKeyMaterial(text);
    (void)vxdp::parseResetKey(text);
    (void)vxdp::parseResetFile(text);
    (void)vxdp::parseKeyQr(text);
    (void)vxdp::parseRestoreQr(text);
    return 0;
}

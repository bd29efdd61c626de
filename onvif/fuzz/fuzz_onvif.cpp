// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// libFuzzer target: every input must parse or be refused (with a reason) by every ONVIF
// parser, without reading out of bounds, crashing or stalling.
#include "devicemgmt.h"
#include "httpdigest.h"
#include "imagecheck.h"
#include "media.h"
#include "wsdiscovery.h"

#include <cstdint>
#include <cstdlib>

namespace {
template<typename T>
void check(const onvif::Result<T> &r)
{
    // Exactly one outcome, and a refusal always says why.
    const int outcomes = int(r.value.has_value()) + int(r.fault.has_value()) + int(!r.error.isEmpty());
    if (outcomes != 1)
        std::abort();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace onvif;
    const QByteArrayView xml(reinterpret_cast<const char *>(data), qsizetype(size));
    check(discovery::parseMessage(xml));
    check(devicemgmt::parseSystemDateAndTime(xml));
    check(devicemgmt::parseDeviceInformation(xml));
    check(devicemgmt::parseNetworkInterfaces(xml));
    check(devicemgmt::parseNetworkDefaultGateway(xml));
    check(devicemgmt::parseNetworkProtocols(xml));
    check(devicemgmt::parseCapabilities(xml));
    check(devicemgmt::parseUsers(xml));
    // The challenge parser reads a header the device chose; it must end and pick nothing unusable.
    const auto digest = HttpDigest::select(HttpDigest::parseChallenges(xml.toByteArray()));
    if (digest && digest->algorithm().isEmpty())
        std::abort();
    check(devicemgmt::parseSetNetworkInterfaces(xml));
    check(devicemgmt::parseSystemReboot(xml));
    check(devicemgmt::parseAcknowledgement(xml, u"SetUserResponse"));
    check(media::parseServices(xml));
    for (media::Version v : {media::Version::Media, media::Version::Media2}) {
        check(media::parseProfiles(v, xml));
        check(media::parseSnapshotUri(v, xml));
    }
    // The image header reader: an image within the limits, or a refusal that says why.
    const ImageCheck::Result image = ImageCheck::inspect(xml);
    if ((image.verdict == ImageCheck::Verdict::Image) == !image.reason.isEmpty())
        std::abort();
    if (image.verdict == ImageCheck::Verdict::Image
        && (image.width <= 0 || image.height <= 0 || qint64(image.width) * image.height > ImageCheck::kMaxPixels))
        std::abort();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "imagecheck.h"

#include <climits>

namespace onvif {

namespace {

using Result = ImageCheck::Result;

Result refused(ImageCheck::Verdict verdict, ImageCheck::Format format, const QString &reason)
{
    Result r;
    r.verdict = verdict;
    r.format = format;
    r.reason = reason;
    return r;
}

quint32 bigEndian16(QByteArrayView b, qsizetype at)
{
    return (quint32(quint8(b[at])) << 8) | quint8(b[at + 1]);
}

quint32 bigEndian32(QByteArrayView b, qsizetype at)
{
    return (bigEndian16(b, at) << 16) | bigEndian16(b, at + 2);
}

Result sized(ImageCheck::Format format, qint64 width, qint64 height)
{
    using V = ImageCheck::Verdict;
    if (width <= 0 || height <= 0)
        return refused(V::NotAnImage, format, QStringLiteral("the header states no size"));
    if (width > ImageCheck::kMaxSide || height > ImageCheck::kMaxSide || width * height > ImageCheck::kMaxPixels) {
        Result r = refused(V::TooLarge, format,
                           QStringLiteral("%1 x %2 pixels exceed the limit of %3 pixels, %4 a side")
                               .arg(width)
                               .arg(height)
                               .arg(ImageCheck::kMaxPixels)
                               .arg(ImageCheck::kMaxSide));
        r.width = int(qMin<qint64>(width, INT_MAX));
        r.height = int(qMin<qint64>(height, INT_MAX));
        return r;
    }
    Result r;
    r.verdict = V::Image;
    r.format = format;
    r.width = int(width);
    r.height = int(height);
    return r;
}

// The frame header (SOFn) gives the size; the segments before it are skipped by their lengths.
Result inspectJpeg(QByteArrayView b)
{
    using V = ImageCheck::Verdict;
    constexpr auto jpeg = ImageCheck::Format::Jpeg;
    qsizetype at = 2; // after SOI
    while (true) {
        if (at >= b.size())
            return refused(V::NotAnImage, jpeg, QStringLiteral("the JPEG ends before its frame header"));
        if (quint8(b[at]) != 0xFF)
            return refused(V::NotAnImage, jpeg, QStringLiteral("no JPEG marker at byte %1").arg(at));
        while (at < b.size() && quint8(b[at]) == 0xFF) // fill bytes
            ++at;
        if (at >= b.size())
            return refused(V::NotAnImage, jpeg, QStringLiteral("the JPEG ends before its frame header"));
        const quint8 marker = quint8(b[at++]);
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) // no length
            continue;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return refused(V::NotAnImage, jpeg, QStringLiteral("the JPEG has no frame header before its data"));
        if (at + 2 > b.size())
            return refused(V::NotAnImage, jpeg, QStringLiteral("the JPEG ends inside a segment"));
        const quint32 length = bigEndian16(b, at);
        if (length < 2 || at + qsizetype(length) > b.size())
            return refused(V::NotAnImage, jpeg, QStringLiteral("a JPEG segment's length runs past the end"));
        const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 8)
                return refused(V::NotAnImage, jpeg, QStringLiteral("the JPEG frame header is too short"));
            return sized(jpeg, bigEndian16(b, at + 5), bigEndian16(b, at + 3));
        }
        at += length;
    }
}

Result inspectPng(QByteArrayView b)
{
    using V = ImageCheck::Verdict;
    constexpr auto png = ImageCheck::Format::Png;
    // Signature, then the IHDR chunk: length 13, type, width, height.
    if (b.size() < 8 + 8 + 13 || bigEndian32(b, 8) != 13 || b.sliced(12, 4) != "IHDR")
        return refused(V::NotAnImage, png, QStringLiteral("the PNG does not start with its header chunk"));
    const quint32 width = bigEndian32(b, 16);
    const quint32 height = bigEndian32(b, 20);
    return sized(png, width, height);
}

} // namespace

ImageCheck::Result ImageCheck::inspect(QByteArrayView bytes)
{
    static constexpr char kPng[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() >= 3 && quint8(bytes[0]) == 0xFF && quint8(bytes[1]) == 0xD8 && quint8(bytes[2]) == 0xFF)
        return inspectJpeg(bytes);
    if (bytes.startsWith(QByteArrayView(kPng, 8)))
        return inspectPng(bytes);
    return refused(Verdict::NotAnImage, Format::None, QStringLiteral("neither a JPEG nor a PNG"));
}

const char *ImageCheck::formatName(Format format)
{
    switch (format) {
    case Format::Jpeg:
        return "JPEG";
    case Format::Png:
        return "PNG";
    case Format::None:
        break;
    }
    return "";
}

} // namespace onvif

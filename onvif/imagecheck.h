// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArrayView>
#include <QString>

namespace onvif {

/**
 * @brief Looks at a camera's still image before any decoder does: only a JPEG or a PNG,
 * recognised by its signature (never by a file name or a content type), whose header states
 * dimensions that a decoder can hold.
 *
 * A few bytes can claim a picture of gigapixels and make a decoder allocate gigabytes, so the
 * dimensions are read from the header with every length checked, and an image whose sides or
 * pixel count exceed the limits is refused before anything is decoded.
 */
class ImageCheck
{
public:
    /** @brief The longest side accepted. */
    static constexpr int kMaxSide = 16384;
    /** @brief The most pixels accepted: a little more than 8K UHD (7680 x 4320). */
    static constexpr qint64 kMaxPixels = 36'000'000;

    enum class Format { None, Jpeg, Png };
    enum class Verdict {
        Image,      ///< a JPEG or PNG of acceptable dimensions
        NotAnImage, ///< another format, text, or a header that cannot be read
        TooLarge,   ///< its dimensions exceed the limits
    };

    struct Result
    {
        Verdict verdict = Verdict::NotAnImage;
        Format format = Format::None;
        int width = 0;
        int height = 0;
        QString reason; ///< why it was refused (English, for logs and details)
    };

    /** @brief Reads the format and dimensions of @p bytes. */
    static Result inspect(QByteArrayView bytes);
    /** @brief "JPEG" or "PNG", the name Qt's image reader knows the format by. */
    static const char *formatName(Format format);
};

} // namespace onvif

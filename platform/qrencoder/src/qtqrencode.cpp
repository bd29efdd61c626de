// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "qtqrencode.h"

#include <qrencode.h>

#include <QtMath>

#include <algorithm>
#include <memory>

namespace {

struct QrCodeDeleter
{
    void operator()(QRcode *code) const { QRcode_free(code); }
};
using QrCodePtr = std::unique_ptr<QRcode, QrCodeDeleter>;

QrCodePtr encode(const QString &text)
{
    if (text.isEmpty())
        return nullptr;
    const QByteArray bytes = text.toUtf8();
    // Eight-bit data as it is: the key texts mix cases and punctuation, which the
    // alphanumeric mode would not keep.
    return QrCodePtr(QRcode_encodeData(int(bytes.size()), reinterpret_cast<const unsigned char *>(bytes.constData()), 0,
                                       QR_ECLEVEL_M));
}

} // namespace

QtQrEncode::QtQrEncode(QObject *parent)
    : QObject(parent)
{}

QtQrEncode::~QtQrEncode() = default;

void QtQrEncode::setString(const QString &text)
{
    m_text = text;
}

int QtQrEncode::moduleCount() const
{
    const QrCodePtr code = encode(m_text);
    return code ? code->width + 2 * QuietZone : 0;
}

QImage QtQrEncode::getQRCode(int size, qreal devicePixelRatio) const
{
    const QrCodePtr code = encode(m_text);
    if (!code)
        return {};
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const int modules = code->width + 2 * QuietZone;
    const int side = qMax(qFloor(qMax(size, 0) * ratio), modules);
    const int modulePixels = side / modules;
    // What is left over after whole modules widens the quiet zone evenly.
    const int origin = (side - modulePixels * modules) / 2 + QuietZone * modulePixels;

    QImage image(side, side, QImage::Format_Grayscale8);
    image.fill(255);
    for (int y = 0; y < code->width; ++y) {
        const unsigned char *row = code->data + std::ptrdiff_t(y) * code->width;
        for (int x = 0; x < code->width; ++x) {
            if (!(row[x] & 0x01))
                continue;
            for (int py = 0; py < modulePixels; ++py) {
                uchar *line = image.scanLine(origin + y * modulePixels + py);
                std::fill_n(line + origin + x * modulePixels, modulePixels, uchar(0));
            }
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

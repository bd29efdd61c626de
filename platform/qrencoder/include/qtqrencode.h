// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QString>

/**
 * @brief Turns a text into the image of a QR symbol that a phone can scan back into that text.
 *
 * The text is encoded as UTF-8 bytes with error correction level M. Every module is a whole
 * number of pixels and the symbol keeps a white quiet zone of four modules on every side, so
 * the image stays sharp when shown unscaled; for high-DPI screens ask for the image in device
 * pixels (see getQRCode()).
 */
class QtQrEncode : public QObject
{
    Q_OBJECT

public:
    explicit QtQrEncode(QObject *parent = nullptr);
    ~QtQrEncode() override;

    /** @brief The text the next getQRCode() encodes. */
    void setString(const QString &text);
    /** @brief The text set last. */
    QString string() const { return m_text; }

    /**
     * @brief The QR symbol of the last text, as a square image of @p size × @p size logical pixels.
     *
     * With @p devicePixelRatio above 1 the image holds size × ratio device pixels and carries that
     * ratio, so a label on a high-DPI screen shows it without scaling. The symbol is centred with
     * whole-pixel modules as large as fit; when not even one pixel per module fits, the image grows
     * to one pixel per module. A text that cannot be encoded (empty, or too long for a QR symbol)
     * gives a null image.
     */
    QImage getQRCode(int size, qreal devicePixelRatio = 1.0) const;

    /** @brief The modules of the symbol including the quiet zone, per side; 0 when it cannot be encoded. */
    int moduleCount() const;

    /** @brief White modules around the symbol on every side. */
    static constexpr int QuietZone = 4;

private:
    QString m_text;
};

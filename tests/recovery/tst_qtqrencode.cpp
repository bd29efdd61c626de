// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

// The QR encoder's images, read back by an independent decoder (zbarimg).

#include <qtqrencode.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The decoder's text for an image file; a null string when it finds no symbol.
QString decode(const QString &path)
{
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), path});
    if (!zbar.waitForFinished(20000) || zbar.exitCode() != 0)
        return {};
    QByteArray out = zbar.readAllStandardOutput();
    if (out.endsWith('\n'))
        out.chop(1);
    return QString::fromUtf8(out);
}

// Whether every module is a uniform square of @p module pixels starting at @p origin.
bool modulesAreWholePixels(const QImage &image, int origin, int module, int count)
{
    for (int my = 0; my < count; ++my) {
        for (int mx = 0; mx < count; ++mx) {
            const QRgb first = image.pixel(origin + mx * module, origin + my * module);
            for (int y = 0; y < module; ++y)
                for (int x = 0; x < module; ++x)
                    if (image.pixel(origin + mx * module + x, origin + my * module + y) != first)
                        return false;
        }
    }
    return true;
}

} // namespace

class tst_QtQrEncode : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void decodesBack_data();
    void decodesBack();
    void imageSize_data();
    void imageSize();
    void tinySizeGrowsToOnePixelPerModule();
    void modulesAndQuietZone_data();
    void modulesAndQuietZone();
    void nothingToEncode_data();
    void nothingToEncode();

private:
    QTemporaryDir m_dir;
};

void tst_QtQrEncode::initTestCase()
{
    QVERIFY(m_dir.isValid());
    if (QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty())
        QFAIL("zbarimg is missing (scripts/dev.sh installs zbar-tools)");
}

void tst_QtQrEncode::decodesBack_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<qreal>("ratio");
    // Key texts as the library produces them: "VK<scheme>.<serial>.<nonce>", at most 80 characters.
    const QString older = QStringLiteral("B:VX-NVR3104**VK1.VX-NVR310420260112KPRT004518273.q3Jx0sZbYk1vN7e2");
    const QString newer = QStringLiteral("VX-12C3**VK2.VX-12C320260127HWXA918273645.AbCdEfGhIjKlMnOp");
    const QString longest = QStringLiteral("VX-IPC2T12**VK2.") + QString(48, QLatin1Char('S')) + QStringLiteral(".")
                            + QString(27, QLatin1Char('n'));
    QTest::addRow("older scheme key at 108 px") << older << 108 << 1.0;
    QTest::addRow("newer scheme key at 108 px") << newer << 108 << 1.0;
    QTest::addRow("longest key text at 108 px") << longest << 108 << 1.0;
    QTest::addRow("restore text at 108 px") << QStringLiteral("A:VX-12C3**20260127HWXA918273645") << 108 << 1.0;
    QTest::addRow("key at 108 px on a 2x screen") << newer << 108 << 2.0;
    QTest::addRow("key at 108 px on a 1.5x screen") << older << 108 << 1.5;
    QTest::addRow("non-ASCII text") << QStringLiteral("B:摄像机**VK1.x") << 108 << 1.0;
}

void tst_QtQrEncode::decodesBack()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(qreal, ratio);
    QtQrEncode encoder;
    encoder.setString(text);
    const QImage image = encoder.getQRCode(size, ratio);
    QVERIFY(!image.isNull());
    const QString path = m_dir.filePath(QStringLiteral("%1.png").arg(QTest::currentDataTag()));
    QVERIFY(image.save(path));
    QCOMPARE(decode(path), text);
}

void tst_QtQrEncode::imageSize_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<int>("pixels");
    QTest::addRow("108 logical pixels") << 108 << 1.0 << 108;
    QTest::addRow("2x screen: twice the device pixels") << 108 << 2.0 << 216;
    QTest::addRow("1.25x screen") << 108 << 1.25 << 135;
    QTest::addRow("larger request") << 300 << 1.0 << 300;
}

void tst_QtQrEncode::imageSize()
{
    QFETCH(int, size);
    QFETCH(qreal, ratio);
    QFETCH(int, pixels);
    QtQrEncode encoder;
    encoder.setString(QStringLiteral("B:VX-16N2**VK1.VX-16N220260101ABCD123456789.nonce"));
    const QImage image = encoder.getQRCode(size, ratio);
    QCOMPARE(image.size(), QSize(pixels, pixels));
    QCOMPARE(image.devicePixelRatio(), ratio);
    QCOMPARE(image.deviceIndependentSize(), QSizeF(pixels / ratio, pixels / ratio));
}

void tst_QtQrEncode::tinySizeGrowsToOnePixelPerModule()
{
    QtQrEncode encoder;
    encoder.setString(QStringLiteral("B:VX-16N2**VK1.VX-16N220260101ABCD123456789.nonce"));
    const QImage image = encoder.getQRCode(10);
    QCOMPARE(image.size(), QSize(encoder.moduleCount(), encoder.moduleCount()));
    QVERIFY(modulesAreWholePixels(image, 0, 1, encoder.moduleCount()));
}

void tst_QtQrEncode::modulesAndQuietZone_data()
{
    QTest::addColumn<int>("size");
    QTest::addRow("108 px") << 108;
    QTest::addRow("216 px") << 216;
    QTest::addRow("odd size 121 px") << 121;
}

void tst_QtQrEncode::modulesAndQuietZone()
{
    QFETCH(int, size);
    QtQrEncode encoder;
    encoder.setString(QStringLiteral("VX-12C3**VK2.VX-12C320260127HWXA918273645.AbCdEfGhIjKlMnOp"));
    const int modules = encoder.moduleCount();
    QVERIFY(modules > 2 * QtQrEncode::QuietZone);
    const QImage image = encoder.getQRCode(size);
    const int module = size / modules;
    QVERIFY(module >= 1);
    const int origin = (size - module * modules) / 2;
    QVERIFY(modulesAreWholePixels(image, origin, module, modules));

    // Nothing dark outside the symbol, i.e. in the quiet zone and the margin around it.
    const int symbolStart = origin + QtQrEncode::QuietZone * module;
    const int symbolEnd = origin + (modules - QtQrEncode::QuietZone) * module;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool inSymbol = x >= symbolStart && x < symbolEnd && y >= symbolStart && y < symbolEnd;
            if (!inSymbol && qGray(image.pixel(x, y)) != 255)
                QFAIL(qPrintable(QStringLiteral("dark pixel at %1,%2 outside the symbol").arg(x).arg(y)));
        }
    }
    // The finder pattern's corner is dark: the symbol really starts there.
    QCOMPARE(qGray(image.pixel(symbolStart, symbolStart)), 0);
    QCOMPARE(qGray(image.pixel(symbolEnd - 1, symbolStart)), 0);
}

void tst_QtQrEncode::nothingToEncode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addRow("empty text") << QString();
    QTest::addRow("more than a QR symbol holds") << QString(5000, QLatin1Char('x'));
}

void tst_QtQrEncode::nothingToEncode()
{
    QFETCH(QString, text);
    QtQrEncode encoder;
    encoder.setString(text);
    QVERIFY(encoder.getQRCode(108).isNull());
    QCOMPARE(encoder.moduleCount(), 0);
}

QTEST_GUILESS_MAIN(tst_QtQrEncode)

#include "tst_qtqrencode.moc"

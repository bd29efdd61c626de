// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The media service's messages and the checks an image passes before any decoder sees it.
#include "imagecheck.h"
#include "media.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTest>

using namespace onvif;
using Verdict = ImageCheck::Verdict;
using Format = ImageCheck::Format;

namespace {

QByteArray data(const QString &name)
{
    QFile f(":/onvif/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray encoded(const char *format, int width = 64, int height = 48)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// A JPEG's start whose frame header claims @p width x @p height; no picture data follows.
QByteArray jpegHeader(int width, int height)
{
    QByteArray b("\xFF\xD8", 2);
    b += QByteArray("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    b += QByteArray("\xFF\xC0\x00\x11\x08", 5);
    b += char(height >> 8);
    b += char(height & 0xFF);
    b += char(width >> 8);
    b += char(width & 0xFF);
    b += QByteArray("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    return b;
}

} // namespace

class tst_Media : public QObject
{
    Q_OBJECT

private slots:
    void pickService_data();
    void pickService();
    void profiles_data();
    void profiles();
    void snapshotUri_data();
    void snapshotUri();
    void onDeviceHost_data();
    void onDeviceHost();
    void imageCheck_data();
    void imageCheck();
};

void tst_Media::pickService_data()
{
    const auto listed = media::parseServices(data("services.xml"));
    QVERIFY2(listed, qPrintable(listed.error));
    QTest::addColumn<QList<media::Service>>("services");
    QTest::addColumn<QString>("capabilities");
    QTest::addColumn<int>("version");
    QTest::addColumn<QString>("xaddr");
    QTest::addRow("Media2 before Media") << *listed.value << QString() << int(media::Version::Media2)
                                         << "http://192.0.2.10/onvif/Media2";
    QList<media::Service> mediaOnly = *listed.value;
    mediaOnly.removeLast();
    QTest::addRow("Media when no Media2")
        << mediaOnly << QString() << int(media::Version::Media) << "http://192.0.2.10/onvif/Media";
    QTest::addRow("capabilities without services") << QList<media::Service>() << "http://192.0.2.10/media"
                                                   << int(media::Version::Media) << "http://192.0.2.10/media";
    QTest::addRow("none") << QList<media::Service>{listed.value->first()} << QString() << int(media::Version::Media)
                          << QString();
}

void tst_Media::pickService()
{
    QFETCH(QList<media::Service>, services);
    QFETCH(QString, capabilities);
    QFETCH(int, version);
    QFETCH(QString, xaddr);
    const media::MediaService picked = media::pickService(services, capabilities);
    QCOMPARE(picked.xaddr, xaddr);
    if (!xaddr.isEmpty())
        QCOMPARE(int(picked.version), version);
}

void tst_Media::profiles_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("videoToken"); // empty: refused
    QTest::addRow("Media: audio profile first") << int(media::Version::Media) << data("mediaprofiles.xml") << "main";
    QTest::addRow("Media2: audio profile first")
        << int(media::Version::Media2) << data("media2profiles.xml") << "Profile_1";
    QTest::addRow("Media2 answer read as Media")
        << int(media::Version::Media) << data("media2profiles.xml") << QString();
    QTest::addRow("profile without token")
        << int(media::Version::Media) << QByteArray(data("mediaprofiles.xml")).replace("token=\"main\"", "")
        << QString();
}

void tst_Media::profiles()
{
    QFETCH(int, version);
    QFETCH(QByteArray, xml);
    QFETCH(QString, videoToken);
    const auto r = media::parseProfiles(media::Version(version), xml);
    QCOMPARE(bool(r), !videoToken.isEmpty());
    if (!r) {
        QVERIFY(!r.error.isEmpty());
        return;
    }
    QCOMPARE(r.value->size(), 2);
    const media::Profile *video = media::firstWithVideo(*r.value);
    QVERIFY(video);
    QCOMPARE(video->token, videoToken);
}

void tst_Media::snapshotUri_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("uri"); // empty: refused
    const QByteArray one = data("mediasnapshoturi.xml");
    const QByteArray two = data("media2snapshoturi.xml");
    QTest::addRow("Media") << int(media::Version::Media) << one << "http://192.0.2.10/onvif-http/snapshot?Profile_1";
    QTest::addRow("Media2 over HTTPS") << int(media::Version::Media2) << two
                                       << "https://192.0.2.10:443/cgi-bin/snapshot.cgi?channel=1";
    QTest::addRow("rtsp address") << int(media::Version::Media2) << QByteArray(two).replace("https://", "rtsp://")
                                  << QString();
    QTest::addRow("file address") << int(media::Version::Media)
                                  << QByteArray(one).replace("http://192.0.2.10", "file://") << QString();
    QTest::addRow("no address") << int(media::Version::Media)
                                << QByteArray(one).replace("<tt:Uri>", "<tt:X>").replace("</tt:Uri>", "</tt:X>")
                                << QString();
}

void tst_Media::snapshotUri()
{
    QFETCH(int, version);
    QFETCH(QByteArray, xml);
    QFETCH(QString, uri);
    const auto r = media::parseSnapshotUri(media::Version(version), xml);
    QCOMPARE(bool(r), !uri.isEmpty());
    if (r)
        QCOMPARE(*r.value, uri);
    else
        QVERIFY(!r.error.isEmpty());
}

void tst_Media::onDeviceHost_data()
{
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("device"); // the address the device was reached at
    QTest::addColumn<QString>("fetched");
    QTest::addRow("its own host") << "http://192.0.2.10/snap.jpg?x=1"
                                  << "http://192.0.2.10/onvif/device_service"
                                  << "http://192.0.2.10/snap.jpg?x=1";
    QTest::addRow("another host: the device's, port, path and scheme kept")
        << "https://203.0.113.5:8443/snap.jpg"
        << "http://192.0.2.10:8080/onvif/device_service"
        << "https://192.0.2.10:8443/snap.jpg";
    QTest::addRow("a name instead of the address") << "http://camera.example/snap.jpg"
                                                   << "http://192.0.2.10/onvif/device_service"
                                                   << "http://192.0.2.10/snap.jpg";
    QTest::addRow("device reached over IPv6") << "http://192.0.2.10/snap.jpg"
                                              << "http://[fe80::1]/onvif/device_service"
                                              << "http://[fe80::1]/snap.jpg";
}

// Whatever host a device names, its image is fetched from the device itself: the credentials go nowhere else.
void tst_Media::onDeviceHost()
{
    QFETCH(QString, named);
    QFETCH(QString, device);
    QFETCH(QString, fetched);
    QCOMPARE(media::onDeviceHost(named, QUrl(device)).toString(), fetched);
}

void tst_Media::imageCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Verdict>("verdict");
    QTest::addColumn<Format>("format");
    QTest::addColumn<QSize>("size");
    const QByteArray jpeg = encoded("JPEG");
    QTest::addRow("JPEG") << jpeg << Verdict::Image << Format::Jpeg << QSize(64, 48);
    QTest::addRow("PNG") << encoded("PNG") << Verdict::Image << Format::Png << QSize(64, 48);
    QTest::addRow("GIF") << QByteArray("GIF89a\x40\x00\x30\x00", 10) << Verdict::NotAnImage << Format::None << QSize();
    QTest::addRow("web page") << QByteArray("<!DOCTYPE html><html>Log in</html>") << Verdict::NotAnImage << Format::None
                              << QSize();
    QTest::addRow("empty") << QByteArray() << Verdict::NotAnImage << Format::None << QSize();
    QTest::addRow("JPEG cut before its frame header")
        << jpeg.left(20) << Verdict::NotAnImage << Format::Jpeg << QSize();
    QTest::addRow("JPEG segment longer than the data")
        << QByteArray("\xFF\xD8\xFF\xE0\xFF\xFF\x00\x00", 8) << Verdict::NotAnImage << Format::Jpeg << QSize();
    QTest::addRow("JPEG data before a frame header")
        << QByteArray("\xFF\xD8\xFF\xDA\x00\x02", 6) << Verdict::NotAnImage << Format::Jpeg << QSize();
    QTest::addRow("JPEG of 36 megapixels")
        << jpegHeader(6000, 6000) << Verdict::Image << Format::Jpeg << QSize(6000, 6000);
    QTest::addRow("JPEG one row over 36 megapixels")
        << jpegHeader(6000, 6001) << Verdict::TooLarge << Format::Jpeg << QSize(6000, 6001);
    QTest::addRow("JPEG bomb 65535 x 65535")
        << jpegHeader(65535, 65535) << Verdict::TooLarge << Format::Jpeg << QSize(65535, 65535);
    QTest::addRow("JPEG of no height") << jpegHeader(640, 0) << Verdict::NotAnImage << Format::Jpeg << QSize();
    QByteArray pngBomb = encoded("PNG");
    pngBomb.replace(16, 8, QByteArray("\x00\x01\x00\x00\x00\x01\x00\x00", 8));
    QTest::addRow("PNG bomb 65536 x 65536") << pngBomb << Verdict::TooLarge << Format::Png << QSize(65536, 65536);
    QByteArray pngSide = encoded("PNG");
    pngSide.replace(16, 8, QByteArray("\x00\x00\x40\x01\x00\x00\x00\x01", 8));
    QTest::addRow("PNG wider than 16384") << pngSide << Verdict::TooLarge << Format::Png << QSize(16385, 1);
    QTest::addRow("PNG without its header chunk")
        << encoded("PNG").replace(12, 4, "IDAT") << Verdict::NotAnImage << Format::Png << QSize();
}

void tst_Media::imageCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Verdict, verdict);
    QFETCH(Format, format);
    QFETCH(QSize, size);
    const ImageCheck::Result r = ImageCheck::inspect(bytes);
    QCOMPARE(r.verdict, verdict);
    QCOMPARE(r.format, format);
    if (size.isValid())
        QCOMPARE(QSize(r.width, r.height), size);
    QCOMPARE(r.reason.isEmpty(), verdict == Verdict::Image);
}

QTEST_GUILESS_MAIN(tst_Media)
#include "tst_media.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The list's thumbnails: only the rows in view are asked for, a few at a time, and memory stays bounded.
#include <snapshotthumbnails.h>

#include <QTest>

using namespace VexoTool;

namespace {

// Answers when the test says so; remembers what was asked.
class FakeSource : public SnapshotSource
{
public:
    QList<std::pair<DeviceInfo, Callback>> waiting;
    QStringList asked;
    bool available(const DeviceInfo &) const override { return true; }
    void take(const DeviceInfo &device, QSize scaledTo, QObject *, const Callback &done) override
    {
        QCOMPARE(scaledTo, SnapshotThumbnails::kSize);
        asked.append(device.strSerialNumber);
        waiting.append({device, done});
    }
    void answerOldest()
    {
        onvif::Snapshot s;
        s.image = QImage(SnapshotThumbnails::kSize, QImage::Format_RGB32);
        onvif::SnapshotOutcome o;
        o.snapshot = s;
        waiting.takeFirst().second(o);
    }
};

QList<DeviceInfo> cameras(int from, int count, const QString &address = QStringLiteral("127.1.0.1"))
{
    QList<DeviceInfo> out;
    for (int i = from; i < from + count; ++i) {
        DeviceInfo d;
        d.strSerialNumber = QStringLiteral("CAM%1").arg(i, 4, 10, QLatin1Char('0'));
        d.strIPv4Address = address;
        out.append(d);
    }
    return out;
}

} // namespace

class tst_SnapshotThumbnails : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void atMostFourInFlight();
    void rowsScrolledAwayNotAsked();
    void memoryBounded();
    void readdressedCameraAskedAgain();

private:
    std::unique_ptr<SnapshotThumbnails> m_thumbnails;
    std::shared_ptr<FakeSource> m_source;
};

void tst_SnapshotThumbnails::init()
{
    m_thumbnails = std::make_unique<SnapshotThumbnails>();
    m_source = std::make_shared<FakeSource>();
    m_thumbnails->setSource(m_source);
}

void tst_SnapshotThumbnails::atMostFourInFlight()
{
    m_thumbnails->setWanted(cameras(0, 10));
    QCOMPARE(m_thumbnails->inFlight(), 4);
    QCOMPARE(m_source->asked.size(), 4);
    for (int answered = 1; answered <= 10; ++answered) {
        m_source->answerOldest();
        QCOMPARE(m_thumbnails->inFlight(), qMin(4, 10 - answered));
        QVERIFY(m_thumbnails->inFlight() <= SnapshotThumbnails::kMaxInFlight);
    }
    QCOMPARE(m_source->asked.size(), 10);
    QCOMPARE(m_thumbnails->cachedCount(), 10);
    m_thumbnails->setWanted(cameras(0, 10)); // kept: not asked again
    QCOMPARE(m_source->asked.size(), 10);
}

void tst_SnapshotThumbnails::rowsScrolledAwayNotAsked()
{
    m_thumbnails->setWanted(cameras(0, 10));
    m_thumbnails->setWanted(cameras(100, 2)); // scrolled on before the rest came
    while (!m_source->waiting.isEmpty())
        m_source->answerOldest();
    QCOMPARE(m_source->asked, (QStringList{"CAM0000", "CAM0001", "CAM0002", "CAM0003", "CAM0100", "CAM0101"}));
}

void tst_SnapshotThumbnails::memoryBounded()
{
    const int total = SnapshotThumbnails::kMaxCached + 50;
    for (int first = 0; first < total; first += 10) {
        m_thumbnails->setWanted(cameras(first, 10));
        while (!m_source->waiting.isEmpty())
            m_source->answerOldest();
    }
    QCOMPARE(m_thumbnails->cachedCount(), SnapshotThumbnails::kMaxCached);
    const qint64 perThumbnail = qint64(SnapshotThumbnails::kSize.width()) * SnapshotThumbnails::kSize.height() * 4;
    QVERIFY(m_thumbnails->cachedBytes() <= SnapshotThumbnails::kMaxCached * perThumbnail);
    QVERIFY(!m_thumbnails->entry(cameras(0, 1).first())); // the least recently shown gave way
    QVERIFY(m_thumbnails->entry(cameras(total - 1, 1).first()));
}

void tst_SnapshotThumbnails::readdressedCameraAskedAgain()
{
    m_thumbnails->setWanted(cameras(0, 1));
    m_source->answerOldest();
    m_thumbnails->setWanted(cameras(0, 1, QStringLiteral("127.1.0.9")));
    QCOMPARE(m_source->asked, (QStringList{"CAM0000", "CAM0000"}));
}

QTEST_GUILESS_MAIN(tst_SnapshotThumbnails)
#include "tst_snapshotthumbnails.moc"

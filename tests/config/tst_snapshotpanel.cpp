// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The panel's snapshot of a camera: what it shows for each answer, which answers it drops, and
// how it saves.
#include <snapshotpanel.h>
#include <snapshotsource.h>

#include <QBuffer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

using namespace VexoTool;
using Problem = onvif::SnapshotProblem;

namespace {

// Hands out snapshots when the test says so.
class FakeSource : public SnapshotSource
{
public:
    QList<std::pair<DeviceInfo, Callback>> asked;
    bool available(const DeviceInfo &) const override { return true; }
    void take(const DeviceInfo &device, QSize, QObject *, const Callback &done) override
    {
        asked.append({device, done});
    }
};

DeviceInfo camera(const QString &serial)
{
    DeviceInfo d;
    d.strSerialNumber = serial;
    d.strIPv4Address = QStringLiteral("127.1.0.1");
    d.strMAC = QStringLiteral("02-4f-4e-00-00-01");
    d.protocol = DeviceProtocol::Onvif;
    return d;
}

onvif::SnapshotOutcome picture(const QColor &colour)
{
    QImage image(640, 360, QImage::Format_RGB32);
    image.fill(colour);
    onvif::Snapshot s;
    s.image = image;
    QBuffer buffer(&s.bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    s.format = onvif::ImageCheck::Format::Jpeg;
    s.size = image.size();
    s.takenAt = QDateTime::currentDateTimeUtc();
    s.elapsedMs = 123;
    onvif::SnapshotOutcome o;
    o.snapshot = s;
    return o;
}

onvif::SnapshotOutcome none(Problem problem)
{
    onvif::SnapshotOutcome o;
    o.problem = problem;
    o.failure.detail = QStringLiteral("technical detail");
    return o;
}

} // namespace

class tst_SnapshotPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void answerShown_data();
    void answerShown();
    void answerForAnotherCameraDropped();
    void saved_data();
    void saved();

private:
    QWidget *m_window = nullptr;
    SnapshotPanel *m_panel = nullptr;
    std::shared_ptr<FakeSource> m_source;
};

void tst_SnapshotPanel::init()
{
    m_window = new QWidget;
    m_window->setFixedWidth(400);
    m_panel = new SnapshotPanel(m_window);
    auto *layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_panel);
    layout->addStretch(1);
    m_source = std::make_shared<FakeSource>();
    m_panel->setSource(m_source);
    m_window->show();
}

void tst_SnapshotPanel::cleanup()
{
    delete m_window;
}

void tst_SnapshotPanel::answerShown_data()
{
    QTest::addColumn<onvif::SnapshotOutcome>("outcome");
    QTest::addColumn<QString>("status");
    QTest::addRow("picture") << picture(Qt::red) << "Taken at";
    for (Problem p : {Problem::NotSignedIn, Problem::NoMediaService, Problem::NoProfile, Problem::Refused,
                      Problem::TooLarge, Problem::NotAnImage, Problem::TimedOut, Problem::Unreachable})
        QTest::addRow("%s", onvif::problemName(p)) << none(p) << SnapshotPanel::problemText(p);
}

void tst_SnapshotPanel::answerShown()
{
    QFETCH(onvif::SnapshotOutcome, outcome);
    QFETCH(QString, status);
    m_panel->showDevice(camera(QStringLiteral("A")));
    QVERIFY(m_panel->isVisible());
    QCOMPARE(m_source->asked.size(), 1);
    auto *refresh = m_panel->findChild<QPushButton *>(QStringLiteral("m_btnSnapshotRefresh"));
    auto *save = m_panel->findChild<QPushButton *>(QStringLiteral("m_btnSnapshotSave"));
    QVERIFY(!refresh->isEnabled()); // one request at a time
    m_source->asked.first().second(outcome);
    QVERIFY2(m_panel->statusText().startsWith(status), qPrintable(m_panel->statusText()));
    QVERIFY(!status.isEmpty());
    QVERIFY(refresh->isEnabled());
    QCOMPARE(save->isEnabled(), bool(outcome));
    auto *image = m_panel->findChild<QLabel *>(QStringLiteral("m_labelSnapshot"));
    QCOMPARE(image->isVisible(), bool(outcome));
    if (outcome) // scaled to the panel's width, its margins aside
        QCOMPARE(image->pixmap().width(), m_panel->contentsRect().width() - 40);
    refresh->click();
    QCOMPARE(m_source->asked.size(), 2);
}

void tst_SnapshotPanel::answerForAnotherCameraDropped()
{
    m_panel->showDevice(camera(QStringLiteral("A")));
    m_panel->showDevice(camera(QStringLiteral("B")));
    QCOMPARE(m_source->asked.size(), 2);
    m_source->asked.at(1).second(picture(Qt::blue));
    m_source->asked.at(0).second(picture(Qt::red)); // late, for A
    QCOMPARE(m_panel->snapshot()->image.pixel(0, 0), QColor(Qt::blue).rgb());
    m_panel->showDevice(camera(QStringLiteral("B"))); // the same camera: no new request
    QCOMPARE(m_source->asked.size(), 2);
    m_panel->showDevice(std::nullopt);
    QVERIFY(!m_panel->isVisible());
}

void tst_SnapshotPanel::saved_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<bool>("cameraBytes");
    QTest::addRow("JPEG as the camera sent it") << "camera.jpg" << QByteArray("jpeg") << true;
    QTest::addRow("PNG") << "camera.png" << QByteArray("png") << false;
}

void tst_SnapshotPanel::saved()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(bool, cameraBytes);
    m_panel->showDevice(camera(QStringLiteral("A")));
    const onvif::SnapshotOutcome outcome = picture(Qt::green);
    m_source->asked.first().second(outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    QVERIFY(m_panel->saveTo(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written == outcome.snapshot->bytes, cameraBytes);
    QImage read;
    QVERIFY(read.loadFromData(written, format.constData()));
    QCOMPARE(read.size(), QSize(640, 360));
}

QTEST_MAIN(tst_SnapshotPanel)
#include "tst_snapshotpanel.moc"

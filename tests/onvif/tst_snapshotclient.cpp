// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// A camera's snapshot from the simulator on loopback, in every way it can fail, and the image
// transfer's limits against a responder in the test.
#include "simulatorprocess.h"

#include <deviceoperations.h>
#include <snapshotclient.h>

#include <QBuffer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

using namespace onvif;

namespace {

const QString kPassword = QStringLiteral("Onvif12345");

QByteArray png()
{
    QImage image(32, 24, QImage::Format_RGB32);
    image.fill(Qt::darkYellow);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Answers every request with @p head, then @p bodyBytes of body (a repeated @p body), counting
// what it managed to hand to the connection.
class ImageResponder : public QTcpServer
{
public:
    QByteArray head;
    QByteArray body;
    qint64 bodyBytes = 0;
    qint64 written = 0;

    ImageResponder() { QVERIFY(listen(QHostAddress::LocalHost)); }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/snapshot.jpg").arg(serverPort())); }

protected:
    void incomingConnection(qintptr handle) override
    {
        auto *socket = new QTcpSocket(this);
        socket->setSocketDescriptor(handle);
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (!socket->readAll().contains("\r\n\r\n") || socket->property("answered").toBool())
                return;
            socket->setProperty("answered", true);
            socket->write(head);
            feed(socket);
        });
        // More only as the client takes it, as a camera streaming a large body does.
        connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] {
            if (socket->bytesToWrite() == 0)
                feed(socket);
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void feed(QTcpSocket *socket)
    {
        if (written >= bodyBytes) {
            socket->disconnectFromHost();
            return;
        }
        const QByteArray chunk = body.left(int(std::min<qint64>(body.size(), bodyBytes - written)));
        written += socket->write(chunk);
    }
};

} // namespace

class tst_SnapshotClient : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void noSnapshotStates_data();
    void noSnapshotStates();
    void imageTransfer_data();
    void imageTransfer();

private:
    SnapshotOutcome take(const Identity &identity, const std::optional<Credentials> &credentials,
                         const QString &profile = QString());

    SimulatorProcess m_sim;
    QString m_serial;
    Identity m_identity;
};

void tst_SnapshotClient::initTestCase()
{
    QVERIFY(m_sim.start({"--count", "1", "--onvif", "1", "--password", kPassword}));
    for (const QString &line : m_sim.command(QStringLiteral("list"))) {
        if (line.endsWith(QLatin1String(" onvif")))
            m_serial = line.section(QLatin1Char(' '), 0, 0);
    }
    QVERIFY(!m_serial.isEmpty());
    QString xaddr;
    for (const QString &line : m_sim.command(QStringLiteral("onvif %1 show").arg(m_serial))) {
        if (line.startsWith(QLatin1String("xaddr ")))
            xaddr = line.mid(6);
    }
    DeviceClient::Options options;
    options.scope.scope = ClientOptions::Scope::Loopback;
    BlockingDeviceOperations operations(options);
    Credentials credentials;
    credentials.password = kPassword;
    const Outcome<Identity> identity = operations.identify(QUrl(xaddr), credentials);
    QVERIFY2(identity, kindName(identity.failure.kind));
    m_identity = *identity.value;
}

void tst_SnapshotClient::cleanupTestCase()
{
    m_sim.stop();
}

SnapshotOutcome tst_SnapshotClient::take(const Identity &identity, const std::optional<Credentials> &credentials,
                                         const QString &profile)
{
    SnapshotClient::Options options;
    options.device.scope.scope = ClientOptions::Scope::Loopback;
    options.imageTimeoutMs = 4000; // well under the slow camera's 15 s
    SnapshotClient client(options);
    std::optional<SnapshotOutcome> outcome;
    client.take(
        identity, credentials, [&](const SnapshotOutcome &o) { outcome = o; }, QSize(), profile);
    if (!QTest::qWaitFor([&] { return outcome.has_value(); }, 20000))
        qWarning("no outcome within 20 s");
    return outcome.value_or(SnapshotOutcome());
}

void tst_SnapshotClient::noSnapshotStates_data()
{
    QTest::addColumn<QString>("quirk");
    QTest::addColumn<QString>("password"); // empty: not signed in
    QTest::addColumn<QString>("profile");
    QTest::addColumn<SnapshotProblem>("problem");
    QTest::addRow("the camera's picture") << "normal" << kPassword << QString() << SnapshotProblem::None;
    QTest::addRow("no media service") << "nomedia" << kPassword << QString() << SnapshotProblem::NoMediaService;
    QTest::addRow("a profile without video") << "normal" << kPassword << "profile_audio" << SnapshotProblem::NoProfile;
    QTest::addRow("wrong password") << "normal"
                                    << "wrong" << QString() << SnapshotProblem::Refused;
    QTest::addRow("a web page instead of an image") << "text" << kPassword << QString() << SnapshotProblem::NotAnImage;
    QTest::addRow("50 MB image") << "huge" << kPassword << QString() << SnapshotProblem::TooLarge;
    QTest::addRow("image too slow") << "slow" << kPassword << QString() << SnapshotProblem::TimedOut;
    QTest::addRow("not signed in") << "normal" << QString() << QString() << SnapshotProblem::NotSignedIn;
}

void tst_SnapshotClient::noSnapshotStates()
{
    QFETCH(QString, quirk);
    QFETCH(QString, password);
    QFETCH(QString, profile);
    QFETCH(SnapshotProblem, problem);
    QCOMPARE(m_sim.commandResult(QStringLiteral("onvif %1 snapshot %2").arg(m_serial, quirk)), QStringLiteral("ok"));
    std::optional<Credentials> credentials;
    if (!password.isEmpty()) {
        credentials.emplace();
        credentials->password = password;
    }
    const auto received = [&] {
        for (const QString &line : m_sim.command(QStringLiteral("onvif %1 show").arg(m_serial))) {
            if (line.startsWith(QLatin1String("received ")))
                return line;
        }
        return QString();
    };
    const QString before = received();
    const SnapshotOutcome outcome = take(m_identity, credentials, profile);
    QVERIFY2(outcome.problem == problem,
             qPrintable(QStringLiteral("%1: %2").arg(problemName(outcome.problem), outcome.failure.detail)));
    QCOMPARE(bool(outcome), problem == SnapshotProblem::None);
    if (outcome) {
        QCOMPARE(outcome.snapshot->format, ImageCheck::Format::Jpeg);
        QCOMPARE(outcome.snapshot->image.size(), QSize(640, 360));
        QCOMPARE(outcome.snapshot->uri.host(), m_identity.serviceUrl.host());
    }
    if (problem == SnapshotProblem::NotSignedIn)
        QCOMPARE(received(), before); // nothing reached the device
}

void tst_SnapshotClient::imageTransfer_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<qint64>("bodyBytes");
    QTest::addColumn<Failure::Kind>("failure");
    QTest::addColumn<ImageCheck::Format>("format");
    const QByteArray noLength = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nConnection: close\r\n\r\n";
    const QByteArray image = png();
    QTest::addRow("a PNG named .jpg") << noLength << image << qint64(image.size()) << Failure::Kind::None
                                      << ImageCheck::Format::Png;
    QTest::addRow("50 MB without a length, cut at the limit")
        << noLength << QByteArray(256 * 1024, '\xFF') << qint64(50) * 1024 * 1024 << Failure::Kind::TooLarge
        << ImageCheck::Format::None;
    QTest::addRow("50 MB announced, refused before reading")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: 52428800\r\n\r\n")
        << QByteArray(256 * 1024, '\xFF') << qint64(50) * 1024 * 1024 << Failure::Kind::TooLarge
        << ImageCheck::Format::None;
    QTest::addRow("a redirect, not followed")
        << QByteArray("HTTP/1.1 302 Found\r\nLocation: http://192.0.2.1/x.jpg\r\nContent-Length: 0\r\n\r\n")
        << QByteArray() << qint64(0) << Failure::Kind::HttpStatus << ImageCheck::Format::None;
}

void tst_SnapshotClient::imageTransfer()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, body);
    QFETCH(qint64, bodyBytes);
    QFETCH(Failure::Kind, failure);
    QFETCH(ImageCheck::Format, format);
    ImageResponder responder;
    responder.head = head;
    responder.body = body;
    responder.bodyBytes = bodyBytes;
    SnapshotFetcher::Options options;
    options.scope.scope = ClientOptions::Scope::Loopback;
    SnapshotFetcher fetcher(options);
    std::optional<Outcome<QByteArray>> outcome;
    qint64 writtenAtOutcome = 0;
    fetcher.fetch(responder.url(), Credentials{}, Peer{}, [&](const Outcome<QByteArray> &o) {
        outcome = o;
        writtenAtOutcome = responder.written;
    });
    QTRY_VERIFY_WITH_TIMEOUT(outcome.has_value(), 20000);
    QCOMPARE(outcome->failure.kind, failure);
    // Cut while reading: the answer came while the sender was still sending (the socket buffers
    // hold far less than the 42 MB past the limit).
    if (failure == Failure::Kind::TooLarge)
        QVERIFY2(writtenAtOutcome < bodyBytes, qPrintable(QString::number(writtenAtOutcome)));
    if (!*outcome)
        return;
    const ImageCheck::Result checked = ImageCheck::inspect(*outcome->value);
    QCOMPARE(checked.format, format);
    QVERIFY(!decodeCheckedImage(*outcome->value, checked.format).isNull());
}

QTEST_GUILESS_MAIN(tst_SnapshotClient)
#include "tst_snapshotclient.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// WS-Discovery client in the loopback scope against a responder in the test: one device per
// endpoint, changes, departures, and datagrams it must drop without stalling.
#include "probeclient.h"

#include <QFile>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

using namespace onvif;

namespace {

QByteArray data(const QString &name)
{
    QFile f(":/onvif/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray kEndpoint = "urn:uuid:2419d68a-2dd2-21b2-a205-7a1c0000b0c1";

// A device on 127.0.0.1 that answers Probes with the sample ProbeMatches, relating it to the
// Probe it answers; what it answers can be changed or silenced.
class Responder : public QObject
{
public:
    QUdpSocket socket;
    bool answering = true;
    QByteArray xaddrs = "http://127.1.0.7:8080/onvif/device_service";
    QHostAddress clientAddress;
    quint16 clientPort = 0;
    int probes = 0;

    Responder()
    {
        QVERIFY(socket.bind(QHostAddress::LocalHost, 0));
        connect(&socket, &QUdpSocket::readyRead, this, [this] {
            while (socket.hasPendingDatagrams()) {
                const QNetworkDatagram d = socket.receiveDatagram();
                ++probes;
                clientAddress = d.senderAddress();
                clientPort = quint16(d.senderPort());
                const auto probe = discovery::parseMessage(d.data());
                if (answering && probe && probe.value->kind == discovery::Message::Kind::Probe)
                    send(matchFor(probe.value->messageId));
            }
        });
    }
    QByteArray matchFor(const QString &messageId) const
    {
        QByteArray xml = data("probematches.xml");
        xml.replace("urn:uuid:0a8e7a52-3c1d-4f6e-8b90-1d2c3b4a5f60", messageId.toUtf8());
        xml.replace("http://127.0.0.1:8080/onvif/device_service https://127.0.0.1/onvif/device_service", xaddrs);
        return xml;
    }
    void send(const QByteArray &datagram) { socket.writeDatagram(datagram, clientAddress, clientPort); }
};

ProbeClient::Options options(quint16 port, int intervalMs = 60000, int silentRounds = 3)
{
    ProbeClient::Options o;
    o.scope.scope = ClientOptions::Scope::Loopback;
    o.scope.discoveryPort = port;
    o.intervalMs = intervalMs;
    o.silentRounds = silentRounds;
    return o;
}

} // namespace

class tst_ProbeClient : public QObject
{
    Q_OBJECT

private slots:
    void oneDevicePerEndpoint();
    void changedAddressesReported();
    void byeAndSilenceLeave_data();
    void byeAndSilenceLeave();
    void byeFromAnotherAddressIgnored();
    void hostileDatagramsDropped_data();
    void hostileDatagramsDropped();
};

void tst_ProbeClient::oneDevicePerEndpoint()
{
    Responder device;
    ProbeClient client(options(device.socket.localPort()));
    QSignalSpy found(&client, &ProbeClient::deviceFound);
    QSignalSpy changed(&client, &ProbeClient::deviceChanged);
    QVERIFY(client.start());
    // A round sends six Probes, each answered: still one device, and a Refresh adds none.
    QTRY_COMPARE(device.probes, 6);
    client.probe();
    QTRY_COMPARE(device.probes, 12);
    QTest::qWait(100);
    QCOMPARE(found.size(), 1);
    QCOMPARE(changed.size(), 0);
    const auto d = found.first().first().value<ProbeClient::Device>();
    QCOMPARE(d.target.endpoint, QString::fromUtf8(kEndpoint));
    QCOMPARE(d.adapterAddress, QHostAddress(QHostAddress::LocalHost));
    QCOMPARE(client.devices().size(), 1);
}

void tst_ProbeClient::changedAddressesReported()
{
    Responder device;
    ProbeClient client(options(device.socket.localPort()));
    QSignalSpy found(&client, &ProbeClient::deviceFound);
    QSignalSpy changed(&client, &ProbeClient::deviceChanged);
    QVERIFY(client.start());
    QTRY_COMPARE(found.size(), 1);
    device.xaddrs = "http://127.1.0.8:8080/onvif/device_service";
    client.probe();
    QTRY_COMPARE(changed.size(), 1);
    QTest::qWait(200);
    QCOMPARE(changed.size(), 1);
    QCOMPARE(client.devices().first().target.xaddrs, QStringList{QString::fromUtf8(device.xaddrs)});
}

void tst_ProbeClient::byeAndSilenceLeave_data()
{
    QTest::addColumn<bool>("bye");
    QTest::addRow("Bye") << true;
    QTest::addRow("silent for the set rounds") << false;
}

void tst_ProbeClient::byeAndSilenceLeave()
{
    QFETCH(bool, bye);
    Responder device;
    // Short periods, so that silence is noticed within the test.
    ProbeClient client(options(device.socket.localPort(), 250, 2));
    QSignalSpy found(&client, &ProbeClient::deviceFound);
    QSignalSpy left(&client, &ProbeClient::deviceLeft);
    QVERIFY(client.start());
    QTRY_COMPARE(found.size(), 1);
    device.answering = false;
    if (bye)
        device.send(data("bye.xml").replace("urn:uuid:55aa0001-1111-4222-8333-444455556666", kEndpoint));
    QTRY_COMPARE(left.size(), 1);
    QCOMPARE(left.first().first().toString(), QString::fromUtf8(kEndpoint));
    QVERIFY(client.devices().isEmpty());
    // Back again: found anew.
    device.answering = true;
    QTRY_COMPARE(found.size(), 2);
}

// An impostor naming the device's endpoint in a Bye cannot take it off the list.
void tst_ProbeClient::byeFromAnotherAddressIgnored()
{
    Responder device;
    ProbeClient client(options(device.socket.localPort()));
    QSignalSpy found(&client, &ProbeClient::deviceFound);
    QSignalSpy left(&client, &ProbeClient::deviceLeft);
    QVERIFY(client.start());
    QTRY_COMPARE(found.size(), 1);
    const QByteArray bye = data("bye.xml").replace("urn:uuid:55aa0001-1111-4222-8333-444455556666", kEndpoint);
    QUdpSocket impostor;
    QVERIFY(impostor.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0));
    const quint64 droppedBefore = client.droppedDatagrams();
    impostor.writeDatagram(bye, device.clientAddress, device.clientPort);
    QTRY_COMPARE(client.droppedDatagrams(), droppedBefore + 1);
    QCOMPARE(left.size(), 0);
    QCOMPARE(client.devices().size(), 1);
    // The device's own Bye still counts.
    device.send(bye);
    QTRY_COMPARE(left.size(), 1);
}

void tst_ProbeClient::hostileDatagramsDropped_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addRow("garbage") << QByteArray("\xff\xfe<not xml");
    QTest::addRow("truncated") << data("probematches.xml").left(300);
    QTest::addRow("entity expansion") << QByteArray("<?xml version='1.0'?><!DOCTYPE a [<!ENTITY x 'xxxxxxxx'>"
                                                    "<!ENTITY y '&x;&x;&x;&x;&x;&x;'>]><a>&y;&y;&y;</a>");
    QTest::addRow("answer to a Probe never sent") << data("probematches.xml");
    QTest::addRow("largest datagram") << QByteArray(65000, '<');
}

void tst_ProbeClient::hostileDatagramsDropped()
{
    QFETCH(QByteArray, datagram);
    Responder device;
    device.answering = false;
    ProbeClient client(options(device.socket.localPort()));
    QSignalSpy found(&client, &ProbeClient::deviceFound);
    QVERIFY(client.start());
    QTRY_VERIFY(device.probes > 0);
    // A few at a time: the largest would overflow the socket's receive buffer.
    for (int i = 0; i < 3; ++i)
        device.send(datagram);
    QTRY_COMPARE(client.droppedDatagrams(), quint64(3));
    QCOMPARE(found.size(), 0);
    // Still listening: the next real answer is heard.
    device.answering = true;
    client.probe();
    QTRY_COMPARE(found.size(), 1);
}

QTEST_GUILESS_MAIN(tst_ProbeClient)

#include "tst_probeclient.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "namespaces.h"
#include "soapdocument.h"
#include "wsdiscovery.h"

#include <QFile>
#include <QTest>

using namespace onvif;
using discovery::Message;

namespace {
QByteArray data(const QString &name)
{
    QFile f(":/onvif/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray replaced(QByteArray xml, const QByteArray &from, const QByteArray &to)
{
    return xml.replace(from, to);
}
} // namespace

class tst_WsDiscovery : public QObject
{
    Q_OBJECT

private slots:
    void probeAsksForOnvifDevicesUnderItsMessageId();
    void announcementsAreRead_data();
    void announcementsAreRead();
    void scopesSplitByCategoryAndDecode_data();
    void scopesSplitByCategoryAndDecode();
    void malformedAnnouncementsAreRefused_data();
    void malformedAnnouncementsAreRefused();
};

void tst_WsDiscovery::probeAsksForOnvifDevicesUnderItsMessageId()
{
    const QUuid id = QUuid::createUuid();
    const QByteArray probe = discovery::buildProbe(id);

    const auto read = discovery::parseMessage(probe);
    QVERIFY2(read, qPrintable(read.error));
    QCOMPARE(read.value->kind, Message::Kind::Probe);
    QCOMPARE(read.value->messageId, "urn:uuid:" + id.toString(QUuid::WithoutBraces));
    QCOMPARE(read.value->probeTypes,
             (QList<QualifiedName>{{ns::kDevice, "Device"}, {ns::kNetwork, "NetworkVideoTransmitter"}}));

    const auto doc = SoapDocument::parse(probe, 64 * 1024);
    QVERIFY(doc);
    const int header = doc.value->child(0, ns::kSoapEnvelope, u"Header");
    QCOMPARE(doc.value->childText(header, ns::kAddressing2004, u"Action"),
             "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe");
    QCOMPARE(doc.value->childText(header, ns::kAddressing2004, u"To"), "urn:schemas-xmlsoap-org:ws:2005:04:discovery");
}

void tst_WsDiscovery::announcementsAreRead_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<Message::Kind>("kind");
    QTest::addColumn<QString>("relatesTo");
    QTest::addColumn<QUuid>("endpoint");
    QTest::addColumn<bool>("onvifDevice");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("hardware");
    QTest::addColumn<QStringList>("xaddrs");
    QTest::addColumn<quint32>("metadataVersion");

    QTest::addRow("probe match under other prefixes")
        << data("probematches.xml") << Message::Kind::ProbeMatches << "urn:uuid:0a8e7a52-3c1d-4f6e-8b90-1d2c3b4a5f60"
        << QUuid("2419d68a-2dd2-21b2-a205-7a1c0000b0c1") << true << QStringList{"Lobby Camera 2"}
        << QStringList{"VX-IPC-4120"}
        << QStringList{"http://127.0.0.1:8080/onvif/device_service", "https://127.0.0.1/onvif/device_service"}
        << quint32(7);
    QTest::addRow("hello with a UTF-8 name")
        << data("hello.xml") << Message::Kind::Hello << QString() << QUuid("55aa0001-1111-4222-8333-444455556666")
        << true << QStringList{QString::fromUtf8("大门")} << QStringList{"NVR-08"}
        << QStringList{"http://127.0.0.2/onvif/device_service"} << quint32(1);
    QTest::addRow("Device type of another namespace is no ONVIF device")
        << replaced(data("hello.xml"), "xmlns:tds=\"http://www.onvif.org/ver10/device/wsdl\"",
                    "xmlns:tds=\"urn:example:printers\"")
        << Message::Kind::Hello << QString() << QUuid("55aa0001-1111-4222-8333-444455556666") << false
        << QStringList{QString::fromUtf8("大门")} << QStringList{"NVR-08"}
        << QStringList{"http://127.0.0.2/onvif/device_service"} << quint32(1);
    QTest::addRow("bye in WS-Addressing 1.0")
        << data("bye.xml") << Message::Kind::Bye << QString() << QUuid("55aa0001-1111-4222-8333-444455556666") << false
        << QStringList() << QStringList() << QStringList() << quint32(0);
}

void tst_WsDiscovery::announcementsAreRead()
{
    QFETCH(QByteArray, xml);
    QFETCH(Message::Kind, kind);
    const auto r = discovery::parseMessage(xml);
    QVERIFY2(r, qPrintable(r.error));
    QCOMPARE(r.value->kind, kind);
    QTEST(r.value->relatesTo, "relatesTo");
    QCOMPARE(r.value->targets.size(), 1);
    const discovery::Target &t = r.value->targets.first();
    QTEST(t.endpointUuid(), "endpoint");
    QTEST(t.isOnvifDevice(), "onvifDevice");
    QTEST(t.scopes.names, "names");
    QTEST(t.scopes.hardware, "hardware");
    QTEST(t.xaddrs, "xaddrs");
    QTEST(t.metadataVersion, "metadataVersion");
}

void tst_WsDiscovery::scopesSplitByCategoryAndDecode_data()
{
    QTest::addColumn<QString>("scopes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("locations");
    QTest::addColumn<QStringList>("other");
    QTest::addRow("percent-decoded path") << "onvif://www.onvif.org/location/building/east%2Fwing" << QStringList()
                                          << QStringList{"building/east/wing"} << QStringList();
    QTest::addRow("category is case-insensitive")
        << "ONVIF://www.onvif.org/Name/Gate" << QStringList{"Gate"} << QStringList() << QStringList();
    QTest::addRow("look-alike authority stays other")
        << "onvif://www.onvif.org.example/name/x" << QStringList() << QStringList()
        << QStringList{"onvif://www.onvif.org.example/name/x"};
    QTest::addRow("profile and newlines")
        << "onvif://www.onvif.org/Profile/Streaming\n\tonvif://www.onvif.org/name/A" << QStringList{"A"}
        << QStringList() << QStringList{"onvif://www.onvif.org/Profile/Streaming"};
}

void tst_WsDiscovery::scopesSplitByCategoryAndDecode()
{
    QFETCH(QString, scopes);
    const discovery::Scopes s = discovery::splitScopes(scopes);
    QTEST(s.names, "names");
    QTEST(s.locations, "locations");
    QTEST(s.other, "other");
}

void tst_WsDiscovery::malformedAnnouncementsAreRefused_data()
{
    const QByteArray match = data("probematches.xml");
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("reason");
    QTest::addRow("discovery names in a foreign namespace")
        << replaced(match, "discovery\" xmlns:dev", "discovery-not\" xmlns:dev") << "not in the discovery namespace";
    QTest::addRow("endpoint in a foreign namespace")
        << replaced(match, "ws/2004/08/addressing\"", "ws/2004/08/addressing-not\"") << "without an endpoint";
    QTest::addRow("type with an unbound prefix")
        << replaced(match, "nvt:NetworkVideoTransmitter", "zz:X") << "unbound prefix";
    QTest::addRow("metadata version not a number")
        << replaced(match, "<disc:MetadataVersion>7", "<disc:MetadataVersion>-7") << "not a number";
    QTest::addRow("SOAP 1.1 envelope") << replaced(match, "http://www.w3.org/2003/05/soap-envelope",
                                                   "http://schemas.xmlsoap.org/soap/envelope/")
                                       << "not SOAP 1.2";
    QTest::addRow("larger than a datagram")
        << replaced(match, "<disc:MetadataVersion>", QByteArray(64 * 1024, ' ') + "<disc:MetadataVersion>")
        << "exceeds the limit";
    QTest::addRow("truncated") << match.left(match.size() / 2) << "malformed";
}

void tst_WsDiscovery::malformedAnnouncementsAreRefused()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, reason);
    const auto r = discovery::parseMessage(xml);
    QVERIFY(!r);
    QVERIFY2(r.error.contains(reason), qPrintable(r.error));
}

QTEST_GUILESS_MAIN(tst_WsDiscovery)
#include "tst_wsdiscovery.moc"

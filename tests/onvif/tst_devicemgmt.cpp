// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicemgmt.h"
#include "namespaces.h"
#include "soapdocument.h"

#include <QFile>
#include <QTest>

using namespace onvif;
using namespace onvif::devicemgmt;

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

const QDateTime kCreated = QDateTime(QDate(2026, 12, 9), QTime(1, 2, 3), Qt::UTC);
const QByteArray kNonce = QByteArray::fromBase64("AQIDBAUGBwgJCgsMDQ4PEA==");

UsernameToken token()
{
    return makeUsernameToken("admin", "Vexo#2026", 0, kCreated, kNonce);
}

// The body's operation element of a request this library built.
struct Built
{
    SoapDocument doc;
    int operation = -1;
};
Built open(const QByteArray &xml)
{
    auto r = SoapDocument::parse(xml, kMaxResponseBytes);
    if (!r)
        return {};
    const int body = r.value->child(0, ns::kSoapEnvelope, u"Body");
    return {*r.value, body < 0 ? -1 : r.value->element(body).children.value(0, -1)};
}
} // namespace

class tst_DeviceMgmt : public QObject
{
    Q_OBJECT

private slots:
    void passwordDigestMatchesKnownVectors_data();
    void passwordDigestMatchesKnownVectors();
    void securityHeaderCarriesDigestNeverThePassword();
    void tokenCreationFollowsTheDeviceClock();
    void setNetworkInterfacesCarriesManualAddressOrDhcp();
    void setRequestsCarryTheirValues();
    void buildersRefuseInvalidValues_data();
    void buildersRefuseInvalidValues();
    void responsesAreRead();
    void faultsComeBackWithTheirSubcodes();
    void quirkyAnswersAreRead_data();
    void quirkyAnswersAreRead();
    void wrongPasswordWhateverTheEnvelope_data();
    void wrongPasswordWhateverTheEnvelope();
    void malformedResponsesAreRefused_data();
    void malformedResponsesAreRefused();
};

void tst_DeviceMgmt::passwordDigestMatchesKnownVectors_data()
{
    QTest::addColumn<QByteArray>("nonce");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("digest");
    // Expected values computed once with an independent SHA-1 implementation.
    QTest::addRow("ASCII password") << kNonce << "Vexo#2026" << QByteArray("5ZP/c6rncugMzCkGG63twNHwTq0=");
    QTest::addRow("UTF-8 password") << QByteArray(16, '\0') << QString::fromUtf8("密码Ab1")
                                    << QByteArray("1TJmHjvLuZRZA1WWTL2A/a4A7UY=");
}

void tst_DeviceMgmt::passwordDigestMatchesKnownVectors()
{
    QFETCH(QByteArray, nonce);
    QFETCH(QString, password);
    QTEST(passwordDigest(nonce, "2026-12-09T01:02:03Z", password), "digest");
}

void tst_DeviceMgmt::securityHeaderCarriesDigestNeverThePassword()
{
    const QByteArray xml = getDeviceInformation(token());
    QVERIFY(!xml.contains("Vexo#2026"));
    const Built b = open(xml);
    const int header = b.doc.child(0, ns::kSoapEnvelope, u"Header");
    const int security = b.doc.child(header, ns::kWsse, u"Security");
    const int ut = b.doc.child(security, ns::kWsse, u"UsernameToken");
    QCOMPARE(b.doc.childText(ut, ns::kWsse, u"Username"), "admin");
    const int password = b.doc.child(ut, ns::kWsse, u"Password");
    QVERIFY(b.doc.attribute(password, u"", u"Type").endsWith("#PasswordDigest"));
    QCOMPARE(b.doc.element(password).text, "5ZP/c6rncugMzCkGG63twNHwTq0=");
    QCOMPARE(b.doc.childText(ut, ns::kWsse, u"Nonce"), "AQIDBAUGBwgJCgsMDQ4PEA==");
    QCOMPARE(b.doc.childText(ut, ns::kWsu, u"Created"), "2026-12-09T01:02:03Z");
    QVERIFY(!getSystemDateAndTime().contains("Security"));
}

void tst_DeviceMgmt::tokenCreationFollowsTheDeviceClock()
{
    const auto time = parseSystemDateAndTime(data("systemdateandtime.xml"));
    QVERIFY2(time, qPrintable(time.error));
    QCOMPARE(time.value->utc, QDateTime(QDate(2026, 12, 31), QTime(23, 59, 30), Qt::UTC));
    QCOMPARE(time.value->dateTimeType, "NTP");
    QCOMPARE(time.value->timeZone, "CET-1CEST,M3.5.0/2,M10.5.0/3");
    // Our clock is 90 s behind the device's: the token is dated by the device's clock.
    const QDateTime local = time.value->utc->addSecs(-90);
    const qint64 offset = clockOffsetSeconds(*time.value->utc, local);
    QCOMPARE(offset, 90);
    const UsernameToken t = makeUsernameToken("admin", "pw", offset, local.addSecs(5));
    QCOMPARE(t.created, "2026-12-31T23:59:35Z");
    QCOMPARE(t.nonce.size(), 16);
    QVERIFY(makeUsernameToken("admin", "pw", offset, local).nonce != t.nonce);
}

void tst_DeviceMgmt::setNetworkInterfacesCarriesManualAddressOrDhcp()
{
    const auto manual = setNetworkInterfaces(token(), "eth0", {false, {"192.168.1.64", 24}});
    QVERIFY2(manual, qPrintable(manual.error));
    Built b = open(*manual.value);
    QCOMPARE(b.doc.childText(b.operation, ns::kDevice, u"InterfaceToken"), "eth0");
    int ipv4 = b.doc.child(b.doc.child(b.operation, ns::kDevice, u"NetworkInterface"), ns::kSchema, u"IPv4");
    QCOMPARE(b.doc.childText(ipv4, ns::kSchema, u"Enabled"), "true");
    QCOMPARE(b.doc.childText(ipv4, ns::kSchema, u"DHCP"), "false");
    const int address = b.doc.child(ipv4, ns::kSchema, u"Manual");
    QCOMPARE(b.doc.childText(address, ns::kSchema, u"Address"), "192.168.1.64");
    QCOMPARE(b.doc.childText(address, ns::kSchema, u"PrefixLength"), "24");

    const auto dhcp = setNetworkInterfaces(token(), "eth0", {true, {}});
    QVERIFY2(dhcp, qPrintable(dhcp.error));
    b = open(*dhcp.value);
    ipv4 = b.doc.child(b.doc.child(b.operation, ns::kDevice, u"NetworkInterface"), ns::kSchema, u"IPv4");
    QCOMPARE(b.doc.childText(ipv4, ns::kSchema, u"DHCP"), "true");
    QCOMPARE(b.doc.child(ipv4, ns::kSchema, u"Manual"), -1);
}

void tst_DeviceMgmt::setRequestsCarryTheirValues()
{
    Built b = open(*setNetworkDefaultGateway(token(), {"192.168.1.1", "10.0.0.1"}).value);
    QCOMPARE(b.doc.children(b.operation, ns::kDevice, u"IPv4Address").size(), 2);
    QCOMPARE(b.doc.childText(b.operation, ns::kDevice, u"IPv4Address"), "192.168.1.1");

    b = open(*setNetworkProtocols(token(), {{"HTTP", true, {8080}}}).value);
    const int http = b.doc.child(b.operation, ns::kDevice, u"NetworkProtocols");
    QCOMPARE(b.doc.childText(http, ns::kSchema, u"Name"), "HTTP");
    QCOMPARE(b.doc.childText(http, ns::kSchema, u"Port"), "8080");

    b = open(*setUser(token(), "operator", "N3w&<pass>", "Operator").value);
    const int user = b.doc.child(b.operation, ns::kDevice, u"User");
    QCOMPARE(b.doc.childText(user, ns::kSchema, u"Username"), "operator");
    QCOMPARE(b.doc.childText(user, ns::kSchema, u"Password"), "N3w&<pass>");
    QCOMPARE(b.doc.childText(user, ns::kSchema, u"UserLevel"), "Operator");

    b = open(getCapabilities(token()));
    QCOMPARE(b.doc.childText(b.operation, ns::kDevice, u"Category"), "All");
    b = open(systemReboot(token()));
    QCOMPARE(b.doc.element(b.operation).localName, "SystemReboot");
}

void tst_DeviceMgmt::buildersRefuseInvalidValues_data()
{
    QTest::addColumn<Result<QByteArray>>("built");
    QTest::addColumn<bool>("accepted");
    const auto iface = [](const QString &token, const QString &address, int prefix) {
        return setNetworkInterfaces(std::nullopt, token, {false, {address, prefix}});
    };
    const auto port = [](int p) {
        return setNetworkProtocols(std::nullopt, {{"HTTP", true, {p}}});
    };
    QTest::addRow("prefix 0") << iface("eth0", "10.1.2.3", 0) << false;
    QTest::addRow("prefix 1") << iface("eth0", "10.1.2.3", 1) << true;
    QTest::addRow("prefix 32") << iface("eth0", "10.1.2.3", 32) << true;
    QTest::addRow("prefix 33") << iface("eth0", "10.1.2.3", 33) << false;
    QTest::addRow("address 255") << iface("eth0", "10.1.2.255", 24) << true;
    QTest::addRow("address 256") << iface("eth0", "10.1.2.256", 24) << false;
    QTest::addRow("address with three parts") << iface("eth0", "10.1.2", 24) << false;
    QTest::addRow("address with a leading zero") << iface("eth0", "10.01.2.3", 24) << false;
    QTest::addRow("token of 64") << iface(QString(64, 't'), "10.1.2.3", 24) << true;
    QTest::addRow("token of 65") << iface(QString(65, 't'), "10.1.2.3", 24) << false;
    QTest::addRow("empty token") << iface("", "10.1.2.3", 24) << false;
    QTest::addRow("port 0") << port(0) << false;
    QTest::addRow("port 1") << port(1) << true;
    QTest::addRow("port 65535") << port(65535) << true;
    QTest::addRow("port 65536") << port(65536) << false;
    QTest::addRow("protocol without a port") << setNetworkProtocols(std::nullopt, {{"HTTP", true, {}}}) << false;
    QTest::addRow("unknown protocol") << setNetworkProtocols(std::nullopt, {{"FTP", true, {21}}}) << false;
    QTest::addRow("gateway not an address") << setNetworkDefaultGateway(std::nullopt, {"gateway"}) << false;
    QTest::addRow("user level Anonymous") << setUser(std::nullopt, "u", "p", "Anonymous") << false;
    QTest::addRow("empty new password") << setUser(std::nullopt, "u", "", "User") << false;
}

void tst_DeviceMgmt::buildersRefuseInvalidValues()
{
    QFETCH(Result<QByteArray>, built);
    QFETCH(bool, accepted);
    QCOMPARE(bool(built), accepted);
    QCOMPARE(built.error.isEmpty(), accepted);
}

void tst_DeviceMgmt::responsesAreRead()
{
    const auto info = parseDeviceInformation(data("deviceinformation.xml"));
    QVERIFY2(info, qPrintable(info.error));
    QCOMPARE(info.value->manufacturer, "Vexo Labs");
    QCOMPARE(info.value->model, "VX-IPC-4120");
    QCOMPARE(info.value->firmwareVersion, "V5.7.3 build 261101");
    QCOMPARE(info.value->serialNumber, "VX4120-20261101-AB12CD34");
    QCOMPARE(info.value->hardwareId, "88");

    const auto interfaces = parseNetworkInterfaces(data("networkinterfaces.xml"));
    QVERIFY2(interfaces, qPrintable(interfaces.error));
    QCOMPARE(interfaces.value->size(), 2);
    const NetworkInterface &eth0 = interfaces.value->at(0);
    QCOMPARE(eth0.token, "eth0");
    QVERIFY(eth0.enabled);
    QCOMPARE(eth0.hwAddress, "3c:1a:9e:00:b0:c1");
    QVERIFY(eth0.hasIpv4 && eth0.ipv4Enabled && !eth0.dhcp);
    QCOMPARE(eth0.manual, (QList<PrefixedAddress>{{"192.168.1.64", 24}}));
    QCOMPARE(eth0.fromDhcp, (PrefixedAddress{"10.0.0.23", 16}));
    const NetworkInterface &wlan0 = interfaces.value->at(1);
    QVERIFY(!wlan0.enabled && !wlan0.hasIpv4);

    const auto gateway = parseNetworkDefaultGateway(data("networkdefaultgateway.xml"));
    QVERIFY2(gateway, qPrintable(gateway.error));
    QCOMPARE(gateway.value->ipv4, QStringList{"192.168.1.1"});
    QCOMPARE(gateway.value->ipv6, QStringList{"fe80::1"});

    const auto protocols = parseNetworkProtocols(data("networkprotocols.xml"));
    QVERIFY2(protocols, qPrintable(protocols.error));
    QCOMPARE(*protocols.value,
             (QList<NetworkProtocol>{{"HTTP", true, {80, 8080}}, {"HTTPS", false, {443}}, {"RTSP", true, {554}}}));

    const auto caps = parseCapabilities(data("capabilities.xml"));
    QVERIFY2(caps, qPrintable(caps.error));
    QCOMPARE(caps.value->device, "http://127.0.0.1:8080/onvif/device_service");
    QCOMPARE(caps.value->media, "http://127.0.0.1:8080/onvif/media_service");
    QCOMPARE(caps.value->events, "http://127.0.0.1:8080/onvif/event_service");
    QVERIFY(caps.value->ptz.isEmpty());

    const auto users = parseUsers(data("users.xml"));
    QVERIFY2(users, qPrintable(users.error));
    QCOMPARE(users.value->size(), 2);
    QCOMPARE(users.value->at(1).username, "viewer");
    QCOMPARE(users.value->at(1).userLevel, "User");

    const auto reboot = parseSetNetworkInterfaces(data("setnetworkinterfaces.xml"));
    QVERIFY2(reboot, qPrintable(reboot.error));
    QCOMPARE(*reboot.value, true);
    QCOMPARE(*parseSystemReboot(data("systemreboot.xml")).value, "Rebooting in 30 seconds");
    QVERIFY(parseAcknowledgement(replaced(data("systemreboot.xml"),
                                          "<tds:SystemRebootResponse><tds:Message>Rebooting "
                                          "in 30 seconds</tds:Message></tds:SystemRebootResponse>",
                                          "<tds:SetUserResponse/>"),
                                 u"SetUserResponse"));
}

void tst_DeviceMgmt::faultsComeBackWithTheirSubcodes()
{
    const auto r = parseSetNetworkInterfaces(data("fault.xml"));
    QVERIFY(!r);
    QVERIFY(r.fault);
    QVERIFY(r.error.isEmpty());
    QCOMPARE(r.fault->code, (QualifiedName{ns::kSoapEnvelope, "Sender"}));
    QCOMPARE(r.fault->subcodes,
             (QList<QualifiedName>{{ns::kError, "InvalidArgVal"}, {ns::kError, "InvalidIPv4Address"}}));
    QVERIFY(r.fault->hasSubcode(u"InvalidIPv4Address"));
    QCOMPARE(r.fault->reason, "The suggested IPv4 address is invalid");

    // A subcode's prefix bound to another namespace is not an ONVIF error.
    const auto foreign = parseDeviceInformation(
        replaced(data("fault.xml"), "xmlns:ter=\"http://www.onvif.org/ver10/error\"", "xmlns:ter=\"urn:other\""));
    QVERIFY(foreign.fault);
    QVERIFY(!foreign.fault->hasSubcode(u"InvalidArgVal"));
}

void tst_DeviceMgmt::quirkyAnswersAreRead_data()
{
    const QByteArray info = data("deviceinformation.xml");
    const QByteArray interfaces = data("networkinterfaces.xml");
    const QByteArray soap11 = "http://schemas.xmlsoap.org/soap/envelope/";
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("parser"); // 0: device information, 1: network interfaces
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("quirk");
    QTest::addRow("as the schema has it") << info << 0 << "Vexo Labs" << QString();
    QTest::addRow("SOAP 1.1 envelope") << replaced(info, "http://www.w3.org/2003/05/soap-envelope", soap11) << 0
                                       << "Vexo Labs"
                                       << "SOAP 1.1";
    QTest::addRow("field in the schema namespace")
        << replaced(info, "<Manufacturer>Vexo Labs</Manufacturer>",
                    "<Manufacturer xmlns=\"http://www.onvif.org/ver10/schema\">Vexo Labs</Manufacturer>")
        << 0 << "Vexo Labs"
        << "in namespace http://www.onvif.org/ver10/schema";
    QTest::addRow("response in another version's namespace")
        << replaced(info, "ver10/device/wsdl", "ver20/device/wsdl") << 0 << "Vexo Labs"
        << "ver20/device";
    QTest::addRow("schema elements in the device namespace")
        << replaced(interfaces, "xmlns:tt=\"http://www.onvif.org/ver10/schema\"",
                    "xmlns:tt=\"http://www.onvif.org/ver10/device/wsdl\"")
        << 1 << "3c:1a:9e:00:b0:c1 192.168.1.64"
        << "elements of http://www.onvif.org/ver10/schema in namespace http://www.onvif.org/ver10/device/wsdl";
}

void tst_DeviceMgmt::quirkyAnswersAreRead()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, parser);
    QFETCH(QString, quirk);
    QStringList quirks;
    QString read;
    if (parser == 0) {
        const auto r = parseDeviceInformation(xml);
        QVERIFY2(r, qPrintable(r.error));
        read = r.value->manufacturer;
        quirks = r.quirks;
    } else {
        const auto r = parseNetworkInterfaces(xml);
        QVERIFY2(r, qPrintable(r.error));
        read = r.value->first().hwAddress + u' ' + r.value->first().manual.value(0).address;
        quirks = r.quirks;
    }
    QTEST(read, "read");
    // Each departure is named, and an answer as the schema has it names none.
    QCOMPARE(quirks.size(), quirk.isEmpty() ? 0 : 1);
    if (!quirk.isEmpty())
        QVERIFY2(quirks.first().contains(quirk), qPrintable(quirks.first()));
}

void tst_DeviceMgmt::wrongPasswordWhateverTheEnvelope_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<bool>("notAuthorized");
    const QByteArray soap12 = "xmlns:env=\"http://www.w3.org/2003/05/soap-envelope\"";
    const QByteArray soap11 = "xmlns:env=\"http://schemas.xmlsoap.org/soap/envelope/\"";
    const QByteArray ter = " xmlns:ter=\"http://www.onvif.org/ver10/error\"";
    auto fault12 = [&](const QByteArray &code) {
        return "<env:Envelope " + soap12 + ter + "><env:Body><env:Fault><env:Code>" + code
               + "</env:Code><env:Reason><env:Text xml:lang=\"en\">no</env:Text></env:Reason></env:Fault>"
                 "</env:Body></env:Envelope>";
    };
    auto fault11 = [&](const QByteArray &code) {
        return "<env:Envelope " + soap11 + ter + "><env:Body><env:Fault><faultcode>" + code
               + "</faultcode><faultstring>no</faultstring></env:Fault></env:Body></env:Envelope>";
    };
    QTest::addRow("SOAP 1.2 subcode") << fault12(
        "<env:Value>env:Sender</env:Value><env:Subcode><env:Value>ter:NotAuthorized</env:Value>"
        "</env:Subcode>") << true;
    QTest::addRow("SOAP 1.2 with the subcode as its code")
        << fault12("<env:Value>ter:NotAuthorized</env:Value>") << true;
    QTest::addRow("SOAP 1.1 fault code") << fault11("ter:NotAuthorized") << true;
    QTest::addRow("SOAP 1.1 client fault is another refusal") << fault11("env:Client") << false;
    QTest::addRow("SOAP 1.1 code of another namespace")
        << fault11("x:NotAuthorized").replace("<faultcode>", "<faultcode xmlns:x=\"urn:x\">") << false;
}

void tst_DeviceMgmt::wrongPasswordWhateverTheEnvelope()
{
    QFETCH(QByteArray, xml);
    const auto r = parseDeviceInformation(xml);
    QVERIFY2(r.fault, qPrintable(r.error));
    QTEST(r.fault->hasSubcode(u"NotAuthorized"), "notAuthorized");
}

void tst_DeviceMgmt::malformedResponsesAreRefused_data()
{
    const QByteArray info = data("deviceinformation.xml");
    const QByteArray interfaces = data("networkinterfaces.xml");
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<int>("parser");
    QTest::addColumn<QString>("reason");
    // parser 0: device information, 1: network interfaces, 2: date and time
    QTest::addRow("SOAP 1.1 envelope with a document type") << replaced(
        replaced(info, "http://www.w3.org/2003/05/soap-envelope", "http://schemas.xmlsoap.org/soap/envelope/"),
        "<env:Envelope", "<!DOCTYPE x [<!ENTITY a \"b\">]><env:Envelope")
                                                            << 0 << "document type";
    QTest::addRow("envelope of no SOAP version")
        << replaced(info, "2003/05/soap-envelope", "2003/05/soap-envelopes") << 0 << "not SOAP";
    QTest::addRow("another operation's response")
        << data("networkprotocols.xml") << 0 << "expected GetDeviceInformationResponse";
    QTest::addRow("missing element") << replaced(info, "<HardwareId>88</HardwareId>", "") << 0 << "HardwareId missing";
    QTest::addRow("prefix length 33") << replaced(interfaces, "<tt:PrefixLength>24<", "<tt:PrefixLength>33<") << 1
                                      << "PrefixLength '33'";
    QTest::addRow("address out of range")
        << replaced(interfaces, "192.168.1.64", "192.168.1.264") << 1 << "not an IPv4 address";
    QTest::addRow("boolean spelled yes") << replaced(interfaces, "<tt:DHCP>false<", "<tt:DHCP>yes<") << 1
                                         << "not a boolean";
    QTest::addRow("interface without a token") << replaced(interfaces, " token=\"eth0\"", "") << 1 << "without a token";
    QTest::addRow("month 13") << replaced(data("systemdateandtime.xml"), "<tt:Month>12<", "<tt:Month>13<") << 2
                              << "Month '13'";
    QTest::addRow("31 November") << replaced(data("systemdateandtime.xml"), "<tt:Month>12<", "<tt:Month>11<") << 2
                                 << "no valid date";
}

void tst_DeviceMgmt::malformedResponsesAreRefused()
{
    QFETCH(QByteArray, xml);
    QFETCH(int, parser);
    QFETCH(QString, reason);
    QString error;
    if (parser == 0)
        error = parseDeviceInformation(xml).error;
    else if (parser == 1)
        error = parseNetworkInterfaces(xml).error;
    else
        error = parseSystemDateAndTime(xml).error;
    QVERIFY2(error.contains(reason), qPrintable(error));
}

QTEST_GUILESS_MAIN(tst_DeviceMgmt)
#include "tst_devicemgmt.moc"

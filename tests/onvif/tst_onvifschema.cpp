// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Every device-management and schema element the library writes, and every one in the
// responses its parsers are tested with, is declared in the published WSDL and schemas.
// Together with tst_devicemgmt (each parsed field is read from those responses) a name
// misspelt in the library fails here or there.
#include "devicemgmt.h"
#include "media.h"
#include "namespaces.h"
#include "onvifdevice.h"
#include "soapdocument.h"
#include "soapenvelope.h"
#include "wsdiscovery.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QXmlStreamReader>

using namespace onvif;

namespace {
QByteArray data(const QString &name)
{
    QFile f(":/onvif/" + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class tst_OnvifSchema : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyElementIsDeclared_data();
    void everyElementIsDeclared();
    void simulatorAnswersAreDeclared_data();
    void simulatorAnswersAreDeclared();

private:
    QHash<QString, QSet<QString>> m_declared; // target namespace -> element names
    QHash<QString, QSet<QString>> m_types;    // element name in tds or tt -> the types it is declared with
    QSet<QString> m_messageElements;          // elements the WSDLs' messages carry, "{namespace}name"
    QSet<QString> m_faultSubcodes;            // ter: codes ONVIF's documents and the WSDL name
};

void tst_OnvifSchema::initTestCase()
{
    const QString dir = qEnvironmentVariable("VEXO_ONVIF_DOCS_DIR");
    for (const QString name : {"devicemgmt.wsdl", "onvif.xsd", "common.xsd", "media.wsdl", "media2.wsdl"}) {
        QFile f(QDir(dir).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            const QString why = QStringLiteral("Cannot read %1 in VEXO_ONVIF_DOCS_DIR='%2'. Put the ONVIF WSDL and "
                                               "schemas (devicemgmt.wsdl, onvif.xsd, common.xsd) in shared/onvif "
                                               "beside the clone, or configure with -DVEXO_ONVIF_DOCS_DIR=<folder>.")
                                    .arg(name, dir);
            // A clone without the documents skips the test; a CI build must have them.
            const QString ci = qEnvironmentVariable("CI").toLower();
            if (ci.isEmpty() || ci == u"0" || ci == u"false")
                QSKIP(qPrintable(why));
            QFAIL(qPrintable(why));
        }
        QXmlStreamReader r(&f);
        QString target;
        while (!r.atEnd()) {
            if (r.readNext() != QXmlStreamReader::StartElement
                || r.namespaceUri() != u"http://www.w3.org/2001/XMLSchema")
                continue;
            if (r.name() == u"schema")
                target = r.attributes().value("targetNamespace").toString();
            else if (r.name() == u"element" && r.attributes().hasAttribute("name")) {
                const QString element = r.attributes().value("name").toString();
                m_declared[target].insert(element);
                m_types[element].insert(r.attributes().value("type").toString());
            }
        }
        QVERIFY2(!r.hasError(), qPrintable(name + ": " + r.errorString()));
    }
    const QHash<QString, QString> wsdlNamespaces{
        {QStringLiteral("tds"), ns::kDevice},
        {QStringLiteral("trt"), media::serviceNamespace(media::Version::Media)},
        {QStringLiteral("tr2"), media::serviceNamespace(media::Version::Media2)}};
    for (const QString name : {"devicemgmt.wsdl", "Core.xml", "media.wsdl", "media2.wsdl", "Media.xml", "Media2.xml"}) {
        QFile f(QDir(dir).filePath(name));
        QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(QStringLiteral("Cannot read %1 in '%2'").arg(name, dir)));
        const QString text = QString::fromUtf8(f.readAll());
        static const QRegularExpression part(QStringLiteral("<wsdl:part [^>]*element=\"(tds|trt|tr2):(\\w+)\""));
        static const QRegularExpression subcode(QStringLiteral("ter:(\\w+)"));
        for (const auto &m : part.globalMatch(text))
            m_messageElements.insert(QLatin1Char('{') + wsdlNamespaces.value(m.captured(1)) + QLatin1Char('}')
                                     + m.captured(2));
        for (const auto &m : subcode.globalMatch(text))
            m_faultSubcodes.insert(m.captured(1));
    }
    QVERIFY(m_messageElements.contains("{" + ns::kDevice + "}GetUsersResponse"));
    QVERIFY(
        m_messageElements.contains("{" + media::serviceNamespace(media::Version::Media2) + "}GetSnapshotUriResponse"));
    QVERIFY(m_faultSubcodes.contains("InvalidIPv4Address"));
    QVERIFY(m_declared.value(ns::kDevice).contains("GetDeviceInformationResponse"));
    QVERIFY(m_declared.value(ns::kSchema).contains("HwAddress"));
}

void tst_OnvifSchema::everyElementIsDeclared_data()
{
    using namespace devicemgmt;
    const UsernameToken t = makeUsernameToken("admin", "pw", 0);
    QTest::addColumn<QByteArray>("xml");
    QTest::addRow("GetSystemDateAndTime") << getSystemDateAndTime();
    QTest::addRow("GetDeviceInformation") << getDeviceInformation(t);
    QTest::addRow("GetNetworkInterfaces") << getNetworkInterfaces(t);
    QTest::addRow("GetNetworkDefaultGateway") << getNetworkDefaultGateway(t);
    QTest::addRow("GetNetworkProtocols") << getNetworkProtocols(t);
    QTest::addRow("GetCapabilities") << getCapabilities(t);
    QTest::addRow("GetUsers") << getUsers(t);
    QTest::addRow("SystemReboot") << systemReboot(t);
    QTest::addRow("SetNetworkInterfaces manual") << *setNetworkInterfaces(t, "eth0", {false, {"10.1.2.3", 24}}).value;
    QTest::addRow("SetNetworkDefaultGateway") << *setNetworkDefaultGateway(t, {"10.1.2.1"}).value;
    QTest::addRow("SetNetworkProtocols") << *setNetworkProtocols(t, {{"HTTP", true, {80}}}).value;
    QTest::addRow("SetUser") << *setUser(t, "u", "p", "User").value;
    QTest::addRow("GetServices") << media::getServices(t);
    for (media::Version v : {media::Version::Media, media::Version::Media2}) {
        const char *name = v == media::Version::Media ? "Media" : "Media2";
        QTest::addRow("%s GetProfiles", name) << media::getProfiles(v, t);
        QTest::addRow("%s GetSnapshotUri", name) << *media::getSnapshotUri(v, t, "Profile_1").value;
    }
    for (const char *response :
         {"systemdateandtime.xml", "deviceinformation.xml", "networkinterfaces.xml", "networkdefaultgateway.xml",
          "networkprotocols.xml", "capabilities.xml", "setnetworkinterfaces.xml", "systemreboot.xml", "users.xml",
          "services.xml", "mediaprofiles.xml", "media2profiles.xml", "mediasnapshoturi.xml", "media2snapshoturi.xml"}) {
        QTest::addRow("%s", response) << data(response);
    }
}

void tst_OnvifSchema::everyElementIsDeclared()
{
    QFETCH(QByteArray, xml);
    const auto doc = SoapDocument::parse(xml, devicemgmt::kMaxResponseBytes);
    QVERIFY2(doc, qPrintable(doc.error));
    int checked = 0;
    for (int i = 0; i < doc.value->elementCount(); ++i) {
        const SoapDocument::Element &e = doc.value->element(i);
        if (!m_declared.contains(e.namespaceUri) || e.namespaceUri.isEmpty())
            continue;
        QVERIFY2(m_declared.value(e.namespaceUri).contains(e.localName),
                 qPrintable(QStringLiteral("{%1}%2 is not declared").arg(e.namespaceUri, e.localName)));
        ++checked;
    }
    QVERIFY(checked > 0);
}

void tst_OnvifSchema::simulatorAnswersAreDeclared_data()
{
    using namespace devicemgmt;
    QTest::addColumn<QByteArray>("xml");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    OnvifDeviceState state;
    state.endpoint = QStringLiteral("urn:uuid:0a1b2c3d-0000-4000-8000-000000000001");
    state.manufacturer = QStringLiteral("Korvalis Optics");
    state.model = QStringLiteral("KO-D210");
    state.firmware = QStringLiteral("1.2.3");
    state.serial = QStringLiteral("KOR00100000");
    state.hardwareId = QStringLiteral("HW-101");
    state.mac = QStringLiteral("02:4f:4e:00:00:01");
    state.ipv4 = QStringLiteral("127.1.0.1");
    state.gateway = QStringLiteral("127.0.0.254");
    state.httpPort = 8080;
    state.users = {OnvifUser{QStringLiteral("admin"), QStringLiteral("pw"), QStringLiteral("Administrator")}};
    state.clockOffsetSeconds = -900;
    state.authMode = OnvifAuthMode::WsSecurity;
    OnvifDevice device(state);
    auto t = [&] {
        return makeUsernameToken(QStringLiteral("admin"), QStringLiteral("pw"), -900, now);
    };
    auto answer = [&](const QByteArray &request, const QByteArray &path = OnvifDevice::kServicePath) {
        return device.handle(HttpRequest{"POST", path, {}, request}, now).body;
    };
    auto renamed = [&](const char *operation) {
        return QByteArray(getDeviceInformation(t())).replace("GetDeviceInformation", operation);
    };
    QTest::addRow("GetSystemDateAndTimeResponse") << answer(getSystemDateAndTime());
    QTest::addRow("GetDeviceInformationResponse") << answer(getDeviceInformation(t()));
    QTest::addRow("GetNetworkInterfacesResponse") << answer(getNetworkInterfaces(t()));
    QTest::addRow("GetNetworkDefaultGatewayResponse") << answer(getNetworkDefaultGateway(t()));
    QTest::addRow("GetNetworkProtocolsResponse") << answer(getNetworkProtocols(t()));
    QTest::addRow("GetCapabilitiesResponse") << answer(getCapabilities(t()));
    QTest::addRow("GetServicesResponse") << answer(renamed("GetServices"));
    QTest::addRow("GetUsersResponse") << answer(renamed("GetUsers"));
    QTest::addRow("SetNetworkDefaultGatewayResponse") << answer(*setNetworkDefaultGateway(t(), {"127.0.0.253"}).value);
    QTest::addRow("SetNetworkProtocolsResponse") << answer(*setNetworkProtocols(t(), {{"HTTP", true, {8080}}}).value);
    QTest::addRow("SetUserResponse") << answer(*setUser(t(), "admin", "pw", "Administrator").value);
    QTest::addRow("SetNetworkInterfacesResponse")
        << answer(*setNetworkInterfaces(t(), "eth0", {false, {"127.1.0.9", 8}}).value);
    QTest::addRow("SystemRebootResponse") << answer(systemReboot(t()));
    for (media::Version v : {media::Version::Media, media::Version::Media2}) {
        const char *name = v == media::Version::Media ? "Media" : "Media2";
        const QByteArray path = v == media::Version::Media ? onvifmedia::kMediaPath : onvifmedia::kMedia2Path;
        QTest::addRow("%s GetProfilesResponse", name) << answer(media::getProfiles(v, t()), path);
        QTest::addRow("%s GetSnapshotUriResponse", name)
            << answer(*media::getSnapshotUri(v, t(), onvifmedia::kVideoProfile).value, path);
        QTest::addRow("%s fault NoProfile", name) << answer(*media::getSnapshotUri(v, t(), "nothing").value, path);
    }
    QTest::addRow("fault NotAuthorized") << answer(getDeviceInformation({}));
    QTest::addRow("fault InvalidIPv4Address") << answer(
        QByteArray(*setNetworkInterfaces(t(), "eth0", {false, {"127.1.0.9", 8}}).value).replace("127.1.0.9", "1.2.3"));
    QTest::addRow("fault InvalidGatewayAddress") << answer(
        QByteArray(*setNetworkDefaultGateway(t(), {"127.0.0.253"}).value).replace("127.0.0.253", "300.0.0.1"));
    QTest::addRow("fault ActionNotSupported") << answer(renamed("GetDNS"));
    QTest::addRow("fault WellFormed") << answer("<not-xml");
    QTest::addRow("ProbeMatches") << device.probeMatches("urn:uuid:5e0b3c4e-0000-4000-8000-000000000002", "urn:uuid:x");
    QTest::addRow("Hello") << device.hello("urn:uuid:5e0b3c4e-0000-4000-8000-000000000003");
    QTest::addRow("Bye") << device.bye("urn:uuid:5e0b3c4e-0000-4000-8000-000000000004");
}

// Every element the simulator writes is declared, in a message of the WSDL where it is the
// body, its text is of its declared simple type, and a fault's subcodes are named ones.
void tst_OnvifSchema::simulatorAnswersAreDeclared()
{
    QFETCH(QByteArray, xml);
    const auto env = readSoapEnvelope(xml, devicemgmt::kMaxResponseBytes);
    QVERIFY2(env.value || env.fault, qPrintable(env.error + "\n" + QString::fromUtf8(xml)));
    if (env.fault) {
        QVERIFY(!env.fault->subcodes.isEmpty());
        for (const QualifiedName &s : env.fault->subcodes) {
            QCOMPARE(s.namespaceUri, ns::kError);
            QVERIFY2(m_faultSubcodes.contains(s.localName), qPrintable("ter:" + s.localName + " is not a named fault"));
        }
        return;
    }
    const SoapDocument &doc = env.value->document;
    const SoapDocument::Element &payload = doc.element(env.value->payload);
    if (payload.namespaceUri == ns::kDiscovery) {
        const auto message = discovery::parseMessage(xml);
        QVERIFY2(message, qPrintable(message.error));
        QVERIFY(message.value->targets.size() == 1);
    } else {
        QVERIFY2(
            m_messageElements.contains(QLatin1Char('{') + payload.namespaceUri + QLatin1Char('}') + payload.localName),
            qPrintable(payload.localName + " is not the element of a WSDL message"));
    }
    static const QHash<QString, QRegularExpression> simpleTypes{
        {QStringLiteral("xs:boolean"), QRegularExpression(QStringLiteral("^(true|false|1|0)$"))},
        {QStringLiteral("xs:int"), QRegularExpression(QStringLiteral("^-?\\d+$"))},
        {QStringLiteral("xs:integer"), QRegularExpression(QStringLiteral("^-?\\d+$"))},
        {QStringLiteral("xs:anyURI"), QRegularExpression(QStringLiteral("^\\S+$"))},
        {QStringLiteral("tt:IPv4Address"),
         QRegularExpression(
             QStringLiteral("^(25[0-5]|2[0-4]\\d|1\\d\\d|[1-9]?\\d)(\\.(25[0-5]|2[0-4]\\d|1\\d\\d|[1-9]?\\d)){3}$"))},
        {QStringLiteral("tt:HwAddress"), QRegularExpression(QStringLiteral("^[0-9a-fA-F]{2}(:[0-9a-fA-F]{2}){5}$"))},
    };
    static const QSet<QString> discoveryNames{"Hello", "Bye",    "ProbeMatches", "ProbeMatch",
                                              "Types", "Scopes", "XAddrs",       "MetadataVersion"};
    static const QSet<QString> addressingNames{"MessageID", "RelatesTo",         "To",
                                               "Action",    "EndpointReference", "Address"};
    for (int i = 0; i < doc.elementCount(); ++i) {
        const SoapDocument::Element &e = doc.element(i);
        if (e.namespaceUri == ns::kDiscovery) {
            QVERIFY2(discoveryNames.contains(e.localName), qPrintable("wsd:" + e.localName));
            continue;
        }
        if (e.namespaceUri == ns::kAddressing2004) {
            QVERIFY2(addressingNames.contains(e.localName), qPrintable("wsa:" + e.localName));
            continue;
        }
        if (!m_declared.contains(e.namespaceUri) || e.namespaceUri.isEmpty())
            continue;
        QVERIFY2(m_declared.value(e.namespaceUri).contains(e.localName),
                 qPrintable(QStringLiteral("{%1}%2 is not declared").arg(e.namespaceUri, e.localName)));
        if (!e.children.isEmpty())
            continue;
        // Text fits at least one of the simple types the name is declared with, where all are known.
        const QSet<QString> types = m_types.value(e.localName);
        const bool allKnown
            = std::all_of(types.begin(), types.end(), [](const QString &type) { return simpleTypes.contains(type); });
        if (!allKnown || types.isEmpty())
            continue;
        QVERIFY2(std::any_of(types.begin(), types.end(),
                             [&](const QString &type) { return simpleTypes.value(type).match(e.text).hasMatch(); }),
                 qPrintable(QStringLiteral("%1 = '%2' is none of %3")
                                .arg(e.localName, e.text, QStringList(types.begin(), types.end()).join(", "))));
    }
}

QTEST_GUILESS_MAIN(tst_OnvifSchema)
#include "tst_onvifschema.moc"

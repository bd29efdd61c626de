// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// Every device-management and schema element the library writes, and every one in the
// responses its parsers are tested with, is declared in the published WSDL and schemas.
// Together with tst_devicemgmt (each parsed field is read from those responses) a name
// misspelt in the library fails here or there.
#include "devicemgmt.h"
#include "namespaces.h"
#include "soapdocument.h"

#include <QDir>
#include <QFile>
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

private:
    QHash<QString, QSet<QString>> m_declared; // target namespace -> element names
};

void tst_OnvifSchema::initTestCase()
{
    const QString dir = qEnvironmentVariable("VEXO_ONVIF_DOCS_DIR");
    for (const QString name : {"devicemgmt.wsdl", "onvif.xsd", "common.xsd"}) {
        QFile f(QDir(dir).filePath(name));
        if (!f.open(QIODevice::ReadOnly)) {
            QFAIL(qPrintable(QStringLiteral("Cannot read %1 in VEXO_ONVIF_DOCS_DIR='%2'. The ONVIF WSDL and schemas "
                                            "belong in shared/onvif beside the clone; configure with "
                                            "-DVEXO_ONVIF_DOCS_DIR=<folder> if they are elsewhere.")
                                 .arg(name, dir)));
        }
        QXmlStreamReader r(&f);
        QString target;
        while (!r.atEnd()) {
            if (r.readNext() != QXmlStreamReader::StartElement
                || r.namespaceUri() != u"http://www.w3.org/2001/XMLSchema")
                continue;
            if (r.name() == u"schema")
                target = r.attributes().value("targetNamespace").toString();
            else if (r.name() == u"element" && r.attributes().hasAttribute("name"))
                m_declared[target].insert(r.attributes().value("name").toString());
        }
        QVERIFY2(!r.hasError(), qPrintable(name + ": " + r.errorString()));
    }
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
    for (const char *response :
         {"systemdateandtime.xml", "deviceinformation.xml", "networkinterfaces.xml", "networkdefaultgateway.xml",
          "networkprotocols.xml", "capabilities.xml", "setnetworkinterfaces.xml", "systemreboot.xml", "users.xml"}) {
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
        if (e.namespaceUri != ns::kDevice && e.namespaceUri != ns::kSchema)
            continue;
        QVERIFY2(m_declared.value(e.namespaceUri).contains(e.localName),
                 qPrintable(QStringLiteral("{%1}%2 is not declared").arg(e.namespaceUri, e.localName)));
        ++checked;
    }
    QVERIFY(checked > 0);
}

QTEST_GUILESS_MAIN(tst_OnvifSchema)
#include "tst_onvifschema.moc"

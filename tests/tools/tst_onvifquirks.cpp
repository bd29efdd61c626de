// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The program's ONVIF operations against simulated cameras with the habits of real ones, each
// switched on through the simulator's console: what identification reads and names as missing,
// and how a change ends as the device shows it afterwards.
#include "simulatorprocess.h"

#include <deviceoperations.h>
#include <wsdiscovery.h>

#include <QDeadlineTimer>
#include <QNetworkDatagram>
#include <QTest>
#include <QUdpSocket>

using namespace onvif;
using Kind = Failure::Kind;
using Part = NetworkChangeResult::Part;

namespace {

const QString kPassword = QStringLiteral("Onvif12345");

struct Camera
{
    QString serial;
    QUrl url;
    QString endpoint;
};

DeviceClient::Options loopback()
{
    DeviceClient::Options o;
    o.scope.scope = ClientOptions::Scope::Loopback;
    o.timeoutMs = 3000;
    return o;
}

Credentials credentials(const QString &password = kPassword)
{
    Credentials c;
    c.password = password;
    return c;
}

/** Starts a simulator with one ONVIF camera and switches on @p quirks (comma-separated). */
std::optional<Camera> startCamera(SimulatorProcess &sim, const QString &quirks, bool rebootNeeded = false)
{
    // The quirks through the console, the address that waits for the reboot through the option.
    QStringList arguments{"--count", "1", "--onvif", "1", "--onvif-port", "0", "--password", kPassword};
    if (rebootNeeded)
        arguments << "--onvif-quirk"
                  << "all=address-waits";
    if (!sim.start(arguments))
        return std::nullopt;
    Camera camera;
    for (const QString &line : sim.command(QStringLiteral("list"))) {
        if (line.endsWith(QLatin1String(" onvif")))
            camera.serial = line.section(u' ', 0, 0);
    }
    for (const QString &quirk : quirks.split(u',', Qt::SkipEmptyParts)) {
        if (sim.commandResult(QStringLiteral("onvif %1 quirk %2 1").arg(camera.serial, quirk)) != u"ok")
            return std::nullopt;
    }
    for (const QString &line : sim.command(QStringLiteral("onvif %1 show").arg(camera.serial))) {
        if (line.startsWith(QLatin1String("xaddr ")))
            camera.url = QUrl(line.mid(6));
        if (line.startsWith(QLatin1String("endpoint ")))
            camera.endpoint = line.mid(9);
    }
    return camera.url.isValid() ? std::optional(camera) : std::nullopt;
}

QStringList operationsOf(const QList<IdentityGap> &gaps)
{
    QStringList out;
    for (const IdentityGap &g : gaps)
        out.append(g.operation);
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<Part>)

class tst_OnvifQuirks : public QObject
{
    Q_OBJECT

private slots:
    void identifiesWhatItCan_data();
    void identifiesWhatItCan();
    void changeEndsAsTheDeviceShowsIt_data();
    void changeEndsAsTheDeviceShowsIt();
    void silentCameraIsFoundByProbeAlone_data();
    void silentCameraIsFoundByProbeAlone();
};

void tst_OnvifQuirks::silentCameraIsFoundByProbeAlone_data()
{
    QTest::addColumn<QString>("quirks");
    QTest::addColumn<bool>("announces");
    QTest::addRow("announcing") << "" << true;
    QTest::addRow("silent") << "silent" << false;
}

void tst_OnvifQuirks::silentCameraIsFoundByProbeAlone()
{
    QFETCH(QString, quirks);
    QFETCH(bool, announces);
    SimulatorProcess sim;
    const auto camera = startCamera(sim, quirks);
    QVERIFY(camera);
    QUdpSocket client;
    QVERIFY(client.bind(QHostAddress::LocalHost, 0));
    // On loopback the simulator announces to those who probed it lately.
    client.writeDatagram(discovery::buildProbe(QUuid::createUuid()), QHostAddress::LocalHost, sim.wsdPort());
    QVERIFY(client.waitForReadyRead(5000));
    while (client.hasPendingDatagrams())
        client.receiveDatagram();
    QCOMPARE(sim.commandResult(QStringLiteral("stop %1").arg(camera->serial)), "ok");
    QCOMPARE(sim.commandResult(QStringLiteral("start %1").arg(camera->serial)), "ok");
    QList<discovery::Message::Kind> heard;
    const QDeadlineTimer deadline(1500);
    while (heard.size() < 2 && client.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())))) {
        while (client.hasPendingDatagrams()) {
            const auto m = discovery::parseMessage(client.receiveDatagram().data());
            if (m)
                heard.append(m.value->kind);
        }
    }
    using K = discovery::Message::Kind;
    const QList<K> expected = announces ? QList<K>{K::Bye, K::Hello} : QList<K>();
    QCOMPARE(heard, expected);
}

void tst_OnvifQuirks::identifiesWhatItCan_data()
{
    QTest::addColumn<QString>("quirks");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("failure");      // of identification as a whole
    QTest::addColumn<bool>("macRead");     // the serial number is read whenever identification succeeds
    QTest::addColumn<QStringList>("gaps"); // operations named as not read
    QTest::addColumn<QString>("quirkNamed");
    QTest::addRow("as the schema has it") << "" << kPassword << int(Kind::None) << true << QStringList() << "";
    QTest::addRow("SOAP 1.1 answers") << "soap11" << kPassword << int(Kind::None) << true << QStringList()
                                      << "SOAP 1.1";
    QTest::addRow("schema elements in the device namespace")
        << "device-ns" << kPassword << int(Kind::None) << true << QStringList() << "in namespace";
    QTest::addRow("no GetNetworkInterfaces: the rest is read")
        << "no-interfaces" << kPassword << int(Kind::None) << false << QStringList{"GetNetworkInterfaces"} << "";
    QTest::addRow("every habit at once") << "soap11,device-ns,fault-200,no-interfaces" << kPassword << int(Kind::None)
                                         << false << QStringList{"GetNetworkInterfaces"} << "SOAP 1.1";
    QTest::addRow("wrong password in SOAP 1.1") << "soap11"
                                                << "wrong" << int(Kind::NotAuthorized) << false << QStringList() << "";
    QTest::addRow("wrong password at HTTP 200 with a non-standard code")
        << "fault-200"
        << "wrong" << int(Kind::NotAuthorized) << false << QStringList() << "";
}

void tst_OnvifQuirks::identifiesWhatItCan()
{
    QFETCH(QString, quirks);
    QFETCH(QString, password);
    QFETCH(int, failure);
    QFETCH(bool, macRead);
    QFETCH(QStringList, gaps);
    QFETCH(QString, quirkNamed);
    SimulatorProcess sim;
    // Every device of the simulator has the WS-Security mode, so a wrong password is a fault, not a 401.
    const auto camera = startCamera(sim, quirks);
    QVERIFY(camera);
    QCOMPARE(sim.commandResult(QStringLiteral("onvif %1 auth wsse").arg(camera->serial)), "ok");
    BlockingDeviceOperations ops(loopback());
    const auto identified = ops.identify(camera->url, credentials(password), camera->endpoint);
    QCOMPARE(int(identified.failure.kind), failure);
    if (failure != int(Kind::None))
        return;
    QVERIFY(identified.value->authenticated);
    QCOMPARE(identified.value->information.serialNumber, camera->serial);
    QCOMPARE(!identified.value->macAddress.isEmpty(), macRead);
    QCOMPARE(operationsOf(identified.value->gaps), gaps);
    QCOMPARE(identified.value->quirks.join(u'|').contains(quirkNamed), true);
    QCOMPARE(identified.value->quirks.isEmpty(), quirkNamed.isEmpty() && !quirks.contains(u"soap11"));
    // A restart needs only the service address and the credentials, whatever else was read.
    const auto rebooted = ops.reboot(*identified.value, credentials(password));
    QVERIFY2(rebooted, qPrintable(rebooted.failure.detail));
}

void tst_OnvifQuirks::changeEndsAsTheDeviceShowsIt_data()
{
    QTest::addColumn<QString>("quirks");
    QTest::addColumn<bool>("rebootNeeded");
    QTest::addColumn<QString>("address"); // empty: unchanged
    QTest::addColumn<int>("port");        // 0: unchanged
    QTest::addColumn<int>("failure");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QList<Part>>("notApplied");
    QTest::addRow("address and port applied at once")
        << "" << false << "127.1.200.9" << 8123 << int(Kind::None) << true << QList<Part>();
    QTest::addRow("address applied at once, in SOAP 1.1")
        << "soap11,device-ns" << false << "127.1.200.9" << 0 << int(Kind::None) << true << QList<Part>();
    QTest::addRow("address after the reboot")
        << "" << true << "127.1.200.9" << 0 << int(Kind::None) << false << QList<Part>();
    QTest::addRow("port waits for the reboot: applied in part")
        << "port-waits" << false << "127.1.200.9" << 8123 << int(Kind::None) << false << QList<Part>{Part::HttpPort};
    QTest::addRow("address declined: nothing applied")
        << "" << false << "224.0.0.9" << 0 << int(Kind::SoapFault) << false << QList<Part>();
}

void tst_OnvifQuirks::changeEndsAsTheDeviceShowsIt()
{
    QFETCH(QString, quirks);
    QFETCH(bool, rebootNeeded);
    QFETCH(QString, address);
    QFETCH(int, port);
    QFETCH(int, failure);
    SimulatorProcess sim;
    const auto camera = startCamera(sim, quirks, rebootNeeded);
    QVERIFY(camera);
    BlockingDeviceOperations ops(loopback());
    const auto identified = ops.identify(camera->url, credentials(), camera->endpoint);
    QVERIFY2(identified, qPrintable(identified.failure.detail));
    NetworkChange change;
    if (!address.isEmpty())
        change.ipv4 = devicemgmt::Ipv4Settings{false, {address, identified.value->ipv4.prefixLength}};
    if (port != 0)
        change.httpPort = port;
    const auto changed = ops.changeNetwork(*identified.value, credentials(), change);
    QCOMPARE(int(changed.failure.kind), failure);
    if (failure != int(Kind::None))
        return;
    QCOMPARE(changed.value->rebootNeeded, rebootNeeded);
    QTEST(changed.value->confirmed, "confirmed");
    QTEST(changed.value->notApplied, "notApplied");
    QUrl expected = changed.value->serviceUrl;
    if (rebootNeeded) {
        // Until its restart the device serves where it was.
        QCOMPARE(expected, camera->url);
        QVERIFY(ops.reboot(*identified.value, credentials()));
        expected.setHost(address);
    }
    // Where the result says the device serves, it answers with the new address (after its restart).
    QCOMPARE(expected.host(), address);
    Outcome<Identity> there;
    QTRY_VERIFY_WITH_TIMEOUT((there = ops.identify(expected, credentials(), camera->endpoint)), 5000);
    QCOMPARE(there.value->ipv4.address, address);
    QCOMPARE(there.value->httpPort, port != 0 && changed.value->notApplied.isEmpty() ? port : camera->url.port());
}

QTEST_GUILESS_MAIN(tst_OnvifQuirks)
#include "tst_onvifquirks.moc"

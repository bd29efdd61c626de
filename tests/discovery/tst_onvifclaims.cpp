// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The ONVIF discovery service with a lying device between it and the simulator: the liar's
// claim makes the device contested, its record names the other address, and the liar's
// device service shows what reached it.
#include "hostileonvifpeer.h"
#include "simulatorprocess.h"

#include <deviceinfo.h>
#include <onvifhandler.h>

#include <QElapsedTimer>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

namespace {

const QString kPassword = QStringLiteral("Admin12345");
const QHostAddress kPeerAddress(QStringLiteral("127.66.0.2"));

OnvifDeviceState liar(const QString &endpoint, const QString &mac, const QString &serial)
{
    OnvifDeviceState s;
    s.endpoint = endpoint;
    s.manufacturer = QStringLiteral("Nobody");
    s.model = QStringLiteral("Liar");
    s.serial = serial;
    s.mac = mac;
    s.users = {OnvifUser{QStringLiteral("admin"), kPassword, QStringLiteral("Administrator")}};
    return s;
}

// How many identifications carrying credentials reached @p peer.
qsizetype credentialedIdentifications(const HostileOnvifPeer &peer)
{
    const QList<HostileOnvifPeer::Request> received = peer.received();
    return std::count_if(received.cbegin(), received.cend(), [](const HostileOnvifPeer::Request &r) {
        return r.credentials && r.operation == "GetDeviceInformation";
    });
}

// The newest record of @p endpoint that the service sent, as arrival or update.
std::optional<VEXO_DEVICE_INFO> latest(const QList<QSignalSpy *> &spies, const QString &endpoint)
{
    std::optional<VEXO_DEVICE_INFO> out;
    for (QSignalSpy *spy : spies) {
        for (const QList<QVariant> &args : *spy) {
            const auto record = args.first().value<VEXO_DEVICE_INFO>();
            if (fieldText(record.serialNumber) == endpoint)
                out = record;
        }
    }
    return out;
}

} // namespace

class tst_OnvifClaims : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { registerDiscoveryMetaTypes(); }
    void claimedIdentityIsContested_data();
    void claimedIdentityIsContested();
    void digestsPerSignInBounded_data();
    void digestsPerSignInBounded();
};

void tst_OnvifClaims::claimedIdentityIsContested_data()
{
    QTest::addColumn<QString>("claim");
    QTest::addRow("endpoint of an ONVIF device") << "endpoint";
    QTest::addRow("MAC of a verified device that also speaks ONVIF") << "mac";
    QTest::addRow("endpoint of a verified device's ONVIF face") << "face";
}

void tst_OnvifClaims::claimedIdentityIsContested()
{
    QFETCH(QString, claim);
    SimulatorProcess sim;
    QVERIFY(
        sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif-port"), QStringLiteral("0"),
                   claim == QLatin1String("endpoint") ? QStringLiteral("--onvif") : QStringLiteral("--onvif-both"),
                   QStringLiteral("1")}));
    HostileOnvifPeer peer(kPeerAddress, sim.wsdPort());
    QVERIFY(peer.start());
    onvif::ClientOptions options;
    options.scope = onvif::ClientOptions::Scope::Loopback;
    options.discoveryPort = peer.wsdPort();
    VEXO::OnvifHandler service(options);
    QSignalSpy online(&service, &VEXO::OnvifHandler::signalDeviceOnline);
    QSignalSpy updated(&service, &VEXO::OnvifHandler::signalDeviceUpdate);
    QVERIFY(service.start());
    QTRY_VERIFY(!online.isEmpty());
    const auto genuine = online.first().first().value<VEXO_DEVICE_INFO>();
    // Signed in before the liar speaks: its claim must be heard before anything goes out.
    service.setCredentials({QStringLiteral("admin"), kPassword, false});

    QString contested;
    QString claimed; // the address of the device whose identity the liar claims
    if (claim == QLatin1String("endpoint")) {
        contested = fieldText(genuine.serialNumber);
        claimed = fieldText(genuine.ipv4Address);
        peer.impersonate(liar(contested, QStringLiteral("02:11:22:33:44:55"), QStringLiteral("LIAR0002")));
        service.sendInquiry(); // both answer the new round
    } else if (claim == QLatin1String("face")) {
        // Heard at the address of a verified device, the endpoint is listed as its ONVIF face.
        const QStringList fields = sim.command(QStringLiteral("list")).value(0).split(u' ');
        QVERIFY(fields.size() >= 3);
        VEXO_DEVICE_INFO verified{};
        setFieldText(verified.leadText, "VXDP/1");
        setFieldText(verified.serialNumber, fields[0].toLatin1());
        setFieldText(verified.macAddress, fields[1].toLatin1());
        setFieldText(verified.ipv4Address, fields[2].toLatin1());
        verified.identityFlags = VEXO_IDENTITY_VERIFIED;
        service.noteDevice(verified, true);
        contested = fieldText(genuine.serialNumber);
        claimed = fields[2];
        QTRY_COMPARE(fieldText(latest({&online, &updated}, contested).value_or(VEXO_DEVICE_INFO{}).macAddress),
                     fields[1]);
        // Heard at the next round of probes, after the genuine device: the face stays where it was.
        peer.impersonate(liar(contested, QStringLiteral("02:11:22:33:44:77"), QStringLiteral("LIAR0004")));
    } else {
        // The dual device's verified side, as the device protocol reports it.
        const QStringList fields = sim.command(QStringLiteral("list")).value(0).split(u' ');
        QVERIFY(fields.size() >= 3);
        VEXO_DEVICE_INFO verified{};
        setFieldText(verified.leadText, "VXDP/1");
        setFieldText(verified.serialNumber, fields[0].toLatin1());
        setFieldText(verified.macAddress, fields[1].toLatin1());
        setFieldText(verified.ipv4Address, fields[2].toLatin1());
        verified.identityFlags = VEXO_IDENTITY_VERIFIED;
        service.noteDevice(verified, true);
        contested = QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        claimed = fields[2];
        peer.impersonate(liar(contested, QString(fields[1]).replace(u'-', u':'), fields[0]));
        service.sendInquiry();
    }
    QTRY_VERIFY_WITH_TIMEOUT(service.isContested(contested), 20000);
    QVERIFY(service.serviceUrl(contested).isEmpty());
    // Its record names both addresses, whichever answered first.
    QTRY_VERIFY(!onvifContestedBy(latest({&online, &updated}, contested).value_or(VEXO_DEVICE_INFO{})).isEmpty());
    const VEXO_DEVICE_INFO record = *latest({&online, &updated}, contested);
    QCOMPARE(QSet<QString>({fieldText(record.ipv4Address), onvifContestedBy(record)}),
             QSet<QString>({claimed, kPeerAddress.toString()}));
    QVERIFY(fieldText(record.macAddress).isEmpty()); // listed on its own, never merged with a device's row
    QTest::qWait(1000);                              // identification would have reached it by now
    QVERIFY(!peer.receivedChange());
    // An endpoint claim is known before anything is sent; a MAC only once the liar was asked.
    if (claim != QLatin1String("mac"))
        QVERIFY(!peer.receivedCredentials());
}

void tst_OnvifClaims::digestsPerSignInBounded_data()
{
    QTest::addColumn<QString>("attack");
    QTest::addColumn<int>("digests"); // identifications with credentials that reach the liar
    QTest::addRow("leaving and coming back: one digest per endpoint") << "return" << 1;
    // The liar accepts any password, so each endpoint it makes up is identified and makes room for
    // the next ones that the limit of unidentified endpoints per sender holds back.
    QTest::addRow("endpoints made up wave after wave: 64 of one address") << "waves" << 64;
}

void tst_OnvifClaims::digestsPerSignInBounded()
{
    QFETCH(QString, attack);
    QFETCH(int, digests);
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif-port"),
                       QStringLiteral("0"), QStringLiteral("--onvif"), QStringLiteral("1")}));
    HostileOnvifPeer peer(kPeerAddress, sim.wsdPort());
    QVERIFY(peer.start());
    peer.impersonate(liar(QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces),
                          QStringLiteral("02:11:22:33:44:66"), QStringLiteral("LIAR0003")));
    onvif::ClientOptions options;
    options.scope = onvif::ClientOptions::Scope::Loopback;
    options.discoveryPort = peer.wsdPort();
    VEXO::OnvifHandler service(options);
    QVERIFY(service.start());
    service.setCredentials({QStringLiteral("admin"), kPassword, false});
    QTRY_COMPARE_WITH_TIMEOUT(credentialedIdentifications(peer), 1, 10000);
    // Each step waits for the identifications it causes; the last two, past the bound, cause none.
    const auto step = [&] {
        const qsizetype before = credentialedIdentifications(peer);
        if (attack == QLatin1String("return"))
            peer.reannounce();
        else
            peer.helloMadeUp(16);
        QElapsedTimer waited;
        waited.start();
        while (credentialedIdentifications(peer) == before && waited.elapsed() < 1500)
            QTest::qWait(50);
        QTest::qWait(500); // the step's other identifications finish
    };
    for (int i = 0; i < 20 && credentialedIdentifications(peer) < digests; ++i)
        step();
    step();
    step();
    QCOMPARE(credentialedIdentifications(peer), digests);
}

QTEST_GUILESS_MAIN(tst_OnvifClaims)

#include "tst_onvifclaims.moc"

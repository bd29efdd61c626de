// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// vexo-cli on a segment with a lying ONVIF device between it and the simulator: what the liar
// received shows what it got.
#include "hostileonvifpeer.h"
#include "simulatorprocess.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>

namespace {

const QString kPassword = QStringLiteral("Admin12345");
const QHostAddress kPeerAddress(QStringLiteral("127.66.0.1"));

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// vexo-cli run in the background, so that the peer in this thread keeps answering.
CliRun cli(quint16 port, quint16 wsdPort, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEXO_SCOPE"), QStringLiteral("loopback"));
    env.insert(QStringLiteral("VEXO_PORT"), QString::number(port));
    if (wsdPort != 0) // without ONVIF devices the simulator has no discovery port
        env.insert(QStringLiteral("VEXO_WSD_PORT"), QString::number(wsdPort));
    process.setProcessEnvironment(env);
    process.start(SimulatorProcess::toolPath(QStringLiteral("vexo-cli")), arguments);
    CliRun run;
    QSignalSpy finished(&process, &QProcess::finished);
    if (!finished.wait(20000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QJsonArray listed(quint16 port, quint16 wsdPort, const QStringList &extra = {})
{
    const CliRun run = cli(
        port, wsdPort,
        QStringList{QStringLiteral("list"), QStringLiteral("--json"), QStringLiteral("--wait"), QStringLiteral("1500")}
            + extra);
    return QJsonDocument::fromJson(run.out).array();
}

OnvifDeviceState liar(const QString &endpoint, const QString &mac, const QString &serial)
{
    OnvifDeviceState s;
    s.endpoint = endpoint;
    s.manufacturer = QStringLiteral("Nobody");
    s.model = QStringLiteral("Liar");
    s.serial = serial;
    s.mac = QString(mac).replace(u'-', u':');
    s.users = {OnvifUser{QStringLiteral("admin"), kPassword, QStringLiteral("Administrator")}};
    return s;
}

} // namespace

class tst_OnvifHostile : public QObject
{
    Q_OBJECT

private slots:
    void claimsGetNothing_data();
    void claimsGetNothing();
    void floodCappedPerSender();
};

void tst_OnvifHostile::claimsGetNothing_data()
{
    QTest::addColumn<QStringList>("site");
    QTest::addColumn<QString>("claim");
    QTest::addRow("endpoint of an ONVIF device")
        << QStringList{QStringLiteral("--onvif"), QStringLiteral("1")} << "endpoint";
    QTest::addRow("MAC of a verified device that also speaks ONVIF")
        << QStringList{QStringLiteral("--onvif-both"), QStringLiteral("1")} << "mac";
    QTest::addRow("MAC of a verified device without ONVIF") << QStringList{} << "mac";
}

void tst_OnvifHostile::claimsGetNothing()
{
    QFETCH(QStringList, site);
    QFETCH(QString, claim);
    SimulatorProcess sim;
    QVERIFY(sim.start(
        QStringList{QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif-port"), QStringLiteral("0")}
        + site));
    // The genuine device, as the segment shows it without the liar.
    QJsonObject genuine;
    for (const QJsonValue &v : listed(sim.port(), sim.wsdPort(), {kPassword})) {
        const QString protocol = v[QLatin1String("protocol")].toString();
        if (claim == QLatin1String("endpoint") ? protocol == QLatin1String("ONVIF") : protocol.startsWith(u'V'))
            genuine = v.toObject();
    }
    QVERIFY(!genuine.isEmpty());

    HostileOnvifPeer peer(kPeerAddress, sim.wsdPort());
    QVERIFY(peer.start());
    QString target;
    if (claim == QLatin1String("endpoint")) {
        target = genuine[QLatin1String("endpoint")].toString();
        peer.impersonate(liar(target, QStringLiteral("02:11:22:33:44:55"), QStringLiteral("LIAR0001")));
    } else {
        target = genuine[QLatin1String("mac")].toString();
        peer.impersonate(liar(QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces), target,
                              genuine[QLatin1String("serialNumber")].toString()));
    }
    QVERIFY(!target.isEmpty());

    // The user changes the password, then the address, of the device they mean.
    const CliRun password = cli(sim.port(), peer.wsdPort(),
                                {QStringLiteral("onvif-password"), target, kPassword, QStringLiteral("Other12345"),
                                 QStringLiteral("--wait"), QStringLiteral("1500")});
    const CliRun readdress = cli(sim.port(), peer.wsdPort(),
                                 {QStringLiteral("onvif-modify"), target, kPassword, QStringLiteral("--ipv4"),
                                  QStringLiteral("127.1.0.99"), QStringLiteral("--wait"), QStringLiteral("1500")});
    for (const CliRun &run : {password, readdress}) {
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(kPeerAddress.toString().toLatin1()), run.err.constData());
    }
    QVERIFY(!peer.receivedChange());
    // An endpoint claim is known before anything is sent; a MAC only after the device was
    // asked for it, which takes the password once.
    if (claim == QLatin1String("endpoint"))
        QVERIFY(!peer.receivedCredentials());
}

void tst_OnvifHostile::floodCappedPerSender()
{
    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("1"), QStringLiteral("--onvif"), QStringLiteral("1"),
                       QStringLiteral("--onvif-port"), QStringLiteral("0")}));
    HostileOnvifPeer peer(kPeerAddress, sim.wsdPort());
    QVERIFY(peer.start());
    peer.impersonate(liar(QStringLiteral("urn:uuid:") + QUuid::createUuid().toString(QUuid::WithoutBraces),
                          QStringLiteral("02:11:22:33:44:55"), QStringLiteral("LIAR0001")));
    peer.floodNextProbe(10000);
    int phantoms = 0;
    int genuine = 0;
    for (const QJsonValue &v : listed(sim.port(), peer.wsdPort())) {
        if (v[QLatin1String("protocol")].toString() != QLatin1String("ONVIF"))
            continue;
        if (v[QLatin1String("ipv4Address")].toString() == kPeerAddress.toString())
            ++phantoms;
        else
            ++genuine;
    }
    QCOMPARE(phantoms, 8);
    QCOMPARE(genuine, 1);
}

QTEST_GUILESS_MAIN(tst_OnvifHostile)

#include "tst_onvifhostile.moc"

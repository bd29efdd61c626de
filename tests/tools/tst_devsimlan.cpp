// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "simclient.h"
#include "simulatorprocess.h"

#include <protocol/codec.h>
#include <protocol/crypto.h>

#include <QCoreApplication>
#include <QNetworkInterface>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTest>

namespace {

// The namespace gets a veth pair with documentation addresses; nothing leaves it.
const char kSetup[] = "ip link add vxa type veth peer name vxb || exit 77; "
                      "ip addr add 192.0.2.1/24 dev vxa && ip addr add 192.0.2.2/24 dev vxb && "
                      "ip link set lo up && ip link set vxa up && ip link set vxb up || exit 77; "
                      "exec env VEXO_LAN_NETNS=1 \"$1\" lanScope";
constexpr int kSkip = 77;

} // namespace

/**
 * The multicast (LAN) scope, run only inside a private user and network
 * namespace that the test creates: the test re-runs itself there.
 */
class tst_DevSimLan : public QObject
{
    Q_OBJECT

private slots:
    void lanScope();

private:
    void runInsideNamespace();
};

void tst_DevSimLan::lanScope()
{
    if (qEnvironmentVariable("VEXO_LAN_NETNS") == QLatin1String("1")) {
        runInsideNamespace();
        return;
    }
    const QString unshare = QStandardPaths::findExecutable(QStringLiteral("unshare"));
    const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"), QStringLiteral("/usr/bin"),
                           QStringLiteral("/bin")};
    const QString ip = QStandardPaths::findExecutable(QStringLiteral("ip"), sbin);
    if (unshare.isEmpty() || ip.isEmpty())
        QSKIP("unshare or ip is missing");

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), env.value(QStringLiteral("PATH")) + QStringLiteral(":/usr/sbin:/sbin"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(unshare, {QStringLiteral("--user"), QStringLiteral("--map-root-user"), QStringLiteral("--net"),
                          QStringLiteral("sh"), QStringLiteral("-c"), QLatin1String(kSetup), QStringLiteral("sh"),
                          QCoreApplication::applicationFilePath()});
    QVERIFY(child.waitForFinished(60000));
    const QByteArray output = child.readAll();
    if (child.exitCode() == kSkip || output.startsWith("unshare:"))
        QSKIP(qPrintable(QStringLiteral("no private network namespace here: ") + QString::fromUtf8(output.left(200))));
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, output.constData());
}

void tst_DevSimLan::runInsideNamespace()
{
    QVERIFY(vxdp::cryptoInit());
    // Refuse to multicast anywhere but in the namespace made above.
    QList<QNetworkInterface> veth;
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &iface : all) {
        if (iface.name() == QLatin1String("vxa") || iface.name() == QLatin1String("vxb"))
            veth.append(iface);
        else
            QVERIFY2(iface.flags().testFlag(QNetworkInterface::IsLoopBack), qPrintable(iface.name()));
    }
    QCOMPARE(veth.size(), 2);

    SimulatorProcess sim;
    QVERIFY(sim.start({QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("2"),
                       QStringLiteral("--port"), QString::number(vxdp::kDefaultDevicePort)},
                      SimulatorProcess::Scope::Lan));
    QCOMPARE(sim.port(), vxdp::kDefaultDevicePort);
    SimClient client(vxdp::kDefaultDevicePort, QHostAddress(QString::fromLatin1(vxdp::kDefaultGroup)), veth);
    QVERIFY(client.isBound());

    // Answers come back on the group; with two interfaces a device may be heard twice.
    const auto answers = client.inquire(6);
    QSet<QByteArray> serials;
    for (const vxdp::Announce &a : answers)
        serials.insert(QByteArray::fromStdString(a.device.serial));
    QCOMPARE(serials.size(), 6);

    const vxdp::Announce *fresh = nullptr;
    for (const vxdp::Announce &a : answers) {
        if (a.device.inactive)
            fresh = &a;
    }
    QVERIFY(fresh);
    vxdp::Request request;
    request.target = SimClient::serialTarget(fresh->device.serial);
    vxdp::Secret secret;
    secret.password = "Lan12345";
    const auto result = client.sealed(vxdp::MsgType::Activate, request, secret);
    QVERIFY(result);
    QCOMPARE(result->status, vxdp::Status::Ok);
    const auto changed = client.waitForAnnounce(vxdp::AnnounceReason::Changed, fresh->device.serial);
    QVERIFY(changed);
    QCOMPARE(changed->device.inactive, 0);

    QCOMPARE(sim.command(QStringLiteral("quit")), QStringList{QStringLiteral("ok")});
    QVERIFY(client.waitForAnnounce(vxdp::AnnounceReason::Goodbye, fresh->device.serial));
    QVERIFY(sim.waitForExit());
    QCOMPARE(sim.process().exitCode(), 0);
}

QTEST_GUILESS_MAIN(tst_DevSimLan)

#include "tst_devsimlan.moc"

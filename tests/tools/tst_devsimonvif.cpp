// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The simulator's ONVIF devices through its real sockets on loopback: found by a Probe,
// identified over HTTP with a token that corrects for the device's clock, re-addressed
// (its console, its VXDP face and its Hello follow; outside 127/8 it says Bye), and gone
// with a Bye when stopped.
#include "simulatorprocess.h"

#include <devicemgmt.h>
#include <wsdiscovery.h>

#include <QDeadlineTimer>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>
#include <QUrl>

using namespace onvif;

namespace {

const QString kPassword = QStringLiteral("Onvif12345");

struct Reply
{
    int status = 0;
    QByteArray body;
};

Reply post(const QString &xaddr, const QByteArray &body)
{
    const QUrl url(xaddr);
    QTcpSocket socket;
    socket.connectToHost(url.host(), quint16(url.port()));
    if (!socket.waitForConnected(5000))
        return {};
    socket.write("POST " + url.path().toUtf8() + " HTTP/1.1\r\nHost: " + url.host().toUtf8()
                 + "\r\nContent-Type: application/soap+xml\r\nContent-Length: " + QByteArray::number(body.size())
                 + "\r\n\r\n" + body);
    QByteArray in;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        const qsizetype end = in.indexOf("\r\n\r\n");
        if (end > 0) {
            const qsizetype at = in.toLower().indexOf("content-length:");
            const qsizetype length = in.mid(at + 15, in.indexOf("\r\n", at) - at - 15).trimmed().toLongLong();
            if (in.size() >= end + 4 + length)
                return {in.mid(9, 3).toInt(), in.mid(end + 4, length)};
        }
        if (!socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            break;
        in += socket.readAll();
    }
    return {};
}

/** Discovery messages that reach @p socket within @p ms, until @p enough is true of them. */
QList<discovery::Message> receive(QUdpSocket &socket, int ms,
                                  const std::function<bool(const QList<discovery::Message> &)> &enough)
{
    QList<discovery::Message> out;
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && !enough(out)) {
        if (!socket.hasPendingDatagrams()
            && !socket.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime()))))
            continue;
        while (socket.hasPendingDatagrams()) {
            const auto message = discovery::parseMessage(socket.receiveDatagram().data());
            if (message)
                out.append(*message.value);
        }
    }
    return out;
}

} // namespace

class tst_DevsimOnvif : public QObject
{
    Q_OBJECT

private slots:
    void probeIdentifyReaddressBye();
};

void tst_DevsimOnvif::probeIdentifyReaddressBye()
{
    SimulatorProcess sim;
    QVERIFY(
        sim.start({"--count", "2", "--onvif", "1", "--onvif-both", "1", "--onvif-port", "0", "--password", kPassword}));
    QVERIFY(sim.wsdPort() != 0);
    QVERIFY(sim.wsdPort() != sim.port());
    const QStringList list = sim.command(QStringLiteral("list"));
    const auto row = [&](const QString &suffix) {
        for (const QString &line : list) {
            if (line.endsWith(suffix))
                return line.split(QLatin1Char(' '));
        }
        return QStringList();
    };
    const QStringList both = row(QStringLiteral(" vxdp+onvif"));
    QCOMPARE(both.size(), 5);
    QCOMPARE(row(QStringLiteral(" 1 onvif")).size(), 5);

    QUdpSocket client;
    QVERIFY(client.bind(QHostAddress::LocalHost, 0));
    client.writeDatagram(discovery::buildProbe(QUuid::createUuid()), QHostAddress::LocalHost, sim.wsdPort());
    const auto matches = receive(client, 5000, [](const auto &m) { return m.size() >= 2; });
    QCOMPARE(matches.size(), 2);
    QString xaddr;
    QString endpoint;
    for (const discovery::Message &m : matches) {
        QCOMPARE(m.kind, discovery::Message::Kind::ProbeMatches);
        const QUrl url(m.targets.value(0).xaddrs.value(0));
        // Each device has an address of its own in 127/8, not the simulator's.
        QVERIFY(QHostAddress(url.host()).isInSubnet(QHostAddress(QStringLiteral("127.0.0.0")), 8));
        QVERIFY(url.host() != QLatin1String("127.0.0.1"));
        if (url.host() == both.at(2)) {
            xaddr = url.toString();
            endpoint = m.targets.value(0).endpoint;
        }
    }
    QVERIFY2(!xaddr.isEmpty(), "the device that speaks both protocols did not answer the Probe at its VXDP address");

    // Identify it: the clock first, then a token that corrects for it.
    const Reply time = post(xaddr, devicemgmt::getSystemDateAndTime());
    QCOMPARE(time.status, 200);
    const auto clock = devicemgmt::parseSystemDateAndTime(time.body);
    QVERIFY(clock && clock.value->utc);
    const qint64 offset = devicemgmt::clockOffsetSeconds(*clock.value->utc, QDateTime::currentDateTimeUtc());
    QVERIFY2(qAbs(offset) >= 300, "the device's clock must be off, so that a client has to correct for it");
    auto token = [&] {
        return makeUsernameToken(QStringLiteral("admin"), kPassword, offset);
    };
    const auto info = devicemgmt::parseDeviceInformation(post(xaddr, devicemgmt::getDeviceInformation(token())).body);
    QVERIFY2(info, qPrintable(info.error));
    QCOMPARE(info.value->serialNumber, both.at(0));
    const auto interfaces
        = devicemgmt::parseNetworkInterfaces(post(xaddr, devicemgmt::getNetworkInterfaces(token())).body);
    QVERIFY2(interfaces && !interfaces.value->isEmpty(), qPrintable(interfaces.error));
    QCOMPARE(QString(interfaces.value->first().hwAddress).replace(QLatin1Char(':'), QLatin1Char('-')), both.at(1));

    // Re-address it: the answer first, then the device serves from there and says Hello.
    const QString moved = QStringLiteral("127.1.5.5");
    const auto set = devicemgmt::setNetworkInterfaces(token(), interfaces.value->first().token, {false, {moved, 8}});
    const auto rebootNeeded = devicemgmt::parseSetNetworkInterfaces(post(xaddr, *set.value).body);
    QVERIFY(rebootNeeded);
    QCOMPARE(*rebootNeeded.value, false);
    const auto hello = receive(
        client, 5000, [](const auto &m) { return !m.isEmpty() && m.last().kind == discovery::Message::Kind::Hello; });
    QVERIFY(!hello.isEmpty());
    QCOMPARE(hello.last().targets.value(0).endpoint, endpoint);
    const QString newXaddr = hello.last().targets.value(0).xaddrs.value(0);
    QCOMPARE(QUrl(newXaddr).host(), moved);
    QCOMPARE(post(newXaddr, devicemgmt::getSystemDateAndTime()).status, 200);
    QCOMPARE(post(xaddr, devicemgmt::getSystemDateAndTime()).status, 0);
    // One device, one address: the VXDP face moved with it.
    QVERIFY(sim.command(QStringLiteral("list"))
                .contains(QStringLiteral("%1 %2 %3 %4 vxdp+onvif").arg(both.at(0), both.at(1), moved, both.at(3))));

    // An address outside 127/8 leaves the device unreachable on loopback: it says Bye and keeps the address.
    const QStringList only = row(QStringLiteral(" 1 onvif"));
    QString onlyXaddr;
    for (const discovery::Message &m : matches) {
        if (QUrl(m.targets.value(0).xaddrs.value(0)).host() == only.at(2))
            onlyXaddr = m.targets.value(0).xaddrs.value(0);
    }
    const auto onlyClock = devicemgmt::parseSystemDateAndTime(post(onlyXaddr, devicemgmt::getSystemDateAndTime()).body);
    QVERIFY(onlyClock && onlyClock.value->utc);
    const auto away = devicemgmt::setNetworkInterfaces(
        makeUsernameToken(QStringLiteral("admin"), kPassword,
                          devicemgmt::clockOffsetSeconds(*onlyClock.value->utc, QDateTime::currentDateTimeUtc())),
        QStringLiteral("eth0"), {false, {QStringLiteral("192.0.2.5"), 24}});
    QCOMPARE(post(onlyXaddr, *away.value).status, 200);
    const auto gone = receive(
        client, 5000, [](const auto &m) { return !m.isEmpty() && m.last().kind == discovery::Message::Kind::Bye; });
    QVERIFY(!gone.isEmpty());
    QVERIFY(sim.command(QStringLiteral("list"))
                .contains(QStringLiteral("%1 %2 192.0.2.5 1 onvif").arg(only.at(0), only.at(1))));
    QCOMPARE(post(onlyXaddr, devicemgmt::getSystemDateAndTime()).status, 0);

    QCOMPARE(sim.commandResult(QStringLiteral("stop ") + both.at(0)), QStringLiteral("ok"));
    const auto bye = receive(
        client, 5000, [](const auto &m) { return !m.isEmpty() && m.last().kind == discovery::Message::Kind::Bye; });
    QVERIFY(!bye.isEmpty());
    QCOMPARE(bye.last().targets.value(0).endpoint, endpoint);
    QCOMPARE(post(newXaddr, devicemgmt::getSystemDateAndTime()).status, 0);
}

QTEST_GUILESS_MAIN(tst_DevsimOnvif)
#include "tst_devsimonvif.moc"

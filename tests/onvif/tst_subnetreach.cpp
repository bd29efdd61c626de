// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <subnetreach.h>

#include <QHostAddress>
#include <QTest>

using VexoTool::AdapterAddress;

namespace {

quint32 ipv4Number(const QString &address)
{
    return QHostAddress(address).toIPv4Address();
}

AdapterAddress adapter(const char *name, const char *address, int prefix)
{
    return {QString::fromLatin1(name), ipv4Number(QString::fromLatin1(address)), prefix};
}

} // namespace

class tst_SubnetReach : public QObject
{
    Q_OBJECT

private slots:
    void adapterReaching_data();
    void adapterReaching();
    void adviceNamesSubnetAndAdapter_data();
    void adviceNamesSubnetAndAdapter();
    void loopbackScopeHasOnlyTheLoopbackAdapter();
    void masksAndPrefixes_data();
    void masksAndPrefixes();
};

void tst_SubnetReach::adapterReaching_data()
{
    QTest::addColumn<QVector<AdapterAddress>>("adapters");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("reachedBy"); // adapter name, empty: none

    const QVector<AdapterAddress> lan{adapter("eth0", "192.168.1.20", 24)};
    QTest::addRow("/24: first address of the subnet") << lan << "192.168.1.0"
                                                      << "eth0";
    QTest::addRow("/24: last address of the subnet") << lan << "192.168.1.255"
                                                     << "eth0";
    QTest::addRow("/24: next subnet up") << lan << "192.168.2.0"
                                         << "";
    QTest::addRow("/24: subnet below") << lan << "192.168.0.255"
                                       << "";

    const QVector<AdapterAddress> host{adapter("tun0", "10.8.0.5", 32)};
    QTest::addRow("/32: its own address") << host << "10.8.0.5"
                                          << "tun0";
    QTest::addRow("/32: the next address") << host << "10.8.0.6"
                                           << "";
    QTest::addRow("/32: the address before") << host << "10.8.0.4"
                                             << "";

    const QVector<AdapterAddress> pair{adapter("p2p", "10.9.0.4", 31)};
    QTest::addRow("/31: its own address") << pair << "10.9.0.4"
                                          << "p2p";
    QTest::addRow("/31: the other end") << pair << "10.9.0.5"
                                        << "p2p";
    QTest::addRow("/31: beyond the pair") << pair << "10.9.0.6"
                                          << "";
    QTest::addRow("/31: before the pair") << pair << "10.9.0.3"
                                          << "";

    const QVector<AdapterAddress> all{adapter("any", "10.0.0.1", 0)};
    QTest::addRow("/0: any address") << all << "203.0.113.9"
                                     << "any";
    QTest::addRow("/0: the highest address") << all << "255.255.255.255"
                                             << "any";

    const QVector<AdapterAddress> several{adapter("eth0", "192.168.1.20", 24), adapter("eth1", "10.1.0.2", 16),
                                          adapter("eth2", "10.1.2.3", 24)};
    QTest::addRow("several: second adapter") << several << "10.1.200.7"
                                             << "eth1";
    QTest::addRow("several: overlapping subnets, first listed wins") << several << "10.1.2.9"
                                                                     << "eth1";
    QTest::addRow("several: none") << several << "172.16.0.1"
                                   << "";

    QTest::addRow("no adapters") << QVector<AdapterAddress>{} << "10.0.0.1"
                                 << "";
    QTest::addRow("prefix 33 reaches nothing") << QVector<AdapterAddress>{adapter("bad", "10.0.0.1", 33)} << "10.0.0.1"
                                               << "";
    QTest::addRow("negative prefix reaches nothing")
        << QVector<AdapterAddress>{adapter("bad", "10.0.0.1", -1)} << "10.0.0.1"
        << "";

    const QVector<AdapterAddress> loopback{adapter("lo", "127.0.0.1", 8)};
    QTest::addRow("loopback: a simulated device") << loopback << "127.1.0.7"
                                                  << "lo";
    QTest::addRow("loopback: top of 127/8") << loopback << "127.255.255.254"
                                            << "lo";
    QTest::addRow("loopback: a LAN address") << loopback << "128.0.0.1"
                                             << "";
}

void tst_SubnetReach::adapterReaching()
{
    QFETCH(QVector<AdapterAddress>, adapters);
    QFETCH(QString, address);
    QFETCH(QString, reachedBy);
    const auto reached = VexoTool::adapterReaching(ipv4Number(address), adapters);
    QCOMPARE(reached ? reached->adapterName : QString(), reachedBy);
    QCOMPARE(VexoTool::unreachableAdvice(ipv4Number(address), 24, adapters).isEmpty(), !reachedBy.isEmpty());
}

void tst_SubnetReach::adviceNamesSubnetAndAdapter_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("prefix");
    QTest::addColumn<QString>("says");

    QTest::addRow("device's own /24") << "10.1.2.7" << 24
                                      << "Add an address in 10.1.2.0/24 to the network adapter \"eth0\"";
    QTest::addRow("device's own /16") << "10.1.2.7" << 16 << "10.1.0.0/16";
    QTest::addRow("unknown prefix taken as /24") << "10.1.2.7" << 0 << "10.1.2.0/24";
}

void tst_SubnetReach::adviceNamesSubnetAndAdapter()
{
    QFETCH(QString, address);
    QFETCH(int, prefix);
    QFETCH(QString, says);
    const QString advice
        = VexoTool::unreachableAdvice(ipv4Number(address), prefix, {adapter("eth0", "192.168.1.20", 24)});
    QVERIFY2(advice.contains(says), qPrintable(advice));
}

void tst_SubnetReach::loopbackScopeHasOnlyTheLoopbackAdapter()
{
    qputenv("VEXO_SCOPE", "loopback");
    QVERIFY(VexoTool::isLoopbackScope());
    QCOMPARE(VexoTool::reachableAdapters(), (QVector<AdapterAddress>{adapter("lo", "127.0.0.1", 8)}));
}

void tst_SubnetReach::masksAndPrefixes_data()
{
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("prefix"); // -1: not a mask

    QTest::addRow("/24") << "255.255.255.0" << 24;
    QTest::addRow("/0") << "0.0.0.0" << 0;
    QTest::addRow("/32") << "255.255.255.255" << 32;
    QTest::addRow("/1") << "128.0.0.0" << 1;
    QTest::addRow("/31") << "255.255.255.254" << 31;
    QTest::addRow("a one after a zero") << "255.0.255.0" << -1;
    QTest::addRow("short form") << "255.255.255" << -1;
    QTest::addRow("not an address") << "mask" << -1;
    QTest::addRow("empty") << "" << -1;
}

void tst_SubnetReach::masksAndPrefixes()
{
    QFETCH(QString, mask);
    QFETCH(int, prefix);
    QCOMPARE(VexoTool::prefixOfMask(mask), prefix);
    if (prefix >= 0)
        QCOMPARE(VexoTool::maskText(prefix), mask);
}

QTEST_GUILESS_MAIN(tst_SubnetReach)

#include "tst_subnetreach.moc"

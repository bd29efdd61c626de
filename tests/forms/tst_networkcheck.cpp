// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <networkcheck.h>

#include <QTest>

using VexoTool::NetworkField;
using VexoTool::NetworkProblem;

class tst_NetworkCheck : public QObject
{
    Q_OBJECT

private slots:
    void settings_data();
    void settings();
};

void tst_NetworkCheck::settings_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<NetworkProblem>("problem");
    QTest::addColumn<NetworkField>("field");

    const QString c24 = QStringLiteral("255.255.255.0");
    const auto ok = NetworkProblem::None;
    const auto address = NetworkField::Address;
    const auto gateway = NetworkField::Gateway;
    QTest::addRow("ordinary host") << "198.51.100.9" << c24 << "198.51.100.1" << ok << address;
    QTest::addRow("leading zero in the address")
        << "198.051.100.9" << c24 << "198.51.100.1" << NetworkProblem::LeadingZero << address;
    QTest::addRow("a lone zero part is no leading zero") << "10.0.0.9" << c24 << "10.0.0.1" << ok << address;
    QTest::addRow("0.x is this network") << "0.1.2.3"
                                         << "255.0.0.0"
                                         << "" << NetworkProblem::Unspecified << address;
    QTest::addRow("1.x is usable") << "1.1.2.3"
                                   << "255.0.0.0"
                                   << "" << ok << address;
    QTest::addRow("126.x is usable") << "126.0.0.9" << c24 << "" << ok << address;
    QTest::addRow("127.0.0.1 is loopback") << "127.0.0.1"
                                           << "255.0.0.0"
                                           << "" << NetworkProblem::Loopback << address;
    QTest::addRow("128.x is usable") << "128.0.0.9" << c24 << "" << ok << address;
    QTest::addRow("223.x is usable") << "223.255.255.9" << c24 << "" << ok << address;
    QTest::addRow("224.0.0.1 is multicast") << "224.0.0.1" << c24 << "" << NetworkProblem::Multicast << address;
    QTest::addRow("239.x is multicast") << "239.255.255.9" << c24 << "" << NetworkProblem::Multicast << address;
    QTest::addRow("240.x is reserved") << "240.0.0.9" << c24 << "" << NetworkProblem::Reserved << address;
    QTest::addRow("limited broadcast is reserved") << "255.255.255.255"
                                                   << ""
                                                   << "" << NetworkProblem::Reserved << address;
    QTest::addRow("subnet broadcast") << "198.51.100.255" << c24 << "198.51.100.1" << NetworkProblem::BroadcastAddress
                                      << address;
    QTest::addRow("last host before the broadcast") << "198.51.100.254" << c24 << "198.51.100.1" << ok << address;
    QTest::addRow("broadcast of a /25") << "10.0.0.127"
                                        << "255.255.255.128"
                                        << "" << NetworkProblem::BroadcastAddress << address;
    QTest::addRow("network of a /25") << "10.0.0.128"
                                      << "255.255.255.128"
                                      << "" << NetworkProblem::NetworkAddress << address;
    QTest::addRow("first host of a /25") << "10.0.0.129"
                                         << "255.255.255.128"
                                         << "" << ok << address;
    QTest::addRow("x.y.255.255 is the broadcast of a /16") << "10.1.255.255"
                                                           << "255.255.0.0"
                                                           << "" << NetworkProblem::BroadcastAddress << address;
    QTest::addRow("x.y.0.255 is a host of a /16") << "10.1.0.255"
                                                  << "255.255.0.0"
                                                  << "" << ok << address;
    QTest::addRow("both addresses of a /31 are hosts") << "10.0.0.255"
                                                       << "255.255.255.254"
                                                       << "10.0.0.254" << ok << address;
    QTest::addRow("mask 0.0.0.0") << "198.51.100.9"
                                  << "0.0.0.0"
                                  << "" << NetworkProblem::MaskWithoutSubnet << NetworkField::SubnetMask;
    QTest::addRow("mask left alone") << "198.51.100.255"
                                     << ""
                                     << "" << ok << address;
    QTest::addRow("gateway outside the subnet")
        << "198.51.100.9" << c24 << "198.51.101.1" << NetworkProblem::GatewayOutsideSubnet << gateway;
    QTest::addRow("gateway on the subnet broadcast of a /25")
        << "10.0.0.9"
        << "255.255.255.128"
        << "10.0.0.127" << NetworkProblem::GatewayOutsideSubnet << gateway;
    QTest::addRow("gateway the device itself")
        << "198.51.100.9" << c24 << "198.51.100.9" << NetworkProblem::GatewayIsDevice << gateway;
    QTest::addRow("gateway with a leading zero")
        << "198.51.100.9" << c24 << "198.51.100.01" << NetworkProblem::LeadingZero << gateway;
    QTest::addRow("no gateway") << "198.51.100.9" << c24 << "0.0.0.0" << ok << address;
    QTest::addRow("gateway without a mask is only compared with the address") << "198.51.100.9"
                                                                              << ""
                                                                              << "203.0.113.1" << ok << address;
}

void tst_NetworkCheck::settings()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(NetworkProblem, problem);
    QFETCH(NetworkField, field);
    const VexoTool::NetworkVerdict verdict = VexoTool::checkNetworkSettings(address, mask, gateway);
    QCOMPARE(verdict.problem, problem);
    QCOMPARE(verdict.ok(), problem == NetworkProblem::None);
    if (problem != NetworkProblem::None)
        QCOMPARE(verdict.field, field);
}

QTEST_GUILESS_MAIN(tst_NetworkCheck)

#include "tst_networkcheck.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <inputvalidation.h>

#include <QTest>

using namespace VexoTool;

class tst_InputValidation : public QObject
{
    Q_OBJECT

private slots:
    void ipv4_data();
    void ipv4();
    void subnetMask_data();
    void subnetMask();
    void gateway_data();
    void gateway();
    void ipv6_data();
    void ipv6();
};

void tst_InputValidation::ipv4_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::addRow("ordinary host") << "192.168.1.64" << true;
    QTest::addRow("first part may be 0") << "0.1.2.3" << true;
    QTest::addRow("all 255") << "255.255.255.255" << true;
    QTest::addRow("last part 255 is an address") << "192.168.1.255" << true;
    QTest::addRow("last part 1") << "10.0.0.1" << true;
    QTest::addRow("last part 0") << "192.168.1.0" << false;
    QTest::addRow("all zero") << "0.0.0.0" << false;
    QTest::addRow("three parts") << "192.168.1" << false;
    QTest::addRow("five parts") << "192.168.1.2.3" << false;
    QTest::addRow("empty part") << "192.168..1" << false;
    QTest::addRow("trailing dot") << "192.168.1.1." << false;
    QTest::addRow("part above 255") << "192.168.256.1" << false;
    QTest::addRow("last part above 255") << "192.168.1.256" << false;
    QTest::addRow("letters") << "192.168.a.1" << false;
    QTest::addRow("hexadecimal part") << "192.168.0x1.1" << false;
    QTest::addRow("negative part") << "192.-1.1.1" << false;
    QTest::addRow("empty") << "" << false;
}

void tst_InputValidation::ipv4()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidIPv4(text), valid);
}

void tst_InputValidation::subnetMask_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::addRow("no bits") << "0.0.0.0" << true;
    QTest::addRow("one bit") << "128.0.0.0" << true;
    QTest::addRow("seven bits") << "254.0.0.0" << true;
    QTest::addRow("eight bits") << "255.0.0.0" << true;
    QTest::addRow("sixteen bits") << "255.255.0.0" << true;
    QTest::addRow("twenty bits") << "255.255.240.0" << true;
    QTest::addRow("twenty-four bits") << "255.255.255.0" << true;
    QTest::addRow("twenty-five bits") << "255.255.255.128" << true;
    QTest::addRow("thirty-one bits") << "255.255.255.254" << true;
    QTest::addRow("thirty-two bits") << "255.255.255.255" << false;
    QTest::addRow("gap in the middle") << "255.0.255.0" << false;
    QTest::addRow("non-contiguous byte") << "255.255.253.0" << false;
    QTest::addRow("bits after a partial byte") << "255.254.255.0" << false;
    QTest::addRow("trailing byte set after zero") << "255.255.0.255" << false;
    QTest::addRow("leading zero") << "255.255.255.00" << false;
    QTest::addRow("three parts") << "255.255.255" << false;
    QTest::addRow("surrounding space") << " 255.255.255.0" << false;
    QTest::addRow("trailing text") << "255.255.255.0x" << false;
    QTest::addRow("empty") << "" << false;
}

void tst_InputValidation::subnetMask()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidSubnetMask(text), valid);
}

void tst_InputValidation::gateway_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::addRow("no gateway") << "0.0.0.0" << true;
    QTest::addRow("ordinary gateway") << "192.168.1.1" << true;
    QTest::addRow("last part 254") << "192.168.1.254" << true;
    QTest::addRow("first part 0 with a host") << "0.0.0.1" << true;
    QTest::addRow("broadcast-like last part") << "192.168.1.255" << false;
    QTest::addRow("network-like last part") << "192.168.1.0" << false;
    QTest::addRow("part above 255") << "192.300.1.1" << false;
    QTest::addRow("three parts") << "192.168.1" << false;
    QTest::addRow("three parts of zero") << "0.0.0" << false;
    QTest::addRow("empty part") << "192..1.1" << false;
    QTest::addRow("empty") << "" << false;
}

void tst_InputValidation::gateway()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidGateway(text), valid);
}

void tst_InputValidation::ipv6_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");

    QTest::addRow("unspecified") << "::" << true;
    QTest::addRow("unspecified with spaces") << "  ::  " << true;
    QTest::addRow("loopback") << "::1" << true;
    QTest::addRow("gap at the end") << "1::" << true;
    QTest::addRow("link-local with zone") << "fe80::1%3" << true;
    QTest::addRow("zone with a name") << "fe80::1%eth0" << true;
    QTest::addRow("gap in the middle") << "2001:db8::8:800:200c:417a" << true;
    QTest::addRow("upper case digits") << "2001:DB8::FFFF" << true;
    QTest::addRow("eight groups") << "1:2:3:4:5:6:7:8" << true;
    QTest::addRow("seven groups without gap") << "1:2:3:4:5:6:7" << false;
    QTest::addRow("nine groups") << "1:2:3:4:5:6:7:8:9" << false;
    QTest::addRow("embedded IPv4 after gap") << "::ffff:192.168.1.10" << true;
    QTest::addRow("embedded IPv4 ending in 0") << "::ffff:192.168.1.0" << false;
    QTest::addRow("six groups and IPv4") << "1:2:3:4:5:6:1.2.3.4" << true;
    QTest::addRow("seven groups and IPv4") << "1:2:3:4:5:6:7:1.2.3.4" << false;
    QTest::addRow("IPv4 not at the end") << "::1.2.3.4:1" << false;
    QTest::addRow("two gaps") << "1::2::3" << false;
    QTest::addRow("two gaps in eight parts") << "1::2:3:4:5::6" << false;
    QTest::addRow("group above FFFF") << "1ffff::1" << false;
    QTest::addRow("last group above FFFF") << "1::1ffff" << false;
    QTest::addRow("single leading colon") << ":1:2:3:4:5:6:7" << false;
    QTest::addRow("single trailing colon") << "1:2:3:4:5:6:7:" << false;
    QTest::addRow("gap with seven groups fills eight") << "1:2:3::5:6:7:8" << true;
    QTest::addRow("not hexadecimal") << "fe80::g1" << false;
    QTest::addRow("two parts") << "1:2" << false;
    QTest::addRow("empty") << "" << false;
    QTest::addRow("IPv4 only") << "192.168.1.10" << false;
}

void tst_InputValidation::ipv6()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(isValidIPv6(text), valid);
}

QTEST_GUILESS_MAIN(tst_InputValidation)

#include "tst_inputvalidation.moc"

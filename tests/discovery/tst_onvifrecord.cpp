// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The record the list, vexo-cli and plans see of an identified ONVIF device.
#include "onvifrecord.h"

#include "deviceinfo.h"

#include <deviceoperations.h>

#include <QTest>

using namespace VexoTool;

class tst_OnvifRecord : public QObject
{
    Q_OBJECT

private slots:
    void fromIdentity_data();
    void fromIdentity();
};

void tst_OnvifRecord::fromIdentity_data()
{
    QTest::addColumn<QString>("deviceMac");
    QTest::addColumn<QString>("listedMac");

    QTest::addRow("MAC with colons in capitals") << "00:1A:2B:3C:4D:5E"
                                                 << "00-1a-2b-3c-4d-5e";
    QTest::addRow("MAC without separators") << "001a2b3c4d5e"
                                            << "00-1a-2b-3c-4d-5e";
    // Identified all the same: an ONVIF record without MAC is one still to be identified.
    QTest::addRow("no MAC the reader knows: as the device wrote it") << "Not-A-MAC"
                                                                     << "not-a-mac";
}

void tst_OnvifRecord::fromIdentity()
{
    QFETCH(QString, deviceMac);
    QFETCH(QString, listedMac);

    onvif::Identity identity;
    identity.authenticated = true;
    identity.information.manufacturer = QStringLiteral("Maker");
    identity.information.model = QStringLiteral("Cam 1");
    identity.information.serialNumber = QStringLiteral("SN-1");
    identity.information.firmwareVersion = QStringLiteral("V1.2");
    identity.macAddress = deviceMac;
    identity.ipv4 = {QStringLiteral("192.0.2.10"), 25};
    identity.gateways = {QStringLiteral("192.0.2.1"), QStringLiteral("192.0.2.2")};
    identity.httpPort = 8080;
    identity.dhcp = true;

    const VEXO_DEVICE_INFO record = OnvifRecord::fromIdentity(identity);
    QVERIFY(isOnvifRecord(record));
    QVERIFY(!isUnidentifiedOnvif(record));
    QCOMPARE(fieldText(record.macAddress), listedMac);
    QCOMPARE(fieldText(record.serialNumber), QStringLiteral("SN-1"));
    QCOMPARE(fieldText(record.deviceTypeText), QStringLiteral("Maker Cam 1"));
    QCOMPARE(fieldText(record.ipv4Address), QStringLiteral("192.0.2.10"));
    QCOMPARE(fieldText(record.ipv4SubnetMask), QStringLiteral("255.255.255.128"));
    QCOMPARE(fieldText(record.ipv4Gateway), QStringLiteral("192.0.2.1"));
    QCOMPARE(quint16(record.httpPort), quint16(8080));
    QCOMPARE(quint8(record.dhcpEnabled), quint8(1));
    QCOMPARE(quint8(record.inactive), quint8(0));
}

QTEST_GUILESS_MAIN(tst_OnvifRecord)
#include "tst_onvifrecord.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include <deviceinfo.h>

#include <QTest>

#include <cstring>

class tst_DeviceInfo : public QObject
{
    Q_OBJECT

private slots:
    void fieldTextStopsAtNulOrWidth_data();
    void fieldTextStopsAtNulOrWidth();
    void setFieldTextCutsAndTerminates_data();
    void setFieldTextCutsAndTerminates();
    void metaTypesAreRegisteredByName();
    void newDeviceInfoCarriesResultZero();
};

void tst_DeviceInfo::fieldTextStopsAtNulOrWidth_data()
{
    QTest::addColumn<QByteArray>("serialBytes"); // what the 48-byte field holds, the rest zero
    QTest::addColumn<QString>("expected");
    QTest::addRow("short text") << QByteArray("DS-1234") << QStringLiteral("DS-1234");
    QTest::addRow("empty") << QByteArray() << QString();
    QTest::addRow("bytes after the terminator are ignored") << QByteArray("AB\0CD", 5) << QStringLiteral("AB");
    QTest::addRow("Latin-1") << QByteArray("caf\xe9") << QStringLiteral("caf\u00e9");
    QTest::addRow("47 characters") << QByteArray(47, 'x') << QString(47, QLatin1Char('x'));
    QTest::addRow("unterminated: whole width, nothing of the next field")
        << QByteArray(48, 'x') << QString(48, QLatin1Char('x'));
}

void tst_DeviceInfo::fieldTextStopsAtNulOrWidth()
{
    QFETCH(QByteArray, serialBytes);
    QFETCH(QString, expected);

    VEXO_DEVICE_INFO record{};
    std::memcpy(record.serialNumber, serialBytes.constData(), std::size_t(serialBytes.size()));
    std::memcpy(record.macAddress, "MACMACMAC", 9); // the next field
    QCOMPARE(fieldText(record.serialNumber), expected);
    QCOMPARE(fieldBytes(record.serialNumber), QByteArrayView(expected.toLatin1()));
}

void tst_DeviceInfo::setFieldTextCutsAndTerminates_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("fitted");
    QTest::addRow("short") << QByteArray("10.0.0.1") << QByteArray("10.0.0.1") << true;
    QTest::addRow("empty") << QByteArray() << QByteArray() << true;
    QTest::addRow("15 bytes fit a 16-byte field")
        << QByteArray("255.255.255.255") << QByteArray("255.255.255.255") << true;
    QTest::addRow("16 bytes are cut") << QByteArray("1234567890123456") << QByteArray("123456789012345") << false;
}

void tst_DeviceInfo::setFieldTextCutsAndTerminates()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, stored);
    QFETCH(bool, fitted);

    VEXO_DEVICE_INFO record;
    std::memset(&record, 0x5a, sizeof record); // stale bytes that must not survive in the field
    QCOMPARE(setFieldText(record.ipv4Address, text), fitted);
    QCOMPARE(QByteArray(record.ipv4Address, sizeof record.ipv4Address),
             stored + QByteArray(int(sizeof record.ipv4Address) - stored.size(), '\0'));
    QCOMPARE(uchar(record.ipv4SubnetMask[0]), uchar(0x5a)); // the next field is left alone
}

void tst_DeviceInfo::metaTypesAreRegisteredByName()
{
    registerDiscoveryMetaTypes();
    QCOMPARE(QMetaType::fromName("VEXO_DEVICE_INFO"), QMetaType::fromType<VEXO_DEVICE_INFO>());
    QCOMPARE(QMetaType::fromName("DeviceInfo"), QMetaType::fromType<DeviceInfo>());
    QCOMPARE(QMetaType::fromType<VEXO_DEVICE_INFO>().sizeOf(), qsizetype(500));
}

void tst_DeviceInfo::newDeviceInfoCarriesResultZero()
{
    DeviceInfo info;
    info.strIndex = QStringLiteral("001");
    info.strSerialNumber = QStringLiteral("SN1");
    QCOMPARE(info.strResult, QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(tst_DeviceInfo)

#include "tst_deviceinfo.moc"

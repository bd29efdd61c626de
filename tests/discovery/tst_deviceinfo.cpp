// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include <deviceinfo.h>

#include <QTest>

#include <cstring>

namespace {

using DeviceText = QString (*)(const VEXO_DEVICE_INFO &);
using DeviceNumber = qint64 (*)(const VEXO_DEVICE_INFO &);
using NetParamText = QString (*)(const DeviceNetParam &);
using NetParamNumber = qint64 (*)(const DeviceNetParam &);

// Writes @p value little-endian into @p width bytes at @p offset of a record's bytes.
void putLittleEndian(void *record, int offset, int width, quint64 value)
{
    auto *bytes = static_cast<unsigned char *>(record) + offset;
    for (int i = 0; i < width; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

} // namespace

Q_DECLARE_METATYPE(DeviceText)
Q_DECLARE_METATYPE(DeviceNumber)
Q_DECLARE_METATYPE(NetParamText)
Q_DECLARE_METATYPE(NetParamNumber)

class tst_DeviceInfo : public QObject
{
    Q_OBJECT

private slots:
    void deviceTextFieldsSitAtTheirOffsets_data();
    void deviceTextFieldsSitAtTheirOffsets();
    void deviceNumbersAreLittleEndianAtTheirOffsets_data();
    void deviceNumbersAreLittleEndianAtTheirOffsets();
    void netParamFieldsSitAtTheirOffsets_data();
    void netParamFieldsSitAtTheirOffsets();
    void fieldTextStopsAtNulOrWidth_data();
    void fieldTextStopsAtNulOrWidth();
    void setFieldTextCutsAndTerminates_data();
    void setFieldTextCutsAndTerminates();
    void metaTypesAreRegisteredByName();
    void newDeviceInfoCarriesResultZero();
};

void tst_DeviceInfo::deviceTextFieldsSitAtTheirOffsets_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<DeviceText>("read");
    QTest::addRow("leadText") << 0 << 12 << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.leadText); });
    QTest::addRow("serialNumber") << 12 << 48
                                  << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.serialNumber); });
    QTest::addRow("macAddress") << 60 << 20
                                << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.macAddress); });
    QTest::addRow("ipv4Address") << 80 << 16
                                 << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.ipv4Address); });
    QTest::addRow("ipv4SubnetMask") << 96 << 16 << DeviceText([](const VEXO_DEVICE_INFO &r) {
        return fieldText(r.ipv4SubnetMask);
    });
    QTest::addRow("softwareVersion") << 128 << 48 << DeviceText([](const VEXO_DEVICE_INFO &r) {
        return fieldText(r.softwareVersion);
    });
    QTest::addRow("dspVersion") << 176 << 48
                                << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.dspVersion); });
    QTest::addRow("startTime") << 224 << 48
                               << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.startTime); });
    QTest::addRow("deviceTypeText") << 276 << 24 << DeviceText([](const VEXO_DEVICE_INFO &r) {
        return fieldText(r.deviceTypeText);
    });
    QTest::addRow("ipv4Gateway") << 324 << 16
                                 << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.ipv4Gateway); });
    QTest::addRow("ipv6Address") << 340 << 46
                                 << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.ipv6Address); });
    QTest::addRow("ipv6Gateway") << 386 << 46
                                 << DeviceText([](const VEXO_DEVICE_INFO &r) { return fieldText(r.ipv6Gateway); });
}

void tst_DeviceInfo::deviceTextFieldsSitAtTheirOffsets()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(DeviceText, read);

    // Every byte non-NUL, the field itself filled to its width with a recognisable pattern.
    unsigned char bytes[sizeof(VEXO_DEVICE_INFO)];
    std::memset(bytes, '#', sizeof bytes);
    QByteArray expected;
    for (int i = 0; i < width; ++i)
        expected.append(char('a' + i % 26));
    std::memcpy(bytes + offset, expected.constData(), std::size_t(width));

    VEXO_DEVICE_INFO record;
    std::memcpy(&record, bytes, sizeof record);
    QCOMPARE(read(record), QString::fromLatin1(expected));
}

void tst_DeviceInfo::deviceNumbersAreLittleEndianAtTheirOffsets_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<quint64>("raw");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<DeviceNumber>("read");
    QTest::addRow("deviceTypeCode") << 112 << 4 << quint64(0x01020304) << qint64(0x01020304)
                                    << DeviceNumber([](const VEXO_DEVICE_INFO &r) { return qint64(r.deviceTypeCode); });
    QTest::addRow("port above 65535") << 116 << 4 << quint64(0x00012345) << qint64(0x12345)
                                      << DeviceNumber([](const VEXO_DEVICE_INFO &r) { return qint64(r.port); });
    QTest::addRow("channelCount") << 120 << 4 << quint64(64) << qint64(64)
                                  << DeviceNumber([](const VEXO_DEVICE_INFO &r) { return qint64(r.channelCount); });
    QTest::addRow("eventCode negative") << 272 << 4 << quint64(0xffffffff) << qint64(-1)
                                        << DeviceNumber([](const VEXO_DEVICE_INFO &r) { return qint64(r.eventCode); });
    QTest::addRow("ipv6PrefixLength") << 432 << 1 << quint64(64) << qint64(64)
                                      << DeviceNumber([](const auto &r) { return qint64(r.ipv6PrefixLength); });
    QTest::addRow("capabilityFlags") << 433 << 1 << quint64(0xc5) << qint64(0xc5)
                                     << DeviceNumber([](const auto &r) { return qint64(r.capabilityFlags); });
    QTest::addRow("dhcpEnabled") << 434 << 1 << quint64(1) << qint64(1)
                                 << DeviceNumber([](const auto &r) { return qint64(r.dhcpEnabled); });
    QTest::addRow("extendedInfoValid") << 435 << 1 << quint64(1) << qint64(1)
                                       << DeviceNumber([](const auto &r) { return qint64(r.extendedInfoValid); });
    QTest::addRow("httpPort") << 436 << 2 << quint64(8080) << qint64(8080)
                              << DeviceNumber([](const auto &r) { return qint64(r.httpPort); });
    QTest::addRow("inactive") << 459 << 1 << quint64(1) << qint64(1)
                              << DeviceNumber([](const auto &r) { return qint64(r.inactive); });
    QTest::addRow("keyFormatFlags") << 484 << 1 << quint64(1) << qint64(1)
                                    << DeviceNumber([](const auto &r) { return qint64(r.keyFormatFlags); });
}

void tst_DeviceInfo::deviceNumbersAreLittleEndianAtTheirOffsets()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(quint64, raw);
    QFETCH(qint64, expected);
    QFETCH(DeviceNumber, read);

    unsigned char bytes[sizeof(VEXO_DEVICE_INFO)] = {};
    putLittleEndian(bytes, offset, width, raw);
    VEXO_DEVICE_INFO record;
    std::memcpy(&record, bytes, sizeof record);
    QCOMPARE(read(record), expected);
}

void tst_DeviceInfo::netParamFieldsSitAtTheirOffsets_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("width");
    QTest::addColumn<quint64>("raw");
    QTest::addColumn<NetParamNumber>("read");
    QTest::addRow("port") << 304 << 2 << quint64(0xfffe)
                          << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.port); });
    QTest::addRow("ipv6PrefixLength") << 306 << 1 << quint64(128) << NetParamNumber([](const DeviceNetParam &p) {
        return qint64(p.ipv6PrefixLength);
    });
    QTest::addRow("dhcpEnabled") << 307 << 1 << quint64(1)
                                 << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.dhcpEnabled); });
    QTest::addRow("httpPort") << 308 << 2 << quint64(0x1f90)
                              << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.httpPort); });
    // Texts: the first byte of each field, read back as the field's first character.
    QTest::addRow("ipv4Address") << 0 << 1 << quint64('A')
                                 << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.ipv4Address[0]); });
    QTest::addRow("ipv4SubnetMask") << 16 << 1 << quint64('B') << NetParamNumber([](const DeviceNetParam &p) {
        return qint64(p.ipv4SubnetMask[0]);
    });
    QTest::addRow("ipv4Gateway") << 32 << 1 << quint64('C')
                                 << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.ipv4Gateway[0]); });
    QTest::addRow("ipv6Address") << 48 << 1 << quint64('D')
                                 << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.ipv6Address[0]); });
    QTest::addRow("ipv6Address end") << 175 << 1 << quint64('E') << NetParamNumber([](const DeviceNetParam &p) {
        return qint64(p.ipv6Address[127]);
    });
    QTest::addRow("ipv6Gateway") << 176 << 1 << quint64('F')
                                 << NetParamNumber([](const DeviceNetParam &p) { return qint64(p.ipv6Gateway[0]); });
    QTest::addRow("ipv6Gateway end") << 303 << 1 << quint64('G') << NetParamNumber([](const DeviceNetParam &p) {
        return qint64(p.ipv6Gateway[127]);
    });
}

void tst_DeviceInfo::netParamFieldsSitAtTheirOffsets()
{
    QFETCH(int, offset);
    QFETCH(int, width);
    QFETCH(quint64, raw);
    QFETCH(NetParamNumber, read);

    unsigned char bytes[sizeof(DeviceNetParam)] = {};
    putLittleEndian(bytes, offset, width, raw);
    DeviceNetParam param;
    std::memcpy(&param, bytes, sizeof param);
    QCOMPARE(read(param), qint64(raw));
}

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
    const DeviceInfo info{QStringLiteral("001"), QStringLiteral("DS-2CD"), QStringLiteral("10.0.0.2"),
                          QStringLiteral("SN1"), QStringLiteral("aa-bb-cc-dd-ee-ff")};
    QCOMPARE(info.strResult, QStringLiteral("0"));
}

QTEST_GUILESS_MAIN(tst_DeviceInfo)

#include "tst_deviceinfo.moc"

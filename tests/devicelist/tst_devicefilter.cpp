// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <devicefilter.h>

#include <QTest>

using VexoTool::DeviceFilter;

class tst_DeviceFilter : public QObject
{
    Q_OBJECT

private slots:
    void matching_data();
    void matching();
    void wellFormed_data();
    void wellFormed();
    void formatHints_data();
    void formatHints();
};

void tst_DeviceFilter::matching_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("range");
    QTest::addColumn<bool>("matches");

    const QString a = QStringLiteral("192.168.1.10");
    QTest::addRow("empty text matches all") << "" << a << false << true;
    QTest::addRow("blank text matches all") << "   " << a << false << true;
    QTest::addRow("serial number, other case") << "vx-ipc-b420-20260042" << a << false << true;
    QTest::addRow("serial number of another device") << "20260043" << a << false << false;
    QTest::addRow("MAC as listed") << "00-1a-2b-00-00-2a" << a << false << true;
    QTest::addRow("MAC with colons, upper case") << "00:1A:2B:00:00:2A" << a << false << true;
    QTest::addRow("MAC without separators") << "001a2b00002a" << a << false << true;
    QTest::addRow("MAC part across a separator") << "b0000" << a << false << true;
    QTest::addRow("MAC of another device") << "001a2b00002b" << a << false << false;
    QTest::addRow("dotted text is no MAC") << "1a.2b" << a << false << false;
    QTest::addRow("device type") << "ipc-b4" << a << false << true;
    QTest::addRow("software version") << "V5.7.3 BUILD" << a << false << true;
    QTest::addRow("address part") << "168.1.1" << a << false << true;
    QTest::addRow("text in no field") << "camera" << a << false << false;

    QTest::addRow("network holding the address") << "192.168.1.0/24" << a << true << true;
    QTest::addRow("neighbouring network") << "192.168.0.0/24" << a << true << false;
    QTest::addRow("/29 whose first address it is") << "192.168.1.8/29" << a << true << true;
    QTest::addRow("/29 just below") << "192.168.1.0/29" << a << true << false;
    QTest::addRow("/32 of the address") << "192.168.1.10/32" << a << true << true;
    QTest::addRow("/32 of the next address") << "192.168.1.11/32" << a << true << false;
    QTest::addRow("/0 holds all") << "0.0.0.0/0" << a << true << true;
    QTest::addRow("network with host bits") << "192.168.1.77/24" << a << true << true;
    QTest::addRow("dash range starting at it") << "192.168.1.10-192.168.1.50" << a << true << true;
    QTest::addRow("dash range ending at it") << "192.168.1.1-192.168.1.10" << a << true << true;
    QTest::addRow("dash range of the address alone") << "192.168.1.10-192.168.1.10" << a << true << true;
    QTest::addRow("dash range starting after it") << "192.168.1.11-192.168.1.50" << a << true << false;
    QTest::addRow("dash range ending before it") << "192.168.1.1-192.168.1.9" << a << true << false;
    QTest::addRow("dash range with spaces") << " 192.168.1.1 - 192.168.1.20 " << a << true << true;
    QTest::addRow("range and a device without address") << "0.0.0.0/0"
                                                        << "" << true << false;

    // Not a range, so plain text, which no field contains.
    QTest::addRow("prefix length 33 is text") << "192.168.1.0/33" << a << false << false;
    QTest::addRow("empty prefix length is text") << "192.168.1.0/" << a << false << false;
    QTest::addRow("part 256 is text") << "192.168.1.256/24" << a << false << false;
    QTest::addRow("three parts are text") << "192.168.1/24" << a << false << false;
    QTest::addRow("reversed dash range is text") << "192.168.1.50-192.168.1.1" << a << false << false;
    QTest::addRow("open dash range is text") << "192.168.1.1-" << a << false << false;
    // ... and plain text that a field holds still matches.
    QTest::addRow("address with a dash is text") << "192.168.1.10-"
                                                 << "192.168.1.10-2" << false << true;
}

void tst_DeviceFilter::matching()
{
    QFETCH(QString, text);
    QFETCH(QString, address);
    QFETCH(bool, range);
    QFETCH(bool, matches);
    const DeviceFilter filter(text);
    QCOMPARE(filter.isRange(), range);
    const DeviceFilter::Fields device{QStringLiteral("VX-IPC-B420-20260042"), QStringLiteral("00-1a-2b-00-00-2a"),
                                      QStringLiteral("VX-IPC-B420"), address, QStringLiteral("V5.7.3 build 260101")};
    QCOMPARE(filter.matches(device), matches);
}

void tst_DeviceFilter::wellFormed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wellFormed");
    QTest::addRow("empty") << "" << true;
    QTest::addRow("network") << "127.1.0.0/16" << true;
    QTest::addRow("range of one address") << "192.168.1.10-192.168.1.10" << true;
    QTest::addRow("part of an address") << "192.168" << true;
    QTest::addRow("MAC with dashes") << "00-1a-2b" << true;
    QTest::addRow("serial number with dashes and a dot") << "VX-IPC.B420" << true;
    QTest::addRow("prefix length 33") << "127.1.0.0/33" << false;
    QTest::addRow("range with a short end") << "198.51.100.4-11" << false;
    QTest::addRow("reversed range") << "192.168.1.50-192.168.1.1" << false;
    QTest::addRow("prefix without a network") << "/24" << false;
}

void tst_DeviceFilter::wellFormed()
{
    QFETCH(QString, text);
    QFETCH(bool, wellFormed);
    QCOMPARE(DeviceFilter::isWellFormed(text), wellFormed);
}

void tst_DeviceFilter::formatHints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("example"); // what the hint shows; empty: no hint

    const QString network = QStringLiteral("192.168.1.0/24");
    const QString range = QStringLiteral("192.168.1.10-192.168.1.50");
    QTest::addRow("last address cut short") << "198.51.100.4-11" << range;
    QTest::addRow("open range") << "192.168.1.1-" << range;
    QTest::addRow("reversed range") << "192.168.1.50 - 192.168.1.1" << range;
    QTest::addRow("prefix length 33") << "127.1.0.0/33" << network;
    QTest::addRow("empty prefix length") << "192.168.1.0/" << network;
    QTest::addRow("network part 256") << "192.168.1.256/24" << network;
    QTest::addRow("network") << "192.168.1.0/24"
                             << "";
    QTest::addRow("range") << "192.168.1.10-192.168.1.10"
                           << "";
    QTest::addRow("part of an address") << "192.168"
                                        << "";
    QTest::addRow("MAC part") << "00-1a-2b"
                              << "";
    QTest::addRow("serial number") << "VX-IPC-B420-2026.1"
                                   << "";
    QTest::addRow("both marks") << "1.2.3.4/5-6" << network;
    QTest::addRow("prefix without a network") << "/24" << network;
}

void tst_DeviceFilter::formatHints()
{
    QFETCH(QString, text);
    QFETCH(QString, example);
    const QString hint = DeviceFilter(text).formatHint();
    QVERIFY2(example.isEmpty() ? hint.isEmpty() : hint.contains(example), qPrintable(hint));
}

QTEST_GUILESS_MAIN(tst_DeviceFilter)

#include "tst_devicefilter.moc"

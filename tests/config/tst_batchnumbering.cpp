// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <batchnumbering.h>

#include <QTest>

using VexoTool::numberBatch;

class tst_BatchNumbering : public QObject
{
    Q_OBJECT

private slots:
    void numbering_data();
    void numbering();
    void eachDeviceOwnMask_data();
    void eachDeviceOwnMask();
};

void tst_BatchNumbering::numbering_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("fitting");
    QTest::addColumn<QStringList>("addresses");

    QTest::addRow("one device takes the start address")
        << "192.168.1.10" << 1 << "255.255.255.0" << 1 << QStringList{"192.168.1.10"};
    QTest::addRow("up to the last host of a /24") << "192.168.1.252" << 3 << "255.255.255.0" << 3
                                                  << QStringList{"192.168.1.252", "192.168.1.253", "192.168.1.254"};
    QTest::addRow("never the broadcast of a /24") << "192.168.1.253" << 3 << "255.255.255.0" << 2 << QStringList{};
    QTest::addRow("x.y.254.255 goes on into x.y.255.1 in a /16")
        << "10.0.254.254" << 3 << "255.255.0.0" << 3 << QStringList{"10.0.254.254", "10.0.254.255", "10.0.255.1"};
    QTest::addRow("never the broadcast of a /16") << "10.0.255.253" << 3 << "255.255.0.0" << 2 << QStringList{};
    QTest::addRow("a start on the network address of a /25 fits nothing")
        << "10.0.0.128" << 1 << "255.255.255.128" << 0 << QStringList{};
    QTest::addRow("first three parts as typed")
        << "10.02.003.8" << 2 << "255.0.0.0" << 2 << QStringList{"10.02.003.8", "10.02.003.9"};
    QTest::addRow("past 255 in a wide subnet")
        << "10.0.4.254" << 5 << "255.255.0.0" << 5
        << QStringList{"10.0.4.254", "10.0.4.255", "10.0.5.1", "10.0.5.2", "10.0.5.3"};
    QTest::addRow("wrap skips fourth parts 0 and 255 twice")
        << "10.0.4.255" << 257 << "255.255.0.0" << 257 << QStringList{};
    QTest::addRow("past 255 leaves a /24 subnet") << "192.168.1.254" << 3 << "255.255.255.0" << 1 << QStringList{};
    QTest::addRow("third part cannot pass 255") << "10.0.255.250" << 8 << "255.0.0.0" << 6 << QStringList{};
    QTest::addRow("no valid mask: only the third part limits")
        << "10.0.7.255" << 2 << "" << 2 << QStringList{"10.0.7.255", "10.0.8.1"};
    QTest::addRow("small subnet ends before its broadcast")
        << "192.168.1.10" << 8 << "255.255.255.248" << 5 << QStringList{};
}

void tst_BatchNumbering::numbering()
{
    QFETCH(QString, start);
    QFETCH(int, count);
    QFETCH(QString, mask);
    QFETCH(int, fitting);
    QFETCH(QStringList, addresses);

    const VexoTool::BatchNumbering numbering = numberBatch(start, count, mask);
    QCOMPARE(numbering.fitting, fitting);
    QCOMPARE(numbering.fitsAll(count), fitting == count);
    if (!addresses.isEmpty())
        QCOMPARE(numbering.addresses, addresses);
    if (fitting < count)
        QVERIFY(numbering.addresses.isEmpty());
    else
        QCOMPARE(numbering.addresses.size(), qsizetype(count));
    // The wrap never hands out a network-like or broadcast-like fourth part.
    for (int j = 0; j < numbering.addresses.size(); ++j) {
        const QStringList parts = numbering.addresses.at(j).split(QLatin1Char('.'));
        if (parts.at(2) != start.split(QLatin1Char('.')).at(2))
            QVERIFY2(parts.at(3) != QLatin1String("0") && parts.at(3) != QLatin1String("255"),
                     qPrintable(numbering.addresses.at(j)));
    }
    QStringList unique = numbering.addresses;
    QCOMPARE(unique.removeDuplicates(), qsizetype(0));
}

// A batch that leaves the mask alone numbers each device within the mask it keeps.
void tst_BatchNumbering::eachDeviceOwnMask_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QStringList>("masks");
    QTest::addColumn<int>("fitting");

    const QString c16 = QStringLiteral("255.255.0.0");
    const QString c24 = QStringLiteral("255.255.255.0");
    QTest::addRow("ten devices from .250 on a /24") << "10.0.1.250" << QStringList(10, c24) << 5;
    QTest::addRow("a later device's narrower mask limits it") << "10.0.1.254" << QStringList{c16, c24, c24} << 1;
    QTest::addRow("wide masks let the numbering wrap") << "10.0.1.254" << QStringList{c24, c16, c16} << 3;
}

void tst_BatchNumbering::eachDeviceOwnMask()
{
    QFETCH(QString, start);
    QFETCH(QStringList, masks);
    QFETCH(int, fitting);
    QCOMPARE(numberBatch(start, masks).fitting, fitting);
}

QTEST_GUILESS_MAIN(tst_BatchNumbering)

#include "tst_batchnumbering.moc"

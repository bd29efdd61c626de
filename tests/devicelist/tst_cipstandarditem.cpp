// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <cipstandarditem.h>

#include <QStandardItemModel>
#include <QTest>

using aptui::CIpStandardItem;

class tst_CIpStandardItem : public QObject
{
    Q_OBJECT

private slots:
    void ordering_data();
    void ordering();
    void sortKey_data();
    void sortKey();
    void sortsAColumnNumerically();
};

void tst_CIpStandardItem::ordering_data()
{
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("higher");

    QTest::addRow("last part numerically") << "10.0.0.2"
                                           << "10.0.0.10";
    QTest::addRow("first part numerically") << "9.255.255.255"
                                            << "192.168.1.64";
    QTest::addRow("same prefix, 9 before 10") << "192.168.1.9"
                                              << "192.168.1.10";
    QTest::addRow("empty before any address") << ""
                                              << "0.0.0.1";
    QTest::addRow("short text: missing parts count as 0") << "10"
                                                          << "10.0.0.1";
    QTest::addRow("two parts") << "10.5"
                               << "10.5.0.1";
    QTest::addRow("non-numeric parts count as 0") << "abc.def"
                                                  << "0.0.0.1";
    QTest::addRow("digits before other characters count") << "1.2.3.4x"
                                                          << "1.2.3.5";
    QTest::addRow("leading spaces are skipped as atoi does") << " 1.2.3.4"
                                                             << "1.2.3.10";
    QTest::addRow("only the first four parts count") << "1.2.3.4.99"
                                                     << "1.2.3.5.0";
    QTest::addRow("parts above 999 compare as the longer key text") << "1.0.0.0"
                                                                    << "1000.0.0.0";
    // Keys are compared as texts: where that differs from number order, the text decides.
    QTest::addRow("key text order over number order") << "1000.0.0.0"
                                                      << "999.0.0.0";
    QTest::addRow("a negative part sorts by its key text") << "-1.0.0.0"
                                                           << "0.0.0.0";
}

void tst_CIpStandardItem::ordering()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    const CIpStandardItem low(lower);
    const CIpStandardItem high(higher);
    QVERIFY(low < high);
    QVERIFY(!(high < low));
    // Against a plain cell the other text is ordered the same way.
    const QStandardItem plainHigh(higher);
    QVERIFY(low < plainHigh);
}

void tst_CIpStandardItem::sortKey_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");

    QTest::addRow("address") << "192.168.1.64"
                             << "192168001064";
    QTest::addRow("empty") << ""
                           << "000000000000";
    QTest::addRow("one part") << "7"
                              << "007000000000";
    QTest::addRow("trailing dot") << "1.2."
                                  << "001002000000";
    QTest::addRow("large part") << "1234.1.1.1"
                                << "1234001001001";
    QTest::addRow("negative part") << "-5.1.1.1"
                                   << "-05001001001";
    QTest::addRow("overlong part saturates") << "99999999999.0.0.0"
                                             << "2147483647000000000";
}

void tst_CIpStandardItem::sortKey()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(CIpStandardItem::sortKey(text), key);
}

void tst_CIpStandardItem::sortsAColumnNumerically()
{
    QStandardItemModel model;
    const QStringList addresses{"192.168.1.10", "10.0.0.10", "", "192.168.1.9", "10.0.0.2", "9.255.255.255"};
    for (const QString &address : addresses)
        model.appendRow(new CIpStandardItem(address));
    model.sort(0);
    QStringList sorted;
    for (int row = 0; row < model.rowCount(); ++row)
        sorted << model.item(row)->text();
    QCOMPARE(sorted, (QStringList{"", "9.255.255.255", "10.0.0.2", "10.0.0.10", "192.168.1.9", "192.168.1.10"}));
}

QTEST_GUILESS_MAIN(tst_CIpStandardItem)

#include "tst_cipstandarditem.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
// The forms of a MAC address the list, vexo-cli and plan files read, in one table.
#include "macaddress.h"

#include <QTest>

using namespace VexoTool;

class tst_MacAddress : public QObject
{
    Q_OBJECT

private slots:
    void canonical_data();
    void canonical();
};

void tst_MacAddress::canonical_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mac"); // empty: not a MAC address

    const QString mac = QStringLiteral("0a-1b-2c-3d-4e-5f");
    QTest::addRow("the list's own form") << "0a-1b-2c-3d-4e-5f" << mac;
    QTest::addRow("colons in capitals") << "0A:1B:2C:3D:4E:5F" << mac;
    QTest::addRow("separators mixed") << "0a:1b-2c:3d-4e:5f" << mac;
    QTest::addRow("some separators left out") << "0a1b:2c3d-4e5f" << mac;
    QTest::addRow("no separators") << "0A1B2C3D4E5F" << mac;
    QTest::addRow("groups of four with dots") << "0a1b.2c3d.4e5f" << mac;
    QTest::addRow("spaces around") << " \t0a-1b-2c-3d-4e-5f " << mac;

    QTest::addRow("empty") << ""
                           << "";
    QTest::addRow("five bytes") << "0a-1b-2c-3d-4e"
                                << "";
    QTest::addRow("seven bytes") << "0a-1b-2c-3d-4e-5f-60"
                                 << "";
    QTest::addRow("eleven digits") << "0a1b2c3d4e5"
                                   << "";
    QTest::addRow("thirteen digits") << "0a1b2c3d4e5f6"
                                     << "";
    QTest::addRow("not a hex digit") << "0a-1b-2c-3d-4e-5g"
                                     << "";
    QTest::addRow("a pair of one digit") << "a-1b-2c-3d-4e-5f0"
                                         << "";
    QTest::addRow("two separators in a row") << "0a--1b-2c-3d-4e-5f"
                                             << "";
    QTest::addRow("separator at the end") << "0a-1b-2c-3d-4e-5f-"
                                          << "";
    QTest::addRow("separator at the start") << "-0a-1b-2c-3d-4e-5f"
                                            << "";
    QTest::addRow("spaces between pairs") << "0a 1b 2c 3d 4e 5f"
                                          << "";
    QTest::addRow("dots between pairs") << "0a.1b.2c.3d.4e.5f"
                                        << "";
    QTest::addRow("a dot missing") << "0a1b2c3d.4e5f"
                                   << "";
    QTest::addRow("full-width digits") << QString::fromUtf16(u"０a-1b-2c-3d-4e-5f") << "";
}

void tst_MacAddress::canonical()
{
    QFETCH(QString, text);
    QFETCH(QString, mac);
    QCOMPARE(MacAddress::canonical(text), mac);
}

QTEST_GUILESS_MAIN(tst_MacAddress)
#include "tst_macaddress.moc"

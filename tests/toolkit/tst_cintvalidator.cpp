// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/cintvalidator.h>

#include <QTest>

using aKLOGUIToolkit::CIntValidator;

class tst_CIntValidator : public QObject
{
    Q_OBJECT

private slots:
    void validate_data();
    void validate();
    void fixup_data();
    void fixup();
};

void tst_CIntValidator::validate_data()
{
    QTest::addColumn<int>("min");
    QTest::addColumn<int>("max");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QValidator::State>("expected");

    const auto ok = QValidator::Acceptable;
    const auto partial = QValidator::Intermediate;
    const auto bad = QValidator::Invalid;

    // Ports.
    QTest::addRow("port 0") << 0 << 65535 << "0" << ok;
    QTest::addRow("port 8000") << 0 << 65535 << "8000" << ok;
    QTest::addRow("port 65535") << 0 << 65535 << "65535" << ok;
    QTest::addRow("port 65536") << 0 << 65535 << "65536" << bad;
    QTest::addRow("port 99999") << 0 << 65535 << "99999" << bad;
    QTest::addRow("port 655350") << 0 << 65535 << "655350" << bad;
    QTest::addRow("port empty") << 0 << 65535 << "" << partial;
    QTest::addRow("port negative") << 0 << 65535 << "-1" << bad;
    QTest::addRow("port minus only") << 0 << 65535 << "-" << bad;
    QTest::addRow("port plus sign") << 0 << 65535 << "+80" << bad;
    QTest::addRow("port letters") << 0 << 65535 << "80a" << bad;
    QTest::addRow("port hex") << 0 << 65535 << "0x50" << bad;
    QTest::addRow("port space") << 0 << 65535 << "80 " << bad;
    QTest::addRow("port group separator") << 0 << 65535 << "8,000" << bad;
    QTest::addRow("port arabic-indic digits") << 0 << 65535 << QStringLiteral("\u0668\u0660") << bad;
    QTest::addRow("port leading zero") << 0 << 65535 << "080" << partial;
    QTest::addRow("port huge") << 0 << 65535 << "123456789012345678901" << bad;
    // Prefix length.
    QTest::addRow("prefix 0") << 0 << 127 << "0" << ok;
    QTest::addRow("prefix 64") << 0 << 127 << "64" << ok;
    QTest::addRow("prefix 127") << 0 << 127 << "127" << ok;
    QTest::addRow("prefix 128") << 0 << 127 << "128" << bad;
    QTest::addRow("prefix 200") << 0 << 127 << "200" << bad;
    // A lower bound above zero: short prefixes can still grow into the range.
    QTest::addRow("min 10, typing 1") << 10 << 99 << "1" << partial;
    QTest::addRow("min 10, 5") << 10 << 99 << "5" << partial;
    QTest::addRow("min 1024, 10") << 1024 << 2000 << "10" << partial;
    QTest::addRow("min 1024, 30") << 1024 << 2000 << "30" << bad;
    QTest::addRow("min 1024, 300") << 1024 << 2000 << "300" << bad;
    // Negative ranges.
    QTest::addRow("negative in range") << -10 << 10 << "-7" << ok;
    QTest::addRow("negative minus only") << -10 << 10 << "-" << partial;
    QTest::addRow("negative below") << -10 << 10 << "-11" << bad;
    QTest::addRow("negative zero") << -10 << 10 << "-0" << partial;
    QTest::addRow("int limits low") << INT_MIN << INT_MAX << "-2147483648" << ok;
    QTest::addRow("int limits high") << INT_MIN << INT_MAX << "2147483647" << ok;
    QTest::addRow("int limits over") << INT_MIN << INT_MAX << "2147483648" << bad;
    QTest::addRow("empty range") << 5 << 1 << "3" << bad;
}

void tst_CIntValidator::validate()
{
    QFETCH(int, min);
    QFETCH(int, max);
    QFETCH(QString, input);
    QFETCH(QValidator::State, expected);

    CIntValidator validator(min, max);
    int pos = input.size();
    QCOMPARE(validator.validate(input, pos), expected);
}

void tst_CIntValidator::fixup_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");

    QTest::addRow("leading zeros") << "0080"
                                   << "80";
    QTest::addRow("only zeros") << "000"
                                << "0";
    QTest::addRow("negative") << "-007"
                              << "-7";
    QTest::addRow("already clean") << "443"
                                   << "443";
}

void tst_CIntValidator::fixup()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);

    CIntValidator validator(-1000, 65535);
    validator.fixup(input);
    QCOMPARE(input, expected);
    int pos = 0;
    QCOMPARE(validator.validate(input, pos), QValidator::Acceptable);
}

QTEST_GUILESS_MAIN(tst_CIntValidator)

#include "tst_cintvalidator.moc"

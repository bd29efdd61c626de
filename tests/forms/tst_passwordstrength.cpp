// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <folderpath.h>
#include <passwordstrength.h>

#include <QLabel>
#include <QPluginLoader>
#include <QTest>

using namespace VexoTool;

class tst_PasswordStrength : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void level_data();
    void level();
    void meterText_data();
    void meterText();
    void folderFieldText_data();
    void folderFieldText();
};

void tst_PasswordStrength::initTestCase()
{
    // The meter's bar images come with the skin.
    auto *skin = new QPluginLoader(QStringLiteral(SKIN_PLUGIN_FILE), this);
    QVERIFY2(skin->instance(), qPrintable(skin->errorString()));
}

void tst_PasswordStrength::level_data()
{
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("expected");

    QTest::addRow("empty") << "admin"
                           << "" << 0;
    QTest::addRow("seven characters of all four kinds") << "admin"
                                                        << "aB3$xY9" << 0;
    QTest::addRow("digits only") << "admin"
                                 << "12345678" << 0;
    QTest::addRow("lower case only") << "admin"
                                     << "abcdefgh" << 0;
    // The ends of each range belong to it: a one-kind password stays level 0.
    QTest::addRow("lower case up to z") << "admin"
                                        << "abcdefgz" << 0;
    QTest::addRow("upper case from A to Z") << "admin"
                                            << "ABCDEFGZ" << 0;
    QTest::addRow("digits 0 and 9") << "admin"
                                    << "90000009" << 0;
    QTest::addRow("others only") << "admin"
                                 << "!@#$%^&*" << 0;
    QTest::addRow("digits and lower case is weak") << "admin"
                                                   << "abcd1234" << 1;
    QTest::addRow("digits and upper case is weak") << "admin"
                                                   << "ABCD1234" << 1;
    QTest::addRow("upper and lower case is medium") << "admin"
                                                    << "ABCDefgh" << 2;
    QTest::addRow("digits and punctuation is medium") << "admin"
                                                      << "1234!@#$" << 2;
    QTest::addRow("letters and others is medium") << "admin"
                                                  << "abcd!@#$" << 2;
    QTest::addRow("three kinds is strong") << "admin"
                                           << "Abcd1234" << 3;
    QTest::addRow("four kinds is strong") << "admin"
                                          << "Abc1234!" << 3;
    QTest::addRow("space counts as other") << "admin"
                                           << "abcd efg" << 2;
    QTest::addRow("non-ASCII counts as other") << "admin" << QStringLiteral("abcdefg\u00e9") << 2;
    QTest::addRow("equal to a long user name") << "installer1"
                                               << "installer1" << 0;
    QTest::addRow("user name backwards") << "installer1"
                                         << "1rellatsni" << 0;
    QTest::addRow("user name with one more character") << "installer1"
                                                       << "installer12" << 1;
}

void tst_PasswordStrength::level()
{
    QFETCH(QString, userName);
    QFETCH(QString, password);
    QFETCH(int, expected);
    QCOMPARE(passwordLevel(userName, password), expected);
}

void tst_PasswordStrength::meterText_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("bars");
    QTest::addRow("not acceptable") << 0 << QString() << QStringList{"grey", "grey", "grey"};
    QTest::addRow("weak") << 1 << "Weak" << QStringList{"red", "grey", "grey"};
    QTest::addRow("medium") << 2 << "Medium" << QStringList{"yellow", "yellow", "grey"};
    QTest::addRow("strong") << 3 << "Strong" << QStringList{"green", "green", "green"};
    QTest::addRow("out of range") << 7 << QString() << QStringList{"grey", "grey", "grey"};
}

void tst_PasswordStrength::meterText()
{
    QFETCH(int, level);
    QFETCH(QString, text);
    QFETCH(QStringList, bars);
    QLabel bar1, bar2, bar3, label(QStringLiteral("previous"));
    showPasswordLevel(level, &bar1, &bar2, &bar3, &label);
    QCOMPARE(label.text(), text);
    const QLabel *shown[] = {&bar1, &bar2, &bar3};
    for (int i = 0; i < 3; ++i) {
        const QImage expected
            = QPixmap(QStringLiteral(":/CommonSkin/Password/Images/Public/Control/Password/%1.png").arg(bars.at(i)))
                  .toImage();
        QVERIFY(!expected.isNull());
        QVERIFY2(shown[i]->pixmap().toImage() == expected, qPrintable(QStringLiteral("bar %1").arg(i + 1)));
    }
}

void tst_PasswordStrength::folderFieldText_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("windows");
    QTest::addColumn<QString>("expected");
    QTest::addRow("windows folder") << "C:/Users/u/keys" << true << "C:/Users/u/keys\\";
    QTest::addRow("windows drive root") << "C:\\" << true << "C:\\";
    QTest::addRow("linux folder") << "/home/u/keys" << false << "/home/u/keys/";
    QTest::addRow("linux root") << "/" << false << "/";
    QTest::addRow("linux folder ending in a backslash gets a real separator")
        << "/home/u/odd\\" << false << "/home/u/odd\\/";
}

void tst_PasswordStrength::folderFieldText()
{
    QFETCH(QString, chosen);
    QFETCH(bool, windows);
    QFETCH(QString, expected);
    QCOMPARE(aptui::folderFieldText(chosen, windows), expected);
}

QTEST_MAIN(tst_PasswordStrength)
#include "tst_passwordstrength.moc"

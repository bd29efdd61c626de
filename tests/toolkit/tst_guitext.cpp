// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <akloguitoolkit/guitext.h>

#include <QTest>
#include <QTextCodec>

class tst_GuiText : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void convertFromUnicode_data();
    void convertFromUnicode();
    void defaultCodecIsLocal();
};

void tst_GuiText::cleanup()
{
    aKLOGUIToolkit::InitGuiTextCodec(nullptr);
}

void tst_GuiText::convertFromUnicode_data()
{
    QTest::addColumn<QByteArray>("codecName");
    QTest::addColumn<bool>("asToolkitCodec");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected");

    QTest::addRow("ascii password") << QByteArray("ISO-8859-1") << false << "Abc12345" << QByteArray("Abc12345");
    QTest::addRow("latin-1 letters") << QByteArray("ISO-8859-1") << false << QStringLiteral("Pässwörd")
                                     << QByteArray("P\xe4ssw\xf6rd");
    QTest::addRow("unmappable becomes ?")
        << QByteArray("ISO-8859-1") << false << QStringLiteral("a中b") << QByteArray("a?b");
    QTest::addRow("toolkit codec gbk") << QByteArray("GBK") << true << QStringLiteral("中") << QByteArray("\xd6\xd0");
    QTest::addRow("toolkit codec utf-8") << QByteArray("UTF-8") << true << QStringLiteral("中")
                                         << QByteArray("\xe4\xb8\xad");
    QTest::addRow("empty") << QByteArray("UTF-8") << true << QString() << QByteArray();
}

void tst_GuiText::convertFromUnicode()
{
    QFETCH(QByteArray, codecName);
    QFETCH(bool, asToolkitCodec);
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    QTextCodec *codec = QTextCodec::codecForName(codecName);
    QVERIFY(codec);
    if (asToolkitCodec) {
        aKLOGUIToolkit::InitGuiTextCodec(codec);
        QCOMPARE(aKLOGUIToolkit::ConvertFromUnicode(text, nullptr), expected);
    } else {
        QCOMPARE(aKLOGUIToolkit::ConvertFromUnicode(text, codec), expected);
    }
}

void tst_GuiText::defaultCodecIsLocal()
{
    const QString text = QStringLiteral("Admin123");
    QCOMPARE(aKLOGUIToolkit::GuiTextCodec(), QTextCodec::codecForLocale());
    QCOMPARE(aKLOGUIToolkit::ConvertFromUnicode(text, nullptr), QTextCodec::codecForLocale()->fromUnicode(text));
}

QTEST_GUILESS_MAIN(tst_GuiText)

#include "tst_guitext.moc"

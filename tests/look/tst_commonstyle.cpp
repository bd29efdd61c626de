// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionFocusRect>
#include <QtTest>

#include <memory>

class tst_CommonStyle : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void create_data();
    void create();
    void focusFrame_data();
    void focusFrame();
    void flatMetricsAndHints_data();
    void flatMetricsAndHints();
};

void tst_CommonStyle::initTestCase()
{
    // As the program does: <program dir>/plugins holds the "styles" folder.
    const QString plugins = qEnvironmentVariable("VEXO_TEST_BIN_DIR") + "/plugins";
    QVERIFY(QFileInfo::exists(plugins + "/styles"));
    QCoreApplication::addLibraryPath(plugins);
    QVERIFY(QStyleFactory::keys().contains("CommonStyle"));
}

void tst_CommonStyle::create_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("created");

    QTest::addRow("as registered") << "CommonStyle" << true;
    QTest::addRow("lower case") << "commonstyle" << true;
    QTest::addRow("upper case") << "COMMONSTYLE" << true;
    QTest::addRow("other name") << "CommonSkin" << false;
    QTest::addRow("prefix") << "Common" << false;
}

void tst_CommonStyle::create()
{
    QFETCH(QString, key);
    QFETCH(bool, created);

    std::unique_ptr<QStyle> style(QStyleFactory::create(key));
    QCOMPARE(style != nullptr, created);
    if (!style)
        return;
    QCOMPARE(style->name(), QStringLiteral("commonstyle"));
    // A flat refinement of Fusion, so every widget keeps a complete look.
    auto *proxy = qobject_cast<QProxyStyle *>(style.get());
    QVERIFY(proxy);
    QVERIFY(proxy->baseStyle());
    QCOMPARE(proxy->baseStyle()->name(), QStringLiteral("fusion"));
}

void tst_CommonStyle::focusFrame_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("painted");

    QTest::addRow("Fusion draws one") << "Fusion" << true;
    QTest::addRow("CommonStyle draws none") << "CommonStyle" << false;
}

void tst_CommonStyle::focusFrame()
{
    QFETCH(QString, key);
    QFETCH(bool, painted);

    std::unique_ptr<QStyle> style(QStyleFactory::create(key));
    QVERIFY(style);
    QImage image(40, 24, QImage::Format_ARGB32);
    image.fill(Qt::white);
    const QImage blank = image;
    {
        QPainter painter(&image);
        QStyleOptionFocusRect option;
        option.rect = image.rect().adjusted(2, 2, -2, -2);
        option.state = QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange | QStyle::State_Enabled;
        option.palette = style->standardPalette();
        option.backgroundColor = Qt::white;
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter);
    }
    QCOMPARE(image != blank, painted);
}

void tst_CommonStyle::flatMetricsAndHints_data()
{
    QTest::addColumn<int>("metric");
    QTest::addColumn<int>("hint");
    QTest::addColumn<int>("expected");

    QTest::addRow("no horizontal press shift") << int(QStyle::PM_ButtonShiftHorizontal) << -1 << 0;
    QTest::addRow("no vertical press shift") << int(QStyle::PM_ButtonShiftVertical) << -1 << 0;
    QTest::addRow("row-wide selection") << -1 << int(QStyle::SH_ItemView_ShowDecorationSelected) << 1;
    QTest::addRow("plain combo box list") << -1 << int(QStyle::SH_ComboBox_Popup) << 0;
    QTest::addRow("menus do not flash") << -1 << int(QStyle::SH_Menu_FlashTriggeredItem) << 0;
    QTest::addRow("menus do not fade") << -1 << int(QStyle::SH_Menu_FadeOutOnHide) << 0;
}

void tst_CommonStyle::flatMetricsAndHints()
{
    QFETCH(int, metric);
    QFETCH(int, hint);
    QFETCH(int, expected);

    std::unique_ptr<QStyle> style(QStyleFactory::create("CommonStyle"));
    QVERIFY(style);
    const int value
        = metric >= 0 ? style->pixelMetric(QStyle::PixelMetric(metric)) : style->styleHint(QStyle::StyleHint(hint));
    QCOMPARE(value, expected);
}

QTEST_MAIN(tst_CommonStyle)
#include "tst_commonstyle.moc"

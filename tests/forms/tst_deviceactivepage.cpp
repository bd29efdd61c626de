// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <deviceactivepage.h>

#include <QLabel>
#include <QTest>

using VexoTool::DeviceActivePage;

namespace {

QString centred(const char *text)
{
    return QStringLiteral("<html><head/><body><p align=\"center\">%1</p></body></html>").arg(QLatin1String(text));
}

enum class Variant { Single, Batch, Mixed };

void showVariant(DeviceActivePage &page, Variant variant)
{
    switch (variant) {
    case Variant::Single:
        page.showSingleInactive();
        break;
    case Variant::Batch:
        page.showBatchInactive();
        break;
    case Variant::Mixed:
        page.showMixed();
        break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Variant)

class tst_DeviceActivePage : public QObject
{
    Q_OBJECT

private slots:
    void variantTexts_data();
    void variantTexts();
};

void tst_DeviceActivePage::variantTexts_data()
{
    QTest::addColumn<Variant>("before");
    QTest::addColumn<Variant>("variant");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("word1");
    QTest::addColumn<bool>("noteShown");
    QTest::addColumn<bool>("tipAndHeadingShown");

    const QString notActivated = centred("Device not activated");
    const QString sorry = QStringLiteral("Sorry,the devices you have chosen has not activated devices");
    QTest::addRow("one inactive device") << Variant::Mixed << Variant::Single << centred("Device active")
                                         << notActivated << false << true;
    QTest::addRow("several inactive devices")
        << Variant::Single << Variant::Batch << centred("Batch devices active") << notActivated << false << true;
    QTest::addRow("mixed selection") << Variant::Single << Variant::Mixed << centred("Batch devices network parameters")
                                     << sorry << true << false;
    QTest::addRow("back from mixed to batch")
        << Variant::Mixed << Variant::Batch << centred("Batch devices active") << notActivated << false << true;
}

void tst_DeviceActivePage::variantTexts()
{
    QFETCH(Variant, before);
    QFETCH(Variant, variant);
    QFETCH(QString, title);
    QFETCH(QString, word1);
    QFETCH(bool, noteShown);
    QFETCH(bool, tipAndHeadingShown);
    DeviceActivePage page;
    page.show();
    showVariant(page, before);
    showVariant(page, variant);

    auto label = [&page](const char *name) {
        return page.findChild<QLabel *>(QLatin1String(name));
    };
    QCOMPARE(label("m_labelNetPara")->text(), title);
    QCOMPARE(label("m_labelWord1")->text(), word1);
    QCOMPARE(label("m_labelWord2")->isVisible(), noteShown);
    QCOMPARE(page.findChild<QWidget *>(QStringLiteral("m_tipWidget"))->isVisible(), tipAndHeadingShown);
    QCOMPARE(label("m_labelActiveNow")->isVisible(), tipAndHeadingShown);
    QCOMPARE(label("m_labelGrayline2")->isVisible(), tipAndHeadingShown);
    QCOMPARE(label("m_labelGrayline3")->isVisible(), tipAndHeadingShown);
    if (tipAndHeadingShown) {
        QCOMPARE(label("m_labelActiveNow")->text(), QStringLiteral("Active now"));
        QCOMPARE(label("m_labelWord3")->text(),
                 centred("The network parameters can be modified after the device is activated"));
    }
    if (noteShown)
        QCOMPARE(label("m_labelWord2")->text(),
                 QStringLiteral("<html><head/><body><p>Note: please activate<span style=\"font-weight:600;\">the "
                                "device</span>to perform other operations</p></body></html>"));
    QCOMPARE(label("m_labelPicture")->size(), QSize(100, 100));
}

QTEST_MAIN(tst_DeviceActivePage)

#include "tst_deviceactivepage.moc"

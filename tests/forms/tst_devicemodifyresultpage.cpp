// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include <devicemodifyresultpage.h>
#include <errorexplanation.h>

#include <Vexo.h>

#include <QLabel>
#include <QStandardItemModel>
#include <QTest>

using VexoTool::DeviceModifyResultPage;

namespace {

DeviceInfo device(int n, const QString &result)
{
    DeviceInfo info;
    info.strIndex = QString::number(n);
    info.strDeviceType = QStringLiteral("VX-C2042");
    info.strIPv4Address = QStringLiteral("10.0.0.%1").arg(n);
    info.strSerialNumber = QStringLiteral("VX-C2042SERIAL%1").arg(n);
    info.strMAC = QStringLiteral("02-5e-00-00-00-%1").arg(n);
    info.strResult = result;
    return info;
}

} // namespace

class tst_DeviceModifyResultPage : public QObject
{
    Q_OBJECT

private slots:
    void counters_data();
    void counters();
    void rowsShowEachOutcome();
};

void tst_DeviceModifyResultPage::counters_data()
{
    QTest::addColumn<QStringList>("results");
    QTest::addColumn<bool>("activation");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("devicesLabel");
    QTest::addColumn<QString>("failedLabel");
    QTest::addColumn<QString>("lastHeader");

    const QStringList fourWithOneFailure{"Succeed", "Succeed", "Error2009:device deny", "Succeed"};
    QTest::addRow("network change, one failure") << fourWithOneFailure << false << "Network Change Results"
                                                 << "Changed: 3 of 4"
                                                 << "Failed: 1"
                                                 << "Modification";
    QTest::addRow("activation, one failure") << fourWithOneFailure << true << "Activation Results"
                                             << "Activated: 3 of 4"
                                             << "Failed: 1"
                                             << "Activation";
    QTest::addRow("every text but Succeed is a failure")
        << QStringList{"0", "succeed", "", "Error2021:reactive"} << true << "Activation Results"
        << "Activated: 0 of 4"
        << "Failed: 4"
        << "Activation";
    QTest::addRow("no device") << QStringList{} << false << "Network Change Results"
                               << "Changed: 0 of 0"
                               << "Failed: 0"
                               << "Modification";
}

void tst_DeviceModifyResultPage::counters()
{
    QFETCH(QStringList, results);
    QFETCH(bool, activation);
    QFETCH(QString, title);
    QFETCH(QString, devicesLabel);
    QFETCH(QString, failedLabel);
    QFETCH(QString, lastHeader);
    QVector<DeviceInfo> devices;
    for (int i = 0; i < results.size(); ++i)
        devices.append(device(i + 1, results.at(i)));

    DeviceModifyResultPage page;
    if (activation)
        page.setOperation(DeviceModifyResultPage::Operation::Activation);
    page.setDevices(devices);

    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("m_labelDeviceAll"))->text(), devicesLabel);
    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("m_labelDeviceFail"))->text(), failedLabel);
    QCOMPARE(page.model()->headerData(4, Qt::Horizontal).toString(), lastHeader);
    QCOMPARE(page.model()->rowCount(), int(results.size()));
    QCOMPARE(page.windowTitle(), title);
}

void tst_DeviceModifyResultPage::rowsShowEachOutcome()
{
    DeviceModifyResultPage page;
    page.setDevices({device(1, QStringLiteral("Succeed")), device(2, QStringLiteral("Error2011:time out"))});
    const QStandardItemModel *model = page.model();
    const QStringList headers{"ID", "Device Type", "IPv4 Address", "Serial Number", "Modification"};
    for (int column = 0; column < 5; ++column)
        QCOMPARE(model->headerData(column, Qt::Horizontal).toString(), headers.at(column));

    const QStringList first{"1", "VX-C2042", "10.0.0.1", "VX-C2042SERIAL1", "Succeeded"};
    const QStringList second{"2", "VX-C2042", "10.0.0.2", "VX-C2042SERIAL2", "Error2011:time out"};
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(model->item(0, column)->text(), first.at(column));
        QCOMPARE(model->item(1, column)->text(), second.at(column));
    }
    // The success and the error mark are different pictures.
    QVERIFY(model->item(0, 4)->icon().cacheKey() != model->item(1, 4)->icon().cacheKey());
    // What the failure means, on the cell and below the table.
    const QString explanation = VexoTool::ErrorExplanation::forCode(VEXO_ERR_TIMEOUT);
    QCOMPARE(model->item(0, 4)->toolTip(), QString());
    QCOMPARE(model->item(1, 4)->toolTip(), explanation);
    QCOMPARE(page.findChild<QLabel *>(QStringLiteral("m_labelExplanations"))->text(),
             QStringLiteral("Error2011: ") + explanation);
}

QTEST_MAIN(tst_DeviceModifyResultPage)

#include "tst_devicemodifyresultpage.moc"

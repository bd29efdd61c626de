// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicerecords.h"

#include <deviceinfomodel.h>

#include <QAbstractItemModelTester>
#include <QColor>
#include <QIcon>
#include <QPersistentModelIndex>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QSet>
#include <QTest>
#include <QTextCodec>

#include <functional>
#include <memory>
#include <numeric>

using VexoTool::DeviceInfoModel;
using RecordEdit = std::function<void(VEXO_DEVICE_INFO &)>;

Q_DECLARE_METATYPE(RecordEdit)

namespace {

QVector<int> identityOrder()
{
    QVector<int> order(DeviceInfoModel::LogicalColumnCount);
    std::iota(order.begin(), order.end(), 0);
    return order;
}

// A column file giving logical column k the model column order[k].
QByteArray columnFile(const QVector<int> &order, const QByteArray &declaration = "<?xml version=\"1.0\"?>\n")
{
    QByteArray xml = declaration + "<Columns>\n";
    for (int k = 0; k < order.size(); ++k)
        xml += "  <C" + QByteArray::number(k) + "><Info><IndexValue>" + QByteArray::number(order.at(k))
               + "</IndexValue></Info></C" + QByteArray::number(k) + ">\n";
    return xml + "</Columns>\n";
}

} // namespace

class tst_DeviceInfoModel : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void cellTexts_data();
    void cellTexts();
    void coloursAndItemTypes();
    void headersAndColumnLookup();
    void modelStaysConsistentWhileDevicesComeChangeAndGo();
    void removalRenumbersAndKeepsChecks();
    void updateRewritesTextsButNotCheckOrNumber();
    void gatewayThatAppearsLaterSortsAsAnAddress();
    void addressColumnsSortByTheirParts_data();
    void addressColumnsSortByTheirParts();
    void duplicateKeyActsOnTheUpperRow();
    void unknownDeviceChangesNothing();
    void rowLookupFollowsRemovals();
    void moveColumn_data();
    void moveColumn();
    void customOrderPlacesColumns();
    void unusableColumnFileFallsBack_data();
    void unusableColumnFileFallsBack();
    void nonAsciiTextSurvivesASave();
    void unusableColumnFileIsKeptAsBad_data();
    void unusableColumnFileIsKeptAsBad();
    void removingSeveralDevicesAtOnce_data();
    void removingSeveralDevicesAtOnce();
    void unverifiedDeviceIsMarked_data();
    void unverifiedDeviceIsMarked();
    void sharedAddressesAreMarked_data();
    void sharedAddressesAreMarked();

private:
    QString configPath() const { return m_dir->filePath(QStringLiteral("ColumnConfig.xml")); }
    QString cell(const DeviceInfoModel &model, int row, int logical) const
    {
        return row < model.rowCount() ? model.text(row, logical) : QStringLiteral("<no item>");
    }
    QVector<int> columnOrder(const DeviceInfoModel &model) const
    {
        QVector<int> order;
        for (int k = 0; k < DeviceInfoModel::LogicalColumnCount; ++k)
            order << model.columnOf(k);
        return order;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_DeviceInfoModel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_DeviceInfoModel::cellTexts_data()
{
    QTest::addColumn<RecordEdit>("edit");
    QTest::addColumn<int>("logical");
    QTest::addColumn<QString>("text");

    const auto none = [](VEXO_DEVICE_INFO &) {
    };
    QTest::addRow("ID is the arrival number") << RecordEdit(none) << int(DeviceInfoModel::ColumnId) << "001";
    QTest::addRow("device type") << RecordEdit(none) << int(DeviceInfoModel::ColumnDeviceType) << "VX-IPC-B420";
    QTest::addRow("activated") << RecordEdit(none) << int(DeviceInfoModel::ColumnActivate) << "Activated";
    QTest::addRow("not activated") << RecordEdit([](VEXO_DEVICE_INFO &r) { r.inactive = 1; })
                                   << int(DeviceInfoModel::ColumnActivate) << "Not activated";
    QTest::addRow("port 8000 padded to five") << RecordEdit(none) << int(DeviceInfoModel::ColumnPort) << " 8000";
    QTest::addRow("port 80 padded to five")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.port = 80; }) << int(DeviceInfoModel::ColumnPort) << "   80";
    QTest::addRow("http port 0 is N/A") << RecordEdit([](VEXO_DEVICE_INFO &r) { r.httpPort = 0; })
                                        << int(DeviceInfoModel::ColumnHttpPort) << "N/A";
    QTest::addRow("http port 80") << RecordEdit(none) << int(DeviceInfoModel::ColumnHttpPort) << "80";
    QTest::addRow("channels padded to two") << RecordEdit(none) << int(DeviceInfoModel::ColumnChannelNo) << " 4";
    QTest::addRow("16 channels") << RecordEdit([](VEXO_DEVICE_INFO &r) { r.channelCount = 16; })
                                 << int(DeviceInfoModel::ColumnChannelNo) << "16";
    QTest::addRow("gateway with extended info")
        << RecordEdit(none) << int(DeviceInfoModel::ColumnIPv4Gateway) << "10.0.0.254";
    QTest::addRow("gateway without extended info") << RecordEdit([](VEXO_DEVICE_INFO &r) { r.extendedInfoValid = 0; })
                                                   << int(DeviceInfoModel::ColumnIPv4Gateway) << "";
    QTest::addRow("gateway with an unknown validity value")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.extendedInfoValid = 2; }) << int(DeviceInfoModel::ColumnIPv4Gateway)
        << "";
    QTest::addRow("IPv6 address") << RecordEdit(none) << int(DeviceInfoModel::ColumnIPv6Address)
                                  << "fe80::21a:2bff:fe00:1";
    QTest::addRow("IPv6 gateway without extended info")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.extendedInfoValid = 0; }) << int(DeviceInfoModel::ColumnIPv6Gateway)
        << "";
    QTest::addRow("prefix length") << RecordEdit(none) << int(DeviceInfoModel::ColumnIPv6PrefixLength) << "64";
    QTest::addRow("short prefix length padded") << RecordEdit([](VEXO_DEVICE_INFO &r) { r.ipv6PrefixLength = 8; })
                                                << int(DeviceInfoModel::ColumnIPv6PrefixLength) << " 8";
    QTest::addRow("prefix length without extended info")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.extendedInfoValid = 0; })
        << int(DeviceInfoModel::ColumnIPv6PrefixLength) << "";
    QTest::addRow("IPv6 not supported") << RecordEdit(
        [](VEXO_DEVICE_INFO &r) { r.capabilityFlags = VEXO_CAP_MOD_IPV6 | VEXO_CAP_DHCP; })
                                        << int(DeviceInfoModel::ColumnSupportIPv6) << "No";
    QTest::addRow("IPv6 supported") << RecordEdit(none) << int(DeviceInfoModel::ColumnSupportIPv6) << "Yes";
    QTest::addRow("IPv6 supported, validity bit 0 set in another value")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.extendedInfoValid = 3; }) << int(DeviceInfoModel::ColumnSupportIPv6)
        << "Yes";
    QTest::addRow("IPv6 supported without extended info")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.extendedInfoValid = 0; }) << int(DeviceInfoModel::ColumnSupportIPv6)
        << "";
    QTest::addRow("IPv6 changeable") << RecordEdit(none) << int(DeviceInfoModel::ColumnSupportModIPv6) << "Yes";
    QTest::addRow("IPv6 not changeable") << RecordEdit(
        [](VEXO_DEVICE_INFO &r) { r.capabilityFlags = VEXO_CAP_IPV6 | VEXO_CAP_DHCP; })
                                         << int(DeviceInfoModel::ColumnSupportModIPv6) << "No";
    QTest::addRow("DHCP supported") << RecordEdit(none) << int(DeviceInfoModel::ColumnSupportDhcp) << "Yes";
    QTest::addRow("DHCP not supported") << RecordEdit(
        [](VEXO_DEVICE_INFO &r) { r.capabilityFlags = VEXO_CAP_IPV6 | VEXO_CAP_MOD_IPV6; })
                                        << int(DeviceInfoModel::ColumnSupportDhcp) << "No";
    QTest::addRow("DHCP off") << RecordEdit(none) << int(DeviceInfoModel::ColumnIPv4Dhcp) << "OFF";
    QTest::addRow("DHCP on") << RecordEdit([](VEXO_DEVICE_INFO &r) { r.dhcpEnabled = 1; })
                             << int(DeviceInfoModel::ColumnIPv4Dhcp) << "ON";
    QTest::addRow("DHCP byte other than 1")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { r.dhcpEnabled = 2; }) << int(DeviceInfoModel::ColumnIPv4Dhcp) << "OFF";
    QTest::addRow("serial number filling its whole field")
        << RecordEdit([](VEXO_DEVICE_INFO &r) { std::memset(r.serialNumber, 'S', sizeof r.serialNumber); })
        << int(DeviceInfoModel::ColumnSerialNumber) << QString(48, u'S');
    QTest::addRow("Latin-1 text") << RecordEdit(
        [](VEXO_DEVICE_INFO &r) { setFieldText(r.deviceTypeText, "Cam\xe9ra"); })
                                  << int(DeviceInfoModel::ColumnDeviceType) << QString::fromLatin1("Cam\xe9ra");
}

void tst_DeviceInfoModel::cellTexts()
{
    QFETCH(RecordEdit, edit);
    QFETCH(int, logical);
    QFETCH(QString, text);

    DeviceInfoModel model(configPath());
    VEXO_DEVICE_INFO record = deviceRecord(1);
    edit(record);
    model.addDevice(record);
    QCOMPARE(cell(model, 0, logical), text);

    // An update formats the same way.
    VEXO_DEVICE_INFO before = record;
    before.port = 1;
    before.httpPort = 1;
    before.inactive = !record.inactive;
    DeviceInfoModel updated(configPath());
    updated.addDevice(before);
    updated.updateDevice(record);
    if (logical != DeviceInfoModel::ColumnId)
        QCOMPARE(cell(updated, 0, logical), text);
}

void tst_DeviceInfoModel::coloursAndItemTypes()
{
    DeviceInfoModel model(configPath());
    VEXO_DEVICE_INFO inactive = deviceRecord(1);
    inactive.inactive = 1;
    VEXO_DEVICE_INFO noExtended = deviceRecord(2);
    noExtended.extendedInfoValid = 0;
    model.addDevice(inactive);
    model.addDevice(noExtended);

    const QColor grey(QStringLiteral("#666666"));
    for (int k = 0; k < DeviceInfoModel::LogicalColumnCount; ++k) {
        const QColor expected = k == DeviceInfoModel::ColumnActivate ? QColor(Qt::red) : grey;
        QCOMPARE(model.index(0, model.columnOf(k)).data(Qt::ForegroundRole).value<QBrush>().color(), expected);
        QCOMPARE(model.index(1, model.columnOf(k)).data(Qt::ForegroundRole).value<QBrush>().color(), grey);
    }

    // Address cells sort by the numbers of their parts, other cells by their text.
    const auto isIp = [&model](int row, int logical) {
        return model.sortKey(row, model.columnOf(logical)) == DeviceInfoModel::addressSortKey(model.text(row, logical));
    };
    QVERIFY(isIp(0, DeviceInfoModel::ColumnIPv4Address));
    QVERIFY(isIp(0, DeviceInfoModel::ColumnIPv4Mask));
    QVERIFY(isIp(0, DeviceInfoModel::ColumnIPv4Gateway));
    QVERIFY(!isIp(1, DeviceInfoModel::ColumnIPv4Gateway));
    QVERIFY(!isIp(0, DeviceInfoModel::ColumnPort));

    const QModelIndex check = model.index(0, model.columnOf(DeviceInfoModel::ColumnCheck));
    QVERIFY(model.flags(check) & Qt::ItemIsUserCheckable);
    QCOMPARE(check.data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(!(model.flags(model.index(0, model.columnOf(DeviceInfoModel::ColumnMac))) & Qt::ItemIsUserCheckable));

    // Activation turns the cell grey again.
    inactive.inactive = 0;
    model.updateDevice(inactive);
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnActivate), QStringLiteral("Activated"));
    QCOMPARE(model.index(0, model.columnOf(DeviceInfoModel::ColumnActivate))
                 .data(Qt::ForegroundRole)
                 .value<QBrush>()
                 .color(),
             grey);
}

void tst_DeviceInfoModel::headersAndColumnLookup()
{
    DeviceInfoModel model(configPath());
    QCOMPARE(model.columnCount(), 22);
    QCOMPARE(model.columnOf(-1), -1);
    QCOMPARE(model.columnOf(22), -1);
    const QStringList headers{"",
                              "ID",
                              "Device Type",
                              "Activate",
                              "IPv4 Address",
                              "Port",
                              "Soft Vision",
                              "IPv4 GateWay",
                              "HttpPort",
                              "Serial Number",
                              "IPv4 Mask",
                              "MAC",
                              "Channel NO",
                              "DSP Vision",
                              "Start Time",
                              "IPv6 Address",
                              "IPv6 GateWay",
                              "IPv6 Prefix Length",
                              "Is Support IPv6",
                              "Is Support Mod IPv6",
                              "Is Support DHCP",
                              "IPv4 DHCP"};
    for (int k = 0; k < headers.size(); ++k) {
        const int column = model.columnOf(k);
        QCOMPARE(model.headerData(column, Qt::Horizontal).toString(), headers.at(k));
        QCOMPARE(model.headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).toInt(),
                 int(Qt::AlignLeft | Qt::AlignVCenter));
    }
    QCOMPARE(DeviceInfoModel::startWidth(DeviceInfoModel::ColumnSerialNumber), 230);
}

void tst_DeviceInfoModel::modelStaysConsistentWhileDevicesComeChangeAndGo()
{
    DeviceInfoModel model(configPath());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (int n = 1; n <= 12; ++n)
        model.addDevice(deviceRecord(n));
    VEXO_DEVICE_INFO changed = deviceRecord(5, "192.168.7.7");
    changed.extendedInfoValid = 0;
    model.updateDevice(changed);
    changed.extendedInfoValid = 1;
    model.updateDevice(changed);
    model.setCheckState(6, Qt::Checked);
    for (const int n : {1, 12, 7, 99})
        model.removeDevice(deviceRecord(n));
    model.sort(model.columnOf(DeviceInfoModel::ColumnIPv4Address), Qt::DescendingOrder);
    model.removeDevice(deviceRecord(3));
    for (int n = 30; n <= 60; ++n)
        model.addDevice(deviceRecord(n));
    // Many leave at once, in runs of adjacent rows and alone.
    QVector<VEXO_DEVICE_INFO> gone;
    for (const int n : {31, 32, 33, 40, 45, 46, 60, 2, 5})
        gone << deviceRecord(n);
    QCOMPARE(model.removeDevices(gone), gone.size());
    model.sort(model.columnOf(DeviceInfoModel::ColumnPort));
    model.removeRows(0, model.rowCount());
    model.addDevice(deviceRecord(20));
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.rowOf(serialOf(deviceRecord(20)), macOf(deviceRecord(20))), 0);
}

void tst_DeviceInfoModel::removalRenumbersAndKeepsChecks()
{
    DeviceInfoModel model(configPath());
    for (int n = 1; n <= 10; ++n)
        model.addDevice(deviceRecord(n));
    model.setCheckState(1, Qt::Checked); // device 2
    model.setCheckState(7, Qt::Checked); // device 8

    model.removeDevice(deviceRecord(4)); // row 3 of 10
    QCOMPARE(model.rowCount(), 9);
    for (int row = 0; row < 9; ++row)
        QCOMPARE(cell(model, row, DeviceInfoModel::ColumnId), QString::asprintf("%03d", row + 1));
    QCOMPARE(cell(model, 3, DeviceInfoModel::ColumnSerialNumber), serialOf(deviceRecord(5)));
    QCOMPARE(model.checkState(1), Qt::Checked);
    QCOMPARE(model.checkState(6), Qt::Checked);
    QCOMPARE(model.checkState(7), Qt::Unchecked);
}

void tst_DeviceInfoModel::updateRewritesTextsButNotCheckOrNumber()
{
    DeviceInfoModel model(configPath());
    model.addDevice(deviceRecord(1));
    model.addDevice(deviceRecord(2));
    model.setCheckState(1, Qt::Checked);

    VEXO_DEVICE_INFO changed = deviceRecord(2, "172.16.0.9");
    changed.port = 37777;
    model.updateDevice(changed);
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("172.16.0.9"));
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnPort), QStringLiteral("37777"));
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnId), QStringLiteral("002"));
    QCOMPARE(model.checkState(1), Qt::Checked);
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.1"));
}

void tst_DeviceInfoModel::gatewayThatAppearsLaterSortsAsAnAddress()
{
    DeviceInfoModel model(configPath());
    VEXO_DEVICE_INFO late = deviceRecord(1);
    late.extendedInfoValid = 0;
    model.addDevice(late);
    VEXO_DEVICE_INFO early = deviceRecord(2);
    setFieldText(early.ipv4Gateway, "10.0.0.10");
    model.addDevice(early);

    setFieldText(late.ipv4Gateway, "9.0.0.1");
    late.extendedInfoValid = 1;
    model.updateDevice(late);
    const int column = model.columnOf(DeviceInfoModel::ColumnIPv4Gateway);
    model.sort(column);
    // As plain text "9.0.0.1" would sort after "10.0.0.10".
    QCOMPARE(model.index(0, column).data().toString(), QStringLiteral("9.0.0.1"));
    QCOMPARE(model.index(1, column).data().toString(), QStringLiteral("10.0.0.10"));
}

void tst_DeviceInfoModel::addressColumnsSortByTheirParts_data()
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
    QTest::addRow("an overlong part saturates") << "4294967296.0.0"
                                                << "99999999999.0.1";
}

void tst_DeviceInfoModel::addressColumnsSortByTheirParts()
{
    QFETCH(QString, lower);
    QFETCH(QString, higher);
    for (const int logical : {DeviceInfoModel::ColumnIPv4Address, DeviceInfoModel::ColumnIPv4Mask}) {
        DeviceInfoModel model(configPath());
        for (const QString &text : {higher, lower}) {
            VEXO_DEVICE_INFO record = deviceRecord(int(model.rowCount()) + 1);
            setFieldText(logical == DeviceInfoModel::ColumnIPv4Address ? record.ipv4Address : record.ipv4SubnetMask,
                         text.toLatin1());
            model.addDevice(record);
        }
        const int column = model.columnOf(logical);
        model.sort(column);
        QCOMPARE(model.index(0, column).data().toString(), lower);
        model.sort(column, Qt::DescendingOrder);
        QCOMPARE(model.index(0, column).data().toString(), higher);
    }
}

void tst_DeviceInfoModel::duplicateKeyActsOnTheUpperRow()
{
    DeviceInfoModel model(configPath());
    model.addDevice(deviceRecord(1));
    model.addDevice(deviceRecord(2));
    model.addDevice(deviceRecord(1)); // the same device listed twice

    model.updateDevice(deviceRecord(1, "10.9.9.9"));
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.9.9.9"));
    QCOMPARE(cell(model, 2, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.1"));

    model.removeDevice(deviceRecord(1));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnSerialNumber), serialOf(deviceRecord(2)));
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.1"));
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnId), QStringLiteral("002"));

    // After a sort the upper row is the upper one now.
    model.addDevice(deviceRecord(1, "10.0.0.0"));
    model.sort(model.columnOf(DeviceInfoModel::ColumnIPv4Address));
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.0"));
    model.removeDevice(deviceRecord(1));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.1"));
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.2"));
}

void tst_DeviceInfoModel::unknownDeviceChangesNothing()
{
    DeviceInfoModel model(configPath());
    model.addDevice(deviceRecord(1));
    model.addDevice(deviceRecord(2));
    VEXO_DEVICE_INFO sameSerialOtherMac = deviceRecord(1);
    setFieldText(sameSerialOtherMac.macAddress, "00-1a-2b-ff-ff-ff");
    setFieldText(sameSerialOtherMac.ipv4Address, "10.7.7.7");

    model.updateDevice(sameSerialOtherMac);
    model.removeDevice(sameSerialOtherMac);
    model.removeDevice(deviceRecord(3));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(cell(model, 0, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.1"));
    QCOMPARE(cell(model, 1, DeviceInfoModel::ColumnId), QStringLiteral("002"));
}

void tst_DeviceInfoModel::rowLookupFollowsRemovals()
{
    DeviceInfoModel model(configPath());
    for (int n = 1; n <= 50; ++n)
        model.addDevice(deviceRecord(n));
    model.removeRows(10, 5); // rows removed by someone else are forgotten too
    model.removeDevice(deviceRecord(30));
    QCOMPARE(model.rowOf(serialOf(deviceRecord(12)), macOf(deviceRecord(12))), -1);
    QCOMPARE(model.rowOf(serialOf(deviceRecord(30)), macOf(deviceRecord(30))), -1);
    for (int n : {1, 10, 16, 29, 31, 50}) {
        const int row = model.rowOf(serialOf(deviceRecord(n)), macOf(deviceRecord(n)));
        QVERIFY(row >= 0);
        QCOMPARE(cell(model, row, DeviceInfoModel::ColumnSerialNumber), serialOf(deviceRecord(n)));
    }
}

void tst_DeviceInfoModel::moveColumn_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QVector<int>>("changedFrom"); // IndexValue entries that change...
    QTest::addColumn<QVector<int>>("changedTo");   // ...and what they become

    QTest::addRow("right to left") << 5 << 2 << QVector<int>{2, 3, 4, 5} << QVector<int>{3, 4, 5, 2};
    QTest::addRow("left to right") << 2 << 5 << QVector<int>{2, 3, 4, 5} << QVector<int>{5, 2, 3, 4};
    QTest::addRow("to the end") << 19 << 21 << QVector<int>{19, 20, 21} << QVector<int>{21, 19, 20};
    QTest::addRow("neighbours") << 10 << 11 << QVector<int>{10, 11} << QVector<int>{11, 10};
    QTest::addRow("same place") << 7 << 7 << QVector<int>{} << QVector<int>{};
}

void tst_DeviceInfoModel::moveColumn()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QVector<int>, changedFrom);
    QFETCH(QVector<int>, changedTo);

    QVERIFY(writeFile(configPath(), columnFile(identityOrder())));
    QVector<int> expected = identityOrder();
    for (int i = 0; i < changedFrom.size(); ++i)
        expected[changedFrom.at(i)] = changedTo.at(i);
    {
        DeviceInfoModel model(configPath());
        model.addDevice(deviceRecord(1));
        QVERIFY(model.moveColumn(from, to));
        // The data stay where they are during the run.
        QCOMPARE(columnOrder(model), identityOrder());
        QCOMPARE(model.index(0, DeviceInfoModel::ColumnIPv4Address).data().toString(), QStringLiteral("10.0.0.1"));
    }
    const QByteArray saved = readFile(configPath());
    QVERIFY(saved.startsWith("<?xml version=\"1.0\" encoding=\"GB2312\"?>"));
    QVERIFY(saved.contains("<C3>") && saved.contains("<Info>")); // the user's element names stay

    // The next start reads the new order and lays the columns out by it.
    DeviceInfoModel next(configPath());
    QCOMPARE(columnOrder(next), expected);
    QCOMPARE(next.headerData(expected.at(DeviceInfoModel::ColumnPort), Qt::Horizontal).toString(),
             QStringLiteral("Port"));
    QCOMPARE(readFile(configPath()), saved); // a usable file is not rewritten at start
}

void tst_DeviceInfoModel::customOrderPlacesColumns()
{
    QVector<int> order = identityOrder();
    std::swap(order[DeviceInfoModel::ColumnIPv4Address], order[DeviceInfoModel::ColumnMac]);
    QVERIFY(writeFile(configPath(), columnFile(order)));
    DeviceInfoModel model(configPath());
    QCOMPARE(model.columnOf(DeviceInfoModel::ColumnIPv4Address), int(DeviceInfoModel::ColumnMac));
    model.addDevice(deviceRecord(1));
    QCOMPARE(model.index(0, DeviceInfoModel::ColumnMac).data().toString(), QStringLiteral("10.0.0.1"));
    QCOMPARE(model.headerData(DeviceInfoModel::ColumnMac, Qt::Horizontal).toString(), QStringLiteral("IPv4 Address"));
    QCOMPARE(model.sortKey(0, DeviceInfoModel::ColumnMac), QStringLiteral("010000000001")); // sorts as an address
}

void tst_DeviceInfoModel::unusableColumnFileFallsBack_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all

    QVector<int> shortOrder = identityOrder();
    shortOrder.removeLast();
    QVector<int> longOrder = identityOrder();
    longOrder << 22;
    QVector<int> duplicate = identityOrder();
    duplicate[5] = 4;
    QVector<int> outOfRange = identityOrder();
    outOfRange[21] = 40;
    QVector<int> negative = identityOrder();
    negative[0] = -1;
    QByteArray missingValue = columnFile(identityOrder());
    missingValue.replace("<IndexValue>7</IndexValue>", "");
    QByteArray notANumber = columnFile(identityOrder());
    notANumber.replace("<IndexValue>7</IndexValue>", "<IndexValue>seven</IndexValue>");

    QTest::addRow("missing file") << QByteArray();
    QTest::addRow("not XML") << QByteArray("this is not a column file");
    QTest::addRow("truncated XML") << columnFile(identityOrder()).left(200);
    QTest::addRow("21 columns") << columnFile(shortOrder);
    QTest::addRow("23 columns") << columnFile(longOrder);
    QTest::addRow("a column twice") << columnFile(duplicate);
    QTest::addRow("column past the end") << columnFile(outOfRange);
    QTest::addRow("negative column") << columnFile(negative);
    QTest::addRow("missing IndexValue reads as 0") << missingValue;
    QTest::addRow("non-numeric IndexValue reads as 0") << notANumber;
    QTest::addRow("empty root") << QByteArray("<Columns/>");
}

void tst_DeviceInfoModel::unusableColumnFileFallsBack()
{
    QFETCH(QByteArray, content);
    if (!content.isEmpty())
        QVERIFY(writeFile(configPath(), content));

    DeviceInfoModel model(configPath());
    QCOMPARE(columnOrder(model), identityOrder());
    model.addDevice(deviceRecord(1));
    QCOMPARE(model.index(0, DeviceInfoModel::ColumnSerialNumber).data().toString(), serialOf(deviceRecord(1)));

    // A fresh, usable file replaces it, and later moves are kept in it.
    QVERIFY(model.moveColumn(5, 2));
    DeviceInfoModel next(configPath());
    QVector<int> expected = identityOrder();
    expected[2] = 3;
    expected[3] = 4;
    expected[4] = 5;
    expected[5] = 2;
    QCOMPARE(columnOrder(next), expected);
}

void tst_DeviceInfoModel::nonAsciiTextSurvivesASave()
{
    QTextCodec *gb2312 = QTextCodec::codecForName("GB2312");
    QVERIFY(gb2312);
    const QString note = QStringLiteral("设备列表的列顺序");
    QByteArray content = columnFile(identityOrder(), "<?xml version=\"1.0\" encoding=\"GB2312\"?>\n");
    content.replace("<Columns>", "<Columns><!--" + gb2312->fromUnicode(note) + "-->");
    QVERIFY(writeFile(configPath(), content));

    DeviceInfoModel model(configPath());
    QCOMPARE(columnOrder(model), identityOrder());
    QVERIFY(model.moveColumn(2, 3));
    QString saved = gb2312->toUnicode(readFile(configPath()));
    QVERIFY2(saved.contains(note), qPrintable(saved));
    saved.remove(u'\n');
    QVERIFY(saved.contains(QStringLiteral("<IndexValue>3</IndexValue></Info></C2>")));
}

void tst_DeviceInfoModel::unusableColumnFileIsKeptAsBad_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("olderBad"); // a .bad file from an earlier start, or empty

    QByteArray tooLarge = columnFile(identityOrder());
    tooLarge.replace("<Columns>", "<Columns><!--" + QByteArray(70 * 1024, 'x') + "-->");
    QByteArray manyEntries = "<Columns>";
    for (int i = 0; i < 20000; ++i)
        manyEntries += "<C><Info><IndexValue>" + QByteArray::number(i % 22) + "</IndexValue></Info></C>";
    manyEntries += "</Columns>";
    QVector<int> shortOrder = identityOrder();
    shortOrder.removeLast();

    QTest::addRow("empty file") << QByteArray("") << QByteArray();
    QTest::addRow("not XML") << QByteArray("this is not a column file") << QByteArray();
    QTest::addRow("21 columns") << columnFile(shortOrder) << QByteArray();
    QTest::addRow("larger than 64 KB") << tooLarge << QByteArray();
    QTest::addRow("20,000 entries") << manyEntries << QByteArray();
    QTest::addRow("replaces an older .bad") << QByteArray("<Columns/>") << QByteArray("an older damaged file");
}

void tst_DeviceInfoModel::unusableColumnFileIsKeptAsBad()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, olderBad);
    const QString badPath = configPath() + QStringLiteral(".bad");
    QVERIFY(writeFile(configPath(), content));
    if (!olderBad.isEmpty())
        QVERIFY(writeFile(badPath, olderBad));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("kept it as .*ColumnConfig\\.xml\\.bad")));
    DeviceInfoModel model(configPath());
    QCOMPARE(columnOrder(model), identityOrder());
    QCOMPARE(readFile(badPath), content);

    // The default order is written, and the next start uses it without touching the .bad file.
    DeviceInfoModel next(configPath());
    QCOMPARE(columnOrder(next), identityOrder());
    QCOMPARE(readFile(badPath), content);
    QVERIFY(readFile(configPath()).contains("<IndexValue>21</IndexValue>"));
}

void tst_DeviceInfoModel::removingSeveralDevicesAtOnce_data()
{
    QTest::addColumn<int>("listed");
    QTest::addColumn<QList<int>>("gone");

    QList<int> everyThird;
    for (int n = 1; n <= 120; n += 3)
        everyThird << n;
    QList<int> firstHalf;
    for (int n = 60; n >= 1; --n)
        firstHalf << n;

    QTest::addRow("one from the top") << 30 << QList<int>{1};
    QTest::addRow("two blocks") << 30 << QList<int>{5, 6, 7, 20, 21};
    QTest::addRow("the bottom") << 30 << QList<int>{29, 30};
    QTest::addRow("every third of 120") << 120 << everyThird;
    QTest::addRow("first half, newest first") << 120 << firstHalf;
    QTest::addRow("a device twice and an unknown one") << 10 << QList<int>{4, 4, 99};
}

void tst_DeviceInfoModel::removingSeveralDevicesAtOnce()
{
    QFETCH(int, listed);
    QFETCH(QList<int>, gone);
    DeviceInfoModel model(configPath());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Every fourth device reports no gateway, so the gateway column holds cells of both kinds.
    const auto record = [](int n) {
        VEXO_DEVICE_INFO r = deviceRecord(n);
        r.extendedInfoValid = n % 4 == 0 ? 0 : 1;
        return r;
    };
    for (int n = 1; n <= listed; ++n)
        model.addDevice(record(n));
    for (int n = 2; n <= listed; n += 5)
        model.setCheckState(n - 1, Qt::Checked);
    const int middleDevice = listed / 2 + 1; // a row whose index outlives the change
    const QPersistentModelIndex middleSerial(
        model.index(middleDevice - 1, model.columnOf(DeviceInfoModel::ColumnSerialNumber)));
    // The page takes a change notice of a check cell for the user's click.
    int checkClicks = 0;
    connect(&model, &DeviceInfoModel::checkStateChanged, &model, [&checkClicks] { ++checkClicks; });

    QVector<VEXO_DEVICE_INFO> records;
    for (const int n : gone)
        records << record(n);
    QList<int> remaining;
    for (int n = 1; n <= listed; ++n) {
        if (!gone.contains(n))
            remaining << n;
    }
    QCOMPARE(model.removeDevices(records), listed - int(remaining.size()));

    QCOMPARE(model.rowCount(), remaining.size());
    const int gatewayColumn = model.columnOf(DeviceInfoModel::ColumnIPv4Gateway);
    for (int row = 0; row < remaining.size(); ++row) {
        const int n = remaining.at(row);
        QCOMPARE(cell(model, row, DeviceInfoModel::ColumnId), QString::asprintf("%03d", row + 1));
        QCOMPARE(cell(model, row, DeviceInfoModel::ColumnSerialNumber), serialOf(deviceRecord(n)));
        QCOMPARE(cell(model, row, DeviceInfoModel::ColumnIPv4Gateway),
                 n % 4 == 0 ? QString() : QStringLiteral("10.0.0.254"));
        QCOMPARE(model.sortKey(row, gatewayColumn) == QStringLiteral("010000000254"), n % 4 != 0);
        QCOMPARE(model.checkState(row), n % 5 == 2 ? Qt::Checked : Qt::Unchecked);
        QCOMPARE(model.rowOf(serialOf(deviceRecord(n)), macOf(deviceRecord(n))), row);
    }
    QCOMPARE(checkClicks, 0);
    // An index into the table follows its device, and is given up when the device goes.
    QCOMPARE(middleSerial.isValid(), !gone.contains(middleDevice));
    if (middleSerial.isValid())
        QCOMPARE(middleSerial.data().toString(), serialOf(deviceRecord(middleDevice)));

    // The rows stay usable: a device arriving now is numbered after them and leaves again.
    model.addDevice(record(500));
    QCOMPARE(cell(model, int(remaining.size()), DeviceInfoModel::ColumnId),
             QString::asprintf("%03d", int(remaining.size()) + 1));
    model.removeDevice(record(500));
    QCOMPARE(model.rowCount(), remaining.size());
}

void tst_DeviceInfoModel::unverifiedDeviceIsMarked_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("updatedFlags");
    QTest::addColumn<bool>("markedAfterUpdate");
    // The mark follows the record: an update with another certificate state changes it.
    QTest::addRow("verified stays unmarked") << int(VEXO_IDENTITY_VERIFIED) << int(VEXO_IDENTITY_VERIFIED) << false;
    QTest::addRow("verified beside unknown bits") << 0xff << 0xfe << true;
    QTest::addRow("unknown bits alone are no proof") << 0xfe << 0xff << false;
    QTest::addRow("unverified, then verified") << 0 << int(VEXO_IDENTITY_VERIFIED) << false;
    QTest::addRow("verified, then unverified") << int(VEXO_IDENTITY_VERIFIED) << 0 << true;
}

void tst_DeviceInfoModel::unverifiedDeviceIsMarked()
{
    QFETCH(int, flags);
    QFETCH(int, updatedFlags);
    QFETCH(bool, markedAfterUpdate);
    DeviceInfoModel model(configPath());
    const auto marked = [&model](int row) {
        const QModelIndex cell = model.index(row, model.columnOf(DeviceInfoModel::ColumnDeviceType));
        const bool icon = !cell.data(Qt::DecorationRole).value<QIcon>().isNull();
        const QString tip = cell.data(Qt::ToolTipRole).toString();
        // The icon never comes without its explanation, nor the other way round.
        return icon && tip == DeviceInfoModel::unverifiedToolTip() ? 1 : !icon && tip.isEmpty() ? 0 : -1;
    };
    VEXO_DEVICE_INFO record = deviceRecord(1);
    record.identityFlags = quint8(flags);
    model.addDevice(record);
    model.addDevice(deviceRecord(2)); // zero-filled flags: unverified
    QCOMPARE(marked(0), (flags & VEXO_IDENTITY_VERIFIED) ? 0 : 1);
    QCOMPARE(marked(1), 1);
    QVERIFY(DeviceInfoModel::unverifiedToolTip().contains(QLatin1String("no valid maker certificate")));

    record.identityFlags = quint8(updatedFlags);
    model.updateDevice(record);
    QCOMPARE(marked(0), markedAfterUpdate ? 1 : 0);
    QCOMPARE(marked(1), 1);
    // Removing the row above moves the mark with the device.
    model.removeDevice(record);
    QCOMPARE(marked(0), 1);
}

void tst_DeviceInfoModel::sharedAddressesAreMarked_data()
{
    // Steps: "+n a" lists device n on address a ("?n a" as an ONVIF device not yet identified),
    // "~n a" moves it there, "-n" lets it go, "x" empties the list as a refresh does.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("marked");
    QTest::addColumn<int>("conflicts");

    QTest::addRow("distinct addresses") << QStringList{"+1 A", "+2 B"} << QList<int>{} << 0;
    QTest::addRow("two on one address") << QStringList{"+1 A", "+2 A"} << QList<int>{1, 2} << 1;
    QTest::addRow("a third joins") << QStringList{"+1 A", "+2 A", "+3 A"} << QList<int>{1, 2, 3} << 1;
    QTest::addRow("two pairs") << QStringList{"+1 A", "+2 B", "+3 A", "+4 B"} << QList<int>{1, 2, 3, 4} << 2;
    QTest::addRow("moving away ends it") << QStringList{"+1 A", "+2 A", "~2 B"} << QList<int>{} << 0;
    QTest::addRow("moving onto another") << QStringList{"+1 A", "+2 B", "~2 A"} << QList<int>{1, 2} << 1;
    QTest::addRow("one of three leaves") << QStringList{"+1 A", "+2 A", "+3 A", "-1"} << QList<int>{2, 3} << 1;
    QTest::addRow("one of two leaves") << QStringList{"+1 A", "+2 A", "+3 B", "-2"} << QList<int>{} << 0;
    QTest::addRow("marks follow their devices up")
        << QStringList{"+1 A", "+2 B", "+3 C", "+4 B", "+5 D", "-1"} << QList<int>{2, 4} << 1;
    QTest::addRow("no address shares nothing")
        << QStringList{"+1 0.0.0.0", "+2 0.0.0.0", "+3 _", "+4 _"} << QList<int>{} << 0;
    QTest::addRow("an unidentified ONVIF device on a listed address is no conflict")
        << QStringList{"+1 A", "?2 A"} << QList<int>{} << 0;
    QTest::addRow("a conflict stays beside an unidentified ONVIF device")
        << QStringList{"+1 A", "+2 A", "?3 A"} << QList<int>{1, 2} << 1;
    QTest::addRow("emptied by a refresh") << QStringList{"+1 A", "+2 A", "x", "+3 A"} << QList<int>{} << 0;
}

void tst_DeviceInfoModel::sharedAddressesAreMarked()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, marked);
    QFETCH(int, conflicts);
    DeviceInfoModel model(configPath());
    QAbstractItemModelTester tester(&model);
    QHash<int, QString> addressOf;
    QSet<int> unidentified;
    const auto record = [&addressOf, &unidentified](int n) {
        const QString a = addressOf.value(n);
        VEXO_DEVICE_INFO device = deviceRecord(n, a.size() == 1 ? "10.9.9." + a.toLatin1() : a.toLatin1());
        if (a == u'_')
            setFieldText(device.ipv4Address, QByteArray());
        if (unidentified.contains(n)) {
            setFieldText(device.leadText, "ONVIF");
            setFieldText(device.serialNumber, "urn:uuid:00000000-0000-4000-8000-00000000000" + QByteArray::number(n));
            setFieldText(device.macAddress, QByteArray());
        }
        return device;
    };
    for (const QString &step : std::as_const(steps)) {
        const int n = step.mid(1, 1).toInt();
        if (step.startsWith(u'x')) {
            model.removeRows(0, model.rowCount());
            addressOf.clear();
            continue;
        }
        if (step.startsWith(u'-')) {
            model.removeDevice(record(n));
            addressOf.remove(n);
            continue;
        }
        addressOf[n] = step.mid(3);
        if (step.startsWith(u'?'))
            unidentified.insert(n);
        if (step.startsWith(u'+') || step.startsWith(u'?'))
            model.addDevice(record(n));
        else
            model.updateDevice(record(n));
    }
    QCOMPARE(model.addressConflictCount(), conflicts);
    for (auto it = addressOf.cbegin(); it != addressOf.cend(); ++it) {
        const VEXO_DEVICE_INFO device = record(it.key());
        const int row = model.rowOf(serialOf(device), macOf(device));
        QVERIFY(row >= 0);
        const QModelIndex cell = model.index(row, model.columnOf(DeviceInfoModel::ColumnIPv4Address));
        const bool icon = !cell.data(Qt::DecorationRole).value<QIcon>().isNull();
        const QString tip = cell.data(Qt::ToolTipRole).toString();
        QCOMPARE(icon, marked.contains(it.key()));
        // The tool tip names exactly the other devices on the address.
        for (auto other = addressOf.cbegin(); other != addressOf.cend(); ++other) {
            if (other.key() != it.key())
                QCOMPARE(tip.contains(serialOf(record(other.key()))),
                         icon && other.value() == it.value() && !unidentified.contains(other.key()));
        }
    }
}

QTEST_MAIN(tst_DeviceInfoModel)

#include "tst_deviceinfomodel.moc"

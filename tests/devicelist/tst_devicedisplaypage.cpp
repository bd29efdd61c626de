// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicerecords.h"
#include "fakevexo.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <snapshotsource.h>

#include <akloguitoolkit/ctableview.h>
#include <devicestore.h>
#include <linkmessagebox.h>
#include <urlcatcher.h>
#include <vexohandler.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include <algorithm>
#include <memory>
#include <utility>

using VexoTool::DeviceDisplayPage;
using VexoTool::DeviceInfoModel;
using VexoTool::UserWritableFile;

namespace {

// One device event or check-box change in a scripted sequence.
struct Step
{
    char kind; // '+' online, '-' offline, '~' changed
    int device;
};

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

// Clicks in the table: the view row, and whether Shift is held.
using Clicks = QList<QPair<int, bool>>;

class tst_DeviceDisplayPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formAtStart();
    void countFollowsDeviceEvents_data();
    void countFollowsDeviceEvents();
    void checkingReportsOneRowAtATime();
    void oneRowReport_data();
    void oneRowReport();
    void recountReportsSeveralRows_data();
    void recountReportsSeveralRows();
    void checkedDeviceGoingOffline();
    void departuresTogether_data();
    void departuresTogether();
    void departureAndReturnInOneBurst();
    void departuresKeepTableOrderAndCurrentRow_data();
    void departuresKeepTableOrderAndCurrentRow();
    void activationResultRewritesRowAndReportsAgain();
    void modificationResultRewritesOnlySucceededRows();
    void refreshEmptiesTheListAndAsksAgain();
    void noAnswerHintInTheCountLine_data();
    void noAnswerHintInTheCountLine();
    void doubleClickOpensWebPage_data();
    void doubleClickOpensWebPage();
    void doubleClickInTheTable();
    void headerClickSortsNumerically_data();
    void headerClickSortsNumerically();
    void firstTwoSectionsStayInFront_data();
    void firstTwoSectionsStayInFront();
    void pointingHandOverAddresses();
    void elidedCellShowsItsTextAsToolTip_data();
    void elidedCellShowsItsTextAsToolTip();
    void headersFitTheirStartWidths();
    void checkingWithTheMouse_data();
    void checkingWithTheMouse();
    void headerCheckBoxChecksAllOrNone();
    void switchingBatchOff_data();
    void switchingBatchOff();
    void keyboardOnTheTable_data();
    void keyboardOnTheTable();
    void filterFollowsArrivalsAndDepartures_data();
    void filterFollowsArrivalsAndDepartures();
    void filterReadsEachRowsOwnDevice();
    void filterKeepsChecksAndTellsHidden_data();
    void filterKeepsChecksAndTellsHidden();
    void filterBoxFromTheKeyboard();
    void countLineNamesAddressConflicts_data();
    void countLineNamesAddressConflicts();
    void filterHintForRangesTypedWrongly();
    void noBrowserGivesTheAddressToCopy();
    void shippedColumnOrderShowsTheAddressAtOnce();
    void snapshotViewAsksForRowsChangedInPlace();

private:
    // Shows the page with devices 1 to @p count, sorted by ID, so view row r is device r + 1.
    void showWithDevices(int count)
    {
        for (int n = 1; n <= count; ++n)
            login(n);
        m_page->resize(1200, 600);
        m_page->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    }
    // A click on the check box of view row @p row, or with Shift on its address cell.
    void clickRow(int row, bool shift)
    {
        const QAbstractItemModel *view = table()->model();
        const int logical = shift ? DeviceInfoModel::ColumnIPv4Address : DeviceInfoModel::ColumnCheck;
        const QRect cell = table()->visualRect(view->index(row, model()->columnOf(logical)));
        // The check box sits at the left of its 30 pixel cell.
        const QPoint at = shift ? cell.center() : QPoint(cell.left() + 10, cell.center().y());
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier, at);
    }
    QList<int> checkedViewRows() const
    {
        QList<int> rows;
        const QAbstractItemModel *view = table()->model();
        for (int row = 0; row < view->rowCount(); ++row) {
            if (view->index(row, model()->columnOf(DeviceInfoModel::ColumnCheck)).data(Qt::CheckStateRole).toInt()
                == Qt::Checked)
                rows << row;
        }
        return rows;
    }
    void clickHeaderCheckBox()
    {
        QHeaderView *header = table()->header();
        const int section = model()->columnOf(DeviceInfoModel::ColumnCheck);
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    using Report = QPair<ModifyPage, QVector<DeviceInfo>>;

    QString configPath() const { return m_dir->filePath(QStringLiteral("ColumnConfig.xml")); }
    DeviceInfoModel *model() const { return m_page->model(); }
    aKLOGUIToolkit::CTableView *table() const
    {
        return m_page->findChild<aKLOGUIToolkit::CTableView *>(QStringLiteral("m_tableViewVexo"));
    }
    QString countLabel() const
    {
        return m_page->findChild<QLabel *>(QStringLiteral("m_labelDeviceCountValue"))->text();
    }
    QLineEdit *filterBox() const { return m_page->findChild<QLineEdit *>(QStringLiteral("m_lineEditFilter")); }
    // The text of a note of the page, or "" while it is hidden.
    QString note(const char *name) const
    {
        const auto *label = m_page->findChild<QLabel *>(QLatin1String(name));
        return label->isHidden() ? QString() : label->text();
    }
    QStringList serials(const QList<int> &devices) const
    {
        QStringList texts;
        for (const int n : devices)
            texts << serialOf(deviceRecord(n));
        return texts;
    }
    QPushButton *button(const char *name) const { return m_page->findChild<QPushButton *>(QLatin1String(name)); }
    int checkRowOf(int n) const
    {
        const VEXO_DEVICE_INFO record = deviceRecord(n);
        return model()->rowOf(serialOf(record), macOf(record));
    }
    QString cellOf(int n, int logical) const
    {
        const VEXO_DEVICE_INFO record = deviceRecord(n);
        return model()->text(model()->rowOf(serialOf(record), macOf(record)), logical);
    }
    Report report(int i) const
    {
        return {m_spy->at(i).at(0).value<ModifyPage>(), m_spy->at(i).at(1).value<QVector<DeviceInfo>>()};
    }
    void login(int n, quint8 inactive = 0)
    {
        VEXO_DEVICE_INFO record = deviceRecord(n);
        record.inactive = inactive;
        m_page->onDeviceLogin(record);
    }
    // A departure as the discovery service delivers it: queued, applied once the queue is empty.
    void logout(const VEXO_DEVICE_INFO &record)
    {
        m_page->onDeviceLogout(record);
        QCoreApplication::sendPostedEvents(m_page.get(), QEvent::MetaCall);
    }
    QStringList viewColumn(int logical) const
    {
        QStringList texts;
        const QAbstractItemModel *view = table()->model();
        for (int row = 0; row < view->rowCount(); ++row)
            texts << view->index(row, model()->columnOf(logical)).data().toString();
        return texts;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<DeviceStore> m_store;
    std::unique_ptr<VEXO::VexoHandler> m_discovery;
    std::unique_ptr<DeviceDisplayPage> m_page;
    std::unique_ptr<QSignalSpy> m_spy;
};

void tst_DeviceDisplayPage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void tst_DeviceDisplayPage::init()
{
    FakeVexo::reset();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store = std::make_unique<DeviceStore>();
    m_discovery = std::make_unique<VEXO::VexoHandler>(FakeVexo::library());
    m_page = std::make_unique<DeviceDisplayPage>(m_store.get(), m_discovery.get(), nullptr,
                                                 UserWritableFile::forPath(configPath()));
    m_spy = std::make_unique<QSignalSpy>(m_page.get(), &DeviceDisplayPage::signalCurrentSelectionModelChange);
}

void tst_DeviceDisplayPage::cleanup()
{
    m_spy.reset();
    m_page.reset();
    m_discovery.reset();
    m_store.reset();
}

void tst_DeviceDisplayPage::formAtStart()
{
    QCOMPARE(m_page->objectName(), QStringLiteral("DeviceDisplayPage"));
    QCOMPARE(countLabel(), QStringLiteral("0"));
    QCOMPARE(m_page->findChild<QLabel *>(QStringLiteral("m_labelDeiceCount"))->text(),
             QStringLiteral("Total number of online devices:"));
    for (const char *name : {"m_btnConfigReset", "m_btnExportDeviceInfo", "m_btnConfigExportFile"}) {
        QVERIFY2(!button(name)->isEnabled(), name);
        QVERIFY2(button(name)->isHidden(), name);
    }
    QVERIFY(!button("m_btnRefreshDeviceInfo")->isHidden());
    QVERIFY(button("m_btnConfigReset")
                ->styleSheet()
                .startsWith(QStringLiteral("QPushButton\n{\n    background-color:#f74248;")));
    QVERIFY(!table()->IsGridLineShown());
    QVERIFY(table()->isSortingEnabled());
    QCOMPARE(table()->header()->sortIndicatorSection(), model()->columnOf(DeviceInfoModel::ColumnId));
    QCOMPARE(table()->columnWidth(model()->columnOf(DeviceInfoModel::ColumnSerialNumber)), 230);
    QCOMPARE(m_spy->count(), 0);
}

void tst_DeviceDisplayPage::countFollowsDeviceEvents_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<int>("rows");

    QTest::addRow("two devices") << QList<Step>{{'+', 1}, {'+', 2}} << 2;
    QTest::addRow("same device twice") << QList<Step>{{'+', 1}, {'+', 1}} << 1;
    QTest::addRow("a device goes") << QList<Step>{{'+', 1}, {'+', 2}, {'+', 3}, {'-', 2}} << 2;
    QTest::addRow("unknown device goes") << QList<Step>{{'+', 1}, {'-', 7}} << 1;
    QTest::addRow("unknown device changes") << QList<Step>{{'+', 1}, {'~', 7}} << 1;
    QTest::addRow("back after leaving") << QList<Step>{{'+', 1}, {'-', 1}, {'+', 1}} << 1;
}

void tst_DeviceDisplayPage::countFollowsDeviceEvents()
{
    QFETCH(QList<Step>, steps);
    QFETCH(int, rows);
    for (const Step &step : steps) {
        const VEXO_DEVICE_INFO record = deviceRecord(step.device);
        if (step.kind == '+')
            m_page->onDeviceLogin(record);
        else if (step.kind == '-')
            logout(record);
        else
            m_page->onDeviceUpdate(record);
        QCOMPARE(countLabel(), QString::number(model()->rowCount()));
        QCOMPARE(m_store->count(), model()->rowCount());
    }
    QCOMPARE(model()->rowCount(), rows);
}

void tst_DeviceDisplayPage::checkingReportsOneRowAtATime()
{
    login(1);
    login(2, 1);
    login(3);
    QCOMPARE(m_spy->count(), 0); // devices arriving are no selection change

    model()->setCheckState(checkRowOf(1), Qt::Checked);
    QCOMPARE(m_spy->count(), 1);
    QCOMPARE(report(0).first, ModifySingle);
    QCOMPARE(report(0).second.size(), 1);
    const DeviceInfo a = report(0).second.first();
    QCOMPARE(a.strIndex, QStringLiteral("001"));
    QCOMPARE(a.strDeviceType, QStringLiteral("VX-IPC-B420"));
    QCOMPARE(a.strIPv4Address, QStringLiteral("10.0.0.1"));
    QCOMPARE(a.strSerialNumber, serialOf(deviceRecord(1)));
    QCOMPARE(a.strMAC, macOf(deviceRecord(1)));
    QCOMPARE(a.strResult, QStringLiteral("0"));
    QVERIFY(button("m_btnExportDeviceInfo")->isEnabled());

    model()->setCheckState(checkRowOf(2), Qt::Checked);
    QCOMPARE(model()->checkState(checkRowOf(1)), Qt::Unchecked);
    QCOMPARE(m_spy->count(), 2);
    QCOMPARE(report(1).first, ActivateSingle);
    QCOMPARE(report(1).second.first().strSerialNumber, serialOf(deviceRecord(2)));

    // A device that changes meanwhile is no selection change.
    m_page->onDeviceUpdate(deviceRecord(3, "10.1.1.1"));
    QCOMPARE(m_spy->count(), 2);

    model()->setCheckState(checkRowOf(2), Qt::Unchecked);
    QCOMPARE(m_spy->count(), 3);
    QCOMPARE(report(2), Report(ModifySingle, {}));
    for (const char *name : {"m_btnConfigReset", "m_btnExportDeviceInfo", "m_btnConfigExportFile"})
        QVERIFY2(!button(name)->isEnabled(), name);
}

void tst_DeviceDisplayPage::oneRowReport_data()
{
    QTest::addColumn<int>("inactive"); // -1: the device is no longer in the store
    QTest::addColumn<ModifyPage>("kind");

    QTest::addRow("activated") << 0 << ModifySingle;
    QTest::addRow("not activated") << 1 << ActivateSingle;
    QTest::addRow("other nonzero byte is not activated") << 2 << ActivateSingle;
    QTest::addRow("gone from the store counts as activated") << -1 << ModifySingle;
}

void tst_DeviceDisplayPage::oneRowReport()
{
    QFETCH(int, inactive);
    QFETCH(ModifyPage, kind);
    login(1);
    login(2, quint8(qMax(inactive, 0)));
    if (inactive < 0)
        m_store->remove(deviceRecord(2));
    model()->setCheckState(checkRowOf(2), Qt::Checked);
    QCOMPARE(m_spy->count(), 1);
    QCOMPARE(report(0).first, kind);
    QCOMPARE(report(0).second.first().strSerialNumber, serialOf(deviceRecord(2)));
}

void tst_DeviceDisplayPage::recountReportsSeveralRows_data()
{
    QTest::addColumn<QList<int>>("inactive"); // of the checked devices 1, 2, ...
    QTest::addColumn<ModifyPage>("kind");

    QTest::addRow("all activated") << QList<int>{0, 0} << ModifyBatch;
    QTest::addRow("none activated") << QList<int>{1, 1, 1} << ActivateBatch;
    QTest::addRow("mixed") << QList<int>{0, 1} << ActivateMixed;
    QTest::addRow("nonzero bytes are not activated") << QList<int>{2, 1} << ActivateBatch;
}

void tst_DeviceDisplayPage::recountReportsSeveralRows()
{
    QFETCH(QList<int>, inactive);
    QFETCH(ModifyPage, kind);
    for (int i = 0; i < inactive.size(); ++i)
        login(i + 1, quint8(inactive.at(i)));
    login(99);
    {
        // The page's own check handling never leaves several rows checked; another part of the
        // program could, without the page hearing of it.
        const QSignalBlocker blocker(model());
        for (int i = 0; i < inactive.size(); ++i)
            model()->setCheckState(checkRowOf(i + 1), Qt::Checked);
    }
    logout(deviceRecord(99));
    QCOMPARE(m_spy->count(), 1);
    QCOMPARE(report(0).first, kind);
    QCOMPARE(report(0).second.size(), inactive.size());
    for (int i = 0; i < inactive.size(); ++i)
        QCOMPARE(report(0).second.at(i).strSerialNumber, serialOf(deviceRecord(i + 1)));
    QVERIFY(button("m_btnConfigReset")->isEnabled());
}

void tst_DeviceDisplayPage::checkedDeviceGoingOffline()
{
    login(1);
    login(2);
    model()->setCheckState(checkRowOf(2), Qt::Checked);
    logout(deviceRecord(2));
    QCOMPARE(countLabel(), QStringLiteral("1"));
    QCOMPARE(m_spy->count(), 2);
    QCOMPARE(report(1), Report(ModifySingle, {}));

    // An unchecked device leaving reports the rows still checked.
    login(3);
    model()->setCheckState(checkRowOf(1), Qt::Checked);
    logout(deviceRecord(3));
    QCOMPARE(m_spy->count(), 4);
    QCOMPARE(report(3).first, ModifySingle);
    QCOMPARE(report(3).second.first().strSerialNumber, serialOf(deviceRecord(1)));
}

void tst_DeviceDisplayPage::departuresTogether_data()
{
    QTest::addColumn<int>("listed");      // devices 1 to listed, in this order
    QTest::addColumn<QList<int>>("gone"); // offline events queued together, in this order
    QTest::addColumn<int>("checked");     // the device checked before, 0 for none

    QList<int> everyOther;
    for (int n = 2; n <= 300; n += 2)
        everyOther << n;
    QList<int> mostOfThem;
    for (int n = 1; n <= 250; ++n)
        mostOfThem << n;
    QList<int> middleBlock;
    for (int n = 10; n <= 40; ++n)
        middleBlock << n;

    QTest::addRow("one from the middle") << 10 << QList<int>{4} << 8;
    QTest::addRow("a few here and there") << 20 << QList<int>{15, 2, 6, 5, 7} << 20;
    QTest::addRow("the last rows") << 10 << QList<int>{10, 9} << 1;
    QTest::addRow("every other device of 300") << 300 << everyOther << 299;
    QTest::addRow("all but the last 50 of 300") << 300 << mostOfThem << 0;
    QTest::addRow("the checked device among them") << 50 << middleBlock << 25;
    QTest::addRow("unknown and repeated devices") << 5 << QList<int>{3, 77, 3} << 5;
    QTest::addRow("everyone") << 40 << [] {
        QList<int> all;
        for (int n = 40; n >= 1; --n)
            all << n;
        return all;
    }() << 12;
}

void tst_DeviceDisplayPage::departuresTogether()
{
    QFETCH(int, listed);
    QFETCH(QList<int>, gone);
    QFETCH(int, checked);
    for (int n = 1; n <= listed; ++n)
        login(n, quint8(n % 3 == 0));
    if (checked != 0)
        model()->setCheckState(checkRowOf(checked), Qt::Checked);
    const qsizetype reportsBefore = m_spy->count();

    for (const int n : gone) {
        const VEXO_DEVICE_INFO record = deviceRecord(n);
        QMetaObject::invokeMethod(
            m_page.get(), [this, record] { m_page->onDeviceLogout(record); }, Qt::QueuedConnection);
    }
    QList<int> remaining;
    for (int n = 1; n <= listed; ++n) {
        if (!gone.contains(n))
            remaining << n;
    }
    QTRY_COMPARE(countLabel(), QString::number(remaining.size()));
    QCoreApplication::processEvents();

    // Arrival order and consecutive IDs, each check box with its device.
    QCOMPARE(model()->rowCount(), remaining.size());
    QCOMPARE(m_store->count(), remaining.size());
    for (int row = 0; row < remaining.size(); ++row) {
        const int n = remaining.at(row);
        const auto text = [this, row](int logical) {
            return model()->text(row, logical);
        };
        QCOMPARE(text(DeviceInfoModel::ColumnId), QString::asprintf("%03d", row + 1));
        QCOMPARE(text(DeviceInfoModel::ColumnSerialNumber), serialOf(deviceRecord(n)));
        QCOMPARE(text(DeviceInfoModel::ColumnActivate),
                 n % 3 == 0 ? QStringLiteral("Not activated") : QStringLiteral("Activated"));
        QCOMPARE(model()->checkState(row), n == checked ? Qt::Checked : Qt::Unchecked);
        QCOMPARE(model()->rowOf(serialOf(deviceRecord(n)), macOf(deviceRecord(n))), row);
    }
    for (const int n : gone)
        QCOMPARE(model()->rowOf(serialOf(deviceRecord(n)), macOf(deviceRecord(n))), -1);
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnId).size(), remaining.size());

    // One report for the whole burst, naming the device still checked under its new ID.
    QCOMPARE(m_spy->count(), reportsBefore + 1);
    const Report last = report(int(m_spy->count()) - 1);
    if (remaining.contains(checked)) {
        QCOMPARE(last.first, checked % 3 == 0 ? ActivateSingle : ModifySingle);
        QCOMPARE(last.second.size(), 1);
        QCOMPARE(last.second.first().strSerialNumber, serialOf(deviceRecord(checked)));
        QCOMPARE(last.second.first().strIndex, QString::asprintf("%03d", int(remaining.indexOf(checked)) + 1));
    } else {
        QCOMPARE(last, Report(ModifySingle, {}));
    }

    // The user's next click is reported as usual.
    const auto unchecked
        = std::find_if(remaining.cbegin(), remaining.cend(), [checked](int n) { return n != checked; });
    if (unchecked != remaining.cend()) {
        model()->setCheckState(checkRowOf(*unchecked), Qt::Checked);
        QCOMPARE(m_spy->count(), reportsBefore + 2);
        QCOMPARE(report(int(m_spy->count()) - 1).second.first().strSerialNumber, serialOf(deviceRecord(*unchecked)));
    }
}

void tst_DeviceDisplayPage::departureAndReturnInOneBurst()
{
    for (int n = 1; n <= 5; ++n)
        login(n);
    for (const auto &[kind, n] : {std::pair{'-', 2}, {'-', 4}, {'+', 2}, {'-', 5}}) {
        const VEXO_DEVICE_INFO record = deviceRecord(n);
        QMetaObject::invokeMethod(
            m_page.get(),
            [this, record, kind = kind] {
                if (kind == '+')
                    m_page->onDeviceLogin(record);
                else
                    m_page->onDeviceLogout(record);
            },
            Qt::QueuedConnection);
    }
    QTRY_COMPARE(countLabel(), QStringLiteral("3"));
    QCoreApplication::processEvents();
    // Device 2 came back after leaving, so it is listed last.
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber),
             (QStringList{serialOf(deviceRecord(1)), serialOf(deviceRecord(3)), serialOf(deviceRecord(2))}));
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnId), (QStringList{"001", "002", "003"}));
    QCOMPARE(m_store->count(), 3);
}

void tst_DeviceDisplayPage::departuresKeepTableOrderAndCurrentRow_data()
{
    QTest::addColumn<int>("sortedBy"); // logical column, sorted before the late arrivals
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QList<int>>("gone");

    QList<int> everyOther;
    for (int n = 2; n <= 64; n += 2)
        everyOther << n;
    QTest::addRow("one device, by ID") << int(DeviceInfoModel::ColumnId) << Qt::AscendingOrder << QList<int>{10};
    QTest::addRow("every other device, by ID") << int(DeviceInfoModel::ColumnId) << Qt::AscendingOrder << everyOther;
    QTest::addRow("one device, by serial number downwards")
        << int(DeviceInfoModel::ColumnSerialNumber) << Qt::DescendingOrder << QList<int>{10};
    QTest::addRow("every other device, by serial number downwards")
        << int(DeviceInfoModel::ColumnSerialNumber) << Qt::DescendingOrder << everyOther;
}

void tst_DeviceDisplayPage::departuresKeepTableOrderAndCurrentRow()
{
    QFETCH(int, sortedBy);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QList<int>, gone);
    for (int n = 1; n <= 60; ++n)
        login(n);
    table()->sortByColumn(model()->columnOf(sortedBy), order);
    for (int n = 61; n <= 64; ++n)
        login(n); // listed at the end, whatever the sort order
    constexpr int current = 33;
    const auto viewRowOf = [this](int n) {
        return int(viewColumn(DeviceInfoModel::ColumnSerialNumber).indexOf(serialOf(deviceRecord(n))));
    };
    const QModelIndex currentIndex = table()->model()->index(viewRowOf(current), 0);
    table()->selectionModel()->setCurrentIndex(currentIndex,
                                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    model()->setCheckState(checkRowOf(current), Qt::Checked);
    QStringList expected = viewColumn(DeviceInfoModel::ColumnSerialNumber);
    for (const int n : gone)
        expected.removeOne(serialOf(deviceRecord(n)));

    for (const int n : gone)
        m_page->onDeviceLogout(deviceRecord(n));
    QCoreApplication::sendPostedEvents(m_page.get(), QEvent::MetaCall);

    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber), expected);
    const QModelIndex after = table()->currentIndex();
    QCOMPARE(after.row(), viewRowOf(current));
    QCOMPARE(table()->selectionModel()->selectedRows(), QModelIndexList{after.siblingAtColumn(0)});
    QCOMPARE(model()->checkState(checkRowOf(current)), Qt::Checked);
    QCOMPARE(report(int(m_spy->count()) - 1).second.first().strSerialNumber, serialOf(deviceRecord(current)));
}

void tst_DeviceDisplayPage::activationResultRewritesRowAndReportsAgain()
{
    login(1, 1);
    login(2, 1);
    model()->setCheckState(checkRowOf(1), Qt::Checked);
    QCOMPARE(report(0).first, ActivateSingle);
    QCOMPARE(cellOf(1, DeviceInfoModel::ColumnActivate), QStringLiteral("Not activated"));

    // The panel activates both, device 1 successfully, and writes the store first.
    m_store->setInactive(serialOf(deviceRecord(1)), macOf(deviceRecord(1)), 0);
    m_store->setInactive(serialOf(deviceRecord(2)), macOf(deviceRecord(2)), 0);
    DeviceInfo one = m_page->deviceInfoOfRow(0);
    one.strResult = QStringLiteral("Succeed");
    DeviceInfo two = m_page->deviceInfoOfRow(1);
    two.strResult = QStringLiteral("Error2009:Device deny.");
    m_page->onDevicesActiveResult({one, two});

    QCOMPARE(cellOf(1, DeviceInfoModel::ColumnActivate), QStringLiteral("Activated"));
    QCOMPARE(cellOf(2, DeviceInfoModel::ColumnActivate), QStringLiteral("Not activated"));
    QCOMPARE(m_spy->count(), 2);
    QCOMPARE(report(1).first, ModifySingle);
    QCOMPARE(report(1).second.first().strSerialNumber, serialOf(deviceRecord(1)));
}

void tst_DeviceDisplayPage::modificationResultRewritesOnlySucceededRows()
{
    login(1);
    login(2);
    login(3);
    for (const int n : {1, 2, 3}) {
        DeviceNetParam param{};
        m_store->getNetParams(serialOf(deviceRecord(n)), macOf(deviceRecord(n)), param);
        setFieldText(param.ipv4Address, "172.16.0." + QByteArray::number(n));
        m_store->setNetParams(serialOf(deviceRecord(n)), macOf(deviceRecord(n)), param);
    }
    QVector<DeviceInfo> results{m_page->deviceInfoOfRow(0), m_page->deviceInfoOfRow(1), m_page->deviceInfoOfRow(2)};
    results[0].strResult = QStringLiteral("Succeed");
    results[1].strResult = QStringLiteral("Error2011:time out");
    results[2].strResult = QStringLiteral("Succeed");
    m_store->remove(deviceRecord(3)); // left meanwhile: skipped
    m_page->onDevicesModifyResult(results);

    QCOMPARE(cellOf(1, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("172.16.0.1"));
    QCOMPARE(cellOf(2, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.2"));
    QCOMPARE(cellOf(3, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("10.0.0.3"));
    QCOMPARE(m_spy->count(), 0);
}

void tst_DeviceDisplayPage::refreshEmptiesTheListAndAsksAgain()
{
    login(1);
    login(2);
    model()->setCheckState(checkRowOf(2), Qt::Checked);
    button("m_btnRefreshDeviceInfo")->click();

    QCOMPARE(model()->rowCount(), 0);
    QCOMPARE(countLabel(), QStringLiteral("0"));
    QCOMPARE(m_store->count(), 0);
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::Clearup), 1);
    QCOMPARE(FakeVexo::calls(FakeVexo::Call::SendInquiry), 1);
    QCOMPARE(m_spy->count(), 2);
    QCOMPARE(report(1), Report(ModifySingle, {}));

    // The devices report again and are listed anew, numbered from 1.
    login(2);
    QCOMPARE(countLabel(), QStringLiteral("1"));
    QCOMPARE(cellOf(2, DeviceInfoModel::ColumnId), QStringLiteral("001"));
    model()->setCheckState(checkRowOf(2), Qt::Checked);
    QCOMPARE(m_spy->count(), 3);
    QCOMPARE(report(2).first, ModifySingle);
}

void tst_DeviceDisplayPage::noAnswerHintInTheCountLine_data()
{
    // Steps: '+' a device comes online, '-' it goes, 'r' Refresh, 'w' a whole inquiry period passes.
    QTest::addColumn<QByteArray>("steps");
    QTest::addColumn<bool>("shown");

    QTest::addRow("nothing answers for a whole period") << QByteArray("w") << true;
    QTest::addRow("a device answers in time") << QByteArray("+w") << false;
    QTest::addRow("the first device clears the hint") << QByteArray("w+") << false;
    QTest::addRow("refresh starts a new period that nothing answers") << QByteArray("+wrw") << true;
    QTest::addRow("a device answers after refresh") << QByteArray("wr+w") << false;
    QTest::addRow("the only device left before the period ended") << QByteArray("+-w") << true;
    QTest::addRow("a device leaving later brings no hint") << QByteArray("+w-") << false;
}

void tst_DeviceDisplayPage::noAnswerHintInTheCountLine()
{
    QFETCH(QByteArray, steps);
    QFETCH(bool, shown);
    const int period = 60;
    m_page->setNoAnswerDelay(period);
    const auto *hint = m_page->findChild<QLabel *>(QStringLiteral("m_labelNoAnswer"));
    QVERIFY(hint);
    QVERIFY(hint->isHidden());
    for (const char step : steps) {
        if (step == '+')
            login(1);
        else if (step == '-')
            m_page->onDeviceLogout(deviceRecord(1));
        else if (step == 'r')
            button("m_btnRefreshDeviceInfo")->click();
        else
            QTest::qWait(period * 3);
    }
    QCOMPARE(!hint->isHidden(), shown);
    // The hint sits beside the count and leaves the count itself alone.
    QCOMPARE(countLabel(), QString::number(model()->rowCount()));
    if (shown)
        QCOMPARE(hint->text(), QStringLiteral("No device answers: check the cable and the firewall."));
}

void tst_DeviceDisplayPage::doubleClickOpensWebPage_data()
{
    QTest::addColumn<QByteArray>("ipv4");
    QTest::addColumn<int>("httpPort");
    QTest::addColumn<int>("logical");
    QTest::addColumn<QString>("url"); // empty: nothing opened

    const int address = DeviceInfoModel::ColumnIPv4Address;
    QTest::addRow("web port") << QByteArray("192.168.1.64") << 8080 << address << "http://192.168.1.64:8080";
    QTest::addRow("no web port means 80") << QByteArray("192.168.1.64") << 0 << address << "http://192.168.1.64:80";
    QTest::addRow("other column") << QByteArray("192.168.1.64") << 80 << int(DeviceInfoModel::ColumnSerialNumber) << "";
    QTest::addRow("host name from the network") << QByteArray("evil.example") << 80 << address << "";
    QTest::addRow("address with a path") << QByteArray("1.2.3.4/x?") << 80 << address << "";
    QTest::addRow("part above 255") << QByteArray("1.2.3.256") << 80 << address << "";
}

void tst_DeviceDisplayPage::doubleClickOpensWebPage()
{
    QFETCH(QByteArray, ipv4);
    QFETCH(int, httpPort);
    QFETCH(int, logical);
    QFETCH(QString, url);

    VexoTest::UrlCatcher catcher(QStringLiteral("http"));
    login(1);
    VEXO_DEVICE_INFO record = deviceRecord(2, ipv4);
    record.httpPort = quint16(httpPort);
    m_page->onDeviceLogin(record);

    const QAbstractItemModel *view = table()->model();
    const QModelIndex index = view->index(1, model()->columnOf(logical));
    m_page->onDoubleClickAction(index);
    QCOMPARE(catcher.urls(), url.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(url)});
}

void tst_DeviceDisplayPage::doubleClickInTheTable()
{
    VexoTest::UrlCatcher catcher(QStringLiteral("http"));
    login(1);
    login(2);
    m_page->resize(1200, 600);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    const QModelIndex index = table()->model()->index(1, model()->columnOf(DeviceInfoModel::ColumnIPv4Address));
    QCOMPARE(index.data().toString(), QStringLiteral("10.0.0.2"));
    const QPoint centre = table()->visualRect(index).center();
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(catcher.urls(), QList<QUrl>{QUrl(QStringLiteral("http://10.0.0.2:80"))});
}

void tst_DeviceDisplayPage::headerClickSortsNumerically_data()
{
    QTest::addColumn<int>("logical");
    QTest::addColumn<QStringList>("ascending");

    QTest::addRow("IPv4 Address") << int(DeviceInfoModel::ColumnIPv4Address)
                                  << QStringList{"9.0.0.1", "10.0.0.2", "10.0.0.10", "192.168.1.9", "192.168.1.10"};
    QTest::addRow("Port") << int(DeviceInfoModel::ColumnPort)
                          << QStringList{"   80", "  554", " 8000", " 9000", "37777"};
}

void tst_DeviceDisplayPage::headerClickSortsNumerically()
{
    QFETCH(int, logical);
    QFETCH(QStringList, ascending);
    const QList<QByteArray> addresses{"192.168.1.10", "10.0.0.2", "192.168.1.9", "10.0.0.10", "9.0.0.1"};
    const QList<quint32> ports{8000, 80, 37777, 554, 9000};
    for (int i = 0; i < addresses.size(); ++i) {
        VEXO_DEVICE_INFO record = deviceRecord(i + 1, addresses.at(i));
        record.port = ports.at(i);
        m_page->onDeviceLogin(record);
    }
    m_page->resize(1600, 600);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));

    QHeaderView *header = table()->header();
    const int section = model()->columnOf(logical);
    const QPoint centre(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(header->sortIndicatorSection(), section);
    QCOMPARE(viewColumn(logical), ascending);

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, centre);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    QCOMPARE(viewColumn(logical), descending);

    // Arrival numbers stay with the devices, and the model keeps arrival order.
    QCOMPARE(model()->text(0, DeviceInfoModel::ColumnId), QStringLiteral("001"));
    QCOMPARE(model()->text(0, DeviceInfoModel::ColumnIPv4Address), QStringLiteral("192.168.1.10"));
}

void tst_DeviceDisplayPage::firstTwoSectionsStayInFront_data()
{
    QTest::addColumn<int>("pressed"); // the logical section pressed
    QTest::addColumn<int>("from");    // then moved from this visual position...
    QTest::addColumn<int>("to");      // ...to this one
    QTest::addColumn<bool>("kept");

    QTest::addRow("onto the check box column") << 3 << 3 << 0 << false;
    QTest::addRow("onto the ID column") << 6 << 6 << 1 << false;
    QTest::addRow("the ID column away") << 1 << 1 << 4 << false;
    QTest::addRow("between other columns") << 5 << 5 << 2 << true;
}

void tst_DeviceDisplayPage::firstTwoSectionsStayInFront()
{
    QFETCH(int, pressed);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, kept);

    m_page->resize(1600, 600);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    QHeaderView *header = table()->header();
    const QByteArray fileBefore = readFile(configPath());
    QVector<int> before;
    for (int section = 0; section < header->count(); ++section)
        before << header->visualIndex(section);

    const QPoint centre(header->sectionViewportPosition(pressed) + header->sectionSize(pressed) / 2,
                        header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, centre);
    QCOMPARE(header->sectionsMovable(), pressed > 1);
    // What a drag ends in; for the fixed sections the header does not let it start.
    header->moveSection(from, to);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, centre);

    QVector<int> after;
    for (int section = 0; section < header->count(); ++section)
        after << header->visualIndex(section);
    if (kept) {
        QCOMPARE(header->logicalIndex(to), from);
        QVERIFY(readFile(configPath()) != fileBefore);
        DeviceInfoModel next(configPath());
        QCOMPARE(next.columnOf(from), to);
    } else {
        QCOMPARE(after, before);
        QCOMPARE(readFile(configPath()), fileBefore);
    }
}

void tst_DeviceDisplayPage::pointingHandOverAddresses()
{
    login(1);
    m_page->resize(1600, 600);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    const QAbstractItemModel *view = table()->model();
    const QRect address = table()->visualRect(view->index(0, model()->columnOf(DeviceInfoModel::ColumnIPv4Address)));
    const QRect serial = table()->visualRect(view->index(0, model()->columnOf(DeviceInfoModel::ColumnSerialNumber)));

    QTest::mouseMove(table()->viewport(), address.center());
    QTRY_COMPARE(m_page->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(table()->viewport(), serial.center());
    QTRY_COMPARE(m_page->cursor().shape(), Qt::ArrowCursor);

    // Hover events of the table carry table coordinates, offset by the header.
    const QPoint inTable = table()->viewport()->mapTo(table(), address.center());
    QHoverEvent hover(QEvent::HoverMove, inTable, table()->mapToGlobal(inTable), inTable);
    QCoreApplication::sendEvent(table(), &hover);
    QCOMPARE(m_page->cursor().shape(), Qt::PointingHandCursor);
}

void tst_DeviceDisplayPage::elidedCellShowsItsTextAsToolTip_data()
{
    QTest::addColumn<int>("logical");
    QTest::addColumn<int>("width"); // 0: the start width
    QTest::addColumn<bool>("tip");

    QTest::addRow("serial number in a narrow column") << int(DeviceInfoModel::ColumnSerialNumber) << 60 << true;
    QTest::addRow("software version in a narrow column") << int(DeviceInfoModel::ColumnSoftVersion) << 50 << true;
    QTest::addRow("serial number at its start width") << int(DeviceInfoModel::ColumnSerialNumber) << 0 << false;
    QTest::addRow("short port") << int(DeviceInfoModel::ColumnPort) << 0 << false;
    QTest::addRow("check box") << int(DeviceInfoModel::ColumnCheck) << 0 << false;
}

void tst_DeviceDisplayPage::elidedCellShowsItsTextAsToolTip()
{
    QFETCH(int, logical);
    QFETCH(int, width);
    QFETCH(bool, tip);
    m_page->resize(1200, 400);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    login(1);
    const int column = model()->columnOf(logical);
    if (width > 0)
        table()->setColumnWidth(column, width);
    table()->scrollTo(table()->model()->index(0, column));
    QCoreApplication::processEvents();

    QToolTip::hideText();
    const QRect cellRect = table()->visualRect(table()->model()->index(0, column));
    QVERIFY(!cellRect.isEmpty());
    QHelpEvent help(QEvent::ToolTip, cellRect.center(), table()->viewport()->mapToGlobal(cellRect.center()));
    QApplication::sendEvent(table()->viewport(), &help);
    const QString text = model()->index(0, column).data().toString();
    if (tip) {
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), text);
    } else {
        QVERIFY(!QToolTip::isVisible() || QToolTip::text().isEmpty());
    }
    QToolTip::hideText();
}

void tst_DeviceDisplayPage::headersFitTheirStartWidths()
{
    m_page->resize(1200, 400);
    m_page->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_page.get()));
    QHeaderView *header = table()->header();
    for (int logical = 1; logical < DeviceInfoModel::LogicalColumnCount; ++logical) {
        const int column = model()->columnOf(logical);
        QVERIFY2(header->sectionSize(column) >= header->sectionSizeHint(column),
                 qPrintable(model()->headerData(column, Qt::Horizontal).toString()));
        QVERIFY(header->sectionSize(column) >= DeviceInfoModel::startWidth(logical));
    }
}

void tst_DeviceDisplayPage::checkingWithTheMouse_data()
{
    QTest::addColumn<bool>("batch");
    QTest::addColumn<Clicks>("clicks");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<int>("lastReport");
    QTest::addRow("one at a time: a second click moves the check")
        << false << Clicks{{0, false}, {2, false}} << QList<int>{2} << int(ModifySingle);
    QTest::addRow("one at a time: Shift checks no range")
        << false << Clicks{{0, false}, {3, true}} << QList<int>{0} << int(ModifySingle);
    QTest::addRow("batch: clicks add up")
        << true << Clicks{{0, false}, {2, false}} << QList<int>{0, 2} << int(ModifyBatch);
    QTest::addRow("batch: a second click unchecks")
        << true << Clicks{{0, false}, {2, false}, {0, false}} << QList<int>{2} << int(ModifySingle);
    QTest::addRow("batch: Shift checks the range downwards")
        << true << Clicks{{1, false}, {3, true}} << QList<int>{1, 2, 3} << int(ModifyBatch);
    QTest::addRow("batch: Shift checks the range upwards, others stay")
        << true << Clicks{{4, false}, {3, false}, {1, true}} << QList<int>{1, 2, 3, 4} << int(ModifyBatch);
    QTest::addRow("batch: Shift on the last clicked row checks it alone")
        << true << Clicks{{2, false}, {2, false}, {2, true}} << QList<int>{2} << int(ModifySingle);
}

void tst_DeviceDisplayPage::checkingWithTheMouse()
{
    QFETCH(bool, batch);
    QFETCH(Clicks, clicks);
    QFETCH(QList<int>, checked);
    QFETCH(int, lastReport);
    showWithDevices(5);
    m_page->setBatchOperations(batch);
    for (const auto &[row, shift] : clicks)
        clickRow(row, shift);
    QCOMPARE(checkedViewRows(), checked);
    QVERIFY(m_spy->count() > 0);
    const Report last = report(m_spy->count() - 1);
    QCOMPARE(int(last.first), lastReport);
    QCOMPARE(last.second.size(), checked.size());
    for (qsizetype i = 0; i < checked.size(); ++i)
        QCOMPARE(last.second.at(i).strSerialNumber, serialOf(deviceRecord(checked.at(i) + 1)));
    // The batch buttons are there exactly with batch operations, usable with a checked row.
    for (const char *name : {"m_btnConfigReset", "m_btnExportDeviceInfo", "m_btnConfigExportFile"}) {
        QCOMPARE(button(name)->isVisible(), batch);
        QVERIFY(button(name)->isEnabled());
    }
}

void tst_DeviceDisplayPage::headerCheckBoxChecksAllOrNone()
{
    showWithDevices(3);
    const QStringList idsBefore = viewColumn(DeviceInfoModel::ColumnId);
    // One at a time, the check column's header sorts as any other and checks nothing.
    clickHeaderCheckBox();
    QVERIFY(checkedViewRows().isEmpty());

    m_page->setBatchOperations(true);
    QCOMPARE(m_page->headerCheckState(), Qt::Unchecked);
    m_spy->clear();
    clickHeaderCheckBox();
    QCOMPARE(checkedViewRows(), (QList<int>{0, 1, 2}));
    QCOMPARE(m_page->headerCheckState(), Qt::Checked);
    QCOMPARE(m_spy->count(), 1); // one report for the whole change
    QCOMPARE(report(0).first, ModifyBatch);
    QCOMPARE(report(0).second.size(), 3);

    clickRow(1, false);
    QCOMPARE(m_page->headerCheckState(), Qt::PartiallyChecked);
    // Partly checked: the header checks all.
    clickHeaderCheckBox();
    QCOMPARE(checkedViewRows(), (QList<int>{0, 1, 2}));
    // A device that comes later is unchecked.
    login(4);
    QCOMPARE(m_page->headerCheckState(), Qt::PartiallyChecked);
    clickHeaderCheckBox();
    QCOMPARE(m_page->headerCheckState(), Qt::Checked);
    // All checked: the header unchecks all.
    m_spy->clear();
    clickHeaderCheckBox();
    QVERIFY(checkedViewRows().isEmpty());
    QCOMPARE(m_page->headerCheckState(), Qt::Unchecked);
    QCOMPARE(m_spy->count(), 1);
    QVERIFY(report(0).second.isEmpty());
    // Clicking the check column's header never sorted while checking.
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnId).mid(0, 3), idsBefore);
}

void tst_DeviceDisplayPage::switchingBatchOff_data()
{
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<QList<int>>("after");
    QTest::addRow("none checked") << QList<int>{} << QList<int>{};
    QTest::addRow("one checked stays") << QList<int>{2} << QList<int>{2};
    QTest::addRow("several checked are all unchecked") << QList<int>{0, 3} << QList<int>{};
}

void tst_DeviceDisplayPage::switchingBatchOff()
{
    QFETCH(QList<int>, checked);
    QFETCH(QList<int>, after);
    showWithDevices(4);
    m_page->setBatchOperations(true);
    for (const int row : checked)
        clickRow(row, false);
    m_spy->clear();
    m_page->setBatchOperations(false);
    QCOMPARE(checkedViewRows(), after);
    // The panel hears of a change of the checked rows, and only then.
    QCOMPARE(m_spy->count(), checked == after ? 0 : 1);
    if (m_spy->count() == 1)
        QVERIFY(report(0).second.isEmpty());
    for (const char *name : {"m_btnConfigReset", "m_btnExportDeviceInfo", "m_btnConfigExportFile"})
        QVERIFY2(button(name)->isHidden(), name);
    // Back to one at a time.
    clickRow(1, false);
    clickRow(3, false);
    QCOMPARE(checkedViewRows(), QList<int>{3});
}

void tst_DeviceDisplayPage::keyboardOnTheTable_data()
{
    QTest::addColumn<bool>("batch");
    QTest::addColumn<QList<int>>("checked");
    QTest::addRow("one at a time") << false << QList<int>{2};
    QTest::addRow("batch") << true << QList<int>{0, 2};
}

void tst_DeviceDisplayPage::keyboardOnTheTable()
{
    QFETCH(bool, batch);
    QFETCH(QList<int>, checked);
    VexoTest::UrlCatcher catcher(QStringLiteral("http"));
    showWithDevices(4);
    m_page->setBatchOperations(batch);
    QVERIFY(table()->focusPolicy() & Qt::TabFocus);
    m_page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    table()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(table()->hasFocus());
    QCOMPARE(table()->currentIndex().row(), 0); // focus brings a current row
    QTest::keyClick(table(), Qt::Key_Space);
    QTest::keyClick(table(), Qt::Key_Down);
    QTest::keyClick(table(), Qt::Key_Down);
    QCOMPARE(table()->currentIndex().row(), 2);
    QTest::keyClick(table(), Qt::Key_Space);
    QCOMPARE(checkedViewRows(), checked);
    // Space again unchecks the current row.
    QTest::keyClick(table(), Qt::Key_Space);
    QCOMPARE(checkedViewRows(), checked.mid(0, checked.size() - 1));
    QTest::keyClick(table(), Qt::Key_Up);
    QCOMPARE(table()->currentIndex().row(), 1);

    // Enter asks for the panel and opens no web page, also on the address cell.
    QSignalSpy enter(m_page.get(), &DeviceDisplayPage::signalEnterPressed);
    table()->setCurrentIndex(table()->model()->index(1, model()->columnOf(DeviceInfoModel::ColumnIPv4Address)));
    QTest::keyClick(table(), Qt::Key_Return);
    QCOMPARE(enter.count(), 1);
    QVERIFY(catcher.urls().isEmpty());
}

void tst_DeviceDisplayPage::filterFollowsArrivalsAndDepartures_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QList<int>>("shown"); // after 1 to 5 came, the filter was typed, 6 and 7 came and 2 went
    QTest::addColumn<QString>("count");

    QTest::addRow("address range") << "10.0.0.2-10.0.0.6" << QList<int>{3, 4, 5, 6} << "4 of 6";
    QTest::addRow("network") << "10.0.0.4/30" << QList<int>{4, 5, 6, 7} << "4 of 6";
    QTest::addRow("MAC with other separators") << "00:1A:2B:00:00:06" << QList<int>{6} << "1 of 6";
    QTest::addRow("serial number") << "20260003" << QList<int>{3} << "1 of 6";
    QTest::addRow("nothing matches") << "no such device" << QList<int>{} << "0 of 6";
    QTest::addRow("blank is no filter") << "  " << QList<int>{1, 3, 4, 5, 6, 7} << "6";
}

void tst_DeviceDisplayPage::filterFollowsArrivalsAndDepartures()
{
    QFETCH(QString, filter);
    QFETCH(QList<int>, shown);
    QFETCH(QString, count);
    showWithDevices(5);
    table()->setCurrentIndex(table()->model()->index(2, 0)); // device 3
    filterBox()->setText(filter);
    login(6);
    login(7); // each arrival is judged by its own fields
    logout(deviceRecord(2));
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber), serials(shown));
    QCOMPARE(countLabel(), count);
    if (shown.contains(3)) // the current row stays on its device
        QCOMPARE(table()
                     ->currentIndex()
                     .siblingAtColumn(model()->columnOf(DeviceInfoModel::ColumnSerialNumber))
                     .data()
                     .toString(),
                 serialOf(deviceRecord(3)));
    // The sort order holds under the filter.
    m_page->onSortTable(model()->columnOf(DeviceInfoModel::ColumnId));
    filterBox()->clear();
    QCOMPARE(countLabel(), QStringLiteral("6"));
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber).size(), 6);
}

void tst_DeviceDisplayPage::filterReadsEachRowsOwnDevice()
{
    showWithDevices(8);
    filterBox()->setText(QStringLiteral("10.0.0.1-10.0.0.8"));
    // Scattered devices go together (the rows that stay move up), one changes its address.
    for (const int n : {1, 3, 5})
        m_page->onDeviceLogout(deviceRecord(n));
    QCoreApplication::sendPostedEvents(m_page.get(), QEvent::MetaCall);
    m_page->onDeviceUpdate(deviceRecord(7, "10.0.0.99"));
    // Still shown until the text changes; then it goes though no other row changes.
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber), serials({2, 4, 6, 7, 8}));
    filterBox()->setText(QStringLiteral("10.0.0.0/28"));
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber), serials({2, 4, 6, 8}));
    filterBox()->setText(QStringLiteral("10.0.0.4-10.0.0.8"));
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber), serials({4, 6, 8}));
    filterBox()->setText(QStringLiteral("10.0.0.99"));
    QCOMPARE(viewColumn(DeviceInfoModel::ColumnSerialNumber), serials({7}));
}

void tst_DeviceDisplayPage::filterKeepsChecksAndTellsHidden_data()
{
    QTest::addColumn<bool>("batch");
    QTest::addColumn<QList<int>>("checked");
    QTest::addColumn<QList<int>>("told"); // the devices the panel is told of under the filter
    QTest::addColumn<int>("hidden");

    // The filter shows devices 1 and 2 of 1 to 4.
    QTest::addRow("batch, two hidden") << true << QList<int>{1, 2, 3, 4} << QList<int>{1, 2} << 2;
    QTest::addRow("batch, none hidden") << true << QList<int>{1, 2} << QList<int>{1, 2} << 0;
    QTest::addRow("batch, all hidden") << true << QList<int>{3, 4} << QList<int>{} << 2;
    QTest::addRow("one at a time, hidden") << false << QList<int>{4} << QList<int>{} << 1;
    QTest::addRow("one at a time, shown") << false << QList<int>{2} << QList<int>{2} << 0;
}

void tst_DeviceDisplayPage::filterKeepsChecksAndTellsHidden()
{
    QFETCH(bool, batch);
    QFETCH(QList<int>, checked);
    QFETCH(QList<int>, told);
    QFETCH(int, hidden);
    showWithDevices(4);
    m_page->setBatchOperations(batch);
    for (const int n : checked)
        model()->setCheckState(checkRowOf(n), Qt::Checked);
    m_spy->clear();
    filterBox()->setText(QStringLiteral("10.0.0.1-10.0.0.2"));

    QStringList toldSerials;
    for (const int row : m_page->checkedRows())
        toldSerials << m_page->deviceInfoOfRow(row).strSerialNumber;
    QCOMPARE(toldSerials, serials(told));
    // The panel hears of the change, and only of a change.
    QCOMPARE(m_spy->count(), told == checked ? 0 : 1);
    if (m_spy->count() == 1) {
        QStringList reported;
        for (const DeviceInfo &info : report(0).second)
            reported << info.strSerialNumber;
        QCOMPARE(reported, serials(told));
    }
    QCOMPARE(note("m_labelHiddenChecked"),
             hidden ? DeviceDisplayPage::tr("%n checked rows are hidden by the filter", "", hidden) : QString());
    QCOMPARE(button("m_btnExportDeviceInfo")->isEnabled(), !told.isEmpty());

    filterBox()->clear();
    for (int n = 1; n <= 4; ++n)
        QCOMPARE(model()->checkState(checkRowOf(n)) == Qt::Checked, checked.contains(n));
    QCOMPARE(m_page->checkedRows().size(), checked.size());
    QCOMPARE(note("m_labelHiddenChecked"), QString());
}

void tst_DeviceDisplayPage::filterBoxFromTheKeyboard()
{
    showWithDevices(4);
    m_page->setBatchOperations(true);
    m_page->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_page.get()));
    table()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(table()->hasFocus());
    QTest::keySequence(QApplication::focusWidget(), QKeySequence::Find);
    QTRY_VERIFY(filterBox()->hasFocus());
    QTest::keyClicks(filterBox(), QStringLiteral("10.0.0.3/32"));
    QCOMPARE(countLabel(), QStringLiteral("1 of 4"));
    // Enter goes on to the rows found; Space checks the one shown.
    QTest::keyClick(filterBox(), Qt::Key_Return);
    QVERIFY(table()->hasFocus());
    QTest::keyClick(table(), Qt::Key_Space);
    QCOMPARE(model()->checkState(checkRowOf(3)), Qt::Checked);
    // The header's check box unchecks and checks the rows shown only.
    QCOMPARE(m_page->headerCheckState(), Qt::Checked);
    clickHeaderCheckBox();
    QCOMPARE(model()->checkState(checkRowOf(3)), Qt::Unchecked);
    clickHeaderCheckBox();
    QCOMPARE(model()->checkState(checkRowOf(3)), Qt::Checked);
    // A newcomer the filter hides leaves all rows shown checked.
    login(5);
    QCOMPARE(m_page->headerCheckState(), Qt::Checked);
    // Esc clears the filter, a second Esc goes back to the table.
    QTest::keySequence(table(), QKeySequence::Find);
    QTest::keyClick(filterBox(), Qt::Key_Escape);
    QCOMPARE(filterBox()->text(), QString());
    QCOMPARE(countLabel(), QStringLiteral("5"));
    QCOMPARE(m_page->headerCheckState(), Qt::PartiallyChecked);
    QVERIFY(filterBox()->hasFocus());
    QTest::keyClick(filterBox(), Qt::Key_Escape);
    QVERIFY(table()->hasFocus());
    QCOMPARE(m_page->checkedRows(), QList<int>{model()->rowOf(serialOf(deviceRecord(3)), macOf(deviceRecord(3)))});
}

void tst_DeviceDisplayPage::countLineNamesAddressConflicts_data()
{
    QTest::addColumn<QStringList>("addresses"); // of devices 1, 2, ...
    QTest::addColumn<int>("conflicts");
    QTest::addColumn<int>("afterFirstLeaves");
    QTest::addColumn<int>("afterMove"); // device 2 then moves onto the address of a new device 9

    QTest::addRow("none") << QStringList{"10.1.1.1", "10.1.1.2"} << 0 << 0 << 1;
    QTest::addRow("one pair") << QStringList{"10.1.1.1", "10.1.1.1", "10.1.1.2"} << 1 << 0 << 1;
    QTest::addRow("two pairs") << QStringList{"10.1.1.1", "10.1.1.1", "10.1.1.2", "10.1.1.2"} << 2 << 1 << 2;
    QTest::addRow("three on one") << QStringList{"10.1.1.1", "10.1.1.1", "10.1.1.1"} << 1 << 1 << 1;
    QTest::addRow("no addresses yet") << QStringList{"0.0.0.0", "0.0.0.0"} << 0 << 0 << 1;
}

void tst_DeviceDisplayPage::countLineNamesAddressConflicts()
{
    QFETCH(QStringList, addresses);
    QFETCH(int, conflicts);
    QFETCH(int, afterFirstLeaves);
    QFETCH(int, afterMove);
    const auto expected = [](int n) {
        return n ? DeviceDisplayPage::tr("%n address conflicts", "", n) : QString();
    };
    for (int i = 0; i < addresses.size(); ++i)
        m_page->onDeviceLogin(deviceRecord(i + 1, addresses.at(i).toLatin1()));
    QCOMPARE(note("m_labelConflicts"), expected(conflicts));
    QCOMPARE(countLabel(), QString::number(addresses.size())); // the count keeps its wording
    logout(deviceRecord(1));
    QCOMPARE(note("m_labelConflicts"), expected(afterFirstLeaves));
    // A device moving onto another's address.
    m_page->onDeviceLogin(deviceRecord(9, "10.1.1.9"));
    m_page->onDeviceUpdate(deviceRecord(2, "10.1.1.9"));
    QCOMPARE(note("m_labelConflicts"), expected(afterMove));
}

void tst_DeviceDisplayPage::filterHintForRangesTypedWrongly()
{
    showWithDevices(4);
    QTest::keyClicks(filterBox(), QStringLiteral("10.0.0.1-3"));
    QCOMPARE(countLabel(), QStringLiteral("0 of 4"));
    QVERIFY2(note("m_labelFilterHint").contains(QStringLiteral("192.168.1.10-192.168.1.50")),
             qPrintable(note("m_labelFilterHint")));
    // Typed on to a whole range, the hint goes.
    QTest::keyClicks(filterBox(), QStringLiteral("0.0.0.3"));
    QCOMPARE(filterBox()->text(), QStringLiteral("10.0.0.1-30.0.0.3"));
    QCOMPARE(note("m_labelFilterHint"), QString());
    filterBox()->setText(QStringLiteral("10.0.0.0/33"));
    QVERIFY(note("m_labelFilterHint").contains(QStringLiteral("192.168.1.0/24")));
    filterBox()->setText(QStringLiteral("10.0.0.0/30"));
    QCOMPARE(note("m_labelFilterHint"), QString());
    QCOMPARE(countLabel(), QStringLiteral("3 of 4"));
}

void tst_DeviceDisplayPage::noBrowserGivesTheAddressToCopy()
{
    // No URL handler: the offscreen platform opens nothing, as a computer without a browser.
    login(1);
    QString shown;
    QTimer::singleShot(0, this, [&shown] {
        auto *message = qobject_cast<aptui::LinkMessageBox *>(QApplication::activeModalWidget());
        if (!message)
            return;
        shown = message->text();
        message->findChild<QPushButton *>(QStringLiteral("m_btnCopyAddress"))->click();
    });
    QGuiApplication::clipboard()->clear();
    m_page->onDoubleClickAction(table()->model()->index(0, model()->columnOf(DeviceInfoModel::ColumnIPv4Address)));
    QVERIFY2(shown.endsWith(QStringLiteral("http://10.0.0.1:80")), qPrintable(shown));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("http://10.0.0.1:80"));
}

void tst_DeviceDisplayPage::shippedColumnOrderShowsTheAddressAtOnce()
{
    // A new user reads the shipped file. The address shows in the first 400 pixels: well inside the
    // list of a 1024 x 600 window in either language, with the panel beside it.
    const QString shipped = qEnvironmentVariable("VEXO_SOURCE_DIR") + QStringLiteral("/devicelist/ColumnConfig.xml");
    const QString userCopy = m_dir->filePath(QStringLiteral("user/ColumnConfig.xml"));
    DeviceDisplayPage page(m_store.get(), m_discovery.get(), nullptr, UserWritableFile(shipped, userCopy));
    page.resize(400, 300);
    page.show();
    QVERIFY(QTest::qWaitForWindowExposed(&page));
    auto *view = page.findChild<aKLOGUIToolkit::CTableView *>(QStringLiteral("m_tableViewVexo"));
    const int column = page.model()->columnOf(DeviceInfoModel::ColumnIPv4Address);
    QHeaderView *header = view->header();
    QVERIFY2(header->sectionViewportPosition(column) + header->sectionSize(column) <= view->viewport()->width(),
             qPrintable(QString::number(header->sectionViewportPosition(column))));
    QVERIFY(!QFile::exists(userCopy)); // reading changes nothing of the user's
}

// A camera becomes one with a snapshot in place (identified after a sign-in, its row changed, not
// added): the snapshot view asks for its thumbnail without a scroll.
void tst_DeviceDisplayPage::snapshotViewAsksForRowsChangedInPlace()
{
    struct Source : VexoTool::SnapshotSource
    {
        QString withSnapshot; // the serial number of the one camera that has a snapshot now
        QStringList asked;
        bool available(const DeviceInfo &device) const override { return device.strSerialNumber == withSnapshot; }
        void take(const DeviceInfo &device, QSize, QObject *, const Callback &) override
        {
            asked.append(device.strSerialNumber);
        }
    };
    auto source = std::make_shared<Source>();
    m_page->setSnapshotSource(source);
    showWithDevices(3);
    m_page->setSnapshotView(true);
    QTest::qWait(300);
    QVERIFY(source->asked.isEmpty());

    VEXO_DEVICE_INFO record = deviceRecord(2);
    source->withSnapshot = serialOf(record);
    setFieldText(record.softwareVersion, QByteArray("V5.8.0"));
    m_page->onDeviceUpdate(record);
    QTRY_COMPARE(source->asked, QStringList{serialOf(record)});
}

QTEST_MAIN(tst_DeviceDisplayPage)

#include "tst_devicedisplaypage.moc"

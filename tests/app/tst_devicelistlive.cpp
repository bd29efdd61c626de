// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalresponder.h"
#include "simclient.h"
#include "simulatorprocess.h"
#include "urlcatcher.h"
#include "workbookreaders.h"

#include <vexotoolmainpage.h>

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <devicesinfosavepage.h>
#include <devicestore.h>
#include <recoveryfiles.h>
#include <resetpasswordwidget.h>
#include <vexohandler.h>
#include <vexolibrary.h>

#include <configuremanager.h>
#include <menu.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QAction>
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QProgressDialog>
#include <QScopeGuard>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include <cstring>

// The whole chain on loopback: simulated devices, the discovery library, the service's
// signals across threads, the main window's connections and the device list.
class TestDeviceListLive : public QObject
{
    Q_OBJECT

private slots:
    void listFollowsSimulatedDevices();
    void activateThenModifyThroughTheWindow();
    void batchReaddressingThroughTheWindow();
    void batchButtonsThroughTheWindow();
};

namespace {

// A settings file for the window with batch operations as given.
bool loadSetup(const QString &path, bool batchOperations)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- settings -->\n<Setup>\n"
               "    <Translator>\n        <Value>0</Value>\n    </Translator>\n"
               "    <BatchOperations>\n        <Value>"
               + QByteArray(batchOperations ? "1" : "0") + "</Value>\n    </BatchOperations>\n</Setup>\n");
    file.close();
    return apt::ConfigureManager::GetInstance()->load(path);
}

// The text of the "Value" of @p key in the settings file @p path, or "<none>".
QString settingInFile(const QString &path, const QString &key)
{
    QFile file(path);
    QDomDocument document;
    if (!file.open(QIODevice::ReadOnly) || !document.setContent(&file))
        return QStringLiteral("<unreadable>");
    const QDomElement setting = document.documentElement().firstChildElement(key);
    return setting.isNull() ? QStringLiteral("<none>") : setting.firstChildElement(QStringLiteral("Value")).text();
}

// Starts @p simulator for the next window; messages close themselves.
bool startForWindow(SimulatorProcess &simulator, const QStringList &arguments)
{
    if (!simulator.start(arguments))
        return false;
    qputenv("VEXO_PORT", QByteArray::number(simulator.port()));
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(100));
    return true;
}

} // namespace

void TestDeviceListLive::listFollowsSimulatedDevices()
{
    QCOMPARE(qgetenv("VEXO_SCOPE"), QByteArray("loopback"));
    SimulatorProcess simulator;
    QVERIFY(simulator.start(
        {QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("11")}));
    qputenv("VEXO_PORT", QByteArray::number(simulator.port()));
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");

    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    VexoTool::VEXOToolMainPage window(&store, &discovery);
    window.resize(1280, 768);
    window.show();
    window.onMovePinButtion();

    VexoTool::DeviceDisplayPage *page = window.deviceDisplayPage();
    auto *countLabel = page->findChild<QLabel *>(QStringLiteral("m_labelDeviceCountValue"));
    QVERIFY(countLabel);
    QTRY_COMPARE_WITH_TIMEOUT(page->model()->rowCount(), 6, 20000);
    QCOMPARE(countLabel->text(), QStringLiteral("6"));

    const QString serial = page->deviceInfoOfRow(2).strSerialNumber;
    QVERIFY(!serial.isEmpty());
    QCOMPARE(simulator.commandResult(QStringLiteral("stop ") + serial), QStringLiteral("ok"));

    QTRY_COMPARE_WITH_TIMEOUT(page->model()->rowCount(), 5, 20000);
    QCOMPARE(countLabel->text(), QStringLiteral("5"));
    for (int row = 0; row < page->model()->rowCount(); ++row)
        QVERIFY(page->deviceInfoOfRow(row).strSerialNumber != serial);
}

void TestDeviceListLive::activateThenModifyThroughTheWindow()
{
    SimulatorProcess simulator;
    QVERIFY(startForWindow(
        simulator, {QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("12")}));

    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    VexoTool::VEXOToolMainPage window(&store, &discovery);
    window.resize(1280, 768);
    window.show();
    VexoTool::DeviceDisplayPage *page = window.deviceDisplayPage();
    VexoTool::DeviceModifyPage *panel = window.deviceModifyPage();
    VexoTool::DeviceInfoModel *model = page->model();
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 6, 20000);

    int row = -1;
    for (int r = 0; r < model->rowCount() && row < 0; ++r) {
        const DeviceInfo info = page->deviceInfoOfRow(r);
        VEXO_DEVICE_INFO record{};
        if (store.get(info.strSerialNumber, info.strMAC, record) && record.inactive)
            row = r;
    }
    QVERIFY(row >= 0);
    const DeviceInfo device = page->deviceInfoOfRow(row);
    auto field = [panel](const char *name) {
        return panel->findChild<aptui::MultiStateLineEdit *>(name);
    };
    auto button = [panel](const char *name) {
        return panel->findChild<QPushButton *>(name);
    };

    // Checking the row offers activation; activating turns the panel into the network form.
    model->setCheckState(row, Qt::Checked);
    QVERIFY(button("m_btnActive")->isVisible());
    field("m_lineEditNewPassword")->setText(QStringLiteral("First2026pass"));
    field("m_lineEditConfirmPassword")->setText(QStringLiteral("First2026pass"));
    button("m_btnActive")->click();
    // The activation runs beside the window; the panel turns when its result is in.
    QTRY_VERIFY(button("m_btnModify")->isVisible());
    QCOMPARE(field("m_lineEditSerialNumber")->text(), device.strSerialNumber);
    QTRY_COMPARE(model->text(row, VexoTool::DeviceInfoModel::ColumnActivate), QStringLiteral("Activated"));

    // With the new password the device takes a new address, and its row shows it.
    field("m_lineEditIpAddress")->setText(QStringLiteral("10.90.0.7"));
    field("m_lineEditGateway")->setText(QStringLiteral("10.90.0.1")); // a gateway of the new subnet
    field("m_lineEditAdminPassword")->setText(QStringLiteral("First2026pass"));
    button("m_btnModify")->click();
    QTRY_COMPARE(page->deviceInfoOfRow(row).strIPv4Address, QStringLiteral("10.90.0.7"));
    QVERIFY(!window.isCovered());
}

void TestDeviceListLive::batchReaddressingThroughTheWindow()
{
    QTemporaryDir dir;
    const QString setup = dir.filePath(QStringLiteral("Setup.xml"));
    {
        QFile file(setup);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- settings -->\n<Setup>\n"
                   "    <Translator>\n        <Value>0</Value>\n    </Translator>\n"
                   "    <BatchOperations>\n        <Value>0</Value>\n    </BatchOperations>\n</Setup>\n");
    }
    QVERIFY(apt::ConfigureManager::GetInstance()->load(setup));

    SimulatorProcess simulator;
    QVERIFY(startForWindow(simulator, {QStringLiteral("--count"), QStringLiteral("12"), QStringLiteral("--seed"),
                                       QStringLiteral("21"), QStringLiteral("--test-mode")}));

    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    VexoTool::VEXOToolMainPage window(&store, &discovery);
    window.resize(1280, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    VexoTool::DeviceDisplayPage *page = window.deviceDisplayPage();
    VexoTool::DeviceModifyPage *panel = window.deviceModifyPage();
    VexoTool::DeviceInfoModel *model = page->model();
    auto *table = page->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"));
    QVERIFY(table);
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 12, 20000);
    QVERIFY(!page->batchOperations());
    QVERIFY(page->findChild<QPushButton *>(QStringLiteral("m_btnConfigExportFile"))->isHidden());

    // Batch operations on through the title's menu; the choice lands in Setup.xml.
    QTest::mouseClick(window.findChild<QToolButton *>(QStringLiteral("m_btnSystemMenu")), Qt::LeftButton);
    aptui::Menu *menu = window.aboutMenu();
    QTRY_VERIFY(menu->isVisible());
    QAction *batch = window.batchOperationsAction();
    QVERIFY(batch->isCheckable() && !batch->isChecked());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(batch).center());
    QVERIFY(batch->isChecked());
    QVERIFY(page->batchOperations());
    QVERIFY(page->findChild<QPushButton *>(QStringLiteral("m_btnConfigExportFile"))->isVisible());
    QCOMPARE(settingInFile(setup, QStringLiteral("BatchOperations")), QStringLiteral("1"));
    QCOMPARE(settingInFile(setup, QStringLiteral("Translator")), QStringLiteral("0"));

    // Sorted by serial number, three neighbouring activated devices, one of them no camera (so
    // that the start address applies to the batch).
    table->header()->setSortIndicator(model->columnOf(VexoTool::DeviceInfoModel::ColumnSerialNumber),
                                      Qt::AscendingOrder);
    page->onSortTable(model->columnOf(VexoTool::DeviceInfoModel::ColumnSerialNumber));
    const QAbstractItemModel *view = table->model();
    const auto recordOfViewRow = [&](int row) {
        const DeviceInfo info = page->deviceInfoOfRow(
            static_cast<const QSortFilterProxyModel *>(view)->mapToSource(view->index(row, 0)).row());
        VEXO_DEVICE_INFO record{};
        store.get(info.strSerialNumber, info.strMAC, record);
        return record;
    };
    int first = -1;
    for (int row = 0; row + 2 < view->rowCount() && first < 0; ++row) {
        bool activated = true;
        bool recorder = false;
        for (int r = row; r < row + 3; ++r) {
            const VEXO_DEVICE_INFO record = recordOfViewRow(r);
            activated = activated && record.inactive == 0;
            recorder = recorder || record.deviceTypeCode < 0x9D00 || record.deviceTypeCode > 0x9FFF;
        }
        if (activated && recorder)
            first = row;
    }
    QVERIFY2(first >= 0,
             "the simulated population has no three neighbouring activated devices with a recorder among them");
    QStringList serials;
    for (int r = first; r < first + 3; ++r)
        serials << QString::fromLatin1(recordOfViewRow(r).serialNumber);

    // A click on the first one's check box, Shift with a click on the third one.
    const auto cellCentre = [&](int row, int logical) {
        return table->visualRect(view->index(row, model->columnOf(logical))).center();
    };
    const QRect checkCell
        = table->visualRect(view->index(first, model->columnOf(VexoTool::DeviceInfoModel::ColumnCheck)));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(checkCell.left() + 10, checkCell.center().y()));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      cellCentre(first + 2, VexoTool::DeviceInfoModel::ColumnIPv4Address));
    QCOMPARE(page->checkedRows().size(), 3);

    auto field = [panel](const char *name) {
        return panel->findChild<aptui::MultiStateLineEdit *>(name);
    };
    QTRY_VERIFY(field("m_lineEditStartIp")->isVisible());
    QVERIFY(field("m_lineEditStartIp")->isEnabled());
    field("m_lineEditStartIp")->setText(QStringLiteral("10.77.0.20"));
    if (field("m_lineEditSubnetMask")->isEnabled())
        field("m_lineEditSubnetMask")->setText(QStringLiteral("255.255.0.0"));
    if (field("m_lineEditGateway")->isEnabled())
        field("m_lineEditGateway")->setText(QStringLiteral("10.77.0.1"));
    field("m_lineEditAdminPassword")->setText(QStringLiteral("Admin12345"));
    // The batch's progress comes first; the result list after it, which is closed.
    bool listShown = false;
    QTimer closer;
    closer.setInterval(5);
    QObject::connect(&closer, &QTimer::timeout, &window, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible() && !qobject_cast<QProgressDialog *>(modal)) {
            listShown = true;
            closer.stop();
            modal->close();
        }
    });
    closer.start();
    panel->findChild<QPushButton *>(QStringLiteral("m_btnModify"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(listShown, 20000);

    // Each device took its address, numbered from the start address in the order of the list.
    SimClient client(simulator.port());
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const auto announced = client.inquire(12);
            int right = 0;
            for (const vxdp::Announce &a : announced) {
                const qsizetype index = serials.indexOf(QString::fromStdString(a.device.serial));
                if (index >= 0 && a.device.ipv4 == std::array<std::uint8_t, 4>{10, 77, 0, std::uint8_t(20 + index)})
                    ++right;
            }
            return right == 3;
        }(),
        20000);
    QVERIFY(!window.isCovered());
}

void TestDeviceListLive::batchButtonsThroughTheWindow()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(loadSetup(dir.filePath(QStringLiteral("Setup.xml")), true));
    // The batch folder lies in the home folder: never the real one.
    const QByteArray home = qgetenv("HOME");
    qputenv("HOME", dir.path().toLocal8Bit());
    const auto restoreHome = qScopeGuard([home] { qputenv("HOME", home); });
    QCOMPARE(VexoTool::batchFolder(), dir.filePath(QStringLiteral("VexoReset")));

    SimulatorProcess simulator;
    QVERIFY(startForWindow(
        simulator, {QStringLiteral("--count"), QStringLiteral("6"), QStringLiteral("--seed"), QStringLiteral("31")}));
    VexoTest::UrlCatcher urls(QStringLiteral("file"));

    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    VexoTool::VEXOToolMainPage window(&store, &discovery);
    window.resize(1280, 768);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    VexoTool::DeviceDisplayPage *page = window.deviceDisplayPage();
    VexoTool::DeviceInfoModel *model = page->model();
    auto *table = page->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"));
    QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 6, 20000);
    QVERIFY(page->batchOperations());

    // Two activated devices that can export their key, ticked by clicks on their check boxes.
    QStringList serials;
    QHash<QString, QString> macs;
    const auto *view = static_cast<const QSortFilterProxyModel *>(table->model());
    for (int row = 0; row < view->rowCount() && serials.size() < 2; ++row) {
        const DeviceInfo info = page->deviceInfoOfRow(view->mapToSource(view->index(row, 0)).row());
        VEXO_DEVICE_INFO record{};
        if (store.get(info.strSerialNumber, info.strMAC, record) && !record.inactive
            && (record.capabilityFlags & VEXO_CAP_KEY_RESET)) {
            serials << info.strSerialNumber;
            macs.insert(info.strSerialNumber, info.strMAC);
            const QRect cell
                = table->visualRect(view->index(row, model->columnOf(VexoTool::DeviceInfoModel::ColumnCheck)));
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
        }
    }
    QVERIFY2(serials.size() == 2, "the simulated population has no two activated devices with key reset");
    QCOMPARE(page->checkedRows().size(), 2);
    const auto button = [page](const char *name) {
        return page->findChild<QPushButton *>(QLatin1String(name));
    };
    VexoTest::ModalResponder responder;

    // Export: a workbook of the ticked devices only.
    responder.onOtherModal([&dir](QWidget *modal) {
        if (!qobject_cast<VexoTool::DevicesInfoSavePage *>(modal))
            return;
        modal->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditFilename"))
            ->setText(QStringLiteral("ticked"));
        modal->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditFilepath"))->setText(dir.path());
        modal->findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();
    });
    QTest::mouseClick(button("m_btnExportDeviceInfo"), Qt::LeftButton);
    const QString workbook = dir.filePath(QStringLiteral("ticked.xls"));
    const VexoTest::ReadResult read = VexoTest::readWithFreeXl({workbook});
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    const QList<VexoTest::ReadSheet> sheets = read.workbooks.value(workbook);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets.first().rows.size(), 3); // the header and the two ticked devices
    QStringList exported;
    for (const QStringList &cells : sheets.first().rows.mid(1)) {
        for (const QString &cell : cells) {
            if (serials.contains(cell))
                exported << cell;
        }
    }
    QCOMPARE(exported, serials);

    // Export Keys: one key file per ticked device in the batch folder, and nothing else.
    responder.onOtherModal({});
    responder.clearMessages();
    responder.pressInLinkMessages(QStringLiteral("m_btnOpenFolder"));
    QTest::mouseClick(button("m_btnConfigExportFile"), Qt::LeftButton);
    QCOMPARE(responder.messages(), QStringList{QStringLiteral("Key files written: 2\nFolder: ")
                                               + QDir::toNativeSeparators(VexoTool::batchFolder())});
    QCOMPARE(urls.urls(), QList<QUrl>{QUrl::fromLocalFile(VexoTool::batchFolder())});
    const QDir batch(VexoTool::batchFolder());
    QCOMPARE(batch.entryList(QDir::Files).size(), 2);

    // The maker's service turns each key file into a reset file; Batch Reset applies them.
    QTemporaryDir resets;
    QVERIFY(resets.isValid());
    for (const QString &serial : std::as_const(serials)) {
        const QStringList keyFiles = batch.entryList({serial + QStringLiteral("-*.txt")}, QDir::Files);
        QCOMPARE(keyFiles.size(), 1);
        const QString resetFile
            = QDir(resets.path()).filePath(VexoTool::keyFileName(serial, QDateTime::currentDateTime()));
        QVERIFY(!runKeyService({QStringLiteral("reset"), QStringLiteral("--key-file"), batch.filePath(keyFiles.first()),
                                QStringLiteral("--out-file"), resetFile})
                     .isNull());
    }
    const QString newPassword = QStringLiteral("Batch#Reset2026");
    responder.onOtherModal([&resets, newPassword](QWidget *modal) {
        if (!qobject_cast<VexoTool::ResetPasswordWidget *>(modal))
            return;
        const auto edit = [modal](const char *name) {
            return modal->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
        };
        edit("m_lineEditFilePath")->setText(resets.path() + QLatin1Char('/'));
        edit("m_lineEditNewPassword")->setText(newPassword);
        edit("m_lineEditConfirmPassword")->setText(newPassword);
        modal->findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();
    });
    responder.clearMessages();
    QTest::mouseClick(button("m_btnConfigReset"), Qt::LeftButton);
    QCOMPARE(responder.messages(), QStringList{QStringLiteral("Passwords reset: 2")});
    QVERIFY(!QFile::exists(VexoTool::batchFilePath(QStringLiteral("in_error.txt"))));
    // Each device now takes the new password for a change of its own values.
    for (const QString &serial : std::as_const(serials)) {
        VEXO_DEVICE_INFO record{};
        DeviceNetParam param{};
        QVERIFY(store.get(serial, macs.value(serial), record));
        QVERIFY(store.getNetParams(serial, macs.value(serial), param));
        if (!(record.capabilityFlags & VEXO_CAP_MOD_IPV6)) {
            std::memset(param.ipv6Address, 0, sizeof param.ipv6Address);
            std::memset(param.ipv6Gateway, 0, sizeof param.ipv6Gateway);
        }
        QVERIFY2(discovery.modifyDeviceNetParam(QByteArray(record.macAddress), newPassword.toLatin1(), param),
                 qPrintable(serial));
    }
    QVERIFY(!window.isCovered());
}

QTEST_MAIN(TestDeviceListLive)

#include "tst_devicelistlive.moc"

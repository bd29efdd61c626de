// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicerecords.h"
#include "fakevexo.h"
#include "workbookreaders.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicesinfosavepage.h>
#include <devicestore.h>
#include <folderpath.h>
#include <modalwatcher.h>
#include <vexohandler.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

using VexoTool::DevicesInfoSavePage;
using VexoTool::WarningDialog;

namespace {

// Records the text of every message box and closes it, so the dialog under test goes on.
class MessageCatcher : public QObject
{
public:
    MessageCatcher()
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *message = qobject_cast<WarningDialog *>(QApplication::activeModalWidget());
            if (!message || !message->isVisible() || message == m_last)
                return;
            m_last = message;
            const auto *text = message->findChild<QLabel *>(QStringLiteral("m_labelWarnText"));
            m_texts.append(text ? text->text() : QString());
            message->close();
        });
        m_timer.start();
    }
    QStringList texts() const { return m_texts; }

private:
    QTimer m_timer;
    QStringList m_texts;
    QPointer<WarningDialog> m_last;
};

std::unique_ptr<QStandardItemModel> deviceTable()
{
    auto model = std::make_unique<QStandardItemModel>(3, 4);
    model->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("ID"), QStringLiteral("Device Type"), QStringLiteral("Serial Number")});
    for (int row = 0; row < 3; ++row) {
        model->setItem(row, 1, new QStandardItem(QStringLiteral("%1").arg(row + 1, 3, 10, QLatin1Char('0'))));
        model->setItem(row, 2, new QStandardItem(QStringLiteral("网络摄像机 %1").arg(row + 1)));
        model->setItem(row, 3, new QStandardItem(QStringLiteral("VX-IPC-%1").arg(row + 1)));
    }
    return model;
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class tst_DevicesInfoSavePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void formAtStart();
    void checksBeforeSaving_data();
    void checksBeforeSaving();
    void typedFolderIsRemembered_data();
    void typedFolderIsRemembered();
    void fileNameTakesAtMost32Characters();
    void folderChosenWithTheButton();
    void clickingAFieldClearsItsError_data();
    void clickingAFieldClearsItsError();
    void savedWorkbookHoldsTheGivenRows();
    void listPageExportsTheCheckedRow();

private:
    DevicesInfoSavePage *dialog() const { return m_dialog.get(); }
    aptui::MultiStateLineEdit *field(const char *name) const
    {
        return m_dialog->findChild<aptui::MultiStateLineEdit *>(QLatin1String(name));
    }
    QLabel *label(const char *name) const { return m_dialog->findChild<QLabel *>(QLatin1String(name)); }
    QString folder() const { return m_dir->path() + QLatin1Char('/'); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QStandardItemModel> m_model;
    std::unique_ptr<DevicesInfoSavePage> m_dialog;
    std::unique_ptr<MessageCatcher> m_messages;
};

void tst_DevicesInfoSavePage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(2000));
}

void tst_DevicesInfoSavePage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_model = deviceTable();
    m_dialog = std::make_unique<DevicesInfoSavePage>(m_model.get(), QList<int>{2, 0});
    m_messages = std::make_unique<MessageCatcher>();
}

void tst_DevicesInfoSavePage::cleanup()
{
    m_messages.reset();
    m_dialog.reset();
    m_model.reset();
    m_dir.reset();
}

void tst_DevicesInfoSavePage::formAtStart()
{
    QCOMPARE(dialog()->windowTitle(), QStringLiteral("Export"));
    QCOMPARE(dialog()->size(), QSize(510, 362));
    QVERIFY(dialog()->findChild<QWidget *>(QStringLiteral("DevicesInfoSavePage")));
    QCOMPARE(label("m_labelFileName")->text(), QStringLiteral("File name:"));
    QCOMPARE(label("m_labelFilepath")->text(), QStringLiteral("File path:"));
    QVERIFY(dialog()->findChild<QToolButton *>(QStringLiteral("m_btnFilepath")));
    dialog()->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog()));
    QCOMPARE(QApplication::focusWidget(), field("m_lineEditFilename"));
}

void tst_DevicesInfoSavePage::checksBeforeSaving_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("typedFolder"); // "<tmp>" stands for the test's folder
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("markedField");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QStringList>("filesAfter");
    const QStringList existing{QStringLiteral("devices.xls")};
    QTest::addRow("no file name") << ""
                                  << "<tmp>"
                                  << "Please input file name."
                                  << "m_lineEditFilename" << false << existing;
    QTest::addRow("no name and no folder") << ""
                                           << ""
                                           << "Please input file name."
                                           << "m_lineEditFilename" << false << existing;
    QTest::addRow("no folder") << "sites"
                               << ""
                               << "Please input file path."
                               << "m_lineEditFilepath" << false << existing;
    QTest::addRow("file exists") << "devices"
                                 << "<tmp>"
                                 << "The file name has been used, please change it"
                                 << "" << false << existing;
    QTest::addRow("saved") << "sites"
                           << "<tmp>"
                           << "Saving succeed."
                           << "" << true << QStringList{"devices.xls", "sites.xls"};
    QTest::addRow("saved under a Chinese name") << "设备清单"
                                                << "<tmp>"
                                                << "Saving succeed."
                                                << "" << true << QStringList{"devices.xls", "设备清单.xls"};
    QTest::addRow("folder missing") << "sites"
                                    << "<tmp>/missing"
                                    << "Saving failed."
                                    << "" << false << existing;
    QTest::addRow("name no sheet can have") << "sites[1]"
                                            << "<tmp>"
                                            << "Saving failed."
                                            << "" << false << existing;
}

void tst_DevicesInfoSavePage::checksBeforeSaving()
{
    QFETCH(QString, fileName);
    QFETCH(QString, typedFolder);
    QFETCH(QString, message);
    QFETCH(QString, markedField);
    QFETCH(bool, closes);
    QFETCH(QStringList, filesAfter);
    QFile existing(m_dir->filePath(QStringLiteral("devices.xls")));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();

    field("m_lineEditFilename")->setText(fileName);
    field("m_lineEditFilepath")->setText(QString(typedFolder).replace(QLatin1String("<tmp>"), m_dir->path()));
    QSignalSpy accepted(dialog(), &QDialog::accepted);
    dialog()->show();
    dialog()->findChild<QPushButton *>(QStringLiteral("btnConfirm"))->click();

    QCOMPARE(m_messages->texts(), QStringList{message});
    QCOMPARE(accepted.count(), closes ? 1 : 0);
    QCOMPARE(dialog()->isVisible(), !closes);
    for (const char *name : {"m_lineEditFilename", "m_lineEditFilepath"}) {
        const bool marked = markedField == QLatin1String(name);
        QCOMPARE(field(name)->lineEditState(),
                 marked ? aptui::MultiStateLineEdit::ERROR : aptui::MultiStateLineEdit::NORMAL);
    }
    // Nothing is written unless the export succeeded, not even a part of a workbook.
    QCOMPARE(folderEntries(m_dir->path()), filesAfter);
}

void tst_DevicesInfoSavePage::typedFolderIsRemembered_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("subFolder");
    QTest::addRow("refused: no file name") << ""
                                           << "a";
    QTest::addRow("refused: file exists") << "devices"
                                          << "b";
    QTest::addRow("export failed") << "devices"
                                   << "missing";
    QTest::addRow("saved") << "sites"
                           << "c";
}

void tst_DevicesInfoSavePage::typedFolderIsRemembered()
{
    QFETCH(QString, fileName);
    QFETCH(QString, subFolder);
    const QString typed = m_dir->filePath(subFolder);
    if (subFolder != QLatin1String("missing"))
        QVERIFY(QDir().mkpath(typed));
    QFile existing(typed + QLatin1String("/devices.xls"));
    if (subFolder == QLatin1String("b")) {
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
    }
    field("m_lineEditFilename")->setText(fileName);
    field("m_lineEditFilepath")->setText(typed);
    dialog()->onSaveDevicesInfo();
    QCOMPARE(m_messages->texts().size(), 1);

    // Every later dialog offers the folder; an empty field does not replace it.
    DevicesInfoSavePage next(m_model.get(), {});
    auto *nextFolder = next.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditFilepath"));
    QCOMPARE(nextFolder->text(), typed);
    nextFolder->clear();
    next.onSaveDevicesInfo();
    DevicesInfoSavePage third(m_model.get(), {});
    QCOMPARE(third.findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditFilepath"))->text(), typed);
}

void tst_DevicesInfoSavePage::fileNameTakesAtMost32Characters()
{
    aptui::MultiStateLineEdit *name = field("m_lineEditFilename");
    dialog()->show();
    QVERIFY(QTest::qWaitForWindowActive(dialog()));
    QTest::keyClicks(name, QString(33, u'd'));
    QCOMPARE(name->text(), QString(32, u'd'));
    field("m_lineEditFilepath")->setText(m_dir->path());
    dialog()->onSaveDevicesInfo();
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Saving succeed.")});
    QCOMPARE(folderEntries(m_dir->path()), QStringList{QString(32, u'd') + QLatin1String(".xls")});
}

void tst_DevicesInfoSavePage::folderChosenWithTheButton()
{
    const QString chosen = m_dir->filePath(QStringLiteral("chosen"));
    QVERIFY(QDir().mkpath(chosen));
    VexoTest::whenModal([chosen](QWidget *modal) {
        auto *chooser = qobject_cast<QFileDialog *>(modal);
        if (!chooser) {
            modal->close(); // the field check below fails
            return;
        }
        chooser->selectFile(chosen);               // replaces a remembered folder that no longer exists
        static_cast<QDialog *>(chooser)->accept(); // public in QDialog
    });
    dialog()->findChild<QToolButton *>(QStringLiteral("m_btnFilepath"))->click();
    // One separator of this platform, so the folder and the name make a path here.
    QCOMPARE(field("m_lineEditFilepath")->text(), aptui::folderFieldText(chosen));
    field("m_lineEditFilename")->setText(QStringLiteral("devices"));
    dialog()->onSaveDevicesInfo();
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Saving succeed.")});
    QCOMPARE(folderEntries(chosen), QStringList{QStringLiteral("devices.xls")});
}

void tst_DevicesInfoSavePage::clickingAFieldClearsItsError_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("cleared");
    QTest::addRow("name field clicked") << ""
                                        << "m_lineEditFilename" << true;
    QTest::addRow("other field clicked") << ""
                                         << "m_lineEditFilepath" << false;
    QTest::addRow("folder field clicked") << "devices"
                                          << "m_lineEditFilepath" << true;
}

void tst_DevicesInfoSavePage::clickingAFieldClearsItsError()
{
    QFETCH(QString, fileName);
    QFETCH(QString, clicked);
    QFETCH(bool, cleared);
    field("m_lineEditFilename")->setText(fileName);
    field("m_lineEditFilepath")->clear();
    dialog()->show();
    dialog()->onSaveDevicesInfo();
    const char *marked = fileName.isEmpty() ? "m_lineEditFilename" : "m_lineEditFilepath";
    QCOMPARE(field(marked)->lineEditState(), aptui::MultiStateLineEdit::ERROR);
    QTest::mouseClick(field(qPrintable(clicked)), Qt::LeftButton);
    QCOMPARE(field(marked)->lineEditState(),
             cleared ? aptui::MultiStateLineEdit::NORMAL : aptui::MultiStateLineEdit::ERROR);
    dialog()->onClearWarningInfo();
    QCOMPARE(field(marked)->lineEditState(), aptui::MultiStateLineEdit::NORMAL);
}

void tst_DevicesInfoSavePage::savedWorkbookHoldsTheGivenRows()
{
    field("m_lineEditFilename")->setText(QStringLiteral("devices"));
    field("m_lineEditFilepath")->setText(m_dir->path());
    dialog()->onSaveDevicesInfo();
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Saving succeed.")});
    const QString path = m_dir->filePath(QStringLiteral("devices.xls"));
    const VexoTest::ReadResult read = VexoTest::readWithFreeXl({path});
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    const QList<VexoTest::ReadSheet> sheets = read.workbooks.value(path);
    QCOMPARE(sheets.size(), 1);
    QCOMPARE(sheets.first().name, QStringLiteral("devices"));
    const QList<QStringList> expected{{"ID", "Device Type", "Device Serial Number"},
                                      {"003", "网络摄像机 3", "VX-IPC-3"},
                                      {"001", "网络摄像机 1", "VX-IPC-1"}};
    QCOMPARE(sheets.first().rows, expected);
}

void tst_DevicesInfoSavePage::listPageExportsTheCheckedRow()
{
    FakeVexo::reset();
    DeviceStore store;
    VEXO::VexoHandler discovery(FakeVexo::library());
    VexoTool::DeviceDisplayPage page(
        &store, &discovery, nullptr,
        VexoTool::UserWritableFile::forPath(m_dir->filePath(QStringLiteral("ColumnConfig.xml"))));
    for (int n = 1; n <= 3; ++n)
        page.onDeviceLogin(deviceRecord(n));
    VexoTool::DeviceInfoModel *model = page.model();
    model->setCheckState(1, Qt::Checked);
    QSignalSpy covered(&page, &VexoTool::DeviceDisplayPage::signalCoverMainPage);
    QSignalSpy uncovered(&page, &VexoTool::DeviceDisplayPage::signalDisCoverMainPage);
    const QString exportFolder = m_dir->filePath(QStringLiteral("out"));
    QVERIFY(QDir().mkpath(exportFolder));

    int coveredWhileOpen = -1;
    VexoTest::whenModal([&](QWidget *modal) {
        auto *exportDialog = qobject_cast<DevicesInfoSavePage *>(modal);
        if (!exportDialog) {
            modal->close(); // the checks below fail
            return;
        }
        coveredWhileOpen = int(covered.count()) - int(uncovered.count());
        exportDialog->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditFilename"))
            ->setText(QStringLiteral("site"));
        exportDialog->findChild<aptui::MultiStateLineEdit *>(QStringLiteral("m_lineEditFilepath"))
            ->setText(exportFolder);
        exportDialog->onSaveDevicesInfo();
    });
    page.onSaveDeviceInfoToExcel();

    QCOMPARE(coveredWhileOpen, 1);
    QCOMPARE(covered.count(), 1);
    QCOMPARE(uncovered.count(), 1);
    QCOMPARE(m_messages->texts(), QStringList{QStringLiteral("Saving succeed.")});
    const QString path = exportFolder + QLatin1String("/site.xls");
    const VexoTest::ReadResult read = VexoTest::readWithFreeXl({path});
    QVERIFY2(read.error.isEmpty(), qPrintable(read.error));
    const QList<QStringList> rows = read.workbooks.value(path).value(0).rows;
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(0).size(), model->columnCount() - 1);
    QVERIFY(rows.at(0).contains(QStringLiteral("Device Serial Number")));
    QVERIFY(rows.at(1).contains(serialOf(deviceRecord(2))));
    QVERIFY(rows.at(1).contains(macOf(deviceRecord(2))));
}

QTEST_MAIN(tst_DevicesInfoSavePage)
#include "tst_devicesinfosavepage.moc"

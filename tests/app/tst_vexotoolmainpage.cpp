// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalwatcher.h"

#include <vexotoolmainpage.h>

#include <aboutdialog.h>
#include "devicerecords.h"

#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <panelstate.h>
#include <devicestore.h>
#include <configuremanager.h>
#include <coverwidget.h>
#include <menu.h>
#include <pinbutton.h>
#include <tipdialog.h>
#include <urlcatcher.h>
#include <vexohandler.h>
#include <vexolibrary.h>
#include <windowtitle.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QUdpSocket>

#include <memory>

using VexoTest::whenModal;
using VexoTool::VEXOToolMainPage;

namespace {

// Notes every widget that a key press is delivered to.
class KeyWitness : public QObject
{
public:
    explicit KeyWitness(QObject *parent)
        : QObject(parent)
    {
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && watched->isWidgetType())
            receivers.append(static_cast<QWidget *>(watched));
        return false;
    }
    QList<QPointer<QWidget>> receivers;
};

} // namespace

class TestVexoToolMainPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void foldBarPlacement_data();
    void foldBarPlacement();
    void modifyPanelSitsRightOfTheList();
    void selectionReachesPanelAtOnce();
    void panelFollowsTheDevicesAfterAPlan();
    void pinClickFoldsPanelAndShowsSpacer();
    void foldKeyFoldsAndUnfoldsPanel();
    void exitQuestion_data();
    void exitQuestion();
    void f1WithoutManualShowsMessageUnderCover();
    void aboutMenuAtCursor();
    void listPageDialogsCoverTheWindow();
    void edgeDragResizesDownToTheMinimum_data();
    void edgeDragResizesDownToTheMinimum();
    void enterInTheListGoesToThePanel_data();
    void enterInTheListGoesToThePanel();
    void typingInTheFilterStaysInTheBox();
    void keyboardTicksSeveralRowsInBatch();
    void languageChoiceIsKeptForTheNextStart_data();
    void languageChoiceIsKeptForTheNextStart();
    void unwritableSettingsAreSaidOnce();
    void signInSummaryCountsWhatHappened_data();
    void signInSummaryCountsWhatHappened();

private:
    // The window's store and discovery service, over the library the program is linked with.
    std::unique_ptr<DeviceStore> m_store;
    std::unique_ptr<VEXO::VexoHandler> m_discovery;
    std::unique_ptr<VEXOToolMainPage> m_window;
    QWidget *m_panel = nullptr;
    QString m_startDir;
    // The desktop handler of file URLs while the test runs: nothing may get this far.
    std::unique_ptr<VexoTest::UrlCatcher> m_fileUrls;
};

void TestVexoToolMainPage::initTestCase()
{
    // Discovery starts with every window; aim it at a loopback port nobody serves.
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    qputenv("VEXO_PORT", QByteArray::number(probe.localPort()));
    probe.close();
    QCOMPARE(qgetenv("VEXO_SCOPE"), QByteArray("loopback"));
    // Should discovery fail to start, its message must not wait for a click.
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");
    m_fileUrls = std::make_unique<VexoTest::UrlCatcher>(QStringLiteral("file"));
    m_startDir = QDir::currentPath();
}

void TestVexoToolMainPage::cleanupTestCase()
{
    m_fileUrls.reset();
}

void TestVexoToolMainPage::init()
{
    m_store = std::make_unique<DeviceStore>();
    m_discovery = std::make_unique<VEXO::VexoHandler>(VEXO::VexoLibrary::linked());
    m_window = std::make_unique<VEXOToolMainPage>(m_store.get(), m_discovery.get());
    m_panel = m_window->rightPanel();
    QVERIFY(m_panel);
    m_window->resize(1024, 768);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestVexoToolMainPage::cleanup()
{
    AboutDialog::setUrlOpener({});
    QDir::setCurrent(m_startDir);
    m_window.reset();
    m_discovery.reset();
    m_store.reset();
    QVERIFY(m_fileUrls->urls().isEmpty());
}

void TestVexoToolMainPage::foldBarPlacement_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("panelShown");
    QTest::addColumn<QPoint>("button");
    QTest::addColumn<QPoint>("border");
    QTest::addColumn<QString>("name");
    // x = W - 20 - panel width, both one pixel further right; y = trunc(H * 0.3 - 20).
    QTest::addRow("768 high, spread") << QSize(1024, 768) << true << QPoint(645, 210) << QPoint(645, 35)
                                      << "m_pUnSpreadButton";
    QTest::addRow("768 high, folded") << QSize(1024, 768) << false << QPoint(993, 210) << QPoint(993, 35)
                                      << "m_pSpreadButton";
    QTest::addRow("601 high, truncated") << QSize(1200, 601) << true << QPoint(821, 160) << QPoint(821, 35)
                                         << "m_pUnSpreadButton";
}

void TestVexoToolMainPage::foldBarPlacement()
{
    QFETCH(QSize, size);
    QFETCH(bool, panelShown);
    QFETCH(QPoint, button);
    QFETCH(QPoint, border);
    QFETCH(QString, name);
    m_window->resize(size);
    QTRY_COMPARE(m_window->size(), size);
    m_panel->setVisible(panelShown);
    m_window->onMovePinButtion();
    QCOMPARE(m_window->pinButton()->pos(), button);
    QCOMPARE(m_window->pinBorder()->pos(), border);
    QCOMPARE(m_window->pinBorder()->size(), QSize(20, size.height() - 35));
    QCOMPARE(m_window->pinButton()->objectName(), name);
}

void TestVexoToolMainPage::modifyPanelSitsRightOfTheList()
{
    VexoTool::DeviceModifyPage *panel = m_window->deviceModifyPage();
    QCOMPARE(m_window->rightPanel(), panel);
    QCOMPARE(m_window->pinButton()->buddy(), panel);
    QVERIFY(panel->isVisible());
    QVERIFY(m_window->pinBorder()->isVisible());
    QVERIFY(m_window->rightSpace()->isHidden());
    const QRect list = m_window->deviceDisplayPage()->geometry();
    QVERIFY(panel->geometry().left() > list.right());
    QVERIFY(panel->geometry().right() < m_window->width());
    // The strip lies along the panel's left edge.
    m_window->onMovePinButtion();
    QCOMPARE(m_window->pinBorder()->x(), m_window->width() - 20 - panel->width() + 1);
}

void TestVexoToolMainPage::selectionReachesPanelAtOnce()
{
    VexoTool::DeviceDisplayPage *list = m_window->deviceDisplayPage();
    VexoTool::DeviceModifyPage *panel = m_window->deviceModifyPage();
    VEXO_DEVICE_INFO record = deviceRecord(1);
    record.inactive = 1;
    list->onDeviceLogin(record);
    VexoTool::DeviceInfoModel *model = list->model();
    QCOMPARE(model->rowCount(), 1);

    // The panel has the device before the list's slot returns.
    bool panelHadItDuringTheReport = false;
    connect(list, &VexoTool::DeviceDisplayPage::signalCurrentSelectionModelChange, this,
            [&] { panelHadItDuringTheReport = !panel->selection().isEmpty(); });
    model->setCheckState(0, Qt::Checked);
    QVERIFY(panelHadItDuringTheReport);
    QCOMPARE(panel->selection().size(), qsizetype(1));
    QCOMPARE(panel->selection().first().strSerialNumber, serialOf(record));

    // An activation result makes the list report the selection again, in the same call chain.
    QSignalSpy reports(list, &VexoTool::DeviceDisplayPage::signalCurrentSelectionModelChange);
    DeviceInfo activated = panel->selection().first();
    activated.strResult = QStringLiteral("Succeed");
    m_store->setInactive(activated.strSerialNumber, activated.strMAC, 0);
    emit panel->signalActiveResult({activated});
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.first().at(0).value<ModifyPage>(), ModifySingle);
    QCOMPARE(panel->selection().first().strResult, QStringLiteral("0"));
    m_store->clear();
}

void TestVexoToolMainPage::panelFollowsTheDevicesAfterAPlan()
{
    VexoTool::DeviceDisplayPage *list = m_window->deviceDisplayPage();
    VEXO_DEVICE_INFO record = deviceRecord(1);
    record.inactive = 1;
    list->onDeviceLogin(record);
    VexoTool::DeviceInfoModel *model = list->model();
    model->setCheckState(0, Qt::Checked);
    auto *applyPlan = m_window->findChild<QAction *>(QStringLiteral("m_actionApplyPlan"));
    QVERIFY(applyPlan);

    // The plan activated the checked device while its dialog was open: the panel leaves the
    // activation form once the dialog closes.
    QSignalSpy reports(list, &VexoTool::DeviceDisplayPage::signalCurrentSelectionModelChange);
    whenModal([&](QWidget *modal) {
        m_store->setInactive(serialOf(record), QString::fromLatin1(record.macAddress), 0);
        modal->close();
    });
    applyPlan->trigger();
    QCOMPARE(reports.count(), 1);
    QCOMPARE(reports.first().at(0).value<ModifyPage>(), ModifySingle);
    m_store->clear();
}

void TestVexoToolMainPage::pinClickFoldsPanelAndShowsSpacer()
{
    aptui::PinButton *pin = m_window->pinButton();
    QWidget *list = m_window->deviceDisplayPage();
    // A bar the user can see and click, that says what it does.
    QVERIFY(pin->isVisible());
    QCOMPARE(pin->size(), QSize(14, 69));
    QVERIFY(!pin->toolTip().isEmpty());
    const QString foldTip = pin->toolTip();
    const int spreadWidth = list->width();

    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(m_panel->isHidden());
    QVERIFY(!m_window->rightSpace()->isHidden());
    QCOMPARE(pin->pos(), QPoint(993, 210));
    QCOMPARE(pin->objectName(), QStringLiteral("m_pSpreadButton"));
    QTRY_VERIFY(list->width() > spreadWidth + 200); // the list takes the panel's room
    QVERIFY(pin->isVisible());
    QVERIFY(pin->toolTip() != foldTip);

    QTest::mouseClick(pin, Qt::LeftButton);
    QVERIFY(!m_panel->isHidden());
    QVERIFY(m_window->rightSpace()->isHidden());
    QCOMPARE(pin->objectName(), QStringLiteral("m_pUnSpreadButton"));
    QTRY_COMPARE(list->width(), spreadWidth);
    QCOMPARE(pin->toolTip(), foldTip);
}

void TestVexoToolMainPage::foldKeyFoldsAndUnfoldsPanel()
{
    aptui::PinButton *pin = m_window->pinButton();
    QWidget *focus = m_window->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"));
    QVERIFY(focus);
    m_window->activateWindow();
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
    // The tip names the key; the bar itself takes no focus.
    QCOMPARE(pin->toolTip(), QStringLiteral("Hide the panel (Ctrl+P)"));

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get(), Qt::Key_P,
                    Qt::ControlModifier);
    QVERIFY(m_panel->isHidden());
    QVERIFY(!m_window->rightSpace()->isHidden());
    QCOMPARE(pin->pos(), QPoint(993, 210)); // where a click on the bar puts it
    QCOMPARE(pin->toolTip(), QStringLiteral("Show the panel (Ctrl+P)"));

    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_window.get(), Qt::Key_P,
                    Qt::ControlModifier);
    QVERIFY(!m_panel->isHidden());
    QVERIFY(m_window->rightSpace()->isHidden());
    QCOMPARE(pin->objectName(), QStringLiteral("m_pUnSpreadButton"));
}

void TestVexoToolMainPage::exitQuestion_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("exits");
    QTest::addRow("cancel keeps running") << "btnCancel" << false;
    QTest::addRow("title close keeps running") << "btnClose" << false;
    QTest::addRow("confirm exits") << "btnConfirm" << true;
}

void TestVexoToolMainPage::exitQuestion()
{
    QFETCH(QString, answer);
    QFETCH(bool, exits);
    QString question;
    bool coveredWhileAsked = false;
    QRect coverAfterResize;
    whenModal([&](QWidget *modal) {
        question = modal->findChild<QLabel *>(QStringLiteral("m_labelTip"))->text();
        coveredWhileAsked = m_window->isCovered() && m_window->cover()->isVisible()
                            && m_window->cover()->geometry() == m_window->rect();
        // A resize while covered keeps the whole window covered.
        m_window->resize(900, 700);
        coverAfterResize = m_window->cover()->geometry();
        QTest::mouseClick(modal->findChild<QAbstractButton *>(answer), Qt::LeftButton);
    });

    const bool closed = m_window->close();
    QCOMPARE(question, QStringLiteral("Exit the VEXO software?"));
    QVERIFY(coveredWhileAsked);
    QCOMPARE(coverAfterResize, QRect(0, 0, 900, 700));
    QCOMPARE(closed, exits);
    QCOMPARE(m_window->isVisible(), !exits);
    QCOMPARE(m_window->isCovered(), exits); // the cover stays up while the window goes
}

void TestVexoToolMainPage::f1WithoutManualShowsMessageUnderCover()
{
    apt::ConfigureManager::GetInstance()->load(QStringLiteral("no-such-Setup.xml")); // defaults: English
    QTemporaryDir emptyDir;
    QVERIFY(QDir::setCurrent(emptyDir.path()));
    QList<QUrl> opened;
    AboutDialog::setUrlOpener([&opened](const QUrl &url) {
        opened.append(url);
        return true;
    });

    QString message;
    bool coveredWhileShown = false;
    whenModal([&](QWidget *modal) {
        message = modal->findChild<QLabel *>(QStringLiteral("m_labelNULL"))->text();
        coveredWhileShown = m_window->isCovered() && m_window->cover()->isVisible();
        modal->close();
    });
    QTest::keyClick(m_window.get(), Qt::Key_F1);

    QVERIFY2(message.startsWith(QStringLiteral("No user manual found.")), qPrintable(message));
    QVERIFY(coveredWhileShown);
    QVERIFY(!m_window->isCovered());
    QVERIFY(m_window->cover()->isHidden());
    QVERIFY(opened.isEmpty());
}

void TestVexoToolMainPage::aboutMenuAtCursor()
{
    QCursor::setPos(500, 300);
    QTRY_COMPARE(QCursor::pos(), QPoint(500, 300));
    QTest::mouseClick(m_window->titleBar()->findChild<QToolButton *>(QStringLiteral("m_btnSystemMenu")),
                      Qt::LeftButton);
    aptui::Menu *menu = m_window->aboutMenu();
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->objectName(), QStringLiteral("aboutMenu"));
    QCOMPARE(menu->pos(), QPoint(500 - 149, 300));
    QVERIFY(menu->findChild<QWidget *>(QStringLiteral("AboutDialog_ID_FX_CANNOT_BE_MULTI")));
    menu->close();
}

void TestVexoToolMainPage::listPageDialogsCoverTheWindow()
{
    VexoTool::DeviceDisplayPage *page = m_window->deviceDisplayPage();
    emit page->signalCoverMainPage();
    QVERIFY(m_window->isCovered());
    QCOMPARE(m_window->cover()->geometry(), m_window->rect());
    emit page->signalDisCoverMainPage();
    QVERIFY(!m_window->isCovered());
    QVERIFY(m_window->cover()->isHidden());
}

void TestVexoToolMainPage::edgeDragResizesDownToTheMinimum_data()
{
    QTest::addColumn<QPoint>("drag"); // from the bottom right corner
    QTest::addRow("a little smaller") << QPoint(-100, -50);
    QTest::addRow("far past the minimum") << QPoint(-2000, -2000);
    QTest::addRow("larger") << QPoint(80, 40);
}

void TestVexoToolMainPage::edgeDragResizesDownToTheMinimum()
{
    QFETCH(QPoint, drag);
    // The minimum fits a 1024 x 768 screen and everything the list and the panel need.
    const QSize minimum = m_window->minimumSize();
    QVERIFY(minimum.width() <= 1024 && minimum.height() <= 768);
    QVERIFY(minimum.width() >= m_window->minimumSizeHint().width());
    QVERIFY(minimum.height() >= m_window->minimumSizeHint().height());

    const QRect start = m_window->geometry();
    const QPoint corner(m_window->width() - 2, m_window->height() - 2);
    QWidget *target = m_window->childAt(corner) ? m_window->childAt(corner) : m_window.get();
    const auto send = [&](QEvent::Type type, const QPoint &at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, target->mapFrom(m_window.get(), at), start.topLeft() + at, button, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    send(QEvent::MouseButtonPress, corner, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, corner + drag, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, corner + drag, Qt::LeftButton, Qt::NoButton);

    const QSize expected = (start.size() + QSize(drag.x(), drag.y())).expandedTo(minimum);
    QCOMPARE(m_window->size(), expected);
    QCOMPARE(m_window->pos(), start.topLeft());
    // The cover follows when it is shown.
    m_window->setCover(true);
    QCOMPARE(m_window->cover()->geometry(), QRect(QPoint(0, 0), expected));
    m_window->setCover(false);
}

void TestVexoToolMainPage::enterInTheListGoesToThePanel_data()
{
    QTest::addColumn<int>("inactive");
    QTest::addColumn<QString>("field");
    QTest::addRow("activated device: the network form") << 0 << "m_lineEditIpAddress";
    QTest::addRow("new device: the new password") << 1 << "m_lineEditNewPassword";
}

void TestVexoToolMainPage::enterInTheListGoesToThePanel()
{
    QFETCH(int, inactive);
    QFETCH(QString, field);
    VexoTool::DeviceDisplayPage *list = m_window->deviceDisplayPage();
    VEXO_DEVICE_INFO record = deviceRecord(1);
    record.inactive = quint8(inactive);
    list->onDeviceLogin(record);
    auto *table = list->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    table->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(table->hasFocus());
    QTest::keyClick(table, Qt::Key_Space);
    QCOMPARE(list->checkedRows().size(), qsizetype(1));
    QTest::keyClick(table, Qt::Key_Return);
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QCOMPARE(focused->objectName(), field);
    QVERIFY(m_window->deviceModifyPage()->isAncestorOf(focused));
    m_store->clear();
}

void TestVexoToolMainPage::typingInTheFilterStaysInTheBox()
{
    VexoTool::DeviceDisplayPage *list = m_window->deviceDisplayPage();
    VexoTool::DeviceModifyPage *panel = m_window->deviceModifyPage();
    VEXO_DEVICE_INFO ticked = deviceRecord(1);
    setFieldText(ticked.serialNumber, "UA1000001");
    VEXO_DEVICE_INFO wanted = deviceRecord(2);
    setFieldText(wanted.serialNumber, "UBMR688530");
    list->onDeviceLogin(ticked);
    list->onDeviceLogin(wanted);
    auto *table = list->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"));
    auto *filter = list->findChild<QLineEdit *>(QStringLiteral("m_lineEditFilter"));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    table->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(table->hasFocus());
    QTest::keyClick(table, Qt::Key_Space); // the first row: the device that the filter will hide
    QCOMPARE(panel->selection().size(), qsizetype(1));
    QCOMPARE(panel->selection().first().strSerialNumber, QStringLiteral("UA1000001"));

    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    QTRY_VERIFY(filter->hasFocus());
    // Each key goes wherever the focus is, as the user's keys do.
    KeyWitness witness(this);
    const QString serial = QStringLiteral("UBMR688530");
    for (qsizetype typed = 1; typed <= serial.size(); ++typed) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, serial.at(typed - 1).toLatin1());
        QCOMPARE(filter->text(), serial.left(typed));
        QVERIFY2(filter->hasFocus(), qPrintable(QApplication::focusWidget()->objectName()));
    }
    QVERIFY(panel->selection().isEmpty()); // the filter hides the ticked row
    for (const QPointer<QWidget> &receiver : std::as_const(witness.receivers))
        QVERIFY2(!receiver || !panel->isAncestorOf(receiver), qPrintable(receiver->objectName()));
    QVERIFY(panel->findChild<QLineEdit *>(QStringLiteral("m_lineEditAdminPassword"))->text().isEmpty());
    m_store->clear();
}

void TestVexoToolMainPage::keyboardTicksSeveralRowsInBatch()
{
    VexoTool::DeviceDisplayPage *list = m_window->deviceDisplayPage();
    // As the menu entry does, without writing the user's settings.
    list->setBatchOperations(true);
    m_window->deviceModifyPage()->setBatchOperations(true);
    for (int n = 1; n <= 4; ++n) {
        VEXO_DEVICE_INFO record = deviceRecord(n);
        record.identityFlags = VEXO_IDENTITY_VERIFIED;
        list->onDeviceLogin(record);
    }
    auto *table = list->findChild<QTreeView *>(QStringLiteral("m_tableViewVexo"));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    table->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(table->hasFocus());
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Down, Qt::Key_Space, Qt::Key_Down, Qt::Key_Space}) {
        QTest::keyClick(QApplication::focusWidget(), key);
        QVERIFY2(table->hasFocus(), qPrintable(QApplication::focusWidget()->objectName()));
    }
    QCOMPARE(list->checkedRows().size(), qsizetype(3));
    QCOMPARE(m_window->deviceModifyPage()->selection().size(), qsizetype(3));
    QCOMPARE(m_window->deviceModifyPage()->findChild<QLabel *>(QStringLiteral("m_labelSelectionNote"))->text(),
             VexoTool::PanelState::tr("%n device(s) ticked", nullptr, 3));
    m_store->clear();
}

void TestVexoToolMainPage::languageChoiceIsKeptForTheNextStart_data()
{
    QTest::addColumn<int>("chosen");
    QTest::addColumn<bool>("writable"); // the user's settings file can be written
    QTest::addColumn<bool>("kept");     // written to the user's file, with a message

    QTest::addRow("Chinese from English: kept for the next start") << 1 << true << true;
    QTest::addRow("the language it runs in: nothing to keep") << 0 << true << false;
    QTest::addRow("user's file cannot be written: said so, the old language stays ticked") << 1 << false << false;
}

void TestVexoToolMainPage::languageChoiceIsKeptForTheNextStart()
{
    QFETCH(int, chosen);
    QFETCH(bool, writable);
    QFETCH(bool, kept);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray shippedBytes
        = "<?xml version=\"1.0\"?>\n<Setup><Translator><Value>0</Value></Translator></Setup>\n";
    const QString shipped = dir.filePath("Setup.xml");
    QFile shippedFile(shipped);
    QVERIFY(shippedFile.open(QIODevice::WriteOnly) && shippedFile.write(shippedBytes) == shippedBytes.size());
    shippedFile.close();
    // Below a plain file no folder can be made.
    const QString user = writable ? dir.filePath("user/Setup.xml") : shipped + QStringLiteral("/user/Setup.xml");
    apt::ConfigureManager *settings = apt::ConfigureManager::GetInstance();
    QVERIFY(settings->load(shipped, user));
    m_window = std::make_unique<VEXOToolMainPage>(m_store.get(),
                                                  m_discovery.get()); // its menu shows the language of the settings

    aptui::Menu *languages = m_window->languageMenu();
    QVERIFY(languages);
    QVERIFY(m_window->aboutMenu()->actions().contains(languages->menuAction()));
    auto *english = languages->findChild<QAction *>(QStringLiteral("m_actionLanguage0"));
    auto *chinese = languages->findChild<QAction *>(QStringLiteral("m_actionLanguage1"));
    QVERIFY(english && chinese);
    QVERIFY(english->isChecked() && !chinese->isChecked());

    (chosen == 1 ? chinese : english)->trigger();
    QCOMPARE(chinese->isChecked(), kept);
    QCOMPARE(english->isChecked(), !kept);
    auto *message = m_window->findChild<QDialog *>(QStringLiteral("languageRestartMessage"));
    QCOMPARE(message != nullptr, chosen != 0);
    if (message) {
        const QString text = message->findChild<QLabel *>(QStringLiteral("m_labelNULL"))->text();
        if (kept)
            QVERIFY2(text.contains(QStringLiteral("starts again")) && text.contains(QStringLiteral("下次启动")),
                     qPrintable(text));
        else
            QVERIFY2(text.contains(QStringLiteral("cannot be written")), qPrintable(text));
        message->close();
    }
    QCOMPARE(QFile::exists(user), kept);
    QVERIFY(shippedFile.open(QIODevice::ReadOnly));
    QCOMPARE(shippedFile.readAll(), shippedBytes);

    // The next start reads the choice.
    QVERIFY(settings->load(shipped, user));
    QCOMPARE(settings->translator(), quint32(kept ? chosen : 0));
    settings->load(QStringLiteral("no-such-Setup.xml"));
}

void TestVexoToolMainPage::unwritableSettingsAreSaidOnce()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString shipped = dir.filePath("Setup.xml");
    QFile shippedFile(shipped);
    QVERIFY(shippedFile.open(QIODevice::WriteOnly) && shippedFile.write("<Setup/>\n") > 0);
    shippedFile.close();
    apt::ConfigureManager *settings = apt::ConfigureManager::GetInstance();
    QVERIFY(settings->load(shipped, shipped + QStringLiteral("/user/Setup.xml"))); // below a file: no folder
    m_window = std::make_unique<VEXOToolMainPage>(m_store.get(), m_discovery.get());

    for (const bool on : {true, false, true}) {
        m_window->batchOperationsAction()->setChecked(on);
        QCOMPARE(settings->batchOperations(), on); // for this run
    }
    const QList<QDialog *> messages = m_window->findChildren<QDialog *>(QStringLiteral("settingsNotKeptMessage"));
    QCOMPARE(messages.size(), 1);
    QVERIFY(messages.first()->findChild<QLabel *>(QStringLiteral("m_labelNULL"))->text().contains("cannot be written"));
    messages.first()->close();
    settings->load(QStringLiteral("no-such-Setup.xml"));
}

void TestVexoToolMainPage::signInSummaryCountsWhatHappened_data()
{
    // Each letter one device: i identified, r refused (401), f refused with a NotAuthorized fault,
    // t timed out, c connection refused, u unreachable, m malformed answer, x contested.
    QTest::addColumn<QString>("ends");
    QTest::addColumn<QString>("summary");
    QTest::addRow("nothing to sign in to") << ""
                                           << "No ONVIF device is listed to sign in to.";
    QTest::addRow("all identified") << "iii"
                                    << "3 identified";
    QTest::addRow("a fault naming the credentials is a refusal") << "irf"
                                                                 << "1 identified, 2 refused the user name or password";
    QTest::addRow("silence of every kind") << "tcu"
                                           << "3 did not answer";
    QTest::addRow("everything once, in a fixed order")
        << "xmtri"
        << "1 identified, 1 refused the user name or password, 1 did not answer, 2 failed for another reason";
}

void TestVexoToolMainPage::signInSummaryCountsWhatHappened()
{
    QFETCH(QString, ends);
    QFETCH(QString, summary);
    using Kind = VexoTool::OnvifFailureKind;
    QVector<VEXO::OnvifSignInOutcome> outcomes;
    for (const QChar end : ends) {
        VEXO::OnvifSignInOutcome outcome;
        VexoTool::OnvifFailure failure;
        switch (end.toLatin1()) {
        case 'r':
            failure.kind = Kind::NotAuthorized;
            break;
        case 'f':
            failure.kind = Kind::SoapFault;
            failure.code = QStringLiteral("env:Sender");
            failure.subcodes = {QStringLiteral("ter:NotAuthorized")};
            break;
        case 't':
            failure.kind = Kind::TimedOut;
            break;
        case 'c':
            failure.kind = Kind::ConnectionRefused;
            break;
        case 'u':
            failure.kind = Kind::Unreachable;
            break;
        case 'm':
            failure.kind = Kind::MalformedAnswer;
            break;
        case 'x':
            failure.kind = Kind::Contested;
            break;
        default:
            break;
        }
        if (end != u'i')
            outcome.failure = failure;
        outcomes.append(outcome);
    }
    QCOMPARE(VexoTool::VEXOToolMainPage::signInSummary(outcomes), summary);
}

QTEST_MAIN(TestVexoToolMainPage)

#include "tst_vexotoolmainpage.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicerecords.h"
#include "modalwatcher.h"

#include <lanaguagemanager.h>
#include <skinloader.h>
#include <toolsapplication.h>
#include <vexotoolmainpage.h>

#include <aboutdialog.h>
#include <basedialog.h>
#include <devicedisplaypage.h>
#include <deviceinfomodel.h>
#include <devicemodifypage.h>
#include <devicemodifyresultpage.h>
#include <devicesinfosavepage.h>
#include <devicestore.h>
#include <vexohandler.h>
#include <vexolibrary.h>
#include <menu.h>
#include <modifypage.h>
#include <onvifhandler.h>
#include <onvifpassworddialog.h>
#include <resetpassworddialog.h>
#include <resetpasswordwidget.h>
#include <restorepassworddialog.h>
#include <tipdialog.h>
#include <warningdialog.h>
#include <windowtitle.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QRegularExpression>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>
#include <QTranslator>
#include <QUdpSocket>

#include <memory>
#include <vector>

using VexoTool::VEXOToolMainPage;

namespace {

// What a label needs to show its text in its own font, without cutting anything.
QSize neededSize(const QLabel *label, int availableWidth)
{
    const QString text = label->text();
    const bool rich
        = label->textFormat() == Qt::RichText || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    if (rich || label->wordWrap()) {
        QTextDocument doc;
        doc.setDocumentMargin(0);
        doc.setDefaultFont(label->font());
        if (rich)
            doc.setHtml(text);
        else
            doc.setPlainText(text);
        if (label->wordWrap()) {
            doc.setTextWidth(availableWidth);
            return QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
        }
        return QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
    }
    const QFontMetrics metrics(label->font());
    const QStringList lines = text.split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = qMax(width, metrics.horizontalAdvance(QString(line).remove(QLatin1Char('&'))));
    return QSize(width, metrics.height() * int(lines.size()));
}

// The visible labels under (and including) root whose text does not fit the label.
QStringList cutLabels(QWidget *root)
{
    QList<QLabel *> labels = root->findChildren<QLabel *>();
    if (auto *self = qobject_cast<QLabel *>(root))
        labels.prepend(self);
    QStringList faults;
    for (QLabel *label : std::as_const(labels)) {
        // A label collapsed to no width on purpose only keeps a place in its layout.
        if (!label->isVisible() || label->text().isEmpty() || label->maximumWidth() == 0)
            continue;
        int inset = label->margin();
        if (label->indent() > 0)
            inset += label->indent();
        else if (label->indent() < 0 && label->frameWidth() > 0)
            inset += QFontMetrics(label->font()).horizontalAdvance(QLatin1Char('x')) / 2;
        const QRect room = label->contentsRect().adjusted(inset, label->margin(), -inset, -label->margin());
        const QSize needed = neededSize(label, room.width());
        // Word-wrapped text may wrap: only its height can run out.
        const bool tooWide = !label->wordWrap() && needed.width() > room.width();
        const bool tooHigh = needed.height() > room.height() + 2;
        if (tooWide || tooHigh) {
            faults.append(QStringLiteral("%1 \"%2\": needs %3 x %4, has %5 x %6")
                              .arg(label->objectName(), label->text().left(60))
                              .arg(needed.width())
                              .arg(needed.height())
                              .arg(room.width())
                              .arg(room.height()));
        }
    }
    // A field wider than the widget holding it loses its right border.
    for (const QLineEdit *field : root->findChildren<QLineEdit *>()) {
        if (field->isVisible() && field->parentWidget() && !field->parentWidget()->rect().contains(field->geometry()))
            faults.append(QStringLiteral("%1: %2 wide, cut at %3")
                              .arg(field->objectName())
                              .arg(field->width())
                              .arg(field->parentWidget()->width() - field->x()));
    }
    return faults;
}

QString binDir()
{
    return qEnvironmentVariable("VEXO_TEST_BIN_DIR");
}

} // namespace

class tst_LabelsFit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void mainWindow_data();
    void mainWindow();
    void aboutMenuInsideWindowAndScreen_data();
    void aboutMenuInsideWindowAndScreen();
    void passwordDialogs_data();
    void passwordDialogs();
    void otherDialogs_data();
    void otherDialogs();
    void messages_data();
    void messages();
    void onvifDialogsOnScreen_data();
    void onvifDialogsOnScreen();

private:
    void addLanguages();
    void useLanguage();
    /** @brief One of each panel state's devices, as the list reports them. */
    QVector<DeviceInfo> devices(VEXOToolMainPage &window, const QList<int> &numbers);

    std::vector<std::unique_ptr<QTranslator>> m_translators;
};

void tst_LabelsFit::init()
{
    // A limit hint attached before its field has a layout floats over the window.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("its hint would float")));
}

void tst_LabelsFit::initTestCase()
{
    // Discovery starts with every window; aim it at a loopback port nobody serves.
    QUdpSocket probe;
    QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
    qputenv("VEXO_PORT", QByteArray::number(probe.localPort()));
    probe.close();
    QCOMPARE(qgetenv("VEXO_SCOPE"), QByteArray("loopback"));
    qputenv("VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS", "200");
    registerDiscoveryMetaTypes();
    registerModifyPageMetaType();
    VexoTool::WarningDialog::setAutoCloseDelay(std::chrono::milliseconds(100));

    // The program's look: its font, skin, style and style sheet.
    QFont font(QStringLiteral("Microsoft YaHei"), 9);
    font.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    QApplication::setFont(font);
    QCoreApplication::addLibraryPath(binDir() + QStringLiteral("/plugins"));
    QVERIFY(apt::SkinLoader::loadSkin(binDir() + QStringLiteral("/plugins/skins/")));
    apt::SkinLoader::loadStyle();
    apt::SkinLoader::loadStyleSheet();
}

void tst_LabelsFit::cleanup()
{
    for (const auto &translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
    m_translators.clear();
}

void tst_LabelsFit::addLanguages()
{
    QTest::addColumn<int>("language");
}

void tst_LabelsFit::useLanguage()
{
    QFETCH(int, language);
    m_translators = apt::LanaguageManager::loadTranslators(apt::LanaguageManager::languageFiles(quint32(language)),
                                                           binDir() + QStringLiteral("/translations"));
    for (const auto &translator : m_translators) {
        if (!translator->isEmpty())
            QCoreApplication::installTranslator(translator.get());
    }
}

QVector<DeviceInfo> tst_LabelsFit::devices(VEXOToolMainPage &window, const QList<int> &numbers)
{
    VexoTool::DeviceDisplayPage *list = window.deviceDisplayPage();
    QVector<DeviceInfo> infos;
    for (const int n : numbers) {
        VEXO_DEVICE_INFO record = deviceRecord(n);
        record.inactive = n % 2; // odd numbers are new devices
        // From 100 on ONVIF devices, outside the loopback adapter's subnet: the panel says what to do.
        if (n >= 100)
            setFieldText(record.leadText, "ONVIF");
        list->onDeviceLogin(record);
        const int row = list->model()->rowOf(serialOf(record), macOf(record));
        infos.append(list->deviceInfoOfRow(row));
    }
    return infos;
}

void tst_LabelsFit::mainWindow_data()
{
    addLanguages();
    QTest::addColumn<int>("state");
    QTest::addColumn<QList<int>>("numbers");
    QTest::addColumn<QSize>("size");
    const struct
    {
        const char *name;
        int state;
        QList<int> numbers;
    } states[] = {
        {"nothing checked", ModifySingle, {}},     {"one activated device", ModifySingle, {2}},
        {"one new device", ActivateSingle, {1}},   {"activated devices", ModifyBatch, {2, 4}},
        {"new devices", ActivateBatch, {1, 3}},    {"new and activated devices", ActivateMixed, {1, 2}},
        {"one ONVIF device", ModifySingle, {100}}, {"ONVIF and activated devices", ModifyBatch, {2, 100}},
    };
    for (const auto &language : {std::pair{"English", 0}, std::pair{"Chinese", 1}}) {
        for (const auto &state : states) {
            for (const QSize size : {QSize(1024, 600), QSize(1366, 768)}) {
                QTest::addRow("%s, %s, %dx%d", language.first, state.name, size.width(), size.height())
                    << language.second << state.state << state.numbers << size;
            }
        }
    }
}

void tst_LabelsFit::mainWindow()
{
    QFETCH(int, state);
    QFETCH(QList<int>, numbers);
    QFETCH(QSize, size);
    useLanguage();
    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    VEXOToolMainPage window(&store, &discovery);
    window.resize(size);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.deviceModifyPage()->onCurrentSelectionChange(ModifyPage(state), devices(window, numbers));
    QApplication::processEvents();

    const QStringList faults = cutLabels(&window);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    // The panel lies inside the window.
    const QRect panel(window.rightPanel()->mapTo(&window, QPoint(0, 0)), window.rightPanel()->size());
    QVERIFY(window.rect().contains(panel));
}

void tst_LabelsFit::aboutMenuInsideWindowAndScreen_data()
{
    addLanguages();
    QTest::addColumn<QPoint>("cursor"); // relative to the window's top right corner
    for (const auto &language : {std::pair{"English", 0}, std::pair{"Chinese", 1}}) {
        QTest::addRow("%s, at the system menu button", language.first) << language.second << QPoint();
        QTest::addRow("%s, at the left edge", language.first) << language.second << QPoint(-1000, 10);
    }
}

void tst_LabelsFit::aboutMenuInsideWindowAndScreen()
{
    QFETCH(QPoint, cursor);
    useLanguage();
    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    VEXOToolMainPage window(&store, &discovery);
    window.resize(1024, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    auto *systemMenu = window.titleBar()->findChild<QToolButton *>(QStringLiteral("m_btnSystemMenu"));
    QVERIFY(systemMenu);
    const QPoint at = cursor.isNull() ? systemMenu->mapToGlobal(systemMenu->rect().center())
                                      : window.mapToGlobal(QPoint(window.width(), 0)) + cursor;
    QCursor::setPos(at);
    QTRY_COMPARE(QCursor::pos(), at);
    window.OnBtnSystemMenu();
    aptui::Menu *menu = window.aboutMenu();
    QTRY_VERIFY(menu->isVisible());
    const QRect shown = menu->geometry();
    const QRect title(window.titleBar()->mapToGlobal(QPoint(0, 0)), window.titleBar()->size());
    QVERIFY2(QRect(window.mapToGlobal(QPoint(0, 0)), window.size()).contains(shown),
             qPrintable(QStringLiteral("menu at %1,%2 %3x%4")
                            .arg(shown.x())
                            .arg(shown.y())
                            .arg(shown.width())
                            .arg(shown.height())));
    QVERIFY(window.screen()->availableGeometry().contains(shown));
    QVERIFY(!shown.intersects(title)); // the window's own buttons stay reachable
    const QStringList faults = cutLabels(menu);
    menu->close();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void tst_LabelsFit::passwordDialogs_data()
{
    addLanguages();
    QTest::addColumn<QString>("dialog");
    for (const auto &language : {std::pair{"English", 0}, std::pair{"Chinese", 1}}) {
        for (const char *dialog : {"reset", "batch reset", "activation panel", "ONVIF password"})
            QTest::addRow("%s, %s", language.first, dialog) << language.second << QString::fromLatin1(dialog);
    }
}

// The strength meter's word appears and changes as the user types: it must fit each time,
// and the password fields must keep their width meanwhile.
void tst_LabelsFit::passwordDialogs()
{
    QFETCH(QString, dialog);
    useLanguage();
    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked()); // the dialogs only ask on a click
    std::unique_ptr<QWidget> shown;
    std::unique_ptr<VEXOToolMainPage> window;
    if (dialog == QLatin1String("reset")) {
        shown = std::make_unique<VexoTool::ResetPasswordDialog>(discovery, nullptr, QStringLiteral("DS-1234567890"),
                                                                QStringLiteral("DS-7104"), true, true);
    } else if (dialog == QLatin1String("batch reset")) {
        shown = std::make_unique<VexoTool::ResetPasswordWidget>();
    } else if (dialog == QLatin1String("ONVIF password")) {
        VexoTool::OnvifTarget target;
        target.address = QStringLiteral("192.168.100.254");
        shown = std::make_unique<VexoTool::OnvifPasswordDialog>(nullptr, target);
    } else {
        window = std::make_unique<VEXOToolMainPage>(&store, &discovery);
        window->resize(1024, 600);
        window->deviceModifyPage()->onCurrentSelectionChange(ActivateSingle, devices(*window, {1}));
    }
    QWidget *root = shown ? shown.get() : window.get();
    root->show();
    QVERIFY(QTest::qWaitForWindowExposed(root));

    auto *password = root->findChild<QLineEdit *>(QStringLiteral("m_lineEditNewPassword"));
    auto *confirm = root->findChild<QLineEdit *>(QStringLiteral("m_lineEditConfirmPassword"));
    QVERIFY(password && confirm);
    const int passwordWidth = password->width();
    const int confirmWidth = confirm->width();
    QStringList faults;
    for (const char *typed : {"", "abcd1234", "abcd-efgh", "Abcd-1234", "abcdefgh12345678"}) {
        password->setText(QLatin1String(typed));
        QApplication::processEvents();
        for (const QString &fault : cutLabels(root))
            faults.append(QLatin1String(typed) + QStringLiteral(": ") + fault);
        if (password->width() != passwordWidth || confirm->width() != confirmWidth)
            faults.append(QLatin1String(typed) + QStringLiteral(": the password fields changed width"));
        // The typed dots fit the field.
        const int dots = password->fontMetrics().horizontalAdvance(password->displayText());
        if (dots > password->contentsRect().width())
            faults.append(QStringLiteral("%1: the dots are cut (%2 of %3 px)")
                              .arg(QLatin1String(typed))
                              .arg(dots)
                              .arg(password->contentsRect().width()));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void tst_LabelsFit::otherDialogs_data()
{
    addLanguages();
    QTest::addColumn<QString>("dialog");
    for (const auto &language : {std::pair{"English", 0}, std::pair{"Chinese", 1}}) {
        for (const char *dialog : {"restore", "export", "results", "exit question", "about panel"})
            QTest::addRow("%s, %s", language.first, dialog) << language.second << QString::fromLatin1(dialog);
    }
}

void tst_LabelsFit::otherDialogs()
{
    QFETCH(QString, dialog);
    useLanguage();
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked()); // never started: the dialog only asks on a click
    std::unique_ptr<QWidget> owned;
    std::unique_ptr<AboutDialog> about;
    std::unique_ptr<QStandardItemModel> model;
    QWidget *root = nullptr;
    if (dialog == QLatin1String("restore")) {
        owned = std::make_unique<VexoTool::RestorePasswordDialog>(discovery, nullptr, QStringLiteral("DS-1234567890"),
                                                                  QStringLiteral("DS-7104"));
    } else if (dialog == QLatin1String("export")) {
        model = std::make_unique<QStandardItemModel>(1, 1);
        owned = std::make_unique<VexoTool::DevicesInfoSavePage>(model.get(), QList<int>{0});
    } else if (dialog == QLatin1String("results")) {
        auto page = std::make_unique<VexoTool::DeviceModifyResultPage>();
        DeviceInfo device;
        device.strIndex = QStringLiteral("1");
        device.strDeviceType = QStringLiteral("DS-7104");
        device.strIPv4Address = QStringLiteral("192.168.1.64");
        device.strSerialNumber = QStringLiteral("DS-1234567890");
        device.strResult = QStringLiteral("Succeed");
        page->setDevices({device, device});
        owned = std::move(page);
    } else if (dialog == QLatin1String("exit question")) {
        auto tip = std::make_unique<VexoTool::TipDialog>();
        tip->resize(350, 220);
        tip->setTipText(QCoreApplication::translate("VexoTool::VEXOToolMainPage", "Exit the VEXO software?"));
        owned = std::move(tip);
    } else {
        about = std::make_unique<AboutDialog>();
        root = about->defaultWidget();
    }
    if (!root)
        root = owned.get();
    root->show();
    QVERIFY(QTest::qWaitForWindowExposed(root));
    const QStringList faults = cutLabels(root);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void tst_LabelsFit::messages_data()
{
    addLanguages();
    QTest::addColumn<int>("box"); // 0 small warning, 1 large warning, 2 start-up message, 3 F1 without manual
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("text");
    const QString rule = QStringLiteral(
        "Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special "
        "character for your password with at least two kinds of them contained.");
    for (const auto &language : {std::pair{"English", 0}, std::pair{"Chinese", 1}}) {
        QTest::addRow("%s, password rule", language.first)
            << language.second << 1 << "VexoTool::ResetPasswordWidget" << rule;
        QTest::addRow("%s, gateway", language.first) << language.second << 0 << "VexoTool::DeviceNetParaPage"
                                                     << "Gateway can not be empty";
        QTest::addRow("%s, small screen", language.first)
            << language.second << 2 << "apt::ToolsApplication"
            << "Display resolution less than 1024*768,are you sure to start the program?";
        QTest::addRow("%s, no user manual", language.first) << language.second << 3 << ""
                                                            << "";
        QTest::addRow("%s, mixed selection", language.first) << language.second << 0 << "VexoTool::DeviceModifyPage"
                                                             << "Sorry, please enter the administrator password.";
    }
}

void tst_LabelsFit::messages()
{
    QFETCH(int, box);
    QFETCH(QString, context);
    QFETCH(QString, text);
    useLanguage();
    const QString translated = QCoreApplication::translate(context.toUtf8().constData(), text.toUtf8().constData());
    QStringList faults;
    QRect shown;
    VexoTest::whenModal([&](QWidget *modal) {
        faults = cutLabels(modal);
        shown = modal->frameGeometry();
        modal->close();
    });
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    // Asked for near the screen's right edge, as a dialog there would.
    const QPoint at(screen.right() - 100, screen.top() + 100);
    QTemporaryDir emptyDir;
    const QString startDir = QDir::currentPath();
    AboutDialog about;
    switch (box) {
    case 0:
        VexoTool::WarningDialog::showWarning(at, VexoTool::WarningDialog::Error, translated);
        break;
    case 1:
        VexoTool::WarningDialog::showLargeWarning(at, VexoTool::WarningDialog::Error, translated);
        break;
    case 2:
        apt::ToolsApplication::showStartupMessage(translated, true);
        break;
    default:
        // The message lists the folders searched, one a line.
        QVERIFY(QDir::setCurrent(emptyDir.path()));
        about.onGetHelp();
        QDir::setCurrent(startDir);
        break;
    }
    QVERIFY(shown.isValid());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    QVERIFY(screen.contains(shown));
}

void tst_LabelsFit::onvifDialogsOnScreen_data()
{
    addLanguages();
    QTest::addColumn<QString>("dialog");
    for (const auto &language : {std::pair{"English", 0}, std::pair{"Chinese", 1}}) {
        for (const char *dialog : {"password", "sign-in", "sign-in results", "clear-text question"})
            QTest::addRow("%s, %s", language.first, dialog) << language.second << QString::fromLatin1(dialog);
    }
}

// The ONVIF dialogs open whole on the screen as the program opens them, with the window filling
// the screen (so the panel they start from is at its right edge), and no larger than 1024 x 600.
void tst_LabelsFit::onvifDialogsOnScreen()
{
    QFETCH(QString, dialog);
    useLanguage();
    DeviceStore store;
    VEXO::VexoHandler discovery(VEXO::VexoLibrary::linked());
    QUdpSocket unused;
    QVERIFY(unused.bind(QHostAddress::LocalHost, 0));
    onvif::ClientOptions options;
    options.scope = onvif::ClientOptions::Scope::Loopback;
    options.discoveryPort = unused.localPort();
    unused.close();
    VEXO::OnvifHandler onvifService(options);
    VEXOToolMainPage window(&store, &discovery, &onvifService);
    const QRect area = window.screen()->availableGeometry();
    window.setGeometry(area);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStringList faults;
    QRect shown;
    VexoTest::whenModal([&](QWidget *modal) {
        faults = cutLabels(modal);
        shown = modal->frameGeometry();
        modal->close();
    });
    if (dialog == QLatin1String("password")) {
        window.deviceModifyPage()->onCurrentSelectionChange(ModifySingle, devices(window, {100}));
        auto *change = window.deviceModifyPage()->findChild<QPushButton *>(QStringLiteral("m_btnChangePassword"));
        QVERIFY(change && change->isVisible());
        change->click();
    } else if (dialog == QLatin1String("sign-in")) {
        window.onOnvifSignIn();
    } else if (dialog == QLatin1String("sign-in results")) {
        VEXO::OnvifSignInOutcome outcome;
        outcome.record = deviceRecord(100);
        VexoTool::OnvifFailure refused;
        refused.kind = VexoTool::OnvifFailureKind::NotAuthorized;
        outcome.failure = refused;
        emit onvifService.signalSignInFinished({outcome, outcome});
    } else {
        emit onvifService.signalClearTextOnly(QStringLiteral("urn:uuid:1"), QStringLiteral("Cam-Z8 (192.168.100.254)"));
    }
    QTRY_VERIFY(shown.isValid());
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    const QString where = QStringLiteral("%1,%2 %3x%4 on %5,%6 %7x%8")
                              .arg(shown.x())
                              .arg(shown.y())
                              .arg(shown.width())
                              .arg(shown.height())
                              .arg(area.x())
                              .arg(area.y())
                              .arg(area.width())
                              .arg(area.height());
    QVERIFY2(shown.width() <= 1024 && shown.height() <= 600, qPrintable(where));
    // Where the screen can hold it (not at every scale of the test screen), it opens on it.
    if (shown.width() <= area.width() && shown.height() <= area.height())
        QVERIFY2(area.contains(shown), qPrintable(where));
}

QTEST_MAIN(tst_LabelsFit)

#include "tst_labelsfit.moc"

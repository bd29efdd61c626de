// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalwatcher.h"
#include "urlcatcher.h"

#include <aboutdialog.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>

#include <memory>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void buildNumberFromDate_data();
    void buildNumberFromDate();
    void panelTexts();
    void buttonVisibility();
    void manualUrl_data();
    void manualUrl();
    void helpOpensManualOfCurrentDirectory_data();
    void helpOpensManualOfCurrentDirectory();
    void missingManualShowsMessageUnderCover();
    void manualFolders_data();
    void manualFolders();
    void helpFindsManualBesideTheProgram();
    void manualWithoutViewerNamesFileAndFolder();

private:
    QTemporaryDir m_dir;
    QString m_startDir;
    QList<QUrl> m_opened;
    // The desktop handler of file URLs while the test runs: nothing may get this far.
    std::unique_ptr<VexoTest::UrlCatcher> m_fileUrls;
};

void TestAbout::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_startDir = QDir::currentPath();
    // Nothing in this test may reach the real desktop.
    m_fileUrls = std::make_unique<VexoTest::UrlCatcher>(QStringLiteral("file"));
    AboutDialog::setUrlOpener([this](const QUrl &url) {
        m_opened.append(url);
        return true;
    });
}

void TestAbout::cleanupTestCase()
{
    m_fileUrls.reset();
}

void TestAbout::cleanup()
{
    QDir::setCurrent(m_startDir);
    m_opened.clear();
    QVERIFY(m_fileUrls->urls().isEmpty());
}

void TestAbout::buildNumberFromDate_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<uint>("number");
    QTest::addRow("two-digit day") << "Mar 28 2019" << 20190328u;
    QTest::addRow("one-digit day, space padded") << "Jan  5 2026" << 20260105u;
    QTest::addRow("December") << "Dec 31 2025" << 20251231u;
    QTest::addRow("not a date") << "Foo 12 2020" << 0u;
}

void TestAbout::buildNumberFromDate()
{
    QFETCH(QString, date);
    QFETCH(uint, number);
    QCOMPARE(aptui::CDlgAbout::buildNumberFromDate(date), number);
}

void TestAbout::panelTexts()
{
    AboutDialog about;
    QWidget *panel = about.defaultWidget();
    QVERIFY(panel);
    QCOMPARE(panel->objectName(), QStringLiteral("AboutDialog_ID_FX_CANNOT_BE_MULTI"));
    QCOMPARE(panel->size(), QSize(288, 134));
    QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("m_labNameValue"))->text(), QStringLiteral("Name: VEXO"));
    const QString version = panel->findChild<QLabel *>(QStringLiteral("m_labVersionValue"))->text();
#ifdef VEXO_TEST_CA_BUILD
    const QString testBuild = QStringLiteral("\nTest build: accepts test device certificates");
#else
    const QString testBuild;
#endif
    // The project's version, as every program and the package say it, then the build number.
    QCOMPARE(version, QStringLiteral("Version: v" PROJECT_VERSION_TEXT "build")
                          + QString::number(aptui::CDlgAbout::buildNumber()) + testBuild);
    QCOMPARE(QString::number(aptui::CDlgAbout::buildNumber()).size(), 8);
    QCOMPARE(panel->findChild<QAbstractButton *>(QStringLiteral("m_conerBtn"))->text(), QStringLiteral("User Help"));
    for (const char *name : {"aboutLine1", "aboutLine2", "aboutbtn1", "aboutbtn2"})
        QVERIFY2(panel->findChild<QWidget *>(QLatin1String(name))->isHidden(), name);
}

void TestAbout::buttonVisibility()
{
    aptui::CDlgAbout about;
    QWidget *panel = about.defaultWidget();
    auto hidden = [panel](const char *name) {
        return panel->findChild<QWidget *>(QLatin1String(name))->isHidden();
    };
    about.setLinesAndButtonsVisible(false);
    about.setBtn1Visible(true);
    QVERIFY(!hidden("aboutbtn1"));
    QVERIFY(!hidden("aboutLine1"));
    QVERIFY(hidden("aboutLine2")); // the button was hidden before
    about.setBtn2Visible(true);
    QVERIFY(!hidden("aboutLine1"));
    about.setBtn1Visible(true);
    QVERIFY(!hidden("aboutLine2"));

    QSignalSpy spy(&about, &aptui::CDlgAbout::siganlBtn2Clicked);
    QTest::mouseClick(panel->findChild<QAbstractButton *>(QStringLiteral("aboutbtn2")), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
}

void TestAbout::manualUrl_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<QString>("directory");
    QTest::addColumn<QString>("path");
    QTest::addRow("English") << 0 << "/opt/vexo"
                             << "/opt/vexo/VEXO User Manual.pdf";
    QTest::addRow("Chinese") << 1 << "/opt/vexo" << QStringLiteral("/opt/vexo/设备网络搜索用户使用手册.pdf");
    QTest::addRow("root folder, not a network path") << 0 << "/"
                                                     << "/VEXO User Manual.pdf";
    QTest::addRow("other language: the folder") << 9 << "/opt/vexo"
                                                << "/opt/vexo";
}

void TestAbout::manualUrl()
{
    QFETCH(int, language);
    QFETCH(QString, directory);
    QFETCH(QString, path);
    const QUrl url = AboutDialog::manualUrl(quint32(language), directory);
    QVERIFY(url.isLocalFile());
    QVERIFY(url.host().isEmpty());
    QCOMPARE(url.toLocalFile(), path);
}

void TestAbout::helpOpensManualOfCurrentDirectory_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("file");
    QTest::addRow("English") << 0 << "VEXO User Manual.pdf";
    QTest::addRow("Chinese") << 1 << QStringLiteral("设备网络搜索用户使用手册.pdf");
    QTest::addRow("language 9: the program's folder itself") << 9 << "";
}

void TestAbout::helpOpensManualOfCurrentDirectory()
{
    QFETCH(int, code);
    QFETCH(QString, file);
    // Without a manual beside the program, the one in the working folder opens.
    QTemporaryDir workDir;
    if (!file.isEmpty()) {
        QFile manual(workDir.filePath(file));
        QVERIFY(manual.open(QIODevice::WriteOnly));
    }
    QVERIFY(QDir::setCurrent(workDir.path()));

    AboutDialog about;
    about.setLanguageCode(quint32(code));
    QSignalSpy cover(&about, &AboutDialog::signalCover);
    QVERIFY(about.onGetHelp());
    QCOMPARE(m_opened.size(), 1);
    const QString expected = file.isEmpty() ? QCoreApplication::applicationDirPath() : QDir::current().filePath(file);
    QCOMPARE(m_opened.first().toLocalFile(), expected);
    QCOMPARE(cover.count(), 0);
}

void TestAbout::missingManualShowsMessageUnderCover()
{
    QTemporaryDir emptyDir;
    QVERIFY(QDir::setCurrent(emptyDir.path()));

    AboutDialog about;
    QSignalSpy cover(&about, &AboutDialog::signalCover);
    QSignalSpy discover(&about, &AboutDialog::signalDiscover);
    QString shownText;
    int coversWhileShown = -1;
    int discoversWhileShown = -1;
    VexoTest::whenModal([&](QWidget *dialog) {
        shownText = dialog->findChild<QLabel *>(QStringLiteral("m_labelNULL"))->text();
        coversWhileShown = cover.count();
        discoversWhileShown = discover.count();
        QCOMPARE(dialog->objectName(), QStringLiteral("APP_WARNINGDLG"));
        dialog->close();
    });

    QVERIFY(!about.onGetHelp());
    // The message names the file and every folder searched.
    QVERIFY2(shownText.startsWith(QStringLiteral("No user manual found.\n")), qPrintable(shownText));
    QVERIFY(shownText.contains(QStringLiteral("\"VEXO User Manual.pdf\"")));
    for (const QString &folder : AboutDialog::manualFolders(QCoreApplication::applicationDirPath(), emptyDir.path()))
        QVERIFY2(shownText.contains(QDir::toNativeSeparators(folder)), qPrintable(folder));
    QCOMPARE(coversWhileShown, 1);
    QCOMPARE(discoversWhileShown, 0);
    QCOMPARE(discover.count(), 1);
    QVERIFY(m_opened.isEmpty());
}

void TestAbout::manualFolders_data()
{
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("currentDir");
    QTest::addColumn<QStringList>("folders");
    QTest::addRow("program, installed data, installed documentation, working folder")
        << "/opt/vexo/bin"
        << "/home/user"
        << QStringList{"/opt/vexo/bin", "/opt/vexo/share/vexotool", "/opt/vexo/share/doc/vexotool", "/home/user"};
    QTest::addRow("started from its own folder: searched once")
        << "/opt/vexo/bin"
        << "/opt/vexo/bin/" << QStringList{"/opt/vexo/bin", "/opt/vexo/share/vexotool", "/opt/vexo/share/doc/vexotool"};
}

void TestAbout::manualFolders()
{
    QFETCH(QString, programDir);
    QFETCH(QString, currentDir);
    QFETCH(QStringList, folders);
    QCOMPARE(AboutDialog::manualFolders(programDir, currentDir), folders);
}

// A desktop launcher starts the program from some other folder: the manual beside the program
// is found all the same, and before one in the working folder.
void TestAbout::helpFindsManualBesideTheProgram()
{
    const QString name = QStringLiteral("VEXO User Manual.pdf");
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(name);
    QVERIFY2(!QFile::exists(beside), "a manual already lies beside the test program");
    QFile manual(beside);
    QVERIFY(manual.open(QIODevice::WriteOnly));
    manual.close();
    const auto removeManual = qScopeGuard([&] { QFile::remove(beside); });
    QTemporaryDir workDir;
    QFile other(workDir.filePath(name));
    QVERIFY(other.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(workDir.path()));

    AboutDialog about;
    about.setLanguageCode(0);
    QVERIFY(about.onGetHelp());
    QCOMPARE(m_opened.size(), 1);
    QCOMPARE(m_opened.first().toLocalFile(), beside);
}

void TestAbout::manualWithoutViewerNamesFileAndFolder()
{
    QTemporaryDir workDir;
    QFile manual(workDir.filePath(QStringLiteral("VEXO User Manual.pdf")));
    QVERIFY(manual.open(QIODevice::WriteOnly));
    QVERIFY(QDir::setCurrent(workDir.path()));
    AboutDialog::setUrlOpener([this](const QUrl &url) {
        m_opened.append(url);
        return false; // no program takes PDF files
    });
    const auto restoreOpener = qScopeGuard([this] {
        AboutDialog::setUrlOpener([this](const QUrl &url) {
            m_opened.append(url);
            return true;
        });
    });

    AboutDialog about;
    QString shownText;
    VexoTest::whenModal([&](QWidget *dialog) {
        shownText = dialog->findChild<QLabel *>(QStringLiteral("m_labelNULL"))->text();
        dialog->close();
    });
    QVERIFY(!about.onGetHelp());
    QCOMPARE(m_opened.size(), 1);
    QVERIFY2(shownText.contains(QStringLiteral("\"VEXO User Manual.pdf\"")), qPrintable(shownText));
    QVERIFY2(shownText.contains(QDir::toNativeSeparators(QDir::currentPath())), qPrintable(shownText));
    QVERIFY(!shownText.contains(QStringLiteral("No user manual found.")));
}

QTEST_MAIN(TestAbout)

#include "tst_about.moc"

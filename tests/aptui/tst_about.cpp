// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalwatcher.h"
#include "urlcatcher.h"

#include <aboutdialog.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
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
    QCOMPARE(version, QStringLiteral("Version: v3.0.0.1build") + QString::number(aptui::CDlgAbout::buildNumber()));
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
    QTest::addRow("language 9: the folder itself") << 9 << "";
}

void TestAbout::helpOpensManualOfCurrentDirectory()
{
    QFETCH(int, code);
    QFETCH(QString, file);
    // The manual is looked for in the working directory, not beside the program.
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
    const QString expected = file.isEmpty() ? QDir::currentPath() : QDir::current().filePath(file);
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
    QCOMPARE(shownText, QStringLiteral("No user manual found."));
    QCOMPARE(coversWhileShown, 1);
    QCOMPARE(discoversWhileShown, 0);
    QCOMPARE(discover.count(), 1);
    QVERIFY(m_opened.isEmpty());
}

QTEST_MAIN(TestAbout)

#include "tst_about.moc"

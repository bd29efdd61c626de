// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configuremanager.h"
#include "lanaguagemanager.h"
#include "languagefont.h"

#include <akloguitoolkit/guitext.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using apt::LanaguageManager;

class tst_LanaguageManager : public QObject
{
    Q_OBJECT

private slots:
    void languageFiles_data();
    void languageFiles();
    void loadTranslators_data();
    void loadTranslators();
    void languageFont_data();
    void languageFont();
    void constructionInstallsTranslators();
};

void tst_LanaguageManager::languageFiles_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<QString>("programFile");
    QTest::addColumn<QString>("qtFile");
    QTest::addColumn<QString>("toolkitFile");
    QTest::addColumn<QLocale>("locale");

    QTest::addRow("0 English") << 0u << "vexotool_en.qm"
                               << ""
                               << "VuzavaRadezir_en.qm" << QLocale(QLocale::English, QLocale::UnitedStates);
    QTest::addRow("1 Chinese") << 1u << "vexotool_zh.qm"
                               << "qt_zh_CN.qm"
                               << "aKLOGUIToolkit_zh.qm" << QLocale(QLocale::Chinese, QLocale::China);
    QTest::addRow("2 none") << 2u << ""
                            << ""
                            << "" << QLocale::system();
    QTest::addRow("9 none") << 9u << ""
                            << ""
                            << "" << QLocale::system();
    QTest::addRow("10 none") << 10u << ""
                             << ""
                             << "" << QLocale::system();
    QTest::addRow("max none") << 0xffffffffu << ""
                              << ""
                              << "" << QLocale::system();
}

void tst_LanaguageManager::languageFiles()
{
    QFETCH(quint32, code);
    QFETCH(QString, programFile);
    QFETCH(QString, qtFile);
    QFETCH(QString, toolkitFile);
    QFETCH(QLocale, locale);

    const apt::LanguageFiles files = LanaguageManager::languageFiles(code);
    QCOMPARE(files.programFile, programFile);
    QCOMPARE(files.qtFile, qtFile);
    QCOMPARE(files.toolkitFile, toolkitFile);
    QCOMPARE(files.locale, locale);
}

void tst_LanaguageManager::loadTranslators_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<QList<bool>>("loaded");
    QTest::addColumn<QString>("exitText");

    // The fixture directory holds only vexotool_zh.qm.
    QTest::addRow("0 English, files missing") << 0u << QList<bool>{false, false} << "Exit";
    QTest::addRow("1 Chinese, program file found") << 1u << QList<bool>{true, false, false} << QStringLiteral("退出");
    QTest::addRow("9 no files, still two translators") << 9u << QList<bool>{false, false} << "Exit";
}

void tst_LanaguageManager::loadTranslators()
{
    QFETCH(quint32, code);
    QFETCH(QList<bool>, loaded);
    QFETCH(QString, exitText);

    const auto translators = LanaguageManager::loadTranslators(LanaguageManager::languageFiles(code), ":/i18n/");
    QCOMPARE(int(translators.size()), loaded.size());
    for (int i = 0; i < loaded.size(); ++i) {
        QVERIFY(translators.at(i));
        QCOMPARE(!translators.at(i)->isEmpty(), loaded.at(i));
    }

    for (const auto &translator : translators)
        QCoreApplication::installTranslator(translator.get());
    QCOMPARE(QCoreApplication::translate("LanguageFixture", "Exit"), exitText);
    for (const auto &translator : translators)
        QCoreApplication::removeTranslator(translator.get());
}

void tst_LanaguageManager::languageFont_data()
{
    QTest::addColumn<quint32>("code");
    QTest::addColumn<QString>("family");

    QTest::addRow("10 Tahoma") << 10u << "Tahoma";
    QTest::addRow("9 Batang") << 9u << "Batang";
    QTest::addRow("0 keeps the font") << 0u << "";
    QTest::addRow("1 keeps the font") << 1u << "";
    QTest::addRow("11 keeps the font") << 11u << "";
}

void tst_LanaguageManager::languageFont()
{
    QFETCH(quint32, code);
    QFETCH(QString, family);

    QFont startFont(QStringLiteral("Microsoft YaHei"), 9);
    startFont.setStyleHint(QFont::SansSerif, QFont::PreferAntialias);
    QGuiApplication::setFont(startFont);

    const QLocale locale = LanaguageManager::languageFiles(code).locale;
    aKLOGUIToolkit::InitGuiLocale(QLocale::c());
    apt::applyLanguageFont(code, locale);

    const QFont font = QGuiApplication::font();
    QCOMPARE(font.family(), family.isEmpty() ? QStringLiteral("Microsoft YaHei") : family);
    QCOMPARE(font.pointSize(), 9);
    QCOMPARE(font.styleHint(), QFont::SansSerif);
    QCOMPARE(font.styleStrategy(), QFont::PreferAntialias);
    QCOMPARE(aKLOGUIToolkit::GuiLocale(), locale);
}

void tst_LanaguageManager::constructionInstallsTranslators()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QFile setup(dir.filePath("Setup.xml"));
    QVERIFY(setup.open(QIODevice::WriteOnly));
    setup.write("<Setup><Translator><Value>1</Value></Translator></Setup>");
    setup.close();
    QVERIFY(apt::ConfigureManager::GetInstance()->load(setup.fileName()));

    LanaguageManager *manager = LanaguageManager::GetInstance();
    QCOMPARE(manager->language(), 1u);
    QCOMPARE(manager->locale(), QLocale(QLocale::Chinese, QLocale::China));
    // Program, Qt and toolkit translators, installed even though no file is beside the test.
    QCOMPARE(manager->translatorCount(), 3);
    QCOMPARE(LanaguageManager::translationsPath(), QCoreApplication::applicationDirPath() + "/translations/");

    // Created once: a later change of the setting does not switch the language.
    setup.open(QIODevice::WriteOnly | QIODevice::Truncate);
    setup.write("<Setup><Translator><Value>0</Value></Translator></Setup>");
    setup.close();
    QVERIFY(apt::ConfigureManager::GetInstance()->load(setup.fileName()));
    QCOMPARE(LanaguageManager::GetInstance(), manager);
    QCOMPARE(manager->language(), 1u);
}

QTEST_MAIN(tst_LanaguageManager)

#include "tst_lanaguagemanager.moc"

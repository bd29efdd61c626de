// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "configuremanager.h"
#include "skinloader.h"

#include <iskinplugin.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest>

using apt::SkinLoader;

namespace {

// Collects the messages of one call, with their level, instead of printing them.
class MessageLog
{
public:
    MessageLog()
    {
        s_lines.clear();
        m_previous = qInstallMessageHandler(&MessageLog::handle);
    }
    ~MessageLog() { qInstallMessageHandler(m_previous); }
    QStringList lines() const { return s_lines; }

private:
    static void handle(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        static const char *const levels[] = {"debug", "warning", "critical", "fatal", "info"};
        s_lines.append(QString::fromLatin1(levels[type]) + QLatin1String(": ") + text);
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous = nullptr;
};

enum class Entry { Skin, Other, Text };

} // namespace

Q_DECLARE_METATYPE(QList<Entry>)

class tst_SkinLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void skinResourcesAppearWhenFound();
    void findSkin_data();
    void findSkin();
    void findSkinAgainGivesTheLoadedLibrary();
    void loadSkinLogs_data();
    void loadSkinLogs();
    void styleSheet_data();
    void styleSheet();
    void loadStyle_data();
    void loadStyle();

private:
    QString directoryWith(const QList<Entry> &entries);

    QTemporaryDir m_workDir;
    int m_directoryCount = 0;
};

void tst_SkinLoader::initTestCase()
{
    QVERIFY(m_workDir.isValid());
    QVERIFY2(QFileInfo::exists(SKIN_PLUGIN_FILE), SKIN_PLUGIN_FILE);
    QVERIFY2(QFileInfo::exists(OTHER_PLUGIN_FILE), OTHER_PLUGIN_FILE);
}

// A folder of its own per case: copies of the skin and the other plug-in, and a text file.
QString tst_SkinLoader::directoryWith(const QList<Entry> &entries)
{
    const QString dir = m_workDir.filePath(QString::number(++m_directoryCount));
    if (!QDir().mkpath(dir))
        return {};
    for (const Entry entry : entries) {
        bool copied = false;
        switch (entry) {
        case Entry::Skin:
            copied = QFile::copy(SKIN_PLUGIN_FILE, dir + '/' + QFileInfo(SKIN_PLUGIN_FILE).fileName());
            break;
        case Entry::Other:
            copied = QFile::copy(OTHER_PLUGIN_FILE, dir + '/' + QFileInfo(OTHER_PLUGIN_FILE).fileName());
            break;
        case Entry::Text: {
            QFile text(dir + "/readme.txt");
            copied = text.open(QIODevice::WriteOnly) && text.write("not a library\n") > 0;
            break;
        }
        }
        if (!copied)
            return {};
    }
    return dir;
}

void tst_SkinLoader::skinResourcesAppearWhenFound()
{
    const QString styleSheet = SkinLoader::programStyleSheetFile();
    QVERIFY(!QFileInfo::exists(styleSheet));
    QVERIFY(SkinLoader::findSkin("CommonSkin", QFileInfo(SKIN_PLUGIN_FILE).absolutePath()));
    QVERIFY(QFileInfo::exists(styleSheet));
    QVERIFY(QFileInfo(SkinLoader::toolkitStyleSheetDirectory()).isDir());
}

void tst_SkinLoader::findSkin_data()
{
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");

    QTest::addRow("skin library") << QList{Entry::Skin} << "CommonSkin" << true;
    QTest::addRow("name is case-sensitive") << QList{Entry::Skin} << "commonskin" << false;
    QTest::addRow("unknown name") << QList{Entry::Skin} << "DarkSkin" << false;
    QTest::addRow("empty name") << QList{Entry::Skin} << "" << false;
    QTest::addRow("null name") << QList{Entry::Skin} << QString() << false;
    QTest::addRow("other interface only") << QList{Entry::Other} << "CommonSkin" << false;
    QTest::addRow("other interface skipped") << QList{Entry::Other, Entry::Skin} << "CommonSkin" << true;
    QTest::addRow("file that does not load skipped") << QList{Entry::Text, Entry::Skin} << "CommonSkin" << true;
    QTest::addRow("all kinds") << QList{Entry::Text, Entry::Other, Entry::Skin} << "CommonSkin" << true;
    QTest::addRow("empty folder") << QList<Entry>{} << "CommonSkin" << false;
}

void tst_SkinLoader::findSkin()
{
    QFETCH(QList<Entry>, entries);
    QFETCH(QString, name);
    QFETCH(bool, found);

    const QString dir = directoryWith(entries);
    QVERIFY(!dir.isEmpty());
    ISkinPlugin *skin = SkinLoader::findSkin(name, dir);
    QCOMPARE(skin != nullptr, found);
    if (skin)
        QVERIFY(skin->skinNames().contains(name));
}

void tst_SkinLoader::findSkinAgainGivesTheLoadedLibrary()
{
    const QString dir = QFileInfo(SKIN_PLUGIN_FILE).absolutePath();
    ISkinPlugin *first = SkinLoader::findSkin("CommonSkin", dir);
    QVERIFY(first);
    QCOMPARE(SkinLoader::findSkin("CommonSkin", dir), first);
    QVERIFY(!SkinLoader::findSkin("CommonSkin", m_workDir.filePath("no such folder")));
}

void tst_SkinLoader::loadSkinLogs_data()
{
    QTest::addColumn<QString>("skinElement");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("line");

    QTest::addRow("no Skin setting") << "" << true << "warning: [Tool]LoadSkin = CommonSkin Success";
    QTest::addRow("Skin CommonSkin") << "<Skin><Value>CommonSkin</Value></Skin>" << true
                                     << "warning: [Tool]LoadSkin = CommonSkin Success";
    QTest::addRow("empty Skin value") << "<Skin><Value></Value></Skin>" << false << "warning: [Tool]LoadSkin =  failed";
    QTest::addRow("Skin without Value") << "<Skin/>" << false << "warning: [Tool]LoadSkin =  failed";
    QTest::addRow("unknown skin") << "<Skin><Value>BlueSkin</Value></Skin>" << false
                                  << "warning: [Tool]LoadSkin = BlueSkin failed";
}

void tst_SkinLoader::loadSkinLogs()
{
    QFETCH(QString, skinElement);
    QFETCH(bool, found);
    QFETCH(QString, line);

    const QString setupPath = m_workDir.filePath("Setup.xml");
    QFile setup(setupPath);
    QVERIFY(setup.open(QIODevice::WriteOnly | QIODevice::Truncate));
    setup.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Setup><Translator><Value>0</Value></Translator>"
                + skinElement.toUtf8() + "</Setup>\n");
    setup.close();
    QVERIFY(apt::ConfigureManager::GetInstance()->load(setupPath));

    bool result = false;
    QStringList lines;
    {
        MessageLog log;
        result = SkinLoader::loadSkin(QFileInfo(SKIN_PLUGIN_FILE).absolutePath());
        lines = log.lines();
    }
    QCOMPARE(result, found);
    QCOMPARE(lines, QStringList{line});
}

void tst_SkinLoader::styleSheet_data()
{
    QTest::addColumn<QString>("toolkitDirectory");
    QTest::addColumn<QString>("programFile");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");
    QTest::addColumn<QString>("ending");

    const QString program = "QWidget#fromProgram { color: #050505; }\n";
    QTest::addRow("toolkit files, then the program's")
        << ":/fixtures/qss/toolkit/"
        << ":/fixtures/qss/program.qss" << QStringList{"#fromA", "#fromB"} << QStringList{"#fromMac", "#fromSub"}
        << program;
    QTest::addRow("folder without final slash") << ":/fixtures/qss/toolkit"
                                                << ":/fixtures/qss/program.qss" << QStringList{"#fromA", "#fromB"}
                                                << QStringList{"#fromMac", "#fromSub"} << program;
    QTest::addRow("no toolkit folder") << ":/fixtures/none/"
                                       << ":/fixtures/qss/program.qss" << QStringList{}
                                       << QStringList{"#fromA", "#fromMac"} << program;
    QTest::addRow("no program file") << ":/fixtures/qss/toolkit/"
                                     << ":/fixtures/none.qss" << QStringList{"#fromA", "#fromB"}
                                     << QStringList{"#fromMac", "#fromProgram"} << "";
}

void tst_SkinLoader::styleSheet()
{
    QFETCH(QString, toolkitDirectory);
    QFETCH(QString, programFile);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    QFETCH(QString, ending);

    const QString text = SkinLoader::styleSheet(toolkitDirectory, programFile);
    for (const QString &part : present)
        QVERIFY2(text.count(part) == 1, qPrintable(part));
    for (const QString &part : absent)
        QVERIFY2(!text.contains(part), qPrintable(part));
    QVERIFY(text.endsWith(ending));
}

void tst_SkinLoader::loadStyle_data()
{
    QTest::addColumn<bool>("onLibraryPath");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QStringList>("lines");

    // In this order: the factory must not have seen the plug-in folder before the first row.
    QTest::addRow("plug-in folder not on the library path")
        << false << false << QStringList{"debug: [ToolsApplication::loadStyle]The CommonStyle does not exist."};
    QTest::addRow("plug-in folder on the library path") << true << true << QStringList{};
}

void tst_SkinLoader::loadStyle()
{
    QFETCH(bool, onLibraryPath);
    QFETCH(bool, exists);
    QFETCH(QStringList, lines);

    const QString plugins = qEnvironmentVariable("VEXO_TEST_BIN_DIR") + "/plugins";
    QVERIFY(QFileInfo::exists(plugins + "/styles"));
    if (onLibraryPath)
        QCoreApplication::addLibraryPath(plugins);

    QStyle *before = QApplication::style();
    bool result = false;
    QStringList logged;
    {
        MessageLog log;
        result = SkinLoader::loadStyle();
        logged = log.lines();
    }
    QCoreApplication::removeLibraryPath(plugins);

    QCOMPARE(result, exists);
    QCOMPARE(logged, lines);
    if (exists)
        QCOMPARE(QApplication::style()->name().toLower(), QStringLiteral("commonstyle"));
    else
        QCOMPARE(QApplication::style(), before);
}

QTEST_MAIN(tst_SkinLoader)
#include "tst_skinloader.moc"

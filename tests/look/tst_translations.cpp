// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {

struct Message
{
    QString context;
    QString source;
    bool numerus = false;
    QStringList translations; // one per plural form, or the single translation
    bool finished = false;
};

QString key(const Message &m)
{
    return m.context + QStringLiteral(" | ") + m.source;
}

// Reads a catalogue's messages, keyed by context and source text.
QHash<QString, Message> readCatalogue(const QString &path)
{
    QHash<QString, Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QDomDocument doc;
    if (!doc.setContent(&file))
        return messages;
    for (QDomElement context = doc.documentElement().firstChildElement(QStringLiteral("context")); !context.isNull();
         context = context.nextSiblingElement(QStringLiteral("context"))) {
        const QString name = context.firstChildElement(QStringLiteral("name")).text();
        for (QDomElement e = context.firstChildElement(QStringLiteral("message")); !e.isNull();
             e = e.nextSiblingElement(QStringLiteral("message"))) {
            Message m;
            m.context = name;
            m.source = e.firstChildElement(QStringLiteral("source")).text();
            m.numerus = e.attribute(QStringLiteral("numerus")) == QLatin1String("yes");
            const QDomElement translation = e.firstChildElement(QStringLiteral("translation"));
            m.finished = !translation.hasAttribute(QStringLiteral("type"));
            if (m.numerus) {
                for (QDomElement form = translation.firstChildElement(QStringLiteral("numerusform")); !form.isNull();
                     form = form.nextSiblingElement(QStringLiteral("numerusform")))
                    m.translations.append(form.text());
            } else {
                m.translations.append(translation.text());
            }
            messages.insert(key(m), m);
        }
    }
    return messages;
}

QStringList placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%(?:L?\\d+|n)"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.append(it.next().captured());
    found.sort();
    return found;
}

QString sourceDir()
{
    return qEnvironmentVariable("VEXO_SOURCE_DIR");
}

QString translationsDir()
{
    return qEnvironmentVariable("VEXO_TEST_BIN_DIR") + QStringLiteral("/translations");
}

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void cataloguesMatchTheSources_data();
    void cataloguesMatchTheSources();
    void compiledCataloguesTranslate_data();
    void compiledCataloguesTranslate();
};

void tst_Translations::cataloguesMatchTheSources_data()
{
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("dirs");

    QTest::addRow("program, Chinese") << "vexotool_zh.ts"
                                      << "zh_CN" << PROGRAM_TEXT_DIRS;
    QTest::addRow("program, English") << "vexotool_en.ts"
                                      << "en" << PROGRAM_TEXT_DIRS;
    QTest::addRow("toolkit, Chinese") << "aKLOGUIToolkit_zh.ts"
                                      << "zh_CN" << TOOLKIT_TEXT_DIRS;
    QTest::addRow("toolkit, English") << "VuzavaRadezir_en.ts"
                                      << "en" << TOOLKIT_TEXT_DIRS;
}

// Every translatable text of the sources has a finished translation with the same placeholders,
// and the catalogue holds nothing the sources no longer use.
void tst_Translations::cataloguesMatchTheSources()
{
    QFETCH(QString, catalogue);
    QFETCH(QString, language);
    QFETCH(QString, dirs);

    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    const QString extracted = scratch.filePath(QStringLiteral("extracted.ts"));
    QStringList arguments{QStringLiteral("-silent"),
                          QStringLiteral("-locations"),
                          QStringLiteral("none"),
                          QStringLiteral("-source-language"),
                          QStringLiteral("en"),
                          QStringLiteral("-target-language"),
                          language};
    for (const QString &dir : dirs.split(QLatin1Char(',')))
        arguments.append(sourceDir() + QLatin1Char('/') + dir);
    arguments << QStringLiteral("-ts") << extracted;
    QProcess lupdate;
    lupdate.start(QStringLiteral(LUPDATE_EXECUTABLE), arguments);
    QVERIFY2(lupdate.waitForFinished(60000), "lupdate did not finish");
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

    const QHash<QString, Message> wanted = readCatalogue(extracted);
    const QHash<QString, Message> committed = readCatalogue(sourceDir() + QStringLiteral("/translations/") + catalogue);
    QVERIFY2(!wanted.isEmpty(), "lupdate found no texts");

    QStringList faults;
    for (const Message &m : wanted) {
        const auto it = committed.constFind(key(m));
        if (it == committed.cend()) {
            faults.append(QStringLiteral("missing: ") + key(m));
            continue;
        }
        const bool empty = it->translations.isEmpty()
                           || std::any_of(it->translations.cbegin(), it->translations.cend(),
                                          [](const QString &t) { return t.trimmed().isEmpty(); });
        if (!it->finished || empty)
            faults.append(QStringLiteral("untranslated: ") + key(m));
        for (const QString &t : it->translations) {
            if (placeholders(t) != placeholders(m.source) && !(m.numerus && placeholders(t).isEmpty()))
                faults.append(QStringLiteral("placeholders differ: ") + key(m) + QStringLiteral(" -> ") + t);
        }
    }
    for (const Message &m : committed) {
        if (!wanted.contains(key(m)))
            faults.append(QStringLiteral("no longer in the sources: ") + key(m));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))
                                          + QStringLiteral("\n(cmake --build <dir> --target update_translations, "
                                                           "then translate the new texts)")));
}

void tst_Translations::compiledCataloguesTranslate_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("expected");

    QTest::addRow("program, English") << "vexotool_en.qm"
                                      << "VexoTool::VEXOToolMainPage"
                                      << "Exit the VEXO software?" << QStringLiteral("Exit the VEXO software?");
    QTest::addRow("toolkit, English") << "VuzavaRadezir_en.qm"
                                      << "aKLOGUIToolkit::CWarningDlg"
                                      << "OK" << QStringLiteral("OK");
    QTest::addRow("program, Chinese") << "vexotool_zh.qm"
                                      << "VexoTool::VEXOToolMainPage"
                                      << "Exit the VEXO software?" << QStringLiteral("确定要退出 VEXO 软件吗？");
    QTest::addRow("toolkit, Chinese") << "aKLOGUIToolkit_zh.qm"
                                      << "aKLOGUIToolkit::CWarningDlg"
                                      << "OK" << QStringLiteral("确定");
    // Qt's catalogue only names its parts; it loads only when they sit beside it.
    QTest::addRow("Qt, Chinese") << "qt_zh_CN.qm"
                                 << "QPlatformTheme"
                                 << "Cancel" << QStringLiteral("取消");
}

void tst_Translations::compiledCataloguesTranslate()
{
    QFETCH(QString, file);
    QFETCH(QString, context);
    QFETCH(QString, source);
    QFETCH(QString, expected);

    QTranslator translator;
    QVERIFY2(translator.load(file, translationsDir()), qPrintable(translationsDir() + QLatin1Char('/') + file));
    const QString translated = translator.translate(context.toUtf8().constData(), source.toUtf8().constData());
    QCOMPARE(translated, expected);
}

QTEST_GUILESS_MAIN(tst_Translations)

#include "tst_translations.moc"

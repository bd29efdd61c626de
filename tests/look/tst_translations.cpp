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

struct SourceText
{
    const char *context;
    const char *source;
};

// Source texts that are not plain English as they stand (misspelt, run together, missing a
// full stop, or naming one thing two ways); the English catalogue must say them differently.
// The sources keep them: they are the program's interface.
constexpr SourceText textsEnglishRewords[] = {
    {"VexoTool::DeviceModifyPage", "Forget Password"},
    {"VexoTool::BatchRecovery", "Loading..."},
    {"AboutDialog", "VEXO"},
    {"AboutDialog", "v%1build"},
    {"BaseDialog", "BaseDialog"},
    {"BaseDialog", "null content"},
    {"TipDialog", "sure"},
    {"VexoTool::DeviceActivePage", "The network parameters can be modified after the device is activated"},
    {"VexoTool::DeviceActivePage", "Active now"},
    {"VexoTool::DeviceActivePage", "Device active"},
    {"VexoTool::DeviceActivePage", "Batch devices active"},
    {"VexoTool::DeviceActivePage", "Batch devices network parameters"},
    {"VexoTool::DeviceActivePage", "Sorry,the devices you have chosen has not activated devices"},
    {"VexoTool::DeviceActivePage", "Note: please activate"},
    {"VexoTool::DeviceActivePage", "the device"},
    {"VexoTool::DeviceActivePage", "to perform other operations"},
    {"VexoTool::DeviceDisplayPage", "Succeed"},
    {"VexoTool::DeviceDisplayPage", "Total number of online devices:"},
    {"VexoTool::DeviceDisplayPage", "Config Reset"},
    {"VexoTool::DeviceDisplayPage", "Config Export"},
    {"VexoTool::DeviceInfoModel", "ID"},
    {"VexoTool::DeviceInfoModel", "Activate"},
    {"VexoTool::DeviceInfoModel", "Soft Vision"},
    {"VexoTool::DeviceInfoModel", "IPv4 GateWay"},
    {"VexoTool::DeviceInfoModel", "HttpPort"},
    {"VexoTool::DeviceInfoModel", "IPv4 Mask"},
    {"VexoTool::DeviceInfoModel", "MAC"},
    {"VexoTool::DeviceInfoModel", "Channel NO"},
    {"VexoTool::DeviceInfoModel", "DSP Vision"},
    {"VexoTool::DeviceInfoModel", "IPv6 GateWay"},
    {"VexoTool::DeviceInfoModel", "Is Support IPv6"},
    {"VexoTool::DeviceInfoModel", "Is Support Mod IPv6"},
    {"VexoTool::DeviceInfoModel", "Is Support DHCP"},
    {"VexoTool::DeviceInfoModel", "ON"},
    {"VexoTool::DeviceInfoModel", "OFF"},
    {"VexoTool::DeviceModifyPage", "Succeed"},
    {"VexoTool::DeviceModifyPage", "Active"},
    {"VexoTool::DeviceModifyPage", "Sorry, please select the equipment."},
    {"VexoTool::DeviceModifyPage", "Sorry, please enter the administrator password."},
    {"VexoTool::DeviceModifyPage", "Modify network parameters succeed."},
    {"VexoTool::DeviceModifyPage", "Device deny."},
    {"VexoTool::DeviceModifyPage", "Time out."},
    {"VexoTool::DeviceModifyPage", "Error%1:others"},
    {"VexoTool::DeviceModifyPage", "Modifying device %1 of %2 ..."},
    {"VexoTool::DeviceModifyPage", "Error%1:device deny"},
    {"VexoTool::DeviceModifyPage", "Error%1:time out"},
    {"VexoTool::DeviceModifyPage", "The password can not be empty."},
    {"VexoTool::DeviceModifyPage", "The password you typed do not match."},
    {"VexoTool::DeviceModifyPage",
     "Valid password range [8-16]. You can use a combination of numbers,lowercase, uppercase and special character for "
     "your password with at least two kinds of them contained."},
    {"VexoTool::DeviceModifyPage", "Activate Succeed."},
    {"VexoTool::DeviceModifyPage", "Activating device %1 of %2 ..."},
    {"VexoTool::DeviceModifyPage", "Error%1:Device deny."},
    {"VexoTool::DeviceModifyPage", "Error%1:reactive"},
    {"VexoTool::DeviceModifyResultPage", "ID"},
    {"VexoTool::DeviceModifyResultPage", "Modification"},
    {"VexoTool::DeviceNetParaPage", "Inport DevciePara"},
    {"VexoTool::DeviceNetParaPage", "StartIp:"},
    {"VexoTool::DeviceNetParaPage", "Please set the start Ip address,then add one"},
    {"VexoTool::DeviceNetParaPage", "Device Serial:"},
    {"VexoTool::DeviceNetParaPage", "Http Port:"},
    {"VexoTool::DeviceNetParaPage", "Modify Network parameters"},
    {"VexoTool::DeviceNetParaPage", "Batch Modify Network parameters"},
    {"VexoTool::DeviceNetParaPage", "Please input IP Address."},
    {"VexoTool::DeviceNetParaPage", "IP Address not correct."},
    {"VexoTool::DeviceNetParaPage", "Device port ranges from 2000 to 65535."},
    {"VexoTool::DeviceNetParaPage", "Subnet mask can not be empty."},
    {"VexoTool::DeviceNetParaPage", "Subnet Mask not correct."},
    {"VexoTool::DeviceNetParaPage", "Gateway can not be empty"},
    {"VexoTool::DeviceNetParaPage", "Gateway not correct."},
    {"VexoTool::DeviceNetParaPage", "Http port ranges from 1 to 65535."},
    {"VexoTool::DeviceNetParaPage", "IPv6 Address not correct."},
    {"VexoTool::DeviceNetParaPage", "IPv6 gateway not correct."},
    {"VexoTool::DeviceNetParaPage", "IPv6 prefix length ranges from 0 to 127."},
    {"VexoTool::DevicesInfoSavePage", "Please input file name."},
    {"VexoTool::DevicesInfoSavePage", "Please input file path."},
    {"VexoTool::DevicesInfoSavePage", "File path:"},
    {"VexoTool::DevicesInfoSavePage", "The file name has been used, please change it"},
    {"VexoTool::DevicesInfoSavePage", "Saving succeed."},
    {"VexoTool::DevicesInfoSavePage", "Saving failed."},
    {"VexoTool::ResetPasswordDialog", "ManualInput"},
    {"VexoTool::ResetPasswordDialog", "AutoInput"},
    {"VexoTool::ResetPasswordDialog", "Reset IPC"},
    {"VexoTool::ResetPasswordDialog", "Generate QR code error."},
    {"VexoTool::ResetPasswordDialog", "Get key error."},
    {"VexoTool::ResetPasswordDialog", "Create device key file error."},
    {"VexoTool::ResetPasswordDialog", "Please input the secret key."},
    {"VexoTool::ResetPasswordDialog", "The password can not be empty."},
    {"VexoTool::ResetPasswordDialog", "The password you typed do not match."},
    {"VexoTool::ResetPasswordDialog",
     "Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character "
     "for your password with at least two kinds of them contained."},
    {"VexoTool::ResetPasswordDialog", "Reset password Succeed."},
    {"VexoTool::ResetPasswordDialog", "Reset password failed."},
    {"VexoTool::ResetPasswordWidget", "Config Reset Password"},
    {"VexoTool::ResetPasswordWidget", "Please input the secret key."},
    {"VexoTool::ResetPasswordWidget", "The password can not be empty."},
    {"VexoTool::ResetPasswordWidget", "The password you typed do not match."},
    {"VexoTool::ResetPasswordWidget",
     "Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special character "
     "for your password with at least two kinds of them contained."},
    {"VexoTool::RestorePasswordDialog", "Reset Default Password"},
    {"VexoTool::RestorePasswordDialog", "Please input security code."},
    {"VexoTool::RestorePasswordDialog", "Restore password succeed."},
    {"VexoTool::RestorePasswordDialog", "Restore password failed."},
    {"VexoTool::VEXOToolMainPage", "Exit the VEXO software?"},
    {"apt::ToolsApplication", "VEXOTool"},
    {"apt::ToolsApplication", "VEXO is already running."},
    {"apt::ToolsApplication", "Display resolution less than 1024*768,are you sure to start the program?"},
};

} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void cataloguesMatchTheSources_data();
    void cataloguesMatchTheSources();
    void compiledCataloguesTranslate_data();
    void compiledCataloguesTranslate();
    void englishRewordsFlawedSources_data();
    void englishRewordsFlawedSources();
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
                                      << "Exit the VEXO software?" << QStringLiteral("Exit VEXO Tool?");
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

void tst_Translations::englishRewordsFlawedSources_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");
    for (const SourceText &text : textsEnglishRewords)
        QTest::addRow("%s | %s", text.context, text.source)
            << QString::fromUtf8(text.context) << QString::fromUtf8(text.source);
}

// English readers see a corrected text, never the flawed source itself.
void tst_Translations::englishRewordsFlawedSources()
{
    QFETCH(QString, context);
    QFETCH(QString, source);

    static const QHash<QString, Message> english
        = readCatalogue(sourceDir() + QStringLiteral("/translations/vexotool_en.ts"));
    const auto it = english.constFind(context + QStringLiteral(" | ") + source);
    QVERIFY2(it != english.cend(), "the text is no longer in the English catalogue: drop it from the list");
    QVERIFY2(it->finished && !it->translations.isEmpty() && !it->translations.first().trimmed().isEmpty(),
             "no English translation");
    QVERIFY2(it->translations.first() != source, qPrintable(QStringLiteral("shown as written: ") + source));
}

QTEST_GUILESS_MAIN(tst_Translations)

#include "tst_translations.moc"

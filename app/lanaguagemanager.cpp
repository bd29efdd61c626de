// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "lanaguagemanager.h"

#include "configuremanager.h"
#include "programfolders.h"

#include <QCoreApplication>
#include <QDebug>
#include <QTranslator>

namespace apt {

namespace {

constexpr quint32 LanguageEnglish = 0;
constexpr quint32 LanguageChinese = 1;

std::unique_ptr<QTranslator> loadTranslator(const QString &file, const QString &dir)
{
    auto translator = std::make_unique<QTranslator>();
    if (!file.isEmpty() && !translator->load(file, dir))
        qDebug("[LanaguageManager]Cannot load translation %s from %s", qUtf8Printable(file), qUtf8Printable(dir));
    return translator;
}

// Texts of Qt's file dialog that Qt's own Chinese catalogue lacks; the program's catalogues carry
// them under Qt's context, so the dialog's type column is translated too.
struct QtText
{
    const char *source;
    const char *disambiguation;
};
[[maybe_unused]] const QtText kQtTextsForTheFileDialog[] = {
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "Folder", "All other platforms"),
    QT_TRANSLATE_NOOP3("QAbstractFileIconProvider", "File Folder", "Match Windows Explorer"),
};
[[maybe_unused]] const char *const kQtPlainTextsForTheFileDialog[] = {
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Drive"),
    QT_TRANSLATE_NOOP("QAbstractFileIconProvider", "Unknown"),
};

} // namespace

LanaguageManager::LanaguageManager()
{
    m_language = ConfigureManager::GetInstance()->translator();
    const LanguageFiles files = languageFiles(m_language);
    m_locale = files.locale;
    m_translators = loadTranslators(files, translationsPath());
    int loaded = 0;
    for (const auto &translator : m_translators) {
        QCoreApplication::installTranslator(translator.get());
        loaded += translator->isEmpty() ? 0 : 1;
    }
    qInfo("[LanaguageManager]language %u: %d of %d catalogues loaded from %s", m_language, loaded,
          int(m_translators.size()), qUtf8Printable(translationsPath()));
}

LanaguageManager::~LanaguageManager() = default;

LanguageFiles LanaguageManager::languageFiles(quint32 code)
{
    switch (code) {
    case LanguageEnglish:
        return {QStringLiteral("vexotool_en.qm"), QString(), QStringLiteral("VuzavaRadezir_en.qm"),
                QLocale(QLocale::English, QLocale::UnitedStates)};
    case LanguageChinese:
        return {QStringLiteral("vexotool_zh.qm"), QStringLiteral("qt_zh_CN.qm"), QStringLiteral("aKLOGUIToolkit_zh.qm"),
                QLocale(QLocale::Chinese, QLocale::China)};
    default:
        return {QString(), QString(), QString(), QLocale::system()};
    }
}

QString LanaguageManager::translationsPath()
{
    return ProgramFolders::current().dataDir() + QStringLiteral("translations/");
}

std::vector<std::unique_ptr<QTranslator>> LanaguageManager::loadTranslators(const LanguageFiles &files,
                                                                            const QString &dir)
{
    std::vector<std::unique_ptr<QTranslator>> translators;
    translators.push_back(loadTranslator(files.programFile, dir));
    if (!files.qtFile.isEmpty())
        translators.push_back(loadTranslator(files.qtFile, dir));
    translators.push_back(loadTranslator(files.toolkitFile, dir));
    return translators;
}

} // namespace apt

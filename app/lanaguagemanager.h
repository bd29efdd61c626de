// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <akloguitoolkit/cuisingleton.h>

#include <QLocale>
#include <QString>

#include <memory>
#include <vector>

class QTranslator;

namespace apt {

/** @brief The translation files and the locale of one language code; empty names mean "none". */
struct LanguageFiles
{
    QString programFile;
    QString qtFile;
    QString toolkitFile;
    QLocale locale;
};

/**
 * @brief Picks and installs the translations of the language chosen in Setup.xml.
 *
 * Built on first use: reads the "Translator" code from the ConfigureManager, so
 * that must be loaded before. Translations are installed once and stay until exit.
 */
class LanaguageManager : public aKLOGUIToolkit::CUiSingleton<LanaguageManager>
{
public:
    ~LanaguageManager() override;

    /** @brief The language code: 0 English, 1 Chinese, anything else the source texts. */
    quint32 language() const { return m_language; }

    /** @brief The locale that goes with the language. */
    QLocale locale() const { return m_locale; }

    /** @brief Number of translators installed (some may be empty). */
    int translatorCount() const { return int(m_translators.size()); }

    /** @brief The files and locale of language \a code; unknown codes give no files and the system locale. */
    static LanguageFiles languageFiles(quint32 code);

    /** @brief Where the translation files are: the program directory's "translations/". */
    static QString translationsPath();

    /**
     * @brief One translator per file of \a files, loaded from \a dir, in install order:
     * program, Qt (only when named), toolkit.
     *
     * The program and toolkit translators exist even when their name is empty or the
     * file is missing; they are empty then.
     */
    static std::vector<std::unique_ptr<QTranslator>> loadTranslators(const LanguageFiles &files, const QString &dir);

private:
    friend class aKLOGUIToolkit::CUiSingleton<LanaguageManager>;
    LanaguageManager();

    QLocale m_locale = QLocale::system();
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    quint32 m_language = 0;
};

} // namespace apt

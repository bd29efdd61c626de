// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "cdlgabout.h"

#include <QStringList>
#include <QUrl>

#include <functional>

/**
 * @brief The program's about panel; its corner button "User Help" opens the user manual
 *        for the program's language, looked for beside the program first.
 *
 * The panel does not read the program's settings: its owner tells it the language code.
 */
class AboutDialog : public aptui::CDlgAbout
{
    Q_OBJECT

public:
    /** @brief Opens a URL with the desktop; answers whether that worked. */
    using UrlOpener = std::function<bool(const QUrl &)>;

    explicit AboutDialog(QObject *parent = nullptr);

    /**
     * @brief The URL of the user manual of language \a code in \a directory: the English
     *        manual for 0, the Chinese one for 1, the directory itself for other codes.
     */
    static QUrl manualUrl(quint32 code, const QString &directory);

    /** @brief The manual of language @p code in the first of @p folders that holds it; empty if none does. */
    static QString findManual(quint32 code, const QStringList &folders);

    /**
     * @brief The folders searched for the user manual, in order: the program's folder
     *        \a programDir, the data and documentation folders of an installed program
     *        (\a programDir/../share/vexotool, \a programDir/../share/doc/vexotool), then the
     *        working folder \a currentDir.
     *        Each folder appears once.
     */
    static QStringList manualFolders(const QString &programDir, const QString &currentDir);

    /** @brief The language of the manual that "User Help" opens: 0 English, 1 Chinese (as in Setup.xml). */
    void setLanguageCode(quint32 code) { m_languageCode = code; }
    quint32 languageCode() const { return m_languageCode; }

    /** @brief Replaces the desktop's URL handling (for tests); an empty opener restores it. */
    static void setUrlOpener(UrlOpener opener);

signals:
    /** @brief A message is about to be shown over the main window. */
    void signalCover();
    /** @brief The message has closed. */
    void signalDiscover();

public slots:
    /**
     * @brief Opens the user manual from the first of manualFolders() that holds it; when
     *        none does, or nothing can open it, tells why (the folders searched, or the
     *        file and its folder) between signalCover() and signalDiscover() and returns false.
     */
    bool onGetHelp();

private:
    quint32 m_languageCode = 0;
};

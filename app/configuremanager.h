// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "configure.h"

#include <akloguitoolkit/cuisingleton.h>

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class QTextCodec;

namespace apt {

/**
 * @brief The settings of Setup.xml, read once at start-up, with typed accessors.
 *
 * Each child element of the file's root is one setting. Accessors of a setting
 * that is absent return its default; a value that is not a number reads as 0.
 */
class ConfigureManager : public aKLOGUIToolkit::CUiSingleton<ConfigureManager>
{
public:
    /** @brief Key numbers; a key's tag in Setup.xml is keyName(key). */
    enum Key : int {
        KeyTranslator = 0,
        KeyLanguages = 1,
        KeyLogLevel = 2,
        KeyVersionType = 3,
        KeyPingThread = 4,
        KeyTaskThread = 5,
        KeyLogSaveDay = 6,
        KeySkin = 7,
        KeyFilter = 8,
        KeyBatchOperations = 9,
        KeySnapshotView = 10,
    };

    ~ConfigureManager() override;

    /**
     * @brief Replaces the settings with those of the XML file \a path.
     *
     * The old settings are dropped first, so a missing or malformed file leaves no
     * settings (every accessor gives its default) and returns false. Only the settings
     * the user changes in the program are written back (setBatchOperations()).
     */
    bool load(const QString &path);

    /**
     * @brief Reads the shipped settings of @p defaultsPath, then the user's of @p userPath over them.
     *
     * A setting of the user's file replaces the shipped one of its tag; the rest keep their
     * shipped values. Changes the user makes in the program go into @p userPath alone (made
     * with its folder when missing), so the shipped file is never written. Returns whether
     * either file was read.
     */
    bool load(const QString &defaultsPath, const QString &userPath);

    /** @brief The file the settings changed in the program are written to. */
    QString writePath() const { return m_requestedPath; }

    /** @brief The path of the file last loaded successfully; empty before that. */
    QString path() const { return m_path; }

    /** @brief The first setting whose tag is that of \a key, or null. */
    const Configure *find(int key) const;

    /** @brief All settings in file order, duplicates included. */
    QList<const Configure *> configures() const;

    /** @brief The tag of \a key; empty for numbers outside the key table. */
    static QString keyName(int key);

    /** @brief Language code ("Translator"), 0 (English) by default. */
    quint32 translator() const;
    /** @brief Comma-separated language codes ("Languages"), empty by default. */
    QList<quint32> languages() const;
    /** @brief "VersionType", 1 by default; -1 also reads as 1. */
    int versionType() const;
    /** @brief "PingThread", -1 by default. */
    int pingThread() const;
    /** @brief "TaskThread", -1 by default. */
    int taskThread() const;
    /** @brief "LogSaveDay", -1 by default. */
    int logSaveDay() const;
    /** @brief "Filter": true only when the value is the number 1 ("1", "01"); false by default. */
    bool filter() const;
    /** @brief "BatchOperations": true only when the value is the number 1; false by default. */
    bool batchOperations() const;

    /**
     * @brief Sets "BatchOperations" and writes it back into the file last given to load().
     *
     * The other settings, comments and the order in the file stay; a missing element is
     * added. A file that cannot be written (or a malformed one, which is left alone) keeps
     * the new value for this run only, and false is returned.
     */
    bool setBatchOperations(bool on);

    /** @brief "SnapshotView": the list shows the cameras' thumbnails; false by default. */
    bool snapshotView() const;
    /** @brief Sets "SnapshotView" and writes it back like setBatchOperations(). */
    bool setSnapshotView(bool on);

    /** @brief Sets "Translator" (the language of the next start) and writes it back like setBatchOperations(). */
    bool setTranslator(quint32 code);

private:
    friend class aKLOGUIToolkit::CUiSingleton<ConfigureManager>;
    ConfigureManager();

    int signedValue(int key, int defaultValue) const;
    void setValue(int key, const QString &value);
    void setValue(const QString &name, const QString &value);
    bool writeValue(int key, const QString &value) const;

    std::vector<std::unique_ptr<Configure>> m_configures;
    QTextCodec *m_codec = nullptr;
    QString m_path;
    QString m_requestedPath; // the file last given to load(), written back even if it was missing
};

} // namespace apt

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

class ISkinPlugin;

namespace apt {

/**
 * @brief Sets up the program's look: the skin library, the widget style and the
 * application-wide style sheet, in that order.
 *
 * The skin library registers the images and style sheets as Qt resources when it is
 * loaded, so the skin must be loaded before the style sheet is read. Nothing fails
 * hard: a missing skin or style only leaves the look incomplete.
 */
class SkinLoader
{
public:
    SkinLoader() = delete;

    /** @brief The skin name: the "Skin" setting when present (even empty), else "CommonSkin". */
    static QString configuredSkinName();

    /** @brief The folder searched for skin libraries: GetTargetPath() + "plugins/skins/". */
    static QString defaultSkinDirectory();

    /**
     * @brief The skin library in \a directory that provides the skin \a name.
     *
     * Each file of the folder, in directory order, is loaded as a plug-in (or taken
     * as already loaded); files that do not load or whose root object is not an
     * ISkinPlugin are skipped. The first one whose skin names contain \a name
     * (case-sensitive) is returned. Libraries loaded on the way stay loaded.
     * A null name finds nothing.
     */
    static ISkinPlugin *findSkin(const QString &name, const QString &directory);

    /**
     * @brief Loads the configured skin from \a directory and logs the outcome.
     *
     * Logs "[Tool]LoadSkin = <name> Success" or "[Tool]LoadSkin = <name> failed",
     * both as warnings, and returns whether the skin was found.
     */
    static bool loadSkin(const QString &directory = defaultSkinDirectory());

    /**
     * @brief Makes the style "CommonStyle" the application's style.
     *
     * Without such a style a debug line is logged and the current style stays.
     * Returns whether the style exists. Needs a QApplication.
     */
    static bool loadStyle();

    /** @brief The resource folder of the toolkit's style sheets. */
    static QString toolkitStyleSheetDirectory();
    /** @brief The resource file of the program's own style sheet, read last. */
    static QString programStyleSheetFile();

    /**
     * @brief The joined style sheet text.
     *
     * The files of \a toolkitDirectory in directory order, without subfolders and
     * without "MacSpecial.qss", followed by \a programFile.
     */
    static QString styleSheet(const QString &toolkitDirectory = toolkitStyleSheetDirectory(),
                              const QString &programFile = programStyleSheetFile());

    /** @brief Sets styleSheet() as the application's style sheet. Needs a QApplication. */
    static void loadStyleSheet();
};

} // namespace apt

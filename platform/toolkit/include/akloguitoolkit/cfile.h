// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QString>
#include <QStringList>

namespace aKLOGUIToolkit {

/** @brief Whole-file reading of local files and Qt resources as UTF-8 text. */
class AKLOGUITOOLKIT_EXPORT CFile
{
public:
    /** @brief The whole text of \a path (a file or a ":/" resource); empty when it cannot be read. */
    static QString ReadAll(const QString &path);

    /**
     * @brief The files \a names in \a dir, read and joined in list order.
     *
     * A file that cannot be read adds nothing; the others are still joined.
     */
    static QString ReadAll(const QStringList &names, const QString &dir);
};

} // namespace aKLOGUIToolkit

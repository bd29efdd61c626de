// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QCoreApplication>
#include <QString>

namespace VexoTool {

/**
 * @brief What a failed device operation means for the user and what to do next, by the
 *        discovery library's error code.
 *
 * The messages of the modify panel, the batch result list and the recovery dialogs keep their
 * short first line ("Time out.", "Error%1:others", "Reset password failed.") and add this
 * explanation as a second line where one exists.
 */
class ErrorExplanation
{
    Q_DECLARE_TR_FUNCTIONS(VexoTool::ErrorExplanation)

public:
    /** @brief The translated explanation of @p code; empty for codes that have none. */
    static QString forCode(quint32 code);
    /** @brief @p message, then on a line of its own the explanation of @p code if there is one. */
    static QString withExplanation(const QString &message, quint32 code);
    /**
     * @brief The code in a device's result text such as "Error2022:others" or its translation
     *        (the first number in it), 0 when the text carries none.
     */
    static quint32 codeInResult(const QString &result);
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "errorexplanation.h"

#include <Vexo.h>

#include <QRegularExpression>

namespace VexoTool {

namespace {

struct Explanation
{
    quint32 code;
    const char *text;
};

// Each line says what happened and what the user can do about it.
constexpr Explanation Explanations[] = {
    {VEXO_ERR_FILE, QT_TRANSLATE_NOOP("VexoTool::ErrorExplanation",
                                      "The reset file could not be read: it may have been moved, renamed or "
                                      "deleted. Choose the file again.")},
    {VEXO_ERR_DEVICE_DENY, QT_TRANSLATE_NOOP("VexoTool::ErrorExplanation",
                                             "The device refused the password, key or code. Check it and try "
                                             "again: after five wrong tries the device refuses this computer for "
                                             "a while.")},
    {VEXO_ERR_TIMEOUT, QT_TRANSLATE_NOOP("VexoTool::ErrorExplanation",
                                         "The device did not answer in time and may still apply the change. Look "
                                         "at its values in the list in a moment before trying again.")},
    {VEXO_ERR_LOCKED, QT_TRANSLATE_NOOP("VexoTool::ErrorExplanation",
                                        "After too many wrong passwords the device refuses this computer for a "
                                        "while. Wait a few minutes and try again, or use Forget Password.")},
    {VEXO_ERR_UNSUPPORTED,
     QT_TRANSLATE_NOOP("VexoTool::ErrorExplanation", "The device does not support this: some devices cannot change "
                                                     "a setting (for example their IPv6 address) or export a reset "
                                                     "key. Leave the setting as it is, or use another way.")},
    {VEXO_ERR_UNVERIFIED,
     QT_TRANSLATE_NOOP("VexoTool::ErrorExplanation", "The device has no valid certificate from its maker and may be an "
                                                     "impostor. Nothing secret was sent to it. Check the device before "
                                                     "trying again.")},
};

} // namespace

QString ErrorExplanation::forCode(quint32 code)
{
    for (const Explanation &entry : Explanations) {
        if (entry.code == code)
            return tr(entry.text);
    }
    return QString();
}

QString ErrorExplanation::withExplanation(const QString &message, quint32 code)
{
    const QString explanation = forCode(code);
    return explanation.isEmpty() ? message : message + QLatin1Char('\n') + explanation;
}

quint32 ErrorExplanation::codeInResult(const QString &result)
{
    // The first number of the text, so that translated result texts work as well.
    static const QRegularExpression pattern(QStringLiteral("\\d{1,9}"));
    const QRegularExpressionMatch match = pattern.match(result);
    return match.hasMatch() ? match.captured(0).toUInt() : 0;
}

} // namespace VexoTool

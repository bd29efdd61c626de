// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "commandsecrets.h"

#include <secretinput.h>

#include <QHash>

namespace {

struct CommandWords
{
    int own = 0;              // words after the command that are not passwords (serial, MAC, file, ...)
    int passwords = 0;        // passwords it takes, which may follow on the command line
    bool newPassword = false; // its one password is one the device is to get: typed twice at a prompt
};

const QHash<QString, CommandWords> &commands()
{
    static const QHash<QString, CommandWords> table{{QStringLiteral("list"), {0, 1}},
                                                    {QStringLiteral("watch"), {0, 0}},
                                                    {QStringLiteral("activate"), {1, 1, true}},
                                                    {QStringLiteral("modify"), {1, 1}},
                                                    {QStringLiteral("key"), {1, 0}},
                                                    {QStringLiteral("reset"), {1, 1, true}},
                                                    {QStringLiteral("restore"), {2, 0}},
                                                    {QStringLiteral("plan"), {1, 1}},
                                                    {QStringLiteral("onvif-modify"), {1, 1}},
                                                    {QStringLiteral("onvif-reboot"), {1, 1}},
                                                    {QStringLiteral("onvif-password"), {1, 2}},
                                                    {QStringLiteral("onvif-forget-certificate"), {1, 0}},
                                                    {QStringLiteral("snapshot"), {1, 1}},
                                                    {QStringLiteral("journal"), {0, 0}}};
    return table;
}

} // namespace

QCommandLineOption passwordFileOption()
{
    return QCommandLineOption(QStringLiteral("password-file"),
                              QStringLiteral("Read the password from this file (its line break is dropped)."),
                              QStringLiteral("file"));
}

QCommandLineOption newPasswordFileOption()
{
    return QCommandLineOption(QStringLiteral("new-password-file"),
                              QStringLiteral("Read onvif-password's new password from this file."),
                              QStringLiteral("file"));
}

bool commandWordsFit(const QStringList &arguments)
{
    const auto it = commands().constFind(arguments.value(0));
    if (it == commands().cend())
        return false;
    const qsizetype words = arguments.size() - 1;
    return words >= it->own && words <= it->own + it->passwords;
}

std::optional<CommandSecrets> readCommandSecrets(const QStringList &arguments, bool dryRun, const QString &passwordFile,
                                                 const QString &newPasswordFile, QString *error)
{
    const QString command = arguments.value(0);
    const CommandWords words = commands().value(command);
    CommandSecrets secrets;
    if (words.passwords == 0) {
        if (!passwordFile.isEmpty() || !newPasswordFile.isEmpty()) {
            *error = QStringLiteral("%1 takes no password").arg(command);
            return std::nullopt;
        }
        return secrets;
    }
    const qsizetype first = 1 + words.own;
    const bool optional = command == QLatin1String("list") || (command == QLatin1String("plan") && dryRun);

    SecretInput::Sources sources;
    sources.label = words.newPassword ? QStringLiteral("new password") : QStringLiteral("password");
    if (arguments.size() > first)
        sources.argument = arguments.at(first);
    sources.argumentName = words.newPassword ? QStringLiteral("NEWPASSWORD") : QStringLiteral("PASSWORD");
    sources.fileOption = QStringLiteral("--password-file");
    sources.filePath = passwordFile;
    sources.environmentVariable = QStringLiteral("VEXO_PASSWORD");
    sources.prompt = !optional;
    sources.confirm = words.newPassword;
    sources.required = !optional;
    const auto password = SecretInput::read(sources, error);
    if (!password)
        return std::nullopt;
    secrets.password = password->value;
    secrets.passwordGiven = password->given;

    if (words.passwords > 1) {
        SecretInput::Sources second;
        second.label = QStringLiteral("new password");
        if (arguments.size() > first + 1)
            second.argument = arguments.at(first + 1);
        second.argumentName = QStringLiteral("NEWPASSWORD");
        second.fileOption = QStringLiteral("--new-password-file");
        second.filePath = newPasswordFile;
        second.environmentVariable = QStringLiteral("VEXO_NEW_PASSWORD");
        second.confirm = true;
        const auto newPassword = SecretInput::read(second, error);
        if (!newPassword)
            return std::nullopt;
        secrets.newPassword = newPassword->value;
    } else if (!newPasswordFile.isEmpty()) {
        *error = QStringLiteral("--new-password-file belongs to onvif-password");
        return std::nullopt;
    }
    return secrets;
}

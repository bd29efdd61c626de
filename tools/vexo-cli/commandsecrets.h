// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QCommandLineOption>
#include <QStringList>

#include <optional>

/** @brief The options that name the files holding a command's passwords. */
QCommandLineOption passwordFileOption();
QCommandLineOption newPasswordFileOption();

/** @brief The passwords one vexo-cli command works with; empty when it takes none. */
struct CommandSecrets
{
    QByteArray password;
    QByteArray newPassword; ///< onvif-password's second one
    bool passwordGiven = false;
};

/**
 * @brief Whether @p arguments (the command first) are a known command with as many words as it
 *        takes, its passwords given on the command line or not.
 */
bool commandWordsFit(const QStringList &arguments);

/**
 * @brief The passwords of the command @p arguments names, from the words after its own ones
 *        (with a warning), the files of passwordFileOption() and newPasswordFileOption()
 *        (@p passwordFile, @p newPasswordFile), VEXO_PASSWORD and VEXO_NEW_PASSWORD, or a
 *        prompt on the terminal.
 *
 * The password of list, and of plan --dry-run, may be missing; they never prompt.
 * @return nothing, with @p error set, when a password is needed and none can be had, or a
 *         source is unusable (an unreadable or empty file).
 */
std::optional<CommandSecrets> readCommandSecrets(const QStringList &arguments, bool dryRun, const QString &passwordFile,
                                                 const QString &newPasswordFile, QString *error);

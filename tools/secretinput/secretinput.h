// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

/**
 * @brief Reads a secret (a password, a key) the way the command-line tools take one: from a
 *        file, from an environment variable, or typed at the terminal without echo.
 *
 * A secret given as a command-line argument is still taken, for scripts written that way, with
 * a warning on standard error: every user of the computer can read a process's arguments
 * (ps, /proc/PID/cmdline).
 */
class SecretInput
{
public:
    /** @brief Where one secret may come from, in the order they are tried. */
    struct Sources
    {
        QString label;                   ///< what it is ("password", "new password"), for prompts and messages
        std::optional<QString> argument; ///< given on the command line
        QString argumentName;            ///< how the help calls that argument ("PASSWORD"), for the warning
        QString fileOption;              ///< the option naming the file ("--password-file")
        QString filePath;                ///< that option's value; empty when not given
        QString environmentVariable;     ///< read when set; empty for none
        bool prompt = true;              ///< ask on the terminal when nothing else gives it
        bool confirm = false;            ///< at the prompt, have it typed twice (a new password)
        bool required = true;            ///< a missing secret is an error rather than absent
    };

    /** @brief A secret read, or absent when it is not required and no source gave it. */
    struct Secret
    {
        QByteArray value;
        bool given = false;
    };

    /**
     * @brief The secret from the first source that gives it: the argument (with the warning),
     *        the file, the environment variable, then the prompt when standard input is a terminal.
     * @return nothing, with @p error set, when a source gives none (an unreadable or empty file,
     *         an empty variable, different texts at the prompt), when both an argument and a
     *         file are given, or when a required secret has no source.
     */
    static std::optional<Secret> read(const Sources &sources, QString *error);

    /**
     * @brief The contents of a file that holds one secret, without its trailing line break.
     * @return nothing, with @p error set, when the file cannot be read, is empty or holds more
     *         than @p maxBytes.
     */
    static std::optional<QByteArray> readFile(const QString &path, QString *error, qint64 maxBytes = 4096);

    /** @brief Whether standard input is a terminal, where a prompt can be answered. */
    static bool canPrompt();

    /**
     * @brief Asks for @p label on the terminal with echo off (twice when @p confirm) and
     *        returns the line typed; the terminal's echo is restored, also on an interrupt.
     */
    static std::optional<QByteArray> prompt(const QString &label, bool confirm, QString *error);
};

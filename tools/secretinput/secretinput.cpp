// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "secretinput.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

#ifdef Q_OS_WIN
#    include <io.h>
#    include <windows.h>
#else
#    include <csignal>
#    include <termios.h>
#    include <unistd.h>
#endif

namespace {

constexpr qsizetype kMaxTypedBytes = 4096;

QByteArray withoutLineBreak(QByteArray text)
{
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.endsWith('\r'))
        text.chop(1);
    return text;
}

#ifndef Q_OS_WIN
// The terminal as it was before the prompt turned echo off; restored by a signal too, so that an
// interrupted prompt does not leave the user's shell without echo.
struct termios g_savedTerminal;
volatile std::sig_atomic_t g_echoOff = 0;

void restoreAndRaise(int signalNumber)
{
    if (g_echoOff)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}
#endif

// Turns the terminal's echo off for as long as it lives.
class EchoOff
{
public:
    EchoOff()
    {
#ifdef Q_OS_WIN
        m_console = GetStdHandle(STD_INPUT_HANDLE);
        m_ok = GetConsoleMode(m_console, &m_mode) && SetConsoleMode(m_console, m_mode & ~ENABLE_ECHO_INPUT);
#else
        if (tcgetattr(STDIN_FILENO, &g_savedTerminal) != 0)
            return;
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            struct sigaction action = {};
            action.sa_handler = restoreAndRaise;
            sigemptyset(&action.sa_mask);
            sigaction(s, &action, &m_previous[m_count++]);
        }
        struct termios quiet = g_savedTerminal;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        g_echoOff = 1;
        m_ok = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
#endif
    }
    ~EchoOff()
    {
#ifdef Q_OS_WIN
        if (m_ok)
            SetConsoleMode(m_console, m_mode);
#else
        if (g_echoOff)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &g_savedTerminal);
        g_echoOff = 0;
        int i = 0;
        for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
            if (i < m_count)
                sigaction(s, &m_previous[i++], nullptr);
        }
#endif
    }
    EchoOff(const EchoOff &) = delete;
    EchoOff &operator=(const EchoOff &) = delete;

    bool ok() const
    {
        return m_ok;
    }

private:
    bool m_ok = false;
#ifdef Q_OS_WIN
    HANDLE m_console = nullptr;
    DWORD m_mode = 0;
#else
    struct sigaction m_previous[4] = {};
    int m_count = 0;
#endif
};

std::optional<QByteArray> typedLine(const QString &question)
{
    std::fprintf(stderr, "%s: ", qPrintable(question));
    std::fflush(stderr);
    QByteArray line;
    int c = 0;
    while ((c = std::getc(stdin)) != EOF && c != '\n') {
        if (line.size() >= kMaxTypedBytes)
            return std::nullopt;
        line.append(char(c));
    }
#ifdef Q_OS_WIN
    std::fputc('\n', stderr); // the console does not echo the Enter either
#endif
    if (c == EOF && line.isEmpty())
        return std::nullopt;
    return withoutLineBreak(line);
}

QString capitalised(const QString &text)
{
    return text.isEmpty() ? text : text.front().toUpper() + text.mid(1);
}

} // namespace

bool SecretInput::canPrompt()
{
#ifdef Q_OS_WIN
    return _isatty(_fileno(stdin)) != 0;
#else
    return isatty(STDIN_FILENO) != 0;
#endif
}

std::optional<QByteArray> SecretInput::readFile(const QString &path, QString *error, qint64 maxBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    // A secret is short: anything big is not one (and /dev/zero must not fill the memory).
    QByteArray text = file.read(maxBytes + 1);
    if (text.size() > maxBytes) {
        *error = QStringLiteral("%1 holds more than %2 bytes: not a file of one secret").arg(path).arg(maxBytes);
        return std::nullopt;
    }
    text = withoutLineBreak(text);
    if (text.isEmpty()) {
        *error = QStringLiteral("%1 is empty").arg(path);
        return std::nullopt;
    }
    return text;
}

std::optional<QByteArray> SecretInput::prompt(const QString &label, bool confirm, QString *error)
{
    const EchoOff quiet;
    if (!quiet.ok()) {
        *error = QStringLiteral("cannot turn off the terminal's echo to ask for the %1").arg(label);
        return std::nullopt;
    }
    const auto first = typedLine(capitalised(label));
    if (!first || first->isEmpty()) {
        *error = QStringLiteral("no %1 typed").arg(label);
        return std::nullopt;
    }
    if (confirm) {
        const auto again = typedLine(QStringLiteral("%1 again").arg(capitalised(label)));
        if (again != first) {
            *error = QStringLiteral("the two %1s typed differ").arg(label);
            return std::nullopt;
        }
    }
    return first;
}

std::optional<SecretInput::Secret> SecretInput::read(const Sources &sources, QString *error)
{
    const QString program = QCoreApplication::applicationName();
    if (sources.argument && !sources.filePath.isEmpty()) {
        *error = QStringLiteral("the %1 is given twice, as %2 and with %3: leave out %2")
                     .arg(sources.label, sources.argumentName, sources.fileOption);
        return std::nullopt;
    }
    if (sources.argument) {
        std::fprintf(stderr,
                     "%s: warning: the %s given as %s can be read by every user of this computer "
                     "(ps, /proc/PID/cmdline); use %s FILE%s%s instead\n",
                     qPrintable(program), qPrintable(sources.label), qPrintable(sources.argumentName),
                     qPrintable(sources.fileOption), sources.environmentVariable.isEmpty() ? "" : " or ",
                     qPrintable(sources.environmentVariable));
        return Secret{sources.argument->toLocal8Bit(), true};
    }
    if (!sources.filePath.isEmpty()) {
        const auto text = readFile(sources.filePath, error);
        if (!text)
            return std::nullopt;
        return Secret{*text, true};
    }
    if (!sources.environmentVariable.isEmpty() && qEnvironmentVariableIsSet(qPrintable(sources.environmentVariable))) {
        const QByteArray text = qgetenv(qPrintable(sources.environmentVariable));
        // Read once: nothing this process starts later inherits it.
        qunsetenv(qPrintable(sources.environmentVariable));
        if (text.isEmpty()) {
            *error = QStringLiteral("%1 is set but empty").arg(sources.environmentVariable);
            return std::nullopt;
        }
        return Secret{text, true};
    }
    if (sources.prompt && canPrompt()) {
        const auto typed = prompt(sources.label, sources.confirm, error);
        if (!typed)
            return std::nullopt;
        return Secret{*typed, true};
    }
    if (!sources.required)
        return Secret{};
    *error = QStringLiteral("no %1: give %2 FILE%3%4, or run on a terminal to be asked")
                 .arg(sources.label, sources.fileOption,
                      sources.environmentVariable.isEmpty() ? QString() : QStringLiteral(", set "),
                      sources.environmentVariable);
    return std::nullopt;
}

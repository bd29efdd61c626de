// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "commandconsole.h"

#include <QByteArray>
#include <QString>

#include <mutex>
#include <thread>

#if defined(_WIN32)
#    include <io.h>
#else
#    include <cerrno>
#    include <unistd.h>
#endif

namespace {

// Below the C library's buffered streams, so the blocked reader holds no stdio lock
// that the main thread's output or exit would wait for.
long readInput(char *buffer, unsigned size)
{
#if defined(_WIN32)
    return _read(0, buffer, size);
#else
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0 || errno != EINTR)
            return long(n);
    }
#endif
}

constexpr qsizetype kMaxLine = 64 * 1024;

} // namespace

// What the reader thread shares with the console; the console may go away first.
struct CommandConsole::Link
{
    std::mutex mutex;
    CommandConsole *console = nullptr;

    void post(const QString &line, bool end)
    {
        std::lock_guard lock(mutex);
        if (!console)
            return;
        // A queued call dies with its context object, so none runs after the console is gone.
        CommandConsole *target = console;
        QMetaObject::invokeMethod(
            target,
            [target, line, end] {
                if (end)
                    emit target->endOfInput();
                else
                    emit target->lineReceived(line);
            },
            Qt::QueuedConnection);
    }
};

CommandConsole::CommandConsole(QObject *parent)
    : QObject(parent)
    , m_link(std::make_shared<Link>())
{
    m_link->console = this;
    std::thread([link = m_link] {
        QByteArray buffer;
        char chunk[4096];
        long n = 0;
        while ((n = readInput(chunk, sizeof chunk)) > 0) {
            buffer.append(chunk, n);
            qsizetype end = 0;
            while ((end = buffer.indexOf('\n')) >= 0) {
                link->post(QString::fromUtf8(buffer.left(end)).trimmed(), false);
                buffer.remove(0, end + 1);
            }
            // A runaway line without a break is not a command.
            if (buffer.size() > kMaxLine)
                buffer.clear();
        }
        if (!buffer.isEmpty())
            link->post(QString::fromUtf8(buffer).trimmed(), false);
        link->post(QString(), true);
    }).detach();
}

CommandConsole::~CommandConsole()
{
    // The reader may stay blocked in its read until the process ends; it only holds the link.
    std::lock_guard lock(m_link->mutex);
    m_link->console = nullptr;
}

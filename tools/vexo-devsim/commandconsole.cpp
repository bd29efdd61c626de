// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "commandconsole.h"

#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <unistd.h>

CommandConsole::CommandConsole(QObject *parent)
    : QObject(parent)
    , m_notifier(new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this))
{
    connect(m_notifier, &QSocketNotifier::activated, this, &CommandConsole::readAvailable);
}

void CommandConsole::readAvailable()
{
    char chunk[4096];
    const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        m_notifier->setEnabled(false);
        if (!m_buffer.isEmpty())
            emit lineReceived(QString::fromUtf8(std::exchange(m_buffer, {})));
        emit endOfInput();
        return;
    }
    m_buffer.append(chunk, n);
    qsizetype end = 0;
    while ((end = m_buffer.indexOf('\n')) >= 0) {
        const QByteArray line = m_buffer.left(end);
        m_buffer.remove(0, end + 1);
        emit lineReceived(QString::fromUtf8(line).trimmed());
    }
    // A runaway line without a break is not a command.
    if (m_buffer.size() > 64 * 1024)
        m_buffer.clear();
}

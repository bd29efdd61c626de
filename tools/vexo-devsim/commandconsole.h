// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

/** @brief Reads commands line by line from standard input without blocking the event loop. */
class CommandConsole : public QObject
{
    Q_OBJECT

public:
    explicit CommandConsole(QObject *parent = nullptr);

signals:
    void lineReceived(const QString &line);
    void endOfInput();

private:
    void readAvailable();

    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_buffer;
};

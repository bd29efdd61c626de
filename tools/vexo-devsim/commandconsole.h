// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QObject>

#include <memory>

/**
 * @brief Reads commands line by line from standard input without blocking the event loop.
 *
 * A reader thread blocks in the read, so this works for pipes and consoles on
 * every system (Windows has no readiness notification for standard input). Lines
 * arrive as signals in the console's thread.
 */
class CommandConsole : public QObject
{
    Q_OBJECT

public:
    explicit CommandConsole(QObject *parent = nullptr);
    ~CommandConsole() override;

signals:
    void lineReceived(const QString &line);
    void endOfInput();

private:
    struct Link;
    std::shared_ptr<Link> m_link;
};

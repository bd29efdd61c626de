// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QApplication>
#include <QString>

class QLocalServer;

namespace SharedTools {

/**
 * @brief An application object that knows whether another instance with the same id
 *        already runs for the same user.
 *
 * The first instance listens on a local socket whose name comes from the id and the user;
 * a later instance that can connect to it knows the first one is alive. A socket left
 * behind by an instance that crashed accepts no connection and is replaced, so a killed
 * instance never blocks the next start. The check happens in the constructor under a
 * short-lived lock file, so two instances starting at the same moment cannot both win.
 */
class QtSingleApplication : public QApplication
{
    Q_OBJECT

public:
    QtSingleApplication(const QString &id, int &argc, char **argv);
    ~QtSingleApplication() override;

    /** @brief True when another instance with this id was running when this one started. */
    bool isRunning() const { return m_running; }

    /** @brief The application id given to the constructor. */
    QString id() const { return m_id; }

    /** @brief The local socket name of \a id for the current user. */
    static QString serverName(const QString &id);

private:
    void acceptAndDrop();

    QString m_id;
    QLocalServer *m_server = nullptr;
    bool m_running = false;
};

} // namespace SharedTools

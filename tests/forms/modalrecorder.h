// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

/**
 * @brief Answers the modal dialogs of the configuration pages while it lives, and keeps what
 *        they showed: message texts, and the counters and rows of result lists.
 *
 * Other modal windows (a batch's progress) are left to run; they end by themselves.
 */
class ModalRecorder : public QObject
{
    Q_OBJECT

public:
    /** @brief One result list as the user saw it. */
    struct ResultList
    {
        QString devicesLabel;
        QString failedLabel;
        QString lastHeader;
        QList<QStringList> rows; ///< the five cell texts of each row
    };

    ModalRecorder();
    ~ModalRecorder() override;

    QStringList messages;
    QList<ResultList> resultLists;
    /** @brief The highest "n of N" progress value seen on a batch's progress dialog. */
    int progressMaximumSeen = -1;

protected:
    /** @brief Sees a progress dialog as it is shown: a short batch may end before the next poll. */
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void poll();
    QTimer m_timer;
};

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "planfile.h"
#include "planpreview.h"

#include <Vexo.h>

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QVector>

#include <atomic>

class DeviceStore;

namespace VEXO {
class VexoHandler;
}

namespace VexoTool {

/** @brief What happened to one plan row. */
struct PlanOutcome
{
    QDateTime time;            ///< when the row was done (or refused)
    QString serial;            ///< the device's serial number (the record's, else the plan's)
    QString mac;               ///< the device's MAC
    VEXO_DEVICE_INFO before{}; ///< the device's record before (zero when not listed)
    PlanVerdict verdict;       ///< the preview's verdict
    bool sent = false;         ///< something was sent to the device
    bool activated = false;    ///< the activation succeeded
    bool succeeded = false;    ///< everything the row asked for succeeded
    quint32 errorCode = 0;     ///< the discovery library's error code of the failure
    QString result;            ///< the result text (translated)
};

/**
 * @brief Applies the accepted rows of a plan through the discovery service's blocking calls.
 *
 * Devices that are still to be activated are activated first with the plan's password; the
 * network parameters follow, proven with that password or, for devices that were active, with
 * the administrator password given. Refused rows are never sent and keep their reason as result.
 * run() blocks: the window calls it on a worker thread, the command line directly. cancel() may
 * be called from any thread and stops before the next device.
 */
class PlanApplier : public QObject
{
    Q_OBJECT
public:
    /**
     * @brief An applier of @p verdicts for @p rows against @p records, the records the preview saw.
     *
     * When @p store is given, successful changes are written into it as the modify panel does.
     */
    PlanApplier(VEXO::VexoHandler &handler, QList<PlanRow> rows, QList<PlanVerdict> verdicts,
                QVector<VEXO_DEVICE_INFO> records, QByteArray adminPassword, DeviceStore *store = nullptr,
                QObject *parent = nullptr);

    /** @brief Applies the plan; returns one outcome per row, refused and cancelled rows included. */
    QList<PlanOutcome> run();
    /** @brief Stops after the device being worked on. */
    void cancel() { m_cancelled = true; }
    /** @brief The outcomes of the last run(). */
    const QList<PlanOutcome> &outcomes() const { return m_outcomes; }

    /** @brief The result text for an error code, as the modify panel words it, with its explanation. */
    static QString failureText(quint32 code);

signals:
    /** @brief A row is done: @p done of @p total accepted rows so far. */
    void rowDone(int row, int done, int total);
    /** @brief run() has finished (also after cancel()). */
    void finished();

private:
    QList<int> sendingOrder() const;

    VEXO::VexoHandler &m_handler;
    QList<PlanRow> m_rows;
    QList<PlanVerdict> m_verdicts;
    QVector<VEXO_DEVICE_INFO> m_records;
    QByteArray m_adminPassword;
    DeviceStore *m_store = nullptr;
    QList<PlanOutcome> m_outcomes;
    std::atomic<bool> m_cancelled = false;
};

} // namespace VexoTool

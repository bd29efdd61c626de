// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "planapplier.h"

#include "devicestore.h"
#include "errorexplanation.h"
#include "vexohandler.h"

#include <kvt.h>

#include <QHash>

namespace VexoTool {

namespace {

QString modifyPageText(const char *text)
{
    return QCoreApplication::translate("VexoTool::DeviceModifyPage", text);
}

} // namespace

PlanApplier::PlanApplier(VEXO::VexoHandler &handler, QList<PlanRow> rows, QList<PlanVerdict> verdicts,
                         QVector<VEXO_DEVICE_INFO> records, QByteArray adminPassword, DeviceStore *store,
                         QObject *parent)
    : QObject(parent)
    , m_handler(handler)
    , m_rows(std::move(rows))
    , m_verdicts(std::move(verdicts))
    , m_records(std::move(records))
    , m_adminPassword(std::move(adminPassword))
    , m_store(store)
{
    Q_ASSERT(m_rows.size() == m_verdicts.size());
}

QString PlanApplier::failureText(quint32 code)
{
    QString text;
    if (code == VEXO_ERR_DEVICE_DENY)
        text = modifyPageText("Device deny.");
    else if (code == VEXO_ERR_TIMEOUT)
        text = modifyPageText("Time out.");
    else
        text = modifyPageText("Error%1:others").arg(code);
    return ErrorExplanation::withExplanation(text, code);
}

// The order in which the rows are sent: a device that takes an address another device of the
// plan leaves goes after that device, so that no two devices share an address on the way. A
// ring of devices swapping addresses cannot avoid it; it is sent in the plan's order.
QList<int> PlanApplier::sendingOrder() const
{
    const int count = int(m_rows.size());
    QHash<QString, int> leaving; // current address → row whose device moves away from it
    for (int r = 0; r < count; ++r) {
        const PlanVerdict &v = m_verdicts.at(r);
        if (v.accepted() && v.networkChange && v.recordIndex >= 0 && v.recordIndex < m_records.size()) {
            const QString from = fieldText(m_records.at(v.recordIndex).ipv4Address);
            if (from != fieldText(v.param.ipv4Address))
                leaving.insert(from, r);
        }
    }
    QList<int> order;
    order.reserve(count);
    QList<bool> placed(count, false);
    QList<bool> visiting(count, false);
    // Depth first: the row whose device leaves my target address comes first.
    for (int start = 0; start < count; ++start) {
        QList<int> chain;
        int r = start;
        while (r >= 0 && !placed.at(r) && !visiting.at(r)) {
            visiting[r] = true;
            chain.append(r);
            const QString target = fieldText(m_verdicts.at(r).param.ipv4Address);
            r = m_verdicts.at(r).accepted() ? leaving.value(target, -1) : -1;
        }
        for (auto it = chain.crbegin(); it != chain.crend(); ++it) {
            placed[*it] = true;
            order.append(*it);
        }
    }
    return order;
}

QList<PlanOutcome> PlanApplier::run()
{
    const int total = PlanPreview::acceptedCount(m_verdicts);
    int done = 0;
    QList<PlanOutcome> outcomes(m_rows.size());
    for (const int r : sendingOrder()) {
        const PlanRow &row = m_rows.at(r);
        const PlanVerdict &verdict = m_verdicts.at(r);
        PlanOutcome &outcome = outcomes[r];
        outcome.verdict = verdict;
        if (verdict.recordIndex >= 0 && verdict.recordIndex < m_records.size()) {
            outcome.before = m_records.at(verdict.recordIndex);
            outcome.serial = fieldText(outcome.before.serialNumber);
            outcome.mac = fieldText(outcome.before.macAddress);
        } else {
            outcome.serial = row.serial;
            outcome.mac = row.mac;
        }
        if (!verdict.accepted()) {
            outcome.time = QDateTime::currentDateTime();
            outcome.result = verdict.kind == PlanVerdictKind::Unchanged ? PlanPreview::kindText(verdict.kind)
                                                                        : tr("Not sent: %1").arg(verdict.reason);
            continue;
        }
        if (m_cancelled) {
            outcome.time = QDateTime::currentDateTime();
            outcome.result = tr("Not sent: cancelled.");
            continue;
        }
        const QByteArray serial = outcome.serial.toLatin1();
        const QByteArray mac = outcome.mac.toLatin1();
        QByteArray password = m_adminPassword;
        bool ok = true;
        outcome.sent = true;
        if (verdict.activate) {
            const QByteArray planPassword = row.password.toLocal8Bit();
            ok = m_handler.activateDevice(serial, planPassword);
            if (ok) {
                outcome.activated = true;
                password = planPassword;
                if (m_store) {
                    KVT_Guard guard(m_store->mutex());
                    m_store->setInactive(outcome.serial, outcome.mac, 0);
                }
            }
        }
        if (ok && verdict.networkChange) {
            ok = m_handler.modifyDeviceNetParam(mac, password, verdict.param);
            if (ok && m_store) {
                KVT_Guard guard(m_store->mutex());
                m_store->setNetParams(outcome.serial, outcome.mac, verdict.param);
            }
        }
        outcome.time = QDateTime::currentDateTime();
        outcome.succeeded = ok;
        if (ok) {
            outcome.result = modifyPageText("Succeed");
        } else {
            outcome.errorCode = m_handler.getLastError();
            outcome.result = failureText(outcome.errorCode);
            if (outcome.activated)
                outcome.result = tr("Activated; network parameters not changed: %1").arg(outcome.result);
        }
        emit rowDone(r, ++done, total);
    }
    m_outcomes = outcomes;
    emit finished();
    return m_outcomes;
}

} // namespace VexoTool

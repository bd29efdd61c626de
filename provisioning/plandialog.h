// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "planapplier.h"
#include "planfile.h"
#include "planpreview.h"

#include <basedialog.h>

#include <QVector>

#include <memory>

class DeviceStore;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;

namespace VEXO {
class VexoHandler;
}

namespace VexoTool {

class Journal;

/**
 * @brief "Apply plan": previews an address plan file against the listed devices and applies
 *        its accepted rows.
 *
 * The user chooses a plan file; the table shows one row per plan row with its verdict, the
 * changes or the reason it is refused (refused rows are never sent), and a summary line counts
 * them. Apply, enabled while some row is accepted, sends the accepted rows on a worker thread
 * with a progress bar; Cancel then stops before the next device. Afterwards each row shows its
 * result, and the report saved beside the plan is named.
 */
class PlanDialog : public aptui::BaseDialog
{
    Q_OBJECT
public:
    /** @brief A dialog over the devices of @p store, applying through @p handler. */
    PlanDialog(DeviceStore &store, VEXO::VexoHandler &handler, QWidget *parent = nullptr);
    ~PlanDialog() override;

    /** @brief Writes an entry for each device a plan is sent to into @p journal (none without one). */
    void setJournal(Journal *journal) { m_journal = journal; }

    /** @brief Whether the preview is being applied now. */
    bool isApplying() const { return m_thread != nullptr; }

public slots:
    /** @brief Reads @p path and shows its preview against the devices listed now. */
    void loadPlan(const QString &path);
    /** @brief Applies the accepted rows (nothing while none is accepted or while applying). */
    void applyPlan();

signals:
    /** @brief Applying has finished and the report is saved (or could not be). */
    void signalApplyFinished();

private:
    void setupForm();
    void onChooseFile();
    void onCancelOrClose();
    void onRowDone(int row, int done, int total);
    void onApplyThreadFinished();
    /** @brief The journal's entry of one device the plan was sent to. */
    void journalOutcome(const PlanOutcome &outcome);
    void showPreview();
    void updateButtons();

    DeviceStore &m_store;
    VEXO::VexoHandler &m_handler;
    Journal *m_journal = nullptr;
    QString m_planPath;
    QList<PlanRow> m_rows;
    QList<PlanVerdict> m_verdicts;
    QVector<VEXO_DEVICE_INFO> m_records;
    std::unique_ptr<PlanApplier> m_applier;
    QThread *m_thread = nullptr;

    QLineEdit *m_lineEditPlanFile = nullptr;
    QPushButton *m_btnChoosePlanFile = nullptr;
    QTableWidget *m_tablePreview = nullptr;
    QLabel *m_labelSummary = nullptr;
    QLineEdit *m_lineEditPassword = nullptr;
    QProgressBar *m_progressApply = nullptr;
    QLabel *m_labelReport = nullptr;
};

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "handoverreport.h"

#include <basedialog.h>

#include <Vexo.h>

#include <QVector>

class QDateTimeEdit;
class QLineEdit;

namespace VexoTool {

class Journal;

/**
 * @brief Asks for the site's name and the period of the changes, then for the PDF's file, and
 *        writes the hand-over report as PDF and, beside it, as ".xls".
 */
class HandoverDialog : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /** @brief A dialog over @p journal (which must outlive it) and the devices @p listed now. */
    HandoverDialog(const Journal &journal, QVector<VEXO_DEVICE_INFO> listed, QWidget *parent = nullptr);
    /** @brief Where the report finds the cameras' snapshots (the list's snapshot view). */
    void setSnapshotOf(SnapshotOf snapshotOf) { m_snapshotOf = std::move(snapshotOf); }
    ~HandoverDialog() override;

    /**
     * @brief Writes the report of the dialog's site and period to @p pdfPath and the workbook
     *        beside it; false with @p error when the journal or a file fails.
     */
    bool save(const QString &pdfPath, QString *error = nullptr);

private:
    void onSave();

    const Journal &m_journal;
    QVector<VEXO_DEVICE_INFO> m_listed;
    SnapshotOf m_snapshotOf;
    QLineEdit *m_lineEditSite = nullptr;
    QDateTimeEdit *m_dateFrom = nullptr;
    QDateTimeEdit *m_dateUntil = nullptr;
};

} // namespace VexoTool

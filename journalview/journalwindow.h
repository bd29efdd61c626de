// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "handoverreport.h"

#include <basedialog.h>
#include <journalfilter.h>

#include <Vexo.h>

#include <QVector>

#include <functional>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QTimer;

namespace VexoTool {

class Journal;
class JournalPageModel;

/**
 * @brief The journal window: the entries, newest first, with the list's filter conventions, the
 *        export of the filtered entries and the hand-over report.
 *
 * The filter box takes a text or one or more IPv4 address ranges separated by commas, written as
 * the list's filter box takes them ("192.168.1.0/24, 10.0.0.5-10.0.0.9"); beside it the
 * operation, the result and the period. The table reads only the pages it shows.
 */
class JournalWindow : public aptui::BaseDialog
{
    Q_OBJECT

public:
    /** @brief Periods the window offers. */
    enum class Period { All, Today, LastSevenDays, LastThirtyDays, Custom };

    /**
     * @brief A window over @p journal, which must outlive it; @p listedDevices gives the devices
     *        listed now for the hand-over report.
     */
    JournalWindow(Journal &journal, std::function<QVector<VEXO_DEVICE_INFO>()> listedDevices,
                  QWidget *parent = nullptr);
    ~JournalWindow() override;

    /** @brief The filter the controls ask for now. */
    JournalFilter currentFilter() const;
    /**
     * @brief Puts the filter box's @p text into @p filter: address ranges when every comma-separated
     *        part is one, else a text to search.
     */
    static void applyFilterText(const QString &text, JournalFilter &filter);

    JournalPageModel *model() const { return m_model; }
    /** @brief Where the hand-over report finds the cameras' snapshots. */
    void setSnapshotOf(SnapshotOf snapshotOf) { m_snapshotOf = std::move(snapshotOf); }

public slots:
    /** @brief Reads the journal again with the current filter. */
    void refresh();
    /** @brief Asks for a file and writes the filtered entries as ".xls" or, with @p csv, as CSV. */
    void exportEntries(bool csv);
    /** @brief The hand-over report dialog. */
    void openHandoverReport();

private:
    void setupForm();
    void onPeriodChanged();
    void applyFilter();
    void showCount();
    void showMessage(int kind, const QString &text);

    Journal &m_journal;
    std::function<QVector<VEXO_DEVICE_INFO>()> m_listedDevices;
    SnapshotOf m_snapshotOf;
    JournalPageModel *m_model = nullptr;
    QLineEdit *m_lineEditFilter = nullptr;
    QComboBox *m_comboFlow = nullptr;
    QComboBox *m_comboResult = nullptr;
    QComboBox *m_comboPeriod = nullptr;
    QDateTimeEdit *m_dateFrom = nullptr;
    QDateTimeEdit *m_dateUntil = nullptr;
    QLabel *m_labelCount = nullptr;
    QTableView *m_table = nullptr;
    QPushButton *m_btnExportXls = nullptr;
    QPushButton *m_btnExportCsv = nullptr;
    QPushButton *m_btnReport = nullptr;
    QPushButton *m_btnRefresh = nullptr;
    QTimer *m_filterDelay = nullptr;
};

} // namespace VexoTool

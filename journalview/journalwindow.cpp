// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "journalwindow.h"

#include "handoverdialog.h"
#include "journalexport.h"
#include "journalpagemodel.h"
#include "journaltexts.h"

#include <devicefilter.h>
#include <folderpath.h>
#include <journal.h>
#include <warningdialog.h>

#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

// Typing settles before the journal is asked again.
constexpr int FilterDelayMs = 150;

} // namespace

JournalWindow::JournalWindow(Journal &journal, std::function<QVector<VEXO_DEVICE_INFO>()> listedDevices,
                             QWidget *parent)
    : aptui::BaseDialog(false, false, false, true, true, false, true, parent)
    , m_journal(journal)
    , m_listedDevices(std::move(listedDevices))
{
    setObjectName(QStringLiteral("JournalWindow"));
    //: title of the window that shows the site journal
    setTitle(tr("Journal"));
    setCancelButtonText(tr("Close"));
    m_model = new JournalPageModel(m_journal, this);
    setupForm();
    resize(1100, 600);
    m_filterDelay = new QTimer(this);
    m_filterDelay->setSingleShot(true);
    m_filterDelay->setInterval(FilterDelayMs);
    connect(m_filterDelay, &QTimer::timeout, this, &JournalWindow::applyFilter);
    connect(m_lineEditFilter, &QLineEdit::textChanged, m_filterDelay, qOverload<>(&QTimer::start));
    connect(m_lineEditFilter, &QLineEdit::returnPressed, this, &JournalWindow::applyFilter);
    for (QComboBox *combo : {m_comboFlow, m_comboResult})
        connect(combo, &QComboBox::currentIndexChanged, this, &JournalWindow::applyFilter);
    connect(m_comboPeriod, &QComboBox::currentIndexChanged, this, &JournalWindow::onPeriodChanged);
    for (QDateTimeEdit *edit : {m_dateFrom, m_dateUntil})
        connect(edit, &QDateTimeEdit::dateTimeChanged, m_filterDelay, qOverload<>(&QTimer::start));
    connect(m_btnExportXls, &QPushButton::clicked, this, [this] { exportEntries(false); });
    connect(m_btnExportCsv, &QPushButton::clicked, this, [this] { exportEntries(true); });
    connect(m_btnReport, &QPushButton::clicked, this, &JournalWindow::openHandoverReport);
    connect(m_btnRefresh, &QPushButton::clicked, this, &JournalWindow::refresh);
    connect(m_model, &JournalPageModel::counted, this, &JournalWindow::showCount);
    onPeriodChanged();
    m_lineEditFilter->setFocus();
}

JournalWindow::~JournalWindow() = default;

void JournalWindow::setupForm()
{
    auto *form = new QWidget;
    form->setObjectName(QStringLiteral("JournalForm"));
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(16, 10, 16, 8);
    layout->setSpacing(8);

    auto *filterRow = new QHBoxLayout;
    m_lineEditFilter = new QLineEdit;
    m_lineEditFilter->setObjectName(QStringLiteral("m_lineEditFilter"));
    m_lineEditFilter->setClearButtonEnabled(true);
    //: placeholder of the journal window's filter box
    m_lineEditFilter->setPlaceholderText(tr("Text, or address ranges: 192.168.1.0/24, 10.0.0.5-10.0.0.9"));
    filterRow->addWidget(m_lineEditFilter, 1);

    m_comboFlow = new QComboBox;
    m_comboFlow->setObjectName(QStringLiteral("m_comboFlow"));
    //: the journal window's choice of every operation
    m_comboFlow->addItem(tr("All operations"));
    for (JournalFlow flow : allJournalFlows())
        m_comboFlow->addItem(journalFlowName(flow), journalFlowKey(flow));
    filterRow->addWidget(m_comboFlow);

    m_comboResult = new QComboBox;
    m_comboResult->setObjectName(QStringLiteral("m_comboResult"));
    //: the journal window's choice of every result
    m_comboResult->addItem(tr("All results"));
    for (JournalResult result : {JournalResult::Succeeded, JournalResult::Failed})
        m_comboResult->addItem(journalResultName(result), journalResultKey(result));
    filterRow->addWidget(m_comboResult);

    m_comboPeriod = new QComboBox;
    m_comboPeriod->setObjectName(QStringLiteral("m_comboPeriod"));
    m_comboPeriod->addItem(tr("Any time"), int(Period::All));
    m_comboPeriod->addItem(tr("Today"), int(Period::Today));
    m_comboPeriod->addItem(tr("Last 7 days"), int(Period::LastSevenDays));
    m_comboPeriod->addItem(tr("Last 30 days"), int(Period::LastThirtyDays));
    //: the journal window's choice of a period between two dates the user sets
    m_comboPeriod->addItem(tr("From ... until ..."), int(Period::Custom));
    filterRow->addWidget(m_comboPeriod);

    const QDateTime now = QDateTime::currentDateTime();
    m_dateFrom = new QDateTimeEdit(QDateTime(now.date(), QTime(0, 0)));
    m_dateFrom->setObjectName(QStringLiteral("m_dateFrom"));
    m_dateUntil = new QDateTimeEdit(QDateTime(now.date().addDays(1), QTime(0, 0)));
    m_dateUntil->setObjectName(QStringLiteral("m_dateUntil"));
    for (QDateTimeEdit *edit : {m_dateFrom, m_dateUntil}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        edit->setCalendarPopup(true);
        filterRow->addWidget(edit);
    }
    layout->addLayout(filterRow);

    m_table = new QTableView;
    m_table->setObjectName(QStringLiteral("m_tableJournal"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->hide();
    // Fixed row heights: the view never asks every row for its size.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 8);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    const QList<int> widths{180, 150, 210, 130, 100, 80, 280, 280, 90, 200, 90, 120};
    for (int column = 0; column < widths.size(); ++column)
        m_table->setColumnWidth(column, widths.at(column));
    layout->addWidget(m_table, 1);

    auto *bottomRow = new QHBoxLayout;
    m_labelCount = new QLabel;
    m_labelCount->setObjectName(QStringLiteral("m_labelCount"));
    bottomRow->addWidget(m_labelCount, 1);
    m_btnRefresh = new QPushButton(tr("Refresh"));
    m_btnRefresh->setObjectName(QStringLiteral("m_btnRefresh"));
    m_btnExportXls = new QPushButton(tr("Export .xls..."));
    m_btnExportXls->setObjectName(QStringLiteral("m_btnExportXls"));
    m_btnExportCsv = new QPushButton(tr("Export CSV..."));
    m_btnExportCsv->setObjectName(QStringLiteral("m_btnExportCsv"));
    m_btnReport = new QPushButton(tr("Hand-over report..."));
    m_btnReport->setObjectName(QStringLiteral("m_btnReport"));
    for (QPushButton *button : {m_btnRefresh, m_btnExportXls, m_btnExportCsv, m_btnReport})
        bottomRow->addWidget(button);
    layout->addLayout(bottomRow);

    setContentWidget(form);
    QWidget::setTabOrder(m_lineEditFilter, m_comboFlow);
    QWidget::setTabOrder(m_comboFlow, m_comboResult);
    QWidget::setTabOrder(m_comboResult, m_comboPeriod);
    QWidget::setTabOrder(m_comboPeriod, m_dateFrom);
    QWidget::setTabOrder(m_dateFrom, m_dateUntil);
    QWidget::setTabOrder(m_dateUntil, m_table);
    QWidget::setTabOrder(m_table, m_btnRefresh);
    QWidget::setTabOrder(m_btnRefresh, m_btnExportXls);
    QWidget::setTabOrder(m_btnExportXls, m_btnExportCsv);
    QWidget::setTabOrder(m_btnExportCsv, m_btnReport);
}

void JournalWindow::applyFilterText(const QString &text, JournalFilter &filter)
{
    filter.text.clear();
    filter.ipv4Ranges.clear();
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    QList<std::pair<quint32, quint32>> ranges;
    for (const QString &part : trimmed.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const auto range = DeviceFilter(part).range();
        if (!range) {
            filter.text = trimmed;
            return;
        }
        ranges.append(*range);
    }
    filter.ipv4Ranges = ranges;
}

JournalFilter JournalWindow::currentFilter() const
{
    JournalFilter filter;
    applyFilterText(m_lineEditFilter->text(), filter);
    if (const auto flow = journalFlowFromKey(m_comboFlow->currentData().toString()))
        filter.flows = {*flow};
    filter.result = journalResultFromKey(m_comboResult->currentData().toString());
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime today(now.date(), QTime(0, 0));
    switch (Period(m_comboPeriod->currentData().toInt())) {
    case Period::All:
        break;
    case Period::Today:
        filter.from = today.toUTC();
        break;
    case Period::LastSevenDays:
        filter.from = today.addDays(-6).toUTC();
        break;
    case Period::LastThirtyDays:
        filter.from = today.addDays(-29).toUTC();
        break;
    case Period::Custom:
        filter.from = m_dateFrom->dateTime().toUTC();
        filter.until = m_dateUntil->dateTime().toUTC();
        break;
    }
    return filter;
}

void JournalWindow::onPeriodChanged()
{
    const bool custom = Period(m_comboPeriod->currentData().toInt()) == Period::Custom;
    m_dateFrom->setVisible(custom);
    m_dateUntil->setVisible(custom);
    applyFilter();
}

void JournalWindow::applyFilter()
{
    m_filterDelay->stop();
    m_model->setFilter(currentFilter());
    //: while the journal window counts the entries that pass its filter
    m_labelCount->setText(tr("Reading the journal..."));
}

void JournalWindow::showCount()
{
    if (!m_model->isReadable())
        m_labelCount->setText(tr("The journal cannot be read now."));
    else
        //: how many journal entries pass the window's filter
        m_labelCount->setText(tr("%n entries", nullptr, m_model->rowCount()));
}

void JournalWindow::refresh()
{
    applyFilter();
}

void JournalWindow::showMessage(int kind, const QString &text)
{
    WarningDialog::showLargeWarning(mapToGlobal(rect().center()) - QPoint(155, 80), kind, text, this);
}

void JournalWindow::exportEntries(bool csv)
{
    const QString name = QStringLiteral("journal-%1.%2")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm")),
                                  csv ? QStringLiteral("csv") : QStringLiteral("xls"));
    const QString suggested = QDir(aptui::dialogStartFolder()).filePath(name);
    const QString path = QFileDialog::getSaveFileName(this, tr("Export the journal"), suggested,
                                                      csv ? tr("CSV files (*.csv)") : tr("Excel files (*.xls)"));
    if (path.isEmpty())
        return;
    QString error;
    const bool ok = csv ? JournalExport::writeCsv(m_journal, m_model->filter(), path, &error)
                        : JournalExport::writeXls(m_journal, m_model->filter(), path, &error);
    if (ok)
        showMessage(WarningDialog::Success, tr("Exported to %1").arg(QDir::toNativeSeparators(path)));
    else
        showMessage(WarningDialog::Error, error);
}

void JournalWindow::openHandoverReport()
{
    HandoverDialog dialog(m_journal, m_listedDevices ? m_listedDevices() : QVector<VEXO_DEVICE_INFO>(), this);
    dialog.setSnapshotOf(m_snapshotOf);
    dialog.exec();
}

} // namespace VexoTool

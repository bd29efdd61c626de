// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "plandialog.h"

#include "planreport.h"

#include <folderpath.h>
#include <journalrecords.h>
#include <devicestore.h>
#include <vexohandler.h>

#include <kvt.h>

#include <QColor>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>

#include <algorithm>
#include <QThread>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

enum Column { ColumnLine, ColumnDevice, ColumnVerdict, ColumnDetails, ColumnResult, ColumnCount };

QPushButton *bottomButton(QObject *dialog, const char *name)
{
    return dialog->findChild<QPushButton *>(QString::fromLatin1(name));
}

} // namespace

PlanDialog::PlanDialog(DeviceStore &store, VEXO::VexoHandler &handler, QWidget *parent)
    : aptui::BaseDialog(false, false, false, false, true, true, true, parent)
    , m_store(store)
    , m_handler(handler)
{
    setupForm();
    //: Title of the dialog that applies an address plan file to the listed devices
    setTitle(tr("Apply Plan"));
    setConfirmButtonText(tr("Apply"));
    setCancelButtonText(tr("Close"));
    resize(860, 520);
    // Confirm applies and Cancel closes or stops: the dialog decides itself.
    setEnableDefaultConnections(true, true, false, false, false);
    connect(this, &aptui::BaseDialog::signalConfirmButtonClicked, this, &PlanDialog::applyPlan);
    connect(this, &aptui::BaseDialog::signalCancelButtonClicked, this, &PlanDialog::onCancelOrClose);
    connect(this, &aptui::BaseDialog::signalCloseButtonClicked, this, &PlanDialog::onCancelOrClose);
    connect(m_btnChoosePlanFile, &QPushButton::clicked, this, &PlanDialog::onChooseFile);
    updateButtons();
    m_btnChoosePlanFile->setFocus();
}

PlanDialog::~PlanDialog()
{
    if (m_thread) {
        m_applier->cancel();
        m_thread->wait();
    }
}

void PlanDialog::setupForm()
{
    auto *form = new QWidget;
    form->setObjectName(QStringLiteral("PlanDialog"));
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(20, 12, 20, 8);
    layout->setSpacing(8);

    auto *fileRow = new QHBoxLayout;
    auto *labelFile = new QLabel(tr("Plan file:"));
    m_lineEditPlanFile = new QLineEdit;
    m_lineEditPlanFile->setObjectName(QStringLiteral("m_lineEditPlanFile"));
    m_lineEditPlanFile->setReadOnly(true);
    m_lineEditPlanFile->setPlaceholderText(tr("CSV or tab-separated file: serial or MAC, ipv4, mask, gateway, ..."));
    m_btnChoosePlanFile = new QPushButton(tr("Choose..."));
    m_btnChoosePlanFile->setObjectName(QStringLiteral("m_btnChoosePlanFile"));
    labelFile->setBuddy(m_btnChoosePlanFile);
    fileRow->addWidget(labelFile);
    fileRow->addWidget(m_lineEditPlanFile, 1);
    fileRow->addWidget(m_btnChoosePlanFile);
    layout->addLayout(fileRow);

    m_tablePreview = new QTableWidget(0, ColumnCount);
    m_tablePreview->setObjectName(QStringLiteral("m_tablePreview"));
    m_tablePreview->setHorizontalHeaderLabels(
        {tr("Line"), tr("Device"), tr("Verdict"), tr("Changes or reason"), tr("Result")});
    m_tablePreview->verticalHeader()->hide();
    m_tablePreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tablePreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_tablePreview->setWordWrap(false);
    m_tablePreview->horizontalHeader()->setStretchLastSection(false);
    // A header too narrow for its title keeps the title's start readable.
    m_tablePreview->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_tablePreview->horizontalHeader()->setMinimumSectionSize(56);
    m_tablePreview->setFocusPolicy(Qt::StrongFocus);
    // Before a plan is read the headers alone set the widths, so none is cut.
    m_tablePreview->resizeColumnsToContents();
    m_tablePreview->horizontalHeader()->setSectionResizeMode(ColumnDetails, QHeaderView::Stretch);
    layout->addWidget(m_tablePreview, 1);

    m_labelSummary = new QLabel;
    m_labelSummary->setObjectName(QStringLiteral("m_labelSummary"));
    m_labelSummary->setWordWrap(true);
    layout->addWidget(m_labelSummary);

    auto *passwordRow = new QHBoxLayout;
    //: The password that proves the changes to devices that are already activated
    auto *labelPassword = new QLabel(tr("Admin password:"));
    m_lineEditPassword = new QLineEdit;
    m_lineEditPassword->setObjectName(QStringLiteral("m_lineEditPassword"));
    m_lineEditPassword->setEchoMode(QLineEdit::Password);
    m_lineEditPassword->setMaxLength(VEXO_MAX_PASSWORD_LEN);
    m_lineEditPassword->setPlaceholderText(tr("for devices that are already activated"));
    // The hint stays whole beside the progress bar while a plan is applied.
    m_lineEditPassword->setMinimumWidth(
        m_lineEditPassword->fontMetrics().horizontalAdvance(m_lineEditPassword->placeholderText()) + 24);
    labelPassword->setBuddy(m_lineEditPassword);
    m_progressApply = new QProgressBar;
    m_progressApply->setObjectName(QStringLiteral("m_progressApply"));
    m_progressApply->hide();
    passwordRow->addWidget(labelPassword);
    passwordRow->addWidget(m_lineEditPassword);
    passwordRow->addWidget(m_progressApply, 1);
    passwordRow->addStretch();
    layout->addLayout(passwordRow);

    m_labelReport = new QLabel;
    m_labelReport->setObjectName(QStringLiteral("m_labelReport"));
    m_labelReport->setWordWrap(true);
    m_labelReport->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_labelReport);

    setContentWidget(form);
    QWidget::setTabOrder(m_btnChoosePlanFile, m_tablePreview);
    QWidget::setTabOrder(m_tablePreview, m_lineEditPassword);
}

void PlanDialog::onChooseFile()
{
    const QString folder
        = aptui::dialogStartFolder(m_planPath.isEmpty() ? QString() : QFileInfo(m_planPath).absolutePath());
    const QString path = QFileDialog::getOpenFileName(this, tr("Choose a plan file"), folder,
                                                      tr("Plan files (*.csv *.tsv *.txt);;All files (*)"));
    if (!path.isEmpty())
        loadPlan(path);
}

void PlanDialog::loadPlan(const QString &path)
{
    if (m_thread)
        return;
    m_planPath = path;
    m_lineEditPlanFile->setText(QDir::toNativeSeparators(path));
    m_labelReport->clear();
    PlanParseResult plan = PlanFile::read(path);
    {
        KVT_Guard guard(m_store.mutex());
        m_store.copyAll(m_records);
    }
    if (plan.ok()) {
        plan.errors = PlanPreview::plannedTwice(plan.rows, m_records);
        if (!plan.ok())
            plan.rows.clear();
    }
    m_rows = plan.rows;
    m_verdicts = PlanPreview::preview(m_rows, m_records);
    showPreview();
    if (!plan.ok()) {
        QStringList problems;
        for (const PlanError &error : plan.errors)
            problems.append(PlanFile::describe(error));
        m_labelSummary->setText(tr("The plan cannot be used:") + u'\n' + problems.join(u'\n'));
        m_labelSummary->setProperty("error", true);
    } else {
        const int accepted = PlanPreview::acceptedCount(m_verdicts);
        int unchanged = 0;
        for (const PlanVerdict &verdict : std::as_const(m_verdicts))
            unchanged += verdict.kind == PlanVerdictKind::Unchanged;
        m_labelSummary->setText(tr("%1 of %2 rows will be applied, %3 unchanged, %4 refused.")
                                    .arg(accepted)
                                    .arg(m_rows.size())
                                    .arg(unchanged)
                                    .arg(m_rows.size() - accepted - unchanged));
        m_labelSummary->setProperty("error", false);
    }
    updateButtons();
}

void PlanDialog::showPreview()
{
    m_tablePreview->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const PlanRow &row = m_rows.at(r);
        const PlanVerdict &verdict = m_verdicts.at(r);
        const QString details = verdict.reason.isEmpty() ? PlanPreview::changesText(verdict.changes) : verdict.reason;
        const QStringList texts{QString::number(row.line), row.serial.isEmpty() ? row.mac : row.serial,
                                PlanPreview::kindText(verdict.kind), details, QString()};
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(texts.at(c));
            item->setToolTip(texts.at(c));
            if (!verdict.accepted() && verdict.kind != PlanVerdictKind::Unchanged)
                item->setForeground(QColor(0xd0, 0x30, 0x30));
            m_tablePreview->setItem(r, c, item);
        }
    }
    m_tablePreview->resizeColumnsToContents();
    // The changes or reasons take the room left; each cell's tool tip holds the whole text.
    m_tablePreview->horizontalHeader()->setSectionResizeMode(ColumnDetails, QHeaderView::Stretch);
    m_tablePreview->setColumnWidth(ColumnResult, 120);
}

void PlanDialog::updateButtons()
{
    const bool applying = m_thread != nullptr;
    if (QPushButton *apply = bottomButton(this, "btnConfirm"))
        apply->setEnabled(!applying && PlanPreview::acceptedCount(m_verdicts) > 0);
    setCancelButtonText(applying ? tr("Cancel") : tr("Close"));
    m_btnChoosePlanFile->setEnabled(!applying);
    m_lineEditPassword->setEnabled(!applying);
}

void PlanDialog::applyPlan()
{
    const int accepted = PlanPreview::acceptedCount(m_verdicts);
    if (m_thread || accepted == 0)
        return;
    m_applier = std::make_unique<PlanApplier>(m_handler, m_rows, m_verdicts, m_records,
                                              m_lineEditPassword->text().toLocal8Bit(), &m_store);
    connect(m_applier.get(), &PlanApplier::rowDone, this, &PlanDialog::onRowDone, Qt::QueuedConnection);
    m_progressApply->setRange(0, accepted);
    m_progressApply->setValue(0);
    m_progressApply->show();
    m_labelReport->clear();
    PlanApplier *applier = m_applier.get();
    m_thread = QThread::create([applier] { applier->run(); });
    connect(m_thread, &QThread::finished, this, &PlanDialog::onApplyThreadFinished, Qt::QueuedConnection);
    updateButtons();
    m_thread->start();
}

void PlanDialog::onRowDone(int row, int done, int /*total*/)
{
    m_progressApply->setValue(done);
    if (QTableWidgetItem *item = m_tablePreview->item(row, ColumnResult))
        item->setText(tr("Sent"));
}

void PlanDialog::onApplyThreadFinished()
{
    m_thread->deleteLater();
    m_thread = nullptr;
    const QList<PlanOutcome> outcomes = m_applier->outcomes();
    int succeeded = 0;
    int failed = 0;
    for (const PlanOutcome &outcome : outcomes) {
        succeeded += outcome.succeeded;
        failed += outcome.sent && !outcome.succeeded;
        if (outcome.sent)
            journalOutcome(outcome);
    }
    m_labelSummary->setText(tr("Applied: %1 succeeded, %2 failed, %3 not sent.")
                                .arg(succeeded)
                                .arg(failed)
                                .arg(outcomes.size() - succeeded - failed));
    for (int r = 0; r < outcomes.size() && r < m_tablePreview->rowCount(); ++r) {
        QTableWidgetItem *item = m_tablePreview->item(r, ColumnResult);
        const QString text = outcomes.at(r).result;
        item->setText(QString(text).replace(u'\n', u' '));
        item->setToolTip(text);
        if (outcomes.at(r).sent)
            item->setForeground(outcomes.at(r).succeeded ? QColor(0x20, 0x90, 0x40) : QColor(0xd0, 0x30, 0x30));
    }
    // The result takes the room it needs up to a limit, never what the changes or reasons need
    // for their header; a cut result keeps its whole text in its tool tip.
    m_tablePreview->resizeColumnToContents(ColumnResult);
    QHeaderView *header = m_tablePreview->horizontalHeader();
    int others = 0;
    for (int column = 0; column < ColumnCount; ++column) {
        if (column != ColumnDetails && column != ColumnResult)
            others += header->sectionSize(column);
    }
    const int room = m_tablePreview->viewport()->width() - others - header->sectionSizeHint(ColumnDetails);
    m_tablePreview->setColumnWidth(
        ColumnResult,
        qMax(header->minimumSectionSize(), std::min({m_tablePreview->columnWidth(ColumnResult), 320, room})));
    const PlanReportFiles files = PlanReport::save(m_planPath, outcomes, QDateTime::currentDateTime());
    if (files.ok())
        m_labelReport->setText(
            tr("Report saved: %1 and %2")
                .arg(QDir::toNativeSeparators(files.csvPath), QDir::toNativeSeparators(files.xlsPath)));
    else
        m_labelReport->setText(files.error);
    // What was sent is done: the same preview is not applied twice.
    m_verdicts.clear();
    updateButtons();
    emit signalApplyFinished();
}

void PlanDialog::journalOutcome(const PlanOutcome &outcome)
{
    // The store holds what the device took: the applier writes each success into it.
    VEXO_DEVICE_INFO now = outcome.before;
    {
        KVT_Guard guard(m_store.mutex());
        m_store.get(outcome.serial, outcome.mac, now);
    }
    JournalValues after = journalValuesOf(now);
    after.passwordSet = outcome.activated;
    writeJournalEntry(m_journal, JournalFlow::PlanApply, outcome.before, after, outcome.succeeded,
                      outcome.succeeded ? QString() : outcome.result);
}

void PlanDialog::onCancelOrClose()
{
    if (m_thread) {
        m_applier->cancel();
        return;
    }
    reject();
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "handoverdialog.h"

#include "handoverreport.h"

#include <folderpath.h>
#include <warningdialog.h>

#include <QDateTimeEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpression>

namespace VexoTool {

HandoverDialog::HandoverDialog(const Journal &journal, QVector<VEXO_DEVICE_INFO> listed, QWidget *parent)
    : aptui::BaseDialog(false, false, false, false, true, true, true, parent)
    , m_journal(journal)
    , m_listed(std::move(listed))
{
    setObjectName(QStringLiteral("HandoverDialog"));
    //: title of the dialog that writes the hand-over report
    setTitle(tr("Hand-over Report"));
    setConfirmButtonText(tr("Save..."));
    auto *form = new QWidget;
    auto *layout = new QFormLayout(form);
    layout->setContentsMargins(20, 14, 20, 8);
    m_lineEditSite = new QLineEdit;
    m_lineEditSite->setObjectName(QStringLiteral("m_lineEditSite"));
    m_lineEditSite->setMaxLength(120);
    //: label of the hand-over report's site name
    layout->addRow(tr("Site:"), m_lineEditSite);
    const QDate today = QDate::currentDate();
    m_dateFrom = new QDateTimeEdit(QDateTime(today, QTime(0, 0)));
    m_dateFrom->setObjectName(QStringLiteral("m_dateFrom"));
    m_dateUntil = new QDateTimeEdit(QDateTime(today.addDays(1), QTime(0, 0)));
    m_dateUntil->setObjectName(QStringLiteral("m_dateUntil"));
    for (QDateTimeEdit *edit : {m_dateFrom, m_dateUntil}) {
        edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
        edit->setCalendarPopup(true);
    }
    //: label of the start of the period whose changes the hand-over report lists
    layout->addRow(tr("Changes from:"), m_dateFrom);
    //: label of the end of the period whose changes the hand-over report lists
    layout->addRow(tr("until:"), m_dateUntil);
    setContentWidget(form);
    resize(420, 240);
    setEnableDefaultConnections(true, true, true, false, true);
    connect(this, &aptui::BaseDialog::signalConfirmButtonClicked, this, &HandoverDialog::onSave);
    m_lineEditSite->setFocus();
}

HandoverDialog::~HandoverDialog() = default;

bool HandoverDialog::save(const QString &pdfPath, QString *error)
{
    HandoverReport report;
    report.site = m_lineEditSite->text().trimmed();
    report.from = m_dateFrom->dateTime();
    report.until = m_dateUntil->dateTime();
    report.devices = HandoverReport::inventory(m_listed, m_snapshotOf);
    return report.readJournal(m_journal, error) && report.writePdf(pdfPath, error)
           && report.writeXls(HandoverReport::workbookPathBeside(pdfPath), error);
}

void HandoverDialog::onSave()
{
    const QPoint position = mapToGlobal(rect().center()) - QPoint(155, 80);
    if (m_lineEditSite->text().trimmed().isEmpty()) {
        WarningDialog::showWarning(position, WarningDialog::Error, tr("Please enter the site's name."), this);
        return;
    }
    QString name = m_lineEditSite->text().trimmed();
    name.replace(QRegularExpression(QStringLiteral("[\\\\/:*?\"<>|]")), QStringLiteral("_"));
    const QString suggested = QDir(aptui::dialogStartFolder()).filePath(name + QStringLiteral(".pdf"));
    const QString path
        = QFileDialog::getSaveFileName(this, tr("Save the hand-over report"), suggested, tr("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!save(path, &error)) {
        WarningDialog::showLargeWarning(position, WarningDialog::Error, error, this);
        return;
    }
    WarningDialog::showLargeWarning(
        position, WarningDialog::Success,
        tr("Saved: %1 and %2")
            .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(HandoverReport::workbookPathBeside(path))),
        this);
    accept();
}

} // namespace VexoTool

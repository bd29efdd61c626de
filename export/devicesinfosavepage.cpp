// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "devicesinfosavepage.h"

#include "excelmanager.h"

#include <filepathbutton.h>
#include <folderpath.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QAbstractItemModel>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace VexoTool {

namespace {

// The folder of the last export, offered again whenever the dialog opens while the program runs.
QString &lastExportFolder()
{
    static QString folder;
    return folder;
}

} // namespace

DevicesInfoSavePage::DevicesInfoSavePage(const QAbstractItemModel *model, const QList<int> &rows, QWidget *parent)
    : aptui::BaseDialog(false, false, false, false, true, true, true, parent)
    , m_model(model)
    , m_rows(rows)
{
    m_exporter = new ExcelManager(this);
    setupForm();

    m_lineEditFilename->setMaxLength(MaxFileNameLength);
    m_lineEditFilepath->setText(lastExportFolder());

    setTitle(tr("Export"));
    resize(510, 362);

    // The confirm button only starts the checks; the dialog closes when the export succeeded.
    setEnableDefaultConnections(true, true, true, false, true);
    connect(m_btnFilepath, &QToolButton::clicked, this, &DevicesInfoSavePage::onClearLineEditFilePathError);
    connect(m_btnFilepath, &QToolButton::clicked, this, &DevicesInfoSavePage::onBtnFilepathClicked);
    connect(this, &aptui::BaseDialog::signalConfirmButtonClicked, this, &DevicesInfoSavePage::onSaveDevicesInfo);

    m_lineEditFilename->installEventFilter(this);
    m_lineEditFilepath->installEventFilter(this);
    m_lineEditFilename->setFocus();
}

DevicesInfoSavePage::~DevicesInfoSavePage() = default;

void DevicesInfoSavePage::setupForm()
{
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("DevicesInfoSavePage"));
    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(40, 30, 40, 30);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(24);

    m_labelFileName = new QLabel(tr("File name:"), form);
    m_labelFileName->setObjectName(QStringLiteral("m_labelFileName"));
    m_lineEditFilename = new aptui::MultiStateLineEdit(form);
    m_lineEditFilename->setObjectName(QStringLiteral("m_lineEditFilename"));
    m_labelHintFileName = new QLabel(form);
    m_labelHintFileName->setObjectName(QStringLiteral("m_labelHintFileName"));

    m_labelFilepath = new QLabel(tr("File path:"), form);
    m_labelFilepath->setObjectName(QStringLiteral("m_labelFilepath"));
    m_lineEditFilepath = new aptui::MultiStateLineEdit(form);
    m_lineEditFilepath->setObjectName(QStringLiteral("m_lineEditFilepath"));
    m_btnFilepath = new aptui::FilePathButton(form);
    m_btnFilepath->setObjectName(QStringLiteral("m_btnFilepath"));
    m_btnFilepath->setFixedSize(24, 24);
    m_btnFilepath->setCursor(Qt::PointingHandCursor);
    m_labelHintFilePath = new QLabel(form);
    m_labelHintFilePath->setObjectName(QStringLiteral("m_labelHintFilePath"));

    for (QLabel *hint : {m_labelHintFileName, m_labelHintFilePath})
        hint->setFixedSize(16, 16);
    for (aptui::MultiStateLineEdit *field : {m_lineEditFilename, m_lineEditFilepath})
        field->setMinimumHeight(30);

    grid->addWidget(m_labelFileName, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_lineEditFilename, 0, 1, 1, 2);
    grid->addWidget(m_labelHintFileName, 0, 3);
    grid->addWidget(m_labelFilepath, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_lineEditFilepath, 1, 1);
    grid->addWidget(m_btnFilepath, 1, 2);
    grid->addWidget(m_labelHintFilePath, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    setContentWidget(form);
}

void DevicesInfoSavePage::showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field,
                                      QLabel *hintLabel)
{
    const QPoint position = pos() + QPoint(width() / 2 - 155, height() / 2 - 60);
    WarningDialog::showWarning(position, kind, text, this, field, hintLabel);
}

void DevicesInfoSavePage::onBtnFilepathClicked()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QString(), aptui::dialogStartFolder(lastExportFolder()), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return;
    lastExportFolder() = chosen;
    m_lineEditFilepath->setText(aptui::folderFieldText(chosen));
}

void DevicesInfoSavePage::onSaveDevicesInfo()
{
    // A folder typed by hand is kept even when this attempt goes no further.
    if (!m_lineEditFilepath->text().isEmpty())
        lastExportFolder() = m_lineEditFilepath->text();

    const QString fileName = m_lineEditFilename->text();
    const QString folder = m_lineEditFilepath->text() + QLatin1Char('/');
    if (fileName.isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please input file name."), m_lineEditFilename, m_labelHintFileName);
        return;
    }
    if (folder == QLatin1String("/")) {
        showMessage(WarningDialog::Error, tr("Please input file path."), m_lineEditFilepath, m_labelHintFilePath);
        return;
    }
    if (QFileInfo::exists(folder + fileName + QLatin1String(".xls"))) {
        showMessage(WarningDialog::Error, tr("The file name has been used, please change it"));
        return;
    }
    if (m_exporter->exportRows(fileName, folder, m_model, m_rows)) {
        showMessage(WarningDialog::Success, tr("Saving succeed."));
        accept();
    } else {
        showMessage(WarningDialog::Error, tr("Saving failed."));
    }
}

void DevicesInfoSavePage::clearFileNameError()
{
    m_labelHintFileName->clear();
    m_lineEditFilename->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
}

void DevicesInfoSavePage::onClearLineEditFilePathError()
{
    m_labelHintFilePath->clear();
    m_lineEditFilepath->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
}

void DevicesInfoSavePage::onClearWarningInfo()
{
    clearFileNameError();
    onClearLineEditFilePathError();
}

bool DevicesInfoSavePage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_lineEditFilename)
            clearFileNameError();
        else if (watched == m_lineEditFilepath)
            onClearLineEditFilePathError();
    }
    return aptui::BaseDialog::eventFilter(watched, event);
}

} // namespace VexoTool

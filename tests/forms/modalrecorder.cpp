// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalrecorder.h"

#include <devicemodifyresultpage.h>
#include <warningdialog.h>

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QStandardItemModel>

ModalRecorder::ModalRecorder()
{
    m_timer.setInterval(2);
    connect(&m_timer, &QTimer::timeout, this, &ModalRecorder::poll);
    m_timer.start();
    qApp->installEventFilter(this);
}

ModalRecorder::~ModalRecorder()
{
    qApp->removeEventFilter(this);
}

bool ModalRecorder::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        if (auto *progress = qobject_cast<QProgressDialog *>(watched))
            progressMaximumSeen = qMax(progressMaximumSeen, progress->maximum());
    }
    return QObject::eventFilter(watched, event);
}

void ModalRecorder::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    if (auto *warning = qobject_cast<VexoTool::WarningDialog *>(modal)) {
        if (auto *text = warning->findChild<QLabel *>(QStringLiteral("m_labelWarnText")))
            messages.append(text->text());
        warning->close();
    } else if (auto *list = qobject_cast<VexoTool::DeviceModifyResultPage *>(modal)) {
        ResultList seen;
        seen.devicesLabel = list->findChild<QLabel *>(QStringLiteral("m_labelDeviceAll"))->text();
        seen.failedLabel = list->findChild<QLabel *>(QStringLiteral("m_labelDeviceFail"))->text();
        const QStandardItemModel *model = list->model();
        seen.lastHeader = model->headerData(4, Qt::Horizontal).toString();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells.append(model->item(row, column)->text());
            seen.rows.append(cells);
        }
        resultLists.append(seen);
        list->accept();
    } else if (auto *progress = qobject_cast<QProgressDialog *>(modal)) {
        progressMaximumSeen = qMax(progressMaximumSeen, progress->maximum());
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "modalresponder.h"

#include <akloguitoolkit/cwarningdlg.h>
#include <linkmessagebox.h>
#include <warningdialog.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace VexoTest {

ModalResponder::ModalResponder()
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalResponder::poll);
    m_timer.start();
}

ModalResponder::~ModalResponder() = default;

void ModalResponder::poll()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || modal == m_handled)
        return;

    if (auto *warning = qobject_cast<VexoTool::WarningDialog *>(modal)) {
        m_handled = modal;
        m_messages.append(warning->findChild<QLabel *>(QStringLiteral("m_labelWarnText"))->text());
        warning->close();
    } else if (auto *box = qobject_cast<aKLOGUIToolkit::CWarningDlg *>(modal)) {
        m_handled = modal;
        m_messages.append(box->findChild<QLabel *>(QStringLiteral("m_labelText"))->text());
        box->accept();
    } else if (auto *link = qobject_cast<aptui::LinkMessageBox *>(modal)) {
        m_handled = modal;
        m_messages.append(link->text());
        if (auto *button = m_linkButton.isEmpty() ? nullptr : link->findChild<QPushButton *>(m_linkButton))
            button->click();
        if (!link->note().isEmpty())
            m_notes.append(link->note());
        link->accept();
    } else if (auto *files = qobject_cast<QFileDialog *>(modal)) {
        m_handled = modal;
        m_fileDialogFolders.append(files->directory().absolutePath());
        const QString answer = m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
        if (answer.isEmpty()) {
            files->reject();
        } else {
            files->selectFile(answer);
            // selectFile() leaves the name field alone while it has the focus, which the dialog may
            // already have given it on a busy machine: then the field gets the answer itself.
            if (QDir::cleanPath(files->selectedFiles().value(0))
                != QDir::cleanPath(QFileInfo(answer).absoluteFilePath())) {
                if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                    name->setText(answer);
            }
            // QFileDialog::accept() is protected; through QDialog it still runs the file dialog's own.
            static_cast<QDialog *>(files)->accept();
        }
    } else if (m_otherHandler) {
        m_handled = modal;
        m_otherHandler(modal);
    }
}

} // namespace VexoTest

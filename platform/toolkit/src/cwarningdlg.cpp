// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "akloguitoolkit/cwarningdlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace aKLOGUIToolkit {

CWarningDlg::CWarningDlg(QWidget *parent)
    : QDialog(parent)
    , m_labelText(new QLabel(this))
    , m_btnOk(new QPushButton(tr("OK"), this))
{
    setObjectName(QStringLiteral("CWarningDlg"));
    setModal(true);
    m_labelText->setObjectName(QStringLiteral("m_labelText"));
    m_labelText->setWordWrap(true);
    m_labelText->setAlignment(Qt::AlignCenter);
    m_btnOk->setObjectName(QStringLiteral("m_btnOk"));
    m_btnOk->setDefault(true);

    auto buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOk);

    auto layout = new QVBoxLayout(this);
    layout->addWidget(m_labelText, 1);
    layout->addLayout(buttons);
    setMinimumSize(300, 150);

    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
}

void CWarningDlg::SetMessage(const QString &title, const QString &text)
{
    setWindowTitle(title);
    m_labelText->setText(text);
}

int CWarningDlg::ShowMessageInfo(const QString &title, const QString &text, QWidget *parent)
{
    CWarningDlg dialog(parent);
    dialog.SetMessage(title, text);
    return dialog.exec();
}

} // namespace aKLOGUIToolkit

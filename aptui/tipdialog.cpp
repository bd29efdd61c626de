// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "tipdialog.h"

#include "ui_tipdialog.h"

#include <QWidget>

namespace VexoTool {

TipDialog::TipDialog(QWidget *parent)
    : BaseDialog(false, false, false, false, true, true, true, parent)
    , m_tipUi(std::make_unique<Ui::TipDialog>())
{
    auto *content = new QWidget(this);
    m_tipUi->setupUi(content);
    setContentWidget(content);
    setEnableDefaultConnections(true, true, true, true, true);
}

TipDialog::~TipDialog() = default;

void TipDialog::setTipText(const QString &text)
{
    m_tipUi->m_labelTip->setText(text);
}

QString TipDialog::tipText() const
{
    return m_tipUi->m_labelTip->text();
}

} // namespace VexoTool

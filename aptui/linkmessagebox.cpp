// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "linkmessagebox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace aptui {

LinkMessageBox::LinkMessageBox(const QString &title, const QString &text, QWidget *parent)
    : QDialog(parent)
    , m_labelText(new QLabel(text, this))
    , m_labelNote(new QLabel(this))
    , m_btnOk(new QPushButton(tr("OK"), this))
{
    setObjectName(QStringLiteral("LinkMessageBox"));
    setWindowTitle(title);
    setModal(true);
    for (QLabel *label : {m_labelText, m_labelNote}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        // Paths and addresses are there to be copied.
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
    m_labelText->setObjectName(QStringLiteral("m_labelText"));
    m_labelNote->setObjectName(QStringLiteral("m_labelNote"));
    m_labelNote->setStyleSheet(QStringLiteral("color:#d11f24;"));
    m_labelNote->hide();
    m_btnOk->setObjectName(QStringLiteral("m_btnOk"));
    m_btnOk->setDefault(true);
    m_btnOk->setMinimumWidth(80);

    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(m_btnOk);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    layout->addWidget(m_labelText, 1);
    layout->addWidget(m_labelNote);
    layout->addLayout(m_buttons);
    setMinimumSize(360, 160);

    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    m_btnOk->setFocus();
}

QString LinkMessageBox::text() const
{
    return m_labelText->text();
}

QPushButton *LinkMessageBox::addActionButton(const QString &text, const QString &objectName)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    button->setMinimumWidth(80);
    m_buttons->insertWidget(m_buttons->indexOf(m_btnOk), button);
    return button;
}

void LinkMessageBox::setNote(const QString &text)
{
    m_labelNote->setText(text);
    m_labelNote->setVisible(!text.isEmpty());
}

QString LinkMessageBox::note() const
{
    return m_labelNote->text();
}

} // namespace aptui

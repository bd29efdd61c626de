// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifsignindialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

// As long as the panel's ONVIF user name takes.
constexpr int kMaxUserName = 32;
constexpr int kMaxPassword = 64;

} // namespace

OnvifSignInDialog::OnvifSignInDialog(QWidget *parent)
    : aptui::BaseDialog(false, false, false, false, true, true, true, parent)
{
    setObjectName(QStringLiteral("OnvifSignInDialog"));
    //: title of the dialog asking for the user name and password of the ONVIF devices
    setTitle(tr("ONVIF Sign-In"));
    //: button that identifies the ONVIF devices with the typed user name and password
    setConfirmButtonText(tr("Sign In"));
    setCancelButtonText(tr("Cancel"));
    resize(420, 250);
    setEnableDefaultConnections(true, true, true, false, true);
    connect(this, &aptui::BaseDialog::signalConfirmButtonClicked, this, &OnvifSignInDialog::confirm);

    auto *form = new QWidget;
    form->setObjectName(QStringLiteral("OnvifSignInForm"));
    auto *layout = new QVBoxLayout(form);
    auto *hint = new QLabel(tr("The program reads the serial number, MAC address and network settings of the "
                               "ONVIF devices with this user name and password. They are kept only until the "
                               "program ends."));
    hint->setObjectName(QStringLiteral("m_labelHint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto *fields = new QFormLayout;
    m_lineEditUserName = new QLineEdit(QStringLiteral("admin"));
    m_lineEditUserName->setObjectName(QStringLiteral("m_lineEditUserName"));
    m_lineEditUserName->setMaxLength(kMaxUserName);
    m_lineEditPassword = new QLineEdit;
    m_lineEditPassword->setObjectName(QStringLiteral("m_lineEditPassword"));
    m_lineEditPassword->setEchoMode(QLineEdit::Password);
    m_lineEditPassword->setMaxLength(kMaxPassword);
    fields->addRow(tr("User name:"), m_lineEditUserName);
    fields->addRow(tr("Password:"), m_lineEditPassword);
    layout->addLayout(fields);
    layout->addStretch();
    setContentWidget(form);

    QWidget::setTabOrder(m_lineEditUserName, m_lineEditPassword);
    m_lineEditPassword->setFocus();
    connect(m_lineEditUserName, &QLineEdit::returnPressed, this, &OnvifSignInDialog::confirm);
    connect(m_lineEditPassword, &QLineEdit::returnPressed, this, &OnvifSignInDialog::confirm);
}

QString OnvifSignInDialog::userName() const
{
    return m_lineEditUserName->text().trimmed();
}

QString OnvifSignInDialog::password() const
{
    return m_lineEditPassword->text();
}

void OnvifSignInDialog::setUserName(const QString &userName)
{
    m_lineEditUserName->setText(userName);
}

void OnvifSignInDialog::confirm()
{
    if (userName().isEmpty()) {
        m_lineEditUserName->setFocus();
        return;
    }
    accept();
}

} // namespace VexoTool

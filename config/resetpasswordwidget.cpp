// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "resetpasswordwidget.h"

#include "inputlimithint.h"
#include "passwordstrength.h"

#include <Vexo.h>
#include <filepathbutton.h>
#include <folderpath.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>

namespace VexoTool {

namespace {

const QString UserName = QStringLiteral("admin");

QLabel *hintLabel(const QString &objectName, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(objectName);
    label->setFixedSize(16, 16);
    return label;
}

aptui::MultiStateLineEdit *lineEdit(const QString &objectName, QWidget *parent)
{
    auto *edit = new aptui::MultiStateLineEdit(parent);
    edit->setObjectName(objectName);
    return edit;
}

} // namespace

ResetPasswordWidget::ResetPasswordWidget(QWidget *parent)
    : BaseDialog(false, false, false, false, true, true, true, parent)
{
    setupForm();
    // Confirm only reaches the checks; they accept the dialog themselves.
    setEnableDefaultConnections(true, true, true, false, true);
    setTitle(tr("Config Reset Password"));
    setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));
    setFixedSize(450, 300);

    connect(m_lineEditNewPassword, &QLineEdit::textChanged, this, &ResetPasswordWidget::onNewPasswordTextChanged);
    connect(this, &BaseDialog::signalConfirmButtonClicked, this, &ResetPasswordWidget::onResetPassword);
    connect(m_btnFilePath, &QToolButton::clicked, this, &ResetPasswordWidget::onBtnFilepathClicked);

    for (aptui::MultiStateLineEdit *edit : {m_lineEditNewPassword, m_lineEditConfirmPassword, m_lineEditFilePath})
        edit->installEventFilter(this);
    for (aptui::MultiStateLineEdit *edit : {m_lineEditNewPassword, m_lineEditConfirmPassword})
        InputLimitHint::attach(edit, passwordLengthHintText());
    showPasswordLevel(0, m_labelLevel1, m_labelLevel2, m_labelLevel3, m_labelLevel);
    m_lineEditNewPassword->setFocus();
}

ResetPasswordWidget::~ResetPasswordWidget() = default;

void ResetPasswordWidget::setupForm()
{
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("ResetPasswordWidget_centerWidget"));

    m_labelNewPassword = new QLabel(tr("New Password:"), form);
    m_labelNewPassword->setObjectName(QStringLiteral("m_labelNewPassword"));
    m_lineEditNewPassword = lineEdit(QStringLiteral("m_lineEditNewPassword"), form);
    m_lineEditNewPassword->setEchoMode(QLineEdit::Password);
    m_lineEditNewPassword->setMaxLength(VEXO_MAX_PASSWORD_LEN);
    m_lineEditNewPassword->setContextMenuPolicy(Qt::NoContextMenu);
    m_labelHintNewPassword = hintLabel(QStringLiteral("m_labelHintNewPassword"), form);

    m_labelLevel1 = new QLabel(form);
    m_labelLevel1->setObjectName(QStringLiteral("m_labelLevel1"));
    m_labelLevel2 = new QLabel(form);
    m_labelLevel2->setObjectName(QStringLiteral("m_labelLevel2"));
    m_labelLevel3 = new QLabel(form);
    m_labelLevel3->setObjectName(QStringLiteral("m_labelLevel3"));
    m_labelLevel = new QLabel(form);
    m_labelLevel->setObjectName(QStringLiteral("m_labelLevel"));
    m_labelHintLevel = hintLabel(QStringLiteral("m_labelHintLevel"), form);

    m_labelConfirmPassword = new QLabel(tr("Confirm Password:"), form);
    m_labelConfirmPassword->setObjectName(QStringLiteral("m_labelConfirmPassword"));
    m_lineEditConfirmPassword = lineEdit(QStringLiteral("m_lineEditConfirmPassword"), form);
    m_lineEditConfirmPassword->setEchoMode(QLineEdit::Password);
    m_lineEditConfirmPassword->setMaxLength(VEXO_MAX_PASSWORD_LEN);
    m_lineEditConfirmPassword->setContextMenuPolicy(Qt::NoContextMenu);
    m_labelHintConfirmPassword = hintLabel(QStringLiteral("m_labelHintConfirmPassword"), form);

    //: Label of the folder that holds the devices' reset files.
    m_labelFilePath = new QLabel(tr("Key Folder:"), form);
    m_labelFilePath->setObjectName(QStringLiteral("m_labelFilePath"));
    m_lineEditFilePath = lineEdit(QStringLiteral("m_lineEditFilePath"), form);
    m_lineEditFilePath->setMaxLength(128);
    m_btnFilePath = new aptui::FilePathButton(form);
    m_btnFilePath->setObjectName(QStringLiteral("m_btnFilePath"));
    m_btnFilePath->setFixedSize(24, 24);
    m_btnFilePath->setCursor(Qt::PointingHandCursor);
    m_labelHintFilePath = hintLabel(QStringLiteral("m_labelHintFilePath"), form);

    auto *meter = new QHBoxLayout;
    meter->setSpacing(2);
    meter->addWidget(m_labelLevel1, 0, Qt::AlignVCenter);
    meter->addWidget(m_labelLevel2, 0, Qt::AlignVCenter);
    meter->addWidget(m_labelLevel3, 0, Qt::AlignVCenter);
    meter->addSpacing(6);
    meter->addWidget(m_labelLevel, 0, Qt::AlignVCenter);
    meter->addStretch(1);

    auto *folder = new QHBoxLayout;
    folder->setSpacing(4);
    folder->addWidget(m_lineEditFilePath, 1);
    folder->addWidget(m_btnFilePath);

    auto *grid = new QGridLayout(form);
    grid->setContentsMargins(24, 16, 24, 8);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->addWidget(m_labelNewPassword, 0, 0, Qt::AlignRight);
    grid->addWidget(m_lineEditNewPassword, 0, 1);
    grid->addWidget(m_labelHintNewPassword, 0, 2);
    grid->addLayout(meter, 1, 1);
    grid->addWidget(m_labelHintLevel, 1, 2);
    grid->addWidget(m_labelConfirmPassword, 2, 0, Qt::AlignRight);
    grid->addWidget(m_lineEditConfirmPassword, 2, 1);
    grid->addWidget(m_labelHintConfirmPassword, 2, 2);
    grid->addWidget(m_labelFilePath, 3, 0, Qt::AlignRight);
    grid->addLayout(folder, 3, 1);
    grid->addWidget(m_labelHintFilePath, 3, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    setContentWidget(form);
}

QString ResetPasswordWidget::newPassword() const
{
    return m_lineEditConfirmPassword->text();
}

QString ResetPasswordWidget::filePath() const
{
    return m_lineEditFilePath->text();
}

void ResetPasswordWidget::onNewPasswordTextChanged(QString strNewPassword)
{
    showPasswordLevel(passwordLevel(UserName, strNewPassword), m_labelLevel1, m_labelLevel2, m_labelLevel3,
                      m_labelLevel);
}

void ResetPasswordWidget::onResetPassword()
{
    const QPoint position = pos() + QPoint(width() / 2 - 155, height() / 2 - 60);
    if (m_lineEditFilePath->text().isEmpty()) {
        WarningDialog::showWarning(position, WarningDialog::Error, tr("Please input the secret key."), this,
                                   m_lineEditFilePath, m_labelHintFilePath);
        return;
    }
    if (m_lineEditNewPassword->text().isEmpty()) {
        m_lineEditNewPassword->setFocus();
        WarningDialog::showWarning(position, WarningDialog::Error, tr("The password can not be empty."), this,
                                   m_lineEditNewPassword, m_labelHintNewPassword);
        return;
    }
    if (m_lineEditConfirmPassword->text() != m_lineEditNewPassword->text()) {
        WarningDialog::showWarning(position, WarningDialog::Error, tr("The password you typed do not match."), this,
                                   m_lineEditNewPassword, m_labelHintNewPassword);
        return;
    }
    if (m_labelLevel->text().isEmpty()) {
        WarningDialog::showLargeWarning(
            position, WarningDialog::Error,
            tr("Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special "
               "character for your password with at least two kinds of them contained."),
            this, m_lineEditNewPassword, m_labelHintNewPassword);
        return;
    }
    accept();
}

void ResetPasswordWidget::onBtnFilepathClicked()
{
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), QString(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_lineEditFilePath->setText(aptui::folderFieldText(folder));
}

bool ResetPasswordWidget::eventFilter(QObject *target, QEvent *qevent)
{
    if (qevent->type() == QEvent::MouseButtonPress) {
        if (target == m_lineEditNewPassword)
            m_lineEditNewPassword->clearMark(m_labelHintNewPassword);
        else if (target == m_lineEditConfirmPassword)
            m_lineEditConfirmPassword->clearMark(m_labelHintConfirmPassword);
        else if (target == m_lineEditFilePath)
            m_lineEditFilePath->clearMark(m_labelHintFilePath);
    } else if ((target == m_lineEditNewPassword || target == m_lineEditConfirmPassword)
               && aptui::MultiStateLineEdit::isClipboardShortcut(qevent)) {
        return true;
    }
    return BaseDialog::eventFilter(target, qevent);
}

} // namespace VexoTool

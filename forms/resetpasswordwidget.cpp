// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "resetpasswordwidget.h"

#include "newpasswordform.h"

#include <filepathbutton.h>
#include <folderpath.h>
#include <multistatelineedit.h>
#include <warningdialog.h>

#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
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

    connect(this, &BaseDialog::signalConfirmButtonClicked, this, &ResetPasswordWidget::onResetPassword);
    connect(m_btnFilePath, &QToolButton::clicked, this, &ResetPasswordWidget::onBtnFilepathClicked);

    m_lineEditFilePath->installEventFilter(this);
    m_newPassword->passwordField()->setFocus();
}

ResetPasswordWidget::~ResetPasswordWidget() = default;

void ResetPasswordWidget::setupForm()
{
    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("ResetPasswordWidget_centerWidget"));

    m_newPassword = new NewPasswordForm(UserName, tr("New Password:"), tr("Confirm Password:"), form);

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

    auto *folder = new QHBoxLayout;
    folder->setSpacing(4);
    folder->addWidget(m_lineEditFilePath, 1);
    folder->addWidget(m_btnFilePath);

    // The folder row goes into the password rows' grid, to line up with them.
    m_newPassword->setLabelAlignment(Qt::AlignRight);
    QGridLayout *grid = m_newPassword->grid();
    const int folderRow = grid->rowCount();
    grid->addWidget(m_labelFilePath, folderRow, 0, Qt::AlignRight);
    grid->addLayout(folder, folderRow, 1);
    grid->addWidget(m_labelHintFilePath, folderRow, 2);
    grid->setRowStretch(folderRow + 1, 1);
    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(24, 16, 24, 8);
    layout->addWidget(m_newPassword);
    setContentWidget(form);
}

QString ResetPasswordWidget::newPassword() const
{
    return m_newPassword->confirmation();
}

QString ResetPasswordWidget::filePath() const
{
    return m_lineEditFilePath->text();
}

void ResetPasswordWidget::onNewPasswordTextChanged(QString strNewPassword)
{
    m_newPassword->showLevel(strNewPassword);
}

void ResetPasswordWidget::onResetPassword()
{
    const QPoint position = pos() + QPoint(width() / 2 - 155, height() / 2 - 60);
    if (m_lineEditFilePath->text().isEmpty()) {
        WarningDialog::showWarning(position, WarningDialog::Error, tr("Please input the secret key."), this,
                                   m_lineEditFilePath, m_labelHintFilePath);
        return;
    }
    aptui::MultiStateLineEdit *field = m_newPassword->passwordField();
    QLabel *hint = m_newPassword->passwordHint();
    switch (m_newPassword->problem()) {
    case NewPasswordForm::Problem::Empty:
        field->setFocus();
        WarningDialog::showWarning(position, WarningDialog::Error, tr("The password can not be empty."), this, field,
                                   hint);
        return;
    case NewPasswordForm::Problem::Mismatch:
        WarningDialog::showWarning(position, WarningDialog::Error, tr("The password you typed do not match."), this,
                                   field, hint);
        return;
    case NewPasswordForm::Problem::Weak:
        WarningDialog::showLargeWarning(
            position, WarningDialog::Error,
            tr("Valid password range [8-16]. You can use a combination of numbers, lowercase, uppercase and special "
               "character for your password with at least two kinds of them contained."),
            this, field, hint);
        return;
    case NewPasswordForm::Problem::None:
        break;
    }
    accept();
}

void ResetPasswordWidget::onBtnFilepathClicked()
{
    const QString folder
        = QFileDialog::getExistingDirectory(this, QString(), aptui::dialogStartFolder(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_lineEditFilePath->setText(aptui::folderFieldText(folder));
}

bool ResetPasswordWidget::eventFilter(QObject *target, QEvent *qevent)
{
    if (qevent->type() == QEvent::MouseButtonPress && target == m_lineEditFilePath)
        m_lineEditFilePath->clearMark(m_labelHintFilePath);
    return BaseDialog::eventFilter(target, qevent);
}

} // namespace VexoTool

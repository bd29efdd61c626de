// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "newpasswordform.h"

#include "inputlimithint.h"
#include "passwordstrength.h"

#include <Vexo.h>
#include <multistatelineedit.h>

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>

namespace VexoTool {

namespace {

QLabel *namedLabel(const QString &objectName, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

QLabel *hintLabel(const QString &objectName, QWidget *parent)
{
    QLabel *label = namedLabel(objectName, QString(), parent);
    label->setFixedSize(16, 16);
    return label;
}

// Room for @p dots dots of the password; a longer password scrolls.
void setMinimumDots(QLineEdit *field, int dots)
{
    field->ensurePolished();
    const QChar dot(field->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, field));
    field->setMinimumWidth(field->fontMetrics().horizontalAdvance(QString(dots, dot)) + 16);
}

aptui::MultiStateLineEdit *passwordEdit(const QString &objectName, QWidget *parent)
{
    auto *field = new aptui::MultiStateLineEdit(parent);
    field->setObjectName(objectName);
    field->setEchoMode(QLineEdit::Password);
    field->keepOffClipboard();
    field->setMaxLength(VEXO_MAX_PASSWORD_LEN);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    setMinimumDots(field, VEXO_MAX_PASSWORD_LEN);
    return field;
}

} // namespace

NewPasswordForm::NewPasswordForm(const QString &userName, const QString &newLabel, const QString &confirmLabel,
                                 QWidget *parent, MeterPlacement placement)
    : QWidget(parent)
    , m_userName(userName)
{
    m_labelNewPassword = namedLabel(QStringLiteral("m_labelNewPassword"), newLabel, this);
    m_lineEditNewPassword = passwordEdit(QStringLiteral("m_lineEditNewPassword"), this);
    m_labelHintNewPassword = hintLabel(QStringLiteral("m_labelHintNewPassword"), this);
    m_labelLevel1 = namedLabel(QStringLiteral("m_labelLevel1"), QString(), this);
    m_labelLevel2 = namedLabel(QStringLiteral("m_labelLevel2"), QString(), this);
    m_labelLevel3 = namedLabel(QStringLiteral("m_labelLevel3"), QString(), this);
    m_labelLevel = namedLabel(QStringLiteral("m_labelLevel"), QString(), this);
    m_labelHintLevel = hintLabel(QStringLiteral("m_labelHintLevel"), this);
    m_labelConfirmPassword = namedLabel(QStringLiteral("m_labelConfirmPassword"), confirmLabel, this);
    m_lineEditConfirmPassword = passwordEdit(QStringLiteral("m_lineEditConfirmPassword"), this);
    m_labelHintConfirmPassword = hintLabel(QStringLiteral("m_labelHintConfirmPassword"), this);

    auto *meter = new QHBoxLayout;
    meter->setSpacing(2);
    meter->addWidget(m_labelLevel1, 0, Qt::AlignVCenter);
    meter->addWidget(m_labelLevel2, 0, Qt::AlignVCenter);
    meter->addWidget(m_labelLevel3, 0, Qt::AlignVCenter);
    meter->addSpacing(6);
    meter->addWidget(m_labelLevel, 0, Qt::AlignVCenter);

    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->setHorizontalSpacing(8);
    m_grid->setVerticalSpacing(10);
    m_grid->addWidget(m_labelNewPassword, 0, 0);
    m_grid->addWidget(m_lineEditNewPassword, 0, 1);
    m_grid->addWidget(m_labelHintNewPassword, 0, 2);
    if (placement == MeterPlacement::Below) {
        meter->addStretch(1);
        m_grid->addLayout(meter, 1, 1);
        m_grid->addWidget(m_labelHintLevel, 1, 2);
    } else {
        meter->addWidget(m_labelHintLevel, 0, Qt::AlignVCenter);
        meter->addStretch(1);
        m_grid->addLayout(meter, 0, 3);
    }
    const int confirmRow = placement == MeterPlacement::Below ? 2 : 1;
    m_grid->addWidget(m_labelConfirmPassword, confirmRow, 0);
    m_grid->addWidget(m_lineEditConfirmPassword, confirmRow, 1);
    m_grid->addWidget(m_labelHintConfirmPassword, confirmRow, 2);
    m_grid->setColumnStretch(1, 1);
    setTabOrder(m_lineEditNewPassword, m_lineEditConfirmPassword);

    for (aptui::MultiStateLineEdit *field : {m_lineEditNewPassword, m_lineEditConfirmPassword}) {
        // Once the field sits in the grid, so that the hint goes under it.
        InputLimitHint::attach(field, passwordLengthHintText());
        field->installEventFilter(this);
        connect(field, &QLineEdit::returnPressed, this, &NewPasswordForm::returnPressed);
    }
    connect(m_lineEditNewPassword, &QLineEdit::textChanged, this, &NewPasswordForm::showLevel);
    showPasswordLevel(0, m_labelLevel1, m_labelLevel2, m_labelLevel3, m_labelLevel);
}

NewPasswordForm::~NewPasswordForm() = default;

QString NewPasswordForm::password() const
{
    return m_lineEditNewPassword->text();
}

QString NewPasswordForm::confirmation() const
{
    return m_lineEditConfirmPassword->text();
}

NewPasswordForm::Problem NewPasswordForm::problem() const
{
    if (password().isEmpty())
        return Problem::Empty;
    if (confirmation() != password())
        return Problem::Mismatch;
    if (passwordLevel(m_userName, password()) == 0)
        return Problem::Weak;
    return Problem::None;
}

void NewPasswordForm::clear()
{
    m_lineEditNewPassword->clear();
    m_lineEditConfirmPassword->clear();
    showPasswordLevel(0, m_labelLevel1, m_labelLevel2, m_labelLevel3, m_labelLevel);
    clearMarks();
}

void NewPasswordForm::clearMarks()
{
    m_lineEditNewPassword->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
    m_lineEditConfirmPassword->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
    m_labelHintNewPassword->clear();
    m_labelHintConfirmPassword->clear();
}

void NewPasswordForm::setLabelColumnWidth(int width)
{
    m_grid->setColumnMinimumWidth(0, width);
}

void NewPasswordForm::setMinimumShownDots(int dots)
{
    setMinimumDots(m_lineEditNewPassword, dots);
    setMinimumDots(m_lineEditConfirmPassword, dots);
}

void NewPasswordForm::setLabelAlignment(Qt::Alignment alignment)
{
    m_grid->setAlignment(m_labelNewPassword, alignment);
    m_grid->setAlignment(m_labelConfirmPassword, alignment);
}

void NewPasswordForm::setUserName(const QString &userName)
{
    m_userName = userName;
    showLevel(password());
}

void NewPasswordForm::showLevel(const QString &password)
{
    showPasswordLevel(passwordLevel(m_userName, password), m_labelLevel1, m_labelLevel2, m_labelLevel3, m_labelLevel);
}

bool NewPasswordForm::eventFilter(QObject *target, QEvent *event)
{
    QLabel *hint = target == m_lineEditNewPassword       ? m_labelHintNewPassword
                   : target == m_lineEditConfirmPassword ? m_labelHintConfirmPassword
                                                         : nullptr;
    if (hint && event->type() == QEvent::MouseButtonPress)
        static_cast<aptui::MultiStateLineEdit *>(target)->clearMark(hint);
    return QWidget::eventFilter(target, event);
}

} // namespace VexoTool

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "onvifpassworddialog.h"

#include "inputlimithint.h"
#include "journalrecords.h"
#include "newpasswordform.h"

#include <Vexo.h>
#include <multistatelineedit.h>
#include <tipdialog.h>
#include <warningdialog.h>

#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace VexoTool {

namespace {

// The longest user name the panel takes, and the width of a field's mark.
constexpr int UserNameLength = 32;
constexpr int HintWidth = 16;

aptui::MultiStateLineEdit *lineEdit(const char *name, int maxLength, QWidget *parent)
{
    auto *field = new aptui::MultiStateLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setMaxLength(maxLength);
    field->setContextMenuPolicy(Qt::NoContextMenu);
    return field;
}

QLabel *hintLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFixedWidth(HintWidth);
    return label;
}

} // namespace

OnvifPasswordDialog::OnvifPasswordDialog(std::shared_ptr<OnvifChanger> changer, const OnvifTarget &target,
                                         QWidget *parent)
    : aptui::BaseDialog(false, false, false, false, true, true, true, parent)
    , m_changer(std::move(changer))
    , m_target(target)
{
    setObjectName(QStringLiteral("OnvifPasswordDialog"));
    const QString userName = target.userName.isEmpty() ? QStringLiteral("admin") : target.userName;

    auto *form = new QWidget(this);
    form->setObjectName(QStringLiteral("m_formOnvifPassword"));
    auto *labelDevice
        = new QLabel(tr("Device: %1").arg(target.address.isEmpty() ? target.serialNumber : target.address), form);
    labelDevice->setObjectName(QStringLiteral("m_labelDevice"));
    auto *labelUserName = new QLabel(tr("User Name:"), form);
    m_lineEditUserName = lineEdit("m_lineEditUserName", UserNameLength, form);
    m_lineEditUserName->setText(userName);
    m_labelHintUserName = hintLabel("m_labelHintUserName", form);
    auto *labelCurrent = new QLabel(tr("Current Password:"), form);
    m_lineEditCurrentPassword = lineEdit("m_lineEditCurrentPassword", VEXO_MAX_PASSWORD_LEN, form);
    m_lineEditCurrentPassword->setEchoMode(QLineEdit::Password);
    m_lineEditCurrentPassword->keepOffClipboard();
    m_lineEditCurrentPassword->setContextMenuPolicy(Qt::NoContextMenu);
    m_labelHintCurrentPassword = hintLabel("m_labelHintCurrentPassword", form);
    m_newPassword = new NewPasswordForm(userName, tr("New Password:"), tr("Confirm Password:"), form);
    m_progressBusy = new QProgressBar(form);
    m_progressBusy->setObjectName(QStringLiteral("m_progressBusy"));
    m_progressBusy->setRange(0, 0);
    m_progressBusy->setTextVisible(false);
    m_progressBusy->setMaximumHeight(8);
    m_progressBusy->hide();

    // The sign-in rows line up with the password rows of the form below them.
    int labelWidth = 0;
    for (QLabel *label :
         {labelUserName, labelCurrent, m_newPassword->findChild<QLabel *>(QStringLiteral("m_labelNewPassword")),
          m_newPassword->findChild<QLabel *>(QStringLiteral("m_labelConfirmPassword"))}) {
        label->ensurePolished();
        labelWidth = qMax(labelWidth, label->sizeHint().width());
    }
    m_newPassword->setLabelColumnWidth(labelWidth);
    auto *signIn = new QGridLayout;
    signIn->setHorizontalSpacing(8);
    signIn->setVerticalSpacing(10);
    signIn->setColumnMinimumWidth(0, labelWidth);
    signIn->addWidget(labelUserName, 0, 0);
    signIn->addWidget(m_lineEditUserName, 0, 1);
    signIn->addWidget(m_labelHintUserName, 0, 2);
    signIn->addWidget(labelCurrent, 1, 0);
    signIn->addWidget(m_lineEditCurrentPassword, 1, 1);
    signIn->addWidget(m_labelHintCurrentPassword, 1, 2);
    signIn->setColumnStretch(1, 1);

    auto *layout = new QVBoxLayout(form);
    layout->setContentsMargins(20, 10, 20, 6);
    layout->setSpacing(8);
    layout->addWidget(labelDevice);
    layout->addLayout(signIn);
    layout->addWidget(m_newPassword);
    layout->addStretch(1);
    layout->addWidget(m_progressBusy);
    setContentWidget(form);
    // A refused further character is said under the field, as in the password rows.
    InputLimitHint::attach(m_lineEditUserName, tr("A user name has at most %1 characters.").arg(UserNameLength));
    InputLimitHint::attach(m_lineEditCurrentPassword, passwordLengthHintText());

    //: title of the dialog that changes an ONVIF device user's password
    setTitle(tr("Change Password"));
    //: button that sends the new password to the device
    setConfirmButtonText(tr("Change"));
    setWindowIcon(QIcon(QStringLiteral(":/VEXOTool/Logo/logo_large.png")));
    ensurePolished();
    const QSize hint = sizeHint();
    setFixedSize(qMax(460, hint.width()), qMax(330, hint.height()));
    // Confirm checks and sends; only a successful change closes the dialog.
    setEnableDefaultConnections(true, true, true, false, true);
    connect(this, &BaseDialog::signalConfirmButtonClicked, this, &OnvifPasswordDialog::onConfirm, Qt::DirectConnection);
    connect(m_newPassword, &NewPasswordForm::returnPressed, this, &OnvifPasswordDialog::onConfirm);
    for (aptui::MultiStateLineEdit *field : {m_lineEditUserName, m_lineEditCurrentPassword}) {
        connect(field, &QLineEdit::textEdited, this, [this, field] {
            field->setLineEditState(aptui::MultiStateLineEdit::NORMAL);
            (field == m_lineEditUserName ? m_labelHintUserName : m_labelHintCurrentPassword)->clear();
        });
    }
    connect(m_lineEditUserName, &QLineEdit::textChanged, this,
            [this] { m_newPassword->setUserName(this->userName()); });
    connect(m_lineEditUserName, &QLineEdit::returnPressed, m_lineEditCurrentPassword, qOverload<>(&QWidget::setFocus));
    connect(m_lineEditCurrentPassword, &QLineEdit::returnPressed, m_newPassword->passwordField(),
            qOverload<>(&QWidget::setFocus));
    m_lineEditCurrentPassword->setFocus();
}

OnvifPasswordDialog::~OnvifPasswordDialog()
{
    if (m_worker)
        m_worker->wait();
}

void OnvifPasswordDialog::reject()
{
    if (!m_worker)
        BaseDialog::reject();
}

QString OnvifPasswordDialog::userName() const
{
    return m_lineEditUserName->text().trimmed();
}

QString OnvifPasswordDialog::newPassword() const
{
    return m_newPassword->password();
}

void OnvifPasswordDialog::showMessage(int kind, const QString &text, aptui::MultiStateLineEdit *field, QLabel *hint)
{
    const QPoint position = pos() + QPoint(width() / 2 - 155, height() / 2 - 60);
    if (text.size() > 60)
        WarningDialog::showLargeWarning(position, kind, text, this, field, hint);
    else
        WarningDialog::showWarning(position, kind, text, this, field, hint);
}

void OnvifPasswordDialog::onConfirm()
{
    if (m_worker)
        return;
    m_newPassword->clearMarks();
    if (userName().isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please enter the user name."), m_lineEditUserName, m_labelHintUserName);
        return;
    }
    if (m_lineEditCurrentPassword->text().isEmpty()) {
        showMessage(WarningDialog::Error, tr("Please enter the current password."), m_lineEditCurrentPassword,
                    m_labelHintCurrentPassword);
        return;
    }
    aptui::MultiStateLineEdit *passwordField = m_newPassword->passwordField();
    QLabel *passwordHint = m_newPassword->passwordHint();
    switch (m_newPassword->problem()) {
    case NewPasswordForm::Problem::Empty:
        passwordField->setFocus();
        showMessage(WarningDialog::Error, tr("The password cannot be empty."), passwordField, passwordHint);
        return;
    case NewPasswordForm::Problem::Mismatch:
        showMessage(WarningDialog::Error, tr("The two passwords do not match."), passwordField, passwordHint);
        return;
    case NewPasswordForm::Problem::Weak:
        showMessage(
            WarningDialog::Error,
            tr("Valid passwords have 8 to 16 characters and mix at least two of these kinds: digits, lower-case "
               "letters, upper-case letters and special characters."),
            passwordField, passwordHint);
        return;
    case NewPasswordForm::Problem::None:
        break;
    }
    if (!m_changer) {
        showMessage(WarningDialog::Error, tr("Not changed: this program cannot change ONVIF devices yet."));
        return;
    }

    OnvifTarget target = m_target;
    target.userName = userName();
    target.password = m_lineEditCurrentPassword->text();
    const QString password = m_newPassword->password();
    auto outcome = std::make_shared<OnvifOutcome>();
    setBusy(true);
    m_worker.reset(QThread::create(
        [outcome, changer = m_changer, target, password] { *outcome = changer->setPassword(target, password); }));
    connect(m_worker.get(), &QThread::finished, this, [this, outcome] {
        QThread *worker = m_worker.release();
        worker->wait();
        worker->deleteLater();
        setBusy(false);
        onFinished(*outcome);
    });
    m_worker->start();
}

void OnvifPasswordDialog::setClearTextQuestion(std::function<bool(const QString &)> question)
{
    m_clearTextQuestion = std::move(question);
}

bool OnvifPasswordDialog::askClearText()
{
    const QString device = m_target.address.isEmpty()
                               ? m_target.serialNumber
                               : QStringLiteral("%1 (%2)").arg(m_target.serialNumber, m_target.address);
    if (m_clearTextQuestion)
        return m_clearTextQuestion(device);
    TipDialog question(this);
    question.setTitle(tr("Password in clear text"));
    //: %1 names the device: serial number or endpoint, and its address
    question.setTipText(tr("The ONVIF device %1 offers no HTTPS. The new password would cross the network readable "
                           "by anyone on it. Send it anyway?")
                            .arg(device));
    //: button: send the new password to a device without HTTPS
    question.setConfirmButtonText(tr("Send"));
    //: button: do not send the new password
    question.setCancelButtonText(tr("No"));
    // No is the answer unless the user chooses otherwise: Enter keeps the password here.
    if (auto *yes = question.findChild<QPushButton *>(QStringLiteral("btnConfirm"))) {
        yes->setAutoDefault(false);
        yes->setDefault(false);
    }
    if (auto *no = question.findChild<QPushButton *>(QStringLiteral("btnCancel"))) {
        no->setDefault(true);
        no->setFocus();
    }
    return question.exec() == QDialog::Accepted;
}

void OnvifPasswordDialog::setJournal(Journal *journal, const VEXO_DEVICE_INFO &device)
{
    m_journal = journal;
    m_journalDevice = device;
}

void OnvifPasswordDialog::onFinished(const OnvifOutcome &outcome)
{
    // A device without HTTPS got nothing: it gets the password only after a Yes.
    if (!outcome.ok && outcome.failure.kind == OnvifFailureKind::NotEncrypted && !m_target.allowClearTextPassword) {
        if (!askClearText()) {
            showMessage(WarningDialog::Error, OnvifFaultText::text(outcome.failure));
            return;
        }
        m_target.allowClearTextPassword = true;
        onConfirm();
        return;
    }
    writeJournalEntry(m_journal, JournalFlow::OnvifPasswordChange, m_journalDevice,
                      withPasswordSet(journalValuesOf(m_journalDevice)), outcome.ok,
                      outcome.ok ? QString() : OnvifFaultText::text(outcome.failure));
    if (outcome.ok) {
        showMessage(WarningDialog::Success, tr("The password was changed."));
        accept();
        return;
    }
    // What was typed stays, so that the user can correct it and try again.
    showMessage(WarningDialog::Error,
                tr("The password was not changed: %1").arg(OnvifFaultText::text(outcome.failure)));
}

void OnvifPasswordDialog::setBusy(bool busy)
{
    m_progressBusy->setVisible(busy);
    for (const char *name : {"btnConfirm", "btnCancel"}) {
        if (auto *button = findChild<QPushButton *>(QLatin1String(name)))
            button->setEnabled(!busy);
    }
    for (QWidget *input :
         std::initializer_list<QWidget *>{m_lineEditUserName, m_lineEditCurrentPassword, m_newPassword->passwordField(),
                                          m_newPassword->confirmationField()})
        input->setEnabled(!busy);
}

} // namespace VexoTool

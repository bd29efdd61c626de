// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "inputlimithint.h"

#include <Vexo.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QValidator>
#include <QVBoxLayout>

namespace VexoTool {

InputLimitHint::InputLimitHint(QLineEdit *field, const QString &text)
    : QObject(field)
    , m_field(field)
{
    setObjectName(QStringLiteral("inputLimitHint"));
    QWidget *parent = field->parentWidget();
    auto *box = new QWidget(parent);
    box->setObjectName(field->objectName() + QLatin1String("Box"));
    m_label = new QLabel(text, box);
    m_label->setObjectName(field->objectName() + QLatin1String("LimitHint"));
    m_label->setWordWrap(true);
    m_label->hide();
    QLayoutItem *replaced = parent && parent->layout() ? parent->layout()->replaceWidget(field, box) : nullptr;
    if (!replaced)
        qWarning("[InputLimitHint]%s is in no layout yet: its hint would float", qPrintable(field->objectName()));
    delete replaced;
    auto *layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(field);
    layout->addWidget(m_label);
    field->installEventFilter(this);
    connect(field, &QLineEdit::textChanged, m_label, &QLabel::hide);
}

InputLimitHint *InputLimitHint::attach(QLineEdit *field, const QString &text)
{
    return new InputLimitHint(field, text);
}

InputLimitHint *InputLimitHint::of(const QLineEdit *field)
{
    return field->findChild<InputLimitHint *>(QStringLiteral("inputLimitHint"), Qt::FindDirectChildrenOnly);
}

bool InputLimitHint::wouldRefuse(const QString &typed) const
{
    QString text = m_field->text();
    int cursor = m_field->cursorPosition();
    if (m_field->hasSelectedText()) {
        cursor = m_field->selectionStart();
        text.remove(cursor, m_field->selectedText().size());
    }
    text.insert(cursor, typed);
    if (text.size() > m_field->maxLength())
        return true;
    if (const QValidator *validator = m_field->validator()) {
        int position = cursor + int(typed.size());
        return validator->validate(text, position) == QValidator::Invalid;
    }
    return false;
}

bool InputLimitHint::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_field && event->type() == QEvent::KeyPress && !m_field->isReadOnly()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString typed = key->text();
        const bool printable = !typed.isEmpty() && typed.at(0).isPrint()
                               && !(key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier));
        if (printable && wouldRefuse(typed))
            m_label->show();
    }
    return QObject::eventFilter(watched, event);
}

QString passwordLengthHintText()
{
    //: Shown under a password field when a further character is refused
    return QCoreApplication::translate("VexoTool::InputLimitHint", "A password has at most %1 characters.")
        .arg(VEXO_MAX_PASSWORD_LEN);
}

} // namespace VexoTool

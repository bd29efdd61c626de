// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "multistatelineedit.h"

#include <QKeyEvent>
#include <QLabel>
#include <QStyle>

namespace aptui {

MultiStateLineEdit::MultiStateLineEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_acceptedTexts{{QStringLiteral("ERROR"), ERROR},   {QStringLiteral("1"), ERROR},
                      {QStringLiteral("TIP"), TIP},       {QStringLiteral("2"), TIP},
                      {QStringLiteral("NORMAL"), NORMAL}, {QStringLiteral("3"), NORMAL}}
{
    qRegisterMetaType<State>("aptui::MultiStateLineEdit::State");
}

QString MultiStateLineEdit::stateText(State state)
{
    switch (state) {
    case TIP:
        return QStringLiteral("Tip");
    case NORMAL:
        return QStringLiteral("Normal");
    default:
        return QStringLiteral("Error");
    }
}

QString MultiStateLineEdit::state() const
{
    return stateText(m_state);
}

void MultiStateLineEdit::setState(const QString &state)
{
    m_state = m_acceptedTexts.value(state.toUpper(), ERROR);
    emit stateChanged(stateText(m_state));
}

void MultiStateLineEdit::setLineEditState(State state)
{
    setState(stateText(state));
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void MultiStateLineEdit::clearMark(QLabel *hintLabel)
{
    if (hintLabel)
        hintLabel->clear();
    setLineEditState(NORMAL);
}

bool MultiStateLineEdit::event(QEvent *event)
{
    if (m_keptOffClipboard && isClipboardShortcut(event))
        return true; // passwords are typed, never carried through the clipboard
    return QLineEdit::event(event);
}

bool MultiStateLineEdit::isClipboardShortcut(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste);
}

} // namespace aptui

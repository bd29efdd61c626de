// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#include "pinbutton.h"

namespace aptui {

PinButton::PinButton(QWidget *parent)
    : QPushButton(parent)
{
    connect(this, &QPushButton::clicked, this, &PinButton::buddyState);
    connect(this, &QPushButton::clicked, this, &PinButton::pinButtonClicked);
    setStyleSheet(spreadStyleSheet());
    setFixedSize(14, 69);
    updateToolTip();
}

QString PinButton::spreadStyleSheet()
{
    return QStringLiteral("aptui--PinButton{     border-image:url(:/aptui/complex/Images/System/Complex/left.png);}"
                          "aptui--PinButton:pressed{     "
                          "border-image:url(:/aptui/complex/Images/System/Complex/leftSel.png);}");
}

QString PinButton::foldedStyleSheet()
{
    return QStringLiteral("aptui--PinButton{     border-image:url(:/aptui/complex/Images/System/Complex/right.png);}"
                          "aptui--PinButton:pressed{     "
                          "border-image:url(:/aptui/complex/Images/System/Complex/RightSel.png);}");
}

void PinButton::setBuddy(QWidget *buddy)
{
    m_buddy = buddy;
    updateToolTip();
}

void PinButton::setShortcutHint(const QKeySequence &key)
{
    m_shortcutHint = key;
    updateToolTip();
}

void PinButton::updateToolTip()
{
    const bool folded = m_buddy && m_buddy->isHidden();
    QString tip;
    if (m_shortcutHint.isEmpty()) {
        tip = folded ? tr("Show the panel") : tr("Hide the panel");
    } else {
        const QString key = m_shortcutHint.toString(QKeySequence::NativeText);
        //: %1 is the key that does the same, such as Ctrl+P
        tip = folded ? tr("Show the panel (%1)").arg(key)
                     //: %1 is the key that does the same, such as Ctrl+P
                     : tr("Hide the panel (%1)").arg(key);
    }
    setToolTip(tip);
    setAccessibleName(tip);
}

void PinButton::buddyState()
{
    if (!m_buddy)
        return;
    // isHidden(), not isVisible(): the buddy's own state counts even while the window is not shown.
    if (!m_buddy->isHidden()) {
        m_buddy->hide();
        setStyleSheet(foldedStyleSheet());
    } else {
        m_buddy->show();
        setStyleSheet(spreadStyleSheet());
    }
    updateToolTip();
}

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QPushButton>

namespace aptui {

/**
 * @brief The narrow bar button that folds and unfolds a side panel, its buddy.
 *
 * A click first toggles the buddy's visibility (and the arrow the bar shows), then
 * emits pinButtonClicked().
 */
class PinButton : public QPushButton
{
    Q_OBJECT

public:
    explicit PinButton(QWidget *parent = nullptr);

    /** @brief The panel this button folds; none at first. */
    void setBuddy(QWidget *buddy);
    QWidget *buddy() const { return m_buddy; }

    /** @brief The key that folds and unfolds the buddy as well, named in the tool tip; none at first. */
    void setShortcutHint(const QKeySequence &key);

    /** @brief Left-pointing arrow: the buddy is shown. */
    static QString spreadStyleSheet();
    /** @brief Right-pointing arrow: the buddy is hidden. */
    static QString foldedStyleSheet();

signals:
    void pinButtonClicked();

public slots:
    /** @brief Hides a visible buddy and shows a hidden one; nothing without a buddy. */
    void buddyState();

private:
    /** @brief The tip says what a click does next: hide the panel or show it again. */
    void updateToolTip();

    QPointer<QWidget> m_buddy;
    QKeySequence m_shortcutHint;
};

} // namespace aptui

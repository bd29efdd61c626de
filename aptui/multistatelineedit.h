// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QHash>
#include <QLineEdit>
#include <QString>

class QEvent;
class QLabel;

namespace aptui {

/**
 * @brief A line edit with a visual state (error, tip or normal) that style sheets select
 *        through the "state" property, e.g. aptui--MultiStateLineEdit[state="Error"].
 */
class MultiStateLineEdit : public QLineEdit
{
    Q_OBJECT
    Q_PROPERTY(QString state READ state WRITE setState NOTIFY stateChanged)

public:
    enum State { ERROR = 1, TIP = 2, NORMAL = 3 };
    Q_ENUM(State)

    /** @brief A new line edit is NORMAL. */
    explicit MultiStateLineEdit(QWidget *parent = nullptr);

    /** @brief "Error", "Tip" or "Normal". */
    QString state() const;

    /**
     * @brief Sets the state from a text, ignoring case: "ERROR"/"1", "TIP"/"2",
     *        "NORMAL"/"3"; any other text means ERROR. Always emits stateChanged().
     */
    void setState(const QString &state);

    /** @brief The current state. */
    State lineEditState() const { return m_state; }

    /** @brief The property text of \a state; anything but TIP and NORMAL reads "Error". */
    static QString stateText(State state);

    /** @brief What a click into a marked field does: back to NORMAL, \a hintLabel (if any) emptied. */
    void clearMark(QLabel *hintLabel);

    /**
     * @brief Whether \a event is a key press or shortcut override of the standard Cut, Copy or
     *        Paste shortcut; password fields swallow these so passwords never pass the clipboard.
     */
    static bool isClipboardShortcut(const QEvent *event);

    /** @brief Swallows the Cut, Copy and Paste shortcuts from now on, as a password field does. */
    void keepOffClipboard() { m_keptOffClipboard = true; }

signals:
    void stateChanged(QString _state);

public slots:
    /** @brief Sets \a state and polishes the line edit again so style sheet rules follow at once. */
    void setLineEditState(aptui::MultiStateLineEdit::State state);

protected:
    bool event(QEvent *event) override;

private:
    State m_state = NORMAL;
    bool m_keptOffClipboard = false;
    QHash<QString, State> m_acceptedTexts;
};

} // namespace aptui

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QObject>

class QLabel;
class QLineEdit;

namespace VexoTool {

/**
 * @brief Says so under a line edit when it refuses a keystroke, instead of dropping it silently.
 *
 * A typed character that the field's length limit or validator would refuse shows the hint
 * text in a small label right under the field; the next change of the text hides it again.
 * attach() moves the field, in whatever layout holds it, into a box with the label under it.
 */
class InputLimitHint : public QObject
{
    Q_OBJECT

public:
    /** @brief Watches @p field (which owns this object) and says @p text when a keystroke is refused. */
    static InputLimitHint *attach(QLineEdit *field, const QString &text);

    /** @brief The hint of @p field, or null when it has none. */
    static InputLimitHint *of(const QLineEdit *field);

    QLabel *label() const { return m_label; }
    /** @brief Whether @p typed, entered now at the cursor of the field, would be refused. */
    bool wouldRefuse(const QString &typed) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    InputLimitHint(QLineEdit *field, const QString &text);

    QLineEdit *m_field = nullptr;
    QLabel *m_label = nullptr;
};

/** @brief The hint under a password field: "At most 16 characters." for the devices' limit. */
QString passwordLengthHintText();

} // namespace VexoTool

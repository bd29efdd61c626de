// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "akloguitoolkit_global.h"

#include <QValidator>

namespace aKLOGUIToolkit {

/**
 * @brief Accepts plain decimal integers in [min, max].
 *
 * Only ASCII digits are allowed, with a leading '-' when \a min is negative; no
 * '+', spaces or group separators. Text that can still grow into an accepted
 * number (an empty field, "-", a too small prefix, leading zeros) is Intermediate;
 * text that can never be accepted is Invalid, so it cannot be typed.
 */
class AKLOGUITOOLKIT_EXPORT CIntValidator : public QValidator
{
    Q_OBJECT

public:
    CIntValidator(int min, int max, QObject *parent = nullptr);

    int Bottom() const { return m_min; }
    int Top() const { return m_max; }

    State validate(QString &input, int &pos) const override;

    /** @brief Drops leading zeros ("080" becomes "80"). */
    void fixup(QString &input) const override;

private:
    int m_min;
    int m_max;
};

} // namespace aKLOGUIToolkit

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QString>

namespace apt {

/** @brief One setting of Setup.xml: its tag and the text of its "Value" element. */
class Configure
{
public:
    Configure() = default;
    Configure(const QString &name, const QString &value);
    virtual ~Configure();

    QString name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }

    QString value() const { return m_value; }
    void setValue(const QString &value) { m_value = value; }

private:
    QString m_name;
    QString m_value;
};

} // namespace apt

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <QToolButton>

namespace aptui {

/** @brief A tool button the style sheet draws as a file-path picker ("aptui--FilePathButton"). */
class FilePathButton : public QToolButton
{
    Q_OBJECT

public:
    explicit FilePathButton(QWidget *parent = nullptr);
};

} // namespace aptui

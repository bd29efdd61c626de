// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include "basedialog.h"

#include <memory>

namespace Ui {
class TipDialog;
}

namespace VexoTool {

/**
 * @brief A yes/no question: exec() returns 1 on confirm, 0 on cancel or the title's close button.
 */
class TipDialog : public aptui::BaseDialog
{
    Q_OBJECT

public:
    explicit TipDialog(QWidget *parent = nullptr);
    ~TipDialog() override;

    /** @brief The question. */
    void setTipText(const QString &text);
    QString tipText() const;

private:
    std::unique_ptr<Ui::TipDialog> m_tipUi;
};

} // namespace VexoTool

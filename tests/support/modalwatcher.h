// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <functional>

class QWidget;

namespace VexoTest {

/**
 * @brief Runs @p action once on the modal widget as soon as one is visible.
 *
 * Call it before the code that opens the dialog: exec() does not return until the
 * dialog is closed, so the action has to wait in the event loop for it.
 */
void whenModal(std::function<void(QWidget *)> action);

} // namespace VexoTest

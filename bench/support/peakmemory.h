// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

/**
 * @brief The process's peak resident memory so far (VmHWM) in MB; 0 where the system does not
 *        say (only Linux does).
 */
double peakMemoryMb();

/** @brief Starts the peak over from the memory in use now, where the system allows it (Linux). */
void resetPeakMemory();

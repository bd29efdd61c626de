// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#pragma once

#include <functional>

class QElapsedTimer;

/** @brief What a wait on the GUI thread saw: its longest gap, and whether the awaited state came. */
struct GuiThreadProbe
{
    double longestGapMs = 0;
    /** The GUI thread's own CPU time in that gap; the rest of the gap it waited for a core. */
    double busyInLongestGapMs = 0;
    /** When the awaited state was first seen, on the clock the wait was given (-1: never). */
    double reachedAfterMs = -1;
    bool reached = false;
};

/**
 * @brief Runs the event loop with a timer ticking every 5 ms until @p done holds, then @p tailMs
 *        more (or until @p clock passes @p timeoutMs), and measures the longest time between two
 *        ticks. @p clock started when the wait began.
 */
GuiThreadProbe probeGuiThread(const QElapsedTimer &clock, const std::function<bool()> &done, int timeoutMs, int tailMs);

/** @brief probeGuiThread() on a clock that starts now. */
GuiThreadProbe probeGuiThread(const std::function<bool()> &done, int timeoutMs, int tailMs);

#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
"""Runs every benchmark of a build three times and prints each figure beside its goal.

Usage: scripts/bench.py BUILD_DIR [RUNS]

A benchmark reports a figure as one line:
    <name>  <value> <unit>  (goal <= <goal> <unit>) ok|MISSED[  <note>]
Lines of other shapes are shown as they are. The window benchmarks (the device list page and
the whole program) run under Xvfb, as the program runs on a desktop. The machine's load average
is printed before and after each run, since other work on the machine makes the figures noisy;
where a benchmark reports the GUI thread's own CPU time in a figure, its median is shown too.
A figure is met when the median run is within its goal, each run judged against the goal it
printed (a goal measured in the run itself, such as the library's from one verification, moves
a little between runs).
"""

import os
import re
import shutil
import statistics
import subprocess
import sys

FIGURE = re.compile(
    r"^(?P<name>\S.*?)\s+(?P<value>-?\d+(?:\.\d+)?) (?P<unit>\S+)\s+"
    r"\(goal <= (?P<goal>\d+(?:\.\d+)?) \S+\) (?P<verdict>ok|MISSED)(?:\s+(?P<note>.*))?$"
)
# The GUI thread's own CPU time in a figure, where a benchmark gives it: on a busy machine the
# thread waits for a core much of the wall time, and its own time is what a quiet one would show.
CPU_NOTE = re.compile(r"GUI thread (?:CPU|running) (?P<cpu>\d+(?:\.\d+)?) ms")
# Window benchmarks: run on an X server of their own rather than offscreen.
WINDOW_BENCHMARKS = {"bench_devicelist", "bench_journalwindow", "bench_departure_e2e", "bench_onvif_e2e", "bench_snapshot_e2e"}


def load_average():
    with open("/proc/loadavg", encoding="ascii") as f:
        return " ".join(f.read().split()[:3])


def start_xvfb():
    """An X server of the script's own for the window benchmarks, or None without Xvfb."""
    if not shutil.which("Xvfb"):
        return None, None
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1366x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,),
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    os.close(write_end)
    number = os.read(read_end, 16).decode().strip()
    os.close(read_end)
    if not number:
        server.kill()
        server.wait()
        return None, None
    return server, ":" + number


def run(path, timeout, display):
    extra = {}
    if os.path.basename(path) in WINDOW_BENCHMARKS and display:
        extra = {"DISPLAY": display, "QT_QPA_PLATFORM": "xcb"}
    env = dict(os.environ, VEXO_SCOPE="loopback", **extra)
    try:
        done = subprocess.run([path], env=env, capture_output=True, text=True, timeout=timeout, check=False)
        return done.returncode, done.stdout
    except subprocess.TimeoutExpired as expired:
        out = expired.stdout or ""
        return -1, out if isinstance(out, str) else out.decode(errors="replace")


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    build = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 3
    bench_bin = os.path.join(build, "bench-bin")
    benchmarks = sorted(
        os.path.join(bench_bin, name)
        for name in os.listdir(bench_bin)
        if os.access(os.path.join(bench_bin, name), os.X_OK) and not os.path.isdir(os.path.join(bench_bin, name))
    )
    # The library's first, then the page, then the whole program (built beside it, in bin/).
    benchmarks.sort(key=lambda p: (not os.path.basename(p).startswith("bench_vexo"), p))
    benchmarks += [os.path.join(build, "bin", n) for n in ("bench_departure_e2e", "bench_onvif_e2e", "bench_snapshot_e2e")]

    server, display = start_xvfb()
    try:
        return report(benchmarks, runs, display)
    finally:
        if server:
            server.terminate()
            server.wait(timeout=10)


def report(benchmarks, runs, display):
    figures = {}  # name -> {"unit", "goal", "values": [], "missed": n}
    order = []
    for path in benchmarks:
        name = os.path.basename(path)
        if not os.access(path, os.X_OK):
            print(f"{name}: not built")
            continue
        for n in range(1, runs + 1):
            before = load_average()
            code, out = run(path, timeout=900, display=display)
            print(f"== {name}, run {n} of {runs} (load {before} before, {load_average()} after; exit {code})")
            for line in out.splitlines():
                m = FIGURE.match(line.strip())
                if not m:
                    print("   " + line)
                    continue
                key = m["name"]
                if key not in figures:
                    figures[key] = {"unit": m["unit"], "goals": [], "values": [], "cpu": [], "missed": 0}
                    order.append(key)
                figure = figures[key]
                figure["values"].append(float(m["value"]))
                figure["goals"].append(float(m["goal"]))
                cpu = CPU_NOTE.search(m["note"] or "")
                if cpu:
                    figure["cpu"].append(float(cpu["cpu"]))
                figure["missed"] += m["verdict"] == "MISSED"
                print(f"   {line}")
            sys.stdout.flush()

    print()
    print(f"Every figure, {runs} runs (load average now {load_average()}, {os.cpu_count()} cores):")
    print(f"{'figure':<46} {'median':>9} {'min':>9} {'max':>9} {'GUI CPU':>9}   goal")
    missed = []
    for key in order:
        f = figures[key]
        values = f["values"]
        median = statistics.median(values)
        goal = statistics.median(f["goals"])
        # Each run against its own goal: the same thing as the median against the goal where the
        # goal is fixed, and the fair one where the run measures its goal itself.
        ratios = [v / g if g > 0 else (0 if v <= 0 else float("inf")) for v, g in zip(values, f["goals"])]
        met = 0 <= median and statistics.median(ratios) <= 1
        goal_text = f"{goal:g} {f['unit']}"
        if len(set(f["goals"])) > 1:
            shares = " ".join(f"{r:.2f}" for r in ratios)
            goal_text = f"its run's goal (median {goal:g} {f['unit']}; runs at {shares} of theirs)"
        if not met:
            missed.append(key)
        over = f" ({f['missed']} of {len(values)} runs over)" if f["missed"] else ""
        cpu = f"{statistics.median(f['cpu']):9.1f}" if f["cpu"] else f"{'':9}"
        print(
            f"{key:<46} {median:9.1f} {min(values):9.1f} {max(values):9.1f} {cpu}   <= {goal_text}"
            f"  {'ok' if met else 'MISSED'}{over}"
        )
    if missed:
        print("Missed (median over the goal): " + "; ".join(missed))
    else:
        print("Missed: none")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())

#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
# --help and --version of the program and the tools answer without a display, and the
# program refuses an unknown option while Qt's own options still reach Qt.
# Usage: commandline.sh VERSION VEXOTOOL VEXO-CLI VEXO-DEVSIM VEXO-KEYSERVICE
set -u
version=$1
vexotool=$2
shift 2
export VEXO_SCOPE=loopback
failures=0

# expect EXIT FIRST-LINE-PATTERN STREAM PROGRAM ARGS...: runs without any display.
expect()
{
    local want_rc=$1 pattern=$2 stream=$3
    shift 3
    local out err rc line
    out=$(mktemp) err=$(mktemp)
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" >"$out" 2>"$err"
    rc=$?
    if [ "$stream" = stdout ]; then line=$(head -n 1 "$out"); else line=$(head -n 1 "$err"); fi
    if [ "$rc" -ne "$want_rc" ] || ! [[ $line =~ $pattern ]]; then
        echo "FAIL: $(basename "$1") ${*:2}: exit $rc (want $want_rc), first line \"$line\" (want /$pattern/)"
        sed 's/^/  stderr: /' "$err" | head -n 5
        failures=$((failures + 1))
    fi
    rm -f "$out" "$err"
}

v=${version//./\\.}
expect 0 "^Usage: vexotool " stdout "$vexotool" --help
expect 0 "^Usage: vexotool " stdout "$vexotool" -h
expect 0 "^vexotool $v\$" stdout "$vexotool" --version
# A Qt option's value is not read as an option of the program, in either spelling.
expect 0 "^vexotool $v\$" stdout "$vexotool" -platform offscreen --version
expect 0 "^vexotool $v\$" stdout "$vexotool" --style=fusion -qwindowtitle --x --version
expect 2 "^vexotool: unknown option --bogus\$" stderr "$vexotool" --bogus
expect 2 "^vexotool: unknown option --platformx\$" stderr "$vexotool" --platformx offscreen

for tool in "$@"; do
    name=$(basename "$tool")
    expect 0 "^Usage:" stdout "$tool" --help
    expect 0 "^$name $v\$" stdout "$tool" --version
done

[ "$failures" -eq 0 ] || exit 1
echo "all command lines answered as expected"

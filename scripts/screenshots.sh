#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# Screenshots of the main window and its dialogs in English and in Chinese, on a virtual X
# server, with simulated devices on loopback.
# Usage: scripts/screenshots.sh <folder with the built executables> <output folder>
set -euo pipefail
bin=$(cd "${1:?usage: screenshots.sh BINDIR OUTDIR}" && pwd)
out=${2:?usage: screenshots.sh BINDIR OUTDIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)

export VEXO_SCOPE=loopback
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The user's own settings (language, batch operations) stay out of the pictures, and the runs'
# choices out of the user's settings.
export XDG_CONFIG_HOME="$work/config"

# The language comes from Setup.xml beside the program, so each language runs from its own copy.
for lang in en:0 zh:1; do
    name=${lang%%:*}
    code=${lang##*:}
    cp -a "$bin" "$work/$name"
    sed -i "/<Translator>/,/<\/Translator>/ s#<Value>[^<]*</Value>#<Value>$code</Value>#" "$work/$name/Setup.xml"
    (cd "$work/$name" && xvfb-run -a -s "-screen 0 1366x768x24" ./vexo-shots "$out/$name")
done

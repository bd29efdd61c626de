#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# The device store and the discovery service are made once, in main, and handed to every page,
# dialog and worker that uses them. Only main (and the screenshot tool's set-up, which plays
# main) may reach them through instance(); everything else gets them as arguments, and the
# tests and benchmarks build stores and services of their own.
#
# Usage: handed_in.sh SOURCE_DIR
# Looks at every source of the tree, tests and benchmarks too, skipping comments.

root=${1:?usage: handed_in.sh SOURCE_DIR}
cd "$root" || exit 2

allowed='^(app/main\.cpp|tools/vexo-shots/main\.cpp):'

found=$(grep -rnE --include='*.cpp' --include='*.h' --include='*.c' \
        '(DeviceStore|VexoHandler)::instance[[:space:]]*\(' . \
    | sed 's|^\./||' \
    | grep -vE '^build[^/]*/' \
    | grep -vE "$allowed" \
    | grep -vE '^[^:]+:[0-9]+:[[:space:]]*(//|/?\*)')

if [ -n "$found" ]; then
    echo "These sources look up the device store or the discovery service through instance()."
    echo "Take them as constructor arguments instead (main hands them in; a test makes its own):"
    echo "$found" | sed 's/^/  /'
    exit 1
fi
echo "No source outside main and the screenshot tool calls DeviceStore::instance() or VexoHandler::instance()."

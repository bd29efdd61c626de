#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
# The desktop integration files as the desktop's own tools read them, and where an install
# puts them.
# Usage: desktop_files.sh SOURCE-DIR BUILD-DIR CMAKE
set -u
source_dir=$1
build_dir=$2
cmake=$3
dist=$source_dir/dist/linux
generated=$build_dir/dist/linux
failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}
need()
{
    command -v "$1" >/dev/null || {
        echo "FAIL: $1 is missing: install the package $2 (scripts/dev.sh does)"
        exit 1
    }
}
need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need man man-db
need help2man help2man

# The validators print hints as well as errors: the files are clean when they print nothing.
out=$(desktop-file-validate "$dist/org.example.vexotool.desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate: $out"
out=$(appstreamcli validate --no-net --pedantic --no-color "$generated/org.example.vexotool.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
[[ $out == *"Validation was successful." ]] || fail "appstreamcli validate has remarks: $out"

# Every page renders without a warning from man or groff, and names its program.
for program in vexotool vexo-cli vexo-devsim vexo-keyservice; do
    page=$generated/man/$program.1
    if [ ! -s "$page" ]; then
        fail "no manual page $page"
        continue
    fi
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man -l $page warns: $warnings"
    text=$(MANWIDTH=80 man -l "$page" 2>/dev/null)
    grep -q "^$program \\\\- " "$page" || fail "$page has no NAME line for $program"
    [[ $text == *"$program "[0-9]* ]] || fail "$page shows no version"
done

# The completion loads in bash and completes a command, an option and an option's values.
complete_words()
{
    bash --norc --noprofile -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1));
        _vexo_cli; echo "${COMPREPLY[*]}"' _ "$dist/vexo-cli.bash-completion" "$@" 2>&1
}
check_completion()
{
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    [ "$got" = "$want" ] || fail "completing \"$*\" gives \"$got\", want \"$want\""
}
check_completion "list" vexo-cli li
check_completion "reset restore report" vexo-cli --wait 500 re
check_completion "--http-port" vexo-cli modify --http
check_completion "on off" vexo-cli modify --dhcp ""
check_completion "" vexo-cli list ""

# An install of the desktop component puts each file where the desktop looks for it.
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build_dir" --prefix "$prefix" --component desktop >/dev/null || fail "cmake --install failed"
for file in share/applications/org.example.vexotool.desktop share/metainfo/org.example.vexotool.metainfo.xml \
    share/bash-completion/completions/vexo-cli share/icons/hicolor/scalable/apps/vexotool.svg \
    share/man/man1/vexotool.1.gz share/man/man1/vexo-cli.1.gz share/man/man1/vexo-devsim.1.gz \
    share/man/man1/vexo-keyservice.1.gz; do
    [ -s "$prefix/$file" ] || fail "the install has no $file"
done
for size in 16 22 24 32 48 64 96 128 256 512; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/vexotool.png
    got=$(identify -format '%wx%h' "$icon" 2>&1)
    [ "$got" = "${size}x$size" ] || fail "$icon is $got, want ${size}x$size"
done

[ "$failures" -eq 0 ] || exit 1
echo "desktop files valid and installed"

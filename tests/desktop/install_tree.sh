#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
# An install under a temporary prefix: every file where the layout puts it and nothing else,
# and the program started from there (then from a moved copy) finds its translations, skin,
# style, manual and settings, with the user's settings read over the shipped ones, which stay
# as they are.
# Usage: install_tree.sh BUILD-DIR CMAKE MANUAL-BUILT(ON|OFF)
set -u
build_dir=$1
cmake=$2
manual=$3
failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}
command -v xvfb-run >/dev/null || {
    echo "FAIL: xvfb-run is missing: install the package xvfb (scripts/dev.sh does)"
    exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
"$cmake" --install "$build_dir" --prefix "$prefix" >"$work/install.log" 2>&1 || {
    cat "$work/install.log"
    fail "cmake --install failed"
    exit 1
}

# What an install holds (shell patterns under the prefix); the lib/ name depends on the prefix
# the build was configured for (lib or lib/<multiarch>).
expected=(
    bin/vexotool bin/vexo-cli bin/vexo-devsim bin/vexo-keyservice
    'lib*/vexotool/libVexo.so' 'lib*/vexotool/libkvt.so' 'lib*/vexotool/libaKLOGUIToolkit.so'
    'lib*/vexotool/plugins/skins/libCommonSkin.so' 'lib*/vexotool/plugins/styles/libCommonStyle.so'
    share/vexotool/Setup.xml share/vexotool/ColumnConfig.xml
    share/vexotool/translations/vexotool_en.qm share/vexotool/translations/vexotool_zh.qm
    share/vexotool/translations/VuzavaRadezir_en.qm share/vexotool/translations/aKLOGUIToolkit_zh.qm
    share/doc/vexotool/README.md share/doc/vexotool/protocol.md share/doc/vexotool/copyright
    share/doc/vexotool/changelog.gz
    share/applications/org.example.vexotool.desktop share/metainfo/org.example.vexotool.metainfo.xml
    share/bash-completion/completions/vexo-cli share/icons/hicolor/scalable/apps/vexotool.svg
    'share/icons/hicolor/*x*/apps/vexotool.png'
    share/man/man1/vexotool.1.gz share/man/man1/vexo-cli.1.gz share/man/man1/vexo-devsim.1.gz
    share/man/man1/vexo-keyservice.1.gz
)
# Qt's own Chinese texts, where the build machine has them.
optional=('share/vexotool/translations/qt*_zh_CN.qm')
if [ "$manual" = ON ]; then
    expected+=("share/vexotool/VEXO User Manual.pdf" "share/vexotool/设备网络搜索用户使用手册.pdf")
fi

cd "$prefix" || exit 1
mapfile -t installed < <(find . -type f -printf '%P\n' | sort)
for pattern in "${expected[@]}"; do
    found=0
    for file in "${installed[@]}"; do
        # shellcheck disable=SC2053 # the pattern is a glob on purpose
        [[ $file == $pattern ]] && found=1 && break
    done
    [ $found -eq 1 ] || fail "the install has no $pattern"
done
for file in "${installed[@]}"; do
    known=0
    for pattern in "${expected[@]}" "${optional[@]}"; do
        # shellcheck disable=SC2053
        [[ $file == $pattern ]] && known=1 && break
    done
    [ $known -eq 1 ] || fail "the install holds $file, which it should not (test keys only with VEXO_INSTALL_TEST_KEYS)"
done
cd - >/dev/null || exit 1

# Starts the program of $1 (a prefix) with the user configuration folder $2 until it has said
# where its manual is, and leaves its log in $work/log.
start_program()
{
    rm -f "$work/log"
    # A folder of its own for the single-instance guard, so a program the user runs meanwhile
    # does not turn this start away.
    mkdir -p "$work/tmp"
    TMPDIR=$work/tmp XDG_CONFIG_HOME=$2 VEXO_SCOPE=loopback VEXOTOOL_TEST_MESSAGE_TIMEOUT_MS=500 \
        setsid xvfb-run -a -s "-screen 0 1366x768x24" "$1/bin/vexotool" >"$work/log" 2>&1 &
    local pid=$!
    for _ in $(seq 1 150); do
        grep -q '^\[Tool\]manual' "$work/log" 2>/dev/null && break
        kill -0 $pid 2>/dev/null || break
        sleep 0.1
    done
    kill -- -$pid 2>/dev/null
    wait $pid 2>/dev/null
}

# Checks the log of a start from prefix $1 in language $2 (0 English, 1 Chinese, with $3 catalogues).
check_log()
{
    local root=$1 language=$2 catalogues=$3
    local log
    log=$(cat "$work/log")
    [[ $log == *"[Tool]folders: installed, data $root/share/vexotool/, plug-ins $root/lib"*"/vexotool/plugins/"* ]] ||
        fail "the program started from $root did not take its installed folders: $log"
    [[ $log == *"[Tool]LoadSkin = CommonSkin Success"* ]] || fail "no skin from $root: $log"
    [[ $log == *"language $language: $catalogues of $catalogues catalogues loaded from $root/share/vexotool/translations/"* ]] ||
        fail "not every catalogue of language $language loaded from $root: $log"
    # Qt's own plug-in folders hold no such style: it came from the program's.
    [[ $log == *"[Tool]style commonstyle"* ]] || fail "no style plug-in from $root: $log"
    if [ "$manual" = ON ]; then
        [[ $log == *"manual $root/share/vexotool/"*.pdf* ]] || fail "no manual found from $root: $log"
    fi
}

# The shipped settings are read-only to the user, as in a system install.
chmod a-w "$prefix/share/vexotool/Setup.xml"
shipped_sum=$(md5sum <"$prefix/share/vexotool/Setup.xml")
start_program "$prefix" "$work/config"
check_log "$prefix" 0 2

# The user's Setup.xml, read over the shipped one: Chinese, with Qt's catalogue where it exists.
mkdir -p "$work/config/VEXOTool"
printf '<?xml version="1.0" encoding="UTF-8"?>\n<Setup><Translator><Value>1</Value></Translator></Setup>\n' \
    >"$work/config/VEXOTool/Setup.xml"
chinese=2
[ -e "$prefix/share/vexotool/translations/qt_zh_CN.qm" ] && chinese=3
mv "$prefix" "$work/moved"
start_program "$work/moved" "$work/config"
check_log "$work/moved" 1 $chinese
[ "$(md5sum <"$work/moved/share/vexotool/Setup.xml")" = "$shipped_sum" ] || fail "the shipped Setup.xml changed"

[ "$failures" -eq 0 ] || exit 1
echo "install tree complete; the installed and the moved program find their files"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# One entry point for a fresh Debian 12 machine:
#   scripts/dev.sh run              install what is missing, build, start the demo on loopback
#   scripts/dev.sh test             install what is missing, build, run every test
#   scripts/dev.sh test --sanitize  the same in an ASan/UBSan build (clang), with the fuzz target
#   scripts/dev.sh bench            build and run the benchmarks (loopback only)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmd=${1:-}
shift || true
sanitize=0
for a in "$@"; do
    case "$a" in
    --sanitize) sanitize=1 ;;
    *) echo "unknown option: $a" >&2; exit 2 ;;
    esac
done

packages=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-5compat-dev
    libqt6sql6-odbc qt6-svg-dev qt6-translations-l10n libgl-dev libqrencode-dev libsodium-dev
    zbar-tools xvfb xauth imagemagick iproute2 nftables clang-format fonts-noto-cjk)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure_and_build() {
    local dir=$1
    shift
    cmake -S "$here" -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

# Every test, benchmark and demo stays on this machine.
export VEXO_SCOPE=loopback

case "$cmd" in
run)
    install_missing
    configure_and_build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec "$here/scripts/demo.sh" "$here/build/bin"
    ;;
test)
    install_missing
    if [ $sanitize -eq 1 ]; then
        dir="$here/build-sanitize"
        configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
            -DVEXO_SANITIZE=ON -DVEXO_FUZZ=ON -DVEXO_BUILD_BENCH=OFF
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    else
        dir="$here/build"
        configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cd "$dir"
    ctest --output-on-failure --parallel "$(nproc)" --timeout 300
    # The house format is part of the test, once per run.
    [ $sanitize -eq 1 ] || cmake --build "$dir" --target format-check
    ;;
bench)
    install_missing
    configure_and_build "$here/build-rel" -DCMAKE_BUILD_TYPE=Release
    for b in "$here"/build-rel/bench-bin/*; do
        [ -x "$b" ] && "$b"
    done
    ;;
*)
    sed -n '5,9p' "$0"
    exit 2
    ;;
esac

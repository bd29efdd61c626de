#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# One entry point for a fresh Debian 12 machine:
#   scripts/dev.sh run              install what is missing, build, start the demo on loopback
#   scripts/dev.sh test             install what is missing, build, run every test, cross-compile for Windows
#   scripts/dev.sh test --sanitize  the same in an ASan/UBSan build (clang), with the fuzz target
#   scripts/dev.sh bench            build and run the benchmarks (loopback only)
#   scripts/dev.sh package          build the Debian package into build/package/ and check it with lintian
#                                   (--allow-test-ca: of a build that trusts the published test device CA)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cmd=${1:-}
shift || true
sanitize=0
allow_test_ca=OFF
for a in "$@"; do
    case "$a" in
    --sanitize) sanitize=1 ;;
    --allow-test-ca) allow_test_ca=ON ;;
    *) echo "unknown option: $a" >&2; exit 2 ;;
    esac
done

packages=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-5compat-dev
    libqt6sql6-odbc qt6-svg-dev qt6-translations-l10n libgl-dev libqrencode-dev libsodium-dev
    zbar-tools xvfb xauth imagemagick poppler-utils python3-fonttools iproute2 nftables clang-format fonts-noto-cjk
    g++-mingw-w64-x86-64-posix libgsf-1-dev libfreexl-dev python3-xlrd libreoffice-calc-nogui
    desktop-file-utils appstream help2man man-db lintian)

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

# The libraries that need no Qt, cross-compiled for Windows with warnings as errors, so a
# POSIX-only call or a Windows-only warning shows here. libsodium's headers are the same on
# every platform; a copy of their own keeps the other Linux headers out of the search path.
# Debian has no MinGW build of libsodium: an import library made from the names the Linux
# library exports lets the discovery library link, so its DLL's exports can be checked too.
windows_check() {
    local dir="$here/build-mingw"
    local sodium="$dir/sodium"
    mkdir -p "$sodium/include" "$sodium/lib"
    cp -a -u /usr/include/sodium.h /usr/include/sodium "$sodium/include/"
    if [ ! -f "$sodium/lib/libsodium.dll.a" ]; then
        {
            echo "LIBRARY libsodium.dll"
            echo "EXPORTS"
            nm -D --defined-only "$(pkg-config --variable=libdir libsodium)/libsodium.so" |
                awk '$2 == "T" || $2 == "W" { print $3 }' | sort -u
        } >"$sodium/lib/sodium.def"
        x86_64-w64-mingw32-dlltool -d "$sodium/lib/sodium.def" -l "$sodium/lib/libsodium.dll.a"
    fi
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-w64.cmake" -DVEXO_LIBRARIES_ONLY=ON -DVEXO_WERROR=ON \
        -DSODIUM_INCLUDE_DIR="$sodium/include" -DSODIUM_LIBRARY="$sodium/lib/libsodium.dll.a" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
    # Every function the header declares is exported by the DLL.
    local declared exported
    declared=$(grep -o '^VEXO_API [a-z0-9_]* VEXO_[A-Za-z0-9_]*' "$here/platform/vexo/include/Vexo.h" | awk '{ print $3 }' | sort)
    exported=$(x86_64-w64-mingw32-objdump -p "$dir/bin/Vexo.dll" | grep -o '\] VEXO_[A-Za-z0-9_]*' | awk '{ print $2 }' | sort)
    if [ "$declared" != "$exported" ]; then
        echo "Vexo.dll exports differ from Vexo.h:" >&2
        diff <(echo "$declared") <(echo "$exported") >&2 || true
        return 1
    fi
}

# The Debian package of the build in $1, made by CPack (dependencies from the binaries), into
# $1/package/, then checked by lintian, which must report no error. A build that trusts the
# published test device CA is packaged only with --allow-test-ca.
make_package() {
    local dir=$1
    rm -rf "$dir/package"
    local allow=()
    [ "$allow_test_ca" = OFF ] || allow=(-D VEXO_ALLOW_TEST_CA=ON)
    (cd "$dir" && cpack -G DEB -B "$dir/package" "${allow[@]}" >"$dir/package.log") || {
        cat "$dir/package.log"
        return 1
    }
    rm -rf "$dir/package/_CPack_Packages"
    # Warnings are shown, not fatal: CPack calls ldconfig for the libraries under /usr/lib/vexotool.
    lintian --fail-on error "$dir"/package/*.deb
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
            -DVEXO_SANITIZE=ON -DVEXO_FUZZ=ON -DVEXO_BUILD_BENCH=OFF -DVEXO_BUILD_MANUAL=OFF
        export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    else
        dir="$here/build"
        configure_and_build "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    fi
    cd "$dir"
    ctest --output-on-failure --parallel "$(nproc)" --timeout 300
    # The package, unpacked into an empty root and run from there (about 25 s).
    if [ $sanitize -eq 0 ]; then
        allow_test_ca=ON make_package "$dir"
        "$here/tests/desktop/package_run.sh" "$dir"/package/*.deb "$dir/bin"
    fi
    # The house format is part of the test, once per run.
    [ $sanitize -eq 1 ] || cmake --build "$dir" --target format-check
    # The Windows portability check, once per run.
    [ $sanitize -eq 1 ] || windows_check
    ;;
bench)
    install_missing
    configure_and_build "$here/build-rel" -DCMAKE_BUILD_TYPE=Release
    for b in "$here"/build-rel/bench-bin/*; do
        [ -x "$b" ] && "$b"
    done
    # Departures through the whole program: it loads the program's skin, style and settings
    # from beside itself, so it is built into bin/ with the program, not into bench-bin/.
    "$here/build-rel/bin/bench_departure_e2e"
    ;;
package)
    install_missing
    configure_and_build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    make_package "$here/build"
    ls "$here"/build/package/*.deb
    ;;
*)
    sed -n '5,11p' "$0"
    exit 2
    ;;
esac

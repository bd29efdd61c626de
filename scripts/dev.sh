#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# One entry point for a fresh Debian 12 machine:
#   scripts/dev.sh run              install what is missing, build, start the demo on loopback
#   scripts/dev.sh test             install what is missing, build, run every test, cross-compile for Windows
#   scripts/dev.sh test --sanitize  the same in an ASan/UBSan build (clang), with the fuzz target
#   scripts/dev.sh bench            build and run the benchmarks three times, each figure beside its goal (loopback only)
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
    libqt6sql6-odbc libqt6sql6-sqlite libqt6sql6-psql postgresql qt6-svg-dev qt6-translations-l10n libgl-dev libqrencode-dev libsodium-dev
    zbar-tools xvfb xauth imagemagick poppler-utils python3-fonttools iproute2 nftables clang-format fonts-noto-cjk
    g++-mingw-w64-x86-64-posix libgsf-1-dev libfreexl-dev python3-xlrd libreoffice-calc-nogui
    desktop-file-utils appstream help2man man-db nodejs onvif-tools lintian libssl-dev)

# npm comes with some builds of Node.js and as a package of its own with Debian's: it is
# installed only where no npm is found, as the two cannot be installed together.
install_npm() {
    command -v npm >/dev/null || install_missing npm
}

# Installs those of the packages named that are missing.
install_missing() {
    local missing=() p
    for p in "$@"; do
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
    # A compiler cache, where the developer has one, makes rebuilds of other checkouts cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$here" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

# What the Windows run needs besides the packages above: Wine to start the Windows programs,
# and the tools that turn Debian's source package of libsodium into a MinGW build.
windows_packages=(wine64 dpkg-dev autoconf automake libtool)


# apt hands out source packages only where a deb-src entry sits beside the deb entry: one is
# added for each of the system's Debian archives (same address, suites and components).
enable_debian_sources() {
    local list=/etc/apt/sources.list.d/vexo-deb-src.sources
    [ -f "$list" ] && return 0
    grep -Eqs '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/* && return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | "${sudo[@]}" tee "$list" >/dev/null
    elif grep -q '^deb ' /etc/apt/sources.list 2>/dev/null; then
        list=/etc/apt/sources.list.d/vexo-deb-src.list
        [ -f "$list" ] && return 0
        sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | "${sudo[@]}" tee "$list" >/dev/null
    else
        echo "no Debian archive in the apt sources: cannot fetch libsodium's source package" >&2
        return 1
    fi
    "${sudo[@]}" apt-get update -qq
}

# libsodium for Windows, built from Debian's source package (with Debian's patches) by the
# same MinGW-w64 compiler, once: later runs find it in build-mingw/libsodium. It is built as
# a DLL, as the program ships it on Windows, so the Wine run loads it the way Windows does.
build_mingw_sodium() {
    local dir=$1
    local prefix="$dir/libsodium"
    [ -f "$prefix/.built" ] && return 0
    local started=$SECONDS
    enable_debian_sources
    rm -rf "$dir/libsodium-source" "$prefix"
    mkdir -p "$dir/libsodium-source"
    (
        cd "$dir/libsodium-source"
        # apt checks the files against the archive's signed index; their logs are shown on failure.
        apt-get source --download-only -qq libsodium >fetch.log 2>&1 || { cat fetch.log >&2; exit 1; }
        dpkg-source -x libsodium_*.dsc source >unpack.log 2>&1 || { cat unpack.log >&2; exit 1; }
        cd source
        # The upstream tarball in Debian's archive carries no configure script.
        if [ ! -x configure ]; then
            ./autogen.sh -s >autogen.log 2>&1 || { tail -30 autogen.log >&2; exit 1; }
        fi
        ./configure -q --host=x86_64-w64-mingw32 --prefix="$prefix" --disable-static --enable-shared \
            --disable-dependency-tracking CC=x86_64-w64-mingw32-gcc-posix >configure.log 2>&1 ||
            { tail -30 configure.log >&2; exit 1; }
        make -s -j"$(nproc)" install >make.log 2>&1 || { tail -30 make.log >&2; exit 1; }
    )
    touch "$prefix/.built"
    echo "libsodium for Windows built from Debian's source package in $((SECONDS - started)) s"
}

# The libraries that need no Qt and the C example, cross-compiled for Windows with warnings
# as errors, so a POSIX-only call or a Windows-only warning shows here; then the example runs
# under Wine against the native simulator (tests/tools/example_run.sh).
windows_check() {
    local dir="$here/build-mingw"
    install_missing "${windows_packages[@]}"
    build_mingw_sodium "$dir"
    cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$here/cmake/toolchain-mingw-w64.cmake" -DVEXO_LIBRARIES_ONLY=ON -DVEXO_WERROR=ON \
        -DSODIUM_INCLUDE_DIR="$dir/libsodium/include" -DSODIUM_LIBRARY="$dir/libsodium/lib/libsodium.dll.a" >/dev/null
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
    # What a Windows machine needs beside the example: libsodium's DLL and the compiler's runtime.
    cp -u "$dir"/libsodium/bin/libsodium-*.dll "$dir/bin/"
    local dll
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
        cp -u "$(x86_64-w64-mingw32-g++-posix -print-file-name="$dll")" "$dir/bin/"
    done
    VEXO_TEST_BIN_DIR="$here/build/bin" VEXO_EXAMPLE_WINE_DIR="$dir/bin" WINEPREFIX="$dir/wineprefix" \
        "$here/tests/tools/example_run.sh" wine
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
    install_missing "${packages[@]}"
    install_npm
    configure_and_build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    exec "$here/scripts/demo.sh" "$here/build/bin"
    ;;
test)
    install_missing "${packages[@]}"
    install_npm
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
    install_missing "${packages[@]}"
    install_npm
    configure_and_build "$here/build-rel" -DCMAKE_BUILD_TYPE=Release
    # Every benchmark three times, each figure beside its goal, the load average with each run,
    # and which figures miss. The whole-program ones are built into bin/ beside the program (they
    # load its skin, style and settings); the window ones run under Xvfb.
    exec python3 "$here/scripts/bench.py" "$here/build-rel" 3
    ;;
package)
    install_missing "${packages[@]}"
    install_npm
    configure_and_build "$here/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    make_package "$here/build"
    ls "$here"/build/package/*.deb
    ;;
*)
    sed -n '5,11p' "$0"
    exit 2
    ;;
esac

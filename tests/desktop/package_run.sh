#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
# The Debian package: its contents, then the programs unpacked into an empty root run from
# there: vexotool --version, and vexo-cli list finds the build's simulator on loopback.
# Usage: package_run.sh PACKAGE.deb BUILD-BIN-DIR
set -u
deb=$1
bin=$2
failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}

root=$(mktemp -d)
sim_pid=
cleanup()
{
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$root"
}
trap cleanup EXIT

dpkg-deb -x "$deb" "$root" || {
    echo "FAIL: dpkg-deb -x $deb"
    exit 1
}
contents=$(cd "$root" && find . -type f -printf '%P\n')
for file in usr/bin/vexotool usr/bin/vexo-cli usr/bin/vexo-devsim usr/bin/vexo-keyservice usr/share/vexotool/Setup.xml \
    usr/share/vexotool/ColumnConfig.xml usr/share/vexotool/translations/vexotool_zh.qm usr/share/doc/vexotool/copyright \
    usr/share/applications/org.example.vexotool.desktop usr/share/man/man1/vexo-cli.1.gz; do
    grep -qx "$file" <<<"$contents" || fail "the package has no $file"
done
grep -q '/vexotool/libVexo.so$' <<<"$contents" || fail "the package has no libVexo.so"
grep -q '/vexotool/plugins/skins/libCommonSkin.so$' <<<"$contents" || fail "the package has no skin plug-in"
outside=$(grep -v '^usr/' <<<"$contents")
[ -z "$outside" ] || fail "the package puts files outside usr/: $outside"
grep -q testkeys <<<"$contents" && fail "the package holds the test keys"
depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libsodium* ]] ||
    fail "the package's dependencies are not those of its binaries: $depends"
# The site journal's driver is a plug-in, which no binary names.
[[ $depends == *libqt6sql6-sqlite* ]] || fail "the package does not depend on the journal's database driver: $depends"

version=$(env -u DISPLAY "$root/usr/bin/vexotool" --version 2>&1) || fail "vexotool --version failed: $version"
[[ $version == "vexotool "[0-9]* ]] || fail "vexotool --version printed: $version"
# The unpacked programs load the unpacked libraries, not the build's.
libs=$(ldd "$root/usr/bin/vexo-cli")
[[ $libs == *"libVexo.so => $root/usr/"*"lib"*"/vexotool/libVexo.so"* ]] || fail "the unpacked vexo-cli does not load the unpacked libVexo: $libs"

export VEXO_SCOPE=loopback
# The simulator takes a free port and says which once it listens.
"$bin/vexo-devsim" --port 0 --count 4 --seed 7 --test-mode --no-stdin >"$root/devsim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 50); do grep -q '^ready' "$root/devsim.log" && break; sleep 0.1; done
VEXO_PORT=$(sed -n 's/^ready //p' "$root/devsim.log")
[ -n "$VEXO_PORT" ] || fail "the simulator did not start: $(cat "$root/devsim.log")"
export VEXO_PORT
found=0
for _ in 1 2 3; do
    found=$("$root/usr/bin/vexo-cli" list --json --wait 1000 2>"$root/cli.log" | grep -c '"serialNumber"')
    [ "$found" -eq 4 ] && break
done
[ "$found" -eq 4 ] || fail "the unpacked vexo-cli found $found of the simulator's 4 devices: $(cat "$root/cli.log")"

[ "$failures" -eq 0 ] || exit 1
echo "package contents complete; the unpacked vexotool and vexo-cli run"

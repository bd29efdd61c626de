#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# example_run.sh native|wine
#
# Runs the C example (tools/vexo-example) against the native simulator on loopback, each
# step checked and timed: it lists every simulated device as a table and as JSON, writing its
# log into a folder with a Chinese name; changes one device's IPv4 parameters, which the
# native vexo-cli then sees; reads a device key, gets a reset key for it from the native key
# service and resets the password, which the native vexo-cli then uses; and still finds the
# devices after its inquiries went to a closed port for a while (an ICMP "port unreachable"
# for each, which Windows reports on the socket unless it is told not to). Under Wine it also
# runs in the LAN scope between two network namespaces of its own (as root).
#
# native: the Linux build in $VEXO_TEST_BIN_DIR (a CTest test).
# wine:   the Windows build in $VEXO_EXAMPLE_WINE_DIR (vexo-example.exe, Vexo.dll, libsodium's
#         and the compiler's DLLs) under wine64 with the prefix $WINEPREFIX, run by
#         scripts/dev.sh test. Sockets under Wine are the host's, so the Windows program and the
#         native simulator meet on 127.0.0.1. Wine runs in a Chinese locale (code page 936), as
#         on a Chinese Windows, so the log folder's name reaches the library in that code page.
set -uo pipefail

mode=${1:-}
bin=${VEXO_TEST_BIN_DIR:?VEXO_TEST_BIN_DIR names the folder of the native tools}
case "$mode" in
native | wine) ;;
*)
    echo "usage: $0 native|wine" >&2
    exit 2
    ;;
esac

# Every datagram stays on this machine.
export VEXO_SCOPE=loopback
unset VEXO_LOG_DIR VEXO_INQUIRY_INTERVAL_MS
work=$(mktemp -d)
sim_pid=
lan_sim_pid=
namespaces=
cleanup() {
    local n
    for n in $sim_pid $lan_sim_pid; do kill "$n" 2>/dev/null; done
    wait 2>/dev/null
    for n in $namespaces; do ip netns del "$n" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
checks=0
step_started=
step() {
    step_name=$1
    step_started=$EPOCHREALTIME
}
elapsed() {
    awk -v a="$step_started" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.1f s", b - a }'
}
pass() {
    checks=$((checks + 1))
    echo "ok    $step_name ($(elapsed))"
}
fail() {
    checks=$((checks + 1))
    failures=$((failures + 1))
    echo "FAIL  $step_name ($(elapsed)): $*"
    for f in "$work"/*.out "$work"/*.err; do
        [ -s "$f" ] && { echo "== $(basename "$f")"; tail -15 "$f"; }
    done
}

python=/usr/bin/python3
[ -x "$python" ] || python=python3

if [ "$mode" = native ]; then
    example_program="$bin/vexo-example"
    [ -x "$example_program" ] || { echo "FAIL: no $example_program"; exit 1; }
    example() { "$example_program" "$@"; }
    host_path() { printf '%s' "$1"; }
else
    windir=${VEXO_EXAMPLE_WINE_DIR:?VEXO_EXAMPLE_WINE_DIR names the folder of vexo-example.exe}
    : "${WINEPREFIX:?WINEPREFIX names the Wine prefix to use (it is made on the first start)}"
    wine=/usr/lib/wine/wine64
    [ -x "$wine" ] || { echo "FAIL: Wine cannot start: $wine is missing (apt-get install wine64)"; exit 1; }
    for f in vexo-example.exe Vexo.dll; do
        [ -f "$windir/$f" ] || { echo "FAIL: no $windir/$f"; exit 1; }
    done
    # No display and no GUI: no Mono or Gecko installer dialogs, no debug chatter.
    unset DISPLAY WAYLAND_DISPLAY
    export WINEPREFIX WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
    # Wine takes the code page from the host locale's name, but converts the command line with
    # the host's own locale: a Chinese UTF-8 locale is made for it once, beside the prefix.
    locales="$(dirname "$WINEPREFIX")/wine-locale"
    step "Chinese locale for Wine"
    if [ ! -d "$locales/zh_CN.UTF-8" ]; then
        mkdir -p "$locales"
        localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8" >"$work/localedef.err" 2>&1 ||
            { fail "localedef cannot make zh_CN.UTF-8 (package locales)"; exit 1; }
    fi
    pass
    wine() { LOCPATH="$locales" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 "$wine" "$@"; }
    example() { wine "$windir/vexo-example.exe" "$@"; }
    # Z: is the host's root in every Wine prefix.
    host_path() { printf 'Z:%s' "${1//\//\\}"; }

    step "Wine starts (prefix $WINEPREFIX)"
    if ! answer=$(timeout 300 "$wine" cmd.exe /c echo wine-ready 2>"$work/wine.err") ||
        [[ "$answer" != *wine-ready* ]]; then
        fail "Wine cannot start Windows programs on this machine"
        exit 1
    fi
    pass
fi

# The simulator picks a free port and says which; the example and the CLI use it too.
start_simulator() { # port
    : >"$work/sim.out"
    "$bin/vexo-devsim" --count 8 --seed 23 --test-mode --state "$work/state.json" --port "$1" --no-stdin \
        >"$work/sim.out" 2>"$work/sim.err" &
    sim_pid=$!
    for _ in $(seq 100); do
        grep -q '^ready ' "$work/sim.out" && return 0
        kill -0 "$sim_pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
# The port lies below the range the system hands out for ephemeral sockets, so that no other
# test's socket takes it while the simulator is stopped; another fixed one may hold it.
step "simulator on loopback"
for k in 0 1 2 3 4; do
    VEXO_PORT=$((20000 + ($$ + k * 7919) % 10000))
    start_simulator $VEXO_PORT && break
    VEXO_PORT=
done
[ -n "$VEXO_PORT" ] || { fail "vexo-devsim did not start"; exit 1; }
export VEXO_PORT
pass

# What the simulator holds: serial, MAC, activated and key format per device.
devices() {
    "$python" -c '
import json, sys
for d in json.load(open(sys.argv[1]))["devices"]:
    print(d["serial"], d["mac"], 1 - d["inactive"])' "$work/state.json"
}
serials=$(devices | awk '{ print $1 }' | sort)
count=$(echo "$serials" | wc -l)
read -r target_serial target_mac _ < <(devices | awk '$3 == 1' | head -1)

# Prints the serial numbers of a JSON list, sorted.
json_serials() {
    "$python" -c '
import json, sys
for d in json.load(open(sys.argv[1])):
    print(d["serialNumber"])' "$1" | sort
}

logdir="$work/日志"
mkdir -p "$logdir"
step "list as a table, log into a folder with a Chinese name"
example --log "$(host_path "$logdir")" --wait 3000 list >"$work/table.out" 2>"$work/table.err"
rc=$?
listed=$(awk 'NR > 1 { print $1 }' "$work/table.out" | sort)
if [ $rc -ne 0 ] || [ "$listed" != "$serials" ]; then
    fail "exit status $rc; expected the $count serial numbers of the simulator"
elif ! grep -q "started (loopback scope, device port $VEXO_PORT)" "$logdir/vexo.log" 2>/dev/null; then
    fail "no log of this run in $logdir/vexo.log"
else
    pass
fi

step "list as JSON"
example --wait 3000 list --json >"$work/json.out" 2>"$work/json.err"
rc=$?
if [ $rc -ne 0 ] || [ "$(json_serials "$work/json.out" 2>&1)" != "$serials" ]; then
    fail "exit status $rc; expected a JSON list of the $count devices"
else
    pass
fi

# First with a wrong password: the library's error code reaches the caller's thread (a
# thread-local in the DLL).
step "modify $target_mac: refused with a wrong password, done with the right one, seen by the native CLI"
example modify "$target_mac" Wrong-Pass1 10.99.99.99 255.255.255.0 10.99.99.1 >"$work/denied.out" 2>"$work/denied.err"
denied_rc=$?
example modify "$target_mac" Admin12345 10.20.30.40 255.255.255.0 10.20.30.1 >"$work/modify.out" 2>"$work/modify.err"
rc=$?
if [ $denied_rc -ne 1 ] || ! grep -q "modify failed: error 2009" "$work/denied.err"; then
    rc="$rc (the wrong password: exit status $denied_rc, \"$(cat "$work/denied.err")\")"
fi
"$bin/vexo-cli" list --json --wait 1500 >"$work/cli.out" 2>"$work/cli.err"
seen=$("$python" -c '
import json, sys
for d in json.load(open(sys.argv[1])):
    if d["mac"] == sys.argv[2]:
        print(d["ipv4Address"], d["ipv4SubnetMask"], d["ipv4Gateway"], d["dhcp"])' "$work/cli.out" "$target_mac" 2>&1)
if [ "$rc" != 0 ] || [ "$seen" != "10.20.30.40 255.255.255.0 10.20.30.1 False" ]; then
    fail "exit status $rc; the CLI sees \"$seen\""
else
    pass
fi

step "key and reset of $target_serial with a reset key from the key service"
key=$(example key "$target_serial" 2>"$work/key.err")
rc=$?
reset_key=$("$bin/vexo-keyservice" reset --key "$key" 2>"$work/keyservice.err")
if [ $rc -ne 0 ] || [ -z "$reset_key" ]; then
    fail "exit status $rc, key \"$key\", reset key \"$reset_key\""
else
    example reset "$target_serial" Reset2026wine "$reset_key" >"$work/reset.out" 2>"$work/reset.err"
    rc=$?
    # The new password works from the native side, the old one no longer does.
    "$bin/vexo-cli" modify "$target_mac" Reset2026wine --wait 1500 >"$work/cli-new.out" 2>"$work/cli-new.err"
    new_rc=$?
    "$bin/vexo-cli" modify "$target_mac" Admin12345 --wait 1500 >"$work/cli-old.out" 2>"$work/cli-old.err"
    old_rc=$?
    if [ $rc -ne 0 ] || [ $new_rc -ne 0 ] || [ $old_rc -eq 0 ]; then
        fail "reset exit status $rc; the CLI with the new password: $new_rc, with the old one: $old_rc"
    else
        pass
    fi
fi

# The simulator stops, so the example's first inquiries go to a closed port; it comes back
# on the same port while the example is still listening.
step "devices found after inquiries to a closed port"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null
sim_pid=
VEXO_INQUIRY_INTERVAL_MS=250 example --wait 8000 list >"$work/closed.out" 2>"$work/closed.err" &
example_pid=$!
sleep 3
start_simulator "$VEXO_PORT" || fail "vexo-devsim did not start again on port $VEXO_PORT"
wait "$example_pid"
rc=$?
listed=$(awk 'NR > 1 { print $1 }' "$work/closed.out" | sort)
if [ $rc -ne 0 ] || [ "$listed" != "$serials" ]; then
    fail "exit status $rc; expected the $count serial numbers of the simulator"
else
    pass
fi

# The LAN scope under Wine, between two network namespaces made here and joined by one
# cable: the adapter list, the group joined by the adapter's address, multicast out of it, and
# an adapter that comes up while the example runs. Wine gives no adapter change notification,
# so the library finds the new adapter when it reads the adapters again at the next inquiry.
# The namespaces' prefix is a separate one, so that its wineserver (which makes the sockets)
# starts inside the program's namespace. Needs root; skipped otherwise.
lan_in_namespaces() {
    local id=$$ ns_prog=vwp$$ ns_dev=vwd$$ port=$((40000 + $$ % 20000))
    step "LAN scope between network namespaces, the adapter up late"
    if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null || ! ip netns add $ns_prog 2>/dev/null; then
        echo "skip  $step_name: network namespaces need root and iproute2"
        return 0
    fi
    ip netns add $ns_dev
    namespaces="$ns_prog $ns_dev"
    ip -n $ns_prog link set lo up
    ip -n $ns_dev link set lo up
    ip link add vwa$id type veth peer name vwb$id
    ip link set vwa$id netns $ns_prog
    ip link set vwb$id netns $ns_dev
    ip -n $ns_prog addr add 198.51.100.10/24 dev vwa$id
    ip -n $ns_dev addr add 198.51.100.20/24 dev vwb$id
    ip -n $ns_dev link set vwb$id up
    ip netns exec $ns_dev env VEXO_SCOPE=lan "$bin/vexo-devsim" --scope lan --port $port --count 3 --seed 11 \
        --test-mode --no-stdin >"$work/lan-sim.out" 2>&1 &
    lan_sim_pid=$!
    local prefix lan_log="$work/lan-日志" _
    prefix="$(dirname "$WINEPREFIX")/wineprefix-netns"
    mkdir -p "$lan_log"
    WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k 2>/dev/null
    in_prog() { ip netns exec $ns_prog env WINEPREFIX="$prefix" VEXO_SCOPE=lan VEXO_PORT=$port "$@"; }
    # The first start makes the prefix; it is kept for later runs.
    in_prog "$wine" cmd.exe /c echo >/dev/null 2>&1
    in_prog env VEXO_INQUIRY_INTERVAL_MS=1000 LOCPATH="$locales" LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 \
        "$wine" "$windir/vexo-example.exe" --log "$(host_path "$lan_log")" --wait 6000 list \
        >"$work/lan.out" 2>"$work/lan.err" &
    local example_pid=$!
    sleep 2.5
    ip -n $ns_prog link set vwa$id up
    wait $example_pid
    local rc=$? listed
    listed=$(awk 'NR > 1 { print $1 }' "$work/lan.out" | wc -l)
    if [ $rc -ne 0 ] || [ "$listed" != 3 ]; then
        fail "exit status $rc; $listed of the 3 devices behind the late adapter listed"
    elif ! grep -q "198.51.100.10) is up: joined the group" "$lan_log/vexo.log"; then
        fail "the log does not show the group joined on the late adapter"
    else
        pass
    fi
    kill $lan_sim_pid 2>/dev/null
    wait $lan_sim_pid 2>/dev/null
    in_prog /usr/lib/wine/wineserver64 -k 2>/dev/null
}
[ "$mode" = wine ] && lan_in_namespaces

if [ $failures -ne 0 ]; then
    echo "example run ($mode): $failures of $checks checks failed"
    exit 1
fi
echo "example run ($mode): $checks checks passed"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# ONVIF devices on a subnet no adapter of the computer is on, inside network namespaces made
# here, never in the machine's own. The program's namespace has two adapters on two subnets,
# each cabled to a namespace with a simulator of its own:
#
#   [a] 192.0.2.2/24, a device on 10.1.2.64 ── (vra) [prog] (vrc) ── [b] 198.51.100.2/24, devices on .11 and .12
#              (and 192.0.2.64, free)        192.0.2.1/24    198.51.100.1/24
#
# The multicast route of the program's namespace leads to the first link only, so the devices
# behind the second adapter are found only by probing from every adapter. The one on
# 10.1.2.64 answers WS-Discovery on its link, but HTTP would go to the default gateway (an
# address nobody holds): vexo-cli marks it unreachable, names the subnet to add and refuses to
# change it at once. Once the test gives the first adapter an address in 10.1.2.0/24, the
# device is identified and re-addressed to 192.0.2.64. Each step prints its time.
#
# Skipped (77) where namespaces cannot be made.
set -u
bin=${VEXO_TEST_BIN_DIR:?}
id=$$
prog=vxrp$id sima=vxra$id simb=vxrb$id
. "$(dirname "$0")/../vexo/netns.sh"

fail() {
    report_failure "$@"
    exit 1
}

now_ms() { date +%s%3N; }
started=$(now_ms)
step_started=$started
# Prints what a step showed and how long it took since the previous one.
step() { # text
    local t
    t=$(now_ms)
    printf '%6d ms  %s\n' $((t - step_started)) "$1"
    step_started=$(now_ms)
}

make_namespaces $prog $sima $simb
set -e
direct_link vra$id $prog 192.0.2.1/24 vrb$id $sima 192.0.2.2/24
direct_link vrc$id $prog 198.51.100.1/24 vrd$id $simb 198.51.100.2/24
ip -n $sima addr add 10.1.2.64/24 dev vrb$id
ip -n $sima addr add 192.0.2.64/24 dev vrb$id
ip -n $simb addr add 198.51.100.11/24 dev vrd$id
ip -n $simb addr add 198.51.100.12/24 dev vrd$id
ip -n $prog route add 224.0.0.0/4 dev vra$id
ip -n $prog route add default via 198.51.100.254 dev vrc$id
ip -n $sima route add 224.0.0.0/4 dev vrb$id
ip -n $simb route add 224.0.0.0/4 dev vrd$id
set +e

# Simulator NAME in namespace NS with N ONVIF-only devices; its console is file descriptor FD.
start_onvif_simulator() { # ns name seed n fd
    mkfifo "$work/console-$2"
    ip netns exec "$1" env VEXO_SCOPE=lan "$bin/vexo-devsim" --scope lan --port 0 --onvif-port 3702 --count 1 \
        --seed "$3" --onvif "$4" --test-mode <"$work/console-$2" >"$work/sim-$2.log" 2>&1 &
    pids+=($!)
    eval "exec $5>\"\$work/console-\$2\""
    simulator_ready "$2" || fail "simulator $2 did not start"
}

# Waits up to five seconds for simulator NAME's console to have answered N commands.
answered() { # name n
    local _
    for _ in $(seq 50); do [ "$(grep -c '^ok$' "$work/sim-$1.log")" -ge "$2" ] && return 0; sleep 0.1; done
    return 1
}

# The ONVIF-only devices of simulator NAME (console FD) move to the addresses given.
place_devices() { # name fd address...
    local name=$1 fd=$2 i=0 serials
    shift 2
    echo list >&$fd
    answered $name 1 || fail "simulator $name did not answer list"
    mapfile -t serials < <(grep ' onvif$' "$work/sim-$name.log" | cut -d' ' -f1)
    [ ${#serials[@]} = $# ] || fail "simulator $name lists ${#serials[@]} ONVIF-only devices, not $#"
    for address in "$@"; do
        echo "set ${serials[i]} ipv4 $address" >&$fd
        i=$((i + 1))
    done
    answered $name $((1 + $#)) || fail "simulator $name did not take the addresses"
}

start_onvif_simulator $sima a 1 1 3
start_onvif_simulator $simb b 2 2 4
place_devices a 3 10.1.2.64
place_devices b 4 198.51.100.11 198.51.100.12
port=$(sed -n 's/^ready //p' "$work/sim-a.log")
step "set up: two adapters, three ONVIF devices"

cli() { ip netns exec $prog env VEXO_SCOPE=lan VEXO_PORT=$port timeout 30 "$bin/vexo-cli" "$@"; }

# Checks the JSON list against the Python expression CHECK over `onvif` (address -> device).
check_list() { # what check
    /usr/bin/python3 - "$work/list.json" "$2" <<'PY' || fail "$1: $(cat "$work/list.json")"
import json, sys
onvif = {d["ipv4Address"]: d for d in json.load(open(sys.argv[1])) if d["protocol"] == "ONVIF"}
assert eval(sys.argv[2]), sys.argv[2]
PY
}

cli list Admin12345 --json --wait 2000 >"$work/list.json" 2>"$work/cli.log" || fail "vexo-cli list failed"
check_list "the devices behind the second adapter, identified" \
    'all(onvif[a]["identified"] and onvif[a]["reachable"] for a in ("198.51.100.11", "198.51.100.12"))'
check_list "the device on 10.1.2.64, listed as unreachable" \
    '(not onvif["10.1.2.64"]["reachable"] and not onvif["10.1.2.64"]["identified"]
      and "Add an address in 10.1.2.0/24" in onvif["10.1.2.64"]["advice"] and len(onvif) == 3)'
step "list: two devices behind the second adapter identified, 10.1.2.64 unreachable (not asked)"

cli list --wait 1500 >"$work/table.txt" 2>>"$work/cli.log" || fail "vexo-cli list (table) failed"
grep -q '10\.1\.2\.64 .*Unreachable' "$work/table.txt" && grep -q '^#[0-9]: .* 10\.1\.2\.0/24 ' "$work/table.txt" ||
    fail "the table does not mark 10.1.2.64: $(cat "$work/table.txt")"
step "list (table): 10.1.2.64 marked Unreachable, advice under the table"
grep -E 'Unreachable|^#' "$work/table.txt" | sed 's/^/            /'

modify() { cli onvif-modify 10.1.2.64 Admin12345 --ipv4 192.0.2.64 --prefix 24 --wait 3000 "$@" >"$work/modify.log" 2>&1; }
modify
rc=$?
[ $rc = 1 ] && grep -q 'onvif-modify refused: .*Add an address in 10\.1\.2\.0/24' "$work/modify.log" ||
    fail "onvif-modify on 10.1.2.64 was not refused with the advice (status $rc): $(cat "$work/modify.log")"
step "onvif-modify 10.1.2.64: refused at once with the advice (HTTP time-out: 5000 ms)"
sed 's/^/            /' "$work/modify.log"

modify --force
rc=$?
[ $rc = 1 ] && ! grep -q refused "$work/modify.log" ||
    fail "onvif-modify --force on 10.1.2.64 did not try and fail (status $rc): $(cat "$work/modify.log")"
step "onvif-modify --force 10.1.2.64: tried over the default gateway, failed: $(head -1 "$work/modify.log")"

ip -n $prog addr add 10.1.2.10/24 dev vra$id
cli list Admin12345 --json --wait 2000 >"$work/list.json" 2>>"$work/cli.log" || fail "vexo-cli list failed"
check_list "the device on 10.1.2.64 once the adapter has 10.1.2.10/24" \
    'onvif["10.1.2.64"]["reachable"] and onvif["10.1.2.64"]["identified"] and "advice" not in onvif["10.1.2.64"]'
step "10.1.2.10/24 added to vra$id; list: 10.1.2.64 reachable and identified"

modify || fail "onvif-modify on the reachable device failed: $(cat "$work/modify.log")"
step "onvif-modify 10.1.2.64 --ipv4 192.0.2.64: $(head -1 "$work/modify.log")"

sleep 0.5
cli list Admin12345 --json --wait 2000 >"$work/list.json" 2>>"$work/cli.log" || fail "vexo-cli list failed"
check_list "the device at its new address" \
    '"10.1.2.64" not in onvif and onvif["192.0.2.64"]["reachable"] and onvif["192.0.2.64"]["identified"]'
step "list: the device answers at 192.0.2.64"
echo quit >&3
echo quit >&4
echo "reach_netns passed in $(($(now_ms) - started)) ms"

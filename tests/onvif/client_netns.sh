#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# The ONVIF client in the LAN scope, inside network namespaces made here, never in the
# machine's own: vexo-cli probes the WS-Discovery group from the adapter of its namespace,
# identifies the simulator's ONVIF devices over HTTP and re-addresses one; an adapter that
# comes up late is probed from as soon as it is up.
#
#   [prog] 192.0.2.1/24 (vcp) ── (vcd) [dev] 192.0.2.2/24 and one address per ONVIF device
#
# Skipped (77) where namespaces cannot be made.
set -u
bin=${VEXO_TEST_BIN_DIR:?}
id=$$
prog=vxcp$id dev=vxcd$id
. "$(dirname "$0")/../vexo/netns.sh"

fail() {
    report_failure "$@"
    exit 1
}

make_namespaces $prog $dev
set -e
# The program's end starts down: it comes up while vexo-cli watches.
direct_link vcp$id $prog 192.0.2.1/24 vcd$id $dev 192.0.2.2/24 down
for a in 11 12 13; do ip -n $dev addr add 192.0.2.$a/24 dev vcd$id; done
ip -n $prog route add 224.0.0.0/4 dev vcp$id 2>/dev/null || true
ip -n $dev route add 224.0.0.0/4 dev vcd$id
set +e

mkfifo "$work/console"
ip netns exec $dev env VEXO_SCOPE=lan "$bin/vexo-devsim" --scope lan --port 0 --onvif-port 3702 --count 1 \
    --onvif 2 --test-mode <"$work/console" >"$work/sim-d.log" 2>&1 &
pids+=($!)
exec 3>"$work/console"
simulator_ready d || fail "simulator did not start"
port=$(sed -n 's/^ready //p' "$work/sim-d.log")

# Waits up to five seconds for the simulator's console to have answered N commands.
answered() { # n
    local _
    for _ in $(seq 50); do [ "$(grep -c '^ok$' "$work/sim-d.log")" -ge "$1" ] && return 0; sleep 0.1; done
    return 1
}

# The ONVIF-only devices move to addresses of the devices' namespace.
echo list >&3
answered 1 || fail "the simulator did not answer list"
mapfile -t serials < <(grep ' onvif$' "$work/sim-d.log" | cut -d' ' -f1)
[ ${#serials[@]} = 2 ] || fail "the simulator lists ${#serials[@]} ONVIF-only devices, not 2"
echo "set ${serials[0]} ipv4 192.0.2.11" >&3
echo "set ${serials[1]} ipv4 192.0.2.12" >&3
answered 3 || fail "the simulator did not take the addresses"

cli() { ip netns exec $prog env VEXO_SCOPE=lan VEXO_PORT=$port timeout 30 "$bin/vexo-cli" "$@"; }

# Watching while the adapter is down, then up: the devices appear once it is up.
ip netns exec $prog env VEXO_SCOPE=lan VEXO_PORT=$port timeout -s INT 6 "$bin/vexo-cli" watch >"$work/watch.log" 2>&1 &
watcher=$!
sleep 1
ip -n $prog link set vcp$id up
wait $watcher
online=$(grep -c '^online  ONVIF ' "$work/watch.log")
[ "$online" = 2 ] || fail "watch saw $online ONVIF devices come after the adapter came up, not 2: $(cat "$work/watch.log")"
echo "watch: both ONVIF devices found once the adapter came up"

list() { cli list Admin12345 --json --wait 2000 >"$work/list.json" 2>"$work/cli.log"; }
list || fail "vexo-cli list failed"
/usr/bin/python3 - "$work/list.json" <<'PY' || fail "identification in the LAN scope: $(cat "$work/list.json")"
import json, sys
onvif = [d for d in json.load(open(sys.argv[1])) if d["protocol"] == "ONVIF"]
assert len(onvif) == 2, onvif
assert sorted(d["ipv4Address"] for d in onvif) == ["192.0.2.11", "192.0.2.12"], onvif
assert all(d["identified"] and d["serialNumber"] for d in onvif), onvif
PY
echo "list: both ONVIF devices identified"

cli onvif-modify 192.0.2.11 Admin12345 --ipv4 192.0.2.13 --wait 2000 >>"$work/cli.log" 2>&1 ||
    fail "onvif-modify failed"
sleep 0.5
list || fail "second list failed"
/usr/bin/python3 - "$work/list.json" <<'PY' || fail "not seen at the new address: $(cat "$work/list.json")"
import json, sys
onvif = [d for d in json.load(open(sys.argv[1])) if d["protocol"] == "ONVIF"]
assert sorted(d["ipv4Address"] for d in onvif) == ["192.0.2.12", "192.0.2.13"], onvif
PY
echo "onvif-modify: the device answers at 192.0.2.13"
echo "quit" >&3

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# The LAN scope inside network namespaces made here, never in the machine's own:
#
#   [prog] 198.51.100.10/25  (vp1) ── bridge in [br] ── (vd1) [devA] 203.0.113.20/24, simulated devices
#          198.51.100.130/25 (vp2) ───────────────────── (vd2) [devB] 192.0.2.20/24, simulated devices
#
# The program's end and the devices sit in different subnets, and the second link is
# only reached if the library sends on every interface. Skipped (77) where
# namespaces cannot be made.
set -u
bin=${VEXO_TEST_BIN_DIR:?}
id=$$
ns_prog=vxp$id ns_br=vxbr$id ns_a=vxa$id ns_b=vxb$id
port=$((40000 + id % 20000))
. "$(dirname "$0")/netns.sh"

fail() {
    report_failure "$@"
    exit 1
}

make_namespaces $ns_prog $ns_br $ns_a $ns_b

set -e
# Link A through a bridge, link B direct.
bridged_link vp1$id $ns_prog 198.51.100.10/25 vd1$id $ns_a 203.0.113.20/24 $ns_br
direct_link vp2$id $ns_prog 198.51.100.130/25 vd2$id $ns_b 192.0.2.20/24
set +e

export VEXO_SCOPE=lan VEXO_PORT=$port
start_simulator $ns_a a 3 11 $port
start_simulator $ns_b b 3 12 $port
for n in a b; do
    simulator_ready $n || fail "simulator $n did not start"
done

cli() { ip netns exec $ns_prog env VEXO_SCOPE=lan VEXO_PORT=$port "$bin/vexo-cli" "$@"; }
list() { cli list --json --wait 1500 >"$work/list.json" 2>"$work/cli.log"; }

list || fail "vexo-cli list failed"
count=$(/usr/bin/python3 -c 'import json,sys; print(len(json.load(open(sys.argv[1]))))' "$work/list.json")
[ "$count" = 6 ] || fail "expected 6 devices on two links, found $count"
echo "found $count devices on two links"

# Activate a new device and move an activated one to another subnet.
fresh=$(/usr/bin/python3 -c 'import json,sys; print(next(d["serialNumber"] for d in json.load(open(sys.argv[1])) if not d["activated"]))' "$work/list.json")
cli activate "$fresh" "Lan-Pass123" --wait 1000 2>>"$work/cli.log" || fail "activation of $fresh failed"
mac=$(/usr/bin/python3 -c 'import json,sys; print(next(d["mac"] for d in json.load(open(sys.argv[1])) if d["serialNumber"] == sys.argv[2]))' "$work/list.json" "$fresh")
cli modify "$mac" Lan-Pass123 --ipv4 203.0.113.99 --mask 255.255.255.0 --gateway 203.0.113.1 --dhcp off --wait 2000 \
    2>>"$work/cli.log" || fail "network change of $mac failed"

list || fail "second list failed"
/usr/bin/python3 - "$work/list.json" "$fresh" "$mac" <<'PY' || fail "changes not seen"
import json, sys
devices = {d["mac"]: d for d in json.load(open(sys.argv[1]))}
assert len(devices) == 6, len(devices)
assert any(d["serialNumber"] == sys.argv[2] and d["activated"] for d in devices.values()), "not activated"
assert devices[sys.argv[3]]["ipv4Address"] == "203.0.113.99", devices[sys.argv[3]]
PY
echo "activation and network change across subnets seen"
echo "1 passed, 0 failed"

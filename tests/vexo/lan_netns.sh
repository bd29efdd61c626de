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
work=$(mktemp -d)
pids=()

cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    for n in $ns_prog $ns_br $ns_a $ns_b; do ip netns del "$n" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT

skip() {
    echo "SKIP: $*"
    exit 77
}
fail() {
    echo "FAIL: $*"
    for f in "$work"/*.log; do [ -f "$f" ] && { echo "== $f"; tail -20 "$f"; }; done
    exit 1
}

[ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
command -v ip >/dev/null || skip "no ip command (iproute2)"
ip netns add $ns_prog 2>/dev/null || skip "cannot create network namespaces here"
for n in $ns_br $ns_a $ns_b; do ip netns add $n || skip "cannot create network namespaces here"; done

set -e
for n in $ns_prog $ns_br $ns_a $ns_b; do ip -n $n link set lo up; done
# Link A through a bridge.
ip link add vp1$id type veth peer name vb1$id
ip link add vd1$id type veth peer name vb2$id
ip link set vp1$id netns $ns_prog
ip link set vb1$id netns $ns_br
ip link set vb2$id netns $ns_br
ip link set vd1$id netns $ns_a
ip -n $ns_br link add br0 type bridge
ip -n $ns_br link set vb1$id master br0
ip -n $ns_br link set vb2$id master br0
ip -n $ns_br link set br0 up
ip -n $ns_br link set vb1$id up
ip -n $ns_br link set vb2$id up
ip -n $ns_prog addr add 198.51.100.10/25 dev vp1$id
ip -n $ns_prog link set vp1$id up
ip -n $ns_a addr add 203.0.113.20/24 dev vd1$id
ip -n $ns_a link set vd1$id up
# Link B direct.
ip link add vp2$id type veth peer name vd2$id
ip link set vp2$id netns $ns_prog
ip link set vd2$id netns $ns_b
ip -n $ns_prog addr add 198.51.100.130/25 dev vp2$id
ip -n $ns_prog link set vp2$id up
ip -n $ns_b addr add 192.0.2.20/24 dev vd2$id
ip -n $ns_b link set vd2$id up
set +e

export VEXO_SCOPE=lan VEXO_PORT=$port
for n in a b; do
    ns_var=ns_$n
    ip netns exec ${!ns_var} env VEXO_SCOPE=lan "$bin/vexo-devsim" --scope lan --port $port --count 3 \
        --seed $([ $n = a ] && echo 11 || echo 12) --test-mode --no-stdin >"$work/sim-$n.log" 2>&1 &
    pids+=($!)
done
for n in a b; do
    for _ in $(seq 50); do grep -q '^ready' "$work/sim-$n.log" && break; sleep 0.1; done
    grep -q '^ready' "$work/sim-$n.log" || fail "simulator $n did not start"
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

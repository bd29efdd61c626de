#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# The IPv6 link-local path of the LAN scope, inside network namespaces made here:
#
#   [prog6] no IPv4, link-local only (vl1) ──────────── (vm1) [devA] 203.0.113.20/24, 4 devices
#   [prog]  198.51.100.10/24, IPv6 off  (vl2) ──────────── (vm2) [devB] 192.0.2.20/24,   2 devices
#           198.51.100.140/25 and IPv6  (vl3) ──────────── (vm3) [devC] 192.0.2.150/25,  3 devices
#
# Checks: from an adapter without any IPv4 address every device is listed within 2 s with its
# IPv4 settings, and activation, network change, key query, reset and restore work; an adapter with IPv6 switched off is
# still served over IPv4; a device heard over IPv4 and IPv6 is one row and one online event,
# a request that reaches it both ways is carried out once, and it stays online while only
# one of the two paths hears it. Skipped (77) where namespaces cannot be made.
set -u
bin=${VEXO_TEST_BIN_DIR:?}
id=$$
ns_p6=vlp6$id ns_p=vlp$id ns_a=vla$id ns_b=vlb$id ns_c=vlc$id
port=$((40000 + (id + 13) % 20000))
. "$(dirname "$0")/netns.sh"

fail() {
    count_failure "$@"
}

make_namespaces $ns_p6 $ns_p $ns_a $ns_b $ns_c

set -e
for n in $ns_p6 $ns_p $ns_a $ns_b $ns_c; do
    # Link-local addresses usable at once: duplicate address detection would only add a second
    # of waiting that this test does not look at. New namespaces may start with IPv6 off.
    ip netns exec $n sysctl -qw net.ipv6.conf.all.accept_dad=0 net.ipv6.conf.default.accept_dad=0 \
        net.ipv6.conf.all.disable_ipv6=0 net.ipv6.conf.default.disable_ipv6=0
    ip netns exec $n sysctl -qw net.ipv4.conf.all.rp_filter=0 net.ipv4.conf.default.rp_filter=0
done
direct_link vl1$id $ns_p6 - vm1$id $ns_a 203.0.113.20/24
direct_link vl2$id $ns_p 198.51.100.10/24 vm2$id $ns_b 192.0.2.20/24
ip netns exec $ns_p sysctl -qw net.ipv6.conf.vl2$id.disable_ipv6=1
direct_link vl3$id $ns_p 198.51.100.140/25 vm3$id $ns_c 192.0.2.150/25
set +e

# The program's end of link A has nothing but its link-local address.
if ip -n $ns_p6 -4 addr show dev vl1$id | grep -q inet || ! ip -n $ns_p6 -6 addr show dev vl1$id | grep -q 'inet6 fe80'; then
    skip "the namespace's adapter has IPv4, or no IPv6 link-local address"
fi

start_simulator $ns_a a 4 31 $port
start_simulator $ns_b b 2 32 $port
# devC's simulator says at exit how many requests came both ways.
ip netns exec $ns_c env VEXO_SCOPE=lan "$bin/vexo-devsim" --scope lan --port $port --count 3 --seed 33 \
    --test-mode --no-stdin --verbose >"$work/sim-c.log" 2>&1 &
sim_c=$!
pids+=($sim_c)
for n in a b c; do
    simulator_ready $n || { fail "simulator $n did not start"; exit 1; }
done

cli6() { ip netns exec $ns_p6 env VEXO_SCOPE=lan VEXO_PORT=$port "$bin/vexo-cli" "$@"; }
cli() { ip netns exec $ns_p env VEXO_SCOPE=lan VEXO_PORT=$port "$bin/vexo-cli" "$@"; }
py() { /usr/bin/python3 -c "$@"; }
count() { py 'import json,sys; print(len(json.load(open(sys.argv[1]))))' "$1"; }
# What a simulator of COUNT devices from SEED holds ("serial mac ipv4 activated" lines), asked on
# the loopback inside NAMESPACE.
population() { # namespace count seed
    printf 'list\nquit\n' | ip netns exec "$1" "$bin/vexo-devsim" --scope loopback --port 0 --count "$2" --seed "$3" \
        --test-mode 2>/dev/null
}

# 1. Only a link-local address: the four devices within 2 s, each with the IPv4 settings the
# simulator holds (the same population, asked on its loopback inside devA's namespace).
population $ns_a 4 31 >"$work/population.txt"
cli6 list --json --wait 2000 >"$work/list6.json" 2>"$work/cli.log"
if py 'import json,sys
shown = {d["mac"]: d["ipv4Address"] for d in json.load(open(sys.argv[1]))}
held = {f[1]: f[2] for f in (l.split() for l in open(sys.argv[2])) if len(f) == 4 and len(f[1]) == 17}
assert len(held) == 4 and shown == held, (shown, held)' "$work/list6.json" "$work/population.txt"; then
    echo "link-local only: 4 of 4 devices within 2 s, with their IPv4 settings"
else
    fail "link-local only: $(count "$work/list6.json") of 4 devices: $(head -c 600 "$work/list6.json")"
fi

# 2. Every kind of request over the link-local path: activation, network change, key query,
# password reset with the maker's key for that material, restore with the day's security code.
fresh=$(py 'import json,sys; print(next(d["serialNumber"] for d in json.load(open(sys.argv[1])) if not d["activated"]))' "$work/list6.json")
mac=$(py 'import json,sys; print(next(d["mac"] for d in json.load(open(sys.argv[1])) if d["serialNumber"] == sys.argv[2]))' "$work/list6.json" "$fresh")
others=($(py 'import json,sys; print(" ".join(d["serialNumber"] for d in json.load(open(sys.argv[1])) if d["serialNumber"] != sys.argv[2]))' "$work/list6.json" "$fresh"))
done_steps=""
step() { "$@" 2>>"$work/cli.log" && done_steps="$done_steps ${2:-$1}"; }
step cli6 activate "$fresh" Link-Pass123 --wait 1000 \
    && step cli6 modify "$mac" Link-Pass123 --ipv4 203.0.113.99 --mask 255.255.255.0 --gateway 203.0.113.1 --dhcp off \
        --wait 2000 \
    && step cli6 key "${others[0]}" --wait 1000 >"$work/key.txt" \
    && reset_key=$("$bin/vexo-keyservice" reset --key "$(grep -o "VK1\.${others[0]}\.[A-Za-z0-9_-]*" "$work/key.txt")" \
        2>>"$work/cli.log") \
    && step cli6 reset "${others[0]}" Reset-Pass123 --key "$reset_key" --wait 1000 \
    && code=$("$bin/vexo-keyservice" restore --qr "A:X**${others[1]}" 2>>"$work/cli.log") \
    && step cli6 restore "${others[1]}" "$code" --wait 1000
if cli6 list --json --wait 2000 >"$work/after6.json" 2>>"$work/cli.log" \
    && py 'import json,sys
d = {x["mac"]: x for x in json.load(open(sys.argv[1]))}
assert len(d) == 4 and d[sys.argv[2]]["ipv4Address"] == "203.0.113.99" and d[sys.argv[2]]["activated"], d' \
        "$work/after6.json" "$mac" && [ "$done_steps" = " activate modify key reset restore" ]; then
    echo "link-local only: activation, network change, key query, reset and restore done"
else
    fail "link-local only: requests done:$done_steps (device $fresh, $mac)"
fi

# 3. IPv6 off on one adapter, both paths on the other: 2 + 3 devices, each listed once; and a
# device of devC activated (its requests reach it both ways).
cli list --json --wait 2000 >"$work/list.json" 2>>"$work/cli.log"
n=$(count "$work/list.json")
unique=$(py 'import json,sys; print(len({d["mac"] for d in json.load(open(sys.argv[1]))}))' "$work/list.json")
population $ns_c 3 33 >"$work/population-c.txt"
fresh_c=$(py 'import json,sys
devc = {f[0] for f in (l.split() for l in open(sys.argv[2])) if len(f) == 4 and f[3] == "0"}
print(next((d["serialNumber"] for d in json.load(open(sys.argv[1])) if d["serialNumber"] in devc), ""))' \
    "$work/list.json" "$work/population-c.txt")
if [ "$n" = 5 ] && [ "$unique" = 5 ]; then
    echo "IPv6 off and both paths: 5 of 5 devices, one row each"
else
    fail "IPv6 off and both paths: $n rows, $unique devices, of 5"
fi
activated_c=no
[ -n "$fresh_c" ] && cli activate "$fresh_c" Both-Pass123 --wait 1000 2>>"$work/cli.log" && activated_c=yes

# 4. One online event per device heard both ways, and still online while IPv4 is quiet.
if ! command -v nft >/dev/null; then
    echo "SKIP (one path quiet): no nft command; install nftables"
else
mkdir -p "$work/wlog"
ip netns exec $ns_p env VEXO_SCOPE=lan VEXO_PORT=$port VEXO_INQUIRY_INTERVAL_MS=500 VEXO_OFFLINE_TIMEOUT_MS=3000 \
    VEXO_LOG_DIR="$work/wlog" "$bin/vexo-cli" watch >"$work/watch.out" 2>"$work/watch.log" &
watcher=$!
pids+=($watcher)
for _ in $(seq 50); do [ "$(grep -c '^online' "$work/watch.out")" -ge 5 ] && break; sleep 0.1; done
sleep 1.5 # answers of both paths to several inquiries
# devC's answers over IPv4 stop; its IPv6 path goes on.
ip netns exec $ns_c nft -f - <<NFT || fail "cannot add the dropping rule"
table inet quiet {
    chain o {
        type filter hook output priority 0; policy accept;
        meta nfproto ipv4 udp dport $((port + 1)) counter drop
    }
}
NFT
sleep 6 # twice the offline timeout
kill $watcher 2>/dev/null
wait $watcher 2>/dev/null
dropped=$(ip netns exec $ns_c nft list table inet quiet | grep -o 'packets [0-9]*' | awk '{print $2}')
ip netns exec $ns_c nft delete table inet quiet
online=$(grep -c '^online' "$work/watch.out")
distinct=$(grep '^online' "$work/watch.out" | awk '{print $2}' | sort -u | wc -l)
offline=$(grep -c '^offline' "$work/watch.out")
if [ "$online" = 5 ] && [ "$distinct" = 5 ] && [ "$offline" = 0 ] && [ "${dropped:-0}" -gt 0 ]; then
    echo "both paths: one online event per device, none offline while IPv4 was quiet ($dropped answers dropped)"
else
    fail "both paths: $online online events for $distinct devices, $offline offline, ${dropped:-no} IPv4 answers dropped"
fi
fi

# 5. The activation reached devC both ways and was carried out once: the other copy got the stored answer.
kill -TERM $sim_c
wait $sim_c 2>/dev/null
if [ $activated_c = yes ] && grep -q 'copies from the other path [1-9]' "$work/sim-c.log"; then
    echo "both paths: activation carried out once, its second copy answered from the stored answer"
else
    fail "both paths: activation ${activated_c}; simulator counts: $(tr '\n' ' ' <"$work/sim-c.log")"
fi

finish_checks 5

# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# Sourced by the network namespace tests: namespaces and links made here, simulators started
# in them, and everything removed again on exit. Nothing touches the machine's own network.
# The caller sets `id` (unique per run, used in link names) before sourcing.

work=$(mktemp -d)
pids=()
namespaces=()

netns_cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    for n in "${namespaces[@]}"; do ip netns del "$n" 2>/dev/null; done
    rm -rf "$work"
}
trap netns_cleanup EXIT

skip() {
    echo "SKIP: $*"
    exit 77
}

# Prints the message and the end of every log of the run.
report_failure() {
    echo "FAIL: $*"
    for f in "$work"/*.log; do [ -f "$f" ] && { echo "== $f"; tail -20 "$f"; }; done
}

# For tests that go on after a failed check: counts it, and finish_checks ends the run.
failures=0
count_failure() {
    report_failure "$@"
    failures=$((failures + 1))
}

# The closing line of a test that made CHECKS checks with count_failure.
finish_checks() {
    [ "$failures" = 0 ] && echo "$1 passed, 0 failed" || { echo "$failures failed"; exit 1; }
}

# Makes the named namespaces with their loopback up, or skips the test where that is impossible.
make_namespaces() {
    [ "$(id -u)" -eq 0 ] || skip "network namespaces need root"
    command -v ip >/dev/null || skip "no ip command (iproute2)"
    local n
    for n in "$@"; do
        ip netns add "$n" 2>/dev/null || skip "cannot create network namespaces here"
        namespaces+=("$n")
        ip -n "$n" link set lo up
    done
}

# One end of a link: moved into NAMESPACE, given ADDRESS unless it is "-", brought up unless
# STATE is "down".
link_end() { # interface namespace address [state]
    ip link set "$1" netns "$2"
    [ "$3" = - ] || ip -n "$2" addr add "$3" dev "$1"
    [ "${4:-up}" = down ] || ip -n "$2" link set "$1" up
}

# A direct cable: link PROG_IF in PROG_NS with DEV_IF in DEV_NS.
direct_link() { # prog_if prog_ns prog_address dev_if dev_ns dev_address [prog_state]
    ip link add "$1" type veth peer name "$4"
    link_end "$1" "$2" "$3" "${7:-up}"
    link_end "$4" "$5" "$6"
}

# A link through the bridge br0 in BRIDGE_NS, which a test can make drop frames.
bridged_link() { # prog_if prog_ns prog_address dev_if dev_ns dev_address bridge_ns
    local b1=vb1$id b2=vb2$id
    ip link add "$1" type veth peer name "$b1"
    ip link add "$4" type veth peer name "$b2"
    ip link set "$b1" netns "$7"
    ip link set "$b2" netns "$7"
    ip -n "$7" link add br0 type bridge
    ip -n "$7" link set "$b1" master br0
    ip -n "$7" link set "$b2" master br0
    local l
    for l in br0 "$b1" "$b2"; do ip -n "$7" link set "$l" up; done
    link_end "$1" "$2" "$3"
    link_end "$4" "$5" "$6"
}

# A simulator in the LAN scope inside NAMESPACE, logging to $work/sim-NAME.log.
start_simulator() { # namespace name count seed port
    ip netns exec "$1" env VEXO_SCOPE=lan "$bin/vexo-devsim" --scope lan --port "$5" --count "$3" --seed "$4" \
        --test-mode --no-stdin >"$work/sim-$2.log" 2>&1 &
    pids+=($!)
}

# Waits up to five seconds for the simulator NAME to say it is ready.
simulator_ready() { # name
    local _
    for _ in $(seq 50); do grep -q '^ready' "$work/sim-$1.log" && return 0; sleep 0.1; done
    grep -q '^ready' "$work/sim-$1.log"
}

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# ONVIF clients that nobody here wrote, against the simulator's ONVIF devices: the npm
# package "onvif" (the version pinned in package-lock.json, installed into the build folder)
# and Debian's onvif-util. Both discover by multicast, so everything runs in network
# namespaces made here. Missing tools fail the test, they never skip it.
#
# Usage: interop_netns.sh MODULES_DIR   (VEXO_TEST_BIN_DIR names the built tools)
set -u
here=$(cd "$(dirname "$0")" && pwd)
modules=${1:?usage: interop_netns.sh MODULES_DIR}
bin=${VEXO_TEST_BIN_DIR:?VEXO_TEST_BIN_DIR is not set}
export VEXO_TEST_BIN_DIR

missing=()
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
command -v onvif-util >/dev/null || missing+=(onvif-tools)
if [ ${#missing[@]} -ne 0 ]; then
    echo "FAIL: the ONVIF interoperability test needs the packages: ${missing[*]} (scripts/dev.sh installs them)"
    exit 1
fi

# The pinned package, installed again only when the lock file changed.
mkdir -p "$modules"
if ! cmp -s "$here/package-lock.json" "$modules/package-lock.json" || [ ! -d "$modules/node_modules/onvif" ]; then
    cp "$here/package.json" "$here/package-lock.json" "$modules/"
    (cd "$modules" && npm ci --no-audit --no-fund --loglevel=error) || {
        echo "FAIL: npm ci of the pinned ONVIF client failed in $modules"
        exit 1
    }
fi

id=$$
# shellcheck source=../../vexo/netns.sh
. "$here/../../vexo/netns.sh"
# Two namespaces joined by a veth pair: the clients in one, the simulator in the other (onvif-util
# turns multicast loopback off, so its Probe must cross a link). The devices get addresses of
# their own on the simulator's end; nothing reaches the machine's own network.
clients=vxoc$id
devices=vxod$id
make_namespaces "$clients" "$devices"
direct_link voa$id "$clients" 192.0.2.1/24 vob$id "$devices" 192.0.2.2/24
for a in 11 12 13 77; do ip -n "$devices" addr add 192.0.2.$a/24 dev vob$id; done
ip -n "$clients" route add 224.0.0.0/4 dev voa$id
ip -n "$devices" route add 224.0.0.0/4 dev vob$id

ip netns exec "$clients" env NODE_PATH="$modules/node_modules" VEXO_TEST_BIN_DIR="$bin" \
    VEXO_INTEROP_DEVICE_NS="$devices" timeout 90 node "$here/interop.js"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The VEXO Tool developers
#
# The demo: simulated devices on loopback, and the program listing them live.
# Usage: scripts/demo.sh <folder with the built executables>
set -euo pipefail
bin=${1:?usage: demo.sh BINDIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Nothing of the demo ever leaves this machine.
export VEXO_SCOPE=loopback
state=${XDG_STATE_HOME:-$HOME/.local/state}/vexotool-demo
mkdir -p "$state"

# The simulator and the program both take VEXO_PORT and VEXO_WSD_PORT if they are set, else the
# same default ports. A mixed site: 40 devices of the program's own protocol, the first 4 of them
# answering ONVIF as well, and 6 devices of other makers that speak ONVIF only.
"$bin/vexo-devsim" --scope loopback --count 40 --seed 2026 --no-stdin --onvif 6 --onvif-both 4 \
    --state "$state/site.json" --test-mode >"$state/devsim.log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    grep -q '^ready' "$state/devsim.log" 2>/dev/null && break
    sleep 0.1
done
echo "Simulated devices on 127.0.0.1:$(sed -n 's/^ready //p' "$state/devsim.log"), ONVIF on port $(sed -n 's/^wsd-port //p' "$state/devsim.log") (state in $state/site.json; password of the activated devices and of the ONVIF user admin: Admin12345)."

if [ -x "$bin/vexotool" ]; then
    # The program finds its settings and the manual beside itself; it starts in its own folder as an installed one would.
    cd "$bin"
    ./vexotool
else
    "$bin/vexo-cli" list --wait 1500
    echo "Watching device events (Ctrl-C to end):"
    "$bin/vexo-cli" watch
fi

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and starts the program.
#
#   ./scripts/run.sh           on the bundled panel simulator: a simulated panel
#                              with a few tenants and events on a pseudo-terminal,
#                              with port 1 pointed at it while the program runs
#   ./scripts/run.sh --panel   on a real panel, with the ports as configured
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}

use_simulator=1
case "${1:-}" in
    --panel) use_simulator=0 ;;
    "") ;;
    *) echo "usage: $0 [--panel]" >&2; exit 2 ;;
esac

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display: the program is a desktop application and needs a graphical" >&2
    echo "session (DISPLAY or WAYLAND_DISPLAY is not set). Start it from a desktop, or run" >&2
    echo "./scripts/test.sh to build and test without one." >&2
    exit 1
fi

"$here/scripts/build.sh" velno velno-panel-sim velno-setport

if [ "$use_simulator" -eq 0 ]; then
    exec "$build/src/velno"
fi

work=$(mktemp -d)
cp "$here/tools/panel-sim/demo-state.txt" "$work/panel.txt"
"$build/tools/panel-sim/velno-panel-sim" --state "$work/panel.txt" >"$work/line" 2>"$work/sim.log" &
sim=$!
for _ in $(seq 50); do
    [ -s "$work/line" ] && break
    kill -0 "$sim" 2>/dev/null || break
    sleep 0.1
done
line=$(head -n1 "$work/line" 2>/dev/null || true)
if [ -z "$line" ]; then
    echo "The panel simulator did not start:" >&2
    cat "$work/sim.log" >&2
    exit 1
fi

previous=$("$build/tools/setport/velno-setport" 1 "$line")
cleanup() {
    "$build/tools/setport/velno-setport" 1 "$previous" >/dev/null || true
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    echo "The simulated panel's state is kept in $work/panel.txt"
}
trap cleanup EXIT INT TERM

echo "Simulated panel on $line (port 1), master code 1234."
"$build/src/velno"

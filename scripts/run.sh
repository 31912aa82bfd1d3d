#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display: the program needs a graphical desktop (DISPLAY or WAYLAND_DISPLAY)." >&2
    echo "Run it from a desktop session, or use ./scripts/test.sh to build and test without one." >&2
    exit 1
fi
"$here/scripts/build.sh"
exec "$build/src/velno"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Configures and builds into build/ (or the folder in BUILD_DIR): everything,
# or only the targets named on the command line. The configuration is the
# "dev" preset of CMakePresets.json, or the one in PRESET.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
"$here/scripts/install-deps.sh"
# Rebuilds reuse earlier compiles where ccache is installed.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
type=()
[ -n "${BUILD_TYPE:-}" ] && type=(-DCMAKE_BUILD_TYPE="$BUILD_TYPE")
(cd "$here" && cmake --preset "${PRESET:-dev}" -B "$build" "${launcher[@]}" "${type[@]}" >/dev/null)
targets=()
for t in "$@"; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"

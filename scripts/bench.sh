#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the benchmarks in Release into build-bench/
# (or the folder in BUILD_DIR), and runs them: every figure is printed beside
# its goal. Options go to velno-bench: --runs N (runs per median, default 5),
# --only ingest|linerate|memory|waits|startup|files|journal (repeatable). No display
# needed: the line-rate mode starts the program on a virtual X server of its own.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build-bench}
"$here/scripts/install-deps.sh" xvfb xdotool
PRESET=release "$here/scripts/build.sh" velno-bench velno-bench-program velno velno-setport
"$BUILD_DIR/bench/velno-bench" "$@"

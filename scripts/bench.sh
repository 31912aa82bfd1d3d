#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the benchmarks in Release into build-bench/
# (or the folder in BUILD_DIR), and runs them: every figure is printed beside
# its goal. Options go to velno-bench: --runs N (runs per median, default 5),
# --only ingest|linerate|memory|waits|startup|files|journal (repeatable). No display
# needed: the line-rate mode starts the program on a virtual X server of its own.
# The team's figures are taken on the PostgreSQL server the VELNO_TEST_PG_*
# variables name, or else on one of its own started here and stopped at the end.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
export BUILD_DIR=${BUILD_DIR:-$here/build-bench}
"$here/scripts/install-deps.sh" xvfb xdotool postgresql libqt6sql6-psql openssl
PRESET=release "$here/scripts/build.sh" velno-bench velno-bench-program velno velno-setport
if [ -z "${VELNO_TEST_PG_SOCKET:-}" ]; then
    pg_dir=$(mktemp -d)
    trap '"$here/scripts/pg-test-server.sh" stop "$pg_dir" >/dev/null 2>&1 || rm -rf "$pg_dir"' EXIT
    "$here/scripts/pg-test-server.sh" start "$pg_dir"
    # shellcheck source=/dev/null
    . "$pg_dir/pg-test-server.env"
fi
"$BUILD_DIR/bench/velno-bench" "$@"

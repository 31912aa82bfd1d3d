#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program and every test with the address and undefined-behaviour
# sanitizers into build-asan/ (or the folder in SANITIZE_BUILD_DIR) and runs
# the tests there (no display needed). Any finding fails the test it occurs in.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${SANITIZE_BUILD_DIR:-$here/build-asan}
"$here/scripts/install-deps.sh"
# Rebuilds reuse earlier compiles where ccache is installed.
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# The flags are the "asan" preset's (CMakePresets.json).
(cd "$here" && cmake --preset asan -B "$build" "${launcher[@]}" >/dev/null)
cmake --build "$build" -j"$(nproc)"

# Qt's libraries keep some one-time allocations of the system's libraries for
# the life of the process: those alone are suppressed (see the file).
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:check_initialization_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$here/scripts/lsan-suppressions.txt:print_suppressions=0"
export QT_QPA_PLATFORM=offscreen
cd "$build"
# The install test packages the build; the package is built and checked from
# the normal build (scripts/test.sh), nobody installs a sanitizer build. The
# desktop tier runs the normal build's program on an X server: its timings
# are not for a sanitizer build.
ctest --output-on-failure -j"$(nproc)" -E '^install_layout$' -LE '^desktop$' </dev/null

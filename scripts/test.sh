#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test (no display needed);
# then the same tests built with the address and undefined-behaviour sanitizers.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
# The install test builds the Debian package and checks it, the menu entry,
# the AppStream metadata and the manual pages with these; the journal's tests
# read times in Europe/Berlin (tzdata); the desktop tier (tests/desktop) runs
# the program on a virtual X server with an accessibility bus, and works it
# with xdotool, xclip and pyatspi; the team database's tests run against a
# PostgreSQL server of their own, reached with TLS (postgresql, openssl).
"$here/scripts/install-deps.sh" dpkg-dev lintian desktop-file-utils appstream man-db tzdata \
    xvfb xdotool xclip dbus at-spi2-core python3-pyatspi postgresql libqt6sql6-psql openssl
# Every C++ file as clang-format 14 writes it; scripts/format.sh mends them.
"$here/scripts/format.sh" --check
"$here/scripts/build.sh"
# The server for the team database's tests, stopped and deleted on the way out.
pg_dir=$(mktemp -d)
trap '"$here/scripts/pg-test-server.sh" stop "$pg_dir" >/dev/null 2>&1 || rm -rf "$pg_dir"' EXIT
"$here/scripts/pg-test-server.sh" start "$pg_dir"
# shellcheck source=/dev/null
. "$pg_dir/pg-test-server.env"
(
    export QT_QPA_PLATFORM=offscreen
    cd "$build"
    ctest --output-on-failure -j"$(nproc)" </dev/null
)
# The core and velno-batch built without the windowing libraries, which
# proves that nothing of them needs a display, then their tests.
PRESET=core BUILD_DIR="$here/build-core" "$here/scripts/build.sh"
ctest --test-dir "$here/build-core" --output-on-failure -j"$(nproc)" </dev/null
"$here/scripts/sanitize.sh"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs every test (no display needed);
# then the same tests built with the address and undefined-behaviour sanitizers.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
# The install test builds the Debian package and checks it, the menu entry,
# the AppStream metadata and the manual pages with these.
"$here/scripts/install-deps.sh" dpkg-dev lintian desktop-file-utils appstream man-db tzdata
"$here/scripts/build.sh"
(
    export QT_QPA_PLATFORM=offscreen
    cd "$build"
    ctest --output-on-failure -j"$(nproc)" </dev/null
)
"$here/scripts/sanitize.sh"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the icon's PNG sizes from icons/velno.svg. The PNGs are kept in the
# repository so that building needs no SVG renderer; run this after changing
# the SVG.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
"$here/../scripts/install-deps.sh" librsvg2-bin
for size in 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$here/icons/velno.svg" -o "$here/icons/velno-$size.png"
done

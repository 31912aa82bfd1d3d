#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Formats every C++ file of the repository with clang-format 14 (Debian 12's:
# other versions disagree on a few files), or with --check only says which
# files it would change and fails then.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
"$here/scripts/install-deps.sh" clang-format-14
cd "$here"
mapfile -t files < <(find src tests tools bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ "${1:-}" = "--check" ]; then
    mapfile -t rejected < <(clang-format-14 --dry-run -Werror "${files[@]}" 2>&1 \
        | grep -oE '^[^: ]+\.(cpp|h):[0-9]+:[0-9]+: error' | cut -d: -f1 | sort -u)
    if [ ${#rejected[@]} -gt 0 ]; then
        echo "Not formatted (run scripts/format.sh): ${rejected[*]}" >&2
        exit 1
    fi
    echo "All ${#files[@]} C++ files formatted."
else
    clang-format-14 -i "${files[@]}"
fi

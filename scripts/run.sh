#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and launches the timer on this session's display.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! "$root/scripts/build.sh" --program >"$log" 2>&1; then
    cat "$log" >&2
    echo "The build failed; see above." >&2
    exit 1
fi

# Without a reachable display the program says so in one line and fails.
exec "$root/build/app/Pomvale"

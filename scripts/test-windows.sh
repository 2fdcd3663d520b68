#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows stage: cross-builds Pomvale.exe and its tests (scripts/build-windows.sh), then runs
# every Wine suite, tests/e2e/wine_*.sh, each in a Wine prefix of its own. Each suite prints how long
# it took; a skipped suite (exit 77) fails the stage, since CI installs all that the suites need.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build-windows.sh"
for suite in "$root"/tests/e2e/wine_*.sh; do
    [[ $suite == */wine_harness.sh ]] && continue
    start=$SECONDS
    echo "== ${suite##*/}"
    "$suite" "$root/build-windows"
    echo "== ${suite##*/}: $((SECONDS - start)) s"
done

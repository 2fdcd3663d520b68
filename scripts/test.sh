#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The test command: installs what is missing, builds the program with its tests into build/, and
# runs every suite (unit, window and end-to-end) with ctest:
#   scripts/test.sh [CTEST_ARGUMENTS...]     e.g. scripts/test.sh -L profile, or -R tst_frmmain
# scripts/gate.sh runs this and then everything else that CI checks.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
timed() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}

timed "install and build" "$root/scripts/build.sh"
timed "tests" ctest --test-dir "$root/build" --output-on-failure --timeout 300 "$@"

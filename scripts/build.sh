#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing and builds into build/ with the developers' preset (warnings are errors):
#   scripts/build.sh             the program, its tests and benchmarks
#   scripts/build.sh --program   the program alone, with only what building and running it needs
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
if [[ ${1:-} == --program ]]; then
    scripts/install-deps.sh scripts/packages-run.txt
    cmake --preset default -DBUILD_TESTING=OFF >/dev/null
    cmake --build --preset default --target Pomvale
else
    scripts/install-deps.sh
    cmake --preset default -DBUILD_TESTING=ON >/dev/null
    cmake --build --preset default
fi

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Everything CI checks (.ci/run), stage by stage, each printing how long it took: the test command
# (scripts/test.sh), then the same suites built with AddressSanitizer and UndefinedBehaviorSanitizer
# (build-asan/), the clang-format and clang-tidy gates, the Debian package (built with its own
# tests, checked by lintian, its packaged program run), and the Windows build with its end-to-end
# tests under Wine. Stops at the first stage that fails.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
start=$SECONDS
timed() {
    local name=$1 begun=$SECONDS
    shift
    "$@"
    echo "== $name: $((SECONDS - begun)) s"
}

timed "test command" scripts/test.sh
# The sanitizer preset sets ASAN_OPTIONS, UBSAN_OPTIONS and the leak suppressions for ctest.
timed "sanitizer build" sh -c 'cmake --preset sanitize >/dev/null && cmake --build --preset sanitize'
timed "sanitizer tests" ctest --preset sanitize
timed "clang-format and clang-tidy" scripts/lint.sh "$root/build"
timed "Debian package" tests/install/check_package.sh
# A stage of its own rather than a ctest: the Windows program is a separate cross-built project.
timed "Windows build and Wine tests" scripts/test-windows.sh
echo "== gate passed in $((SECONDS - start)) s"

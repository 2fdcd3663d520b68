#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds, and runs the whole test suite; then the same suite built with
# AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/), the clang-format and clang-tidy
# gates, the Debian package (built, checked by lintian, its packaged program run), and the Windows
# build with its end-to-end test under Wine. Each stage prints how long it took.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
timed() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}

timed "install and build" "$root/scripts/build.sh"
timed "tests" ctest --test-dir "$root/build" --output-on-failure --timeout 300

# The sanitizer preset sets ASAN_OPTIONS, UBSAN_OPTIONS and the leak suppressions for ctest.
cd "$root"
timed "sanitizer build" sh -c 'cmake --preset sanitize >/dev/null && cmake --build --preset sanitize'
timed "sanitizer tests" ctest --preset sanitize
timed "clang-format and clang-tidy" "$root/scripts/lint.sh" "$root/build"
timed "Debian package" "$root/tests/install/check_package.sh"
# A stage of its own rather than a ctest: the Windows program is a separate cross-built project.
timed "Windows build and Wine tests" "$root/scripts/test-windows.sh"

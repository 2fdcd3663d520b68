#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The style and static-analysis gates over the project's own sources:
#   scripts/lint.sh BUILD_DIR
# clang-format must leave every file as it is, and clang-tidy (.clang-tidy) must find nothing,
# using the build's compile_commands.json. Generated moc and resource files are not checked.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
# win32/ (the Windows front-end) is in the Windows build's compile commands, not this build's: its
# format is checked here, and clang-tidy finds none of its files in this build's database.
folders='core|app|timer|settings|options|platform|tests|bench|win32'

cd "$root"
mapfile -t sources < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
    grep -E "^($folders)/")

start=$SECONDS
clang-format --dry-run --Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files clean in $((SECONDS - start)) s"

start=$SECONDS
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
# The program's own code gets every check. The tests and benchmarks are not run through the static
# analyser (clang-analyzer-*), which costs half of their time (QCOMPARE and QVERIFY expand into
# branches it explores) and finds in them what the sanitizer build finds by running them.
program='app|core|timer|settings|options|platform|win32'
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "^$root/($program)/.*\.cpp\$" >"$log" 2>&1 || status=$?
run-clang-tidy -quiet -p "$build" -j "$(nproc)" -checks='-clang-analyzer-*' "^$root/(tests|bench)/.*\.cpp\$" \
    >>"$log" 2>&1 || status=$?
# clang-tidy counts the warnings it suppressed in Qt's headers; only findings matter.
grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Running clang-tidy|^clang-tidy(-[0-9]+)? |^$' "$log" || true
if [[ $status -ne 0 ]]; then
    echo "clang-tidy: findings above (exit status $status)" >&2
    exit 1
fi
echo "clang-tidy: clean in $((SECONDS - start)) s"

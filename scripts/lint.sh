#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The style and static-analysis gates over the project's own sources:
#   scripts/lint.sh [BUILD_DIR [WINDOWS_BUILD_DIR]]
# clang-format must leave every file as it is, and clang-tidy (.clang-tidy) must find nothing,
# using each build's compile_commands.json: the Linux build's for the Qt program, the tests and the
# core, and the Windows build's (configured here when it is not yet) for win32/ and the Wine tests'
# Windows helpers. Generated moc and resource files are not checked.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$root/build}
windows_build=${2:-$root/build-windows}
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
program='app|core|timer|settings|options|platform'
run-clang-tidy -quiet -p "$build" -j "$(nproc)" "^$root/($program)/.*\.cpp\$" >"$log" 2>&1 || status=$?
run-clang-tidy -quiet -p "$build" -j "$(nproc)" -checks='-clang-analyzer-*' "^$root/(tests|bench)/.*\.cpp\$" \
    >>"$log" 2>&1 || status=$?
# The Windows front-end and the Wine tests' helpers, as MinGW-w64 builds them: clang is told the
# target, and the C++ library's folders of MinGW's g++.
if [[ ! -f $windows_build/compile_commands.json ]]; then
    "$root/scripts/install-deps.sh" "$root/scripts/packages-windows.txt"
    (cd "$root/win32" && cmake --preset windows -B "$windows_build" >/dev/null)
fi
# g++ options that clang does not know (-Wno-restrict for the tests) are not findings.
mingw=(-extra-arg=--target=x86_64-w64-mingw32 -extra-arg=-Wno-unknown-warning-option)
while read -r folder; do
    mingw+=("-extra-arg=-isystem$folder")
done < <(x86_64-w64-mingw32-g++-posix -E -x c++ -v - </dev/null 2>&1 |
    sed -n '/#include <...> search starts here:/,/End of search list./p' | grep '/c++')
run-clang-tidy -quiet -p "$windows_build" "${mingw[@]}" -j "$(nproc)" \
    "^$root/(win32/.*|settings/windows/.*|tests/e2e/wine_probe)\.cpp\$" >>"$log" 2>&1 || status=$?
# clang-tidy counts the warnings it suppressed in Qt's headers; only findings matter.
grep -vE '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter|^Running clang-tidy|^clang-tidy(-[0-9]+)? |^$' "$log" || true
if [[ $status -ne 0 ]]; then
    echo "clang-tidy: findings above (exit status $status)" >&2
    exit 1
fi
echo "clang-tidy: clean in $((SECONDS - start)) s"

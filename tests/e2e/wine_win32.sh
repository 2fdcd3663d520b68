#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows helpers' in-process tests (win32/tests), cross-built with the Windows program, run
# under Wine on a private Xvfb: their windows are real, so they need a display.
#   wine_win32.sh BUILD_WINDOWS_DIR
# Exits 77 (skipped) when Wine, Xvfb or the build is missing.
set -euo pipefail
tests=$1/tests/win32_tests.exe
for tool in wine wineserver Xvfb; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -f $tests ]] || { echo "SKIP: no $tests"; exit 77; }

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" wine-win32
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
start_xvfb 1024x768 || fail "Xvfb did not start"
wine "$tests" 2>"$work/wine.log" | tr -d '\r' || fail "the Windows helpers' tests failed under Wine"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The core's tests (core/tests), cross-built with the Windows program, run under Wine: the same
# sources that ctest runs on Linux, built by MinGW-w64 against Windows' C++ runtime.
#   wine_core.sh BUILD_WINDOWS_DIR
# Exits 77 (skipped) when Wine or the build is missing.
set -euo pipefail
tests=$1/core/tests/core_tests.exe
command -v wine >/dev/null || { echo "SKIP: wine is not installed"; exit 77; }
[[ -f $tests ]] || { echo "SKIP: no $tests"; exit 77; }

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" wine-core
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
# A console program: no display, and a prefix of its own.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
wine "$tests" 2>"$work/wine.log" | tr -d '\r' || fail "the core's tests failed under Wine"

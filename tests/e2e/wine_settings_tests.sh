#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The settings library's tests (settings/tests) and the Windows seam's (settings/windows/tests),
# cross-built with the Windows program, run under Wine: the library's twice, with the ANSI code page
# of a Western system (1252) and of a Japanese one (932), the seam's with the Japanese one. The
# program must call no profile function of the system.
#   wine_settings_tests.sh BUILD_WINDOWS_DIR
# Exits 77 (skipped) when Wine or the build is missing.
set -euo pipefail
library=$1/settings/tests/settings_tests.exe
seam=$1/settings/windows/tests/windows_seam_tests.exe
command -v wine >/dev/null || { echo "SKIP: wine is not installed"; exit 77; }
[[ -f $library && -f $seam ]] || { echo "SKIP: no $library or $seam"; exit 77; }

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" wine-settings-tests
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
# Console programs: no display, and a prefix of their own.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
for locale in C.UTF-8 ja_JP.UTF-8; do
    echo "library tests, LANG=$locale"
    LANG=$locale LC_ALL=$locale wine "$library" 2>>"$work/wine.log" | tr -d '\r' ||
        fail "the settings library's tests failed under Wine with LANG=$locale"
done
echo "seam tests, LANG=ja_JP.UTF-8"
LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$seam" 2>>"$work/wine.log" | tr -d '\r' ||
    fail "the Windows seam's tests failed under Wine"
for program in "$1/Pomvale.exe" "$1/settings-reader.exe"; do
    if x86_64-w64-mingw32-objdump -p "$program" | grep -qi 'PrivateProfile'; then
        fail "${program##*/} imports a profile function of the system"
    fi
done
echo "PASS"

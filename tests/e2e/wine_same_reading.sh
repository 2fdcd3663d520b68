#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The same Pomvale.ini, the same reading: each file of tests/ini-corpus/ is read by the Windows
# program's settings code under Wine and by the Linux program's, and what each reads for Enable and
# Path must be the same, but for the files named in tests/ini-corpus/differences.txt (each with its
# reason, which the README repeats).
#   wine_same_reading.sh BUILD_WINDOWS_DIR [LINUX_BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
corpus=$here/../ini-corpus
linux_reader=${2:-$here/../../build}/tests/e2e/settings-reader
[[ -x $linux_reader ]] || { echo "SKIP: no Linux build with $linux_reader"; exit 77; }
source "$here/wine_harness.sh" wine-same-reading "$1"

mkdir "$work/linux" "$work/windows"
cp "$linux_reader" "$work/linux/"
cp "$build/settings-reader.exe" "$work/windows/"
differ=()
for file in "$corpus"/*.ini; do
    name=${file##*/}
    cp "$file" "$work/linux/Pomvale.ini"
    cp "$file" "$work/windows/Pomvale.ini"
    linux=$(XDG_CONFIG_HOME=/proc/none "$work/linux/settings-reader")
    windows=$(wine "$work/windows/settings-reader.exe" 2>>"$work/wine.log" | tr -d '\r')
    if [[ $linux == "$windows" ]]; then
        echo "same: $name"
    elif grep -q "^${name%.ini}:" "$corpus/differences.txt"; then
        echo "differs, as listed: $name"
    else
        differ+=("$name")
        printf 'DIFFERS: %s\n  Linux:   %s\n  Windows: %s\n' "$name" "${linux//$'\n'/ | }" "${windows//$'\n'/ | }" >&2
    fi
done
[[ ${#differ[@]} -eq 0 ]] || fail "read differently and not listed: ${differ[*]}"
echo "PASS"

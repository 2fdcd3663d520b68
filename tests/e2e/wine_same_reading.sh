#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The same Pomvale.ini, the same reading, as Windows reads it: each file of tests/ini-corpus/ is read
# by the Windows program's settings code under Wine and by the Linux program's, and each must print
# exactly what tests/ini-corpus/expected/NAME.txt records (what Windows' own profile functions read,
# with UTF-8 read as UTF-8 and long values not cut). Then each program saves new values into each
# file, and the other must read the file as the saver does: the values when the save was done, the
# old reading when it was refused.
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
linux() { XDG_CONFIG_HOME=/proc/none "$work/linux/settings-reader" "$@"; }
windows() { wine "$work/windows/settings-reader.exe" "$@" 2>>"$work/wine.log" | tr -d '\r'; }
# Puts a file where one program reads it, and the other's copy is the same file.
place() {
    cp "$1" "$work/linux/Pomvale.ini"
    cp "$1" "$work/windows/Pomvale.ini"
}
show() { printf '%s' "$1" | cat -v | sed 's/^/    /'; }

wrong=()
for file in "$corpus"/*.ini; do
    name=${file##*/}
    expected=$(cat "$corpus/expected/${name%.ini}.txt")
    place "$file"
    linux_read=$(linux)
    windows_read=$(windows)
    if [[ $linux_read == "$expected" && $windows_read == "$expected" ]]; then
        echo "as Windows reads it: $name"
    else
        wrong+=("$name")
        { echo "READ WRONG: $name"; echo "  expected:"; show "$expected"; echo "  Linux:"; show "$linux_read"
          echo "  Windows:"; show "$windows_read"; } >&2
    fi

    # A path each code page holds, and one that only Unicode holds.
    for path in 'C:\音楽\ベル.wav' 'C:\🔔 café.wav'; do
        for saver in linux windows; do
            place "$file"
            saved=$("$saver" save 1 "$path")
            cp "$work/$saver/Pomvale.ini" "$work/saved.ini"
            place "$work/saved.ini"
            [[ $saver == linux ]] && other=$(windows) || other=$(linux)
            if [[ $saved == *Saved=1 ]]; then
                want=$(printf 'Enable=1\nPath=%s' "$path")
            else
                want=$expected
            fi
            if [[ $other != "$want" ]]; then
                wrong+=("$name saved by $saver")
                { echo "SAVED WRONG: $name, $path, saved by $saver (${saved##*$'\n'})"; echo "  expected:"; show "$want"
                  echo "  the other reads:"; show "$other"; } >&2
            fi
        done
    done
done
[[ ${#wrong[@]} -eq 0 ]] || fail "not as Windows reads them: ${wrong[*]}"
echo "PASS"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pomvale.exe under Wine reading and writing Pomvale.ini as the Linux program does: a UTF-8 file
# without a mark is read as UTF-8 and stays so; an ASCII file takes a value CP932 holds in CP932 and
# any other as UTF-16 with its mark; a writable file in a folder that cannot be written is written in
# place.
#   wine_settings.sh BUILD_WINDOWS_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_harness.sh" wine-settings "$1"
# The program's folder is made immutable for one case (even root cannot add a file to it then).
trap 'chattr -i "$app" 2>/dev/null || true; wineserver -k 2>/dev/null || true; cleanup' EXIT
write_ini() { python3 -c 'import sys; open(sys.argv[1], "wb").write(sys.argv[2].encode(sys.argv[3]))' "$ini" "$1" "$2"; }
# Checks the file's bytes with a Python expression over `data` (bytes).
check_ini() {
    python3 -c 'import sys; data = open(sys.argv[1], "rb").read(); assert eval(sys.argv[2]), data' "$ini" "$1" ||
        fail "Pomvale.ini is not as expected: $2"
}
# Opens the options window, runs the keys given, then OK (the focus back on it by shift+Tab).
options_ok() {
    xdotool key alt+o
    wait_control オプション画面 $'Button\t1\t-\tOK'
    "$@"
    probe gone オプション画面 || fail "OK did not close the options window"
}

# In the options window: the path box given a new text, then OK.
with_path() {
    xdotool key --delay 20 Tab Tab Tab
    type_path "$1"
    xdotool key --delay 20 shift+Tab shift+Tab shift+Tab Return
}

echo "-- a UTF-8 file without a mark is read as UTF-8 and stays UTF-8 without a mark"
write_ini $'; 設定\r\n[Option]\r\nEnable=1\r\nPath=C:\\音\\アラーム.wav\r\n' utf-8
start_pomvale
xdotool key alt+o
wait_control オプション画面 $'Edit\t1\t-\tC:\\音\\アラーム.wav'
xdotool key --delay 20 Tab Tab space shift+Tab shift+Tab Return # clear the box, then OK
probe gone オプション画面 || fail "OK did not close the options window"
check_ini 'not data.startswith(b"\xef\xbb\xbf") and data.decode("utf-8").startswith("; 設定\r\n") and "Path=C:\\音\\アラーム.wav" in data.decode("utf-8") and "Enable=0" in data.decode("utf-8")' \
    "UTF-8 without a mark, comment and Path kept, Enable=0"
stop_pomvale

echo "-- an ASCII file: a value CP932 holds stays CP932, any other makes it UTF-16 with its mark"
write_ini $'[Option]\r\nEnable=1\r\nPath=C:\\a.wav\r\n' ascii
start_pomvale
options_ok with_path 'C:\a.wav音'
check_ini 'not data.startswith(b"\xff\xfe") and "Path=C:\\a.wav音" in data.decode("cp932")' "CP932 with the new Path"
stop_pomvale
write_ini $'[Option]\r\nEnable=1\r\nPath=C:\\a.wav\r\n' ascii
start_pomvale
options_ok with_path 'C:\a.wav한'
check_ini 'data.startswith(b"\xff\xfe") and "Path=C:\\a.wav한" in data.decode("utf-16")' "UTF-16 with the new Path"
stop_pomvale

echo "-- a writable file in a folder that cannot be written is written in place"
write_ini $'[Option]\r\nEnable=0\r\nPath=\r\n' ascii
chattr +i "$app" || fail "could not make the program's folder immutable"
start_pomvale
options_ok xdotool key --delay 20 Tab Tab space shift+Tab shift+Tab Return # tick the box, then OK
probe gone オプション画面 || fail "a warning came instead of the save"
check_ini 'b"Enable=1" in data' "Enable=1, written in place"
stop_pomvale
chattr -i "$app"
echo "PASS"

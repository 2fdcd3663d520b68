#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pomvale.exe under Wine on a private Xvfb (with openbox), in a Wine prefix of its own, typed at as a
# user types: digits show; Start/Stop counts 00:02 down to the alarm box; Enter closes it and the time
# last started is back; Alt+O opens the options window, whose OK writes Pomvale.ini beside the
# executable; a CP932 Pomvale.ini written by hand is read right and stays CP932.
#   wine_pomvale.sh BUILD_WINDOWS_DIR [SCREENSHOT_DIR]
# Exits 77 (skipped) when Wine, Xvfb, xdotool, openbox or localedef is missing.
set -euo pipefail
shots=${2:-}
source "$(dirname "${BASH_SOURCE[0]}")/wine_harness.sh" wine "$1"

echo "-- typed digits show"
start_pomvale
expect_control Pomvale $'Static\t1\t-\t03:00'
screenshot win32-main
xdotool key 0 0 0 2
expect_control Pomvale $'Static\t1\t-\t00:02'

echo "-- Start/Stop counts 00:02 down to the alarm box"
xdotool key --delay 20 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab space # to Start/Stop: 1, 0, 2..9, Reset
wait_alarm
expect_control Pomvale $'Static\t1\t-\t00:00'
screenshot win32-alarm

echo "-- Enter closes it; the time last started is back"
xdotool key Return
probe gone アラームのお知らせ || fail "Enter did not close the alarm box"
expect_control Pomvale $'Static\t1\t-\t00:02'

echo "-- Alt+O opens the options window; OK writes Pomvale.ini beside the executable"
[[ ! -e $ini ]] || fail "Pomvale.ini was made before any OK"
xdotool key alt+o
expect_control オプション画面 $'Static\t1\t-\tオプション画面'
expect_control オプション画面 $'Button\t1\t0\t時間経過時、音を鳴らす'
screenshot win32-options-clear
xdotool key Return # OK has the focus
probe gone オプション画面 || fail "OK did not close the options window"
[[ -f $ini ]] || fail "OK wrote no Pomvale.ini beside Pomvale.exe"
python3 - "$ini" <<'PY' || fail "Pomvale.ini does not hold the settings"
import sys
text = open(sys.argv[1], "rb").read().decode("utf-16")
assert "[Option]" in text and "Enable=0" in text, text
PY
stop_pomvale

echo "-- a CP932 Pomvale.ini written by hand is read right and stays CP932"
python3 - "$ini" <<'PY'
import sys
open(sys.argv[1], "wb").write("; アラームの設定\r\n[Option]\r\nEnable=1\r\nPath=C:\\サウンド\\アラーム.wav\r\n".encode("cp932"))
PY
start_pomvale
xdotool key alt+o
expect_control オプション画面 $'Edit\t1\t-\tC:\\サウンド\\アラーム.wav'
expect_control オプション画面 $'Button\t1\t1\t時間経過時、音を鳴らす'
screenshot win32-options-ticked
xdotool key --delay 20 Tab Tab space shift+Tab shift+Tab Return # clear the box, then OK
probe gone オプション画面 || fail "OK did not close the options window"
python3 - "$ini" <<'PY' || fail "Pomvale.ini is no longer the CP932 file it was, with Enable=0"
import sys
data = open(sys.argv[1], "rb").read()
text = data.decode("cp932")  # strict: any byte that is not CP932 fails
assert "; アラームの設定\r\n" in text and "Path=C:\\サウンド\\アラーム.wav" in text and "Enable=0" in text, text
PY
stop_pomvale
echo "PASS"

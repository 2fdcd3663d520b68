#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Pomvale.exe under Wine as a keyboard user meets it, beyond the happy path of wine_pomvale.sh: the
# focus comes back to the control that had it after the alarm, the options window and a warning;
# the alarm over the options window stays on top; each save failure has its message; a long Path
# is kept whole.
#   wine_behaviour.sh BUILD_WINDOWS_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine_harness.sh" wine-behaviour "$1"
# The settings file as the program names it: the Unix path on Wine's drive Z:.
ini_shown="Z:${ini//\//\\}"
display() { wait_control Pomvale $'Static\t1\t-\t'"$1"; }
button() { printf 'Button\t1\t-\t%s\n' "$1"; }
ok_warning() { # the warning's text, then its OK by Enter
    wait_control オプション画面 $'Static\t1\t-\t'"$1"
    xdotool key Return
    probe gone オプション画面 || fail "the options window stayed after the warning"
}

echo "-- tab order, digits on Start/Stop, and Space after the alarm starts the countdown again"
start_pomvale
expect_focus Pomvale "$(button 1)"
xdotool key --delay 20 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab # 1, 0, 2..9, Reset, Start/Stop
expect_focus Pomvale "$(button Start/Stop)"
xdotool key 0 0 0 2
display 00:02
xdotool key space
wait_alarm
xdotool key Return
probe gone アラームのお知らせ || fail "Enter did not close the alarm box"
display 00:02
expect_focus Pomvale "$(button Start/Stop)"
xdotool key space # starts 00:02 again
display 00:01
wait_alarm
xdotool key Return
probe gone アラームのお知らせ || fail "Enter did not close the second alarm box"

echo "-- the alarm while the options window is open stays over it, and Enter closes it"
xdotool key space alt+o # starts 00:02, then opens the options window
wait_control オプション画面 "$(button OK)"
wait_alarm
options=$(xdotool search --onlyvisible --name '^オプション画面$' | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$options")"
xdotool mousemove $((X + 10)) $((Y + 10)) click 1 # on the options window's title label
xdotool key Return
probe gone アラームのお知らせ || fail "the alarm box was buried under the options window"
probe show オプション画面 >/dev/null || fail "Enter reached the options window instead of the alarm box"
expect_focus オプション画面 "$(button OK)"
xdotool key Return # OK: nothing changed, no file to write but a new one
probe gone オプション画面 || fail "OK did not close the options window"
expect_focus Pomvale "$(button Start/Stop)"
stop_pomvale

echo "-- a read-only Pomvale.ini: the warning, then the keyboard works in the main window"
printf '[Option]\r\nEnable=0\r\nPath=\r\n' >"$ini"
chmod 444 "$ini"
start_pomvale
xdotool key alt+o
wait_control オプション画面 "$(button OK)"
xdotool key --delay 20 Tab Tab space shift+Tab shift+Tab Return # tick the box, then OK
ok_warning "設定ファイル「$ini_shown」に書き込めなかったため、変更した設定はプログラムを終了するまでの間だけ有効です。"
xdotool key 9
display 30:09
stop_pomvale
chmod 644 "$ini"

echo "-- a CP932 file and a value CP932 cannot hold: the encoding warning, the file untouched"
# The comment holds a byte pair that does not decode, so the file cannot become Unicode without loss.
python3 - "$ini" <<'PY'
import sys
open(sys.argv[1], "wb").write(b"; \x81\x20" + "設定\r\n[Option]\r\nEnable=1\r\nPath=C:\\音.wav\r\n".encode("cp932"))
PY
before=$(sha256sum <"$ini")
start_pomvale
xdotool key alt+o
wait_control オプション画面 $'Edit\t1\t-\tC:\\音.wav'
xdotool key --delay 20 Tab Tab Tab
type_path 'C:\音.wav한' # Hangul: no form in CP932, nor a best fit
xdotool key --delay 20 shift+Tab shift+Tab shift+Tab Return # OK
ok_warning "設定ファイル「$ini_shown」の文字コードでは新しい設定を書き込めないため、変更した設定はプログラムを終了するまでの間だけ有効です。"
[[ $(sha256sum <"$ini") == "$before" ]] || fail "the CP932 file was changed"
stop_pomvale

echo "-- a 3,000-character Path shows whole and stays whole after OK; the focus after the file dialog"
long="C:\\$(printf 'a%.0s' $(seq 2992)).wav"
printf '[Option]\r\nEnable=1\r\nPath=%s\r\n' "$long" >"$ini"
start_pomvale
xdotool key alt+o
wait_control オプション画面 $'Edit\t1\t-\t'"$long"
# The file dialog from the browse button, cancelled: the focus is back on the browse button, whose
# Space opens the dialog again.
xdotool key --delay 20 Tab Tab Tab Tab space
probe show 開く >/dev/null || fail "the browse button opened no file dialog"
xdotool key Escape
probe gone 開く || fail "Escape did not close the file dialog"
xdotool key space
probe show 開く >/dev/null || fail "the focus did not come back to the browse button"
xdotool key Escape
probe gone 開く || fail "Escape did not close the file dialog"
xdotool key --delay 20 shift+Tab shift+Tab space space shift+Tab shift+Tab Return # the box off and on, OK
probe gone オプション画面 || fail "OK did not close the options window"
grep -qF "Path=$long" "$ini" || fail "the long Path was not kept whole"
stop_pomvale

# Every button and check box of a window, as a screen reader names it, has the name the Qt program
# gives the same control (a picture button's name is not its picture).
expect_names() {
    local title=$1 names expected
    names=$(probe names "$title") || names=$(probe names "$title") || fail "no window \"$title\""
    expected=$(printf '%s\n' "${@:2}" | sort)
    [[ $(grep -E '^Button' <<<"$names" | cut -f3 | sort) == "$expected" ]] \
        || fail "the buttons of \"$title\" are not named as they should be; a screen reader reads:
$names"
}
echo "-- a screen reader names every button and check box of both windows"
printf '[Option]\r\nEnable=1\r\nPath=\r\n' >"$ini"
start_pomvale
expect_names Pomvale 0 1 2 3 4 5 6 7 8 9 Reset Start/Stop
xdotool key alt+o
wait_control オプション画面 "$(button OK)"
# The frame's own caption is a group box, a button to the system.
expect_names オプション画面 OK ｷｬﾝｾﾙ 時間経過時、音を鳴らす 鳴らしたい音のファイル wavファイルを参照 音を試聴
xdotool key --delay 20 Tab Return # Cancel
probe gone オプション画面 || fail "Cancel did not close the options window"
stop_pomvale
echo "PASS"

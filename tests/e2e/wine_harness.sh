# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the Wine scripts, sourced after `set -euo pipefail`:
#   source wine_harness.sh NAME BUILD_WINDOWS_DIR
# gives what harness.sh gives, plus a Wine prefix of its own under code page 932 on a private Xvfb
# with openbox, the build folder in $build, and the helpers below. Exits 77 (skipped) when a tool
# is missing.
build=$(cd "$2" && pwd)
for tool in wine wineserver Xvfb xdotool openbox localedef python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -f $build/Pomvale.exe && -f $build/wine-probe.exe ]] || { echo "SKIP: no Win32 build in $build"; exit 77; }

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" "$1"
# Wine's server outlives the programs it ran; it goes first, before the X server it draws on.
trap 'wineserver -k 2>/dev/null || true; cleanup' EXIT
on_failure() {
    if [[ -n ${main_pid:-} ]] && kill -0 "$main_pid" 2>/dev/null; then
        echo "Pomvale.exe is running; X windows: $(xdotool search --name . getwindowname %@ 2>/dev/null | tr '\n' '|')"
    else
        echo "Pomvale.exe is not running"
    fi
}

# Wine takes its ANSI code page from the locale: ja_JP.UTF-8 gives 932, as on Japanese Windows.
# Debian 12 generates no Japanese locale by default; the harness compiles one into its own folder.
mkdir -p "$work/locale"
localedef -i ja_JP -f UTF-8 "$work/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
[[ -d $work/locale/ja_JP.UTF-8 ]] || fail "could not compile the ja_JP.UTF-8 locale"
# Only Wine's processes get it: the shell itself cannot load a locale from LOCPATH.
wine() { env LOCPATH="$work/locale" LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8 wine "$@"; }
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

start_xvfb 1024x768 || fail "Xvfb did not start"
openbox >/dev/null 2>"$work/openbox.log" &
started+=($!)
wine wineboot -i >/dev/null 2>"$work/wineboot.log"
# Some seconds after its last program ends, the prefix winds down (the desktop closes, then the
# server): a program started meanwhile waits for it, 10 s and more, and its window comes too late.
# A console program that reads a pipe the script holds open lives as long as the script does and
# keeps the prefix up between the programs under test.
mkfifo "$work/keep-prefix"
wine cmd <"$work/keep-prefix" >/dev/null 2>&1 &
started+=($!)
exec {keep_prefix}>"$work/keep-prefix"

# The program's folder, as a user unzips it.
app=$work/Pomvale
mkdir "$app"
cp "$build/Pomvale.exe" "$app/"
ini=$app/Pomvale.ini

probe() { wine "$build/wine-probe.exe" "$@" 2>>"$work/probe.log" | tr -d '\r'; }
screenshot() {
    [[ -n ${shots:-} ]] && command -v convert >/dev/null && command -v xwd >/dev/null || return 0
    mkdir -p "$shots"
    xwd -root -silent | convert xwd:- "$shots/$1.png" || true
}
# The control lines of a window, as the probe prints them: class, visible, check state, text.
expect_control() {
    local title=$1 line=$2 seen
    # A probe that Wine could not start looks like a window not found: it is asked again.
    seen=$(probe show "$title") || seen=$(probe show "$title") || fail "no window \"$title\""
    grep -qxF "$line" <<<"$seen" || fail "\"$title\" has no control \"$line\"; it shows:
$seen"
}
# Waits (20 s at most) until a control of the window shows the line.
wait_control() {
    local title=$1 line=$2 seen
    seen=$(probe wait "$title" "$line") && return 0
    seen=$(probe wait "$title" "$line") || fail "\"$title\" never showed \"$line\"; it shows:
$seen"
}
# The control that has the keyboard focus in the window, as a control line.
expect_focus() {
    local title=$1 line=$2 seen
    seen=$(probe focus "$title") || seen=$(probe focus "$title") || fail "no control of \"$title\" has the focus"
    [[ $seen == "$line" ]] || fail "the focus in \"$title\" is on \"$seen\", not \"$line\""
}
# Gives the options window's path box, which has the focus, a whole new text, as typed characters.
# Not through X: xdotool types a character outside the keyboard map by binding it to a key for the
# one key press, and a busy Wine reads the map after the unbinding and gets no character.
type_path() {
    probe replace オプション画面 "$1" || fail "no control of the options window has the focus"
    wait_control オプション画面 $'Edit\t1\t-\t'"$1"
}
# Waits for the alarm box and for its OK to have the keyboard focus: the box's text can be read
# before the box is shown and active, and a key typed in between would not reach it.
wait_alarm() {
    wait_control アラームのお知らせ $'Static\t1\t-\tアラームが鳴りましたよ。'
    expect_focus アラームのお知らせ $'Button\t1\t-\tOK'
}
start_pomvale() {
    (cd "$app" && wine ./Pomvale.exe) >/dev/null 2>>"$work/Pomvale.log" &
    main_pid=$!
    probe show Pomvale >/dev/null || probe show Pomvale >/dev/null || fail "the main window did not open"
    xdotool search --sync --onlyvisible --name '^Pomvale$' windowactivate --sync >/dev/null 2>&1 || true
    # Keys typed before a control has the focus would be lost.
    probe focus Pomvale >/dev/null || probe focus Pomvale >/dev/null || fail "no control of the main window took the focus"
}
stop_pomvale() {
    xdotool key alt+F4
    wait "$main_pid" || true
}

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the program into a temporary prefix and runs the installed executable on a real X
# server as a user would: one window titled "Pomvale" whose client area below the menu bar is
# 132 x 248, typed digits and a click, then the window manager's close request, exit status 0,
# and no settings file written.
#   smoke.sh BUILD_DIR WM_DELETE_WINDOW_TOOL
# A private Xvfb is started when no display is reachable. No window manager is needed: the close
# request is the WM_DELETE_WINDOW message a window manager would send.
set -euo pipefail
build=$1
close_tool=$2

source "$(dirname "${BASH_SOURCE[0]}")/harness.sh" e2e

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
app=$prefix/bin/Pomvale
[[ -x $app ]] || fail "the install has no bin/Pomvale"

# The program on a plain X11 session, whatever the caller's environment says.
unset QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_AUTO_SCREEN_SCALE_FACTOR QT_USE_NATIVE_WINDOWS
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"

if [[ -z ${DISPLAY:-} ]] || ! xdpyinfo >/dev/null 2>&1; then
    start_xvfb 1280x1024 || fail "Xvfb did not start"
fi
echo "display $DISPLAY"

# Starts the installed program (at most 60 s) and prints the id of its one mapped window.
launch() {
    local name=$1
    shift
    env "$@" timeout 60 "$app" >"$work/$name.stdout" 2>"$work/$name.log" &
    started+=($!)
    pid=$!
    timeout 20 xdotool search --sync --onlyvisible --name '^Pomvale$' >/dev/null ||
        fail "$name: no window titled Pomvale was mapped"
    mapfile -t windows < <(xdotool search --onlyvisible --name '^Pomvale$')
    [[ ${#windows[@]} == 1 ]] || fail "$name: ${#windows[@]} mapped windows titled Pomvale, not 1"
    window=${windows[0]}
}

# Asks the window to close as a window manager does and checks the program ends with status 0.
close_and_wait() {
    local name=$1
    "$close_tool" "$window" || fail "$name: the close request could not be sent"
    local status=0
    wait "$pid" || status=$?
    [[ $status == 0 ]] || fail "$name: Pomvale exited with status $status after the close request"
}

size_of() { xwininfo -id "$1" | awk '/^ +Width:/ { w = $2 } /^ +Height:/ { h = $2 } END { print w "x" h }'; }

# 1. The client area. Qt paints all controls into the one top-level window, so the area below
# the menu bar is measured in a second run in which every widget has its own X window.
launch measure QT_USE_NATIVE_WINDOWS=1
outer=$(size_of "$window")
mapfile -t children < <(xwininfo -id "$window" -children | grep -oE '[0-9]+x[0-9]+\+[0-9]+\+[0-9]+ ' | tr -d ' ')
echo "measure: window $outer, children ${children[*]}"
client=
for child in "${children[@]}"; do
    [[ $child == 132x248+0+* ]] && client=$child
done
[[ -n $client ]] || fail "measure: no 132x248 client area at the left edge: ${children[*]}"
menu_height=${client##*+}
[[ $outer == "132x$((248 + menu_height))" ]] ||
    fail "measure: the window is $outer, not the client area 132x248 plus the menu bar's $menu_height"
close_and_wait measure

# 2. The program as users run it.
launch run
size=$(size_of "$window")
[[ $size == "$outer" ]] || fail "run: the window is $size, but $outer with native child windows"
echo "run: window $window is $size, client area 132x248 below a menu bar $menu_height high"

# A fixed single border: the window manager is told that the size cannot change.
hints=$(xprop -id "$window" WM_NORMAL_HINTS)
grep -q "program specified minimum size: ${size/x/ by }" <<<"$hints" &&
    grep -q "program specified maximum size: ${size/x/ by }" <<<"$hints" ||
    fail "run: the window is resizable: $hints"
# The desktop entry's StartupWMClass matches the window to its launcher.
xprop -id "$window" WM_CLASS | grep -q '"Pomvale"$' || fail "run: $(xprop -id "$window" WM_CLASS)"

# Type 1, 0, 0, 0 (the display then reads 10:00) and click Start/Stop, 24 pixels above the
# bottom edge in the middle: the countdown runs when the window is asked to close.
xdotool windowfocus --sync "$window" || fail "run: the window cannot take the focus"
xdotool type --delay 30 1000 || fail "run: typing digits failed"
xdotool mousemove --sync --window "$window" 66 $((${size#*x} - 24)) click 1 || fail "run: the click failed"
kill -0 "$pid" 2>/dev/null || fail "run: Pomvale ended after the digits and the click"
close_and_wait run

# Nothing may be written at exit: no settings file beside the executable, or anywhere else.
[[ ! -e $prefix/bin/Pomvale.ini ]] || fail "Pomvale.ini was written beside the executable"
written=$(find "$work" -iname 'pomvale.ini')
[[ -z $written ]] || fail "a settings file was written: $written"
for log in "$work"/measure.log "$work"/run.log; do
    [[ ! -s $log ]] || fail "the program reported problems on its error output"
done
echo "PASS"

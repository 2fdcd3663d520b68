#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The alarm while the user types in another program, under a real window manager (openbox) on a
# private Xvfb. A 00:02 countdown runs in Pomvale while the user types a sentence into another
# window; at 00:00 the alarm box must come up without taking the keyboard, so that every key still
# reaches the other window and none closes the box; the box and the main window must demand
# attention (urgency hint and _NET_WM_STATE_DEMANDS_ATTENTION). Then the user turns to Pomvale,
# once each way: activating the main window, a click on the message's text, and the window manager
# activating the box (a taskbar entry, a pager, Alt+Tab). Each time the box must take the keys and
# Enter close it, and Pomvale itself must have withdrawn both flags from both windows: openbox
# clears the state of a window it activates, so the flags are read while the box is still up.
# Last, the alarm comes while the options window is open: the box holds that window too, so that a
# key sent to it and a click on its Cancel do nothing until Enter has closed the box.
#   alarm_in_background.sh POMVALE KEY_SINK
# Skips (status 77) when Xvfb or openbox is missing or does not start.
set -euo pipefail
app=$1
sink_tool=$2

for tool in Xvfb openbox xdotool xprop xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd) # openbox reads its configuration from its home
source "$here/harness.sh" e2e-wm
on_failure() { echo "the focus is on window $(xdotool getwindowfocus 2>/dev/null || true)"; }

# POMVALE_SHOTS, when set, is a command run with a name at the moments worth a screenshot.
shoot() { if [[ -n ${POMVALE_SHOTS:-} ]]; then "$POMVALE_SHOTS" "$1"; fi; }

# Polls COMMAND every 50 ms for up to SECONDS; fails with MESSAGE if it never succeeds.
wait_for() {
    local seconds=$1 message=$2
    shift 2
    local tries=$((seconds * 20))
    until "$@"; do
        ((--tries > 0)) || fail "$message"
        sleep 0.05
    done
}

# A copy of the program with no settings beside it: the sound is off, nothing is heard.
cp "$app" "$work/Pomvale"
unset QT_QPA_PLATFORM QT_SCALE_FACTOR WAYLAND_DISPLAY SESSION_MANAGER
export QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 XDG_RUNTIME_DIR=$work/runtime HOME=$work
mkdir -m 700 "$XDG_RUNTIME_DIR"

start_xvfb 1024x768 || { echo "SKIP: Xvfb did not start"; exit 77; }

viewable() { xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }
found() { [[ -n $(xdotool search --onlyvisible "$@" 2>/dev/null) ]]; }

"$sink_tool" >"$work/typed.txt" 2>"$work/key_sink.log" &
started+=($!)
wait_for 20 "the other program did not start" test -s "$work/key_sink.log"
sink=$(head -n 1 "$work/key_sink.log")
wait_for 20 "the other program's window was not mapped" viewable "$sink"

# The window manager comes second and takes on the window already there: a window mapped while
# openbox starts up can be lost. It is ready once it lists that window as one it manages.
openbox --sm-disable --config-file "$here/openbox-rc.xml" >"$work/openbox.log" 2>&1 &
started+=($!)
managed() { xprop -root _NET_CLIENT_LIST 2>/dev/null | grep -qiE "$(printf '0x%x' "$1")(,|$)"; }
tries=400
until managed "$sink"; do
    ((--tries > 0)) || { echo "SKIP: openbox did not start"; exit 77; }
    sleep 0.05
done

"$work/Pomvale" >"$work/pomvale.log" 2>&1 &
started+=($!)
pid=$!
wait_for 20 "no window titled Pomvale was mapped" found --name '^Pomvale$'
main=$(xdotool search --onlyvisible --name '^Pomvale$' | head -n 1)
wait_for 20 "openbox did not take on the Pomvale window" managed "$main"

focused() { [[ $(xdotool getwindowfocus) == "$1" ]]; }
# The alarm box: Pomvale's mapped window other than the main window and the options window.
options=none
box_id() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx -e "$main" -e "$options" | head -n 1; }
box_shown() { [[ -n $(box_id) ]]; }
box_gone() { [[ -z $(box_id) ]]; }
attention() { # prints which of the two flags the window carries
    local urgent=no demands=no
    xprop -id "$1" WM_HINTS | grep -qi urgency && urgent=yes
    xprop -id "$1" _NET_WM_STATE | grep -q _NET_WM_STATE_DEMANDS_ATTENTION && demands=yes
    echo "urgency $urgent, demands attention $demands"
}

expect_flags() { # WANTED ("yes" or "no") for both flags of both windows
    local window flags
    for window in "$main" "$box"; do
        flags=$(attention "$window")
        [[ $flags == "urgency $1, demands attention $1" ]] || fail "window $window: $flags, not $1 ($2)"
    done
}

# Waits for the NTH alarm's box; it and the main window must ask for attention.
expect_alarm() {
    wait_for 5 "the $1 alarm box did not come up" box_shown
    box=$(box_id)
    expect_flags yes "the $1 alarm in the background"
}

# Starts the 00:02 countdown (Start/Stop is 24 pixels above the bottom edge, in the middle) and
# goes over to the other window. No --sync on the move: the pointer may be there already, and the
# X server takes the click after the move all the same.
start_countdown() {
    xdotool windowactivate --sync "$main"
    xdotool mousemove --window "$main" 66 $((height - 24)) click 1
    xdotool windowactivate --sync "$sink"
}

# Pomvale's own requests to withdraw _NET_WM_STATE_DEMANDS_ATTENTION from a window, which the
# other program lists: openbox clears that state itself from a window it activates.
withdrawals() {
    grep -c "^remove _NET_WM_STATE_DEMANDS_ATTENTION $(printf '0x%x' "$1")$" "$work/key_sink.log" || true
}

# The user turns to Pomvale WAY by COMMAND: the box takes the keys, neither window asks for
# attention any more, each by Pomvale's own withdrawal, and Enter closes the box.
turn_to_alarm() {
    local way=$1 main_before box_before
    shift
    main_before=$(withdrawals "$main")
    box_before=$(withdrawals "$box")
    "$@"
    wait_for 5 "the alarm box did not take the keys after $way" focused "$box"
    shoot "${way// /-}"
    expect_flags no "after $way"
    wait_for 2 "Pomvale did not withdraw the main window's request for attention after $way" \
        test "$(withdrawals "$main")" -gt "$main_before"
    wait_for 2 "Pomvale did not withdraw the box's request for attention after $way" \
        test "$(withdrawals "$box")" -gt "$box_before"
    xdotool key Return
    wait_for 5 "Enter did not close the alarm box after $way" box_gone
    echo "turned to the alarm by $way"
}

# The first alarm comes while the user types. The sentence takes about 3.5 s, so the alarm comes in
# its middle. Spaces, digits and Return are what the main window and the box would act on.
xdotool windowactivate --sync "$main"
xdotool type --delay 20 0002
height=$(xwininfo -id "$main" | awk '/^ +Height:/ { print $2 }')
start_countdown
started_at=$(date +%s.%N)
sentence="the alarm must not take these keys: 1 2 3 4 5 6 7 8 9"
xdotool type --delay 60 "$sentence"
xdotool key Return
expect_alarm first
echo "alarm box $box came up at most $(awk -v a="$started_at" -v b="$(date +%s.%N)" 'BEGIN { printf "%.1f", b - a }') s after Start"
wait_for 2 "the other window did not get every key: '$(cat "$work/typed.txt")'" \
    grep -qxF "$sentence" "$work/typed.txt"
focused "$sink" || fail "the other window lost the focus to $(xdotool getwindowfocus)"
box_shown || fail "the alarm box was closed by keys meant for the other window"
shoot background
turn_to_alarm "activating the main window" xdotool windowactivate "$main"

# The next alarms: the display shows 00:02 again, so Start/Stop runs the same countdown.
start_countdown
expect_alarm second
# The message's text lies in the box's upper band, across its middle.
width=$(xwininfo -id "$box" | awk '/^ +Width:/ { print $2 }')
turn_to_alarm "a click on the message's text" xdotool mousemove --window "$box" $((width / 2)) 17 click 1

start_countdown
expect_alarm third
turn_to_alarm "the window manager activating the box" xdotool windowactivate "$box"

# The alarm over the options window. 00:06 leaves time to open it and go over to the other window
# before the alarm; expect_alarm checks that it came in the background. The other window moves to
# the corner first, where it leaves the options window in sight, as the user would see it to click it.

# Whether window $1's left edge lies within 50 pixels of $2: openbox puts its frame there.
near_x() {
    local x
    x=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ { print $4 }')
    ((x >= $2 && x - $2 < 50))
}
xdotool windowmove "$sink" 0 0
wait_for 5 "the other window could not be moved to the corner" near_x "$sink" 0
xdotool windowactivate --sync "$main"
xdotool type --delay 20 0006
xdotool mousemove --window "$main" 66 $((height - 24)) click 1
xdotool key alt+o
wait_for 5 "Alt+O opened no options window" box_shown
options=$(box_id)
xdotool windowactivate --sync "$sink"
expect_alarm fourth
options_shown() { viewable "$options"; }
# Cancel lies 200, 124 pixels into the options window.
click_cancel() {
    xdotool mousemove --window "$options" 200 124 click 1 2>/dev/null || fail "the options window was gone: $1"
}
# Enter on the options window's OK, which has its focus, would store the settings and close it.
xdotool key --window "$options" Return
# The box comes up centred over the main window, as the options window does, and may cover Cancel:
# the user drags it aside first, clear of both windows.
xdotool windowmove "$box" 700 500
wait_for 5 "the alarm box could not be moved aside" near_x "$box" 700
# The click on Cancel turns to Pomvale: the box takes the keys, the options window stays.
turn_to_alarm "a click on the options window's Cancel" click_cancel "a key sent to it closed it under the box"
options_shown || fail "the options window took a click while the alarm box was up"
[[ ! -e $work/Pomvale.ini ]] || fail "the options window stored the settings while the alarm box was up"
click_cancel "it closed with the box"
wait_for 5 "Cancel did not close the options window once the alarm box was closed" eval '! options_shown'

kill -0 "$pid" 2>/dev/null || fail "Pomvale ended"
echo "PASS"

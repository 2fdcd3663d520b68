#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program's countdown across a stopped process, under Wine, as pomvale-bench-ticks
# measures the Linux program's:
#   bench/wine_stall.sh BUILD_WINDOWS_DIR [RUNS]
# Types 00:10 and starts it, stops Pomvale.exe (SIGSTOP) 2 s after Start and continues it (SIGCONT)
# 5 s later, and prints when the alarm box appeared after Start (10 s due), RUNS times (3 by default).
set -euo pipefail
runs=${2:-3}
source "$(dirname "${BASH_SOURCE[0]}")/../tests/e2e/wine_harness.sh" wine-stall "$1"

alarm_shown() { xdotool search --name '^アラームのお知らせ$' >/dev/null 2>&1; }
start_pomvale
# The program's own process, found by its window on this harness's private X server.
pid=$(xdotool search --onlyvisible --name '^Pomvale$' getwindowpid | head -n 1)
[[ -n $pid ]] || fail "no process owns the main window"
xdotool key --delay 20 Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab Tab # from 1 to Start/Stop, where the
# focus comes back after each alarm
for ((run = 1; run <= runs; run++)); do
    xdotool key 0 0 1 0
    wait_control Pomvale $'Static\t1\t-\t00:10'
    expect_focus Pomvale $'Button\t1\t-\tStart/Stop'
    started=$(date +%s%N)
    xdotool key space
    sleep 2
    kill -STOP "$pid"
    sleep 5
    kill -CONT "$pid"
    until alarm_shown; do
        (($(date +%s%N) - started < 30000000000)) || fail "no alarm within 30 s"
        sleep 0.02
    done
    rang=$(($(date +%s%N) - started))
    printf 'SIGSTOP 5 s after 2 s, run %d: 00:10 rang %d.%02d s after Start (10 s due)\n' "$run" \
        $((rang / 1000000000)) $((rang / 10000000 % 100))
    xdotool key Return
    probe gone アラームのお知らせ || fail "Enter did not close the alarm box"
done
stop_pomvale

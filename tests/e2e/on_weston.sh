#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs COMMAND natively on Wayland, on a private weston with its headless backend.
#   on_weston.sh COMMAND [ARGUMENTS...]
# Skips (status 77) when weston is missing or does not start.
set -euo pipefail
command -v weston >/dev/null || { echo "SKIP: weston is not installed"; exit 77; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pomvale-weston.XXXXXX")
chmod 700 "$work"
weston_pid=
cleanup() {
    if [[ -n $weston_pid ]]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

unset DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR
export XDG_RUNTIME_DIR=$work WAYLAND_DISPLAY=wayland-pomvale QT_QPA_PLATFORM=wayland LC_ALL=C.UTF-8
weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 --width=1024 --height=768 \
    >"$work/weston.log" 2>&1 &
weston_pid=$!
tries=200
until [[ -S $work/$WAYLAND_DISPLAY ]]; do
    if ((--tries == 0)) || ! kill -0 "$weston_pid" 2>/dev/null; then
        echo "SKIP: weston did not start"
        cat "$work/weston.log"
        exit 77
    fi
    sleep 0.05
done

status=0
timeout 40 "$@" || status=$?
((status == 0)) || { echo "--- weston.log"; cat "$work/weston.log"; }
exit $status

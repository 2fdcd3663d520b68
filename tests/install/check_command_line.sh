#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The built program's command line and its start without a display, as a shell user meets them:
#   check_command_line.sh PROGRAM VERSION_TEXT
# --help and --version answer on the terminal and exit without a display; with no display, or one
# that cannot be reached, the program says so in one line of the user's language and fails
# (status 1, not Qt's abort); an unknown option is refused.
set -euo pipefail
app=$1
version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/pomvale-cli.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Runs the program in a bare environment with the given variables; its status, stdout and stderr
# land in $status, $work/out and $work/err.
run() {
    status=0
    env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work" "$@" timeout 20 "$app" "${args[@]}" \
        >"$work/out" 2>"$work/err" || status=$?
}

args=(--help)
run LC_ALL=C.UTF-8
[[ $status == 0 ]] || fail "--help ended with status $status: $(cat "$work/err")"
grep -q -- '--version' "$work/out" || fail "--help lists no --version: $(cat "$work/out")"

args=(--version)
run LC_ALL=C.UTF-8
[[ $status == 0 ]] || fail "--version ended with status $status: $(cat "$work/err")"
[[ $(cat "$work/out") == "Pomvale $version" ]] || fail "--version printed '$(cat "$work/out")'"

# No display at all, and a display that no server answers (a free number on this machine).
free=97
while [[ -e /tmp/.X11-unix/X$free ]]; do free=$((free + 1)); done
args=()
for display in "" ":$free"; do
    run LC_ALL=C.UTF-8 DISPLAY="$display"
    [[ $status == 1 ]] || fail "with DISPLAY='$display' the status is $status, not 1: $(cat "$work/err")"
    [[ $(wc -l <"$work/err") == 1 ]] || fail "with DISPLAY='$display' not one line: $(cat "$work/err")"
    grep -q 'no display' "$work/err" || fail "with DISPLAY='$display': $(cat "$work/err")"
done
run LANG=ja_JP.UTF-8
[[ $status == 1 ]] || fail "under a Japanese locale the status is $status"
grep -q '画面に接続できません' "$work/err" || fail "under a Japanese locale: $(cat "$work/err")"

args=(--no-such-option)
run LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen
[[ $status == 1 ]] || fail "an unknown option ended with status $status"
grep -q "Unknown option 'no-such-option'" "$work/err" || fail "an unknown option: $(cat "$work/err")"
echo PASS

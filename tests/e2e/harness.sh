# SPDX-License-Identifier: GPL-3.0-or-later
# Shared by the end-to-end scripts, sourced after `set -euo pipefail`:
#   source harness.sh NAME
# gives a work folder ($work) removed on the way out, the processes a script started (pids added to
# $started) stopped in reverse order, `fail` that reports with the work folder's logs, and a
# private Xvfb. A script may define `on_failure` to say more when it fails.
work=$(mktemp -d "${TMPDIR:-/tmp}/pomvale-$1.XXXXXX")
chmod 755 "$work"
started=()
cleanup() {
    for ((i = ${#started[@]} - 1; i >= 0; i--)); do
        kill "${started[i]}" 2>/dev/null || true
        wait "${started[i]}" 2>/dev/null || true
    done
    # A Wine server still writes its registry into its prefix here as it exits: the folder is
    # removed once nothing adds to it any more (10 s at most).
    local tries=100
    until rm -rf "$work" 2>/dev/null; do
        ((--tries > 0)) || { rm -rf "$work"; return; }
        sleep 0.1
    done
}
trap cleanup EXIT

# Says what failed, then every non-empty log of the work folder, and exits 1.
fail() {
    echo "FAIL: $*" >&2
    if [[ $(type -t on_failure) == function ]]; then on_failure >&2; fi
    for log in "$work"/*.log; do
        [[ -s $log ]] && { echo "--- ${log##*/}" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Starts a private Xvfb of the given size ("1280x1024") and exports its DISPLAY; status 1 when it
# does not start. Xvfb picks a free display number and writes it to the pipe once it accepts
# clients.
start_xvfb() {
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/displayfd" 2>"$work/Xvfb.log" &
    started+=($!)
    local number
    read -r -t 30 number <"$work/displayfd" || return 1
    export DISPLAY=:$number
}

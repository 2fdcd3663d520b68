#!/usr/bin/env bash
# Runs the sound latency benchmark against a private PulseAudio server with a null sink and a
# silent keep-alive stream, as the end-to-end check uses:
#   bench/sound_latency.sh BUILD_DIR [WARM_PLAYS] [COLD_STARTS]
set -euo pipefail
build=$(cd "$1" && pwd)
shift
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
# shellcheck source=tests/e2e/pulse_session.sh
source "$root/tests/e2e/pulse_session.sh"
cleanup() {
    pulse_session_stop
    rm -rf "$work"
}
trap cleanup EXIT
pulse_session_start "$work"
trap cleanup EXIT
"$build/bench/pomvale-bench-sound" "$@"

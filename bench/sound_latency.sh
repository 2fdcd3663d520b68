#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the sound latency benchmark against a private PulseAudio server with a null sink and a
# silent keep-alive stream, as the end-to-end check uses:
#   bench/sound_latency.sh BUILD_DIR [WARM_PLAYS] [COLD_STARTS]
set -euo pipefail
build=$(cd "$1" && pwd)
shift
exec "$(dirname "${BASH_SOURCE[0]}")/with_pulse.sh" "$build/bench/pomvale-bench-sound" "$@"

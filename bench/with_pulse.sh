#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command against a private PulseAudio server with a null sink and a silent keep-alive
# stream, stopping all of it afterwards:
#   bench/with_pulse.sh COMMAND [ARGS...]
set -euo pipefail
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
"$@"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What a huge WAV costs the alarm, for one or more builds side by side (an old build and a new one):
#   bench/sound_memory.sh BUILD_DIR...
# Each build's pomvale-e2e-alarm raises a real alarm (box open 2 s) against a private PulseAudio
# server, with a 3 s WAV and with a 1 GB one (3 s of a 1 kHz tone, then sparse silence), and prints
# the peak resident memory of each. Then the 1 GB alarm again with the address space limited to the
# program's running size (its peak virtual size with the 3 s WAV) plus 40 MB, as `ulimit -v` sets
# it: the exit status, and what was heard (the tone is the part played; about 0.9 s near 880 Hz is
# the chime).
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
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8

rate=44100
sox -n -r $rate -c 2 -b 16 "$work/small.wav" synth 3 sine 1000 vol 0.5
sox -n -r $rate -c 2 -b 16 "$work/huge.wav" synth 3 sine 1000 vol 0.5
python3 - "$work/huge.wav" <<'PY'
import struct, sys
with open(sys.argv[1], 'r+b') as f:
    at = f.read(64).index(b'data')
    f.seek(at + 4)
    f.write(struct.pack('<I', (1 << 30) - at - 8))
    f.truncate(1 << 30)
PY

# Runs one alarm; prints the peak RSS in MiB, the peak virtual size in MiB and the exit status.
alarm() {
    local driver=$1 sound=$2 status=0 peak_vm=0 vm
    /usr/bin/time -f %M -o "$work/rss" "$driver" "$sound" 2000 >/dev/null 2>"$work/driver.log" &
    local pid=$!
    while kill -0 "$pid" 2>/dev/null; do
        # The driver is the time process's child.
        vm=$(awk '/^VmPeak/ {print $2}' /proc/"$(pgrep -P "$pid" | head -n 1)"/status 2>/dev/null || echo 0)
        ((${vm:-0} > peak_vm)) && peak_vm=$vm
        sleep 0.05
    done
    wait "$pid" || status=$?
    echo "$(($(tail -n 1 "$work/rss") / 1024)) $((peak_vm / 1024)) $status"
}

for build in "$@"; do
    driver=$(cd "$build" && pwd)/tests/e2e/pomvale-e2e-alarm
    read -r small_rss small_vm _ < <(alarm "$driver" "$work/small.wav")
    read -r huge_rss _ _ < <(alarm "$driver" "$work/huge.wav")
    echo "$build: peak RSS, alarm with a 3 s WAV ${small_rss} MiB, with a 1 GB WAV ${huge_rss} MiB" \
        "(peak virtual size with the 3 s WAV ${small_vm} MiB)"
    limit=$(((small_vm + 40) * 1024))
    pulse_session_record "$work/limited.wav"
    sleep 0.3
    status=0
    (ulimit -v $limit && exec "$driver" "$work/huge.wav" 2000) >"$work/limited.log" 2>&1 || status=$?
    sleep 0.3
    kill "$pulse_session_recorder"
    wait "$pulse_session_recorder" 2>/dev/null || true
    # The tone (0.5 of full scale) lasts until the box closes after 2 s; the chime peaks at 0.6 for 0.9 s.
    heard=$(sox "$work/limited.wav" -t dat - | awk -v rate=$rate '
        /^;/ { next }
        { v = $2 < 0 ? -$2 : $2; n++; if (v > 0.05) { if (!first) first = n; last = n } if (v > peak) peak = v }
        END { printf "peak %.2f for %.2f s", peak, first ? (last - first) / rate : 0 }')
    echo "$build: 1 GB WAV under ulimit -v $((limit / 1024)) MiB: exit status $status, heard: $heard" \
        "$(grep -m1 'terminate' "$work/limited.log" || true)"
done

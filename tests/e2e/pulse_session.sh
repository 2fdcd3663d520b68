# SPDX-License-Identifier: GPL-3.0-or-later
# Sourced by the end-to-end checks and the sound benchmark: a private PulseAudio server with
# one null sink, a silent stream that keeps the sink running, and cleanup of all of it.
#
#   pulse_session_start DIR    starts everything under DIR; sets PULSE_SERVER and PULSE_SINK
#   pulse_session_record FILE  records the sink's monitor into FILE (a WAV) in the background
#   pulse_session_stop         stops every process started here (also run by the EXIT trap)

pulse_session_pids=()
pulse_session_daemon_pid=

pulse_session_start() {
    local dir=$1
    mkdir -p "$dir/home" "$dir/runtime"
    chmod 700 "$dir/runtime"
    export HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime"
    export PULSE_SERVER="unix:$dir/runtime/native" PULSE_SINK=pomvale_null
    cat >"$dir/pulse.pa" <<PA
load-module module-native-protocol-unix socket=$dir/runtime/native auth-anonymous=1
load-module module-null-sink sink_name=pomvale_null rate=44100 channels=2
set-default-sink pomvale_null
PA
    # As root the server warns that it runs in system-wide style; that is harmless here.
    pulseaudio --daemonize=yes -n -F "$dir/pulse.pa" --exit-idle-time=-1 --use-pid-file=yes \
        --log-target="file:$dir/pulse.log" 2>>"$dir/pulse.log" || return 1
    local tries
    for tries in $(seq 100); do
        pactl info >/dev/null 2>&1 && break
        sleep 0.02
    done
    pactl info >/dev/null 2>&1 || { echo "the sound server did not come up" >&2; cat "$dir/pulse.log" >&2; return 1; }
    pulse_session_daemon_pid=$(cat "$dir/runtime/pulse/pid" 2>/dev/null || true)
    # An idle null sink falls seconds behind and records come back short: keep it playing.
    pacat --playback -d pomvale_null --raw --format=s16le --rate=44100 --channels=2 \
        --latency-msec=10 --client-name=keepalive </dev/zero &
    pulse_session_pids+=($!)
    trap pulse_session_stop EXIT
    trap "exit 143" TERM INT # so that the EXIT trap runs when the test is stopped
    # Even so, what the monitor delivers lags real time by up to 2 s for the first 2 s after
    # start-up (measured: a recording made then loses its last 0.8-1.8 s); after that it keeps up.
    sleep 2.5
}

pulse_session_record() {
    parecord -d pomvale_null.monitor --file-format=wav --format=s16le --rate=44100 --channels=2 \
        --latency-msec=10 "$1" &
    pulse_session_pids+=($!)
    pulse_session_recorder=$!
}

pulse_session_stop() {
    local pid
    for pid in "${pulse_session_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pulse_session_pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    pulse_session_pids=()
    if [[ -n $pulse_session_daemon_pid ]]; then
        pactl exit >/dev/null 2>&1 || kill "$pulse_session_daemon_pid" 2>/dev/null || true
        local tries
        for tries in $(seq 100); do
            kill -0 "$pulse_session_daemon_pid" 2>/dev/null || break
            sleep 0.02
        done
        kill -9 "$pulse_session_daemon_pid" 2>/dev/null || true
        pulse_session_daemon_pid=
    fi
}

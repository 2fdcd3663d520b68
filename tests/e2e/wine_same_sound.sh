#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The same WAV, the same sound: a corpus of WAV files in the encodings that older Windows programs,
# telephony and sound packs use is played by the Linux program's player and by the Windows
# program's PlaySound under Wine (through winepulse), each into a private PulseAudio null sink, and
# each recording must hold the corpus's 1 kHz tone once per file, never the chime. On Linux a FLAC
# file and a text file named .wav must give the chime instead.
#   wine_same_sound.sh BUILD_WINDOWS_DIR [LINUX_BUILD_DIR]   (the second defaults to build/)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
windows=$(cd "$1" && pwd)
linux=$(cd "${2:-$here/../../build}" && pwd)
player=$linux/tests/e2e/pomvale-play-sound
for tool in wine wineboot wineserver winepath sox lame pulseaudio pacat parecord pactl python3; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[[ -f $windows/wine-play-sound.exe ]] || { echo "SKIP: no Win32 build in $windows"; exit 77; }
[[ -x $player ]] || { echo "FAIL: no Linux build of the player in $linux"; exit 1; }

work=$(mktemp -d)
# shellcheck source=tests/e2e/pulse_session.sh
source "$here/pulse_session.sh"
cleanup() {
    wineserver -k 2>/dev/null || true
    pulse_session_stop
    rm -rf "$work"
}
trap cleanup EXIT
pulse_session_start "$work"
trap cleanup EXIT # pulse_session_start sets its own; ours also stops Wine and removes the folder

# Wine needs no display to play a sound; its prefix is made while the corpus is.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
wineboot -i >"$work/wineboot.log" 2>&1 &
wineboot_pid=$!

# The corpus: half a second of a 1 kHz tone, which the chime (880 and 659 Hz bells) never holds.
corpus=$work/corpus
mkdir "$corpus"
tone() { sox -V1 -n -r "$1" -c "$2" "${@:3}" synth 0.5 sine 1000 vol 0.5; }
tone 22050 1 -e ima-adpcm "$corpus/ima-adpcm-mono.wav"
tone 44100 2 -e ima-adpcm "$corpus/ima-adpcm-stereo.wav"
tone 8000 1 -e ms-adpcm "$corpus/ms-adpcm-mono.wav"
tone 22050 2 -e ms-adpcm "$corpus/ms-adpcm-stereo.wav"
tone 8000 1 -e u-law "$corpus/mu-law.wav"
tone 8000 1 -e a-law "$corpus/a-law.wav"
tone 8000 1 -e gsm-full-rate "$corpus/gsm.wav"
tone 44100 2 -e floating-point -b 32 "$corpus/float.wav"
# sox writes no MPEG Layer 3 inside a WAV: lame's frames under a hand-written format-0x55 header.
tone 44100 1 -b 16 -e signed-integer -t raw "$work/tone.raw"
lame -r -s 44.1 --bitwidth 16 --signed --little-endian -m m -b 64 -t --quiet "$work/tone.raw" "$work/tone.mp3"
python3 - "$work/tone.mp3" "$corpus/mp3.wav" <<'PY'
import struct, sys
frames = open(sys.argv[1], 'rb').read()
rate, bitrate = 44100, 64000
# WAVEFORMATEX for MPEG Layer 3, then MPEGLAYER3WAVEFORMAT's own fields: ID_MPEG, ISO padding,
# the block (one frame) size, one frame a block, the decoder's delay.
fmt = struct.pack('<HHIIHHH', 0x55, 1, rate, bitrate // 8, 1, 0, 12)
fmt += struct.pack('<HIHHH', 1, 0, 144 * bitrate // rate, 1, 1393)
fact = struct.pack('<I', int(rate * 0.5))
body = b'WAVE' + b'fmt ' + struct.pack('<I', len(fmt)) + fmt + b'fact' + struct.pack('<I', 4) + fact
body += b'data' + struct.pack('<I', len(frames)) + frames + (b'\0' if len(frames) % 2 else b'')
open(sys.argv[2], 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
PY
sounds=(ima-adpcm-mono ima-adpcm-stereo ms-adpcm-mono ms-adpcm-stereo mu-law a-law gsm float mp3)
# Not WAV files: the Linux program gives its chime.
tone 44100 1 "$work/tone.flac"
cp "$work/tone.flac" "$corpus/flac.wav"
echo "not a sound" >"$corpus/text.wav"
wait "$wineboot_pid" || { cat "$work/wineboot.log"; echo "FAIL: wineboot failed"; exit 1; }

# Records the sink while the command plays, and prints what each sound heard was: tone or chime.
# The Linux player starts a file every 1.5 s; PlaySound plays each to its end, then waits 0.8 s.
heard() {
    local out=$1 status=0
    shift
    pulse_session_record "$out"
    sleep 0.3 # the recorder's first samples
    timeout 60 "$@" >&2 || status=$?
    sleep 0.3
    kill "$pulse_session_recorder"
    wait "$pulse_session_recorder" 2>/dev/null || true
    ((status == 0)) || { echo "player failed ($status)"; return; }
    python3 - "$out" <<'PY'
import math, struct, sys, wave
with wave.open(sys.argv[1]) as w:
    rate, channels = w.getframerate(), w.getnchannels()
    raw = w.readframes(w.getnframes())
left = struct.unpack('<%dh' % (len(raw) // 2), raw)[::channels]
# Sounds are stretches louder than 0.02 of full scale in 10 ms steps; a gap under 350 ms, such as an
# underrun on a busy machine makes, does not end one.
step = rate // 100
loud = [max(abs(s) for s in left[i:i + step]) > 655 for i in range(0, len(left) - step, step)]
spans, start, quiet = [], None, 0
for i, on in enumerate(loud + [False] * 40):
    if on:
        start = i if start is None else start
        quiet = 0
    elif start is not None:
        quiet += 1
        if quiet == 35:
            spans.append((start * step, (i - 34) * step))
            start = None
def power(samples, hz):
    k = 2 * math.cos(2 * math.pi * hz / rate)
    a = b = 0.0
    for s in samples:
        a, b = s + k * a - b, a
    return a * a + b * b - k * a * b
names = []
for begin, end in spans:
    part = left[begin:end]
    tone, chime = power(part, 1000), power(part, 880) + power(part, 659.26)
    names.append('tone' if tone > 10 * chime else 'chime' if chime > 10 * tone else 'unclear')
    print('%.2f s to %.2f s: 1 kHz %.3g, chime %.3g' % (begin / rate, end / rate, tone, chime), file=sys.stderr)
print(' '.join(names))
PY
}

files=()
for name in "${sounds[@]}"; do files+=("$corpus/$name.wav"); done
expected=$(printf 'tone %.0s' "${sounds[@]}")
fail=0
linux_heard=$(heard "$work/linux.wav" "$player" 1.5 "${files[@]}" "$corpus/flac.wav" "$corpus/text.wav")
echo "Linux (${sounds[*]} flac text): $linux_heard"
[[ $linux_heard == "${expected}chime chime" ]] || { echo "FAIL: the Linux program did not play each file as expected"; fail=1; }

windows_files=()
for file in "${files[@]}"; do windows_files+=("$(winepath -w "$file")"); done
wine_heard=$(heard "$work/wine.wav" wine "$windows/wine-play-sound.exe" 0.8 "${windows_files[@]}")
echo "Windows under Wine (${sounds[*]}): $wine_heard"
[[ $wine_heard == "${expected% }" ]] || { echo "FAIL: PlaySound under Wine did not play each file's tone"; fail=1; }
exit $fail

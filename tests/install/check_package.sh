#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks it as a user would meet it:
#   check_package.sh
# lintian finds no errors or warnings; the package holds exactly the expected files; and the
# packaged executable, unpacked into a folder its user cannot write, starts on a private Xvfb, and
# an OK in its options window writes the user's own copy of the settings under XDG_CONFIG_HOME.
# The package is unpacked with dpkg-deb -x, not installed, so the machine's packages stay as they
# are. As root the program runs as "nobody", for whom the unpacked folder is read-only.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

source "$root/tests/e2e/harness.sh" package
timed() {
    local name=$1 start=$SECONDS
    shift
    "$@"
    echo "== package: $name: $((SECONDS - start)) s"
}

timed build "$root/scripts/package.sh" >"$work/package.out" || fail "the package did not build"
deb=$(grep "\.deb$" "$work/package.out" | tail -n 1)
echo "package: $deb"
dpkg-deb -I "$deb" | sed -n '/^ Package:/,$p'

# 1. lintian: no errors or warnings.
timed lintian lintian --fail-on error,warning --info "$deb" || fail "lintian reports problems"

# 2. The file list: exactly what a desktop and the user need, nothing of the build or tests.
app_id=org.pomvale.Pomvale
expected=(
    ./usr/bin/Pomvale
    ./usr/share/applications/$app_id.desktop
    ./usr/share/doc/pomvale/changelog.gz
    ./usr/share/doc/pomvale/copyright
    ./usr/share/man/man1/Pomvale.1.gz
    ./usr/share/metainfo/$app_id.metainfo.xml
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort) ||
    fail "the package's files differ from the expected list (< expected, > packaged)"

# 3. The packaged program, from its installed path in a folder its user cannot write.
dpkg-deb -x "$deb" "$work/root"
app=$work/root/usr/bin/Pomvale
config=$work/config
mkdir -m 700 "$config" "$work/runtime"
run_as=()
if [[ $(id -u) -eq 0 ]]; then
    chown nobody "$config" "$work/runtime"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
else
    chmod -R a-w "$work/root/usr/bin"
fi

start_xvfb 1280x1024 || fail "Xvfb did not start"

env -i PATH=/usr/bin:/bin HOME="$work" DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$config" \
    XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 \
    "${run_as[@]}" timeout 60 "$app" >"$work/Pomvale.log" 2>&1 &
started+=($!)
timeout 20 xdotool search --sync --onlyvisible --name '^Pomvale$' >/dev/null ||
    fail "no window titled Pomvale was mapped"
window=$(xdotool search --onlyvisible --name '^Pomvale$' | head -n 1)
xdotool windowfocus --sync "$window" key alt+o || fail "alt+o could not be sent"
timeout 20 xdotool search --sync --onlyvisible --name '^オプション画面$' >/dev/null ||
    fail "alt+o opened no options window"
options=$(xdotool search --onlyvisible --name '^オプション画面$' | head -n 1)
# OK has the focus when the window opens.
xdotool windowfocus --sync "$options" key Return || fail "Return could not be sent"
for _ in $(seq 100); do
    [[ -s $config/pomvale/Pomvale.ini ]] && break
    sleep 0.1
done
[[ -f $config/pomvale/Pomvale.ini ]] || fail "no per-user settings file after OK: $(find "$config")"
grep -q '^Enable=0' "$config/pomvale/Pomvale.ini" ||
    fail "the per-user file lacks Enable=0: $(cat "$config/pomvale/Pomvale.ini")"
[[ ! -e $work/root/usr/bin/Pomvale.ini ]] || fail "a settings file was written beside the executable"
echo "per-user settings written: $config/pomvale/Pomvale.ini"
echo "PASS"

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package (which runs the core's and the settings file's tests) and checks it as a
# user would meet it:
#   check_package.sh
# lintian --pedantic finds nothing that is not overridden with a reason; the package holds exactly
# the expected files, an executable without RUNPATH, one version in its metadata, and depends only
# on what the program cannot start without; and the packaged executable, unpacked into a folder its
# user cannot write, answers --version, starts on a private Xvfb, and an OK in its options window
# writes the user's own copy of the settings under XDG_CONFIG_HOME, starting from the
# administrator's defaults in XDG_CONFIG_DIRS.
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

# 1. lintian, pedantic: nothing but what debian/pomvale.lintian-overrides justifies.
timed lintian lintian --pedantic --fail-on error,warning,info,pedantic --info "$deb" ||
    fail "lintian reports problems"
grep -q 'dh_auto_test' "${deb%.deb}.build" && grep -q 'tests passed' "${deb%.deb}.build" ||
    fail "the package build ran no tests"

# 2. The file list: exactly what a desktop and the user need, nothing of the build or tests.
app_id=org.pomvale.Pomvale
expected=(
    ./usr/bin/Pomvale
    ./usr/share/applications/$app_id.desktop
    ./usr/share/doc/pomvale/changelog.gz
    ./usr/share/doc/pomvale/copyright
    ./usr/share/lintian/overrides/pomvale
    ./usr/share/man/man1/Pomvale.1.gz
    ./usr/share/metainfo/$app_id.metainfo.xml
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("./usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort) ||
    fail "the package's files differ from the expected list (< expected, > packaged)"

# 3. The executable carries no RUNPATH; the dependencies are what it cannot start without.
dpkg-deb -x "$deb" "$work/root"
app=$work/root/usr/bin/Pomvale
! readelf -d "$app" | grep -E 'RPATH|RUNPATH' || fail "the executable carries a search path"
field() { dpkg-deb -f "$deb" "$1"; }
for optional in libpulse0 libsndfile1 qt6-wayland qt6-translations-l10n; do
    [[ ", $(field Recommends), " == *", $optional, "* ]] || fail "$optional is not recommended"
    [[ ", $(field Depends), " != *" $optional"[,\ ]* ]] || fail "$optional is a hard dependency"
done
[[ $(field Depends) == *"fonts-ipafont-gothic | fonts-japanese-gothic"* ]] ||
    fail "the font is not an alternative: $(field Depends)"

# 4. One version: the package's, the metainfo's release, and the program's text of it (0.2.0.0 is
# "0.02").
version=$(field Version)
release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$work/root/usr/share/metainfo/$app_id.metainfo.xml")
[[ $release == "$version" ]] || fail "the metainfo's release is $release, the package's $version"
IFS=. read -r major minor _ <<<"$version"
shown=$(env -i PATH=/usr/bin:/bin "$app" --version) || fail "--version failed"
[[ $shown == "$(printf 'Pomvale %d.%02d' "$major" "$minor")" ]] || fail "--version printed '$shown' for $version"

# 5. The packaged program, from its installed path in a folder its user cannot write, with the
# administrator's defaults in the first folder of XDG_CONFIG_DIRS.
mkdir -p "$work/xdg/pomvale"
printf '; site defaults\r\n[Option]\r\nEnable=0\r\n' >"$work/xdg/pomvale/Pomvale.ini"
chmod -R a+rX "$work/xdg"
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

env -i PATH=/usr/bin:/bin HOME="$work" DISPLAY="$DISPLAY" XDG_CONFIG_HOME="$config" XDG_CONFIG_DIRS="$work/xdg" \
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
    grep -qs '^Path=' "$config/pomvale/Pomvale.ini" && break # the last key OK writes
    sleep 0.1
done
[[ -f $config/pomvale/Pomvale.ini ]] || fail "no per-user settings file after OK: $(find "$config")"
[[ $(cat "$config/pomvale/Pomvale.ini") == $'; site defaults\r\n[Option]\r\nEnable=0\r\nPath=\r' ]] ||
    fail "the per-user file is not the defaults with the path added: $(od -c "$config/pomvale/Pomvale.ini")"
[[ ! -e $work/root/usr/bin/Pomvale.ini ]] || fail "a settings file was written beside the executable"
echo "per-user settings written: $config/pomvale/Pomvale.ini"
echo "PASS"

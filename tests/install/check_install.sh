#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop takes from it:
#   check_install.sh BUILD_DIR APP_ID
set -euo pipefail
build=$1
app_id=$2

prefix=$(mktemp -d "${TMPDIR:-/tmp}/pomvale-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*" >&2; exit 1; }

desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
icon=$prefix/share/icons/hicolor/32x32/apps/$app_id.png
for file in "$desktop" "$metainfo" "$icon"; do
    [[ -f $file ]] || fail "not installed: ${file#"$prefix"/}"
done
[[ -x $prefix/bin/Pomvale ]] || fail "not installed: bin/Pomvale"

desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli rejects the metainfo"
appstreamcli validate-tree --no-net --explain "$prefix" || fail "appstreamcli rejects the install tree"

# The entry must start the installed program and name the installed icon.
key() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
[[ $(key Exec) == Pomvale ]] || fail "Exec is '$(key Exec)', not Pomvale"
[[ $(key Icon) == "$app_id" ]] || fail "Icon is '$(key Icon)', not $app_id"
[[ $(key Name) == Pomvale ]] || fail "Name is '$(key Name)', not Pomvale"
[[ $(key Categories) == "Utility;Clock;" ]] || fail "Categories are '$(key Categories)'"
grep -q '^Comment\[ja\]=' "$desktop" || fail "no Japanese comment"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"

# The hicolor size folder must hold an image of that size: a 32 x 32 PNG.
read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
    awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
[[ $width == 32 && $height == 32 ]] || fail "the icon is ${width}x$height, not 32x32"

echo "install tree of $prefix:"
(cd "$prefix" && find . -mindepth 1 | sort)

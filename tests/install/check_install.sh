#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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
for file in "$desktop" "$metainfo"; do
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

# Each hicolor size folder, 16 to 256, must hold a PNG of that size.
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x$size/apps/$app_id.png
    [[ -f $icon ]] || fail "not installed: ${icon#"$prefix"/}"
    read -r width height < <(od -An -tu1 -j16 -N8 "$icon" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
    [[ $width == "$size" && $height == "$size" ]] || fail "the ${size}x$size icon is ${width}x$height"
done

# A software centre's catalog keeps the component only with an icon of at least 64 x 64.
appstreamcli compose --no-net --result-root="$prefix/compose" --origin=pomvale --prefix=/ "$prefix" >/dev/null ||
    fail "appstreamcli compose failed"
zgrep -q "<id>$app_id</id>" "$prefix/compose/share/swcatalog/xml/pomvale.xml.gz" ||
    fail "appstreamcli compose dropped the component"
rm -rf "$prefix/compose"

echo "install tree of $prefix:"
(cd "$prefix" && find . -mindepth 1 | sort)

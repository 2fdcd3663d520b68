#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Windows installer, dist/Pomvale-<version>-win64.msi, from win32/installer/Pomvale.wxs
# with wixl (msitools), around the executable that scripts/build-windows.sh cross-built.
#   build-msi.sh [BUILD_WINDOWS_DIR [OUTPUT.msi [VERSION]]]
# VERSION (four numbers, 0.2.0.0 by default: the project's) is for a test that needs an older
# package to upgrade from. Each version gets a product code of its own, derived from it, so that
# the same version always builds the same product.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$root/build-windows}")
version=${3:-$(cat "$build/version-number.txt")}
out=$(realpath -m "${2:-$root/dist/Pomvale-$(cat "$build/version.txt")-win64.msi}")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "not a version: $version" >&2; exit 1; }

product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.NAMESPACE_URL, "pomvale-msi-" + sys.argv[1])).upper())' "$version")
mkdir -p "$(dirname "$out")"
# wixl finds files only by paths relative to the folder it runs in; it says "unimplemented" for
# parts of the schema this file does not use.
cd "$root"
wixl --arch x64 -D Version="$version" -D ProductCode="$product_code" \
    -D Exe="$(realpath --relative-to=. "$build/Pomvale.exe")" -D Icon=app/resources/pomvale.ico \
    -o "$out" win32/installer/Pomvale.wxs 2> >(grep -v unimplemented >&2)
echo "Built $out"

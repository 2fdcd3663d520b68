#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package pomvale_<version>_<arch>.deb from this checkout into dist/:
#   scripts/package.sh
# The checkout is copied (without build folders) to a temporary folder and built there with
# dpkg-buildpackage, so the checkout gets no debhelper files and no build of its own.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/install-deps.sh" "$root/scripts/packages-run.txt" "$root/scripts/packages-deb.txt"

work=$(mktemp -d "${TMPDIR:-/tmp}/pomvale-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/pomvale"
tar -C "$root" --exclude=./.git --exclude='./build*' --exclude=./dist --exclude=./obj-\* -cf - . |
    tar -C "$work/pomvale" -xf -

# The package's version is the program's: the changelog must follow the project's version.
project=$(sed -n 's/^set(POMVALE_VERSION \([0-9.]*\))$/\1/p' "$root/cmake/Version.cmake")
changelog=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
[[ $project == "$changelog" ]] || {
    echo "debian/changelog is at $changelog, cmake/Version.cmake at $project" >&2
    exit 1
}

(cd "$work/pomvale" && dpkg-buildpackage -us -uc -b -j"$(nproc)") >"$work/build.log" 2>&1 || {
    cat "$work/build.log" >&2
    echo "dpkg-buildpackage failed; see above." >&2
    exit 1
}
mkdir -p "$root/dist"
cp "$work"/pomvale_*.deb "$root/dist/"
ls "$root"/dist/pomvale_"$changelog"_*.deb

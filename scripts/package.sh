#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package pomvale_<version>_<arch>.deb from this checkout into dist/, with its
# debug symbols, .changes, .buildinfo and build log beside it:
#   scripts/package.sh
# The checkout is copied (without build folders) to a temporary folder and built there with
# dpkg-buildpackage, so the checkout gets no debhelper files and no build of its own. The build runs
# the core's and the settings file's tests; DEB_BUILD_OPTIONS=nocheck leaves them out.
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

# Everything the build makes is kept in dist/: the package, its debug symbols (pomvale-dbgsym),
# the .changes and .buildinfo files, and the build's log.
mkdir -p "$root/dist"
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
log=$root/dist/pomvale_${changelog}_$arch.build
(cd "$work/pomvale" && dpkg-buildpackage -us -uc -b -j"$(nproc)") >"$log" 2>&1 || {
    tail -n 60 "$log" >&2
    echo "dpkg-buildpackage failed; the end of its log is above, all of it in $log." >&2
    exit 1
}
cp "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$root/dist/"
ls "$root/dist/pomvale_${changelog}_$arch".{changes,buildinfo,build} "$root"/dist/pomvale-dbgsym_"$changelog"_"$arch".deb
# The package itself comes last: callers take the last line.
ls "$root/dist/pomvale_${changelog}_$arch.deb"

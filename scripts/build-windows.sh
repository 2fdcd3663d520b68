#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds Pomvale.exe for 64-bit Windows into build-windows/, and the zip to hand to Windows
# users, dist/Pomvale-<version>-win64.zip: a folder Pomvale/ with the executable and a short
# Japanese readme; then the installer beside it (scripts/build-msi.sh). Installs what is missing
# first (scripts/packages-windows.txt).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build-windows

"$root/scripts/install-deps.sh" "$root/scripts/packages-windows.txt"
# The configure line lives in one place, win32/CMakePresets.json.
(cd "$root/win32" && cmake --preset windows >/dev/null && cmake --build --preset windows)

version=$(cat "$build/version.txt")
zip=$root/dist/Pomvale-$version-win64.zip
mkdir -p "$root/dist"
# The readme as Windows' Notepad reads it everywhere: UTF-8 with its mark, CRLF line ends.
python3 - "$zip" "$build/Pomvale.exe" "$root/win32/readme-ja.txt" <<'PY'
import sys, zipfile
zip_path, exe, readme = sys.argv[1:]
text = open(readme, encoding="utf-8").read().replace("\n", "\r\n")
with zipfile.ZipFile(zip_path, "w", zipfile.ZIP_DEFLATED) as archive:
    archive.write(exe, "Pomvale/Pomvale.exe")
    archive.writestr("Pomvale/readme-ja.txt", "\ufeff" + text)
PY
echo "Built $build/Pomvale.exe and $zip"
"$root/scripts/build-msi.sh" "$build"

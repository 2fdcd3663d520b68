#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders a window of the program to a PNG file without a display:
#   scripts/screenshot.sh main main.png
#   QT_SCALE_FACTOR=2 scripts/screenshot.sh main main@2x.png
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
QT_QPA_PLATFORM=offscreen exec "$root/build/app/pomvale-screenshot" "$@"

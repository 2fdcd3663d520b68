#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages of the given lists that are not installed yet:
#   install-deps.sh [LIST...]    (default: all of scripts/packages*.txt)
# Runs apt-get only when something is missing, so a second run costs nothing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
lists=("$@")
[[ ${#lists[@]} -gt 0 ]] || lists=("$here"/packages*.txt)

mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "${lists[@]}" | grep -v '^$')
missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    [[ $status == "install ok installed" ]] || missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
    command -v sudo >/dev/null || { echo "Need root (or sudo) to install: ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
# Another program (an unattended upgrade, a software centre) may hold the package manager's lock:
# wait for it up to ten minutes instead of failing at once.
wait_for_lock=(-o DPkg::Lock::Timeout=600)
"${as_root[@]}" apt-get "${wait_for_lock[@]}" update -qq
"${as_root[@]}" apt-get "${wait_for_lock[@]}" install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

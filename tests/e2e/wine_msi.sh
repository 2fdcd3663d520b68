#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows installer under Wine: msiexec /i /qn puts Pomvale.exe under Program Files with a
# Start-menu shortcut and an "Apps" entry; the installed program, whose folder its user may not
# write, keeps its settings in %APPDATA%\Pomvale\Pomvale.ini, first copied byte for byte from the
# administrator's file; msiexec /x removes the program and leaves that copy, and so does an upgrade
# from an older version.
#   wine_msi.sh BUILD_WINDOWS_DIR [SCREENSHOT_DIR]
# Wine has no access lists and root writes anywhere, so as root the suite runs itself again as the
# unprivileged user "nobody", whose Wine prefix it owns; its install folder is then made read-only.
# Exits 77 (skipped) when Wine, Xvfb, xdotool, openbox, localedef or wixl is missing.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if ((EUID == 0)); then
    command -v runuser >/dev/null || { echo "SKIP: runuser is not installed"; exit 77; }
    # A home of its own, which Wine's desktop integration may write to, and a copy of what the suite
    # needs of the checkout and the build, which may lie in a folder that user cannot reach (root's).
    home=$(mktemp -d "${TMPDIR:-/tmp}/pomvale-msi-home.XXXXXX")
    root=$here/../..
    stage=$home/checkout
    mkdir -p "$stage/tests" "$stage/scripts" "$stage/win32" "$stage/app/resources" "$stage/build-windows"
    cp -R "$root/tests/e2e" "$stage/tests/"
    cp "$root/scripts/build-msi.sh" "$stage/scripts/"
    cp -R "$root/win32/installer" "$stage/win32/"
    cp "$root/app/resources/pomvale.ico" "$stage/app/resources/"
    cp "$1"/{Pomvale.exe,wine-probe.exe,version.txt,version-number.txt} "$stage/build-windows/"
    chown -R nobody "$home"
    status=0
    runuser -u nobody -- env HOME="$home" TMPDIR="${TMPDIR:-/tmp}" PATH="$PATH" \
        bash "$stage/tests/e2e/wine_msi.sh" "$stage/build-windows" \
        ${2:+"$(mkdir -p "$2" && chmod 777 "$2" && cd "$2" && pwd)"} || status=$?
    rm -rf "$home"
    exit "$status"
fi
command -v wixl >/dev/null || { echo "SKIP: wixl is not installed"; exit 77; }
shots=${2:-}
source "$here/wine_harness.sh" wine-msi "$1"
# The read-only install folder is made writable again, so that the work folder can go.
trap 'chmod -R u+w "$work" 2>/dev/null || true; wineserver -k 2>/dev/null || true; timeout 20 wineserver -w 2>/dev/null || true; cleanup' EXIT

# The packages: this version and an older one to upgrade from, each with its own product code.
"$here/../../scripts/build-msi.sh" "$build" "$work/Pomvale.msi" >/dev/null
"$here/../../scripts/build-msi.sh" "$build" "$work/Pomvale-old.msi" 0.1.0.0 >/dev/null
msiexec() { wine msiexec "$@" >>"$work/msiexec.log" 2>&1 || fail "msiexec $* failed"; }
drive=$WINEPREFIX/drive_c
app=$drive/Program\ Files/Pomvale # where start_pomvale starts the program
roaming=$drive/users/$(id -un)/AppData/Roaming
# Windows puts a machine-wide install's shortcut in the common Start menu; Wine 8 puts it in the
# installing user's. Either is the Start menu the user sees.
shortcuts=("$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Pomvale.lnk"
    "$roaming/Microsoft/Windows/Start Menu/Programs/Pomvale.lnk")
shortcut() { ls "${shortcuts[@]}" 2>/dev/null | head -n 1; }
copy=$roaming/Pomvale/Pomvale.ini
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
# The products that "Apps" lists under the name Pomvale: one line each, "version<TAB>publisher".
apps_entries() {
    wine reg query "$uninstall_key" /s 2>/dev/null | tr -d '\r' | python3 -c '
import sys
entries, entry = [], {}
for line in sys.stdin:
    if line.startswith("HKEY_"):
        entries.append(entry)
        entry = {}
    elif line.strip():
        name, _, value = line.strip().partition("    REG_")
        entry[name] = value.partition("    ")[2]
entries.append(entry)
for entry in entries:
    if entry.get("DisplayName") == "Pomvale":
        print(entry.get("DisplayVersion"), entry.get("Publisher"), sep="\t")
'
}

echo "-- msiexec /i /qn: the program, its shortcut and its Apps entry"
msiexec /i "$work/Pomvale.msi" /qn
[[ -f $app/Pomvale.exe ]] || fail "no Pomvale.exe under Program Files"
cmp -s "$app/Pomvale.exe" "$build/Pomvale.exe" || fail "the installed Pomvale.exe is not the one built"
[[ -n $(shortcut) ]] || fail "no Start-menu shortcut"
grep -qa 'Pomvale\.exe' "$(shortcut)" || fail "the shortcut does not lead to Pomvale.exe"
[[ $(apps_entries) == $'0.2.0.0\tThe Pomvale developers' ]] || fail "Apps shows: $(apps_entries)"
# "Apps" shows the icon that the installer registered for the product.
icon=$(wine reg query 'HKLM\Software\Classes\Installer\Products' /s 2>/dev/null | tr -d '\r' \
    | sed -n 's/^ *ProductIcon *REG_SZ *//p' | head -n 1)
[[ -n $icon ]] || fail "the installer registered no icon for Apps"
cmp -s "$(wine winepath -u "$icon" 2>/dev/null | tr -d '\r')" "$here/../../app/resources/pomvale.ico" \
    || fail "the icon for Apps, $icon, is not the program's"

echo "-- in a folder the user may not write, the first OK copies the administrator's file"
# The administrator's file, as written by hand on Japanese Windows.
python3 - "$app/Pomvale.ini" <<'PY'
import sys
open(sys.argv[1], "wb").write("; 管理者の設定\r\n[Option]\r\nEnable=1\r\nPath=C:\\サウンド\\アラーム.wav\r\n".encode("cp932"))
PY
cp "$app/Pomvale.ini" "$work/admin.ini"
# As under Program Files: neither the folder nor the administrator's file is the user's to write (a
# writable file there would be written in place).
chmod a-w "$app" "$app/Pomvale.ini"
start_pomvale
xdotool key alt+o
expect_control オプション画面 $'Button\t1\t1\t時間経過時、音を鳴らす' # the administrator's setting
screenshot msi-options
xdotool key --delay 20 Tab Tab space shift+Tab shift+Tab Return # clear the box, then OK
probe gone オプション画面 || fail "OK did not close the options window"
# Checked before closing the program, which a message that the save failed would keep open.
[[ -f $copy ]] || fail "OK wrote no per-user copy in %APPDATA%\\Pomvale"
stop_pomvale
cmp -s "$app/Pomvale.ini" "$work/admin.ini" || fail "the administrator's file changed"
python3 - "$copy" "$work/admin.ini" <<'PY' || fail "the per-user copy is not the administrator's file with Enable=0"
import sys
copy, admin = (open(path, "rb").read() for path in sys.argv[1:])
assert copy == admin.replace(b"Enable=1", b"Enable=0"), copy
PY
cp "$copy" "$work/user.ini"

echo "-- the next start reads the per-user copy"
start_pomvale
xdotool key alt+o
expect_control オプション画面 $'Button\t1\t0\t時間経過時、音を鳴らす'
xdotool key Return # OK: the values are those stored, so the file stays as it is
probe gone オプション画面 || fail "OK did not close the options window"
stop_pomvale
cmp -s "$copy" "$work/user.ini" || fail "an OK that changed nothing changed the per-user copy"

echo "-- msiexec /x removes the program and keeps the per-user copy"
chmod u+w "$app" # the administrator removes it
rm "$app/Pomvale.ini" # the administrator's own file, which no installer removes
msiexec /x "$work/Pomvale.msi" /qn
[[ ! -e $app/Pomvale.exe && -z $(shortcut) ]] || fail "the program or its shortcut is still there"
[[ -z $(apps_entries) ]] || fail "Apps still lists: $(apps_entries)"
cmp -s "$copy" "$work/user.ini" || fail "the per-user copy did not stay as it was"

echo "-- an upgrade from an older version replaces it and keeps the per-user copy"
msiexec /i "$work/Pomvale-old.msi" /qn
[[ $(apps_entries) == 0.1.0.0* ]] || fail "the older version is not installed; Apps shows: $(apps_entries)"
msiexec /i "$work/Pomvale.msi" /qn
[[ $(apps_entries) == 0.2.0.0* ]] || fail "Apps shows after the upgrade: $(apps_entries)"
cmp -s "$app/Pomvale.exe" "$build/Pomvale.exe" || fail "the upgrade did not install this Pomvale.exe"
cmp -s "$copy" "$work/user.ini" || fail "the upgrade changed the per-user copy"
echo "PASS"

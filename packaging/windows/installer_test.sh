#!/usr/bin/env bash
# The Windows packages under Wine, in a Wine prefix of their own: cpack makes
# the setup program and the zip; the setup program installs silently for the
# current user over an older version (files, Start menu entry, Uninstall key,
# the older version's own files gone, a template the user added kept), the
# installed korvalo-batch.exe makes the album of samples/ as the Linux build
# does, and the uninstaller leaves only the user's template and the remembered
# preferences. The same for all users in a folder named with /D=. The zip,
# unpacked where blanks and å are in the path, makes the same album and finds
# the recorder beside its programs.
#   installer_test.sh LINUX_KORVALO_BATCH WINDOWS_BUILD_FOLDER
set -euo pipefail
export LC_ALL=sv_SE.UTF-8 WINEDEBUG=-all
linux_batch=$(realpath "$1")
build=$(realpath "$2")
samples=$(cd "$(dirname "$0")/../.." && pwd)/samples
source "$samples/../tests/same_albums.sh"
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "installer_test: $*" >&2; exit 1; }
winpath() { local path=${1//\//\\}; echo "Z:$path"; }
took() { awk -v what="$1" -v from="$2" -v to="$EPOCHREALTIME" 'BEGIN { printf "%s: %.1f s\n", what, to - from }'; }
# The files every package must hold; all that lack in FOLDER are named.
require() {
  local folder=$1 what=$2 missing=() file
  shift 2
  for file in korvalo.exe korvalo-batch.exe sndrec32.exe mallar/Enkel_index.html \
    mallar/emptysound.wav dok/korvalo.html "$@"; do
    [[ -f $folder/$file ]] || missing+=("$file")
  done
  ((${#missing[@]} == 0)) || fail "$what lacks ${missing[*]}"
}

# An older version that shipped a template this one does not.
mkdir -p "$work/older/mallar"
echo "gammal" >"$work/older/mallar/Gammal_index.html"
(cd "$build" && cpack -G NSIS -D CPACK_PACKAGE_VERSION=1.1.0.0 -D CPACK_PACKAGE_FILE_NAME=older \
  -D "CPACK_INSTALLED_DIRECTORIES=$work/older;." >/dev/null && mv older.exe "$work/")
name=korvalo-1.1.0.1-win64
rm -f "$build/$name.exe" "$build/$name.zip"
(cd "$build" && cpack -G NSIS >/dev/null && cpack -G ZIP >/dev/null)
stat -c 'package: %n, %s bytes' "$build/$name".{exe,zip}

WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
wineserver --wait
unix() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
program=$(unix LOCALAPPDATA)/Programs/Korvalo
shortcut=$(unix APPDATA)/Microsoft/Windows/Start\ Menu/Programs/Korvalo.lnk
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvalo'
install() {
  local start=$EPOCHREALTIME
  wine "$2" /S || fail "$2 ended with $?"
  took "$1" "$start"
}

# Same album as the Linux build's, the templates taken from the program folder.
same_album() {
  rm -rf "$work/linux" "$work/windows"
  cp -r "$samples" "$work/linux" && cp -r "$samples" "$work/windows"
  "$linux_batch" --record never --quiet --templates-folder "$1/mallar" "$work/linux"
  wine "$1/korvalo-batch.exe" --record never --quiet "$(winpath "$work/windows")" ||
    fail "korvalo-batch.exe in $1 failed"
  same_albums "$work/linux" "$work/windows" "$work/diff" ||
    fail "the album from $1 differs: $(head -5 "$work/diff")"
}

# Installed over an older version: the programs are replaced, the template
# only the older version shipped goes, the user's own template stays.
install "install the older version" "$work/older.exe"
[[ -f $program/mallar/Gammal_index.html ]] || fail "the older version was not installed"
for part in index picture; do
  cp "$program/mallar/Enkel_$part.html" "$program/mallar/Egen_$part.html"
done
echo "skadad" >"$program/korvalo-batch.exe"
install "install over it" "$build/$name.exe"
[[ ! -e $program/mallar/Gammal_index.html ]] || fail "the older version's template is left"
[[ -f $program/mallar/Egen_index.html && -f $program/mallar/Egen_picture.html ]] ||
  fail "the user's template was lost"
cmp -s "$build/_CPack_Packages/win64/NSIS/$name/korvalo-batch.exe" "$program/korvalo-batch.exe" ||
  fail "korvalo-batch.exe was not replaced"
require "$program" "the installation" avinstallera.exe
strings -el "$shortcut" | grep -qi 'Programs\\Korvalo\\korvalo\.exe$' ||
  fail "no Start menu entry starting korvalo.exe"
registered=$(wine reg query "$key" | tr -d '\r')
for value in 'DisplayName REG_SZ Korvalo' 'DisplayVersion REG_SZ 1.1.0.1' \
  'Publisher REG_SZ Tamsell' 'DisplayIcon REG_SZ .*\\korvalo\.exe,0' \
  'EstimatedSize REG_DWORD 0x[0-9a-f]+' 'UninstallString REG_SZ ".*\\avinstallera\.exe"'; do
  grep -Eq "^ +${value// /  *}$" <<<"$registered" || fail "the Uninstall key lacks $value"
done
same_album "$program"

# Installed over itself: the user's template stays.
wine reg add 'HKCU\Software\Tamsell\Korvalo' /v LastDir /d 'C:\Bilder' /f >/dev/null
install "install again" "$build/$name.exe"
[[ -f $program/mallar/Egen_index.html ]] || fail "the user's template was lost"

# The uninstaller copies itself away and returns at once: wait for the copy.
start=$EPOCHREALTIME
wine "$program/avinstallera.exe" /S
wineserver --wait
took "uninstall" "$start"
left=$(cd "$program" && find . -mindepth 1 | sort | tr '\n' ' ')
[[ $left == "./mallar ./mallar/Egen_index.html ./mallar/Egen_picture.html " ]] || fail "left in the program folder: $left"
[[ ! -e $shortcut ]] || fail "the Start menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the Uninstall key is left"
wine reg query 'HKCU\Software\Tamsell\Korvalo' /v LastDir >/dev/null 2>&1 ||
  fail "the remembered folder went with Korvalo"

# For all users, into a folder named on the command line: the machine's
# Start menu and Uninstall key, and all of it gone again after.
machine_key=${key/HKCU/HKLM}
# /D= takes the rest of the command line, blanks and all, unquoted.
wine "$build/$name.exe" /S /ALLUSERS '/D=C:\Mitt' 'program\Korvalo' || fail "setup /ALLUSERS: $?"
everyone=$(unix ProgramData)/Microsoft/Windows/Start\ Menu/Programs/Korvalo.lnk
[[ -f "$WINEPREFIX/drive_c/Mitt program/Korvalo/korvalo.exe" && -f $everyone ]] ||
  fail "not installed for all users in the folder named"
wine reg query "$machine_key" /v InstallLocation | grep -q 'C:\\Mitt program\\Korvalo' ||
  fail "no Uninstall key for all users"
wine 'C:\Mitt program\Korvalo\avinstallera.exe' /S
wineserver --wait
[[ ! -e "$WINEPREFIX/drive_c/Mitt program/Korvalo" && ! -e $everyone ]] ||
  fail "an installation for all users was left"
! wine reg query "$machine_key" >/dev/null 2>&1 || fail "the machine's Uninstall key is left"

# The zip runs where it is unpacked, and korvalo-batch.exe finds the recorder
# beside it though PATH does not name its folder.
unpacked="$work/Mina program å"
mkdir "$unpacked"
unzip -q "$build/$name.zip" -d "$unpacked"
require "$unpacked/$name" "the zip"
same_album "$unpacked/$name"
cp "$build/tests-bin/korvalo-fake-program.exe" "$unpacked/$name/sndrec32.exe"
mkdir "$work/one" && cp "$samples/fyren.jpg" "$work/one/"
KORVALO_FAKE_LOG=$(winpath "$work/recorded") wine "$unpacked/$name/korvalo-batch.exe" \
  --record always --quiet "$(winpath "$work/one")" || fail "recording from the zip failed"
[[ $(head -1 "$work/recorded" | tr -d '\r') == "$(winpath "$work/one/fyren.wav")" ]] ||
  fail "the recorder beside the program was not started: $(cat "$work/recorded" 2>&1)"
echo "installer_test: passed"

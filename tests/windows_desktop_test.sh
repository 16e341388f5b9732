#!/usr/bin/env bash
# korvalo.exe under Wine on a private X server, driven by keys as a user
# would. A whole run (settings OK, the picker at the remembered folder, the
# log) makes the very album the Linux build makes, opens it in the browser
# registered for .html and remembers the folder in the registry. Cancel in the
# settings dialog and in the picker ends with 0 and writes nothing; "Avbryt" in
# the progress window during a recording ends with 1; a bad thumbnails value
# gives message 1 and the dialog stays. Wine and its prefix (WINEPREFIX) are
# the caller's.
#   windows_desktop_test.sh LINUX_KORVALO_BATCH WINDOWS_BUILD_FOLDER
set -uo pipefail
export LC_ALL=sv_SE.UTF-8 WINEDEBUG=-all
linux_batch=$(realpath "$1")
win_build=$(realpath "$2")
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
# The albums right under drive C: of the prefix: Wine's picker selects a
# remembered folder there, while in a fresh prefix it may miss one deeper down.
album=$(mktemp -d "$WINEPREFIX/drive_c/album-XXXXXX")
tom=$(mktemp -d "$WINEPREFIX/drive_c/tom-XXXXXX")
cpath() { local path=${1#"$WINEPREFIX/drive_c"}; echo "C:${path//\//\\}"; }
XVFB_PID=
wm=
korvalo=
cleanup() {
  [[ -n $korvalo ]] && kill "$korvalo" 2>/dev/null
  [[ -n $wm ]] && kill "$wm" 2>/dev/null
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$work" "$album" "$tom"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/err" 2>/dev/null; exit 1; }
winpath() { local path=${1//\//\\}; echo "Z:$path"; }

# Wine binds a prefix's windows to the display its server started with: wait
# until a server started without ours (by the tests before) has ended.
wineserver --wait
source "$src/tests/private_display.sh"
source "$src/tests/same_albums.sh"
start_private_display "$work" || fail "Xvfb did not start"
# Without a window manager Wine's windows take no keyboard focus reliably.
openbox >/dev/null 2>&1 &
wm=$!

# The program folder as shipped, with the stand-in recorder beside the program
# and the stand-in registered as the browser for .html.
program="$work/Program Files/Korvalo"
mkdir -p "$program"
cp -r "$win_build/bin/." "$program/"
fake="$win_build/tests-bin/korvalo-fake-program.exe"
cp "$fake" "$program/sndrec32.exe"
export KORVALO_FAKE_LOG
KORVALO_FAKE_LOG=$(winpath "$work/fake.log")
key='HKCU\Software\Tamsell\Korvalo'
wine reg add 'HKCR\.html' /ve /d KorvaloTest.html /f >/dev/null 2>&1
wine reg add 'HKCR\KorvaloTest.html\shell\open\command' /ve \
  /d "\"$(winpath "$fake")\" \"%1\"" /f >/dev/null 2>&1
remember() { wine reg add "$key" /v "$1" /d "$2" /f >/dev/null 2>&1; }
remembered() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | sed -n "s/.*REG_SZ *//p"; }

start() {
  wine "$program/korvalo.exe" >/dev/null 2>"$work/err" &
  korvalo=$!
}
# Presses $2 in the window titled $1.
press() {
  local window=
  # Not --sync: a window that goes while xdotool looks ends its search.
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [[ -n $window ]] && break
    sleep 0.3
  done
  [[ -n $window ]] || fail "no window $1 appeared"
  sleep 3  # the picker selects the remembered folder as the tree fills in
  xdotool windowactivate --sync "$window" key "$2"
}
# Ends when the program has, within $1 seconds; its exit code in $code.
await_end() {
  code=0
  timeout "$1" tail --pid="$korvalo" -f /dev/null || fail "the program did not end"
  wait "$korvalo" || code=$?
  korvalo=
}
picker='^(Browse for Folder|Bläddra efter mapp)$'

# A whole run, compared with the Linux build's album of the same folder.
mkdir "$work/linux"
cp -r "$src/samples/." "$album/"
cp -r "$src/samples/." "$work/linux/"
remember LastDir "$(cpath "$album")"
remember LastTemplate Klassisk
start
press '^Korvalo Inställningar$' Return
press "$picker" Return
await_end 60
[[ $code -eq 0 ]] || fail "the whole run ended with $code, expected 0"
mkdir "$work/bin"
# shellcheck disable=SC2016 # the recorder's own $1
printf '#!/bin/sh\nprintf "RIFF-take:%%s" "$(basename "$1")" > "$1"\n' >"$work/bin/sndrec32.exe"
chmod +x "$work/bin/sndrec32.exe"
PATH="$work/bin:$PATH" "$linux_batch" --templates-folder "$program/mallar" --template Klassisk \
  --record when-missing "$work/linux" >/dev/null || fail "the Linux build failed"
same_albums "$work/linux" "$album" "$work/diff" || fail "the albums differ: $(head -5 "$work/diff")"
grep -q "^file:///C:/album-.*/index.html" <(tr -d '\r' <"$work/fake.log") ||
  fail "the browser was not started with the album: $(cat "$work/fake.log")"
[[ $(remembered LastDir) == "$(cpath "$album")" ]] || fail "LastDir: $(remembered LastDir)"

# Cancel in the settings dialog, then in the picker: 0, nothing written.
remember LastDir "$(winpath "$work/linux")"
cp "$src/samples/fyren.jpg" "$tom/"
for where in settings picker; do
  start
  if [[ $where == settings ]]; then
    press '^Korvalo Inställningar$' Escape
  else
    press '^Korvalo Inställningar$' Return
    press "$picker" Escape
  fi
  await_end 20
  [[ $code -eq 0 ]] || fail "Cancel in the $where: exit code $code, expected 0"
done
[[ $(remembered LastDir) == "$(winpath "$work/linux")" ]] || fail "a cancel changed LastDir"

# A bad thumbnails value with Windows in English: message 1 under "Error",
# and the dialog stays.
LC_ALL=en_US.UTF-8 start
press '^Korvalo Settings$' Tab
xdotool type x && xdotool key Return
press '^Error$' Return
grep -qxF "Error: Invalid number of thumbnails" <(tr -d '\r' <"$work/err") ||
  fail "no message 1 in English for the value x"
press '^Korvalo Settings$' Escape
await_end 20
[[ $code -eq 0 ]] || fail "after message 1: exit code $code, expected 0"

# "Avbryt" in the progress window while the recorder is open: the recorder is
# stopped and the run ends with 1, LastDir kept.
remember LastDir "$(cpath "$tom")"
KORVALO_FAKE_WAIT=1 start
press '^Korvalo Inställningar$' Return
press "$picker" Return
for _ in $(seq 100); do [[ -f $tom/fyren.wav ]] && break; sleep 0.2; done
press '^Korvalo$' Escape
await_end 20
[[ $code -eq 1 ]] || fail "Avbryt during a recording: exit code $code, expected 1"
[[ $(remembered LastDir) == "$(cpath "$tom")" ]] || fail "a stopped run changed LastDir"
echo "windows_desktop_test: passed"

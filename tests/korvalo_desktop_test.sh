#!/usr/bin/env bash
# The real desktop program on a private X server, driven by keys as a user
# would. A whole run: Enter in the settings dialog, Enter in the picker on the
# remembered folder; the album is made, the browser opened, the folder
# remembered, exit code 0. Then started in English without its templates
# folder: message 6 under "Fatal Error", and after OK exit code 1. First of all, started
# without a display: a message on standard error and exit code 1.
# Skipped (77) after that where Xvfb or xdotool is missing.
# usage: korvalo_desktop_test.sh KORVALO_PROGRAM
set -uo pipefail
program=$1

export LSAN_OPTIONS=suppressions=$(cd "$(dirname "$0")" && pwd)/lsan.supp
work=$(mktemp -d)
XVFB_PID=
korvalo=
cleanup() {
  [[ -n $korvalo ]] && kill "$korvalo" 2>/dev/null
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/stderr" 2>/dev/null; exit 1; }

code=0
env -u DISPLAY QT_QPA_PLATFORM=xcb "$program" 2>"$work/stderr" || code=$?
[[ $code -eq 1 ]] || fail "without a display: exit code $code, expected 1"
grep -q "behöver en grafisk skärm.*DISPLAY" "$work/stderr" && grep -q "korvalo-batch" \
  "$work/stderr" || fail "without a display: no message naming DISPLAY and korvalo-batch"

for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

source "$(dirname "$0")/private_display.sh"
start_private_display "$work" || fail "Xvfb did not start"
export QT_QPA_PLATFORM=xcb

# Ends when process $korvalo has, within $1 seconds; its exit code in $code.
await_end() {
  code=0
  timeout "$1" tail --pid="$korvalo" -f /dev/null || fail "the program did not end"
  wait "$korvalo" || code=$?
  korvalo=
}

# A whole run, with a recorder and a browser that only note what they got.
mkdir -p "$work/bin" "$work/config/Tamsell" "$work/Album/Resa"
cp "$(dirname "$0")/../samples/fyren.jpg" "$work/Album/"
cp "$(dirname "$0")/../samples/fyren.jpg" "$work/Album/Resa/b.jpg"
printf '#!/bin/sh\necho "$1" >> "$0.log"\n' > "$work/bin/sndrec32.exe"
printf '#!/bin/sh\necho "$@" >> "$0.log"\n' > "$work/bin/browser"
chmod +x "$work/bin/sndrec32.exe" "$work/bin/browser"
printf '[General]\nLastDir=%s\n' "$work/Album" > "$work/config/Tamsell/Korvalo.conf"
XDG_CONFIG_HOME="$work/config" BROWSER="$work/bin/browser" PATH="$work/bin:$PATH" \
  "$program" 2>"$work/stderr" &
korvalo=$!
for title in '^Korvalo Inställningar$' '^Bläddra efter mapp$'; do
  window=$(timeout 20 xdotool search --sync --name "$title" | head -n 1)
  [[ -n $window ]] || fail "no window $title appeared"
  sleep 0.5  # the picker selects the remembered folder as the tree fills in
  xdotool windowfocus --sync "$window" key Return
done
await_end 30
[[ $code -eq 0 ]] || fail "the whole run ended with $code, expected 0"
[[ -f $work/Album/Resa/index.html && -f $work/Album/fyren.html ]] || fail "no album"
grep -q "^$work/Album/Resa/b.wav\$" "$work/bin/sndrec32.exe.log" || fail "no recording"
grep -q "^file://$work/Album/index.html\$" "$work/bin/browser.log" || fail "no browser"
grep -qxF "LastDir=$work/Album" "$work/config/Tamsell/Korvalo.conf" || fail "folder not kept"

cp "$program" "$work/korvalo"  # alone: no mallar/ beside it
LANGUAGE=en "$work/korvalo" 2>"$work/stderr" &
korvalo=$!
box=$(timeout 20 xdotool search --sync --name '^Fatal Error$' | head -n 1)
[[ -n $box ]] || fail "no \"Fatal Error\" box appeared"
expected="Fatal Error: Found no templates in: \"$work/mallar/\""
grep -qxF "$expected" "$work/stderr" || fail "the message is not: $expected"
kill -0 "$korvalo" 2>/dev/null || fail "the program ended before OK was pressed"

xdotool windowfocus --sync "$box" key Return
await_end 10
[[ $code -eq 1 ]] || fail "exit code $code, expected 1"
echo "passed"

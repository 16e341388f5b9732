#!/usr/bin/env bash
# The desktop program started without its templates folder, on a private X
# server: it shows message 6 under "Fatal Error", and after OK it has ended
# with exit code 1. Skipped (77) where Xvfb or xdotool is missing.
# usage: korvalo_desktop_test.sh KORVALO_PROGRAM
set -uo pipefail
program=$1
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
xvfb=
korvalo=
cleanup() {
  [[ -n $korvalo ]] && kill "$korvalo" 2>/dev/null
  [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; cat "$work/stderr" 2>/dev/null; exit 1; }

# Xvfb picks a free display and names it on descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.1; done
[[ -s $work/display ]] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb

cp "$program" "$work/korvalo"  # alone: no mallar/ beside it
"$work/korvalo" 2>"$work/stderr" &
korvalo=$!
box=$(timeout 20 xdotool search --sync --name '^Fatal Error$' | head -n 1)
[[ -n $box ]] || fail "no \"Fatal Error\" box appeared"
expected="Fatal Error: Hittade inga mallar i: \"$work/mallar/\""
grep -qxF "$expected" "$work/stderr" || fail "the message is not: $expected"
kill -0 "$korvalo" 2>/dev/null || fail "the program ended before OK was pressed"

xdotool windowfocus --sync "$box" key Return
code=0
timeout 10 tail --pid="$korvalo" -f /dev/null || fail "the program did not end after OK"
wait "$korvalo" || code=$?
korvalo=
[[ $code -eq 1 ]] || fail "exit code $code, expected 1"
echo "passed"

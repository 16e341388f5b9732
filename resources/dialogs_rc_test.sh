#!/bin/sh
# The dialogs made for Windows compile with the resource compiler as the
# Windows build compiles them, and hold a control for every widget of their
# forms, in Swedish and in English. Skipped (77) without windres (Debian: mingw-w64).
# usage: dialogs_rc_test.sh WINDRES DIALOGS.rc FORM.ui...
windres=$1 rc=$2
shift 2
command -v "$windres" >/dev/null 2>&1 || { echo "skipped: no windres"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$windres" -c 65001 "$rc" -O coff -o "$work/dialogs.o" || exit 1
# Read back, each control is a line of its own, indented, under its dialog.
"$windres" -c 65001 "$rc" -O res -o "$work/dialogs.res" &&
  "$windres" -i "$work/dialogs.res" -O rc -o "$work/back.rc" || exit 1
widgets=$((2 * ($(cat "$@" | grep -c '<widget ') - $#)))
controls=$(sed -n '/ DIALOGEX /,/^END/p' "$work/back.rc" | grep -c '^  [A-Z]')
[ "$controls" -eq "$widgets" ] || { echo "FAIL: $controls controls for $widgets widgets"; exit 1; }
echo "passed: $controls controls"

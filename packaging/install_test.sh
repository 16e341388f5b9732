#!/usr/bin/env bash
# Installs Korvalo into a temporary prefix and makes the album of samples/ with
# the installed korvalo-batch, started through its link in PREFIX/bin and with a
# PATH that does not name the program folder: the album must come out as it
# does from the build folder, and the recorder installed beside it is found.
# usage: install_test.sh BUILD-FOLDER BUILT-KORVALO-BATCH SAMPLES-FOLDER
set -euo pipefail
build=$1 built_batch=$2 samples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/korvalo-batch lib/korvalo/mallar/__goback.gif lib/korvalo/dok/korvalo.html \
  share/man/man1/korvalo-batch.1; do
  [[ -e $prefix/$file ]] || { echo "not installed: $file" >&2; exit 1; }
done
[[ $(readlink "$prefix/bin/korvalo-batch") == ../lib/korvalo/korvalo-batch ]]

cp -r "$samples" "$work/installed"
cp -r "$samples" "$work/built"
PATH=/usr/bin:/bin "$prefix/bin/korvalo-batch" --record never --quiet "$work/installed"
"$built_batch" --record never --quiet "$work/built"
# The copies' record holds the pictures' times, which the two copies of the
# samples do not share.
diff -r -x .korvalo "$work/built" "$work/installed"

# A stand-in for the installed recorder, which opens a window, notes what it is given.
mkdir "$work/one"
cp "$samples/fyren.jpg" "$work/one/"
printf '#!/bin/sh\necho "$1" > "%s"\n' "$work/recorded" >"$prefix/lib/korvalo/sndrec32.exe"
PATH=/usr/bin:/bin "$prefix/bin/korvalo-batch" --record always --quiet "$work/one"
[[ $(cat "$work/recorded") == "$work/one/fyren.wav" ]]
echo "install test: passed"

#!/usr/bin/env bash
# korvalo-batch.exe under Wine, end to end: it makes the very albums the Linux
# build makes, byte for byte, and bad input ends as it does on Linux with
# nothing lost. Wine and its prefix (WINEPREFIX) are the caller's.
#   windows_album_test.sh LINUX_KORVALO_BATCH WINDOWS_BUILD_FOLDER
set -uo pipefail
# Wine reads its command line in the locale's character set, and takes
# Windows' interface language from the locale: Swedish, as the tests expect.
export LC_ALL=sv_SE.UTF-8
linux_batch=$(realpath "$1")
win_build=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Wine's drive Z: is the Linux root; winepath cuts paths at 260 characters.
winpath() {
  local path=${1//\//\\}
  echo "Z:$path"
}

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# The program folder as shipped, a blank in its path, with the stand-in
# recorder installed beside the program as the real one is.
program="$work/Program Files/Korvalo"
mkdir -p "$program"
cp -r "$win_build/bin/." "$program/"
cp "$win_build/tests-bin/korvalo-fake-program.exe" "$program/sndrec32.exe"
fake="$win_build/tests-bin/korvalo-fake-program.exe"
export KORVALO_FAKE_LOG
KORVALO_FAKE_LOG=$(winpath "$work/recorder.log")

# The Linux build gets a recorder that saves the same take.
mkdir "$work/bin"
# shellcheck disable=SC2016 # the recorder's own $1
printf '#!/bin/sh\nprintf "RIFF-take:%%s" "$(basename "$1")" > "$1"\n' >"$work/bin/sndrec32.exe"
chmod +x "$work/bin/sndrec32.exe"

# Runs korvalo-batch.exe on the Linux folder $last; its output, without the
# console's CR, in $work/out and $work/err.
windows() {
  local folder
  folder=$(winpath "${@: -1}")
  wine "$program/korvalo-batch.exe" "${@:1:$#-1}" "$folder" >"$work/out" 2>"$work/err"
  local code=$?
  sed -i 's/\r$//' "$work/out" "$work/err"
  return $code
}

linux() {
  PATH="$work/bin:$PATH" "$linux_batch" --templates-folder "$program/mallar" "$@" >/dev/null
}

# Makes the album of `tree` on both systems with the options given and
# compares the two.
compare() {
  local name=$1 tree=$2
  shift 2
  cp -r "$tree" "$work/$name-linux"
  cp -r "$tree" "$work/$name-windows"
  linux "$@" "$work/$name-linux" || fail "$name: the Linux build failed"
  windows "$@" "$work/$name-windows" || fail "$name: korvalo-batch.exe failed: $(cat "$work/err")"
  same_albums "$work/$name-linux" "$work/$name-windows" "$work/diff" ||
    fail "$name: the albums differ: $(head -5 "$work/diff")"
}

src=$(cd "$(dirname "$0")/.." && pwd)
source "$src/tests/same_albums.sh"
for index in "$program"/mallar/*_index.html; do
  template=$(basename "$index" _index.html)
  compare "samples-$template" "$src/samples" --template "$template"
done

# Names that mean something to a command interpreter or a URL, Swedish
# letters, a sub-album, a path beyond Windows' classic 260 characters, a link
# at a page's path to a file outside and a link back up the tree.
tree="$work/tree/Sommar på sjön & 'vänner' 100% #1"
deep="$tree/Resa/$(printf 'En mycket lång mappnamn nummer %s/' 1 2 3 4 5 6)"
mkdir -p "$deep"
for name in "å ä ö.jpg" "Bröd & smör.jpg" "it's.jpg" "100% #1.jpg" "a ^ b.jpg"; do
  cp "$src/samples/fyren.jpg" "$tree/$name"
done
cp "$src/samples/blomma.gif" "$tree/Resa/Fjäll & hav.gif"
# A picture larger than a screen, stored turned: all three copies, upright.
convert -size 2400x1600 plasma: -orient right-top "$tree/Resa/Stående.jpg"
cp "$src/samples/blomma.gif" "$deep/långt bort.gif"
echo "keep" >"$work/tree/outside.txt"
ln -s "../outside.txt" "$tree/it's.html"
ln -s ".." "$tree/Resa/tillbaka"
mkdir "$work/outside" && cp "$src/samples/fyren.jpg" "$work/outside/"
ln -s "$work/outside" "$tree/Ute"
rm -f "$work/recorder.log"
compare names "$work/tree" --record always
for system in linux windows; do
  page="$work/names-$system/$(basename "$tree")/it's.html"
  [[ $(cat "$work/names-$system/outside.txt") == keep && -f $page && ! -L $page ]] ||
    fail "$system: the link at a page's path was written through or kept"
done
grep -q "^Hoppar över \".*\\\\tillbaka\": mappen ingår redan i albumet$" "$work/out" ||
  fail "the link back up the tree was not named: $(cat "$work/out")"
grep -q "^Hoppar över \".*\\\\Ute\": länken pekar utanför albummappen$" "$work/out" ||
  fail "the link out of the album was not named: $(cat "$work/out")"
[[ -z $(find "$work/outside" -name '*.html') ]] || fail "written through the link out of the album"
# The recorder got each comment's Windows path as one argument.
find "$work/names-windows" -name '*.wav' | while read -r wav; do winpath "$wav"; done |
  LC_ALL=C sort >"$work/expected"
tr -d '\r' <"$work/recorder.log" | grep -vx '\.' | LC_ALL=C sort >"$work/got"
if [[ $(grep -cx '\.' "$work/recorder.log") != $(wc -l <"$work/expected") ]] ||
  ! cmp -s "$work/expected" "$work/got"; then
  fail "the recorder's arguments: $(diff "$work/expected" "$work/got" | head -5)"
fi

# A drive's root as the folder: its log lines name it once, "K:\fyren.jpg".
mkdir "$work/root" && cp "$src/samples/fyren.jpg" "$work/root/"
ln -sfn "$work/root" "$WINEPREFIX/dosdevices/k:"
wine "$program/korvalo-batch.exe" "K:\\" | tr -d '\r' >"$work/out"
[[ $(cat "$work/out") == 'K:\fyren.jpg' && -f "$work/root/index.html" ]] ||
  fail "the album of a drive's root: $(cat "$work/out")"

# A camera card's root: its Recycle Bin (hidden and system) and .git are no
# part of the album and get nothing written into them; names Windows cannot
# use are left out with a log line. The rest is the album Linux makes of the
# same tree without them.
card="$work/card"
for picture in '$RECYCLE.BIN/S-1/$R1.jpg' .git/x.jpg Trip./t.jpg aux.jpg nul.jpg Resa/a.jpg fyren.jpg; do
  mkdir -p "$(dirname "$card/$picture")" && cp "$src/samples/fyren.jpg" "$card/$picture"
done
wine cmd /c attrib +h +s "$(winpath "$card/\$RECYCLE.BIN")"
mkdir "$work/card-linux" && cp -r "$card/Resa" "$card/.git" "$card/fyren.jpg" "$work/card-linux/"
linux --record never "$work/card-linux" || fail "card: the Linux build failed"
ln -sfn "$card" "$WINEPREFIX/dosdevices/m:"
wine "$program/korvalo-batch.exe" "M:\\" | tr -d '\r' >"$work/out"
expected='Hoppar över "M:\aux.jpg": namnet kan inte användas i Windows
M:\fyren.jpg
Hoppar över "M:\nul.jpg": namnet kan inte användas i Windows
M:\Resa
M:\Resa\a.jpg
Hoppar över "M:\Trip.": namnet kan inte användas i Windows'
[[ $(cat "$work/out") == "$expected" ]] || fail "the card's log: $(cat "$work/out")"
same_albums "$work/card-linux" "$card" "$work/diff" -x '$RECYCLE.BIN' -x aux.jpg -x nul.jpg -x Trip. ||
  fail "the card's albums differ: $(head -5 "$work/diff")"
written=$(find "$card/\$RECYCLE.BIN" "$card/.git" "$card/Trip." -type f ! -name '*.jpg')
[[ -z $written ]] || fail "written into a folder left out: $written"

# Another sndrec32.exe earlier on PATH (here a program that refuses the sound
# file) does not take the place of the one installed beside the program.
mkdir -p "$work/decoy" "$work/decoy-album"
cp "$program/korvalo-batch.exe" "$work/decoy/sndrec32.exe"
cp "$src/samples/fyren.jpg" "$work/decoy-album/"
WINEPATH=$(winpath "$work/decoy") windows --record always "$work/decoy-album" ||
  fail "a recorder earlier on PATH was started: $(cat "$work/err")"
[[ $(cat "$work/decoy-album/fyren.wav") == "RIFF-take:fyren.wav" ]] ||
  fail "the recorder beside the program did not record"

# A folder that is not there, on a server or not: exit code 2, nothing written.
for missing in '\\server\share\Bilder' 'C:\Bilder saknas'; do
  wine "$program/korvalo-batch.exe" "$missing" 2>"$work/err"
  code=$?
  [[ $code == 2 && $(tr -d '\r' <"$work/err") == "korvalo-batch: $missing: no such folder" ]] ||
    fail "$missing: exit code $code, $(cat "$work/err")"
done

# An index page another program holds open: the run ends with exit code 1
# and says which file; the page stays as it was and nothing is left beside it.
album="$work/samples-Enkel-windows"
before=$(cat "$album/index.html")
cp "$src/samples/fyren.jpg" "$album/ny.jpg"
wine "$fake" --hold "$(winpath "$album/index.html")" &
holder=$!
for _ in $(seq 100); do grep -q holding "$work/recorder.log" 2>/dev/null && break; sleep 0.1; done
windows --template Enkel "$album"
code=$?
kill "$holder" 2>/dev/null
[[ $code == 1 && $(cat "$work/err") == "Fatal Error: Failed to write to file: $(winpath "$album/index.html") (används av ett annat program)" ]] ||
  fail "an index page held open: exit code $code, $(cat "$work/err")"
[[ $(cat "$album/index.html") == "$before" ]] || fail "the index page held open was changed"
left=("$album"/.*korvalo-*)
[[ -e ${left[0]} ]] && fail "a file beside the index page was left behind: ${left[*]}"

if ((failures > 0)); then
  echo "windows_album_test: $failures failed"
  exit 1
fi
echo "windows_album_test: passed"

#!/usr/bin/env bash
# Times korvalo-batch.exe under Wine next to the Linux korvalo-batch on the
# same tree of 1,000 pictures in 10 folders, first runs and re-runs, best of
# three each, and prints the ratio. Run after scripts/windows.sh.
#   bench/windows_album.sh [PICTURES]
set -euo pipefail
cd "$(dirname "$0")/.."
pictures=${1:-1000}
work=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$work/prefix} WINEDEBUG=-all LC_ALL=sv_SE.UTF-8
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
# A server that stays up, as Windows does; one may be running already.
wineserver -p 2>/dev/null || true
if [[ ! -d $WINEPREFIX/drive_c ]]; then
  WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
fi

make_tree() {
  for ((i = 0; i < pictures; i++)); do
    folder="$1/Mapp $((i % 10))"
    mkdir -p "$folder"
    if ((i % 2)); then
      cp samples/fyren.jpg "$folder/Bild $i.jpg"
    else
      cp samples/blomma.gif "$folder/Bild $i.gif"
    fi
  done
}

now() { date +%s.%N; }
smaller() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }

# "first re-run": the best of three of each, in seconds, of "$@" on a fresh
# tree and then again on the finished album.
best_of_three() {
  local first="" again=""
  for _ in 1 2 3; do
    rm -rf "$work/tree" && make_tree "$work/tree"
    local start middle end
    start=$(now)
    "$@" "$work/tree" >/dev/null
    middle=$(now)
    "$@" "$work/tree" >/dev/null
    end=$(now)
    first=$(smaller "$first" "$(echo "$middle - $start" | bc)")
    again=$(smaller "$again" "$(echo "$end - $middle" | bc)")
  done
  echo "$first $again"
}

windows_batch() {
  wine build-win/bin/korvalo-batch.exe --record never "Z:${1//\//\\}"
}
linux_batch() {
  build/bin/korvalo-batch --record never "$1"
}

read -r linux linuxAgain < <(best_of_three linux_batch)
read -r windows windowsAgain < <(best_of_three windows_batch)
printf '%d pictures, first run:  Linux %.3f s, Windows under Wine %.3f s, ratio %.2f\n' \
  "$pictures" "$linux" "$windows" "$(echo "$windows / $linux" | bc -l)"
printf '%d pictures, re-run:     Linux %.3f s, Windows under Wine %.3f s, ratio %.2f\n' \
  "$pictures" "$linuxAgain" "$windowsAgain" "$(echo "$windowsAgain / $linuxAgain" | bc -l)"

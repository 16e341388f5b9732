#!/usr/bin/env bash
# Copies of camera-sized JPEGs, ours against ImageMagick's best, per core.
# Makes the three copies a picture needs (1600, 800 and 400 pixels on the long
# side) of 12- and 24-megapixel pictures, with the copy engine on one thread
# and with ImageMagick (one process a picture, one thread, the decoder told
# the size it may scale to, -thumbnail, the three copies written with -write),
# and prints pictures per CPU second for both, the copies' sizes and the peak
# memory. The pictures are made once (photo-like: plasma clouds with sensor
# noise, 2.4-4.4 MB at 12 megapixels) and kept in build-bench/bench-pictures.
# usage: bench/picture_copies.sh [ROUNDS]   (default 3)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALO_BENCH=ON \
  -DKORVALO_TESTS=OFF -DKORVALO_GUI=OFF >/dev/null
ninja -C build-bench -j2 picture_copies korvalo-batch korvalo_data >/dev/null
bench=build-bench/bin/picture_copies

pictures=$PWD/build-bench/bench-pictures
mkdir -p "$pictures"
make_picture() {  # name width height seed
  [[ -f $pictures/$1 ]] && return
  convert -seed "$4" -size "$2x$3" plasma:fractal -attenuate 0.4 +noise Gaussian \
    -sampling-factor 2x2 -quality 90 "$pictures/$1.tmp.jpg"
  mv "$pictures/$1.tmp.jpg" "$pictures/$1"
}
make_picture 12a.jpg 4000 3000 1
make_picture 12b.jpg 4000 3000 2
make_picture 12c.jpg 3000 4000 3
make_picture 24a.jpg 6000 4000 4
make_picture 24b.jpg 4000 6000 5

work=$(mktemp -d "${TMPDIR:-/tmp}/picture-copies.XXXXXX")
trap 'rm -rf "$work"' EXIT

# ImageMagick: the CPU seconds of one process a picture, all rounds.
magick_seconds() {
  local picture size width height hint
  for ((round = 0; round < rounds; ++round)); do
    for picture in "$@"; do
      size=$(identify -format '%w %h' "$picture")
      width=${size% *} height=${size#* }
      # The decoder's hint has the picture's shape, or it may only halve.
      if ((width >= height)); then
        hint=1600x$(((height * 1600 + width / 2) / width))
      else
        hint=$(((width * 1600 + height / 2) / height))x1600
      fi
      { MAGICK_THREAD_LIMIT=1 /usr/bin/time -f '%U %S' convert -define jpeg:size="$hint" \
        "$picture" -thumbnail 1600x1600 -quality 85 -write "$work/im-1600.jpg" \
        -thumbnail 800x800 -write "$work/im-800.jpg" -thumbnail 400x400 "$work/im-400.jpg"; } \
        2>&1 | tail -n 1
    done
  done | awk '{total += $1 + $2} END {print total}'
}

report() {  # label pictures...
  local label=$1
  shift
  local ours magick
  ours=$("$bench" "$work/ours" "$rounds" 0 "$@")
  magick=$(magick_seconds "$@")
  # "pictures N wall_s S cpu_s S per_s R per_cpu_s R" and ImageMagick's CPU seconds.
  echo "$ours $magick" | awk -v label="$label" '{
    magick = $2 / $11
    printf "%s: ours %.2f pictures per CPU second, ImageMagick %.2f: %.2f times as fast\n",
      label, $10, magick, $10 / magick }'
}

echo "pictures: $(cd "$pictures" && ls -l --block-size=K ./*.jpg | awk '{printf "%s %s  ", $9, $5}')"
report "12 megapixels" "$pictures"/12?.jpg
report "24 megapixels" "$pictures"/24?.jpg

"$bench" "$work/sizes" 1 0 "$pictures/12a.jpg" >/dev/null
echo "copies of 12a.jpg ($(stat -c %s "$pictures/12a.jpg") bytes):" \
  "$(cd "$work/sizes" && stat -c '%n %s' 0-1600.jpg 0-800.jpg 0-400.jpg | tr '\n' ' ')"
peak=$( { /usr/bin/time -f '%M' "$bench" "$work/pool" 1 2 "$pictures"/*.jpg >/dev/null; } 2>&1)
magick_peak=$( { MAGICK_THREAD_LIMIT=1 /usr/bin/time -f '%M' convert -define jpeg:size=1600x1067 \
  "$pictures/24a.jpg" -thumbnail 1600x1600 "$work/im.jpg"; } 2>&1)
echo "peak memory: ours, two threads over all pictures, ${peak} KB;" \
  "ImageMagick, one 24-megapixel picture, ${magick_peak} KB"

# A whole album with a shipped template, on both cores: the first run makes
# every copy; a re-run of the unchanged folder makes none and leaves their
# time stamps as they were.
album=$work/album
mkdir "$album"
for i in $(seq -w 1 20); do cp "$pictures/12$(printf '%s' abc | cut -c$((10#$i % 3 + 1))).jpg" "$album/p$i.jpg"; done
batch=(build-bench/bin/korvalo-batch --template Enkel --record never --quiet "$album")
first=$( { /usr/bin/time -f '%e %U %S' "${batch[@]}"; } 2>&1)
before=$(stat -c '%n %Y.%y' "$album"/__kopior/*.jpg | md5sum)
again=$( { /usr/bin/time -f '%e %U %S' "${batch[@]}"; } 2>&1)
after=$(stat -c '%n %Y.%y' "$album"/__kopior/*.jpg | md5sum)
made=$([[ $before == "$after" ]] && echo "none" || echo "some")
echo "album of 20 pictures of 12 megapixels (Enkel): first run ${first% * *} s wall" \
  "($(echo "$first" | awk '{print $2 + $3}') s CPU, $(ls "$album"/__kopior/*.jpg | wc -l) copies);" \
  "re-run ${again% * *} s, copies made again: $made"

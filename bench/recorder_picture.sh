#!/bin/sh
# Builds the recorder in Release in build-bench-gui and times its window until
# a 24-megapixel JPEG beside the sound file is on screen, on a private X server.
# usage: bench/recorder_picture.sh [ROUNDS]
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALO_BENCH=ON \
  -DKORVALO_TESTS=OFF >/dev/null
ninja -C build-bench-gui -j2 recorder_picture
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
# Xvfb picks a free display and names it on descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.05; done
mkdir -m 700 "$work/runtime"
DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  build-bench-gui/bin/recorder_picture "$@"

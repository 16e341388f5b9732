#!/bin/sh
# Builds the recorder in Release in build-bench-gui and times its window until
# a 24-megapixel JPEG beside the sound file is on screen, on a private X server.
# usage: bench/recorder_picture.sh [ROUNDS]
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALO_BENCH=ON \
  -DKORVALO_TESTS=OFF >/dev/null
ninja -C build-bench-gui -j2 recorder_picture
. bench/private_display.sh
build-bench-gui/bin/recorder_picture "$@"

#!/bin/sh
# Builds the benchmark in Release in build-bench and runs it: korvalo-batch,
# the desktop program (offscreen, answered by a robot) and the file-work floor.
# usage: bench/run.sh [PICTURES ...]
# The trees are made in $TMPDIR, by default in /dev/shm: on a disk the timings
# follow the writeback of earlier runs more than the programs.
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALO_BENCH=ON \
  -DKORVALO_TESTS=OFF >/dev/null
ninja -C build-bench -j2 album_bench
if [ -z "$TMPDIR" ] && [ -d /dev/shm ]; then
  TMPDIR=/dev/shm
  export TMPDIR
fi
echo "pictures in ${TMPDIR:-/tmp}"
build-bench/bin/album_bench "$@"

#!/bin/sh
# Runs every built fuzz target for the given number of seconds (default 20)
# and prints how many inputs each one executed. Builds nothing: configure and
# build first, e.g.
#   CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKORVALO_FUZZ=ON
#   ninja -C build-fuzz fuzz_jpeg fuzz_gif fuzz_fit_image_box fuzz_template fuzz_path_part \
#     fuzz_gif_frame fuzz_jpeg_layout
# KORVALO_FUZZ_BUILD names another build folder (default: build-fuzz beside
# this folder). Exits non-zero when a target is missing or finds a crash; its
# input is then in <build>/fuzz-artifacts/.
set -u

seconds=${1:-20}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [seconds-per-target]" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
build=${KORVALO_FUZZ_BUILD:-$here/../build-fuzz}
artifacts=$build/fuzz-artifacts
mkdir -p "$artifacts"

status=0
for target in jpeg gif fit_image_box template path_part gif_frame jpeg_layout; do
  program=$build/bin/fuzz_$target
  if [ ! -x "$program" ]; then
    echo "fuzz_$target: not built ($program)" >&2
    status=1
    continue
  fi
  # New inputs go to a working corpus in the build folder; the committed seeds
  # stay as they are.
  corpus=$build/fuzz-corpus/$target
  mkdir -p "$corpus"
  log=$artifacts/fuzz_$target.log
  "$program" -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$artifacts/fuzz_$target-" "$corpus" "$here/corpus/$target" >"$log" 2>&1
  result=$?
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  if [ $result -eq 0 ]; then
    echo "fuzz_$target: ${executions:-?} executions in ${seconds} s"
  else
    echo "fuzz_$target: FAILED after ${executions:-?} executions (exit $result), see $log"
    status=1
  fi
done
exit $status

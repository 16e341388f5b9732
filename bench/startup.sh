#!/bin/sh
# Builds the desktop program in Release in build-bench-gui and times its start
# until the settings dialog is on screen, on a private X server.
# usage: bench/startup.sh [ROUNDS]
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALO_BENCH=ON \
  -DKORVALO_TESTS=OFF >/dev/null
ninja -C build-bench-gui -j2 dialog_startup korvalo korvalo_data
. bench/private_display.sh
# A desktop session has a session bus; without one Qt spends some 50 ms trying
# to start one, which no user would see.
session=
if command -v dbus-run-session >/dev/null; then
  session="dbus-run-session --"
fi
$session build-bench-gui/bin/dialog_startup build-bench-gui/bin/korvalo "$@"

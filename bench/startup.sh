#!/bin/sh
# Builds the desktop program in Release in build-bench-gui and times its start
# until the settings dialog is on screen, on a private X server.
# usage: bench/startup.sh [ROUNDS]
set -e
cd "$(dirname "$0")/.."
cmake -S . -B build-bench-gui -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVALO_BENCH=ON \
  -DKORVALO_TESTS=OFF >/dev/null
ninja -C build-bench-gui -j2 dialog_startup korvalo korvalo_data
work=$(mktemp -d)
trap 'kill "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
# Xvfb picks a free display and names it on descriptor 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
while [ ! -s "$work/display" ]; do sleep 0.05; done
mkdir -m 700 "$work/runtime"
# A desktop session has a session bus; without one Qt spends some 50 ms trying
# to start one, which no user would see.
session=
if command -v dbus-run-session >/dev/null; then
  session="dbus-run-session --"
fi
DISPLAY=":$(cat "$work/display")" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
  $session build-bench-gui/bin/dialog_startup build-bench-gui/bin/korvalo "$@"

#!/usr/bin/env bash
# Photographs the setup program's first page under Wine, on a private X
# display with openbox for the title bar, for the README.
#   installer_screenshot.sh SETUP-PROGRAM OUTPUT.png [DISPLAY-NUMBER]
# Needs xvfb, openbox, xdotool and imagemagick besides Wine.
set -euo pipefail
setup=$(realpath "$1")
output=$(realpath -m "$2")
export DISPLAY=:${3:-73} LC_ALL=${LC_ALL:-sv_SE.UTF-8} WINEDEBUG=-all
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
pids=()
trap 'wineserver -k 2>/dev/null || true; kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp &
pids+=($!)
sleep 1
openbox &
pids+=($!)
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
wineserver --wait
wine "$setup" &
pids+=($!)
window=
for _ in $(seq 100); do
  window=$(xdotool search --name 'Korvalo .* (Installation|Setup)$' 2>/dev/null | head -1) && [[ -n $window ]] && break
  sleep 0.2
done
[[ -n $window ]] || { echo "installer_screenshot: no setup window" >&2; exit 1; }
sleep 2
import -window "$window" -frame "$output"
echo "installer_screenshot: $output"

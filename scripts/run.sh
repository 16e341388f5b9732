#!/usr/bin/env bash
# Installs what is needed, builds Korvalo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

# build/bin is laid out as an installed Korvalo: the programs with mallar/ and
# dok/ beside them, and the recorder sndrec32.exe in the same folder.
if [[ -n ${DISPLAY:-} || -n ${WAYLAND_DISPLAY:-} ]]; then
  exec build/bin/korvalo
fi

# No display to show windows on: make the demo album of the sample pictures
# with the headless korvalo-batch instead.
echo "run: no display (DISPLAY and WAYLAND_DISPLAY are unset), so Korvalo's windows cannot open." >&2
demo=$(mktemp -d /tmp/korvalo-demo-XXXXXX)
cp -r samples/. "$demo"/
echo "run: making a demo album of samples/ with korvalo-batch in $demo" >&2
build/bin/korvalo-batch --record never "$demo"
echo "run: the album's index page is $demo/index.html"

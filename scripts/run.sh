#!/usr/bin/env bash
# Installs what is needed, builds Korvalo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

if [[ -x build/bin/korvalo ]]; then
  exec build/bin/korvalo
fi

# Until the desktop program lands, show what the album maker does: a demo album
# of the sample pictures, made by the headless korvalo-batch.
echo "run: the desktop program (build/bin/korvalo) is not there yet." >&2
if [[ ! -x build/bin/korvalo-batch ]]; then
  echo "run: korvalo-batch is not there either; nothing to start." >&2
  exit 1
fi
demo=$(mktemp -d /tmp/korvalo-demo-XXXXXX)
cp -r samples/. "$demo"/
echo "run: making a demo album with korvalo-batch in $demo" >&2
build/bin/korvalo-batch --open-browser "$demo"

#!/usr/bin/env bash
# Installs what building, running and testing Korvalo needs on Debian 12.
# Quick when everything is already there. Run as root (or through sudo).
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev libturbojpeg0-dev
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev qt6-multimedia-dev
  xvfb xdotool x11-apps imagemagick xdg-utils libxcb1-dev
  pulseaudio pulseaudio-utils sox espeak-ng python3
  desktop-file-utils appstream
  chromium
)
# Node.js for the browser test; a Node.js from elsewhere (with its own npm) will do.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  packages+=(nodejs npm)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all packages present"
else
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    sudo=(sudo)
  fi
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser test's puppeteer-core and axe-core, as the lock file has them;
# puppeteer-core drives the chromium above and downloads no browser of its own.
browser_tests=$(cd "$(dirname "$0")/../tests/browser" && pwd)
if [[ ! $browser_tests/node_modules/.package-lock.json -nt $browser_tests/package-lock.json ]]; then
  echo "install-deps: npm ci in tests/browser"
  (cd "$browser_tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi

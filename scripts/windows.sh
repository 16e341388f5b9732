#!/usr/bin/env bash
# Builds Korvalo for Windows into build-win/ (mingw-w64) and tests it under
# Wine in a private prefix: the unit tests, then korvalo-batch.exe and
# korvalo.exe end to end against the albums of the Linux build in build/.
# Installs what it needs on Debian 12 (run as root, or through sudo). Ends
# non-zero when a test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

section() { printf '\n=== windows: %s ===\n' "$*"; }

section "dependencies"
# The Linux build is the one the Windows albums are compared with.
bash scripts/install-deps.sh
packages=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine wine64 googletest
  libcli11-dev nsis openbox xvfb xdotool locales)
missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done
sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
if ((${#missing[@]} > 0)); then
  echo "windows: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -qq
  "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Wine takes Windows' interface language from the locale, where it is made:
# Swedish for the tests, English for the English ones.
for locale in sv_SE en_US; do
  if ! locale -a 2>/dev/null | grep -qix "$locale.utf-\?8"; then
    "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done

section "build build-win/"
cmake -S . -B build-win -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release
cmake --build build-win -j "$jobs"
# A program folder that runs where nothing else is installed imports only
# DLLs that come with Windows.
for exe in korvalo-batch.exe korvalo.exe sndrec32.exe; do
  imports=$(x86_64-w64-mingw32-objdump -p "build-win/bin/$exe" | awk '/DLL Name/ {print $3}')
  for dll in $imports; do
    case ${dll,,} in
      kernel32.dll | msvcrt.dll | shell32.dll | shlwapi.dll | advapi32.dll | user32.dll) ;;
      comctl32.dll | gdi32.dll | ole32.dll | winmm.dll | windowscodecs.dll) ;;
      *) echo "windows: $exe needs $dll, which Windows does not ship" >&2 && exit 1 ;;
    esac
  done
done

section "build korvalo-batch for Linux, as the README builds it"
if [[ ! -f build/CMakeCache.txt ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j "$jobs" --target korvalo-batch

section "a private Wine prefix"
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all LC_ALL=sv_SE.UTF-8
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# No Mono or Gecko installer dialogs: console programs need neither.
WINEDLLOVERRIDES="mscoree,mshtml=" wineboot --init >/dev/null 2>&1
wineserver --wait

section "unit tests under Wine"
# On a private X server: a few make windows. The Wine server that starts with
# them is bound to it, so it goes with it before the next tests.
source tests/private_display.sh
display_work=$(mktemp -d)
start_private_display "$display_work"
ctest --test-dir build-win --output-on-failure
wineserver -k 2>/dev/null || true
wineserver --wait
kill "$XVFB_PID"
rm -rf "$display_work"
unset DISPLAY

section "korvalo-batch.exe end to end, compared with the Linux build"
bash tests/windows_album_test.sh build/bin/korvalo-batch build-win

section "korvalo.exe end to end under Wine, driven by keys"
bash tests/windows_desktop_test.sh build/bin/korvalo-batch build-win

section "sndrec32.exe under Wine against a test sound server"
rc=0
bash tests/windows_recorder_test.sh build-win/bin/sndrec32.exe || rc=$?
if ((rc == 77)); then
  echo "windows: the recorder test was skipped: no sound server here"
elif ((rc != 0)); then
  exit "$rc"
fi

section "the setup program and the zip, installed and removed under Wine"
bash packaging/windows/installer_test.sh build/bin/korvalo-batch build-win

section "all passed"

#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it as a user would
# meet it: its dependencies and files, the desktop entry and the AppStream
# metainfo, then installs it, runs korvalo-batch from PATH and removes it again,
# leaving nothing behind. Run as root on a machine where Korvalo may be installed.
# usage: check_deb.sh BUILD-FOLDER
set -euo pipefail
build=$(cd "$1" && pwd)
export DEBIAN_FRONTEND=noninteractive
fail() { echo "check_deb: $*" >&2; exit 1; }

rm -f "$build"/korvalo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$build/korvalo_1.1.0.1_amd64.deb
[[ -f $deb ]] || fail "cpack made no $(basename "$deb")"

dpkg-deb -I "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6multimedia6 libturbojpeg0 xdg-utils; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in usr/bin/korvalo usr/bin/korvalo-batch \
  usr/lib/korvalo/korvalo usr/lib/korvalo/korvalo-batch usr/lib/korvalo/sndrec32.exe \
  usr/lib/korvalo/mallar/Enkel_index.html usr/lib/korvalo/mallar/emptysound.wav \
  usr/lib/korvalo/dok/korvalo.html usr/share/applications/korvalo.desktop \
  usr/share/metainfo/se.tamsell.korvalo.metainfo.xml \
  usr/share/icons/hicolor/{16x16,32x32,48x48,128x128}/apps/korvalo.png \
  usr/share/icons/hicolor/scalable/apps/korvalo.svg \
  usr/share/man/man1/korvalo.1 usr/share/man/man1/korvalo-batch.1 \
  usr/share/doc/korvalo/copyright; do
  grep -qxF "./$file" <<<"$contents" || fail "the package lacks /$file"
done
if grep -qv '^\./usr/' <<<"$contents"; then
  fail "files outside /usr: $(grep -v '^\./usr/' <<<"$contents")"
fi

unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
desktop-file-validate "$unpacked/usr/share/applications/korvalo.desktop"
appstreamcli validate --no-net "$unpacked/usr/share/metainfo/se.tamsell.korvalo.metainfo.xml"

if dpkg-query -W korvalo >/dev/null 2>&1; then
  apt-get remove -y -qq korvalo >/dev/null
fi
apt-get install -y -qq "$deb" >/dev/null
installed=$(dpkg -L korvalo)
[[ $(command -v korvalo-batch) == /usr/bin/korvalo-batch ]] || fail "korvalo-batch is not on PATH"
version=$(korvalo-batch --version)
echo "installed: $version"
[[ $version == "korvalo-batch 1.1" ]] || fail "korvalo-batch --version said: $version"

apt-get remove -y -qq korvalo >/dev/null
if [[ $(dpkg-query -W -f='${db:Status-Status}' korvalo 2>/dev/null) == installed ]]; then
  fail "korvalo is still installed after its removal"
fi
while read -r path; do
  if [[ -e $path && ! -d $path ]]; then
    fail "left behind after removal: $path"
  fi
done <<<"$installed"
if [[ -e /usr/lib/korvalo ]]; then
  fail "left behind after removal: /usr/lib/korvalo"
fi
echo "check_deb: passed"

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Builds the Debian package from the (hardened) build tree given as $1 and
# checks it as a distribution would: its control fields and files, lintian
# with no error or warning, hardening-check on the game, and the manual page
# rendering without a warning.
set -eu
build=$1
app=org.tarvelo.Tarvelo
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "debian_package: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >/dev/null
arch=$(dpkg --print-architecture)
deb="$out/tarvelo_1.00_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") was built: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = tarvelo ] || fail "Package: $(field Package)"
[ "$(field Version)" = 1.00 ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = games ] || fail "Section: $(field Section)"
depends=$(field Depends)
for package in fonts-liberation fonts-liberation2 qt6-qpa-plugins libqt6widgets6 libqt6svg6 libc6; do
    echo "$depends" | tr ',' '\n' | grep -q "^ *$package\( \|$\)" || fail "Depends lacks $package: $depends"
done

[ "$(field Recommends)" = qt6-translations-l10n ] || fail "Recommends: $(field Recommends)"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | LC_ALL=C sort)
expected="./usr/bin/tarvelo
./usr/share/applications/$app.desktop
./usr/share/icons/hicolor/128x128/apps/$app.png
./usr/share/icons/hicolor/256x256/apps/$app.png
./usr/share/icons/hicolor/32x32/apps/$app.png
./usr/share/icons/hicolor/48x48/apps/$app.png
./usr/share/icons/hicolor/64x64/apps/$app.png
./usr/share/icons/hicolor/scalable/apps/$app.svg
./usr/share/metainfo/$app.metainfo.xml"
[ "$files" = "$expected" ] || fail "the package holds:
$files"
echo "debian_package: ok"

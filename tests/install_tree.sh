#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Stages an install of the build tree given as $1 and checks that the files
# are where desktops look for them, and that the desktop entry and the
# AppStream metainfo pass their validators.
set -eu
build=$1
app=org.tarvelo.Tarvelo
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build" --prefix /usr >/dev/null
cd "$stage/usr"

fail() { echo "install_tree: $*" >&2; exit 1; }

expected="bin/tarvelo
share/applications/$app.desktop
share/icons/hicolor/128x128/apps/$app.png
share/icons/hicolor/256x256/apps/$app.png
share/icons/hicolor/32x32/apps/$app.png
share/icons/hicolor/48x48/apps/$app.png
share/icons/hicolor/64x64/apps/$app.png
share/icons/hicolor/scalable/apps/$app.svg
share/metainfo/$app.metainfo.xml"
actual=$(find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$actual"

[ -x bin/tarvelo ] || fail "bin/tarvelo is not executable"
for size in 32 48 64 128 256; do
    file "share/icons/hicolor/${size}x${size}/apps/$app.png" | grep -q "PNG image data, $size x $size" ||
        fail "the $size px icon is not a $size x $size PNG"
done

desktop-file-validate "share/applications/$app.desktop"
grep -qx 'Exec=tarvelo' "share/applications/$app.desktop" || fail "the desktop entry does not start tarvelo"
grep -qx "Icon=$app" "share/applications/$app.desktop" || fail "the desktop entry names another icon"
grep -q '^Categories=Game;' "share/applications/$app.desktop" || fail "the desktop entry is not under Games"

appstreamcli validate --no-net "share/metainfo/$app.metainfo.xml"
metainfo="share/metainfo/$app.metainfo.xml"
for pattern in '<release version="1.00"' '<summary xml:lang="ru">' '<content_rating type="oars-1.1"' \
    '<screenshot type="default">' "<launchable type=\"desktop-id\">$app.desktop</launchable>"; do
    grep -qF "$pattern" "$metainfo" || fail "the metainfo lacks $pattern"
done
echo "install_tree: ok"

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

expected="games/tarvelo
share/applications/$app.desktop
share/doc/tarvelo/changelog.gz
share/doc/tarvelo/copyright
share/icons/hicolor/128x128/apps/$app.png
share/icons/hicolor/256x256/apps/$app.png
share/icons/hicolor/32x32/apps/$app.png
share/icons/hicolor/48x48/apps/$app.png
share/icons/hicolor/64x64/apps/$app.png
share/icons/hicolor/scalable/apps/$app.svg
share/man/man6/tarvelo.6.gz
share/metainfo/$app.metainfo.xml"
actual=$(find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || fail "installed files differ:
$actual"

[ -x games/tarvelo ] || fail "games/tarvelo is not executable"
# No command line: Qt's own options do not reach Qt either. With them, an
# unknown platform would end the program at once; without, it runs on.
QT_QPA_PLATFORM=offscreen timeout 3 games/tarvelo -platform no-such-platform -style no-such-style 2>/dev/null &&
    fail "the game ended by itself"
[ $? -eq 124 ] || fail "the game took Qt's options from its command line"
for size in 32 48 64 128 256; do
    file "share/icons/hicolor/${size}x${size}/apps/$app.png" | grep -q "PNG image data, $size x $size" ||
        fail "the $size px icon is not a $size x $size PNG"
done

desktop-file-validate "share/applications/$app.desktop"
grep -qx 'Exec=tarvelo' "share/applications/$app.desktop" || fail "the desktop entry does not start tarvelo"
grep -qx "Icon=$app" "share/applications/$app.desktop" || fail "the desktop entry names another icon"
grep -q '^Categories=Game;' "share/applications/$app.desktop" || fail "the desktop entry is not under Games"

metainfo="share/metainfo/$app.metainfo.xml"
# The one pedantic note left is the capital letter in the ID, which is also
# the name of the desktop entry and the icon. AppStream before 1.0 (Debian
# 12's 0.16) does not know the <developer> tag that replaced
# <developer_name>, and says so in a note of its own.
notes=$(appstreamcli validate --pedantic --no-net "$metainfo") || fail "appstreamcli: $notes"
expected="P: $app:3: cid-contains-uppercase-letter $app"
version=$(appstreamcli --version | sed -n 's/^AppStream version: //p')
dpkg --compare-versions "$version" ge 1.0 || expected="$expected
I: $app:[0-9]*: unknown-tag developer"
echo "$notes" | grep '^[A-Z]:' | grep -vx "$expected" && fail "appstreamcli: $notes"
[ "$(echo "$notes" | grep -c '^[A-Z]:')" -eq "$(echo "$expected" | wc -l)" ] || fail "appstreamcli: $notes"
for pattern in '<release version="1.00"' '<summary xml:lang="ru">' '<content_rating type="oars-1.1"' \
    '<project_license>GPL-3.0-or-later</project_license>' '<metadata_license>CC0-1.0</metadata_license>' \
    '<screenshot type="default">' "<launchable type=\"desktop-id\">$app.desktop</launchable>"; do
    grep -qF "$pattern" "$metainfo" || fail "the metainfo lacks $pattern"
done
echo "install_tree: ok"

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
dpkg-deb -x "$deb" "$out/root"

# Depends names, on this release, the packages that hold what the game
# loads, and nothing else: every library it links, its two faces as
# fontconfig finds them, and Qt's SVG image plugin. Recommends names those
# of Qt's Russian texts and of Qt's Wayland platform.
owners() {
    for file in "$@"; do
        dpkg-query -S "*/${file##*/}" 2>/dev/null | sed -n 's/[:,].*//p' | head -n 1 | grep . ||
            fail "no package holds $file"
    done
}
names() { tr ',' '\n' | sed 's/^ *//; s/[ :].*//' | LC_ALL=C sort -u | tr '\n' ' '; }
plugins=$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || qmake6 -query QT_INSTALL_PLUGINS)
translations=$(qtpaths6 --query QT_INSTALL_TRANSLATIONS 2>/dev/null || qmake6 -query QT_INSTALL_TRANSLATIONS)
libraries=$(objdump -p "$out/root/usr/games/tarvelo" | awk '$1 == "NEEDED" { print $2 }')
faces=$(fc-match -f '%{file}\n' 'Liberation Sans:bold'; fc-match -f '%{file}\n' 'Liberation Sans Narrow:bold')
# shellcheck disable=SC2086 # one word per file
expected=$(owners $libraries $faces "$plugins"/imageformats/libqsvg.so | names)
[ "$(field Depends | names)" = "$expected" ] || fail "Depends: $(field Depends); expected $expected"
# Qt 6.11 renamed the Wayland plugin, whose file name says no more than
# that it is Wayland's, and moved the xdg-shell integration apart.
expected=$(owners "$translations/qtbase_ru.qm" "$plugins"/platforms/*wayland*.so \
    "$plugins"/wayland-shell-integration/*xdg-shell*.so | names)
[ "$(field Recommends | names)" = "$expected" ] || fail "Recommends: $(field Recommends); expected $expected"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$' | LC_ALL=C sort)
expected="./usr/games/tarvelo
./usr/share/applications/$app.desktop
./usr/share/doc/tarvelo/changelog.gz
./usr/share/doc/tarvelo/copyright
./usr/share/icons/hicolor/128x128/apps/$app.png
./usr/share/icons/hicolor/256x256/apps/$app.png
./usr/share/icons/hicolor/32x32/apps/$app.png
./usr/share/icons/hicolor/48x48/apps/$app.png
./usr/share/icons/hicolor/64x64/apps/$app.png
./usr/share/icons/hicolor/scalable/apps/$app.svg
./usr/share/man/man6/tarvelo.6.gz
./usr/share/metainfo/$app.metainfo.xml"
[ "$files" = "$expected" ] || fail "the package holds:
$files"

# lintian shows every tag it finds, informational ones too, and fails on an
# error or a warning.
if ! tags=$(lintian --fail-on error,warning --display-info "$deb" 2>&1); then
    fail "lintian:
$tags"
fi
echo "$tags" | grep -v 'running with root privileges' || true

# Debian 12's start files carry no control-flow protection note, so the
# program cannot be marked as protected. Branch protection (BTI and PAC) is
# arm64's; Debian 13's hardening-check looks for it on every architecture.
# Everything else must hold.
skips=--nocfprotection
[ "$arch" = arm64 ] || ! hardening-check --help 2>&1 | grep -q -- --nobranchprotection ||
    skips="$skips --nobranchprotection"
hardening-check $skips "$out/root/usr/games/tarvelo" || fail "hardening-check"

man_page="$out/root/usr/share/man/man6/tarvelo.6.gz"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man_page" 2>&1 >/dev/null;
    gzip -dc "$man_page" | groff -k -ww -z -man -Tutf8 2>&1)
[ -z "$warnings" ] || fail "the manual page renders with warnings:
$warnings"
LC_ALL=C.UTF-8 man -l "$man_page" | grep -q 'tarvelo - a number trick on a watch face' || fail "the manual page has no name line"
echo "debian_package: ok"

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Installs the .deb built from the build tree given as $1 into a clean root
# of the Debian release that the host's apt sources name, made here with
# debootstrap from the same archive, with `apt install ./…deb`, as a user
# would. Then, as an unprivileged user with Debian's default user PATH, it
# starts the game on an Xvfb of its own from the desktop entry's Exec line,
# plays a round with XTEST clicks (xdotool), reads the answer back through
# the clipboard, and ends the game with «Выход». Skips (77) with the reason
# only where debootstrap cannot download the root.
set -eu
build=$(cd "$1" && pwd -P)
tests=$(dirname "$0")
. "$tests/debian_root.sh"
[ "$(id -u)" -eq 0 ] || skip "making a Debian root and entering it with chroot needs root"

work=$(mktemp -d "$build/clean-root.XXXXXX")
trap leave_root EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >/dev/null
deb=$(basename "$(ls "$work"/tarvelo_*.deb)")

make_root
cp "$work/$deb" "$root/tmp/"

echo "clean_root: apt install ./$deb"
in_root apt-get update -q >"$work/apt.log" 2>&1 || fail "apt-get update: $(tail -n 3 "$work/apt.log")"
in_root sh -c "cd /tmp && apt-get install -y -q ./$deb xvfb xdotool xclip" >>"$work/apt.log" 2>&1 ||
    fail "apt install ./$deb: $(tail -n 5 "$work/apt.log")"
in_root useradd --create-home player

# What the player runs, in a login shell of their own, with the functions
# that the tests on display servers share.
cp "$tests/servers.sh" "$root/tmp/servers.sh"
"$build/tools/tarvelo-layout" >"$root/tmp/layout.sh"
cat >"$root/tmp/play.sh" <<'PLAY'
set -eu
. /tmp/servers.sh
. /tmp/layout.sh
echo "as $(id -un) with PATH=$PATH the game is $(command -v tarvelo)"
start_xvfb
command=$(sed -n 's/^Exec=//p' /usr/share/applications/org.tarvelo.Tarvelo.desktop)
$command 2>/dev/null &
game=$!
track $game
window=$(game_window)
answer=$(play_round)
echo "after 13 taps and «Стоп» the answer field shows \"$answer\""
[ "$answer" = 7 ]
click $Command1                          # «Выход»
wait $game
echo "«Выход» ended the game with 0"
PLAY
in_root runuser --login player --command 'sh /tmp/play.sh' || fail "the round did not play as it should"
echo "clean_root: ok"

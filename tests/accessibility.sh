#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The game through the real accessibility stack: a private session bus
# (dbus-run-session), the AT-SPI bus from at-spi2-core's launcher, an Xvfb
# and the game with Qt's xcb platform and its accessibility on, all started
# here and stopped by process id; then accessibility.py plays a round
# through AT-SPI alone. Skips (77) with the reason where a bus cannot start.
#
#   accessibility.sh <game> [--tree]
set -u
game=$1
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher

if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ] || [ "${2:-}" != --in-session ]; then
    command -v dbus-run-session >/dev/null 2>&1 || { echo "SKIP: dbus-run-session is not installed"; exit 77; }
    dbus-run-session -- true 2>/dev/null || { echo "SKIP: no session bus could start"; exit 77; }
    exec dbus-run-session -- sh "$0" "$game" --in-session "${2:-}"
fi

. "$here/servers.sh"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY  # the game finds the X server itself
[ -x "$launcher" ] || skip "at-spi2-core's bus launcher is not installed"
"$launcher" --launch-immediately >"$scratch/launcher.log" 2>&1 &
track $!
wait_for 10 dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus org.a11y.Bus.GetAddress ||
    skip "the AT-SPI bus did not start: $(tail -n 1 "$scratch/launcher.log")"
start_xvfb
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$game" 2>"$scratch/game.log" &
track $!
/usr/bin/python3 "$here/accessibility.py" ${3:-} || fail "through AT-SPI: see above; the game said: $(cat "$scratch/game.log")"

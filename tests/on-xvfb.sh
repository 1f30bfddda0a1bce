#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Runs a command on an X server of its own: a private Xvfb display, started
# here and stopped by its process id afterwards, with Qt's xcb platform.
# Exits 77, which CTest counts as a skip, with the reason on standard output
# where the server cannot start.
#
#   on-xvfb.sh <command> [<argument> ...]
set -u
skip() { echo "SKIP: $*"; exit 77; }
command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (Debian package xvfb)"

scratch=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/log" &
server=$!
stop() { kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$scratch"; }
trap stop EXIT

for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$server" 2>/dev/null || skip "Xvfb did not start: $(tail -n 1 "$scratch/log")"
    sleep 0.05
done
[ -s "$scratch/display" ] || skip "Xvfb gave no display within 5 s"

DISPLAY=:$(cat "$scratch/display") QT_QPA_PLATFORM=xcb "$@"

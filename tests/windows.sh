#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The Windows program under Debian's wine on a private Xvfb: tarvelo-play,
# a Win32 program in the same wine prefix, starts tarvelo.exe, plays every
# shared scenario through real input and reads the window back after every
# event, then checks the frame, the controls, the tab order and what
# assistive technology reads. At a DPI other than 96 the prefix is told so
# (wine takes every program to be per-monitor aware at that DPI).
#
#   windows.sh <windows build> <scenarios.json> [<dpi> [<scenario name part>]]
set -u
. "$(dirname "$0")/servers.sh"
build=$(cd "$1" && pwd)
scenarios=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
dpi=${3:-96}
only=${4:-}
[ -f "$build/tarvelo.exe" ] && [ -f "$build/tarvelo-play.exe" ] || skip "no Windows build in $build: make windows"

start_xvfb
start_wine "$build/wine-test"
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
    fail "cannot set the prefix's DPI to $dpi"
# Wine 10 takes the DPI as its desktop starts.
restart_wine
wine "$build/tarvelo-play.exe" "$(winepath -w "$build/tarvelo.exe")" "$(winepath -w "$scenarios")" "$dpi" ${only:+"$only"}

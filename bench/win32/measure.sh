#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The Windows program measured under wine on a private Xvfb, beside the
# Win32 floors built with it (bench/floor_win32.cpp), by the desktop build's
# tarvelo-measure; then the sizes of what a player downloads. One persistent
# wine server, in a prefix of the bench's own, serves every start, so that a
# start-up is the program's and not the server's.
#
#   bench/win32/measure.sh <desktop build dir> <windows build dir> [<tarvelo-measure option> ...]
set -eu
build=$(cd "$1" && pwd)
windows=$(cd "$2" && pwd)
shift 2
. "$(dirname "$0")/../../tests/servers.sh"

start_xvfb
start_wine "$windows/bench-wine"
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$windows/CMakeCache.txt")
echo "wine $(wine --version | sed 's/^wine-//'), mingw-w64's g++ $("$compiler" -dumpfullversion)," \
    "the windows preset (MinSizeRel, static, stripped), at 96 DPI on Xvfb without a window manager," \
    "where wine draws the frames"
echo

# tarvelo-measure spawns each program by its path, without arguments.
for program in tarvelo bench/win32/tarvelo-floor-text bench/win32/tarvelo-floor-bare bench/win32/tarvelo-floor-tap; do
    printf '#!/bin/sh\nexec wine "%s"\n' "$windows/$program.exe" >"$scratch/${program##*/}"
    chmod +x "$scratch/${program##*/}"
done
# The first start in a prefix fills wine's font cache and starts its
# desktop's process, which then stays; the floor quits by itself.
timeout 60 wine "$windows/bench/win32/tarvelo-floor-text.exe" >/dev/null 2>&1 ||
    fail "the text floor did not start and quit under wine"

"$build/bench/tarvelo-measure" --start-goal 1.10 --taps-in-runs --until-settled "$@" "$scratch/tarvelo" "$scratch/tarvelo-floor-text" \
    "$scratch/tarvelo-floor-bare" "$scratch/tarvelo-floor-tap" 2>/dev/null

size() {
    bytes=$(stat -c %s "$1")
    goal=""
    if [ -n "${2:-}" ]; then
        goal="< $(($2 / 1000)) KB, met"
        [ "$bytes" -lt "$2" ] || goal="< $(($2 / 1000)) KB, **missed**"
    fi
    echo "| ${1##*/} | $(awk -v b="$bytes" 'BEGIN { printf "%.1f KiB", b / 1024 }') ($bytes bytes) | $goal |"
}
echo
echo "| File | Size | Goal |"
echo "|---|---|---|"
size "$windows/tarvelo.exe"
for zip in "$windows"/tarvelo-*-windows-x64.zip; do
    [ ! -f "$zip" ] || size "$zip" 300000
done

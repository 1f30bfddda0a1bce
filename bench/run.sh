#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# `make bench`: the game measured from outside its process beside the floor
# programs, on a private Xvfb, then inside its process on the offscreen
# platform as a second table. The game and the floors are measured as the
# package ships them, stripped the way its build strips the game.
#
#   bench/run.sh <build dir> <site> [<peer program> ...]
#
# The page in the browser comes next, in each of its three engines beside floor
# pages served the same way (bench/web/measure.mjs), its first frame served
# compressed beside the same page with its scripts inert or gone
# (bench/web/first-frame.mjs), and Lighthouse's
# performance on a simulated phone and desktop (bench/web/lighthouse.mjs); last, where the
# Windows program is built, that program under wine beside Win32 floors
# (bench/win32/measure.sh).
set -eu
build=$(cd "$1" && pwd)
site=$(cd "$2" && pwd)
shift 2
here=$(cd "$(dirname "$0")" && pwd)
programs=$(mktemp -d)
trap 'rm -rf "$programs"' EXIT
for program in tarvelo bench/tarvelo-floor-text bench/tarvelo-floor-bare bench/tarvelo-floor-tap; do
    strip --remove-section=.comment --remove-section=.note -o "$programs/$(basename "$program")" "$build/$program"
done

echo "## Tarvelo $(sed -n 's/^tarvelo (\(.*\)).*/\1/p' "$here/../data/changelog" | head -n 1), measured $(date -u +%Y-%m-%d)"
echo
echo "$(nproc) cores of $(sed -n 's/^model name\t*: //p' /proc/cpuinfo | head -n 1), $(free -g | awk '/Mem:/ {print $2}') GiB," \
    "$(. /etc/os-release && echo "$PRETTY_NAME"), Qt $(dpkg-query -W -f '${db:Status-Abbrev}${Version}\n' 'libqt6core6*' | sed -n 's/^ii *//p' | sed 's/+.*//' | head -n 1)," \
    "the default (hardened) build, on Xvfb without a window manager"
echo
sh "$here/../tests/on-xvfb.sh" "$build/bench/tarvelo-measure" "$programs/tarvelo" "$programs/tarvelo-floor-text" \
    "$programs/tarvelo-floor-bare" "$programs/tarvelo-floor-tap" "$@" 2>/dev/null

echo
echo "### Inside the process, offscreen (secondary)"
echo
"$build/bench/tarvelo-bench" --taps 2000 2>/dev/null

echo
echo "### In the browser"
echo
node "$here/web/measure.mjs" "$site"
echo
node "$here/web/first-frame.mjs" "$site"
echo
node "$here/web/lighthouse.mjs" "$site"

windows="$here/../build-windows"
if [ -f "$windows/tarvelo.exe" ]; then
    echo
    echo "### On Windows, under wine"
    echo
    # A machine without wine or Xvfb says so (77, a skip) and the rest stands.
    sh "$here/win32/measure.sh" "$build" "$windows" || [ $? -eq 77 ]
fi

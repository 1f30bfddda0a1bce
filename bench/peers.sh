#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The bench with the peers' row: two games from Debian's archive that a
# player might pick instead, a GTK 3 and a Qt 5 minesweeper, started and
# measured beside the game in the same run. Not part of `make test`; they
# are installed only with --install.
#
#   bench/peers.sh <build dir> <site> [--install]
set -eu
peers="gnome-mines kmines"
if [ "${3:-}" = --install ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get install -y --no-install-recommends $peers
fi
for peer in $peers; do
    [ -x "/usr/games/$peer" ] || { echo "peers.sh: /usr/games/$peer is not installed; run with --install" >&2; exit 1; }
done
exec sh "$(dirname "$0")/run.sh" "$1" "$2" $(for peer in $peers; do printf '/usr/games/%s ' "$peer"; done)

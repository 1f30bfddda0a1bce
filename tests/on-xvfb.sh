#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Runs a command on an X server of its own, a private Xvfb, with Qt's xcb
# platform, and stops the server afterwards. Skips (77) with the reason
# where the server cannot start.
#
#   on-xvfb.sh <command> [<argument> ...]
set -u
. "$(dirname "$0")/servers.sh"
start_xvfb
QT_QPA_PLATFORM=xcb "$@"

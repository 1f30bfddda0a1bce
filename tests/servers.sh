# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# Shell functions for the tests that start display servers of their own:
# each server and program is started here and stopped by its process id
# when the test ends. Sourced, not run.

# Exits 77, which CTest counts as a skip, with the reason on standard output.
skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*" >&2; exit 1; }

scratch=$(mktemp -d)
started=""
# Stopping what has already ended fails; that must not end the stopping
# early under `set -e`, nor change the exit status.
stop_started() {
    # Wine's own background programs outlive their server's death; the
    # server ends them when it is asked to stop.
    [ -z "${wine_started:-}" ] || "$wineserver" -k >/dev/null 2>&1 || true
    for pid in $started; do kill "$pid" 2>/dev/null || true; done
    for pid in $started; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$scratch"
}
trap stop_started EXIT

# Remembers a background process to stop at the end.
track() { started="$1 $started"; }

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    limit=$(($1 * 10)); shift
    while ! "$@" >/dev/null 2>&1; do
        limit=$((limit - 1))
        [ "$limit" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Starts a private Xvfb and sets DISPLAY to it; extra arguments go to Xvfb.
start_xvfb() {
    command -v Xvfb >/dev/null 2>&1 || skip "Xvfb is not installed (Debian package xvfb)"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp "$@" 3>"$scratch/xvfb.display" 2>"$scratch/xvfb.log" &
    track $!
    wait_for 10 test -s "$scratch/xvfb.display" ||
        skip "Xvfb did not start: $(tail -n 1 "$scratch/xvfb.log")"
    DISPLAY=:$(cat "$scratch/xvfb.display")
    export DISPLAY
}

# The game's mapped top-level window on $DISPLAY, once it is there.
game_window() {
    timeout 20 xdotool search --sync --onlyvisible --name '^Tarvelo$' 2>/dev/null | head -n 1
}

# The window's description as shell variables, from the build's
# tarvelo-layout (its argument): each control's centre as "x y" in window
# pixels ($Command3), the picture's background spot ($background) and the
# client area's size ($client_size).
read_layout() { eval "$("$1")" || fail "cannot read the window's description from $1"; }

# Clicks at a point of the window's client area with XTEST: click $Command2.
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.03; }

# Plays a round (thirteen taps and «Стоп») and prints what the answer field
# shows, read back through the clipboard.
play_round() {
    click $Command3                          # «Загадать»
    for tap in 1 2 3 4 5 6 7 8 9 10 11 12 13; do
        click $background                    # the watch
    done
    click $Command2                          # «Стоп»
    click $Text7                             # the answer field
    xdotool key ctrl+a ctrl+c
    sleep 0.2
    xclip -o -selection clipboard
}

# A private wine prefix at $1 (made on first use, in about 15 s, without
# Mono or Gecko), served by a persistent wine server started here in the
# foreground, so that it is stopped by its process id like the rest (and
# `wineserver -w` would wait for ever: judge what wine programs did by
# their effects). Needs DISPLAY. WINEDEBUG keeps what the caller set, else
# wine's own noise is off.
start_wine() {
    command -v wine >/dev/null 2>&1 || skip "wine is not installed (Debian package wine)"
    # On PATH up to Debian 13; unstable's wine 10 keeps it in its library
    # folder alone.
    wineserver=$(command -v wineserver || ls /usr/lib/*/wine/wineserver /usr/lib/wine/wineserver64 2>/dev/null |
        head -n 1)
    [ -n "$wineserver" ] || skip "wine has no wineserver"
    mkdir -p "$1"
    WINEPREFIX=$(cd "$1" && pwd)
    WINEDLLOVERRIDES="mscoree,mshtml="
    WINEDEBUG=${WINEDEBUG:--all}
    export WINEPREFIX WINEDLLOVERRIDES WINEDEBUG
    "$wineserver" --foreground --persistent >>"$scratch/wineserver.log" 2>&1 &
    wine_server=$!
    track $wine_server
    wine_started=1
    # The server writes the registry out when it is stopped.
    if [ ! -d "$WINEPREFIX/drive_c/windows" ]; then
        wineboot -i >"$scratch/wineboot.log" 2>&1 && [ -d "$WINEPREFIX/drive_c/windows" ] ||
            skip "wine could not make its prefix: $(tail -n 1 "$scratch/wineboot.log")"
    fi
}

# Ends the prefix's programs and its server, which writes the registry
# out, and starts a server afresh: wine 10 keeps settings such as the DPI
# from when its desktop started.
restart_wine() {
    "$wineserver" -k >/dev/null 2>&1 || true
    wait "$wine_server" 2>/dev/null || true
    start_wine "$WINEPREFIX"
}

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 The Tarvelo developers
#
# The game on the display servers that people run, each started here from
# Debian's packages and stopped by its process id:
#
#   desktops.sh <game> <layout> none      no display: one line, exit status 1
#   desktops.sh <game> <layout> openbox   Xvfb with openbox: what the window
#                                         asks the window manager for, a
#                                         round, closing
#   desktops.sh <game> <layout> weston    weston's headless backend with
#                                         XWayland: the game takes X11,
#                                         unless told otherwise
#   desktops.sh <game> <layout> sway      a headless sway, run as an
#                                         unprivileged user: native
#                                         Wayland, a floating window
#
# <layout> is the build's tarvelo-layout, which tells where the window puts
# things.
#
# Skips (77) with the reason only where a server cannot start.
set -u
game=$1 desktop=${3:-}
. "$(dirname "$0")/servers.sh"
read_layout "$2"
width=${client_size% *} height=${client_size#* }
unset QT_QPA_PLATFORM WAYLAND_DISPLAY DISPLAY

# Runs the game with the given environment; expects exit status 1 and one
# line on standard error that contains $1.
expect_no_display() {
    naming=$1; shift
    env "$@" "$game" 2>"$scratch/stderr"
    status=$?
    [ "$status" -eq 1 ] || fail "$* exited with $status, not 1: $(cat "$scratch/stderr")"
    [ "$(grep -c . "$scratch/stderr")" -eq 1 ] || fail "$* wrote more than one line: $(cat "$scratch/stderr")"
    grep -qF -- "$naming" "$scratch/stderr" || fail "$* did not name $naming: $(cat "$scratch/stderr")"
    echo "$*: $(cat "$scratch/stderr")"
}

on_none() {
    expect_no_display "DISPLAY"
    free=4711
    while [ -e "/tmp/.X11-unix/X$free" ]; do free=$((free + 1)); done
    expect_no_display "\":$free\"" DISPLAY=":$free"
    expect_no_display "\"wayland-none\"" WAYLAND_DISPLAY=wayland-none XDG_RUNTIME_DIR="$scratch"
    expect_no_display "\":$free\"" QT_QPA_PLATFORM=xcb DISPLAY=":$free"

    # A server that refuses: it wants a cookie that the game does not have.
    xauth -q -f "$scratch/cookie" add :0 . "$(mcookie)" 2>/dev/null
    start_xvfb -auth "$scratch/cookie"
    expect_no_display "\"$DISPLAY\"" DISPLAY="$DISPLAY" XAUTHORITY=/nonexistent

    # A platform that the user chose and that needs no display still runs.
    QT_QPA_PLATFORM=offscreen timeout 2 "$game" 2>/dev/null
    [ $? -eq 124 ] || fail "the game did not run on the offscreen platform"
}

# The window's X properties, through xprop.
property() { xprop -id "$window" "$1"; }

openbox_session() {
    command -v openbox >/dev/null 2>&1 || skip "openbox is not installed"
    start_xvfb
    openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
    track $!
    wait_for 10 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        skip "openbox did not start: $(tail -n 1 "$scratch/openbox.log")"
}

on_openbox() {
    openbox_session
    "$game" 2>"$scratch/game.log" &
    pid=$!
    track $pid
    window=$(game_window) && [ -n "$window" ] || fail "no window: $(cat "$scratch/game.log")"

    # What the window asks for: a utility window without taskbar button or
    # pager entry, move, resize and close only, and an icon.
    property _NET_WM_WINDOW_TYPE | grep -q '= _NET_WM_WINDOW_TYPE_UTILITY' || fail "$(property _NET_WM_WINDOW_TYPE)"
    for state in _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER; do
        property _NET_WM_STATE | grep -q "$state" || fail "no $state: $(property _NET_WM_STATE)"
    done
    set -- $(property _MOTIF_WM_HINTS | sed 's/.*= //; s/,//g')
    [ $(($1 & 1)) -eq 1 ] && [ $(($2)) -eq $((0x02 | 0x04 | 0x20)) ] ||
        fail "the Motif functions are not resize, move and close: $(property _MOTIF_WM_HINTS)"
    [ $(($1 & 2)) -eq 2 ] && [ $(($3 & (0x20 | 0x40))) -eq 0 ] ||
        fail "the Motif decorations ask for minimise or maximise: $(property _MOTIF_WM_HINTS)"
    property _NET_WM_ICON | grep -q 'Icon (32 x 32)' || fail "no 32 x 32 _NET_WM_ICON"

    # The frame, not just the client area, centred on the 1024 x 768 screen.
    eval "$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print "x=" $4} /Absolute upper-left Y/ {print "y=" $4}
        /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
    set -- $(property _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    left=$((x - $1)) top=$((y - $3)) right=$((x + w + $2)) bottom=$((y + h + $4))
    offset_x=$((left + right - 1024)) offset_y=$((top + bottom - 768))
    [ ${offset_x#-} -le 2 ] && [ ${offset_y#-} -le 2 ] ||
        fail "the frame ($left, $top)-($right, $bottom) is not centred on the screen"
    echo "frame ($left, $top)-($right, $bottom), client $w x $h at ($x, $y)"

    # Resized by its bottom-right corner; the controls stay where they are,
    # so a round played at the same points still comes out right.
    for step in "mousemove $((right - 2)) $((bottom - 2))" "mousedown 1" "mousemove $((right + 40)) $((bottom + 30))" \
        "mousemove $((right + 80)) $((bottom + 60))" "mouseup 1"; do
        xdotool $step
        sleep 0.2
    done
    size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {print w " x " $2}')
    [ "$size" != "$width x $height" ] || fail "the border did not resize the window"
    answer=$(play_round)
    [ "$answer" = 7 ] || fail "after 13 taps the answer field shows \"$answer\""
    echo "resized by its border to $size, a round shows $answer"

    # The window manager's close, then Alt+F4, end the game with 0.
    wmctrl -c Tarvelo
    wait $pid || fail "closed by the window manager, the game exited with $?"
    "$game" 2>>"$scratch/game.log" &
    pid=$!
    track $pid
    window=$(game_window) && [ -n "$window" ] || fail "no window the second time"
    xdotool windowactivate --sync "$window" key alt+F4
    wait $pid || fail "closed by Alt+F4, the game exited with $?"
    echo "the window manager's close and Alt+F4 each ended the game with 0"
}

on_weston() {
    command -v weston >/dev/null 2>&1 && command -v Xwayland >/dev/null 2>&1 || skip "weston or Xwayland is not installed"
    mkdir -m 700 "$scratch/runtime"
    XDG_RUNTIME_DIR=$scratch/runtime weston --backend=headless-backend.so --xwayland --idle-time=0 \
        --socket=wayland-tarvelo >"$scratch/weston.log" 2>&1 &
    track $!
    wait_for 10 grep -q 'xserver listening on display' "$scratch/weston.log" ||
        skip "weston did not start with XWayland: $(tail -n 1 "$scratch/weston.log")"
    export XDG_RUNTIME_DIR="$scratch/runtime" WAYLAND_DISPLAY=wayland-tarvelo
    DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$scratch/weston.log")
    export DISPLAY

    # Both are there: the game takes X11, through XWayland.
    "$game" 2>"$scratch/game.log" &
    pid=$!
    track $pid
    window=$(game_window) && [ -n "$window" ] || fail "the game took no X11 window: $(cat "$scratch/game.log")"
    echo "with DISPLAY=$DISPLAY and WAYLAND_DISPLAY=$WAYLAND_DISPLAY the game took X11"
    kill $pid

    # The user's choice wins: natively on Wayland, no window on X11.
    QT_QPA_PLATFORM=wayland "$game" 2>"$scratch/game.log" &
    pid=$!
    track $pid
    sleep 2
    kill -0 $pid 2>/dev/null || fail "the game did not run on Wayland: $(cat "$scratch/game.log")"
    [ -z "$(xdotool search --onlyvisible --name '^Tarvelo$' 2>/dev/null)" ] || fail "with QT_QPA_PLATFORM=wayland the game took X11"
    echo "with QT_QPA_PLATFORM=wayland it did not"
}

on_sway() {
    command -v sway >/dev/null 2>&1 || skip "sway is not installed"
    # sway refuses root: as root, run it as a user of the tests' own.
    as_user=""
    if [ "$(id -u)" -eq 0 ]; then
        id tarvelo-tests >/dev/null 2>&1 ||
            useradd --system --no-create-home --shell /usr/sbin/nologin tarvelo-tests ||
            skip "cannot create a user to run sway as"
        as_user="setpriv --reuid=tarvelo-tests --regid=tarvelo-tests --init-groups"
        chmod 755 "$scratch"
    fi
    # A tree in root's own home, where a root user clones it, is closed to
    # others: that user runs a copy of the program, which needs nothing else
    # of the build.
    if ! $as_user test -x "$game"; then
        install -m 755 "$game" "$scratch/tarvelo"
        game=$scratch/tarvelo
    fi
    $as_user test -x "$game" || skip "an unprivileged user cannot reach $game"
    mkdir -m 700 "$scratch/runtime"
    printf 'xwayland disable\n' >"$scratch/sway.config"
    [ -z "$as_user" ] || chown -R tarvelo-tests "$scratch/runtime"
    # No X server: DISPLAY stays unset.
    session="$as_user env -i PATH=/usr/bin:/bin HOME=$scratch XDG_RUNTIME_DIR=$scratch/runtime"
    $session WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
        sway -c "$scratch/sway.config" >"$scratch/sway.log" 2>&1 &
    track $!
    wait_for 10 sh -c "ls $scratch/runtime/sway-ipc.*.sock" || skip "sway did not start: $(tail -n 1 "$scratch/sway.log")"
    socket=$(ls "$scratch"/runtime/sway-ipc.*.sock)
    wayland=$(basename "$(ls "$scratch"/runtime/wayland-? | head -n 1)")
    node() { $session swaymsg -s "$socket" -t get_tree | jq -c '.. | objects | select(.app_id? == "org.tarvelo.Tarvelo")'; }
    shown() { [ -n "$(node)" ]; }

    # Floating, at its own size, not tiled across the screen.
    $session WAYLAND_DISPLAY="$wayland" QT_QPA_PLATFORM=wayland "$game" 2>"$scratch/game.log" &
    pid=$!
    track $pid
    wait_for 20 shown || fail "no window in sway's tree: $(cat "$scratch/game.log")"
    [ "$(node | jq -r '.type')" = floating_con ] || fail "the window is not floating: $(node)"
    [ "$(node | jq -c '[.window_rect.width, .window_rect.height]')" = "[$width,$height]" ] ||
        fail "the window is not $width x $height: $(node)"
    echo "sway: $(node | jq -c '{type, app_id, window_rect}')"
    $session swaymsg -s "$socket" '[app_id="org.tarvelo.Tarvelo"] kill' >/dev/null
    wait $pid || fail "killed by sway, the game exited with $?"
    echo "swaymsg kill ended the game with 0"

    # Left to choose, with no X server, the game takes Wayland itself.
    $session WAYLAND_DISPLAY="$wayland" "$game" 2>"$scratch/game.log" &
    track $!
    wait_for 20 shown || fail "left to choose, the game did not take Wayland: $(cat "$scratch/game.log")"
    echo "left to choose, it took Wayland"
}

case "$desktop" in
none | openbox | weston | sway) "on_$desktop" ;;
*) echo "usage: desktops.sh <game> <layout> none|openbox|weston|sway" >&2; exit 2 ;;
esac

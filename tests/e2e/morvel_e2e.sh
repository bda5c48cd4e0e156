#!/bin/bash
# Plays the real program on the X display as a person would: xdotool keys and
# screenshots of the windows it opens.
#   morvel_e2e.sh MORVEL SCENARIO CLOSE_WINDOW
# SCENARIO: window|opengl|fullscreen|menu-keys|quit-menu|quit-game|close-menu|close-game
#           |pacing-standin|pacing-opengl|lost-display|gamepad
# CLOSE_WINDOW is the program that asks a window to close, as a close button does.
# The program prints its frame-interval statistics at exit, naming the renderer
# that drew the game. The pacing runs play 630 frames in the 800 x 600 window
# and print the figures; only a loose bound is checked, as the machine may be
# busy with other tests.
set -u
morvel=$1
scenario=$2
close_window=$3
work=$(mktemp -d)
pid=
. "$(dirname "$0")/own_display.sh"
trap end_test EXIT
fail() {
    echo "FAIL ($scenario): $*"
    [ -s "$work/stderr" ] && cat "$work/stderr"
    exit 1
}

start_own_display "$work" || fail "no X display"

# Waits for a visible window of the program with one of the given sizes;
# prints its id and size.
wait_window() {
    local wid geometry size
    for _ in $(seq 100); do
        for wid in $(xdotool search --onlyvisible --pid "$pid" 2> /dev/null); do
            geometry=$(xdotool getwindowgeometry "$wid" 2> /dev/null | sed -n 's/.*Geometry: //p')
            for size in "$@"; do
                if [ "$geometry" = "$size" ]; then
                    echo "$wid $size"
                    return 0
                fi
            done
        done
        kill -0 "$pid" 2> /dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Keys go to the window, the way a person would type them into it.
press() {
    local wid=$1
    shift
    xdotool windowfocus "$wid" 2> /dev/null
    sleep 0.2
    xdotool key --delay 120 "$@"
}

# Succeeds when, within two seconds, a screenshot of the window has the given
# size and shows something other than one flat colour.
has_content() {
    local shot="$work/$2.png"
    for _ in $(seq 20); do
        # A shot of the root window cut to the window's place: import of a
        # full-screen window itself can hang on some servers.
        local position
        position=$(xdotool getwindowgeometry "$1" 2> /dev/null | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/+\1+\2/p')
        if timeout 10 import -window root -crop "$3$position" +repage "$shot" 2> /dev/null &&
            [ "$(identify -format %wx%h "$shot")" = "$3" ] &&
            [ "$(convert "$shot" -format '%k' info:)" -gt 1 ]; then
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Prints the statistics line of the game's frames, which must name the
# renderer that drew them; keeps it in $stats.
stats=
check_stats() {
    stats=$(grep '^morvel: .*frames, interval mean' "$work/stderr")
    [ -n "$stats" ] || fail "no frame statistics at exit"
    case $stats in
    "morvel: $1, "*) echo "$stats" ;;
    *) fail "the game was not drawn by $1: $stats" ;;
    esac
}

# Plays the 800 x 600 window for about 630 frames and prints its pacing; fails
# only when frames come faster than the pacing allows or nearly stop (a busy
# machine lengthens intervals, so no tighter bound holds everywhere).
measure_pacing() {
    press "$menu" "$@" 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 game window"
    sleep 10.5
    press "$game" Escape
    expect_exit_zero
    local mean
    check_stats "$renderer"
    mean=$(echo "$stats" | sed -n 's/.*interval mean \([0-9.]*\) ms.*/\1/p')
    awk -v m="$mean" 'BEGIN { exit !(m > 15 && m < 250) }' || fail "mean interval $mean ms"
    echo PASS
    exit 0
}

# Waits up to two seconds for the program to end; fails unless with status $1.
# $2 says what should have ended it.
expect_exit() {
    for _ in $(seq 20); do
        kill -0 "$pid" 2> /dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2> /dev/null && fail "still running two seconds after $2"
    wait "$pid"
    local status=$?
    pid=
    [ "$status" -eq "$1" ] || fail "exit status $status"
}

expect_exit_zero() {
    expect_exit 0 "it was asked to end"
}

desktop=$(xdpyinfo 2> /dev/null | sed -n 's/ *dimensions: *\([0-9]*x[0-9]*\) pixels.*/\1/p')

# The gamepad run plays a virtual controller inside the program (no kernel
# uinput here to make one outside it), by frame: the d-pad picks the
# 800 x 600 window and OpenGL, Start starts, the pad rolls the blob both ways,
# is unplugged mid-roll and plugged in again, bounces, and Back with Start
# quits.
pad=
if [ "$scenario" = gamepad ]; then
    pad=$work/pad.keys
    # Five seconds of menu leave time to find its window and look at it.
    printf '%s\n' '120 press PAD_UP' '125 press PAD_UP' '130 press PAD_RIGHT' \
        '300 press PAD_START' '320 down PAD_RIGHT' '360 up PAD_RIGHT' '360 axis LEFTX -20000' \
        '400 pad-remove' '420 pad-add' '440 press PAD_A' '480 down PAD_BACK' \
        '481 down PAD_START' > "$pad"
fi

MORVEL_FRAME_STATS=1 MORVEL_VIRTUAL_PAD=$pad "$morvel" 2> "$work/stderr" &
pid=$!
read -r menu _ <<< "$(wait_window 400x300)"
[ -n "$menu" ] || fail "no 400x300 selection window"
has_content "$menu" menu 400x300 || fail "the selection window shows no menu"

case $scenario in
window)
    press "$menu" 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 game window"
    has_content "$game" game 800x600 || fail "the game window shows nothing"
    renderer="Direct3D 7"
    ;;
opengl)
    press "$menu" g 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 OpenGL game window"
    has_content "$game" game 800x600 || fail "the OpenGL game window shows nothing"
    renderer=OpenGL
    ;;
pacing-standin)
    renderer="Direct3D 7"
    measure_pacing
    ;;
pacing-opengl)
    renderer=OpenGL
    measure_pacing g
    ;;
fullscreen)
    press "$menu" 2 Return
    # Where the display cannot switch to 800 x 600 the game may fill the desktop instead.
    read -r game size <<< "$(wait_window 800x600 "$desktop")"
    [ -n "$game" ] || fail "no full-screen game window"
    has_content "$game" game "$size" || fail "the full-screen game shows nothing"
    ;;
menu-keys)
    # Escape and Space pressed in the menu must not reach the game.
    press "$menu" Escape space 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 game window"
    sleep 1
    kill -0 "$pid" 2> /dev/null || fail "the game ended on an Escape pressed in the menu"
    ;;
quit-menu)
    # A quit request ends the program from the menu; an Escape there does not.
    press "$menu" Escape
    sleep 0.5
    kill -0 "$pid" 2> /dev/null || fail "Escape in the menu ended the program"
    kill -TERM "$pid"
    expect_exit_zero
    echo PASS
    exit 0
    ;;
quit-game)
    press "$menu" 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 game window"
    kill -INT "$pid"
    expect_exit_zero
    echo PASS
    exit 0
    ;;
close-menu)
    "$close_window" "$menu" || fail "cannot ask the menu window to close"
    expect_exit_zero
    echo PASS
    exit 0
    ;;
close-game)
    press "$menu" 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 game window"
    "$close_window" "$game" || fail "cannot ask the game window to close"
    expect_exit_zero
    echo PASS
    exit 0
    ;;
lost-display)
    # The X server goes away under the OpenGL game: the program ends at once
    # with status 1 and says why.
    press "$menu" g 1 Return
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "no 800x600 game window"
    stop_own_display
    expect_exit 1 "its display went away"
    grep -q '^morvel: lost the display' "$work/stderr" || fail "no message naming the lost display"
    echo PASS
    exit 0
    ;;
gamepad)
    read -r game _ <<< "$(wait_window 800x600)"
    [ -n "$game" ] || fail "the pad did not open the 800x600 game window"
    for _ in $(seq 150); do
        kill -0 "$pid" 2> /dev/null || break
        sleep 0.1
    done
    expect_exit 0 "Back and Start on the pad"
    check_stats OpenGL
    case $stats in
    *"the 800 x 600 window: "*) ;;
    *) fail "the pad did not choose the 800 x 600 window: $stats" ;;
    esac
    # A pad file it cannot play is refused, not ignored.
    echo '5 press ENTER' > "$work/keys.keys"
    MORVEL_VIRTUAL_PAD=$work/keys.keys "$morvel" 2> "$work/stderr" && fail "a file of keys was played"
    grep -q '^morvel: MORVEL_VIRTUAL_PAD=.*only pad events' "$work/stderr" ||
        fail "no message refusing the file of keys"
    echo PASS
    exit 0
    ;;
*)
    fail "unknown scenario"
    ;;
esac

press "$game" Escape
expect_exit_zero
if [ -n "${renderer:-}" ]; then
    check_stats "$renderer"
fi
echo PASS

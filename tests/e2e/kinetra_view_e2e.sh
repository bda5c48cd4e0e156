#!/bin/bash
# kinetra-view in a real window on an X display of its own, driven with
# xdotool: the title, Space and N, dragging with the mouse, R with a rejected
# file, C and Backspace, Escape.
#   kinetra_view_e2e.sh KINETRA_VIEW SOFTBOX_DIR
set -u
viewer=$1
example=$2
work=$(mktemp -d)
pid=
. "$(dirname "$0")/own_display.sh"
trap end_test EXIT
fail() { echo "FAIL: $*"; exit 1; }

start_own_display "$work" || fail "no X display"

cp "$example/softbox.body" "$example/softbox.png" "$work/"
cd "$work" || fail "no scratch directory"
"$viewer" softbox.body 2> "$work/stderr" &
pid=$!
wid=
for _ in $(seq 100); do
    wid=$(xdotool search --onlyvisible --pid "$pid" 2> /dev/null | head -n 1)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || fail "no window"
[ "$(xdotool getwindowname "$wid")" = "softbox - softbox.body" ] ||
    fail "title '$(xdotool getwindowname "$wid")'"
position=$(xdotool getwindowgeometry "$wid" | sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p')
read -r left top <<< "$position"

# shot NAME: the window's 800 x 600 client area.
shot() {
    sleep 0.3
    timeout 10 import -window root -crop "800x600+$left+$top" +repage "$work/$1.png" ||
        fail "no screenshot $1"
}
# differs A B: how many pixels of two shots differ.
differs() {
    compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1
}
# colours NAME WxH+X+Y: distinct colours in a part of a shot.
colours() {
    convert "$work/$1.png" -crop "$2" +repage -format '%k' info:
}
key() {
    xdotool windowfocus "$wid" 2> /dev/null
    xdotool key "$@"
}

key space
shot paused1
shot paused2
[ "$(differs paused1 paused2)" = 0 ] || fail "the body moved while paused"
key n
shot stepped
[ "$(differs paused2 stepped)" != 0 ] || fail "N did not step"

# The nearest mass follows the pointer, even while paused.
[ "$(colours stepped 9x9+106+296)" = 1 ] || fail "something is already at (110, 300)"
xdotool mousemove $((left + 100)) $((top + 300)) mousedown 1
sleep 0.2
xdotool mousemove $((left + 110)) $((top + 300))
shot dragged
xdotool mouseup 1
[ "$(colours dragged 9x9+106+296)" -gt 1 ] || fail "no mass under the pointer"

# A rejected reload keeps the body and shows why.
head -c 100 "$example/softbox.body" > softbox.body
key r
shot rejected
[ "$(colours rejected 780x14+8+27)" -gt 1 ] || fail "no message after a rejected reload"
[ "$(colours rejected 9x9+106+296)" -gt 1 ] || fail "the last good body is gone"

# Resting on the floor, C shows its contacts; holding Backspace steps back, even paused.
# The body needs a few hundred frames to come to rest, fewer a second on a busy machine.
key space
sleep 6
key space
shot resting
key c
shot contacts
[ "$(differs resting contacts)" != 0 ] || fail "C showed no contacts"
xdotool windowfocus "$wid" 2> /dev/null
xdotool keydown BackSpace
sleep 0.5
xdotool keyup BackSpace
shot rewound
[ "$(differs contacts rewound)" != 0 ] || fail "holding Backspace did not step back"

key Escape
for _ in $(seq 20); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2> /dev/null && fail "still running after Escape"
wait "$pid"
status=$?
pid=
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/stderr")"
echo PASS

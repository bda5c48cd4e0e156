#!/bin/bash
# The driver replays a game identically, ends on its frame limit with status 0,
# and rejects a malformed key script naming the file and line.
set -u
driver=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cat > "$work/keys.txt" <<'KEYS'
# window mode, then roll right, bounce, roll left, reset
0 press 1
1 press ENTER
10 down RIGHT
70 press UP
90 up RIGHT
95 down LEFT
150 up LEFT
160 press SPACE
KEYS

run() {
    "$driver" --input "$work/keys.txt" --frames 200 --trace "$work/$1.csv" \
        --screenshot "60:$work/$1-60.png" --screenshot "199:$work/$1-199.png"
}
run a || fail "first run ended with status $?"
run b || fail "second run ended with status $?"
cmp -s "$work/a.csv" "$work/b.csv" || fail "traces differ"
cmp -s "$work/a-60.png" "$work/b-60.png" || fail "frame 60 differs"
cmp -s "$work/a-199.png" "$work/b-199.png" || fail "frame 199 differs"

# Header plus one row per game frame: the menu shows frame 0 only, the game 1 to 199.
rows=$(wc -l < "$work/a.csv")
[ "$rows" -eq 200 ] || fail "trace has $rows lines"
head -1 "$work/a.csv" | grep -qx 'frame,clock,x,y,vx,vy,speed,direction,finished,passes' \
    || fail "trace header"
# Rolling right shows direction 1, left -1.
awk -F, 'NR>1 && $1==50 {exit ($8==1)?0:1}' "$work/a.csv" || fail "not rolling right at frame 50"
awk -F, 'NR>1 && $1==120 {exit ($8==-1)?0:1}' "$work/a.csv" || fail "not rolling left at frame 120"
# The view starts on the start point: the blob's centre near (25, 850).
awk -F, 'NR==2 {exit ($3>20 && $3<30 && $4>845 && $4<855)?0:1}' "$work/a.csv" \
    || fail "first game frame not at the start point"

# A different clock start changes the clock column but not the run's shape.
"$driver" --input "$work/keys.txt" --frames 200 --clock-start 5 --trace "$work/c.csv" \
    || fail "run with another clock start"
awk -F, 'NR==2 {exit ($2<1000)?0:1}' "$work/c.csv" || fail "clock start not used"

printf '0 press 1\n1 presss ENTER\n' > "$work/bad.txt"
"$driver" --input "$work/bad.txt" --frames 5 2> "$work/err.txt"
status=$?
[ "$status" -eq 2 ] || fail "malformed script gave status $status"
grep -q "bad.txt:2" "$work/err.txt" || fail "message does not name the line: $(cat "$work/err.txt")"

"$driver" --frames 2 --renderer metal 2> /dev/null
[ $? -eq 2 ] || fail "bad renderer not rejected"
"$driver" --help | grep -q -- "--screenshot" || fail "--help"

# A screenshot of a frame that never comes is reported, not silently dropped.
"$driver" --frames 3 --screenshot "10:$work/never.png" 2> "$work/err.txt"
[ $? -eq 1 ] || fail "missing screenshot not reported"
echo PASS

#!/bin/sh
# kinetra-body from the command line: exit statuses, messages and the round
# trip of the example body.
set -u
tool=$1
example=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

expect() { # status command...
    want=$1
    shift
    "$@" >"$work/out" 2>"$work/err"
    got=$?
    if [ "$got" -ne "$want" ]; then
        echo "FAIL: '$*' exited $got, expected $want"
        cat "$work/out" "$work/err"
        failures=$((failures + 1))
    fi
}

expect_text() { # file text
    if ! grep -qF -- "$2" "$1"; then
        echo "FAIL: expected '$2' in:"
        cat "$1"
        failures=$((failures + 1))
    fi
}

expect 2 "$tool"
expect_text "$work/err" "usage: kinetra-body"
expect 2 "$tool" dump
expect 2 "$tool" frobnicate x
expect_text "$work/err" "unknown command"
expect 2 "$tool" dump "$work/missing.body"
expect_text "$work/err" "cannot be read"
expect 0 "$tool" --help
# Nothing but regular files is read: no waiting on a FIFO, no endless device.
mkfifo "$work/pipe"
for input in "$work" /dev/zero "$work/pipe" /proc/self/mem; do
    expect 2 "$tool" dump "$input"
    expect_text "$work/err" "cannot be read"
    expect 2 "$tool" check "$input"
done
expect 2 "$tool" check "$work/missing.body"

cp "$example/softbox.png" "$example/softbox.body" "$work/"
expect 0 "$tool" dump "$work/softbox.body"
cp "$work/out" "$work/softbox.txt"
expect 0 "$tool" build "$work/softbox.txt" "$work/again.body"
cmp -s "$work/softbox.body" "$work/again.body" || {
    echo "FAIL: dump then build changed the bytes"
    failures=$((failures + 1))
}
expect 0 "$tool" build "$example/softbox.body.txt" "$work/fromsource.body"
cmp -s "$work/softbox.body" "$work/fromsource.body" || {
    echo "FAIL: the committed example body is not built from its text"
    failures=$((failures + 1))
}
expect 0 "$tool" check "$work/softbox.body"
expect_text "$work/out" 'body "softbox" with 5 masses, 10 constraints, 1 rig'

sed 's/^  masses 4 3$/  masses 4 9/' "$work/softbox.txt" >"$work/bad.txt"
expect 0 "$tool" build "$work/bad.txt" "$work/bad.body"
expect 1 "$tool" check "$work/bad.body"
expect_text "$work/err" 'chunk "CONS", record 9, field "mass B": index 9 is out of range (5 masses)'

rm "$work/softbox.png"
expect 1 "$tool" check "$work/softbox.body"
expect_text "$work/err" '"softbox.png" does not exist or is not a regular file'

printf 'reserved 0\nname "x"\nmasses 2\n' >"$work/short.txt"
expect 1 "$tool" build "$work/short.txt" "$work/short.body"
expect_text "$work/err" "line 3"
expect 1 "$tool" dump "$work/short.txt"
expect_text "$work/err" "not a body file"
expect 2 "$tool" build "$work/softbox.txt" "$work/no/such/dir/out.body"

# A count is a promise the text must keep: nothing is set aside for it first.
printf 'reserved 0\nname "x"\nmasses 2147483647\nmass 0\n' >"$work/huge.txt"
expect 1 "$tool" build "$work/huge.txt" "$work/huge.body"
expect_text "$work/err" 'line 4: the text ends where "name" belongs'

# Names and paths reach the terminal escaped; the game's built-in pictures
# dress a body as they would in the game.
cat >"$work/escape.txt" <<'TEXT'
reserved 0
name "a\x1b[2Jb"
images 1
image 0
  path "incbin::gfx/sphere.png"
  mask 255 0 255
  flags 3
  anchor 16 16
masses 1
mass 0
  name "m"
  position 16 16
  weight 1
  radius 4
  friction 0.5
  group -2
  fixed 0
constraints 0
rigs 1
rig 0
  name "skin"
  image 0
  mass 0
  constraint -1
  angle 0
TEXT
expect 0 "$tool" build "$work/escape.txt" "$work/escape.body"
expect 0 "$tool" check "$work/escape.body"
expect_text "$work/out" 'body "a\x1b[2Jb" with 1 mass, 0 constraints, 1 rig'
expect 2 "$tool" check "$work/$(printf 'bad\033name')"
expect_text "$work/err" 'bad\x1bname'

[ "$failures" -eq 0 ] && echo "all kinetra-body checks passed"
exit "$failures"

#!/bin/bash
# The finishing run replayed by morvel-script built for the browser
# (WebAssembly, run under node) gives the desktop's trace byte for byte and
# the same last frame.
#   finish_run.sh MORVEL_SCRIPT MORVEL_SCRIPT_JS KEYS
# Exits 77 (skipped) where emscripten is missing.
set -u
native=$1
wasm=$2
keys=$3
# The run presses Escape after frame 12859.
frames=12861
last=12859

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }

command -v emcc > /dev/null || skip "emscripten is not installed (tools/install-deps installs it)"
[ -f "$wasm" ] || fail "no $wasm: run make web"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# play NAME COMMAND...: the run, its trace, its last frame, its status and time.
play() {
    local name=$1 start=$SECONDS
    shift
    "$@" --input "$keys" --frames "$frames" --trace "$work/$name.csv" \
        --screenshot "$last:$work/$name.png" > "$work/$name.log" 2>&1
    echo "$? $((SECONDS - start))" > "$work/$name.status"
}
# Side by side: the node run takes the longer.
play wasm node "$wasm" &
play native "$native"
wait
for name in native wasm; do
    read -r status seconds < "$work/$name.status"
    [ "$status" = 0 ] || { cat "$work/$name.log"; fail "the $name run ended with status $status"; }
    echo "$name: $seconds s"
done
cmp "$work/native.csv" "$work/wasm.csv" || fail "the traces differ"
differing=$(compare -metric AE "$work/native.png" "$work/wasm.png" null: 2>&1)
[ "$differing" = 0 ] || fail "frame $last differs in $differing pixels"
echo "same trace ($(($(wc -l < "$work/wasm.csv") - 1)) game frames) and the same frame $last"

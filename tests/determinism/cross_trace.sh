#!/bin/bash
# Builds the trace program from the engine's sources with another compiler, or
# for another CPU, and compares its fingerprints with the native build's.
#   cross_trace.sh clang|arm64 NATIVE_TRACE SOURCE_DIR SOURCE...
#   cross_trace.sh wasm NATIVE_TRACE SOURCE_DIR TRACE_JS
# wasm is the browser's: the program make web builds with emscripten from the
# same sources, run under node.
# Exits 77 (skipped) when the compiler or the emulator is not installed.
set -u
kind=$1
native=$2
source_dir=$3
shift 3

skip() { echo "SKIP: $*"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL ($kind): $*"; exit 1; }

case $kind in
clang)
    cxx=clang++
    command -v "$cxx" > /dev/null || skip "clang++ is not installed (tools/install-deps installs it)"
    run=()
    ;;
wasm)
    cxx=em++
    command -v "$cxx" > /dev/null ||
        skip "em++ is not installed (tools/install-deps installs emscripten)"
    [ -f "$1" ] || fail "no $1: run make web"
    run=(node)
    ;;
arm64)
    cxx=aarch64-linux-gnu-g++
    command -v "$cxx" > /dev/null ||
        skip "$cxx is not installed (tools/install-deps installs g++-aarch64-linux-gnu)"
    command -v qemu-aarch64 > /dev/null ||
        skip "qemu-aarch64 is not installed (tools/install-deps installs qemu-user)"
    run=(qemu-aarch64)
    ;;
*)
    fail "unknown kind"
    ;;
esac
out=$work/trace
if [ "$kind" = wasm ]; then
    out=$1
else
    # The flags the project builds the engine with that matter to its floats.
    "$cxx" -std=c++20 -O2 -ffp-contract=off -static \
        -I "$source_dir/physics/include" -I "$source_dir/physics" -I "$source_dir/bench" \
        "$@" -o "$out" > "$work/build.log" 2>&1 || {
        cat "$work/build.log"
        fail "the trace program does not build with $cxx"
    }
fi
"$native" > "$work/native.txt" || fail "the native trace program failed"
"${run[@]}" "$out" > "$work/other.txt" || fail "the $kind trace program failed"
if ! diff -u "$work/native.txt" "$work/other.txt"; then
    fail "fingerprints differ from the native build's"
fi
echo "same fingerprints as the native build ($(NODE_PATH=/usr/share/nodejs "$cxx" --version | head -n 1)):"
cat "$work/native.txt"

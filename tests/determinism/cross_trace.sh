#!/bin/bash
# Builds the trace program from the engine's sources with another compiler, or
# for another CPU, and compares its fingerprints with the native build's.
#   cross_trace.sh clang|arm64 NATIVE_TRACE SOURCE_DIR SOURCE...
# Exits 77 (skipped) when the compiler or the emulator is not installed.
set -u
kind=$1
native=$2
source_dir=$3
shift 3

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL ($kind): $*"; exit 1; }

case $kind in
clang)
    cxx=clang++
    command -v "$cxx" > /dev/null || skip "clang++ is not installed (tools/install-deps installs it)"
    run=()
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

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The flags the project builds the engine with that matter to its floats.
"$cxx" -std=c++20 -O2 -ffp-contract=off -static \
    -I "$source_dir/physics/include" -I "$source_dir/physics" -I "$source_dir/bench" \
    "$@" -o "$work/trace" > "$work/build.log" 2>&1 || {
    cat "$work/build.log"
    fail "the trace program does not build with $cxx"
}
"$native" > "$work/native.txt" || fail "the native trace program failed"
"${run[@]}" "$work/trace" > "$work/other.txt" || fail "the $kind trace program failed"
if ! diff -u "$work/native.txt" "$work/other.txt"; then
    fail "fingerprints differ from the native build's"
fi
echo "same fingerprints as the native build ($("$cxx" --version | head -n 1)):"
cat "$work/native.txt"

#!/bin/sh
# Installs Kinetra from a build tree into a temporary prefix, compiles every
# installed header on its own, and builds and runs the examples out of the
# tree, once with find_package and once with pkg-config.
#   kinetra_install.sh BUILD_DIR SOURCE_DIR CXX
set -u
build=$1
source=$2
cxx=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

run() { # log command...
    log=$1
    shift
    "$@" >"$log" 2>&1 || {
        fail "'$*' exited $?"
        cat "$log"
        return 1
    }
}

run "$work/install.log" cmake --install "$build" --prefix "$prefix" || exit 1

for private in build_body.h degrees.h; do
    [ ! -e "$prefix/include/kinetra/$private" ] || fail "private header $private is installed"
done
# present: only the headers of include/present/ in the source, as <present/...>.
for public in present.h image.h stream.h embedded_files.h host_platform.h headless.h \
    sdl_platform.h virtual_pad.h; do
    [ -f "$prefix/include/kinetra/present/present/$public" ] ||
        fail "public header present/$public is not installed"
done
for private in renderer.h screen.h input.h drawing.h font.h direct3d7.h opengl.h; do
    [ -z "$(find "$prefix/include" -name "$private")" ] ||
        fail "private header $private of present is installed"
done
[ -z "$(find "$prefix/include/kinetra/present" -maxdepth 1 -type f)" ] ||
    fail "present's headers are installed outside include/kinetra/present/present"
for file in lib/cmake/Kinetra/KinetraConfig.cmake lib/cmake/Kinetra/KinetraConfigVersion.cmake \
    lib/pkgconfig/kinetra-core.pc lib/pkgconfig/kinetra.pc; do
    [ -f "$prefix/$file" ] || fail "$file is not installed"
done

# Each header alone, at the oldest standard the package asks of its users.
count=0
for header in "$prefix"/include/kinetra/*.h "$prefix"/include/kinetra/present/present/*.h; do
    case $header in
    */present/*) line="#include <present/$(basename "$header")>" ;;
    *) line="#include <kinetra/$(basename "$header")>" ;;
    esac
    echo "$line" >"$work/alone.cpp"
    run "$work/header.log" "$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Wshadow -Werror \
        -I"$prefix/include" -I"$prefix/include/kinetra/present" "$work/alone.cpp" &&
        count=$((count + 1))
done
[ "$count" -ge 20 ] || fail "only $count installed headers compiled alone"

# hello's masses end resting on the floor zone (top edge 400, radius 5).
check_hello() { # output
    tail -n 1 "$1" | tr '()' '\n\n' | awk -F', ' '
        NF == 2 { n++; if ($2 < 394.5 || $2 > 395.5) bad++ }
        END { exit !(n == 8 && bad == 0) }' || {
        fail "hello's masses do not rest on the floor:"
        cat "$1"
    }
}

# The crate's centre mass ends resting above the floor (top edge 500): the
# corners' radius 3 and half the crate's 32 pixels.
check_softbox() { # output
    grep -qF 'body "softbox": masses 5, constraints 10, rigs 1' "$1" || fail "softbox did not load"
    tail -n 1 "$1" | awk '{ gsub(/[(),]/, " "); exit !($5 > 478 && $5 < 484) }' || {
        fail "the crate does not rest on the floor:"
        cat "$1"
    }
}

for example in hello softbox; do
    run "$work/$example-cmake.log" cmake -S "$source/examples/$example" -B "$work/$example-cmake" \
        -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$cxx" \
        "-DCMAKE_CXX_FLAGS=-Wall -Wextra -Werror" &&
        run "$work/$example-build.log" cmake --build "$work/$example-cmake"
    cp -r "$source/examples/$example" "$work/$example-pc"
    rm -f "$work/$example-pc/$example"
    PKG_CONFIG_PATH=$prefix/lib/pkgconfig run "$work/$example-make.log" \
        make -C "$work/$example-pc" CXX="$cxx" "CXXFLAGS=-O2 -Wall -Wextra -Werror"
done

# The simulation alone links nothing but the C++ runtime.
if ldd "$work/hello-cmake/hello" | grep -Eq 'SDL|png|libz|libGL'; then
    fail "hello links more than the C++ runtime:"
    ldd "$work/hello-cmake/hello"
fi

for built in "$work/hello-cmake/hello" "$work/hello-pc/hello"; do
    "$built" >"$work/hello.out" 2>&1 || fail "$built exited $?"
    check_hello "$work/hello.out"
done
for built in "$work/softbox-cmake/softbox" "$work/softbox-pc/softbox"; do
    "$built" "$source/examples/softbox/softbox.body" >"$work/softbox.out" 2>&1 ||
        fail "$built exited $?"
    check_softbox "$work/softbox.out"
done

[ "$failures" -eq 0 ] && echo "all install checks passed"
exit "$failures"

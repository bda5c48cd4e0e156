#!/bin/bash
# Checks the game as installed.
#   package_test.sh tree|deb BUILD_DIR SOURCE_DIR
# tree: `cmake --install` into a temporary prefix; the three programs, the
#       desktop entry (valid, naming an installed program and icon), the icons
#       (each of the size its directory names, 256 x 256 among them) and the
#       man pages (rendering without a warning) are in place, and an installed
#       tool runs from there.
# deb:  CPack builds the Debian package; its fields and dependencies are
#       checked, it is unpacked, and its morvel is started on an X display of
#       its own to the menu; SIGTERM must end it with status 0.
set -u
mode=$1
build=$2
source=$3
work=$(mktemp -d)
pid=
. "$source/tests/e2e/own_display.sh"
trap end_test EXIT
failures=0

fail() {
    echo "FAIL ($mode): $*"
    failures=$((failures + 1))
}

# The checks below look at an installed tree whose prefix is $1.
check_programs() {
    for program in morvel kinetra-body kinetra-view; do
        [ -x "$1/bin/$program" ] || fail "bin/$program is not installed"
    done
}

check_desktop_entry() {
    local entry=$1/share/applications/morvel.desktop
    [ -f "$entry" ] || {
        fail "no desktop entry"
        return
    }
    desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
    local exec icon
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ -x "$1/bin/$exec" ] || fail "the entry runs '$exec', which is not installed"
    [ -f "$1/share/icons/hicolor/256x256/apps/$icon.png" ] ||
        fail "the entry's icon '$icon' has no 256x256 picture"
}

check_icons() {
    local count=0 icon size
    for icon in "$1"/share/icons/hicolor/*/apps/morvel.png; do
        [ -f "$icon" ] || continue
        size=$(basename "$(dirname "$(dirname "$icon")")")
        [ "$(identify -format %wx%h "$icon")" = "$size" ] || fail "$icon is not $size"
        count=$((count + 1))
    done
    [ "$count" -ge 3 ] || fail "only $count icon sizes installed"
}

check_man_pages() {
    local page warnings
    for page in man6/morvel.6 man1/kinetra-body.1 man1/kinetra-view.1; do
        [ -f "$1/share/man/$page" ] || {
            fail "share/man/$page is not installed"
            continue
        }
        warnings=$(groff -man -Tutf8 -ww -z "$1/share/man/$page" 2>&1)
        [ -z "$warnings" ] || fail "$page: $warnings"
        grep -q '@' <(head -n 1 "$1/share/man/$page") && fail "$page: its title keeps a placeholder"
        grep -q "^$(basename "${page%.*}") \\\\- " "$1/share/man/$page" ||
            fail "$page has no NAME line for its program"
    done
}

tree() {
    cmake --install "$build" --prefix "$work/prefix" > "$work/install.log" 2>&1 || {
        cat "$work/install.log"
        fail "cmake --install failed"
        return
    }
    check_programs "$work/prefix"
    check_desktop_entry "$work/prefix"
    check_icons "$work/prefix"
    check_man_pages "$work/prefix"
    "$work/prefix/bin/kinetra-body" check "$source/examples/softbox/softbox.body" > /dev/null ||
        fail "the installed kinetra-body cannot check the example body"
}

# Waits for the program's 400 x 300 menu window.
wait_menu() {
    local wid
    for _ in $(seq 100); do
        for wid in $(xdotool search --onlyvisible --pid "$pid" 2> /dev/null); do
            xdotool getwindowgeometry "$wid" 2> /dev/null | grep -q 'Geometry: 400x300' && return 0
        done
        kill -0 "$pid" 2> /dev/null || return 1
        sleep 0.1
    done
    return 1
}

deb() {
    (cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out") > "$work/cpack.log" 2>&1 || {
        cat "$work/cpack.log"
        fail "cpack failed"
        return
    }
    local package
    package=$(ls "$work"/out/morvel_*.deb 2> /dev/null | head -n 1)
    [ -n "$package" ] || {
        fail "no morvel_*.deb"
        return
    }
    [ "$(dpkg-deb -f "$package" Package)" = morvel ] || fail "the package is not named morvel"
    [ "$(dpkg-deb -f "$package" Section)" = games ] || fail "the section is not games"
    dpkg-deb -f "$package" Maintainer | grep -Eq '^[^<]+ <[^@ ]+@[^> ]+>$' ||
        fail "the maintainer is no name and address"
    [ "$(dpkg-deb -f "$package" Description | wc -l)" -ge 3 ] || fail "no long description"
    local depends
    depends=$(dpkg-deb -f "$package" Depends)
    for library in libsdl2-2.0-0 libpng16-16 libgl1 libc6; do
        echo "$depends" | grep -Eq "(^|, )$library( |,|$)" || fail "$library is not a dependency: $depends"
    done
    echo "$(basename "$package"): $(stat -c %s "$package") bytes; Depends: $depends"

    dpkg-deb -x "$package" "$work/root" || fail "dpkg-deb cannot unpack the package"
    check_programs "$work/root/usr"
    check_desktop_entry "$work/root/usr"
    [ "$failures" -eq 0 ] || return

    start_own_display "$work" || {
        fail "no X display"
        return
    }
    "$work/root/usr/bin/morvel" 2> "$work/stderr" &
    pid=$!
    wait_menu || {
        cat "$work/stderr"
        fail "the packaged morvel shows no 400x300 menu"
        return
    }
    kill -TERM "$pid"
    for _ in $(seq 50); do
        kill -0 "$pid" 2> /dev/null || break
        sleep 0.1
    done
    kill -0 "$pid" 2> /dev/null && fail "the packaged morvel still runs five seconds after SIGTERM"
    wait "$pid"
    local status=$?
    pid=
    [ "$status" -eq 0 ] || fail "SIGTERM ended the packaged morvel with status $status"
}

case $mode in
tree) tree ;;
deb) deb ;;
*) fail "unknown mode" ;;
esac
[ "$failures" -eq 0 ] && echo PASS
exit $((failures != 0))

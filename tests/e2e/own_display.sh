# Sourced by the e2e scripts. start_own_display WORK_DIR [WxHxDEPTH] starts an
# X server (1280x1024x24 unless given) for this test alone and exports DISPLAY, so that under ctest -j no key or
# window of one test reaches another; stop_own_display ends it. end_test ends a
# script's whole test: the program under test ($pid), the server and $work.
own_display_pid=

stop_own_display() {
    if [ -n "$own_display_pid" ]; then
        kill "$own_display_pid" 2> /dev/null
        wait "$own_display_pid" 2> /dev/null
        own_display_pid=
    fi
}

# Xvfb picks a free display number itself and writes it out before it takes
# clients; on a busy machine a server now and then never does, so a server
# that takes none within ten seconds is replaced. -noreset: by default the
# server resets when its last client leaves and drops every client that
# connected meanwhile, so a program started just after a probe such as
# xdpyinfo could find no display.
start_own_display() {
    local work=$1 screen=${2:-1280x1024x24}
    command -v Xvfb > /dev/null || {
        echo "Xvfb is not installed"
        return 1
    }
    for _ in 1 2 3; do
        rm -f "$work/display"
        Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3> "$work/display" \
            2> "$work/xvfb.log" &
        own_display_pid=$!
        for _ in $(seq 200); do
            [ -s "$work/display" ] && break
            sleep 0.05
        done
        if [ -s "$work/display" ]; then
            export DISPLAY=":$(head -n 1 "$work/display")"
            for _ in $(seq 200); do
                xdpyinfo > /dev/null 2>&1 && return 0
                sleep 0.05
            done
        fi
        stop_own_display
    done
    echo "no X server of its own took clients; the last one said:"
    cat "$work/xvfb.log"
    return 1
}

# A program that ignores the polite request is not left running.
end_test() {
    if [ -n "$pid" ] && kill -0 "$pid" 2> /dev/null; then
        kill "$pid"
        sleep 1
        kill -9 "$pid" 2> /dev/null
    fi
    stop_own_display
    rm -rf "$work"
}

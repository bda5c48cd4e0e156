#!/bin/bash
# Runs a test program on an X server of its own, so that no window of a test
# running beside it shows in its read-backs.
#   on_own_display.sh WxHxDEPTH PROGRAM [ARGUMENT...]
set -u
screen=$1
shift
work=$(mktemp -d)
. "$(dirname "$0")/own_display.sh"
pid=
trap end_test EXIT
start_own_display "$work" "$screen" || exit 1
"$@"

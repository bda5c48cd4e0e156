#!/bin/sh
# The API reference builds without a single warning: every public declaration
# of the engine and of present is documented, and every comment parses.
#   api_reference.sh SOURCE_DIR OUTPUT_DIR
# Skipped (status 77) where doxygen is not installed; tools/install-deps
# installs it.
set -u
source=$1
out=$2
if ! command -v doxygen >/dev/null 2>&1; then
    echo "skipped: doxygen is not installed (tools/install-deps installs it)"
    exit 77
fi
mkdir -p "$out" || exit 1
log="$out/warnings.log"
rm -f "$log"
cd "$source" || exit 1
(cat Doxyfile; echo "OUTPUT_DIRECTORY = $out"; echo "WARN_LOGFILE = $log") | doxygen - >/dev/null 2>&1
status=$?
if [ -s "$log" ]; then
    cat "$log"
    exit 1
fi
[ "$status" -eq 0 ] && echo "the API reference builds with no warning"
exit "$status"
